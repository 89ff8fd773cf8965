// The game state under the field names of a slot file, so that the slot layout
// (data/slot_layout.h) copies a save out of the game and a loaded slot into it with the same walk
// that reads and writes the file. `Ctx` is const Context when saving, Context when loading.
#pragma once

#include "core/context.h"
#include "data/slot_layout.h"

#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace vorn {

namespace slot_game {

    template <class Ctx, class T>
    using Ref = std::conditional_t<std::is_const_v<Ctx>, const T&, T&>;

    // A game table as the slot lists it: indexed like the slot's list, never resized by a walk.
    template <class Table>
    struct Fixed {
        Table& table;
        std::size_t size() const { return table.size(); }
        auto& operator[](std::size_t i) const { return table[i]; }
    };

    // The towns' visited marks, one per town.
    template <class Towns>
    struct Visited {
        Towns& towns;
        std::size_t size() const { return towns.size(); }
        auto& operator[](std::size_t i) const { return towns[i].visited; }
    };

    // The window layout table of a slot: the message window rectangle (0 to 3), the scroll
    // margins (4 to 7) and the value an event command sets (8).
    template <class Ctx>
    struct Layout {
        Ref<Ctx, std::array<float, 4>> messageWindow;
        Ref<Ctx, std::array<float, 4>> scrollMargins;
        Ref<Ctx, float> extra;
        Ref<Ctx, float> operator[](std::size_t i) const
        {
            return i < 4 ? messageWindow[i] : i < 8 ? scrollMargins[i - 4]
                                                    : extra;
        }
    };

    template <class T>
    inline constexpr bool isVector = false;
    template <class T>
    inline constexpr bool isVector<std::vector<T>> = true;

    // The music a save keeps is the one playing; the one a load gives is the name the next map
    // entry plays instead of the map's own.
    inline const std::string& music(const Context& ctx) { return ctx.sound.musicName; }
    inline std::string& music(Context& ctx) { return ctx.map.pendingMusic; }

} // namespace slot_game

static_assert(maxScriptEvents >= slotEventCount, "the map holds every event a slot saves");

template <class Ctx>
struct GameSlot {
    template <class T>
    using Ref = slot_game::Ref<Ctx, T>;
    template <class T>
    using Of = std::conditional_t<std::is_const_v<Ctx>, const T, T>;

    // `label` is the label a save writes; a load leaves it here.
    explicit GameSlot(Ctx& ctx, std::string savedLabel = {})
        : label(std::move(savedLabel))
        , screenX(ctx.field.screenX)
        , screenY(ctx.field.screenY)
        , scrollX(ctx.field.scrollX)
        , scrollY(ctx.field.scrollY)
        , map(ctx.game.map)
        , partyLast(ctx.db.sizes.lastCharacter)
        , facing(ctx.field.facing)
        , animFrame(ctx.field.animFrame)
        , gold(ctx.game.gold)
        , roster { ctx.db.characters }
        , flags { ctx.db.flags }
        , visited { ctx.db.towns }
        , mapWidth(static_cast<float>(ctx.map.width()))
        , mapHeight(static_cast<float>(ctx.map.height()))
        , events { ctx.map.event }
        , picture(ctx.field.playerPicture)
        , fontChoice(ctx.windows.fontFace)
        , walkStep(ctx.db.ini.walkStep)
        , passThrough(ctx.saves.carry.passThrough)
        , battleMusic(ctx.game.battleMusic)
        , passThroughMore(ctx.saves.carry.passThroughMore)
        , music(slot_game::music(ctx))
        , windowLayout { ctx.windows.messageWindow, ctx.field.scrollMargins, ctx.saves.carry.layoutExtra }
        , viewColumns(ctx.saves.carry.viewColumns)
        , viewRows(ctx.saves.carry.viewRows)
    {
    }

    std::string label;
    Ref<float> screenX, screenY, scrollX, scrollY, map, partyLast, facing, animFrame, gold;
    slot_game::Fixed<Of<decltype(Database::characters)>> roster;
    slot_game::Fixed<Of<decltype(Database::flags)>> flags;
    slot_game::Visited<Of<decltype(Database::towns)>> visited;
    // The map's size as a save writes it; a load leaves the saved size here for the caller,
    // who sizes the map's cell marks with it.
    float mapWidth, mapHeight;
    slot_game::Fixed<Of<decltype(MapState::event)>> events;
    Ref<float> picture;
    Ref<float> fontChoice, walkStep, passThrough;
    Ref<std::string> battleMusic;
    Ref<std::array<float, 4>> passThroughMore;
    Ref<std::string> music;
    slot_game::Layout<Ctx> windowLayout;
    Ref<float> viewColumns, viewRows;
};

// The copy walk of the slot layout: every value it names goes from its first side to its second.
// A SlotFile's lists are sized to the walk's counts; the game's tables keep their sizes and must
// hold the entries walked.
struct SlotCopy {
    static constexpr bool cellMarks = false;

    template <class T>
    void number(const T& from, T& to) { to = from; }
    void text(const std::string& from, std::string& to) { to = from; }
    void end() { }
    template <class From, class To>
    void sized(int count, const From& from, To& to)
    {
        std::size_t n = static_cast<std::size_t>(count);
        if (from.size() < n)
            throw std::invalid_argument("slot copy: a list holds fewer entries than the table size");
        if constexpr (slot_game::isVector<To>)
            to.assign(n, {});
        else if (to.size() < n)
            throw std::invalid_argument("slot copy: a table holds fewer entries than the slot");
    }
};

} // namespace vorn
