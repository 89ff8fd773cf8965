// The three tile sheets of the demo game: town, overworld and dungeon.
//
// Codes below 0x90 are obstacles, 0x90 to 0xAF can be walked on by the player only (doors,
// bridges, stairs: wandering people stay off them), 0xB0 and above by everyone.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "assetgen/tile_objects.h"

#include <functional>

namespace vorn::assetgen {

namespace {

    constexpr int kN = 1, kE = 2, kS = 4, kW = 8, kAll = 15;
    constexpr Pixel kFoam = rgb(206, 232, 246);
    constexpr Pixel kLedge = rgb(60, 44, 30);

    class Builder {
    public:
        explicit Builder(std::string name)
        {
            m_sheet.name = std::move(name);
            m_sheet.picture = Picture(512, 512);
        }

        // A tile on a ground texture; `clean` names the sides that show the ground unchanged.
        void tile(int code, std::string name, Texture ground, int clean,
            const std::function<void(Picture&, int, int)>& draw = {})
        {
            const int ox = (code % 16) * 32, oy = (code / 16) * 32;
            paintTexture(m_sheet.picture, ox, oy, ground);
            if (draw)
                draw(m_sheet.picture, ox, oy);
            add(code, std::move(name), clean, ground);
        }

        // A tile drawn entirely by `draw`; sides in `clean` show `edges` unchanged.
        void custom(int code, std::string name, int clean, Texture edges,
            const std::function<void(Picture&, int, int)>& draw)
        {
            draw(m_sheet.picture, (code % 16) * 32, (code / 16) * 32);
            add(code, std::move(name), clean, edges);
        }

        // Two variants of an open ground at `first` and first + 1, for maps to choose by
        // position so that wide areas do not show one tile repeating.
        void variants(int first, const std::string& name, Texture ground)
        {
            for (int k = 1; k <= 2; ++k) {
                custom(first + k - 1, name + " (variant " + std::to_string(k + 1) + ")", kAll, ground,
                    [&](Picture& s, int ox, int oy) {
                        for (int y = 0; y < 32; ++y) {
                            for (int x = 0; x < 32; ++x)
                                put(s, ox + x, oy + y, groundVariant(ground, k, x, y));
                        }
                    });
            }
        }

        // Shore-like transitions: `inner` in the middle, `outer` along the sides.
        void edges(int first, const std::string& what, Texture inner, Texture outer, Pixel rim, int depth)
        {
            struct Variant {
                int sides;
                const char* name;
            };
            const Variant variants[8] = { { North, "north" }, { South, "south" }, { West, "west" },
                { East, "east" }, { North | West, "north-west" }, { North | East, "north-east" },
                { South | West, "south-west" }, { South | East, "south-east" } };
            for (int k = 0; k < 8; ++k) {
                const int sides = variants[k].sides;
                const int clean = ((sides & North) ? kN : 0) | ((sides & South) ? kS : 0)
                    | ((sides & West) ? kW : 0) | ((sides & East) ? kE : 0);
                custom(first + k, what + ", " + outerName(outer) + " on the " + variants[k].name, clean, outer,
                    [&](Picture& s, int ox, int oy) { paintTransition(s, ox, oy, inner, outer, sides, depth, rim); });
            }
        }

        // Inner corners: a small patch of `outer` in one corner of `inner`.
        void corners(int first, const std::string& what, Texture inner, Texture outer, Pixel rim, int depth)
        {
            const char* names[4] = { "north-east", "south-east", "south-west", "north-west" };
            for (int k = 0; k < 4; ++k) {
                custom(first + k, what + ", " + outerName(outer) + " corner " + names[k], 0, inner,
                    [&](Picture& s, int ox, int oy) {
                        paintCornerTransition(s, ox, oy, inner, outer, 1 << k, depth, rim);
                    });
            }
        }

        TileSheet take() { return std::move(m_sheet); }

    private:
        static std::string outerName(Texture t)
        {
            switch (t) {
            case Texture::Grass:
                return "grass";
            case Texture::Sand:
                return "sand";
            case Texture::CaveFloor:
                return "floor";
            default:
                return "ground";
            }
        }

