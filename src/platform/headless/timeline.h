// The input timeline of a headless run: one command a line, `#` starts a comment.
//   wait MS | press KEY [MS] | hold KEY | release KEY | click X Y [left|right] | move X Y
//   answer yes|no|ok | name TEXT | name-cancel | expect TEXT [MS] | shot NAME | dump NAME
#pragma once

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
        Dump };
    Kind kind = Kind::Wait;
    int ms = 0; // wait, press (held time), expect (limit)
    int key = 0; // virtual-key code of press, hold, release
    int x = 0, y = 0; // click, move
    int button = 0; // click: 0 left, 1 right
    std::string text; // answer (yes/no/ok), name, expect (UTF-8), shot and dump names
    int line = 0; // line number in the file
};

// Parses a timeline; on a bad line returns nothing and sets `error` to "line N: why".
std::optional<std::vector<TimelineCommand>> parseTimeline(const std::string& text, std::string& error);

// The virtual-key code of a timeline key name, or 0 when unknown.
int timelineKeyCode(const std::string& name);

} // namespace vorn
