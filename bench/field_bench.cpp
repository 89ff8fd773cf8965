// The field: passes of the field loop on a large map full of wandering people, and entering that
// map (the work of loading and drawing; the transitions' frames take no time headless).
#include "core/context.h"
#include "data/map_files.h"
#include "data/script_files.h"
#include "field/field_ops.h"
#include "gamegen/starter_game.h"
#include "platform/game_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_renderer.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Headless options that draw text as the player does.
vorn::HeadlessOptions withText()
{
    vorn::HeadlessOptions options;
    options.text = std::make_unique<vorn::TextRenderer>();
    return options;
}

constexpr int mapSide = 100;

// A game folder with one 100 x 100 map: walkable ground with a wall every seventh cell and 100
// wanderers, sheets of coloured cells.
struct FieldBenchGame {
    fs::path folder = fs::temp_directory_path() / ("vorn-field-bench-" + std::to_string(getpid()));

    FieldBenchGame()
    {
        fs::create_directories(folder / "DAT");
        fs::create_directories(folder / "GRP");
        vorn::Picture sheet(512, 512);
        for (size_t i = 0; i < sheet.pixels.size(); ++i)
            sheet.pixels[i] = static_cast<vorn::Pixel>(i * 2654435761u) & 0xFFFFFF;
        vorn::saveBmpFile(sheet, (folder / "GRP" / "tiles.BMP").string());
        vorn::saveBmpFile(sheet, (folder / "GRP" / "chars.BMP").string());
        vorn::MapFile map;
        map.width = map.height = mapSide;
        map.tileSheet = "tiles";
        map.charSheet = "chars";
        map.bgm = "field";
        map.exitNorth = map.exitWest = map.exitEast = map.exitSouth = 999;
        for (int r = 0; r < mapSide; ++r) {
            std::string row;
            for (int c = 0; c < mapSide; ++c)
                row += (c * 31 + r * 17) % 7 == 0 ? "20" : "C0";
            map.rows.push_back(row);
        }
        std::vector<vorn::ScriptEvent> events;
        for (int i = 0; i < vorn::maxScriptEvents; ++i) {
            vorn::ScriptEvent e;
            e.picture = "10";
            e.x = static_cast<float>(1 + (i * 13) % (mapSide - 2));
            e.y = static_cast<float>(1 + (i * 29) % (mapSide - 2));
            e.text = "0";
            e.speed = 4;
            events.push_back(e);
        }
        vorn::Corrections corrections;
        vorn::writeWholeFileAtomically(folder / "DAT" / "vornM000.dat", vorn::writeMapFile(map, corrections, 232));
        vorn::writeWholeFileAtomically(folder / "DAT" / "vornT000.dat", vorn::writeMapEvents(events, corrections));
    }
    ~FieldBenchGame() { fs::remove_all(folder); }

    std::unique_ptr<vorn::Context> context(vorn::HeadlessPlatform& platform, vorn::Transcript& transcript)
    {
        auto ctx = std::make_unique<vorn::Context>(platform, transcript, folder, 1);
        vorn::createSurfaces(ctx->surfaces);
        ctx->surfaces.frameSheet = vorn::gamegen::makeFrameSheet();
        ctx->db = vorn::gamegen::makeStarterDatabase({});
        ctx->db.corrections = {};
        ctx->game.map = 0;
        ctx->game.useMapEntry = 0;
        ctx->game.startX = mapSide / 2;
        ctx->game.startY = mapSide / 2;
        return ctx;
    }
};

void FieldPassesOnALargeMap(benchmark::State& state)
{
    FieldBenchGame game;
    vorn::HeadlessPlatform platform(withText());
    vorn::Transcript transcript;
    auto ctx = game.context(platform, transcript);
    vorn::enterMap(*ctx);
    vorn::fieldLoopEntry(*ctx);
    for (auto _ : state)
        vorn::fieldPass(*ctx);
    state.SetItemsProcessed(state.iterations());
    state.counters["passes/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(FieldPassesOnALargeMap)->Unit(benchmark::kMicrosecond);

void EnterALargeMap(benchmark::State& state)
{
    FieldBenchGame game;
    vorn::HeadlessPlatform platform(withText());
    vorn::Transcript transcript;
    auto ctx = game.context(platform, transcript);
    for (auto _ : state) {
        ctx->game.useMapEntry = 0;
        ctx->game.startX = ctx->game.startY = mapSide / 2;
        vorn::enterMap(*ctx);
    }
}
BENCHMARK(EnterALargeMap)->Unit(benchmark::kMillisecond);

} // namespace