        void add(int code, std::string name, int clean, Texture ground)
        {
            TileInfo info;
            info.code = code;
            info.name = std::move(name);
            if (clean & kN)
                info.north = ground;
            if (clean & kE)
                info.east = ground;
            if (clean & kS)
                info.south = ground;
            if (clean & kW)
                info.west = ground;
            m_sheet.tiles.push_back(std::move(info));
        }

        TileSheet m_sheet;
    };

    using D = std::function<void(Picture&, int, int)>;

} // namespace

TileSheet makeTownSheet()
{
    Builder b("TOWN");
    // Obstacles.
    b.tile(0x00, "tree", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawTree(s, x, y, false); });
    b.tile(0x01, "pine tree", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawTree(s, x, y, true); });
    b.tile(0x02, "bush", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawBush(s, x, y, false); });
    b.tile(0x03, "flowering bush", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawBush(s, x, y, true); });
    b.tile(0x04, "fence (joins left and right)", Texture::Grass, kN | kS, drawFence);
    b.tile(0x05, "rock", Texture::Grass, kAll, drawRock);
    b.tile(0x06, "tree stump", Texture::Grass, kAll, drawStump);
    b.tile(0x07, "water", Texture::Water, kAll);
    b.edges(0x08, "water", Texture::Water, Texture::Grass, kLedge, 7);
    b.tile(0x10, "red roof", Texture::Roof, kAll);
    b.tile(0x11, "blue roof", Texture::BlueRoof, kAll);
    b.tile(0x12, "red roof eaves over wall", Texture::Roof, kN, drawEaves);
    b.tile(0x13, "blue roof eaves over wall", Texture::BlueRoof, kN, drawEaves);
    b.tile(0x14, "house wall", Texture::Plaster, kAll);
    b.tile(0x15, "house wall with window", Texture::Plaster, 0, drawWindow);
    b.tile(0x16, "brick wall", Texture::Brick, kAll);
    b.tile(0x17, "well", Texture::Pavement, 0, drawWell);
    b.tile(0x18, "fountain", Texture::Pavement, 0, drawFountain);
    b.tile(0x19, "statue", Texture::Pavement, 0, drawStatue);
    b.tile(0x1A, "sign", Texture::Grass, kAll, drawSign);
    b.tile(0x1B, "barrel", Texture::Wood, kAll, drawBarrel);
    b.tile(0x1C, "pot", Texture::Wood, kAll, drawPot);
    b.tile(0x1D, "chest, closed", Texture::Wood, kAll, [](Picture& s, int x, int y) { drawChest(s, x, y, false); });
    b.tile(0x1E, "bed", Texture::Wood, 0, drawBed);
    b.tile(0x1F, "shop counter (joins left and right)", Texture::Wood, kN | kS, drawCounter);
    b.tile(0x20, "bookshelf", Texture::Wood, 0, [](Picture& s, int x, int y) { drawShelf(s, x, y, true); });
    b.tile(0x21, "shelf with jars", Texture::Wood, 0, [](Picture& s, int x, int y) { drawShelf(s, x, y, false); });
    b.tile(0x22, "table", Texture::Wood, kAll, drawTable);
    b.tile(0x23, "anvil", Texture::Dirt, kAll, drawAnvil);
    b.tile(0x24, "barrel on grass", Texture::Grass, kAll, drawBarrel);
    b.corners(0x25, "water", Texture::Water, Texture::Grass, kLedge, 7);
    b.tile(0x29, "chest, closed, on grass", Texture::Grass, kAll,
        [](Picture& s, int x, int y) { drawChest(s, x, y, false); });
    // Walkable by the player only.
    b.custom(0x90, "wooden door in a house wall", 0, Texture::Plaster,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::Plaster, false, false); });
    b.custom(0x91, "open doorway in a house wall", 0, Texture::Plaster,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::Plaster, true, false); });
    b.tile(0x92, "bridge, east-west", Texture::Water, kN | kS, [](Picture& s, int x, int y) { drawBridge(s, x, y, false); });
    b.tile(0x93, "bridge, north-south", Texture::Water, kE | kW, [](Picture& s, int x, int y) { drawBridge(s, x, y, true); });
    b.tile(0x94, "chest, open", Texture::Wood, kAll, [](Picture& s, int x, int y) { drawChest(s, x, y, true); });
    b.tile(0x95, "stairs down", Texture::Wood, 0, [](Picture& s, int x, int y) { drawStairs(s, x, y, true); });
    b.tile(0x96, "stairs up", Texture::Wood, 0, [](Picture& s, int x, int y) { drawStairs(s, x, y, false); });
    b.tile(0x97, "healer's circle", Texture::Pavement, 0, drawMagicCircle);
    b.custom(0x98, "wooden gate in a brick wall", 0, Texture::Brick,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::Brick, false, false); });
    b.custom(0x99, "open gate in a brick wall", 0, Texture::Brick,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::Brick, true, false); });
    b.tile(0x9A, "chest, open, on grass", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawChest(s, x, y, true); });
    // Walkable by everyone.
    b.tile(0xB0, "grass", Texture::Grass, kAll);
    b.tile(0xB1, "light grass", Texture::LightGrass, kAll);
    b.tile(0xB2, "dirt path", Texture::Dirt, kAll);
    b.tile(0xB3, "stone pavement", Texture::Pavement, kAll);
    b.tile(0xB4, "wooden floor", Texture::Wood, kAll);
    b.tile(0xB5, "red carpet", Texture::Carpet, kAll);
    b.tile(0xB6, "grass with flowers", Texture::Grass, kAll, drawFlowers);
    b.tile(0xB7, "sand", Texture::Sand, kAll);
    b.edges(0xB8, "dirt path", Texture::Dirt, Texture::Grass, 0, 5);
    b.corners(0xC0, "dirt path", Texture::Dirt, Texture::Grass, 0, 5);
    b.variants(0xC4, "grass", Texture::Grass);
    b.variants(0xC6, "dirt path", Texture::Dirt);
    return b.take();
}

