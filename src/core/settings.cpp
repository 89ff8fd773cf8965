#include "core/settings.h"

#include "core/context.h"
#include "data/record.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <algorithm>

namespace vorn {

const char* const defaultSettingsLine = "1,1,1,0,\"\",1,\r\n";

namespace {

    constexpr const char* settingsFileName = "vorn.ini";

    // The settings file in the save folder (beside the game unless it cannot be written), found
    // without regard to letter case like every game file; a new one is named as given.
    std::filesystem::path settingsPath(const Context& ctx)
    {
        return resolveGamePathForWriting(ctx.saveRoot, settingsFileName).value_or(ctx.saveRoot / settingsFileName);
    }

    bool tryRead(Context& ctx)
    {
        auto bytes = readWholeFile(settingsPath(ctx), gameFileLimit(GameFileKind::Save));
        if (!bytes)
            return false;
        try {
            RecordReader reader(std::move(*bytes));
            Settings s;
            s.musicOn = reader.number();
            s.soundOn = reader.number();
            s.walkAnim = reader.number();
            s.walkDelay = reader.number();
            s.reserved = reader.string();
            s.encounterMode = reader.number();
            ctx.settings = s;
            return true;
        } catch (const ReadError&) {
            return false;
        }
    }

} // namespace

void readSettings(Context& ctx)
{
    if (tryRead(ctx))
        return;
    // A failed write leaves the defaults in force; the game goes on.
    writeWholeFileAtomically(settingsPath(ctx), defaultSettingsLine);
    if (!tryRead(ctx))
        ctx.settings = Settings {};
}

void writeSettings(Context& ctx)
{
    const Settings& s = ctx.settings;
    RecordWriter writer;
    writer.number(s.musicOn);
    writer.number(s.soundOn);
    writer.number(s.walkAnim);
    writer.number(s.walkDelay);
    // The text stands between double quotes, so a quote inside it would end it early and leave
    // the file unreadable at the next start: quotes are dropped.
    std::string reserved = s.reserved;
    reserved.erase(std::remove(reserved.begin(), reserved.end(), '"'), reserved.end());
    writer.quoted(reserved);
    writer.number(s.encounterMode);
    writer.endRecord();
    writeWholeFileAtomically(settingsPath(ctx), writer.bytes());
}

} // namespace vorn
