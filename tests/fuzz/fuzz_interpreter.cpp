// libFuzzer target: arbitrary command strings run by the event interpreter over a small map.
//
// The input is split at line feeds into up to 40 script lines; line i becomes line i % 10 of
// event i / 10. A tab divides a line into message text and command string (without a tab the
// whole line is the command string). Every run starts from the same game state on the headless
// platform whose input timeline presses a few keys and then ends the run, and whose command
// budget cuts off scripts that loop for ever. A run may end normally, by the event error dialog
// (any fault the script makes) or by the budget; anything else (a crash, a sanitizer report, an
// unexpected exception) is a finding.
//
// Making a game state costs far more than most runs, so one context and one platform serve every
// input: after each run the platform restarts its timeline and every part of the context is set
// back to a copy made once (assignments that reuse the memory already held).
#include "core/context.h"
#include "core/errors.h"
#include "core/program_end.h"
#include "data/map_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture.h"
#include "platform/surfaces.h"
#include "script/interpreter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <unistd.h>

namespace {

using namespace vorn;

const std::filesystem::path& gameFolder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("vorn-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path / "DAT");
        std::filesystem::create_directories(path / "GRP");
        // Map 2's change file: a flag block, a tile change, an event move and a removal.
        std::ofstream(path / "DAT" / "vornE002.dat", std::ios::binary)
            << "1,1,=,1,\r\n99,\r\nC,2,2,0F,\r\nF,1,2,5,\r\n99,\r\n"
               "1,2,=,5,\r\n99,\r\nE,4,4,1,03,0,1,\r\nD,2,\r\n99,\r\n99,\r\n";
        saveBmpFile(Picture(24, 32, 0x00FF00), (path / "GRP" / "KAO1_1.bmp").string());
        std::ofstream(path / "DAT" / "vornTEND.dat", std::ios::binary) << "0,\r\nthe end,THR,\r\n99,\r\n";
        return path;
    }();
    return folder;
}

const std::vector<TimelineCommand>& timeline()
{
    static const std::vector<TimelineCommand> commands = [] {
        std::string error;
        auto parsed = parseTimeline("wait 40\npress space\nwait 40\npress down\npress ctrl\nclick 30 300\n"
                                    "press space\nwait 300\n",
            error);
        if (!parsed)
            std::abort();
        return *parsed;
    }();
    return commands;
}

constexpr int mapWidth = 16, mapHeight = 12;

void setUpMap(Context& ctx)
{
    ctx.game.map = 2;
    MapState& map = ctx.map;
    // The view's size: drawing it copies the map and fills no border.
    map.file.width = mapWidth;
    map.file.height = mapHeight;
    map.file.rows.assign(mapHeight, std::string(2 * mapWidth, '1'));
    map.resetMarks(mapWidth, mapHeight);
    for (int e = 0; e < 4; ++e) {
        map.event[static_cast<std::size_t>(e)].x = static_cast<float>(e + 1);
        map.event[static_cast<std::size_t>(e)].y = static_cast<float>(e % 3 + 1);
        *map.marksAt(e + 1, e % 3 + 1) = { "0" + std::to_string(e), "1", std::to_string(e) };
    }
}

// The one game every input runs in, and the state each run starts from.
struct Session {
    HeadlessPlatform platform;
    Transcript transcript;
    Context ctx;
    Database db;
    ScriptState script;
    ScriptState scriptWithoutLines;
    MapState map;
    SoundState sound;
    unsigned resets = 0;

    static HeadlessOptions options()
    {
        HeadlessOptions options;
        options.timeline = timeline();
        options.endWhenTimelineRunsOut = true;
        options.startDirectory = gameFolder();
        options.shotsDirectory = gameFolder();
        options.onEnd = endProgramAfterHeadlessRun;
        // Comparing the whole screen at every frame made a sixth of the target's time; every
        // 8th frame still finds a drawing that went uncounted, unless a counted one follows
        // within those frames.
        options.drawingCheckEvery = 8;
        return options;
    }

    Session()
        : platform(options())
        , ctx(platform, transcript, gameFolder(), 99)
    {
        createSurfaces(ctx.surfaces);
        ctx.surfaces.frameSheet = Picture(256, 256, 0x808080);
        setUpMap(ctx);
        db = ctx.db;
        script = ctx.script;
        scriptWithoutLines = ctx.script;
        scriptWithoutLines.eventLines.clear();
        map = ctx.map;
        sound = ctx.sound;
        reset();
    }

