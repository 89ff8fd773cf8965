#include "data/saves.h"

#include "app/context.h"
#include "data/record.h"
#include "platform/game_files.h"

#include <algorithm>

namespace vorn {

const char* const emptySlotLabel = "------------";

namespace {

    // A loop bound from a table size, kept within the table's capacity.
    int boundedCount(float count, int capacityEntries)
    {
        return std::clamp(roundIndex(count), 0, capacityEntries);
    }

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

std::string slotFileName(int slot) { return "SAV\\DATA" + std::to_string(slot) + ".DAT"; }

void writeSlotHead(const Context& ctx, RecordWriter& w, const std::string& label)
{
    const Database& db = ctx.db;
    w.string(label);
    for (float v : { ctx.field.screenX, ctx.field.screenY, ctx.field.scrollX, ctx.field.scrollY, ctx.game.map,
             db.sizes.lastCharacter, ctx.field.facing, ctx.field.animFrame, ctx.game.gold })
        w.number(v);
    w.endRecord();

    int roster = boundedCount(db.sizes.lastCharacterSaved + 1, capacity::characters);
    int inventory = boundedCount(db.sizes.inventorySlots, capacity::inventory);
    int spells = boundedCount(db.sizes.spellSlots, capacity::spellList);
    for (int c = 0; c < roster; ++c) {
        const Character& ch = db.characters[static_cast<size_t>(c)];
        w.number(ch.growthType);
        w.string(ch.name);
        for (float v : { ch.level, ch.hp, ch.mp, ch.maxHp, ch.maxMp, ch.attack, ch.defense, ch.speed, ch.exp,
                 ch.nextExp, ch.itemCount, ch.spellCount })
            w.number(v);
        w.endRecord();
        for (int k = 0; k < inventory; ++k) {
            for (int value : { InventoryItem, InventoryEquipped }) {
                w.number(ch.inventory[static_cast<size_t>(k)][static_cast<size_t>(value)]);
                w.endRecord();
            }
        }
        for (int k = 0; k < spells; ++k) {
            w.number(ch.spells[static_cast<size_t>(k)]);
            w.endRecord();
        }
        for (size_t j = 0; j < 6; ++j) {
            w.number(ch.conditions[j]);
            w.endRecord();
            w.number(ch.equipment[j]);
            w.endRecord();
        }
    }
    int maps = boundedCount(db.sizes.mapCount, capacity::maps);
    for (int m = 0; m < maps; ++m) {
        for (float flag : db.flags[static_cast<size_t>(m)]) {
            w.number(flag);
            w.endRecord();
        }
    }
    int towns = boundedCount(db.sizes.townCount, capacity::towns);
    for (int i = 0; i < towns; ++i) {
        w.number(db.towns[static_cast<size_t>(i)].visited);
        w.endRecord();
    }
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
