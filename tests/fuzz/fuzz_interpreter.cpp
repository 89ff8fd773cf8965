// libFuzzer target: arbitrary command strings run by the event interpreter over a small map.
//
// The input is split at line feeds into up to 40 script lines; line i becomes line i % 10 of
// event i / 10. A tab divides a line into message text and command string (without a tab the
// whole line is the command string). Every run starts from a fresh context on the headless
// platform whose input timeline presses a few keys and then ends the run, and whose command
// budget cuts off scripts that loop for ever. A run may end normally, by the event error dialog
// (any fault the script makes) or by the budget; anything else (a crash, a sanitizer report, an
// unexpected exception) is a finding.
#include "core/context.h"
#include "core/errors.h"
#include "core/program_end.h"
#include "data/map_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture.h"
#include "platform/surfaces.h"
#include "script/interpreter.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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

void setUpMap(Context& ctx)
{
    ctx.game.map = 2;
    MapState& map = ctx.map;
    map.file.width = 10;
    map.file.height = 8;
    map.file.rows.assign(8, std::string(20, '1'));
    map.resetMarks(10, 8);
    for (int e = 0; e < 4; ++e) {
        map.event[static_cast<std::size_t>(e)].x = static_cast<float>(e + 1);
        map.event[static_cast<std::size_t>(e)].y = static_cast<float>(e % 3 + 1);
        *map.marksAt(e + 1, e % 3 + 1) = { "0" + std::to_string(e), "1", std::to_string(e) };
    }
    createPicture(ctx.surfaces.wholeMap, 10 * 32, 8 * 32);
}

// The work pictures are large; making them for every input would cost most of the time, so one
// set is lent to each run in turn (their pixels never steer a run).
Surfaces& sharedSurfaces()
{
    static Surfaces surfaces = [] {
        Surfaces made;
        createSurfaces(made);
        made.frameSheet = Picture(256, 256, 0x808080);
        return made;
    }();
    return surfaces;
}

struct LentSurfaces {
    Context& ctx;
    explicit LentSurfaces(Context& c)
        : ctx(c)
    {
        std::swap(ctx.surfaces, sharedSurfaces());
    }
    ~LentSurfaces() { std::swap(ctx.surfaces, sharedSurfaces()); }
};

void loadLines(Context& ctx, const std::uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (int i = 0; i < 40 && start <= input.size(); ++i) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        std::string line = input.substr(start, end - start);
        std::size_t tab = line.find('\t');
        ScriptLine& target = ctx.script.eventLines[static_cast<std::size_t>(i / 10)][static_cast<std::size_t>(i % 10)];
        target.message = tab == std::string::npos ? std::string() : line.substr(0, tab);
        target.commands = tab == std::string::npos ? line : line.substr(tab + 1);
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    HeadlessOptions options;
    options.timeline = timeline();
    options.endWhenTimelineRunsOut = true;
    options.startDirectory = gameFolder();
    options.shotsDirectory = gameFolder();
    options.onEnd = endProgramAfterHeadlessRun;
    HeadlessPlatform platform(std::move(options));
    Transcript transcript;
    Context ctx(platform, transcript, gameFolder(), 99);
    platform.start();
    LentSurfaces lent(ctx);
    setUpMap(ctx);
    loadLines(ctx, data, size);
    ctx.script.commandBudget = 3000;
    try {
        RunEvent(ctx, 0);
    } catch (const ProgramEnd&) {
    } catch (const ScriptBudgetExhausted&) {
    }
    return 0;
}
