#include "screens/saved_games.h"

#include "core/context.h"
#include "core/party.h"
#include "core/save_slots.h"
#include "data/errors.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "screens/screen_lines.h"
#include "ui/windows.h"

#include <utility>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace vorn {

namespace {

    // Cells a loaded map side may have; the whole-map picture of a larger map could not be made.
    constexpr int maxSavedMapSide = 512;

    void applyHead(Context& ctx, const SlotFile& slot)
    {
        Database& db = ctx.db;
        ctx.field.screenX = slot.screenX;
        ctx.field.screenY = slot.screenY;
        ctx.field.scrollX = slot.scrollX;
        ctx.field.scrollY = slot.scrollY;
        ctx.game.map = slot.map;
        db.sizes.lastCharacter = slot.partyLast;
        ctx.field.facing = slot.facing;
        ctx.field.animFrame = slot.animFrame;
        ctx.game.gold = slot.gold;
        for (size_t c = 0; c < slot.roster.size() && c < db.characters.size(); ++c) {
            const SlotCharacter& in = slot.roster[c];
            Character& ch = db.characters[c];
            ch.growthType = in.growthType;
            ch.name = in.name;
            ch.level = in.level;
            ch.hp = in.hp;
            ch.mp = in.mp;
            ch.maxHp = in.maxHp;
            ch.maxMp = in.maxMp;
            ch.attack = in.attack;
            ch.defense = in.defense;
            ch.speed = in.speed;
            ch.exp = in.exp;
            ch.nextExp = in.nextExp;
            ch.itemCount = in.itemCount;
            ch.spellCount = in.spellCount;
            for (size_t k = 0; k < in.inventory.size() && k < ch.inventory.size(); ++k) {
                ch.inventory[k][InventoryItem] = in.inventory[k][InventoryItem];
                ch.inventory[k][InventoryEquipped] = in.inventory[k][InventoryEquipped];
            }
            std::copy_n(in.spells.begin(), std::min(in.spells.size(), ch.spells.size()), ch.spells.begin());
            std::copy_n(in.conditions.begin(), 6, ch.conditions.begin());
            ch.equipment = in.equipment;
        }
        std::copy_n(slot.flags.begin(), std::min(slot.flags.size(), db.flags.size()), db.flags.begin());
        for (size_t i = 0; i < slot.visited.size() && i < db.towns.size(); ++i)
            db.towns[i].visited = slot.visited[i];
    }

    // Record 5 and 6: the map's marks cleared to the saved size, then every event and the marks
    // of the cell it stands on; every event stands still.
    void applyEvents(Context& ctx, const SlotFile& slot)
    {
        MapState& map = ctx.map;
        int width = std::clamp(roundIndex(slot.mapWidth), 0, maxSavedMapSide);
        int height = std::clamp(roundIndex(slot.mapHeight), 0, maxSavedMapSide);
        map.resetMarks(width, height);
        for (size_t n = 0; n < slot.events.size() && n < map.event.size(); ++n) {
            const SlotEvent& in = slot.events[n];
            MapEvent& e = map.event[n];
            e.x = in.x;
            e.y = in.y;
            e.speed = in.speed;
            e.stepFrames = 0;
            e.facing = in.facing;
            if (CellMarks* marks = map.marksAt(roundIndex(in.x), roundIndex(in.y)))
                *marks = in.marks;
        }
    }

    void applyCharacterExtras(Context& ctx, const SlotFile& slot)
    {
        for (size_t c = 0; c < slot.roster.size() && c < ctx.db.characters.size(); ++c) {
            const SlotCharacter& in = slot.roster[c];
            Character& ch = ctx.db.characters[c];
            ch.criticalRate = in.criticalRate;
            ch.hitRate = in.hitRate;
            ch.magicDefense = in.magicDefense;
            ch.attribute = in.attribute;
            for (size_t k = 0; k < in.inventory.size() && k < ch.inventory.size(); ++k)
                ch.inventory[k][InventoryUses] = in.inventory[k][InventoryUses];
            std::copy(in.conditions.begin() + 6, in.conditions.end(), ch.conditions.begin() + 6);
        }
    }

