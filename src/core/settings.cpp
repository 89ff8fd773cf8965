#include "core/settings.h"

#include "core/context.h"
#include "data/record.h"
#include "platform/game_files.h"

namespace vorn {

const char* const defaultSettingsLine = "1,1,1,0,\"\",1,\r\n";

namespace {

    constexpr const char* settingsFileName = "vorn.ini";

    bool tryRead(Context& ctx)
    {
        auto bytes = readWholeFile(ctx.root / settingsFileName);
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
    writeWholeFileAtomically(ctx.root / settingsFileName, defaultSettingsLine);
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
    writer.quoted(s.reserved);
    writer.number(s.encounterMode);
    writer.endRecord();
    writeWholeFileAtomically(ctx.root / settingsFileName, writer.bytes());
}

} // namespace vorn
