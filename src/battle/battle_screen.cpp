// The battle screen: the background over the whole screen, the enemy row at y 112, the party
// panel along the top and the message window along the bottom; the pictures of attacks and
// effects, the trembling of a hit enemy and the flash of a hit member.
#include "battle/battle.h"
#include "battle/battle_pictures.h"
#include "ui/screen_pictures.h"

#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "data/record.h"
#include "platform/game_files.h"
#include "platform/screen_size.h"
#include "rules/battle_rules.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr int holdMs = 50;
    // The band between the party panel (six tiles high) and the message window (from tile 18):
    // the enemy row and the menus a member's turn opens over it.
    constexpr int bandTop = 6 * tile, bandBottom = 18 * tile;

    BattleEnemy& slotAt(Context& ctx, int slot)
    {
        return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1))];
    }

    void wait(Context& ctx, int ms) { waitFor(ctx, static_cast<std::uint64_t>(ms)); }

    int enemyLeft(Context& ctx, int slot)
    {
        const BattleEnemy& e = slotAt(ctx, slot);
        return roundIndex(e.x + enemyRecord(ctx, slot).pictureA);
    }

    int enemyTopY(Context& ctx, int slot) { return enemyTop + roundIndex(slotAt(ctx, slot).yOffset); }

    int enemyWidth(Context& ctx, int slot) { return std::max(0, roundIndex(slotAt(ctx, slot).size)) * enemyUnitWidth; }

    // The picture at (x, y) of the screen: the mask combined by AND, then the picture by
    // exclusive-or; a picture without a mask is copied as it is.
    void drawMasked(Picture& screen, int x, int y, int width, const Picture& mask, const Picture& picture)
    {
        CopyModeScope keep(screen);
        int w = std::min(width, picture.width);
        if (!mask.empty()) {
            screen.mode = CopyMode::And;
            copyRect(screen, x, y, std::min(w, mask.width), std::min(enemyPictureHeight, mask.height), mask, 0, 0);
            screen.mode = CopyMode::Xor;
        } else {
            screen.mode = CopyMode::Copy;
        }
        copyRect(screen, x, y, w, std::min(enemyPictureHeight, picture.height), picture, 0, 0);
    }

    // The background (black where there is none) over a rectangle of the screen.
    void restoreBackground(Context& ctx, int x, int y, int width, int height)
    {
        Picture& screen = ctx.platform.screen();
        CopyModeScope copy(screen, CopyMode::Copy);
        drawBox(screen, x, y, x + width - 1, y + height - 1, 0, true);
        copyRect(screen, x, y, width, height, ctx.battle.background, x, y);
    }

    void drawEnemyAt(Context& ctx, int slot, int dx, int dy)
    {
        std::size_t s = static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1));
        drawMasked(ctx.platform.screen(), enemyLeft(ctx, slot) + dx, enemyTopY(ctx, slot) + dy, enemyWidth(ctx, slot),
            ctx.battle.enemyMasks[s], ctx.battle.enemyPictures[s]);
    }

} // namespace

void drawEnemy(Context& ctx, int slot)
{
    if (slotAt(ctx, slot).hp <= 0)
        return;
    drawEnemyAt(ctx, slot, 0, 0);
}

void eraseEnemy(Context& ctx, int slot)
{
    restoreBackground(ctx, enemyLeft(ctx, slot), enemyTopY(ctx, slot), enemyWidth(ctx, slot), enemyPictureHeight);
}

void trembleEnemy(Context& ctx, int slot)
{
    int left = enemyLeft(ctx, slot), top = enemyTopY(ctx, slot), width = enemyWidth(ctx, slot);
    for (int k = 0; k < 9; ++k) {
        int dx = static_cast<int>(ctx.random() * 20 - 10);
        int dy = static_cast<int>(ctx.random() * 20 - 10);
        restoreBackground(ctx, left - 10, top - 10, width + 20, enemyPictureHeight + 20);
        drawEnemyAt(ctx, slot, dx, dy);
        wait(ctx, holdMs);
    }
    restoreBackground(ctx, left - 10, top - 10, width + 20, enemyPictureHeight + 20);
    drawEnemyAt(ctx, slot, 0, 0);
}

void flashBattleScreen(Context& ctx)
{
    Picture& screen = ctx.platform.screen();
    Picture saved = screen;
    {
        CopyModeScope xorOnto(screen, CopyMode::Xor);
        drawBox(screen, 0, 0, screen.width - 1, screen.height - 1, paletteColour(15), true);
    }
    wait(ctx, 100);
    restorePixels(screen, saved);
}

void playFrames(Context& ctx, const std::string& name, int slot)
{
    if (name.empty())
        return;
    BattleEnemy& enemy = slotAt(ctx, slot);
    int centre = roundIndex(enemy.x) + static_cast<int>(intDown(enemy.size * enemyUnitWidth / 2));
    Picture& screen = ctx.platform.screen();
    bool drawn = false;
    for (int k = 0; k < 100; ++k) {
        auto frame = findGrpPicture(ctx, name + "_" + std::to_string(k));
        if (!frame)
            break;
        if (drawn)
            restoreEnemyRow(ctx);
        {
            CopyModeScope orOnto(screen, CopyMode::Or);
            copyRect(screen, centre - frame->width / 2, enemyTop, frame->width, std::min(frame->height, 159), *frame, 0, 0);
        }
        drawn = true;
        wait(ctx, holdMs);
    }
    if (drawn)
        restoreEnemyRow(ctx);
}

void restoreEnemyRow(Context& ctx)
{
    restoreBackground(ctx, 0, bandTop, screenWidth, bandBottom - bandTop);
    for (int s = 0; s <= std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1); ++s)
        drawEnemy(ctx, s);
}

void redrawPartyPanel(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.menuX = 0;
    w.menuY = 0;
    ShowPartyStatus(ctx, w.menuX, w.menuY);
}

void drawBackgroundAndPanel(Context& ctx)
{
    restoreBackground(ctx, 0, 0, screenWidth, screenHeight);
    redrawPartyPanel(ctx);
}

void drawBattleScreen(Context& ctx)
{
    drawBackgroundAndPanel(ctx);
    for (int s = 0; s <= std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1); ++s)
        drawEnemy(ctx, s);
}

} // namespace vorn
