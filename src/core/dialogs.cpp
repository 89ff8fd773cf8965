#include "core/dialogs.h"

#include "core/context.h"
#include "core/errors.h"
#include "platform/encoding.h"
#include "platform/game_files.h"

namespace vorn {

BoxAnswer showMessageBox(Context& ctx, const std::string& caption, const std::string& text, BoxButtons buttons,
    BoxIcon icon)
{
    ctx.transcript.write("box", cp932ToUtf8(caption) + ": " + cp932ToUtf8(text));
    return ctx.platform.messageBox(caption, text, buttons, icon);
}

std::string fileErrorCaption() { return utf8ToCp932("ファイル読込みエラー"); }
std::string fileErrorText()
{
    return utf8ToCp932("ファイルが開けません、ゲームデータファイルがすべて揃っているか確認してください");
}
std::string eventErrorCaption() { return utf8ToCp932("イベント実行エラー"); }
std::string eventErrorText()
{
    return utf8ToCp932("コマンド実行中にエラーが発生しました、コマンド記述に誤りがあります");
}

namespace {

    [[noreturn]] void fatal(Context& ctx, const std::string& caption, const std::string& text,
        const std::string& detail, ExitCode code)
    {
        // The detail names the file or command for the game's author; the player sees the
        // dialog's own text.
        ctx.transcript.write("error", cp932ToUtf8(caption) + ": " + cp932ToUtf8(text) + " (" + detail + ")");
        showMessageBox(ctx, caption, text, BoxButtons::Ok, BoxIcon::Stop);
        throw ProgramEnd { code };
    }

} // namespace

std::vector<std::uint8_t> readGameFileOrFail(Context& ctx, const std::string& cp932Path)
{
    auto path = resolveGamePath(ctx.root, cp932Path);
    auto bytes = path ? readWholeFile(*path) : std::nullopt;
    if (!bytes)
        fatalFileError(ctx, "cannot read " + cp932Path);
    return std::move(*bytes);
}

void fatalFileError(Context& ctx, const std::string& detail)
{
    fatal(ctx, fileErrorCaption(), fileErrorText(), detail, ExitCode::FileError);
}

void fatalEventError(Context& ctx, const std::string& detail)
{
    fatal(ctx, eventErrorCaption(), eventErrorText(), detail, ExitCode::EventError);
}

} // namespace vorn
