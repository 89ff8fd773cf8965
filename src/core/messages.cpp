#include "core/messages.h"

#include "platform/encoding.h"

#include <array>
#include <cstddef>

namespace vorn {

namespace {

    using enum Message;

    constexpr std::array<MessageRow, static_cast<std::size_t>(Count)> rows { {
        { FileErrorCaption, "ファイル読込みエラー" },
        { FileErrorText, "ファイルが開けません、ゲームデータファイルがすべて揃っているか確認してください" },
        { EventErrorCaption, "イベント実行エラー" },
        { EventErrorText, "コマンド実行中にエラーが発生しました、コマンド記述に誤りがあります" },
        { QuitCaption, "確認" },
        { QuitText, "終了します、よろしいですか？" },

        { BattleAttack, "  攻  撃" },
        { BattleMagic, "  魔  法" },
        { BattleFlee, "  逃げる" },
        { BattleItems, "  道  具" },
        { BattleAuto, "  オート" },
        { ItemUse, "  使  う" },
        { ItemEquip, "  装  備" },
        { ItemGive, "  渡  す" },
        { ItemDiscard, "  捨てる" },
        { ItemDescribe, "  説  明" },
        { EquippedMark, "≪" },
        { UnlimitedUses, " (無)" },
        { Next, "  次へ" },
        { Back, "  戻る" },
        { Yes, "  は  い" },
        { No, "  いいえ" },
        { GoldLabel, "所持金  " },
        { PanelConditions, "状態：" },
        { PanelHp, "体力：" },
        { PanelMp, "魔力：" },
        { ShopBuy, "  買う" },
        { ShopSell, "  売る" },
        { ShopDescribe, "  説明" },
        { HealerRevive, "  意識回復" },
        { HealerCure, "  状態回復" },
        { SettingsMusic, "  ＢＧＭ  " },
        { SettingsSound, "  効果音  " },
        { SettingsWalkers, "  人移動  " },
        { SettingsSpeed, "  速　度  " },
        { SettingsEncounters, "  敵遭遇  " },
        { SettingsKeys, "  キー設定  " },
        { SwitchOn, "ＯＮ" },
        { SwitchOff, "ＯＦＦ" },
        { EncountersWhileWalking, "移動時" },
        { EncountersWhileStanding, "停止時" },
        { FieldMagic, "  魔      法" },
        { FieldItems, "  道      具" },
        { FieldStatus, "  ステータス" },
        { FieldFormation, "  隊      列" },
        { FieldSave, "  セ  ー  ブ" },
        { FieldLoad, "  ロ  ー  ド" },
        { FieldSettings, "  設      定" },
        { FieldQuit, "  終      了" },
        { TitleNewGame, "  新  規" },
        { TitleLoad, "  読  込" },
        { EquipWear, "  装　着" },
        { EquipStrongest, "  最　強" },
        { EquipRemove, "  はずす" },
        { EquipRemoveAll, "  無装備" },

        { RefusalFainted, "は気絶しています" },
        { RefusalSealed, "は魔法を封じられている" },
        { RefusalConfused, "は狂っています" },
        { RefusalCursed, "は呪われています" },
        { RefusalParalysed, "は麻痺しています" },
        { RefusalPetrified, "は石化しています" },
        { RefusalAsleep, "は眠っています" },

        { MemberFainted, "は気絶した！" },

        { ChooseSaveSlot, "保存先を選択してください" },
        { ChooseLoadSlot, "読込先を選択してください" },
        { NowSaving, "                              Ｎｏｗ  Ｓａｖｉｎｇ．．．" },
        { SaveComplete, "                        Ｓａｖｅ  Ｃｏｍｐｌａｔｅ．．．" },
        { NowLoading, "                            Ｎｏｗ  Ｌｏａｄｉｎｇ．．．" },
        { NoData, "データがありません" },
        { UnreadableData, "データが読めません" },
        { NotSaved, "保存できませんでした" },
        { UnreadableSlot, "読めないデータ" },
        { OverwriteUnreadable, "読めないデータです。上書きしますか？" },
        { StatusName, "名前：『" },
        { StatusNameEnd, "』" },
        { StatusAttribute, "属性：" },
        { StatusCondition, "状態：" },
        { StatusLevel, "レベル：    " },
        { StatusHp, "体　　　力：　" },
        { StatusMp, "魔　　　力：　" },
        { StatusExp, "経　験　値：" },
        { StatusAttack, "攻　撃　力：　" },
        { StatusDefense, "防　御　力：　" },
        { StatusSpeed, "速　　　さ：　" },
        { StatusMagicDefense, "魔法防御力：　" },
        { StatusHitRate, "攻撃命中率：　" },
        { StatusOf, "／　" },
        { StatusPlus, "＋　" },
        { StatusExpOf, "／" },
        { StatusPercent, "％" },
        { ConditionGood, "良" },
        { ConditionFainted, "絶" },
        { ConditionSleep, "眠" },
        { ConditionMadness, "狂" },
        { ConditionCurse, "呪" },
        { ConditionPoison, "毒" },
        { ConditionParalysis, "痺" },
        { ConditionStone, "石" },
        { ConditionSeal, "封" },
        { ConditionDark, "闇" },
        { NoSpells, "覚えていません" },
        { NoItems, "持っていません" },
        { CannotReorder, "隊列変更できません" },
        { ChooseOrder, "順番を決めてください" },
        { OrderAlreadySet, "の順番は既に決まっています" },
        { ReallyQuit, "本当に終了してもよろしいですか？" },
        { KeyPromptUp, "上キーを選択してください" },
        { KeyPromptDown, "下キーを選択してください" },
        { KeyPromptRight, "右キーを選択してください" },
        { KeyPromptLeft, "左キーを選択してください" },
        { KeyPromptDecide, "決定キーを選択してください" },
        { KeyPromptCancel, "キャンセルキーを選択してください" },

        { Topic, "は" },
        { JoinedParty, "が仲間になった" },
        { LeftParty, "が仲間からぬけた" },
        { LevelUp, "はレベルアップした！！" },
        { SpellLearnt, "の魔法を覚えた！！" },
        { NotEnoughGold, "ＧＯＬＤが足りません" },
        { GoldGained, "ＧＯＬＤ手に入れた" },
        { WhoCarries, "「誰が持ちますか？」" },
        { InventoryFull, "持ち物がいっぱいでこれ以上持てません" },
        { Obtained, "を手に入れた" },
        { HealerGreetingParty, "  どういったご用件でしょうか？」" },
        { HealerGreetingOne, "  状態の回復をなさいますか？」" },
        { WhomToCure, "「どなたを回復させますか？」" },
        { NothingWrong, "「その方に異常はありませんが・・・」" },
        { NothingWrongOne, "「異常はありませんが・・・」" },
        { OpenQuote, "「" },
        { CureCosts, "の回復には" },
        { ReviveCosts, "の復活には" },
        { GoldCosts, "ＧＯＬＤかかります" },
        { IsThatAllRight, "  よろしいですか？」" },
        { Cured, "は正常に戻った" },
        { WhomToRevive, "「どなたを復活させますか？」" },
        { StillConscious, "「その方は意識がありますが・・・」" },
        { Revived, "は気が付いた" },
        { WhatToBuy, "「何をお求めですか？」" },
        { PriceIs, "になります、" },
        { ThankYou, "「ありがとうございます、" },
        { BuyMore, "  まだ何か買ってくれますか？」" },
        { WhoSells, "「どなたが売ってくれますか？」" },
        { CarriesNothing, "道具を持っていません" },
        { WhatToSell, "「何を売ってくれますか？」" },
        { EquippedNoSale, "は装備中のため売れません" },
        { NoSale, "は売れません" },
        { SellMore, "  まだ他にも売ってくれますか？」" },
        { NameCaption, "名前変更" },
        { NameLabel, "名前" },
        { NameOk, "OK" },
        { NameCancel, "ｷｬﾝｾﾙ" },
        { NameErrorCaption, "エラー" },
        { NameErrorText, "名前を入力してください" },
        { NameRefusedText, "名前に使えない文字が含まれています" },

        { CuredPoison, "{name}の身体から毒が消えた！" },
        { CuredCurse, "{name}の呪いが解けた！" },
        { CuredConfusion, "{name}は正気に戻った！" },
        { CuredSleep, "{name}は目を覚ました！" },
        { CuredParalysis, "{name}の正常に戻った！" },
        { CuredPetrification, "{name}の石化が解けた！" },
        { CuredSeal, "{name}の魔法封印が解けた！" },
        { CuredDarkness, "{name}を包んでいた暗雲が消えた！" },
        { PoisonedEnemy, "{name}を毒で侵した！" },
        { CursedEnemy, "{name}に呪いをかけた！" },
        { ConfusedEnemy, "{name}を狂わせた！" },
        { FellAsleep, "{name}は眠りに落ちた！" },
        { ParalysedEnemy, "{name}を麻痺させた！" },
        { PetrifiedEnemy, "{name}を石化した！" },
        { SealedEnemy, "{name}の魔法を封じた！" },
        { DarkenedEnemy, "{name}を暗雲で包み込んだ！" },
        { PoisonedMember, "{name}は毒に犯された！" },
        { CursedMember, "{name}は呪われた！" },
        { ConfusedMember, "{name}は狂った！" },
        { ParalysedMember, "{name}は麻痺した！" },
        { PetrifiedMember, "{name}は石化した！" },
        { SealedMember, "{name}は魔法を封じられた！" },
        { DarkenedMember, "{name}は暗雲に包み込まれた！" },
        { RaisedAttack, "{name}の攻撃力が上がった！" },
        { RaisedDefense, "{name}の防御力が上がった！" },
        { RaisedSpeed, "{name}の速さが上がった！" },
        { RaisedAttackDefense, "{name}の攻撃力と防御力が上がった！" },
        { RaisedAttackSpeed, "{name}の攻撃力と速さが上がった！" },
        { RaisedDefenseSpeed, "{name}の防御力と速さが上がった！" },
        { RaisedAll, "{name}の攻撃力と防御力と速さが上がった！" },
        { RaisedMagicDefense, "{name}の魔法防御力が上がった！" },
        { LoweredAttack, "{name}の攻撃力が下がった！" },
        { LoweredDefense, "{name}の防御力が下がった！" },
        { LoweredSpeed, "{name}の速さが下がった！" },
        { SlowedMember, "{name}の体が重くなった！" },
        { LoweredAttackDefense, "{name}の攻撃力と防御力が下がった！" },
        { LoweredAttackSpeed, "{name}の攻撃力と速さが下がった！" },
        { LoweredDefenseSpeed, "{name}の防御力と速さが下がった！" },
        { LoweredAll, "{name}の攻撃力と防御力と速さが下がった！" },
        { LoweredMagicDefense, "{name}の魔法防御力が下がった！" },
        { WokeUp, "{name}は目を覚ました" },
        { PetrificationWoreOff, "{name}の石化が解けた" },
        { ParalysisWoreOff, "{name}は正常に戻った" },
        { SealWoreOff, "{name}の魔法封印が解けた" },
        { ConfusionWoreOff, "{name}は正気に戻った" },
        { PoisonWoreOff, "{name}の身体から毒が抜けた" },
        { DarknessWoreOff, "{name}を包んでいた暗雲が消えた" },
        { CurseWoreOff, "{name}の呪いが解けた" },
        { StillAsleep, "{name}は眠っている" },
        { PetrifiedCannotMove, "{name}は石化していて動けない" },
        { ParalysedCannotMove, "{name}は麻痺していて動けない" },
        { CursedCannotMove, "{name}は呪われていて動けない" },
        { EffectDidNotWork, "{name}の効果は効かなかった" },
        { NoEffect, "{name}には効果がなかった！" },
        { CameTo, "{name}は気がついた！" },
        { MpRecovered, "{name}の魔力が{amount}回復した！" },
        { HpRecovered, "{name}の体力が{amount}回復した" },
        { HpRestored, "{name}の体力が回復した" },
        { EffectMissed, "{name}の効果は外れた！" },
        { HpDrained, "{user}は{enemy}の体力を吸い取った！" },
        { MpDrained, "{user}は{enemy}の魔力を吸い取った！" },
        { HpDrainedBy, "{enemy}に{member}の体力を吸い取られた！" },
        { MpDrainedBy, "{enemy}に{member}の魔力を吸い取られた！" },

        { UsedBy, "{user}は{effect}を{verb}" },
        { UsedByWithoutVerb, "{user}は{effect}" },
        { UsedOn, "{user}は{target}に{effect}を{verb}" },
        { UsedOnWithoutVerb, "{user}は{target}に{effect}" },

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

const std::string& message(Message id)
{
    static const std::array<std::string, rows.size()> cp932 = [] {
        std::array<std::string, rows.size()> texts;
        for (std::size_t i = 0; i < rows.size(); ++i)
            texts[i] = utf8ToCp932(std::string(rows[i].utf8));
        return texts;
    }();
    std::size_t index = static_cast<std::size_t>(id);
    static const std::string none;
    return index < cp932.size() ? cp932[index] : none;
}

std::span<const MessageRow> messageTable() { return rows; }

namespace {

    // Calls `text` for each run of plain UTF-8 text and `placeholder` for each `{name}` of a
    // message's text. A "{" without a closing "}" is plain text. The scan works on the UTF-8 text,
    // where "{" and "}" never occur inside a character, unlike the second byte of cp932 characters.
    template <typename Text, typename Placeholder>
    void scanMessage(Message id, Text text, Placeholder placeholder)
    {
        std::size_t index = static_cast<std::size_t>(id);
        if (index >= rows.size())
            return;
        std::string_view rest = rows[index].utf8;
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

std::string formatMessage(Message id, std::span<const MessageValue> values)
{
    std::string out;
    scanMessage(
        id, [&](std::string_view utf8) { out += utf8ToCp932(std::string(utf8)); },
        [&](std::string_view name, std::string_view written) {
            for (const MessageValue& value : values) {
                if (value.name == name) {
                    out += value.value;
                    return;
                }
            }
            out += utf8ToCp932(std::string(written));
        });
    return out;
}

std::vector<std::string_view> messagePlaceholders(Message id)
{
    std::vector<std::string_view> names;
    scanMessage(
        id, [](std::string_view) {}, [&](std::string_view name, std::string_view) { names.push_back(name); });
    return names;
}

} // namespace vorn
