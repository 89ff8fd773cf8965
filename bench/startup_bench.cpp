// Start-up to the end of database loading, and composing one frame of rectangle copies.
#include "core/context.h"
#include "app/startup.h"
#include "gamegen/starter_game.h"
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

// Start-up on the starter game: frame sheet, settings, slot labels, opening file, database.
void StartUpToDatabaseLoaded(benchmark::State& state)
{
    fs::path folder = fs::temp_directory_path() / ("vorn-bench-" + std::to_string(getpid()));
    vorn::gamegen::writeStarterGame(folder);
    for (auto _ : state) {
        vorn::HeadlessPlatform platform(withText());
        vorn::Transcript transcript;
        auto ctx = std::make_unique<vorn::Context>(platform, transcript, folder, 1);
        vorn::startUp(*ctx);
        benchmark::DoNotOptimize(ctx->db.sizes.itemCount);
    }
    fs::remove_all(folder);
}
BENCHMARK(StartUpToDatabaseLoaded)->Unit(benchmark::kMillisecond);

// One full 512 x 384 screen composed of 32 x 32 cell copies from a 512 x 512 sheet, as the field
// draws it, in each copy mode.
void ComposeFrameOfCellCopies(benchmark::State& state)
{
    vorn::Picture sheet(512, 512);
    for (size_t i = 0; i < sheet.pixels.size(); ++i)
        sheet.pixels[i] = static_cast<vorn::Pixel>(i * 2654435761u) & 0xFFFFFF;
    vorn::Picture screen(512, 384);
    screen.mode = static_cast<vorn::CopyMode>(state.range(0));
    for (auto _ : state) {
        for (int row = 0; row < 12; ++row) {
            for (int col = 0; col < 16; ++col) {
                int code = (row * 16 + col) & 255;
                vorn::copyRect(screen, col * 32, row * 32, 32, 32, sheet, (code % 16) * 32, (code / 16) * 32);
            }
        }
        benchmark::DoNotOptimize(screen.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 512 * 384);
}
BENCHMARK(ComposeFrameOfCellCopies)->Arg(13)->Arg(9)->Arg(7)->Arg(15)->Unit(benchmark::kMicrosecond);

} // namespace
