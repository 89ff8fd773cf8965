#include "core/sound.h"

#include "core/context.h"

namespace vorn {

namespace {

    bool isOn(float setting) { return setting == 1.0f; }

    std::string sendMedia(Context& ctx, const std::string& command)
    {
        ctx.transcript.writeGameText("media", command);
        return ctx.platform.mediaCommand(command);
    }

} // namespace

void playSound(Context& ctx, const std::string& name)
{
    SoundState& s = ctx.sound;
    s.soundName = name;
    // Fast-forwarding skips effects: an effect blocks until it has played to its end.
    if (!isOn(ctx.settings.soundOn) || fastForwarding(ctx))
        return;
    if (!s.soundOpen) {
        sendMedia(ctx, "open \"" + s.startDirectory + "\\WAV\\" + name + ".WAV\" alias WAVE1");
        s.soundOpen = true;
    }
    if (!name.empty())
        sendMedia(ctx, "play WAVE1 notify wait");
    if (s.soundOpen) {
        sendMedia(ctx, "close WAVE1");
        s.soundOpen = false;
    }
}

void closeSoundChannel(Context& ctx)
{
    if (!isOn(ctx.settings.soundOn))
        return;
    if (ctx.sound.soundOpen) {
        sendMedia(ctx, "close wave1");
        ctx.sound.soundOpen = false;
    }
}

void playMusic(Context& ctx)
{
    SoundState& s = ctx.sound;
    if (!isOn(ctx.settings.musicOn))
        return;
    if (!s.musicOpen) {
        sendMedia(ctx, "open \"" + s.startDirectory + "\\MID\\" + s.musicName + ".MID\" alias MIDI1");
        s.musicOpen = true;
    }
    sendMedia(ctx, "play MIDI1");
}

void closeMusic(Context& ctx)
{
    if (!isOn(ctx.settings.musicOn))
        return;
    if (ctx.sound.musicOpen) {
        sendMedia(ctx, "close MIDI1");
        ctx.sound.musicOpen = false;
    }
}

void stopMusic(Context& ctx)
{
    ctx.sound.musicName.clear();
    closeMusic(ctx);
}

void musicKeepAlive(Context& ctx)
{
    // The status question is asked on every poll; it is not written to the transcript, where it
    // would drown every other line.
    std::string mode = ctx.platform.mediaCommand("status MIDI1 mode wait");
    if (mode == "stopped") {
        closeMusic(ctx);
        playMusic(ctx);
    }
}

} // namespace vorn
