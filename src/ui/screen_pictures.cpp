#include "ui/screen_pictures.h"

#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "platform/game_files.h"
#include "platform/screen_size.h"
#include "ui/window_art.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    constexpr int white = 15;

    // Runs `draw` on the screen in a copy mode and puts the screen's mode back.
    template <typename Draw>
    void onScreen(Context& ctx, CopyMode mode, Draw draw)
    {
        Picture& screen = ctx.platform.screen();
        CopyModeScope scope(screen, mode);
        draw(screen);
    }

    void pause(Context& ctx, float tens)
    {
        int ms = std::max(0, roundIndex(tens)) * 10;
        waitFor(ctx, static_cast<std::uint64_t>(ms));
    }

} // namespace

std::optional<Picture> findGrpPicture(Context& ctx, const std::string& cp932Name, const std::string& suffix)
{
    return loadGamePicture(ctx.root, "GRP\\" + cp932Name + suffix + ".bmp");
}

Picture loadScriptPicture(Context& ctx, const std::string& cp932Name, const std::string& suffix)
{
    auto picture = findGrpPicture(ctx, cp932Name, suffix);
    if (!picture)
        fatalEventError(ctx, "cannot read the picture GRP\\" + cp932Name + suffix + ".bmp");
    return std::move(*picture);
}

void clearScreen(Context& ctx)
{
    onScreen(ctx, CopyMode::Copy, [](Picture& screen) { drawBox(screen, 0, 0, screenWidth, screenHeight, 0, true); });
}

void flashScreen(Context& ctx, int colour)
{
    onScreen(ctx, CopyMode::Xor,
        [&](Picture& screen) { drawBox(screen, 0, 0, screenWidth, screenHeight, paletteColour(colour), true); });
}

void invertWindowRect(Context& ctx, float x, float y, float w, float h)
{
    // Scripts may give any numbers: the cells are kept within a million pixels, far off the
    // screen, before they are turned into pixels.
    auto pixels = [](float cells) { return std::clamp(roundIndex(cells), -62500, 62500) * tile; };
    int x1 = pixels(x), y1 = pixels(y);
    int x2 = pixels(x + w), y2 = pixels(y + h);
    onScreen(ctx, CopyMode::Xor, [&](Picture& screen) { drawBox(screen, x1, y1, x2, y2, paletteColour(white), true); });
}

void showPicturePart(Context& ctx, const Picture& picture, int dx, int dy, int w, int h, int sx, int sy)
{
    w = std::min(w, picture.width - sx);
    h = std::min(h, picture.height - sy);
    if (w <= 0 || h <= 0)
        return;
    onScreen(ctx, CopyMode::Copy, [&](Picture& screen) { copyRect(screen, dx, dy, w, h, picture, sx, sy); });
}

void showPictureScaled(Context& ctx, const Picture& picture, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
    int sh)
{
    onScreen(ctx, CopyMode::Copy,
        [&](Picture& screen) { scaledCopy(screen, dx, dy, dw, dh, picture, sx, sy, sw, sh); });
}

void showMaskedPicture(Context& ctx, const std::string& cp932Name, int dx, int dy, int w, int h, int sx, int sy)
{
    auto mask = findGrpPicture(ctx, cp932Name, "m");
    const Picture& cut = mask ? *mask : loadScriptPicture(ctx, cp932Name);
    w = std::min(w, cut.width - sx);
    h = std::min(h, cut.height - sy);
    if (w <= 0 || h <= 0)
        return;
    Picture picture = mask ? loadScriptPicture(ctx, cp932Name) : cut;
    if (mask) {
        onScreen(ctx, CopyMode::And, [&](Picture& screen) { copyRect(screen, dx, dy, w, h, *mask, sx, sy); });
        onScreen(ctx, CopyMode::Xor, [&](Picture& screen) { copyRect(screen, dx, dy, w, h, picture, sx, sy); });
    } else {
        onScreen(ctx, CopyMode::Copy, [&](Picture& screen) { copyRect(screen, dx, dy, w, h, picture, sx, sy); });
    }
}

void slideSource(int direction, float distance, float& sx, float& sy)
{
    // (x, y) moves of directions 1 to 16 in units of half the distance.
    static constexpr int moves[16][2] = { { 0, 2 }, { -1, 2 }, { -2, 2 }, { -2, 1 }, { -2, 0 }, { -2, -1 }, { -2, -2 },
        { -1, -2 }, { 0, -2 }, { 1, -2 }, { 2, -2 }, { 2, -1 }, { 2, 0 }, { 2, 1 }, { 2, 2 }, { 1, 2 } };
    if (direction < 1 || direction > 16)
        return;
    float half = distance / 2;
    sx += static_cast<float>(moves[direction - 1][0]) * half;
    sy += static_cast<float>(moves[direction - 1][1]) * half;
}

void slidePicture(Context& ctx, const Picture& picture, std::array<float, 10>& a)
{
    int repeats = std::max(0, roundIndex(a[6])) + 1;
    for (int i = 0; i < repeats; ++i) {
        onScreen(ctx, CopyMode::Copy, [&](Picture& screen) {
            copyRect(screen, intFloor(a[0]), intFloor(a[1]), intFloor(a[2]), intFloor(a[3]), picture, intFloor(a[4]),
                intFloor(a[5]));
        });
        slideSource(roundIndex(a[7]), a[8], a[4], a[5]);
        pause(ctx, a[9]);
    }
}

void zoomPicture(Context& ctx, const Picture& picture, const std::array<float, 15>& a)
{
    Picture saved = ctx.platform.screen();
    // The source rectangle cut to the picture.
    float sx = std::clamp(a[8], 0.0f, static_cast<float>(picture.width));
    float sy = std::clamp(a[9], 0.0f, static_cast<float>(picture.height));
    float sw = std::min(a[10], static_cast<float>(picture.width) - sx);
    float sh = std::min(a[11], static_cast<float>(picture.height) - sy);
    float travelX = (a[2] - a[4]) - a[6], travelY = (a[3] - a[5]) - a[7];
    float steps = std::max({ std::fabs(travelX), std::fabs(travelY), std::fabs(a[4]), std::fabs(a[5]) });
    steps = std::min(steps, 100000.0f);
    float perX = steps > 0 ? travelX / steps : 0, perY = steps > 0 ? travelY / steps : 0;
    float growX = steps > 0 ? a[4] / steps : 0, growY = steps > 0 ? a[5] / steps : 0;
    float increment = std::max(1.0f, a[12]);
    for (float i = 0; i <= steps; i += increment) {
        onScreen(ctx, CopyMode::Copy, [&](Picture& screen) {
            copyRect(screen, 0, 0, saved.width, saved.height, saved, 0, 0);
            scaledCopy(screen, intFloor(a[6] + perX * i), intFloor(a[7] + perY * i), intFloor(a[0] + 2 * growX * i),
                intFloor(a[1] + 2 * growY * i), picture, intFloor(sx), intFloor(sy), intFloor(sw), intFloor(sh));
        });
        nextFrame(ctx);
        pause(ctx, a[13]);
    }
}

} // namespace vorn
