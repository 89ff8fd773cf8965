// The fixed texts of the field menu's screens (UTF-8 here; shown as cp932).
#pragma once

#include <array>

namespace vorn::screen_text {

// Saved games.
inline constexpr const char* chooseSaveSlot = "保存先を選択してください";
inline constexpr const char* chooseLoadSlot = "読込先を選択してください";
inline constexpr const char* nowSaving = "                              Ｎｏｗ  Ｓａｖｉｎｇ．．．";
inline constexpr const char* saveComplete = "                        Ｓａｖｅ  Ｃｏｍｐｌａｔｅ．．．";
inline constexpr const char* nowLoading = "                            Ｎｏｗ  Ｌｏａｄｉｎｇ．．．";
inline constexpr const char* noData = "データがありません";
inline constexpr const char* unreadableData = "データが読めません";
inline constexpr const char* notSaved = "保存できませんでした";

// Status.
inline constexpr const char* noSpells = "覚えていません";
inline constexpr const char* noItems = "持っていません";

// Formation and quitting.
inline constexpr const char* cannotReorder = "隊列変更できません";
inline constexpr const char* chooseOrder = "順番を決めてください";
inline constexpr const char* orderAlreadySet = "の順番は既に決まっています";
inline constexpr const char* reallyQuit = "本当に終了してもよろしいですか？";

// Key configuration prompts, in the order of ConfiguredKey.
inline constexpr std::array<const char*, 6> keyPrompts { "上キーを選択してください", "下キーを選択してください",
    "右キーを選択してください", "左キーを選択してください", "決定キーを選択してください",
    "キャンセルキーを選択してください" };

// Every text above, for the test that encodes them all.
inline constexpr std::array<const char*, 14> allFixed { chooseSaveSlot, chooseLoadSlot, nowSaving, saveComplete,
    nowLoading, noData, unreadableData, notSaved, noSpells, noItems, cannotReorder, chooseOrder, orderAlreadySet,
    reallyQuit };

} // namespace vorn::screen_text
