#include "screens/saved_games.h"

#include "core/context.h"
#include "core/party.h"
#include "core/save_slots.h"
#include "core/slot_game.h"
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

    // The cell marks of the saved map: cleared to the saved size, then each event's marks on the
    // cell it stands on.
    void applyCellMarks(Context& ctx, const SlotFile& slot, float width, float height)
    {
        MapState& map = ctx.map;
        map.resetMarks(std::clamp(roundIndex(width), 0, maxSavedMapSide), std::clamp(roundIndex(height), 0, maxSavedMapSide));
        for (const SlotEvent& e : slot.events) {
            if (CellMarks* marks = map.marksAt(roundIndex(e.x), roundIndex(e.y)))
                *marks = e.marks;
        }
    }

    // A slot labelled empty whose file could be read: nothing to load.
    bool isEmptySlot(const Context& ctx, int slot)
    {
        size_t i = static_cast<size_t>(slot - 1);
        return ctx.saves.labels[i] == emptySlotLabel && !ctx.saves.unreadable[i];
    }

    // The slot menu: nine slots with their labels; returns 1 to 9, or 0 when cancelled.
    int chooseSlot(Context& ctx)
    {
        return chooseFromMenu(ctx, MenuKind::SaveSlots);
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
    const GameSlot<const Context> game(ctx, label);
    const SlotShape shape = boundedSlotShapeOf(ctx.db);
    SlotFile slot;
    SlotCopy copy;
    slot_layout::head(copy, shape, game, slot);
    slot_layout::events(copy, game, slot);
    for (SlotEvent& e : slot.events) {
        if (const CellMarks* marks = std::as_const(ctx.map).marksAt(roundIndex(e.x), roundIndex(e.y)))
            e.marks = *marks;
    }
    slot.version = currentSaveVersion;
    slot.picture = game.picture;
    slot_layout::extras(copy, shape, game, slot);
    slot_layout::settings(copy, game, slot);
    slot_layout::windowLayout(copy, game, slot);
    return slot;
}

void applySlot(Context& ctx, const SlotFile& slot)
{
    SlotShape shape = boundedSlotShapeOf(ctx.db);
    GameSlot<Context> game(ctx);
    SlotCopy copy;
    slot_layout::head(copy, shape, slot, game);
    slot_layout::events(copy, slot, game);
    applyCellMarks(ctx, slot, game.mapWidth, game.mapHeight);
    // Every event stands on its cell: a step under way when the game was saved is not resumed.
    for (MapEvent& e : ctx.map.event)
        e.stepFrames = 0;
    if (slot.version) {
        // readSlotFile has given an older version's slot the defaults of what it lacks; only the
        // display and sound settings of record 9 keep what they were.
        SlotParts parts = slotPartsOf(slot.version);
        game.picture = parts.picture ? slot.picture : 0;
        slot_layout::extras(copy, shape, slot, game);
        if (parts.settings)
            slot_layout::settings(copy, slot, game);
        slot_layout::windowLayout(copy, slot, game);
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
    ctx.saves.unreadable[static_cast<size_t>(slot - 1)] = false;
    return SaveOutcome::Saved;
}

bool slotNeedsOverwriteQuestion(const Context& ctx, int slot)
{
    if (slot < 1 || slot > 9)
        return false;
    auto path = resolveGamePath(ctx.saveRoot, slotFileName(slot));
    SlotLabel label = readSlotLabel(path);
    if (label.state != SlotLabelState::Read)
        return label.state == SlotLabelState::Unreadable;
    if (label.text == emptySlotLabel)
        return false; // written at a first start: it holds no game
    auto bytes = readWholeFile(*path, gameFileLimit(GameFileKind::Save));
    if (!bytes)
        return true;
    try {
        readSlotFile(std::move(*bytes), boundedSlotShapeOf(ctx.db));
    } catch (const FileError&) {
        return true;
    }
    return false;
}

LoadOutcome loadGame(Context& ctx, int slot)
{
    if (slot < 1 || slot > 9)
        return LoadOutcome::Unreadable;
    if (isEmptySlot(ctx, slot))
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
    int slot = 0;
    for (;;) {
        say(ctx, Message::ChooseSaveSlot);
        slot = chooseSlot(ctx);
        if (slot == 0)
            return;
        if (!slotNeedsOverwriteQuestion(ctx, slot))
            break;
        // A file the game cannot read may still be a player's save (of another version, or
        // damaged): it is replaced only when the player says so.
        ctx.saves.unreadable[static_cast<size_t>(slot - 1)] = true;
        say(ctx, Message::OverwriteUnreadable);
        if (chooseFromMenu(ctx, MenuKind::YesNo) == yes_no::Yes)
            break;
    }
    say(ctx, Message::NowSaving);
    if (saveGame(ctx, slot, slotLabelNow(ctx)) == SaveOutcome::Saved) {
        PrintLine(ctx, message(ctx, Message::SaveComplete));
        ctx.transcript.write("state", "saved slot " + std::to_string(slot));
    } else {
        PrintLine(ctx, message(ctx, Message::NotSaved));
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
        if (isEmptySlot(ctx, slot)) {
            sayAndWait(ctx, Message::NoData);
            continue;
        }
        say(ctx, Message::NowLoading);
        LoadOutcome outcome = loadGame(ctx, slot);
        if (outcome == LoadOutcome::Loaded) {
            ctx.transcript.write("state", "loaded slot " + std::to_string(slot));
            return true;
        }
        if (outcome == LoadOutcome::Unreadable)
            ctx.saves.unreadable[static_cast<size_t>(slot - 1)] = true;
        sayAndWait(ctx, outcome == LoadOutcome::Empty ? Message::NoData : Message::UnreadableData);
    }
}

} // namespace vorn
