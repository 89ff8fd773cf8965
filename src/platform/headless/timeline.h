// The input timeline of a headless run: one command a line, `#` starts a comment.
//   wait MS | press KEY [MS] | hold KEY | release KEY | click X Y [left|right] | move X Y
//   answer yes|no|ok | name TEXT | name-cancel | expect TEXT [MS] | shot NAME | dump NAME
//   seed N | text-speed N | copy FROM TO
// A wait may have up to three decimals (microseconds). hold and release also take the pointer
// buttons (mouse-left, mouse-right). seed and text-speed are settings of the run: the start-up
// takes them when the command line does not give them (a recorded play carries them). copy
// puts a copy of the file FROM in place of TO, as an editor saving TO would (tests of the live
// reload edit the game's source between two steps that way).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct TimelineCommand {
    enum class Kind { Wait,
        Press,
        Hold,
        Release,
        Click,
        Move,
        Answer,
        Name,
        NameCancel,
        Expect,
        Shot,
        Dump,
        Seed,
        TextSpeed,
        Copy };
    Kind kind = Kind::Wait;
    int ms = 0; // press (held time), expect (limit)
    std::int64_t us = 0; // wait
    std::int64_t value = 0; // seed, text-speed
    int key = 0; // virtual-key code of press, hold, release; 0 with a pointer button
    bool pointerButton = false; // hold and release of `button` instead of a key
    int x = 0, y = 0; // click, move
    int button = 0; // click: 0 left, 1 right
    std::string text; // answer (yes/no/ok), name, expect (UTF-8), shot and dump names, copy's FROM
    std::string target; // copy's TO
    int line = 0; // line number in the file
};

// Parses a timeline; on a bad line returns nothing and sets `error` to "line N: why".
std::optional<std::vector<TimelineCommand>> parseTimeline(const std::string& text, std::string& error);

// The virtual-key code of a timeline key name, or 0 when unknown. Keys without a name of their
// own are written "vk-" and two hexadecimal digits.
int timelineKeyCode(const std::string& name);
// The timeline name of a virtual-key code (1 to 255).
std::string timelineKeyName(int code);

} // namespace vorn
