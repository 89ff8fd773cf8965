// Sound effects and music of the web back end, driven by media command strings.
//
// The page plays the sound (effects through the browser's audio, music through a soundfont
// synthesiser); this device decides what it is told and answers the game the way a media
// device would, from the files' own lengths on the player's clock:
//   - "WAVE1" holds one effect. "play WAVE1 notify wait" hands the effect to the page and
//     returns once its length has passed (the wait keeps the page answering meanwhile).
//   - "MIDI1" holds one piece. "play MIDI1" starts it; "status MIDI1 mode" answers "playing"
//     until its length has passed (at least ShortestLoopMs), then "stopped", so the game's poll
//     restarts it. A play while the piece is playing leaves it playing.
//   - A file that cannot be found or read leaves the alias closed: its status answers "" and
//     nothing is played, as a real device does.
// Aliases match without regard to letter case; other aliases are ignored.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

// What the page is asked to play.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Plays a WAVE file's bytes once; `name` is the same for the same file, so the page can keep
    // what it decoded.
    virtual void playEffect(const std::string& name, const std::vector<std::uint8_t>& wave) = 0;
    virtual void stopEffect() = 0;
    // Plays a standard MIDI file from its start, replacing any piece playing.
    virtual void playMusic(const std::vector<std::uint8_t>& midi) = 0;
    virtual void stopMusic() = 0;
};

class WebMedia {
public:
    // `now` is the player's clock in milliseconds; `waitUntil` waits (keeping the page answering)
    // until the clock reaches the time given.
    WebMedia(std::filesystem::path startDirectory, AudioOutput& output, std::function<std::uint64_t()> now,
        std::function<void(std::uint64_t)> waitUntil);

    std::string command(const std::string& text);

private:
    std::filesystem::path m_startDirectory;
    AudioOutput& m_output;
    std::function<std::uint64_t()> m_now;
    std::function<void(std::uint64_t)> m_waitUntil;

    bool m_waveOpen = false;
    std::string m_waveName; // the file's path, naming it to the page
    std::vector<std::uint8_t> m_wave;
    std::uint64_t m_waveMs = 0; // its length, rounded up

    bool m_midiOpen = false;
    bool m_midiPlaying = false;
    std::vector<std::uint8_t> m_midi;
    std::uint64_t m_midiLoopMs = 0;
    std::uint64_t m_midiEndMs = 0;
};

} // namespace vorn