    void applyLayout(Context& ctx, const SlotFile& slot)
    {
        std::copy_n(slot.windowLayout.begin(), 4, ctx.windows.messageWindow.begin());
        std::copy_n(slot.windowLayout.begin() + 4, 4, ctx.field.scrollMargins.begin());
        ctx.saves.carry.layoutExtra = slot.windowLayout[8];
        ctx.saves.carry.viewColumns = slot.viewColumns;
        ctx.saves.carry.viewRows = slot.viewRows;
    }

    void applySettings(Context& ctx, const SlotFile& slot)
    {
        ctx.windows.fontFace = slot.fontChoice;
        ctx.db.ini.walkStep = slot.walkStep;
        ctx.saves.carry.passThrough = slot.passThrough;
        ctx.game.battleMusic = slot.battleMusic;
        ctx.saves.carry.passThroughMore = slot.passThroughMore;
        ctx.map.pendingMusic = slot.music;
    }

    // The slot menu: nine slots with their labels; returns 1 to 9, or 0 when cancelled.
    int chooseSlot(Context& ctx)
    {
        return chooseFromMenu(ctx, MenuKind::SaveSlots, { 8, 2, 13, 11 });
    }

} // namespace

std::string slotLabelNow(Context& ctx)
{
    LocalTime t = ctx.platform.localTime();
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", ((t.year % 100) + 100) % 100,
        std::clamp(t.month, 0, 99), std::clamp(t.day, 0, 99), std::clamp(t.hour, 0, 99), std::clamp(t.minute, 0, 99),
        std::clamp(t.second, 0, 99));
    return text;
}

SlotFile slotOfGame(const Context& ctx, const std::string& label)
{
    SlotFile slot = currentSlotHead(ctx, label);
    const MapState& map = ctx.map;
    slot.mapWidth = static_cast<float>(map.width());
    slot.mapHeight = static_cast<float>(map.height());
    for (size_t n = 0; n < slot.events.size() && n < map.event.size(); ++n) {
        const MapEvent& e = map.event[n];
        SlotEvent& out = slot.events[n];
        out = { e.x, e.y, e.speed, e.stepFrames, e.facing, {} };
        if (const CellMarks* marks = std::as_const(map).marksAt(roundIndex(e.x), roundIndex(e.y)))
            out.marks = *marks;
    }
    slot.version = currentSaveVersion;
    slot.picture = ctx.field.playerPicture;
    slot.fontChoice = ctx.windows.fontFace;
    slot.walkStep = ctx.db.ini.walkStep;
    slot.passThrough = ctx.saves.carry.passThrough;
    slot.battleMusic = ctx.game.battleMusic;
    slot.passThroughMore = ctx.saves.carry.passThroughMore;
    slot.music = ctx.sound.musicName;
    std::copy_n(ctx.windows.messageWindow.begin(), 4, slot.windowLayout.begin());
    std::copy_n(ctx.field.scrollMargins.begin(), 4, slot.windowLayout.begin() + 4);
    slot.windowLayout[8] = ctx.saves.carry.layoutExtra;
    slot.viewColumns = ctx.saves.carry.viewColumns;
    slot.viewRows = ctx.saves.carry.viewRows;
    return slot;
}

void applySlot(Context& ctx, const SlotFile& slot)
{
    applyHead(ctx, slot);
    applyEvents(ctx, slot);
    if (slot.version) {
        // readSlotFile has given an older version's slot the defaults of what it lacks.
        SlotParts parts = slotPartsOf(slot.version);
        ctx.field.playerPicture = parts.picture ? slot.picture : 0;
        applyCharacterExtras(ctx, slot);
        applyLayout(ctx, slot);
        if (parts.settings)
            applySettings(ctx, slot);
    }
    Database& db = ctx.db;
    for (int i = 0; i <= partyLast(ctx.db); ++i) {
        const Character& member = db.characters[static_cast<size_t>(i)];
        int identity = roundIndex(member.growthType);
        if (identity >= 0 && identity < capacity::characters)
            db.characters[static_cast<size_t>(identity)].defaultName = member.name;
    }
}

