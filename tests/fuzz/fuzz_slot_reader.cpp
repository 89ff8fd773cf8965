// libFuzzer target: arbitrary bytes read as a saved-game slot and, when they read, written back
// and applied to a game.
//
// The first byte picks the table sizes the slot is read with. A slot that reads must write again
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

SlotShape shapeFor(std::uint8_t pick)
{
    return { pick % 3, (pick / 3) % 4, (pick / 12) % 3, (pick / 36) % 3, (pick / 108) % 3 };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    SlotShape shape = shapeFor(data[0]);
    SlotFile slot;
    try {
        slot = readSlotFile(std::vector<std::uint8_t>(data + 1, data + size), shape);
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
