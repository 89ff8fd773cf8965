#include "core/dialogs.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/messages.h"
#include "platform/encoding.h"
#include "platform/game_files.h"

#include <cstdio>

namespace vorn {

BoxAnswer showMessageBox(Context& ctx, const std::string& caption, const std::string& text, BoxButtons buttons,
    BoxIcon icon)
{
    ctx.transcript.write("box", cp932ToUtf8(caption) + ": " + cp932ToUtf8(text));
    return ctx.platform.messageBox(caption, text, buttons, icon);
}

std::optional<std::string> showNameDialog(Context& ctx, const NameDialog& dialog)
{
    ctx.transcript.write("box", cp932ToUtf8(dialog.caption) + ": " + cp932ToUtf8(dialog.label) + " " + cp932ToUtf8(dialog.name));
    return ctx.platform.askName(dialog);
}

namespace {

    [[noreturn]] void fatal(Context& ctx, const std::string& caption, const std::string& text,
        const std::string& detail, ExitCode code)
    {
        // The detail names the file or command for the game's author; the player sees the
        // dialog's own text. The terminal gets it too, so a player can tell what went wrong; the
        // control bytes game data may hold are shown as escapes, never sent to the terminal.
        std::string kind = code == ExitCode::FileError ? "file error" : "event error";
        std::fprintf(stderr, "vorn: %s: %s\n", kind.c_str(), escapeControls(cp932ToUtf8(detail)).c_str());
        ctx.transcript.write("error", cp932ToUtf8(caption) + ": " + cp932ToUtf8(text) + " (" + detail + ")");
        showMessageBox(ctx, caption, text, BoxButtons::Ok, BoxIcon::Stop);
        throw ProgramEnd { code };
    }

} // namespace

std::vector<std::uint8_t> readGameFileOrFail(Context& ctx, const std::string& cp932Path, GameFileKind kind)
{
    std::string why;
    auto bytes = readGameFile(ctx.root, cp932Path, kind, &why);
    if (!bytes)
        fatalFileError(ctx, shownGamePath(cp932Path) + ": " + why);
    return std::move(*bytes);
}

void fatalFileError(Context& ctx, const std::string& detail)
{
    fatal(ctx, message(ctx, Message::FileErrorCaption), message(ctx, Message::FileErrorText), detail, ExitCode::FileError);
}

void fatalEventError(Context& ctx, const std::string& detail)
{
    fatal(ctx, message(ctx, Message::EventErrorCaption), message(ctx, Message::EventErrorText), detail, ExitCode::EventError);
}

} // namespace vorn
