#include "core/messages.h"

#include "core/context.h"
#include "core/translation.h"
#include "platform/encoding.h"

#include <algorithm>

#include <array>
#include <cstddef>

namespace vorn {

namespace {

    using enum Message;

    constexpr std::array<MessageRow, static_cast<std::size_t>(Count)> rows { {
        { FileErrorCaption, "FileErrorCaption", "ファイル読込みエラー" },
        { FileErrorText, "FileErrorText", "ファイルが開けません、ゲームデータファイルがすべて揃っているか確認してください" },
        { EventErrorCaption, "EventErrorCaption", "イベント実行エラー" },
        { EventErrorText, "EventErrorText", "コマンド実行中にエラーが発生しました、コマンド記述に誤りがあります" },
        { QuitCaption, "QuitCaption", "確認" },
        { QuitText, "QuitText", "終了します、よろしいですか？" },

        { BattleAttack, "BattleAttack", "  攻  撃" },
        { BattleMagic, "BattleMagic", "  魔  法" },
        { BattleFlee, "BattleFlee", "  逃げる" },
        { BattleItems, "BattleItems", "  道  具" },
        { BattleAuto, "BattleAuto", "  オート" },
        { ItemUse, "ItemUse", "  使  う" },
        { ItemEquip, "ItemEquip", "  装  備" },
        { ItemGive, "ItemGive", "  渡  す" },
        { ItemDiscard, "ItemDiscard", "  捨てる" },
        { ItemDescribe, "ItemDescribe", "  説  明" },
        { EquippedMark, "EquippedMark", "≪" },
        { UnlimitedUses, "UnlimitedUses", " (無)" },
        { Next, "Next", "  次へ" },
        { Back, "Back", "  戻る" },
        { Yes, "Yes", "  は  い" },
        { No, "No", "  いいえ" },
        { GoldLabel, "GoldLabel", "所持金  {gold}" },
        { PanelConditions, "PanelConditions", "状態：" },
        { PanelHp, "PanelHp", "体力：" },
        { PanelMp, "PanelMp", "魔力：" },
        { ShopBuy, "ShopBuy", "  買う" },
        { ShopSell, "ShopSell", "  売る" },
        { ShopDescribe, "ShopDescribe", "  説明" },
        { HealerRevive, "HealerRevive", "  意識回復" },
        { HealerCure, "HealerCure", "  状態回復" },
        { SettingsMusic, "SettingsMusic", "  ＢＧＭ  {setting}" },
        { SettingsSound, "SettingsSound", "  効果音  {setting}" },
        { SettingsWalkers, "SettingsWalkers", "  人移動  {setting}" },
        { SettingsSpeed, "SettingsSpeed", "  速　度  {setting}" },
        { SettingsEncounters, "SettingsEncounters", "  敵遭遇  {setting}" },
        { SettingsKeys, "SettingsKeys", "  キー設定  " },
        { SwitchOn, "SwitchOn", "ＯＮ" },
        { SwitchOff, "SwitchOff", "ＯＦＦ" },
        { EncountersWhileWalking, "EncountersWhileWalking", "移動時" },
        { EncountersWhileStanding, "EncountersWhileStanding", "停止時" },
        { FieldMagic, "FieldMagic", "  魔      法" },
        { FieldItems, "FieldItems", "  道      具" },
        { FieldStatus, "FieldStatus", "  ステータス" },
        { FieldFormation, "FieldFormation", "  隊      列" },
        { FieldSave, "FieldSave", "  セ  ー  ブ" },
        { FieldLoad, "FieldLoad", "  ロ  ー  ド" },
        { FieldSettings, "FieldSettings", "  設      定" },
        { FieldQuit, "FieldQuit", "  終      了" },
        { TitleNewGame, "TitleNewGame", "  新  規" },
        { TitleLoad, "TitleLoad", "  読  込" },
        { EquipWear, "EquipWear", "  装　着" },
        { EquipStrongest, "EquipStrongest", "  最　強" },
        { EquipRemove, "EquipRemove", "  はずす" },
        { EquipRemoveAll, "EquipRemoveAll", "  無装備" },

        { RefusalFainted, "RefusalFainted", "{member}は気絶しています" },
        { RefusalSealed, "RefusalSealed", "{member}は魔法を封じられている" },
        { RefusalConfused, "RefusalConfused", "{member}は狂っています" },
        { RefusalCursed, "RefusalCursed", "{member}は呪われています" },
        { RefusalParalysed, "RefusalParalysed", "{member}は麻痺しています" },
        { RefusalPetrified, "RefusalPetrified", "{member}は石化しています" },
        { RefusalAsleep, "RefusalAsleep", "{member}は眠っています" },

        { MemberFainted, "MemberFainted", "{member}は気絶した！" },

        { ChooseSaveSlot, "ChooseSaveSlot", "保存先を選択してください" },
        { ChooseLoadSlot, "ChooseLoadSlot", "読込先を選択してください" },
        { NowSaving, "NowSaving", "                              Ｎｏｗ  Ｓａｖｉｎｇ．．．" },
        { SaveComplete, "SaveComplete", "                        Ｓａｖｅ  Ｃｏｍｐｌａｔｅ．．．" },
        { NowLoading, "NowLoading", "                            Ｎｏｗ  Ｌｏａｄｉｎｇ．．．" },
        { NoData, "NoData", "データがありません" },
        { UnreadableData, "UnreadableData", "データが読めません" },
        { NotSaved, "NotSaved", "保存できませんでした" },
        { UnreadableSlot, "UnreadableSlot", "読めないデータ" },
        { OverwriteUnreadable, "OverwriteUnreadable", "読めないデータです。上書きしますか？" },
        { StatusName, "StatusName", "名前：『{name}』" },
        { StatusAttribute, "StatusAttribute", "属性：{attribute}" },
        { StatusCondition, "StatusCondition", "状態：{conditions}" },
        { StatusLevel, "StatusLevel", "レベル：    {level}" },
        { StatusHp, "StatusHp", "体　　　力：　{value}／　{max}" },
        { StatusMp, "StatusMp", "魔　　　力：　{value}／　{max}" },
        { StatusExp, "StatusExp", "経　験　値：{exp}／{next}" },
        { StatusAttack, "StatusAttack", "攻　撃　力：　{value}＋　{bonus}" },
        { StatusDefense, "StatusDefense", "防　御　力：　{value}＋　{bonus}" },
        { StatusSpeed, "StatusSpeed", "速　　　さ：　{value}＋　{bonus}" },
        { StatusMagicDefense, "StatusMagicDefense", "魔法防御力：　{value}＋　{bonus}" },
        { StatusHitRate, "StatusHitRate", "攻撃命中率：　{rate}％" },
        { ConditionGood, "ConditionGood", "良" },
        { ConditionFainted, "ConditionFainted", "絶" },
        { ConditionSleep, "ConditionSleep", "眠" },
        { ConditionMadness, "ConditionMadness", "狂" },
        { ConditionCurse, "ConditionCurse", "呪" },
        { ConditionPoison, "ConditionPoison", "毒" },
        { ConditionParalysis, "ConditionParalysis", "痺" },
        { ConditionStone, "ConditionStone", "石" },
        { ConditionSeal, "ConditionSeal", "封" },
        { ConditionDark, "ConditionDark", "闇" },
        { NoSpells, "NoSpells", "覚えていません" },
        { NoItems, "NoItems", "持っていません" },
        { CannotReorder, "CannotReorder", "隊列変更できません" },
        { ChooseOrder, "ChooseOrder", "順番を決めてください" },
        { OrderAlreadySet, "OrderAlreadySet", "{member}の順番は既に決まっています" },
        { ReallyQuit, "ReallyQuit", "本当に終了してもよろしいですか？" },
        { KeyPromptUp, "KeyPromptUp", "上キーを選択してください" },
        { KeyPromptDown, "KeyPromptDown", "下キーを選択してください" },
        { KeyPromptRight, "KeyPromptRight", "右キーを選択してください" },
        { KeyPromptLeft, "KeyPromptLeft", "左キーを選択してください" },
        { KeyPromptDecide, "KeyPromptDecide", "決定キーを選択してください" },
        { KeyPromptCancel, "KeyPromptCancel", "キャンセルキーを選択してください" },

        { JoinedParty, "JoinedParty", "{member}が仲間になった" },
        { LeftParty, "LeftParty", "{member}が仲間からぬけた" },
        { LevelUp, "LevelUp", "{member}はレベルアップした！！" },
        { SpellLearnt, "SpellLearnt", "{member}は{spell}の魔法を覚えた！！" },
        { NotEnoughGold, "NotEnoughGold", "ＧＯＬＤが足りません" },
        { GoldGained, "GoldGained", "{gold}ＧＯＬＤ手に入れた" },
        { WhoCarries, "WhoCarries", "「誰が持ちますか？」" },
        { InventoryFull, "InventoryFull", "持ち物がいっぱいでこれ以上持てません" },
        { Obtained, "Obtained", "{member}は{item}を手に入れた" },
        { HealerGreetingParty, "HealerGreetingParty", "  どういったご用件でしょうか？」" },
        { HealerGreetingOne, "HealerGreetingOne", "  状態の回復をなさいますか？」" },
        { WhomToCure, "WhomToCure", "「どなたを回復させますか？」" },
        { NothingWrong, "NothingWrong", "「その方に異常はありませんが・・・」" },
        { NothingWrongOne, "NothingWrongOne", "「異常はありませんが・・・」" },
        { CureCosts, "CureCosts", "「{member}の回復には{cost}ＧＯＬＤかかります" },
        { ReviveCosts, "ReviveCosts", "「{member}の復活には{cost}ＧＯＬＤかかります" },
        { IsThatAllRight, "IsThatAllRight", "  よろしいですか？」" },
        { Cured, "Cured", "{member}は正常に戻った" },
        { WhomToRevive, "WhomToRevive", "「どなたを復活させますか？」" },
        { StillConscious, "StillConscious", "「その方は意識がありますが・・・」" },
        { Revived, "Revived", "{member}は気が付いた" },
        { WhatToBuy, "WhatToBuy", "「何をお求めですか？」" },
        { PriceIs, "PriceIs", "「{item}は{price}になります、" },
        { ThankYou, "ThankYou", "「ありがとうございます、" },
        { BuyMore, "BuyMore", "  まだ何か買ってくれますか？」" },
        { WhoSells, "WhoSells", "「どなたが売ってくれますか？」" },
        { CarriesNothing, "CarriesNothing", "道具を持っていません" },
        { WhatToSell, "WhatToSell", "「何を売ってくれますか？」" },
        { EquippedNoSale, "EquippedNoSale", "{item}は装備中のため売れません" },
        { NoSale, "NoSale", "{item}は売れません" },
        { SellMore, "SellMore", "  まだ他にも売ってくれますか？」" },
        { WhomToGive, "WhomToGive", "誰に渡しますか？" },
        { AlreadyCarries, "AlreadyCarries", "既に{member}が持っています" },
        { CannotCarryMore, "CannotCarryMore", "{member}はこれ以上持てません" },
        { ReceivedFrom, "ReceivedFrom", "{receiver}は{giver}から{item}を受け取った" },
        { EquippedNoGive, "EquippedNoGive", "{item}は装備中のため渡せません" },
        { NoOneToGive, "NoOneToGive", "渡す相手がいません" },
        { NotEquipment, "NotEquipment", "{item}は装備できません" },
        { AlreadyEquipped, "AlreadyEquipped", "{member}は{item}を既に装備しています" },
        { CannotEquip, "CannotEquip", "{member}は{item}を装備できません" },
        { SlotTaken, "SlotTaken", "{member}は{item}を装備しています" },
        { Equipped, "Equipped", "{member}は{item}を装備した" },
        { EquippedStrongest, "EquippedStrongest", "{member}は最強装備をした" },
        { NotWearable, "NotWearable", "{item}は装備していません" },
        { NotEquipped, "NotEquipped", "{member}は{item}を装備していません" },
        { Unequipped, "Unequipped", "{member}は{item}をはずした" },
        { UnequippedAll, "UnequippedAll", "{member}は装備をすべてはずした" },
        { EquippedNoDiscard, "EquippedNoDiscard", "{item}は装備中のため捨てられません" },
        { NoDiscard, "NoDiscard", "{item}は捨てられません" },
        { Discarded, "Discarded", "{member}は{item}を捨てました" },
        { DescriptionTitle, "DescriptionTitle", "『{name}』" },
        { DescriptionMpCost, "DescriptionMpCost", "消費MP：{cost}" },
        { DescriptionBonuses, "DescriptionBonuses", "効果：{bonuses}" },
        { BonusAttack, "BonusAttack", "攻撃力 +{amount}" },
        { BonusDefense, "BonusDefense", "防御力 +{amount}" },
        { BonusSpeed, "BonusSpeed", "速さ +{amount}" },
        { DescriptionWearers, "DescriptionWearers", "装備可能：{members}" },
        { NameCaption, "NameCaption", "名前変更" },
        { NameLabel, "NameLabel", "名前" },
        { NameOk, "NameOk", "OK" },
        { NameCancel, "NameCancel", "ｷｬﾝｾﾙ" },
        { NameErrorCaption, "NameErrorCaption", "エラー" },
        { NameErrorText, "NameErrorText", "名前を入力してください" },
        { NameRefusedText, "NameRefusedText", "名前に使えない文字が含まれています" },

        { WhomToUse, "WhomToUse", "誰に使いますか？" },
        { NotUsableHere, "NotUsableHere", "{name}はここでは使えません" },
        { NotUsable, "NotUsable", "{name}は使えません" },
        { NotUsableInBattle, "NotUsableInBattle", "戦闘中は{name}は使えません" },
        { NotEnoughMp, "NotEnoughMp", "ＭＰが足りません！" },
        { ItemNotUsable, "ItemNotUsable", "{item}は使用できません" },
        { SpellCast, "SpellCast", "唱える" },
        { SpellDescribe, "SpellDescribe", "説  明" },
        { NoSpellsLearnt, "NoSpellsLearnt", "魔法を覚えていません！" },
        { NoTownVisited, "NoTownVisited", "一度も街や城に立寄っていません" },

        { EnemyAppeared, "EnemyAppeared", "{enemy}が現れた！！" },
        { WhatWillYouDo, "WhatWillYouDo", "{member}はどうする" },
        { Attacks, "Attacks", "{attacker}の攻撃！" },
        { Counterattack, "Counterattack", "カウンターアタック！" },
        { CriticalHit, "CriticalHit", "クリティカルヒット！" },
        { CrushingBlow, "CrushingBlow", "痛恨の一撃！" },
        { MemberMissed, "MemberMissed", "{member}は攻撃を外した！" },
        { EnemyMissed, "EnemyMissed", "{enemy}の攻撃は外れた！" },
        { Dodged, "Dodged", "{enemy}の攻撃をかわした！" },
        { MemberDamaged, "MemberDamaged", "{member}は{damage}のダメージを受けた！" },
        { EnemyDamaged, "EnemyDamaged", "{enemy}に{damage}のダメージを与えた！" },
        { MemberFled, "MemberFled", "{member}は逃げ出した！！" },
        { FleeFailed, "FleeFailed", "{member}は逃げようとしたが失敗した！！" },
        { EnemyFled, "EnemyFled", "{enemy}は逃げ出した！" },
        { EnemyBeaten, "EnemyBeaten", "{enemy}を倒した！！" },
        { BattleWon, "BattleWon", "{member}は戦いに勝利した！！" },
        { ExpWon, "ExpWon", "{exp}の経験値を得た！！" },
        { GoldWon, "GoldWon", "{gold}のＧＯＬＤを得た！！" },
        { EnemyCarried, "EnemyCarried", "{enemy}は{item}を持っていた！" },
        { WhoTakesLoot, "WhoTakesLoot", "誰が持ちますか？" },
        { LootLeft, "LootLeft", "{member}は{item}を放っておいた" },
        { GameOver, "GameOver", "            ＧＡＭＥ  ＯＶＥＲ" },

        { CuredPoison, "CuredPoison", "{name}の身体から毒が消えた！" },
        { CuredCurse, "CuredCurse", "{name}の呪いが解けた！" },
        { CuredConfusion, "CuredConfusion", "{name}は正気に戻った！" },
        { CuredSleep, "CuredSleep", "{name}は目を覚ました！" },
        { CuredParalysis, "CuredParalysis", "{name}の正常に戻った！" },
        { CuredPetrification, "CuredPetrification", "{name}の石化が解けた！" },
        { CuredSeal, "CuredSeal", "{name}の魔法封印が解けた！" },
        { CuredDarkness, "CuredDarkness", "{name}を包んでいた暗雲が消えた！" },
        { PoisonedEnemy, "PoisonedEnemy", "{name}を毒で侵した！" },
        { CursedEnemy, "CursedEnemy", "{name}に呪いをかけた！" },
        { ConfusedEnemy, "ConfusedEnemy", "{name}を狂わせた！" },
        { FellAsleep, "FellAsleep", "{name}は眠りに落ちた！" },
        { ParalysedEnemy, "ParalysedEnemy", "{name}を麻痺させた！" },
        { PetrifiedEnemy, "PetrifiedEnemy", "{name}を石化した！" },
        { SealedEnemy, "SealedEnemy", "{name}の魔法を封じた！" },
        { DarkenedEnemy, "DarkenedEnemy", "{name}を暗雲で包み込んだ！" },
        { PoisonedMember, "PoisonedMember", "{name}は毒に犯された！" },
        { CursedMember, "CursedMember", "{name}は呪われた！" },
        { ConfusedMember, "ConfusedMember", "{name}は狂った！" },
        { ParalysedMember, "ParalysedMember", "{name}は麻痺した！" },
        { PetrifiedMember, "PetrifiedMember", "{name}は石化した！" },
        { SealedMember, "SealedMember", "{name}は魔法を封じられた！" },
        { DarkenedMember, "DarkenedMember", "{name}は暗雲に包み込まれた！" },
        { RaisedAttack, "RaisedAttack", "{name}の攻撃力が上がった！" },
        { RaisedDefense, "RaisedDefense", "{name}の防御力が上がった！" },
        { RaisedSpeed, "RaisedSpeed", "{name}の速さが上がった！" },
        { RaisedAttackDefense, "RaisedAttackDefense", "{name}の攻撃力と防御力が上がった！" },
        { RaisedAttackSpeed, "RaisedAttackSpeed", "{name}の攻撃力と速さが上がった！" },
        { RaisedDefenseSpeed, "RaisedDefenseSpeed", "{name}の防御力と速さが上がった！" },
        { RaisedAll, "RaisedAll", "{name}の攻撃力と防御力と速さが上がった！" },
        { RaisedMagicDefense, "RaisedMagicDefense", "{name}の魔法防御力が上がった！" },
        { LoweredAttack, "LoweredAttack", "{name}の攻撃力が下がった！" },
        { LoweredDefense, "LoweredDefense", "{name}の防御力が下がった！" },
        { LoweredSpeed, "LoweredSpeed", "{name}の速さが下がった！" },
        { SlowedMember, "SlowedMember", "{name}の体が重くなった！" },
        { LoweredAttackDefense, "LoweredAttackDefense", "{name}の攻撃力と防御力が下がった！" },
        { LoweredAttackSpeed, "LoweredAttackSpeed", "{name}の攻撃力と速さが下がった！" },
        { LoweredDefenseSpeed, "LoweredDefenseSpeed", "{name}の防御力と速さが下がった！" },
        { LoweredAll, "LoweredAll", "{name}の攻撃力と防御力と速さが下がった！" },
        { LoweredMagicDefense, "LoweredMagicDefense", "{name}の魔法防御力が下がった！" },
        { WokeUp, "WokeUp", "{name}は目を覚ました" },
        { PetrificationWoreOff, "PetrificationWoreOff", "{name}の石化が解けた" },
        { ParalysisWoreOff, "ParalysisWoreOff", "{name}は正常に戻った" },
        { SealWoreOff, "SealWoreOff", "{name}の魔法封印が解けた" },
        { ConfusionWoreOff, "ConfusionWoreOff", "{name}は正気に戻った" },
        { PoisonWoreOff, "PoisonWoreOff", "{name}の身体から毒が抜けた" },
        { DarknessWoreOff, "DarknessWoreOff", "{name}を包んでいた暗雲が消えた" },
        { CurseWoreOff, "CurseWoreOff", "{name}の呪いが解けた" },
        { StillAsleep, "StillAsleep", "{name}は眠っている" },
        { PetrifiedCannotMove, "PetrifiedCannotMove", "{name}は石化していて動けない" },
        { ParalysedCannotMove, "ParalysedCannotMove", "{name}は麻痺していて動けない" },
        { CursedCannotMove, "CursedCannotMove", "{name}は呪われていて動けない" },
        { EffectDidNotWork, "EffectDidNotWork", "{name}の効果は効かなかった" },
        { NoEffect, "NoEffect", "{name}には効果がなかった！" },
        { CameTo, "CameTo", "{name}は気がついた！" },
        { MpRecovered, "MpRecovered", "{name}の魔力が{amount}回復した！" },
        { HpRecovered, "HpRecovered", "{name}の体力が{amount}回復した" },
        { HpRestored, "HpRestored", "{name}の体力が回復した" },
        { EffectMissed, "EffectMissed", "{name}の効果は外れた！" },
        { HpDrained, "HpDrained", "{user}は{enemy}の体力を吸い取った！" },
        { MpDrained, "MpDrained", "{user}は{enemy}の魔力を吸い取った！" },
        { HpDrainedBy, "HpDrainedBy", "{enemy}に{member}の体力を吸い取られた！" },
        { MpDrainedBy, "MpDrainedBy", "{enemy}に{member}の魔力を吸い取られた！" },

        { UsedBy, "UsedBy", "{user}は{effect}を{verb}" },
        { UsedByWithoutVerb, "UsedByWithoutVerb", "{user}は{effect}" },
        { UsedOn, "UsedOn", "{user}は{target}に{effect}を{verb}" },
        { UsedOnWithoutVerb, "UsedOnWithoutVerb", "{user}は{target}に{effect}" },

    } };

