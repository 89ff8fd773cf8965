// Sound effects and music of the SDL back end, driven by media command strings.
//
// Each alias holds one opened file: MIDI files become music (one piece at a time, played once;
// the game restarts it itself when it reports "stopped"), everything else a sound effect. A file
// that cannot be found or decoded leaves the alias unopened, and a missing audio device makes
// every command a no-op answering "": in both cases the game goes on in silence. Each file that
// cannot be found or decoded is told once, as one line on the terminal.
//
// Music is played by one FluidSynth synthesiser for the whole run, made and given its soundfont
// on a thread of its own while the game starts, and rendered into SDL_mixer's music stream. A
// piece is read once and kept: changing the music only stops one MIDI player and starts another
// on the same synthesiser. A piece asked for before the soundfont is loaded starts as soon as it
// is.
//
// A piece counts as stopped at its musical end (at least ShortestLoopMs after its start), counted
// in the frames the synthesiser has rendered for it, not when its last voice has died away: so
// the game's next poll restarts it on the beat that follows the last bar.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct Mix_Chunk;
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

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
    // Waits until the synthesiser has its soundfont (or failed to get it); true when music can
    // play.
    bool waitForSynthesiser();

    std::string command(const std::string& text);
    // Where the lines about files that cannot be played go (without the trailing newline);
    // stderr, after "vorn: ", unless set.
    void tellFaultsTo(std::function<void(const std::string&)> tell) { m_tell = std::move(tell); }
    // Keeps the mixer from mixing a buffer until unlockAudio(): what is done meanwhile (a piece
    // started, a test's capture armed) takes effect at the same buffer boundary. Recursive.
    void lockAudio() { m_mixing.lock(); }
    void unlockAudio() { m_mixing.unlock(); }

    // How long the music commands (open, play, close) took on the calling thread: their count and
    // the longest, in milliseconds; and when the soundfont was ready, in milliseconds after the
    // media started (negative until then).
    struct MusicTimes {
        std::uint64_t commands = 0;
        double longestMs = 0;
        double soundFontReadyMs = -1;
    };
    MusicTimes musicTimes() const;

    // The music volume, 0 to 128 of the mixer's scale. At 128 the synthesiser plays at six
    // times its own default gain, which clips; at 40 the loudest generated piece peaks about
    // 5 dB below full scale and the music sits under the effects.
    static constexpr int MusicVolume = 40;

private:
    // A MIDI file read once and kept for the rest of the run.
    struct Piece {
        std::vector<std::uint8_t> bytes;
        std::uint64_t loopFrames = 0; // frames it plays before it counts as stopped
    };
    struct Entry {
        Mix_Chunk* chunk = nullptr;
        std::shared_ptr<const Piece> piece; // music
        std::uint64_t playId = 0; // the music's play that started it last; 0 never
        int channel = -1; // the mixer channel of the effect's last play
    };

    void open(const std::string& alias, const std::string& path);
    void play(Entry& entry, bool wait);
    std::string status(const Entry& entry) const;
    void close(const std::string& alias);
    void release(Entry& entry);
    bool playing(const Entry& entry) const;
    std::shared_ptr<const Piece> loadPiece(const std::filesystem::path& file, std::string& why);
    // Tells, the first time only, that the file of media path `path` cannot be played and why.
    void fault(const std::string& path, const std::string& why);

    // Music: runs on its own thread at start-up.
    void makeSynthesiser();
    // Starts the MIDI player of the piece asked for last (with m_mixing held).
    void startPiece();
    // Stops the MIDI player and silences the synthesiser (with m_mixing held).
    void stopPiece();
    static void renderMusic(void* self, std::uint8_t* stream, int length);
    static void countFrames(void* self, std::uint8_t* stream, int length);

    std::filesystem::path m_startDirectory;
    std::function<void()> m_wait;
    bool m_device = false;
    int m_musicPercent = 100;
    int m_soundPercent = 100;
    bool m_audioStarted = false;
    int m_frequency = 44100;
    int m_channels = 2;
    std::map<std::string, Entry> m_entries;
    std::map<std::filesystem::path, std::shared_ptr<const Piece>> m_pieces; // every piece read
    std::function<void(const std::string&)> m_tell;
    std::set<std::string> m_faulted; // files already told of, as shown

    // The synthesiser and its soundfont, made by m_synthThread; used only once m_synthReady is set.
    _fluid_hashtable_t* m_synthSettings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    std::thread m_synthThread;
    std::atomic<bool> m_synthReady { false };
    std::atomic<bool> m_synthFailed { false };
    // Held by the audio thread while it mixes a buffer and by the main thread while it changes
    // the piece. (SDL_LockAudio does not reach the device SDL_mixer opens.)
    std::recursive_mutex m_mixing;
    bool m_mixLocked = false; // the audio thread holds m_mixing for the buffer being mixed
    // The piece playing (or waiting for the soundfont) and its player; changed only with
    // m_mixing held.
    std::shared_ptr<const Piece> m_current;
    _fluid_player_t* m_player = nullptr;
    std::uint64_t m_currentPlay = 0; // the play id of m_current; 0 when none
    std::uint64_t m_lastPlay = 0;
    std::atomic<std::uint64_t> m_pieceFrames { 0 }; // frames of the current piece fully mixed
    std::uint64_t m_renderedFrames = 0; // frames of it rendered into the buffer being mixed
    std::vector<std::int16_t> m_stereo; // the synthesiser's output before it is fitted to the device

    std::uint64_t m_startTicks = 0;
    MusicTimes m_times;
    std::atomic<double> m_soundFontReadyMs { -1 };
};

} // namespace vorn
