// The transcript: one line per event of a run (text printed, message boxes, media commands,
// fatal errors, map entries), written as virtual milliseconds, TAB, kind, TAB, UTF-8 text.
// Tests and the headless input timeline's `expect` read it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vorn {

class OutputFile;

class Transcript {
public:
    Transcript();
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    using Observer = std::function<void(const std::string& kind, const std::string& utf8)>;

    // Makes the transcript file (a new file in place of what stood at `path`); false when it
    // cannot be written.
    bool open(const std::string& path);
    // Time source for the line stamps (the platform clock).
    void setClock(std::function<std::uint64_t()> clock) { m_clock = std::move(clock); }
    // Called for every line, whether or not a file is open (the headless timeline's expect).
    void setObserver(Observer observer) { m_observer = std::move(observer); }

    // Writes one line; `utf8` must not contain line ends (they are replaced by blanks).
    void write(const std::string& kind, const std::string& utf8);
    // Writes one line whose text is cp932 game text.
    void writeGameText(const std::string& kind, const std::string& cp932);

private:
    std::unique_ptr<OutputFile> m_file; // empty until a file is opened
    std::function<std::uint64_t()> m_clock;
    Observer m_observer;
};

} // namespace vorn
