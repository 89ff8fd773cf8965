// The fixed texts the player sees: dialog captions and texts, menu items, and the lines of the
// field, battles and screens. Each is written once here in UTF-8 and converted to cp932 once.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

enum class Message : int {
    // The fatal dialogs and the quit question.
    FileErrorCaption,
    FileErrorText,
    EventErrorCaption,
    EventErrorText,
    QuitCaption,
    QuitText,

    // Battle commands (menu kind 1).
    BattleAttack,
    BattleMagic,
    BattleFlee,
    BattleItems,
    BattleAuto,
    // Item actions (menu kind 3).
    ItemUse,
    ItemEquip,
    ItemGive,
    ItemDiscard,
    ItemDescribe,
    // Marks after an item's name in a member's item list (menu kind 7).
    EquippedMark,
    UnlimitedUses,
    // The status screen's buttons (kinds 8 and 9), yes/no (kind 10), the gold window (kind 11).
    Next,
    Back,
    Yes,
    No,
    GoldLabel, // the gold right-aligned in eight characters
    // Row labels of the party status panel (kind 12).
    PanelConditions,
    PanelHp,
    PanelMp,
    // The shop and the healer (kinds 15 and 17).
    ShopBuy,
    ShopSell,
    ShopDescribe,
    HealerRevive,
    HealerCure,
    // The settings menu (kind 20): each line with its current setting.
    SettingsMusic,
    SettingsSound,
    SettingsWalkers,
    SettingsSpeed,
    SettingsEncounters,
    SettingsKeys,
    SwitchOn,
    SwitchOff,
    EncountersWhileWalking,
    EncountersWhileStanding,
    // The field menu (kind 21).
    FieldMagic,
    FieldItems,
    FieldStatus,
    FieldFormation,
    FieldSave,
    FieldLoad,
    FieldSettings,
    FieldQuit,
    // The title (kind 23).
    TitleNewGame,
    TitleLoad,
    // Equipment actions (kind 24).
    EquipWear,
    EquipStrongest,
    EquipRemove,
    EquipRemoveAll,

    // Why a member cannot act or take an item.
    RefusalFainted,
    RefusalSealed,
    RefusalConfused,
    RefusalCursed,
    RefusalParalysed,
    RefusalPetrified,
    RefusalAsleep,

    // Lines of the field and the title.
    MemberFainted, // on the field and in battles

    // Saved games.
    ChooseSaveSlot,
    ChooseLoadSlot,
    NowSaving,
    SaveComplete,
    NowLoading,
    NoData,
    UnreadableData,
    NotSaved,
    UnreadableSlot, // the slot menu's entry for a slot whose file cannot be read
    OverwriteUnreadable,
    // The status screen: its lines (each figure right-aligned by the caller), the condition
    // letters and the empty lists.
    StatusName,
    StatusAttribute,
    StatusCondition,
    StatusLevel,
    StatusHp, // the figure and its maximum
    StatusMp,
    StatusExp,
    StatusAttack, // the figure and its equipment bonus
    StatusDefense,
    StatusSpeed,
    StatusMagicDefense,
    StatusHitRate,
    ConditionGood,
    ConditionFainted,
    ConditionSleep,
    ConditionMadness,
    ConditionCurse,
    ConditionPoison,
    ConditionParalysis,
    ConditionStone,
    ConditionSeal,
    ConditionDark,
    NoSpells,
    NoItems,
    // The formation change and the quit question of the field menu.
    CannotReorder,
    ChooseOrder,
    OrderAlreadySet,
    ReallyQuit,
    // The key configuration's prompts, in the order of ConfiguredKey.
    KeyPromptUp,
    KeyPromptDown,
    KeyPromptRight,
    KeyPromptLeft,
    KeyPromptDecide,
    KeyPromptCancel,

    // Party, gold, inn and healer commands of event scripts.
    JoinedParty,
    LeftParty,
    LevelUp, // by a script or after a battle
    SpellLearnt,
    NotEnoughGold,
    GoldGained, // the amount right-aligned in eight characters
    WhoCarries,
    InventoryFull,
    Obtained, // from a script, a shop or the loot of a battle
    HealerGreetingParty,
    HealerGreetingOne,
    WhomToCure,
    NothingWrong,
    NothingWrongOne,
    CureCosts, // the fee right-aligned in eight characters
    ReviveCosts,
    IsThatAllRight,
    Cured,
    WhomToRevive,
    StillConscious,
    Revived,
    // The item shop.
    WhatToBuy,
    PriceIs, // the price right-aligned in eight characters
    ThankYou,
    BuyMore,
    WhoSells,
    CarriesNothing,
    WhatToSell,
    EquippedNoSale,
    NoSale,
    SellMore,
    // The item and equipment commands of the field menu and of battles.
    WhomToGive,
    AlreadyCarries,
    CannotCarryMore,
    ReceivedFrom,
    EquippedNoGive,
    NoOneToGive,
    NotEquipment,
    AlreadyEquipped,
    CannotEquip,
    SlotTaken, // the item already worn in that slot
    Equipped,
    EquippedStrongest,
    NotWearable, // an item that is no equipment, asked to be taken off
    NotEquipped,
    Unequipped,
    UnequippedAll,
    EquippedNoDiscard,
    NoDiscard,
    Discarded,
    // The description of a spell or an item.
    DescriptionTitle,
    DescriptionMpCost, // the cost right-aligned in six characters
    DescriptionBonuses, // the bonuses below, each followed by two blanks
    BonusAttack, // the bonus right-aligned in six characters
    BonusDefense,
    BonusSpeed,
    DescriptionWearers, // the names of the members, each followed by two blanks
    // The name entry dialog.
    NameCaption,
    NameLabel,
    NameOk,
    NameCancel,
    NameErrorCaption,
    NameErrorText,
    NameRefusedText, // a name with a character a saved game cannot hold

