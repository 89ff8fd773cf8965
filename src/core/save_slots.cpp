#include "core/save_slots.h"

#include "core/context.h"
#include "core/slot_game.h"
#include "data/record.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <optional>
#include <stdexcept>

namespace vorn {

std::optional<std::filesystem::path> slotFolder(const Context& ctx)
{
    if (auto found = resolveGamePath(ctx.saveRoot, "SAV"))
        return found;
    std::error_code ec;
    std::filesystem::create_directory(ctx.saveRoot / "SAV", ec);
    if (ec)
        return std::nullopt;
    return ctx.saveRoot / "SAV";
}

std::optional<std::filesystem::path> slotPath(const Context& ctx, int slot)
{
    if (auto existing = resolveGamePath(ctx.saveRoot, slotFileName(slot)))
        return existing;
    auto folder = slotFolder(ctx);
    if (!folder)
        return std::nullopt;
    return *folder / ("DATA" + std::to_string(slot) + ".DAT");
}

SlotFile currentSlotHead(const Context& ctx, const std::string& label)
{
    SlotFile slot;
    const GameSlot<const Context> game(ctx, label);
    SlotCopy copy;
    slot_layout::head(copy, boundedSlotShapeOf(ctx.db), game, slot);
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
        auto path = resolveGamePath(ctx.saveRoot, slotFileName(slot));
        SlotLabel read = readSlotLabel(path);
        bool unreadable = read.state == SlotLabelState::Unreadable;
        ctx.saves.unreadable[static_cast<size_t>(slot - 1)] = unreadable;
        // The label of a file that cannot be read is not known.
        if (read.state == SlotLabelState::Read)
            label = read.text;
        else
            label = unreadable ? "" : emptySlotLabel;
        if (unreadable)
            ctx.transcript.write("state", "slot " + std::to_string(slot) + " cannot be read: shown so, kept");
        if (read.state != SlotLabelState::Missing || !folder)
            continue;
        RecordWriter writer;
        try {
            writeSlotHead(ctx, writer, label);
        } catch (const std::invalid_argument&) {
            continue; // a state the file cannot hold: the slot stays missing and shows as empty
        }
        writeWholeFileAtomically(*folder / ("DATA" + std::to_string(slot) + ".DAT"), writer.bytes());
    }
}

} // namespace vorn