    constexpr bool inOrder()
    {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (static_cast<std::size_t>(rows[i].id) != i)
                return false;
        }
        return true;
    }
    static_assert(inOrder(), "the message table lists every message in the order of the enumeration");

} // namespace

std::span<const MessageRow> messageTable() { return rows; }

namespace {

    // Calls `text` for each run of plain UTF-8 text and `placeholder` for each `{name}` of a
    // message text. A "{" without a closing "}" is plain text. The scan works on the UTF-8 text,
    // where "{" and "}" never occur inside a character, unlike the second byte of cp932 characters.
    template <typename Text, typename Placeholder>
    void scanText(std::string_view rest, Text text, Placeholder placeholder)
    {
        while (!rest.empty()) {
            std::size_t open = rest.find('{');
            std::size_t close = open == std::string_view::npos ? open : rest.find('}', open);
            if (close == std::string_view::npos) {
                text(rest);
                return;
            }
            if (open > 0)
                text(rest.substr(0, open));
            placeholder(rest.substr(open + 1, close - open - 1), rest.substr(open, close - open + 1));
            rest.remove_prefix(close + 1);
        }
    }

} // namespace

MessageTexts::MessageTexts()
    : texts_(rows.size())
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        take(i, rows[i].utf8);
}

void MessageTexts::take(std::size_t index, std::string_view utf8)
{
    Text& t = texts_[index];
    t.whole = utf8ToCp932(std::string(utf8));
    t.pieces.clear();
    scanText(
        utf8, [&](std::string_view plain) { t.pieces.push_back(Piece { utf8ToCp932(std::string(plain)), {} }); },
        [&](std::string_view name, std::string_view written) {
            t.pieces.push_back(Piece { utf8ToCp932(std::string(written)), std::string(name) });
        });
}