    // Using spells and items.
    WhomToUse,
    NotUsableHere, // a spell's or an item's name
    NotUsable,
    NotUsableInBattle,
    NotEnoughMp,
    ItemNotUsable,
    SpellCast, // the spell action list
    SpellDescribe,
    NoSpellsLearnt,
    NoTownVisited,

    // The battle: the enemies appear, the member's turn, attacks, fleeing, victory and defeat.
    EnemyAppeared,
    WhatWillYouDo,
    Attacks, // a member's or an enemy's name
    Counterattack,
    CriticalHit,
    CrushingBlow,
    MemberMissed,
    EnemyMissed,
    Dodged, // the attacking enemy's name
    MemberDamaged, // the damage right-aligned in six characters
    EnemyDamaged,
    MemberFled, // the party gets away
    FleeFailed,
    EnemyFled,
    EnemyBeaten,
    BattleWon,
    ExpWon, // the total right-aligned in six characters
    GoldWon,
    EnemyCarried,
    WhoTakesLoot,
    LootLeft,
    GameOver,

    // Effects of spells and items, and the condition counters at the start of a turn.
    CuredPoison,
    CuredCurse,
    CuredConfusion,
    CuredSleep,
    CuredParalysis,
    CuredPetrification,
    CuredSeal,
    CuredDarkness,
    PoisonedEnemy,
    CursedEnemy,
    ConfusedEnemy,
    FellAsleep, // an enemy or a member
    ParalysedEnemy,
    PetrifiedEnemy,
    SealedEnemy,
    DarkenedEnemy,
    PoisonedMember,
    CursedMember,
    ConfusedMember,
    ParalysedMember,
    PetrifiedMember,
    SealedMember,
    DarkenedMember,
    RaisedAttack,
    RaisedDefense,
    RaisedSpeed,
    RaisedAttackDefense,
    RaisedAttackSpeed,
    RaisedDefenseSpeed,
    RaisedAll,
    RaisedMagicDefense,
    LoweredAttack, // an enemy or a member
    LoweredDefense,
    LoweredSpeed, // an enemy
    SlowedMember,
    LoweredAttackDefense,
    LoweredAttackSpeed,
    LoweredDefenseSpeed,
    LoweredAll,
    LoweredMagicDefense,
    WokeUp,
    PetrificationWoreOff,
    ParalysisWoreOff,
    SealWoreOff,
    ConfusionWoreOff,
    PoisonWoreOff,
    DarknessWoreOff,
    CurseWoreOff,
    StillAsleep,
    PetrifiedCannotMove,
    ParalysedCannotMove,
    CursedCannotMove,
    EffectDidNotWork, // a user's or a caster's name
    NoEffect,
    CameTo,
    MpRecovered, // the amount right-aligned in six characters
    HpRecovered,
    HpRestored,
    EffectMissed, // a spell's, an item's or a caster's name
    HpDrained,
    MpDrained,
    HpDrainedBy,
    MpDrainedBy,

    // The use message of a spell or an item.
    UsedBy, // the spell's or item's own verb
    UsedByWithoutVerb, // a spell or item without a verb
    UsedOn,
    UsedOnWithoutVerb,

    Count // not a message: the number of messages
};

// A value the game fills into a message: the placeholder `{name}` of its text becomes `value`.
struct MessageValue {
    std::string_view name;
    std::string_view value; // cp932 bytes, kept as they are
};

class Translation;

// The texts of the messages as this run shows them: the table's own, or a translation's.
// Each is converted to cp932 once, when it is taken in.
class MessageTexts {
public:
    MessageTexts(); // the table's own texts

    // The cp932 text of a message.
    const std::string& text(Message id) const;
    // The cp932 text with its placeholders filled. Values are inserted as bytes and never read as
    // placeholders themselves, so a name holding "{" or any cp932 byte comes out unchanged. A
    // placeholder without a value stays as written, so a missing value shows instead of vanishing.
    std::string format(Message id, std::span<const MessageValue> values) const;
    std::string format(Message id, std::initializer_list<MessageValue> values) const
    {
        return format(id, std::span<const MessageValue>(values.begin(), values.size()));
    }

    // Takes the messages `translation` translates. A translation whose placeholders are not the
    // original's (one left out, misspelt or added) is told in `warnings` and the original kept.
    void translate(const Translation& translation, std::vector<std::string>& warnings);

private:
    struct Piece {
        std::string text; // cp932; for a placeholder, its text as written
        std::string placeholder; // the placeholder's name; empty for plain text
    };
    struct Text {
        std::string whole;
        std::vector<Piece> pieces;
    };
    std::vector<Text> texts_;

    void take(std::size_t index, std::string_view utf8);
};

struct Context;

// The cp932 text of a message as the run shows it.
const std::string& message(const Context& ctx, Message id);
// The same with its placeholders filled (MessageTexts::format).
std::string formatMessage(const Context& ctx, Message id, std::span<const MessageValue> values);
std::string formatMessage(const Context& ctx, Message id, std::initializer_list<MessageValue> values);

// The names of the placeholders in a UTF-8 message text, in the order they appear.
std::vector<std::string_view> placeholdersOf(std::string_view utf8);
// The names of the placeholders in a message's own text.
std::vector<std::string_view> messagePlaceholders(Message id);

// One row of the message table: the message, its name (which a translation catalogue knows it
// by) and its text in UTF-8.
struct MessageRow {
    Message id;
    std::string_view name;
    std::string_view utf8;
};
// Every row, in the order of the messages.
std::span<const MessageRow> messageTable();

} // namespace vorn
