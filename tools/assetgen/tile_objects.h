// Objects drawn on tiles (trees, houses, furniture, chests, stairs...). Each draws into the
// 32 x 32 cell at (ox, oy) over the ground already painted there.
#pragma once

#include "assetgen/textures.h"
#include "platform/picture.h"

namespace vorn::assetgen {

void drawTree(Picture& s, int ox, int oy, bool pine);
void drawBush(Picture& s, int ox, int oy, bool flowers);
void drawFence(Picture& s, int ox, int oy);
void drawWell(Picture& s, int ox, int oy);
void drawSign(Picture& s, int ox, int oy);
void drawBarrel(Picture& s, int ox, int oy);
void drawPot(Picture& s, int ox, int oy);
void drawChest(Picture& s, int ox, int oy, bool open);
void drawBed(Picture& s, int ox, int oy);
void drawCounter(Picture& s, int ox, int oy);
void drawShelf(Picture& s, int ox, int oy, bool books);
void drawTable(Picture& s, int ox, int oy);
void drawStatue(Picture& s, int ox, int oy);
void drawFountain(Picture& s, int ox, int oy);
void drawFlowers(Picture& s, int ox, int oy);
void drawStairs(Picture& s, int ox, int oy, bool down);
void drawDoor(Picture& s, int ox, int oy, Texture wall, bool open, bool barred);
void drawWindow(Picture& s, int ox, int oy);
void drawEaves(Picture& s, int ox, int oy);
void drawBridge(Picture& s, int ox, int oy, bool vertical);
void drawMountain(Picture& s, int ox, int oy, bool snow);
void drawHills(Picture& s, int ox, int oy);
void drawTown(Picture& s, int ox, int oy);
void drawCastle(Picture& s, int ox, int oy);
void drawCaveMouth(Picture& s, int ox, int oy);
void drawShrine(Picture& s, int ox, int oy);
void drawRock(Picture& s, int ox, int oy);
void drawPillar(Picture& s, int ox, int oy);
void drawTorch(Picture& s, int ox, int oy);
void drawCrystal(Picture& s, int ox, int oy);
void drawMagicCircle(Picture& s, int ox, int oy);
void drawRubble(Picture& s, int ox, int oy);
void drawBones(Picture& s, int ox, int oy);
void drawAnvil(Picture& s, int ox, int oy);
void drawStump(Picture& s, int ox, int oy);

} // namespace vorn::assetgen