TileSheet makeOverworldSheet()
{
    Builder b("WORLD");
    b.tile(0x00, "deep sea", Texture::DeepWater, kAll);
    b.tile(0x01, "water", Texture::Water, kAll);
    b.edges(0x02, "water", Texture::Water, Texture::Grass, kFoam, 7);
    b.corners(0x0A, "water", Texture::Water, Texture::Grass, kFoam, 7);
    b.tile(0x0E, "forest", Texture::Forest, kAll);
    b.tile(0x0F, "mountain", Texture::Grass, kN, [](Picture& s, int x, int y) { drawMountain(s, x, y, false); });
    b.tile(0x10, "snowy mountain", Texture::Grass, kN, [](Picture& s, int x, int y) { drawMountain(s, x, y, true); });
    b.tile(0x11, "rock", Texture::Grass, kAll, drawRock);
    b.tile(0x12, "lone tree", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawTree(s, x, y, false); });
    b.tile(0x13, "pine tree", Texture::Grass, kAll, [](Picture& s, int x, int y) { drawTree(s, x, y, true); });
    b.tile(0x14, "pine on snow", Texture::Snow, kAll, [](Picture& s, int x, int y) { drawTree(s, x, y, true); });
    b.edges(0x15, "water", Texture::Water, Texture::Sand, kFoam, 7);
    b.corners(0x1D, "water", Texture::Water, Texture::Sand, kFoam, 7);
    b.tile(0x90, "town", Texture::Grass, kAll, drawTown);
    b.tile(0x91, "castle", Texture::Grass, 0, drawCastle);
    b.tile(0x92, "cave entrance", Texture::Grass, kN, drawCaveMouth);
    b.tile(0x93, "bridge, east-west", Texture::Water, kN | kS, [](Picture& s, int x, int y) { drawBridge(s, x, y, false); });
    b.tile(0x94, "bridge, north-south", Texture::Water, kE | kW, [](Picture& s, int x, int y) { drawBridge(s, x, y, true); });
    b.tile(0x95, "shrine", Texture::Grass, 0, drawShrine);
    b.tile(0xB0, "grass", Texture::Grass, kAll);
    b.tile(0xB1, "meadow", Texture::LightGrass, kAll);
    b.tile(0xB2, "road", Texture::Dirt, kAll);
    b.tile(0xB3, "sand", Texture::Sand, kAll);
    b.tile(0xB4, "hills", Texture::Grass, kAll, drawHills);
    b.tile(0xB5, "flowers", Texture::Grass, kAll, drawFlowers);
    b.tile(0xB6, "swamp", Texture::Swamp, kAll);
    b.tile(0xB7, "snow", Texture::Snow, kAll);
    b.edges(0xB8, "road", Texture::Dirt, Texture::Grass, 0, 5);
    b.corners(0xC0, "road", Texture::Dirt, Texture::Grass, 0, 5);
    b.edges(0xC4, "sand", Texture::Sand, Texture::Grass, 0, 5);
    b.variants(0xCC, "grass", Texture::Grass);
    b.variants(0xCE, "road", Texture::Dirt);
    return b.take();
}

