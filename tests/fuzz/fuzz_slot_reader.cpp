// libFuzzer target: arbitrary bytes read as a saved-game slot and, when they read, written back
// and applied to a game.
//
// The first byte picks the table sizes the slot is read with; a first byte 0xFF is followed by
// five bytes that give them (roster's last index, inventory entries, spell entries, maps, towns,
// each within its table's capacity), so that a real slot of a real game can seed the corpus
// (tools/fuzz.sh puts that header before the demo game's slots). A slot that reads must write again
// (everything the reader accepts can be written) and read back equal; a difference aborts. The
// slot is then applied to a game context as a load does. A read failure (FileError) is the
// expected answer to bad bytes; a crash, a sanitizer report or any other exception is a finding.
#include "core/context.h"
#include "data/errors.h"
#include "platform/headless/headless_platform.h"
#include "screens/saved_games.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace vorn;

// A game context made once; every input's slot is applied to it in turn.
Context& game()
{
    static HeadlessPlatform platform { HeadlessOptions {} };
    static Transcript transcript;
    static Context ctx(platform, transcript, std::filesystem::temp_directory_path(), 7);
    return ctx;
}

// The table sizes at the start of an input and the number of bytes they take.
std::size_t readShape(const std::uint8_t* data, std::size_t size, SlotShape& shape)
{
    std::uint8_t pick = data[0];
    if (pick != 0xFF || size < 6) {
        shape = { pick % 3, (pick / 3) % 4, (pick / 12) % 3, (pick / 36) % 3, (pick / 108) % 3 };
        return 1;
    }
    shape = { data[1] % capacity::characters, data[2] % (capacity::inventory + 1), data[3] % (capacity::spellList + 1),
        data[4] % (capacity::maps + 1), data[5] % (capacity::towns + 1) };
    return 6;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    SlotShape shape;
    std::size_t start = readShape(data, size, shape);
    SlotFile slot;
    try {
        slot = readSlotFile(std::vector<std::uint8_t>(data + start, data + size), shape);
    } catch (const FileError&) {
        return 0;
    }
    std::string written = writeSlotFile(slot, shape); // throws (a finding) if a read value cannot be written
    SlotFile again = readSlotFile(std::vector<std::uint8_t>(written.begin(), written.end()), shape);
    if (!(again == slot) || writeSlotFile(again, shape) != written)
        std::abort();

    Context& ctx = game();
    ctx.db.sizes.lastCharacterSaved = static_cast<float>(shape.rosterLast);
    ctx.db.sizes.inventorySlots = static_cast<float>(shape.inventorySlots);
    ctx.db.sizes.spellSlots = static_cast<float>(shape.spellSlots);
    ctx.db.sizes.mapCount = static_cast<float>(shape.mapCount);
    ctx.db.sizes.townCount = static_cast<float>(shape.townCount);
    applySlot(ctx, slot);
    prepareLoadedMapEntry(ctx);
    return 0;
}
