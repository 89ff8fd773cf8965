// Sound effects and music of the SDL back end, driven by media command strings.
//
// Each alias holds one opened file: MIDI files become music (one piece at a time, played once;
// the game restarts it itself when it reports "stopped"), everything else a sound effect. A file
// that cannot be found or decoded leaves the alias unopened, and a missing audio device makes
// every command a no-op answering "": in both cases the game goes on in silence.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

struct Mix_Chunk;
struct _Mix_Music;

namespace vorn {

class SdlMedia {
public:
    // `wait` is called in a loop while a command with "wait" blocks; it should service the
    // window and sleep a little.
    SdlMedia(std::filesystem::path startDirectory, std::function<void()> wait);
    ~SdlMedia();
    SdlMedia(const SdlMedia&) = delete;
    SdlMedia& operator=(const SdlMedia&) = delete;

    // Whether an audio device could be opened.
    bool hasDevice() const { return m_device; }

    std::string command(const std::string& text);

private:
    struct Entry {
        Mix_Chunk* chunk = nullptr;
        _Mix_Music* music = nullptr;
        int channel = -1; // the mixer channel of the effect's last play
    };

    void open(const std::string& alias, const std::string& path);
    void play(Entry& entry, bool wait);
    std::string status(const Entry& entry) const;
    void close(const std::string& alias);
    void release(Entry& entry);
    bool playing(const Entry& entry) const;

    std::filesystem::path m_startDirectory;
    std::function<void()> m_wait;
    bool m_device = false;
    bool m_audioStarted = false;
    std::map<std::string, Entry> m_entries;
};

} // namespace vorn