TileSheet makeDungeonSheet()
{
    Builder b("DUNGEON");
    b.tile(0x00, "cave wall", Texture::RockWall, kAll);
    b.tile(0x01, "wall top (dark mass above a wall)", Texture::WallTop, kAll);
    b.tile(0x02, "dungeon brick wall", Texture::DungeonBrick, kAll);
    b.custom(0x03, "locked barred door", 0, Texture::DungeonBrick,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::DungeonBrick, false, true); });
    b.tile(0x04, "pillar", Texture::Flagstone, 0, drawPillar);
    b.tile(0x05, "underground water", Texture::DeepWater, kAll);
    b.tile(0x06, "lava", Texture::Lava, kAll);
    b.tile(0x07, "torch on a brick wall", Texture::DungeonBrick, 0, drawTorch);
    b.tile(0x08, "chest, closed", Texture::Flagstone, kAll, [](Picture& s, int x, int y) { drawChest(s, x, y, false); });
    b.tile(0x09, "statue", Texture::Flagstone, kAll, drawStatue);
    b.tile(0x0A, "crystal", Texture::CaveFloor, kAll, drawCrystal);
    b.tile(0x0B, "rubble", Texture::CaveFloor, 0, drawRubble);
    b.tile(0x0C, "chasm", Texture::Chasm, kAll);
    b.tile(0x0D, "boulder", Texture::CaveFloor, kAll, drawRock);
    b.tile(0x0E, "torch on a cave wall", Texture::RockWall, 0, drawTorch);
    b.tile(0x0F, "chest, closed, on cave floor", Texture::CaveFloor, kAll,
        [](Picture& s, int x, int y) { drawChest(s, x, y, false); });
    b.edges(0x10, "underground water", Texture::DeepWater, Texture::CaveFloor, kLedge, 6);
    b.custom(0x90, "open door", 0, Texture::DungeonBrick,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::DungeonBrick, true, false); });
    b.tile(0x91, "stairs up", Texture::Flagstone, 0, [](Picture& s, int x, int y) { drawStairs(s, x, y, false); });
    b.tile(0x92, "stairs down", Texture::Flagstone, 0, [](Picture& s, int x, int y) { drawStairs(s, x, y, true); });
    b.tile(0x93, "chest, open", Texture::Flagstone, kAll, [](Picture& s, int x, int y) { drawChest(s, x, y, true); });
    b.tile(0x94, "bridge over the chasm, east-west", Texture::Chasm, kN | kS,
        [](Picture& s, int x, int y) { drawBridge(s, x, y, false); });
    b.tile(0x95, "bridge over the chasm, north-south", Texture::Chasm, kE | kW,
        [](Picture& s, int x, int y) { drawBridge(s, x, y, true); });
    b.tile(0x96, "magic circle", Texture::Flagstone, 0, drawMagicCircle);
    b.tile(0x97, "chest, open, on cave floor", Texture::CaveFloor, kAll,
        [](Picture& s, int x, int y) { drawChest(s, x, y, true); });
    b.custom(0x98, "cave passage (dark opening)", 0, Texture::RockWall,
        [](Picture& s, int x, int y) { drawDoor(s, x, y, Texture::RockWall, true, false); });
    b.tile(0xB0, "cave floor", Texture::CaveFloor, kAll);
    b.tile(0xB1, "flagstone floor", Texture::Flagstone, kAll);
    b.tile(0xB2, "mossy floor", Texture::Moss, kAll);
    b.tile(0xB3, "red carpet", Texture::Carpet, kAll);
    b.tile(0xB4, "cave floor with bones", Texture::CaveFloor, kAll, drawBones);
    b.variants(0xB5, "cave floor", Texture::CaveFloor);
    return b.take();
}

} // namespace vorn::assetgen
