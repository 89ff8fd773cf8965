// Parsing of media command strings, shared by the back ends that carry them out.
//
// The game drives sound and music with text commands addressed to an alias:
//   open "<start directory>\WAV\name.WAV" alias WAVE1
//   play WAVE1 notify wait      play MIDI1      close WAVE1      status MIDI1 mode wait
// Aliases match without regard to letter case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vorn {

struct MediaCommand {
    enum class Verb { Open,
        Play,
        Close,
        Status,
        Unknown };
    Verb verb = Verb::Unknown;
    std::string alias; // upper case ("WAVE1", "MIDI1")
    std::string path; // for open: the quoted file path, cp932 bytes as given
    bool wait = false; // "wait" given: the command returns when the action has finished
    std::string item; // for status: the item asked for ("mode")
};

MediaCommand parseMediaCommand(const std::string& command);

// Finds the file a media path names. Paths begin with the start directory (the game folder);
// the rest is a game path resolved inside it without regard to case.
std::optional<std::filesystem::path> resolveMediaPath(
    const std::filesystem::path& startDirectory, const std::string& cp932Path);

// A media path as the player reads it in messages: the part after the start directory, in UTF-8
// with forward slashes ("WAV/door.WAV"); the whole path when it does not begin with the start
// directory.
std::string shownMediaPath(const std::filesystem::path& startDirectory, const std::string& cp932Path);

} // namespace vorn
