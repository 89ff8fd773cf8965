// Pictures, screen effects, sound and music: CLS, SEF, FUL, BOX, GRP, GRZ, VSC, VZM, VPT, SLP,
// WKU, WAV, MID, MST.
#include "core/context.h"
#include "core/sound.h"
#include "data/record.h"
#include "field/scene.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "ui/screen_pictures.h"

#include <algorithm>

namespace vorn::command {

namespace {

    // Reads `count` arguments into arg(0) to arg(count - 1).
    void readArguments(Context& ctx, int count)
    {
        for (int i = 0; i < count; ++i)
            ParseArgument(ctx, i);
    }

    // Reads a picture or sound name (the token's text) into arg(index).
    std::string readName(Context& ctx, int index)
    {
        ParseArgument(ctx, index);
        return ctx.script.currentToken;
    }

} // namespace

Flow cls(Context& ctx)
{
    clearScreen(ctx);
    return Flow::FallThrough;
}

Flow sef(Context& ctx)
{
    readArguments(ctx, 1);
    flashScreen(ctx, argInt(ctx, 0));
    return Flow::FallThrough;
}

// FUL draws SEF's exclusive-or flash: twice with one colour, the screen is as it was.
Flow ful(Context& ctx) { return sef(ctx); }

// The rectangle a preceding POS left in arguments 1 to 4.
Flow box(Context& ctx)
{
    const auto& a = ctx.script.args;
    invertWindowRect(ctx, a[1], a[2], a[3], a[4]);
    return Flow::FallThrough;
}

Flow grp(Context& ctx)
{
    std::string name = readName(ctx, 0);
    for (int i = 1; i <= 6; ++i)
        ParseArgument(ctx, i);
    Picture picture = loadScriptPicture(ctx, name);
    showPicturePart(ctx, picture, argInt(ctx, 1), argInt(ctx, 2), argInt(ctx, 3), argInt(ctx, 4), argInt(ctx, 5),
        argInt(ctx, 6));
    return Flow::FallThrough;
}

Flow grz(Context& ctx)
{
    std::string name = readName(ctx, 0);
    for (int i = 1; i <= 8; ++i)
        ParseArgument(ctx, i);
    Picture picture = loadScriptPicture(ctx, name);
    showPictureScaled(ctx, picture, argInt(ctx, 1), argInt(ctx, 2), argInt(ctx, 3), argInt(ctx, 4), argInt(ctx, 5),
        argInt(ctx, 6), argInt(ctx, 7), argInt(ctx, 8));
    return Flow::FallThrough;
}

// Ten numbers, then the name; the source place moves in the argument table as the picture slides.
Flow vsc(Context& ctx)
{
    readArguments(ctx, 10);
    std::string name = readName(ctx, 10);
    Picture picture = loadScriptPicture(ctx, name);
    auto& args = ctx.script.args;
    std::array<float, 10> a {};
    std::copy_n(args.begin(), a.size(), a.begin());
    slidePicture(ctx, picture, a);
    std::copy(a.begin(), a.end(), args.begin());
    return Flow::FallThrough;
}

Flow vzm(Context& ctx)
{
    readArguments(ctx, 15);
    std::string name = readName(ctx, 15);
    Picture picture = loadScriptPicture(ctx, name);
    std::array<float, 15> a {};
    std::copy_n(ctx.script.args.begin(), a.size(), a.begin());
    zoomPicture(ctx, picture, a);
    return Flow::FallThrough;
}

Flow vpt(Context& ctx)
{
    readArguments(ctx, 6);
    std::string name = readName(ctx, 6);
    showMaskedPicture(ctx, name, argInt(ctx, 0), argInt(ctx, 1), argInt(ctx, 2), argInt(ctx, 3), argInt(ctx, 4),
        argInt(ctx, 5));
    return Flow::FallThrough;
}

Flow slp(Context& ctx)
{
    sleepTransition(ctx);
    return Flow::FallThrough;
}

Flow wku(Context& ctx)
{
    wakeTransition(ctx);
    return Flow::FallThrough;
}

// An empty name plays nothing: it only closes the effect channel if it was left open.
Flow wav(Context& ctx)
{
    std::string name = readName(ctx, 0);
    if (name.empty()) {
        ctx.sound.soundName.clear();
        closeSoundChannel(ctx);
    } else {
        playSound(ctx, name);
    }
    return Flow::FallThrough;
}

// The name becomes the current music; while a piece is open it plays on (scripts stop it with
// MST before changing it).
Flow mid(Context& ctx)
{
    ctx.sound.musicName = readName(ctx, 0);
    playMusic(ctx);
    return Flow::FallThrough;
}

Flow mst(Context& ctx)
{
    stopMusic(ctx);
    return Flow::FallThrough;
}

} // namespace vorn::command