const std::string& MessageTexts::text(Message id) const
{
    std::size_t index = static_cast<std::size_t>(id);
    static const std::string none;
    return index < texts_.size() ? texts_[index].whole : none;
}

std::string MessageTexts::format(Message id, std::span<const MessageValue> values) const
{
    std::size_t index = static_cast<std::size_t>(id);
    if (index >= texts_.size())
        return {};
    std::string out;
    for (const Piece& piece : texts_[index].pieces) {
        const MessageValue* value = nullptr;
        for (const MessageValue& v : values) {
            if (!piece.placeholder.empty() && v.name == piece.placeholder) {
                value = &v;
                break;
            }
        }
        out += value ? std::string(value->value) : piece.text;
    }
    return out;
}

void MessageTexts::translate(const Translation& translation, std::vector<std::string>& warnings)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string* translated = translation.findUtf8(messageContext(rows[i].name), rows[i].utf8);
        if (!translated)
            continue;
        std::vector<std::string_view> wanted = placeholdersOf(rows[i].utf8), given = placeholdersOf(*translated);
        std::sort(wanted.begin(), wanted.end());
        std::sort(given.begin(), given.end());
        if (wanted != given) {
            warnings.push_back("the translation of " + messageContext(rows[i].name)
                + " does not have the original's placeholders; the original is kept");
            continue;
        }
        take(i, *translated);
    }
}

const std::string& message(const Context& ctx, Message id) { return ctx.messages.text(id); }

std::string formatMessage(const Context& ctx, Message id, std::span<const MessageValue> values)
{
    return ctx.messages.format(id, values);
}

std::string formatMessage(const Context& ctx, Message id, std::initializer_list<MessageValue> values)
{
    return ctx.messages.format(id, values);
}

std::vector<std::string_view> placeholdersOf(std::string_view utf8)
{
    std::vector<std::string_view> names;
    scanText(
        utf8, [](std::string_view) {}, [&](std::string_view name, std::string_view) { names.push_back(name); });
    return names;
}

std::vector<std::string_view> messagePlaceholders(Message id)
{
    std::size_t index = static_cast<std::size_t>(id);
    return index < rows.size() ? placeholdersOf(rows[index].utf8) : std::vector<std::string_view>();
}

} // namespace vorn