    // The tables a run may change (the roster, the towns' visits, the flags and the settings
    // record) are compared first (tables of plain numbers as one block of bytes) and copied only
    // when changed. The tables only a database load writes (levels, attributes, items,
    // equipment, encounters, spells, enemies) are large and no command changes them: comparing
    // them after every run made a tenth of the target's time, so they are compared at every
    // 256th reset only, and a run that changed one stops the fuzzer, naming the table.
    template <typename Table>
    static void restore(Table& table, const Table& made)
    {
        if constexpr (std::is_trivially_copyable_v<typename Table::value_type>) {
            if (table.size() != made.size()
                || std::memcmp(table.data(), made.data(), made.size() * sizeof made[0]) != 0)
                table = made;
        } else if (table != made) {
            table = made;
        }
    }
    template <typename Table>
    static void checkUnchanged(const Table& table, const Table& made, const char* name)
    {
        if (!(table == made)) {
            std::fprintf(stderr, "fuzz_interpreter: a run changed the %s table, which reset() takes as "
                                 "read-only: restore it at every reset\n",
                name);
            std::abort();
        }
    }
    void resetDatabase()
    {
        Database& d = ctx.db;
        d.sizes = db.sizes;
        d.ini = db.ini;
        restore(d.characters, db.characters);
        restore(d.towns, db.towns);
        d.targets = db.targets;
        d.flags = db.flags;
        d.trailers = db.trailers;
        d.corrections = db.corrections;
        d.stored = db.stored;
        if (++resets % 256 != 0)
            return;
        checkUnchanged(d.levels, db.levels, "levels");
        checkUnchanged(d.attributes, db.attributes, "attributes");
        checkUnchanged(d.items, db.items, "items");
        checkUnchanged(d.equipment, db.equipment, "equipment");
        checkUnchanged(d.encounters, db.encounters, "encounters");
        checkUnchanged(d.spells, db.spells, "spells");
        checkUnchanged(d.enemies, db.enemies, "enemies");
        if (!(d == db))
            std::abort();
    }

    // Every part of the game state as it was made; the pictures are cleared (their pixels never
    // steer a run), the random source seeded again.
    void reset()
    {
        platform.restart();
        ctx.rng = Random(99);
        resetDatabase();
        ctx.settings = {};
        ctx.game = {};
        ctx.game.map = 2;
        ctx.field = {};
        ctx.map = map;
        ctx.sound = sound;
        ctx.input = {};
        ctx.saves = {};
        ctx.windows = {};
        EventLineTable lines = std::move(ctx.script.eventLines);
        ctx.script = scriptWithoutLines;
        for (std::size_t e = 0; e < lines.size(); ++e)
            if (lines[e] != script.eventLines[e])
                lines[e] = script.eventLines[e];
        ctx.script.eventLines = std::move(lines);
        ctx.battle = {};
        ctx.upper = {};
        if (ctx.surfaces.wholeMap.width != mapWidth * 32 || ctx.surfaces.wholeMap.height != mapHeight * 32)
            createPicture(ctx.surfaces.wholeMap, mapWidth * 32, mapHeight * 32);
    }
};

// Lines 0 to 39 of the input (empty past its end): the run starts from no other script lines.
void loadLines(Context& ctx, const std::uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (int i = 0; i < 40; ++i) {
        std::string line;
        if (start <= input.size()) {
            std::size_t end = input.find('\n', start);
            if (end == std::string::npos)
                end = input.size();
            line = input.substr(start, end - start);
            start = end + 1;
        }
        std::size_t tab = line.find('\t');
        ScriptLine& target = ctx.script.eventLines[static_cast<std::size_t>(i / 10)][static_cast<std::size_t>(i % 10)];
        target.message = tab == std::string::npos ? std::string() : line.substr(0, tab);
        target.commands = tab == std::string::npos ? line : line.substr(tab + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    static Session session;
    Context& ctx = session.ctx;
    session.platform.start();
    loadLines(ctx, data, size);
    ctx.script.commandBudget = 500;
    try {
        RunEvent(ctx, 0);
    } catch (const ProgramEnd&) {
    } catch (const ScriptBudgetExhausted&) {
    }
    // Set back after the run rather than before the next one, so that what the run allocated is
    // freed within the run: the fuzzer reruns, looking for leaks, every input that leaves more
    // allocations than it freed.
    session.reset();
    return 0;
}
