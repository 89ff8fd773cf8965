// Sound effects and music of the SDL back end, driven by media command strings.
//
// Each alias holds one opened file: MIDI files become music (one piece at a time, played once;
// the game restarts it itself when it reports "stopped"), everything else a sound effect. A file
// that cannot be found or decoded leaves the alias unopened, and a missing audio device makes
// every command a no-op answering "": in both cases the game goes on in silence.
//
// A piece counts as stopped at its musical end, the length of the MIDI file measured on the
// device's own clock (the frames it has mixed), not when the synthesiser's last voice has died
// away: so the game's next poll restarts it on the beat that follows the last bar.
#pragma once

#include <atomic>
#include <cstdint>
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
    // The volumes are percent of the player's normal levels (0 silences, 100 is normal).
    SdlMedia(std::filesystem::path startDirectory, std::function<void()> wait, int musicPercent = 100,
        int soundPercent = 100);
    ~SdlMedia();
    SdlMedia(const SdlMedia&) = delete;
    SdlMedia& operator=(const SdlMedia&) = delete;

    // Whether an audio device could be opened.
    bool hasDevice() const { return m_device; }

    std::string command(const std::string& text);
    // While set, sound effects are not played (a command that waits for one returns at once);
    // music goes on as before.
    void skipEffects(bool skip) { m_skipEffects = skip; }

    // The music volume, 0 to 128 of the mixer's scale. At 128 the synthesiser plays at six
    // times its own default gain, which clips; at 40 the loudest generated piece peaks about
    // 5 dB below full scale and the music sits under the effects.
    static constexpr int MusicVolume = 40;

private:
    struct Entry {
        Mix_Chunk* chunk = nullptr;
        _Mix_Music* music = nullptr;
        std::filesystem::path file; // the music file, kept for reopening it without loading again
        std::uint64_t lengthFrames = 0; // the piece's musical length in device frames; 0 unknown
        std::uint64_t startFrame = 0; // the device clock when the piece was started
        int channel = -1; // the mixer channel of the effect's last play
    };

    void open(const std::string& alias, const std::string& path);
    void play(Entry& entry, bool wait);
    std::string status(const Entry& entry) const;
    void close(const std::string& alias);
    void release(Entry& entry);
    bool playing(const Entry& entry) const;
    bool pastEnd(const Entry& entry) const;
    static void countFrames(void* self, std::uint8_t* stream, int length);

    std::filesystem::path m_startDirectory;
    std::function<void()> m_wait;
    bool m_device = false;
    int m_musicPercent = 100;
    bool m_skipEffects = false;
    int m_soundPercent = 100;
    bool m_audioStarted = false;
    std::map<std::string, Entry> m_entries;
    // The last closed piece, kept loaded: the keep-alive closes and reopens the same file at
    // every loop, and loading the synthesiser's instruments again would delay the restart.
    Entry m_closedMusic;
    int m_frameBytes = 4; // bytes of one device frame (all channels)
    std::atomic<std::uint64_t> m_framesMixed { 0 }; // the device clock, advanced by the mixer
};

} // namespace vorn
