// Sound effects and music, driven by media command strings.
//
// One effect plays at a time under the alias WAVE1 (opened, played to its end and closed), one
// piece of music under MIDI1. Music loops because every key poll asks for its state and starts
// it again when it has stopped. The switches MusicOn and SoundOn gate every command: only +1
// counts as on.
#pragma once

#include <filesystem>
#include <string>

namespace vorn {

struct Context;

struct SoundState {
    std::string startDirectory; // the game folder; begins every sound path
    std::string soundName; // last requested effect (file name without folder and extension)
    std::string musicName; // current music piece; empty when no music is wanted
    bool soundOpen = false; // the WAVE1 channel is open
    bool musicOpen = false; // the MIDI1 channel is open
};

// Plays an effect to its end (blocks until it has finished); nothing while fast-forwarding.
void playSound(Context& ctx, const std::string& name);
// Closes the effect channel (the settings switch uses this).
void closeSoundChannel(Context& ctx);
// Opens the current music piece if needed and plays it.
void playMusic(Context& ctx);
void closeMusic(Context& ctx);
// Forgets the current piece and closes the music channel.
void stopMusic(Context& ctx);
// Restarts the music from its beginning when it has ended; the first step of every key poll.
void musicKeepAlive(Context& ctx);

} // namespace vorn