SaveOutcome saveGame(Context& ctx, int slot, const std::string& label, const std::function<void()>& beforeRename)
{
    if (slot < 1 || slot > 9)
        return SaveOutcome::NotWritten;
    std::string bytes;
    try {
        bytes = writeSlotFile(slotOfGame(ctx, label), boundedSlotShapeOf(ctx.db));
    } catch (const std::invalid_argument& error) {
        ctx.transcript.write("state", std::string("save refused: ") + error.what());
        return SaveOutcome::NotWritten;
    }
    auto path = slotPath(ctx, slot);
    if (!path || !writeWholeFileAtomically(*path, bytes, beforeRename))
        return SaveOutcome::NotWritten;
    ctx.saves.labels[static_cast<size_t>(slot - 1)] = label;
    return SaveOutcome::Saved;
}

LoadOutcome loadGame(Context& ctx, int slot)
{
    if (slot < 1 || slot > 9)
        return LoadOutcome::Unreadable;
    if (ctx.saves.labels[static_cast<size_t>(slot - 1)] == emptySlotLabel)
        return LoadOutcome::Empty;
    auto bytes = readGameFile(ctx.saveRoot, slotFileName(slot), GameFileKind::Save);
    if (!bytes)
        return LoadOutcome::Unreadable;
    SlotFile scratch;
    try {
        scratch = readSlotFile(std::move(*bytes), boundedSlotShapeOf(ctx.db));
    } catch (const FileError& error) {
        ctx.transcript.write("state", "slot " + std::to_string(slot) + " not loaded: " + error.what());
        return LoadOutcome::Unreadable;
    }
    applySlot(ctx, scratch);
    return LoadOutcome::Loaded;
}

void prepareLoadedMapEntry(Context& ctx)
{
    FieldState& f = ctx.field;
    ctx.game.useMapEntry = 0;
    ctx.game.startX = static_cast<float>(intFloor((f.scrollX + f.screenX) / 32));
    ctx.game.startY = static_cast<float>(intFloor((f.scrollY + f.screenY) / 32));
    f.request = fieldRequest::None;
    f.stepFrames = 0;
    f.pendingKey.clear();
    ctx.map.entry = EntryArguments {};
    ctx.map.enteringFromLoad = true;
}

void SaveCommand(Context& ctx)
{
    say(ctx, Message::ChooseSaveSlot);
    int slot = chooseSlot(ctx);
    if (slot == 0)
        return;
    say(ctx, Message::NowSaving);
    if (saveGame(ctx, slot, slotLabelNow(ctx)) == SaveOutcome::Saved) {
        printLine(ctx, message(Message::SaveComplete));
        ctx.transcript.write("state", "saved slot " + std::to_string(slot));
    } else {
        printLine(ctx, message(Message::NotSaved));
    }
    WaitPage(ctx);
}

bool LoadCommand(Context& ctx)
{
    for (;;) {
        say(ctx, Message::ChooseLoadSlot);
        int slot = chooseSlot(ctx);
        if (slot == 0)
            return false;
        if (ctx.saves.labels[static_cast<size_t>(slot - 1)] == emptySlotLabel) {
            sayAndWait(ctx, Message::NoData);
            continue;
        }
        say(ctx, Message::NowLoading);
        LoadOutcome outcome = loadGame(ctx, slot);
        if (outcome == LoadOutcome::Loaded) {
            ctx.transcript.write("state", "loaded slot " + std::to_string(slot));
            return true;
        }
        sayAndWait(ctx, outcome == LoadOutcome::Empty ? Message::NoData : Message::UnreadableData);
    }
}

} // namespace vorn
