// Message boxes and the two fatal error dialogs.
#pragma once

#include "platform/game_files.h"
#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct Context;

// Shows a modal message box (cp932 caption and text) and writes it to the transcript.
BoxAnswer showMessageBox(Context& ctx, const std::string& caption, const std::string& text, BoxButtons buttons,
    BoxIcon icon);

// Shows the name entry dialog and writes its caption, label and starting name to the transcript.
// Returns the text in the box after OK, nothing after cancel.
std::optional<std::string> showNameDialog(Context& ctx, const NameDialog& dialog);

// The file error dialog ("ファイル読込みエラー"): a game file is missing or unreadable. The
// program then ends without writing its settings. Never returns.
[[noreturn]] void fatalFileError(Context& ctx, const std::string& detail);
// The event error dialog ("イベント実行エラー"): a script command failed. Never returns.
[[noreturn]] void fatalEventError(Context& ctx, const std::string& detail);

// Reads a whole game file (a cp932 game path, found without regard to case), or raises the file
// error dialog when it is missing or unreadable.
std::vector<std::uint8_t> readGameFileOrFail(Context& ctx, const std::string& cp932Path, GameFileKind kind);

} // namespace vorn
