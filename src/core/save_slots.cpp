#include "core/save_slots.h"

#include "core/context.h"
#include "data/record.h"
#include "platform/game_files.h"

#include <optional>

namespace vorn {

namespace {

    // The folder of the slot files, made when it is missing.
    std::optional<std::filesystem::path> slotFolder(const Context& ctx)
    {
        if (auto found = resolveGamePath(ctx.root, "SAV"))
            return found;
        std::error_code ec;
        std::filesystem::create_directory(ctx.root / "SAV", ec);
        if (ec)
            return std::nullopt;
        return ctx.root / "SAV";
    }

} // namespace

SlotFile currentSlotHead(const Context& ctx, const std::string& label)
{
    SlotFile slot = slotHeadOf(ctx.db, label);
    slot.screenX = ctx.field.screenX;
    slot.screenY = ctx.field.screenY;
    slot.scrollX = ctx.field.scrollX;
    slot.scrollY = ctx.field.scrollY;
    slot.map = ctx.game.map;
    slot.facing = ctx.field.facing;
    slot.animFrame = ctx.field.animFrame;
    slot.gold = ctx.game.gold;
    return slot;
}

void writeSlotHead(const Context& ctx, RecordWriter& writer, const std::string& label)
{
    writeSlotHead(writer, currentSlotHead(ctx, label), ctx.db);
}

void readSlotLabels(Context& ctx)
{
    auto folder = slotFolder(ctx);
    for (int slot = 1; slot <= 9; ++slot) {
        std::string& label = ctx.saves.labels[static_cast<size_t>(slot - 1)];
        auto path = resolveGamePath(ctx.root, slotFileName(slot));
        if (auto bytes = path ? readWholeFile(*path) : std::nullopt) {
            try {
                label = RecordReader(std::move(*bytes)).string();
                continue;
            } catch (const ReadError&) {
            }
        }
        label = emptySlotLabel;
        if (!folder)
            continue;
        RecordWriter writer;
        writeSlotHead(ctx, writer, label);
        auto target = path ? *path : *folder / ("DATA" + std::to_string(slot) + ".DAT");
        writeWholeFileAtomically(target, writer.bytes());
    }
}

} // namespace vorn
