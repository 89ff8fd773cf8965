// The field on the demo game, headless: entering its largest map and a generated 1,000 x 1,000
// map, passes of the field loop, and one pass against a plain copy of a whole frame.
#include "app/startup.h"
#include "bench.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/program_end.h"
#include "data/change_files.h"
#include "data/map_files.h"
#include "data/script_files.h"
#include "field/field_ops.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_renderer.h"

#include <cstring>
#include <optional>
#include <stdexcept>

namespace vorn::bench {
namespace {

    namespace fs = std::filesystem;

    constexpr int hugeSide = 1000;
    constexpr int hugeMap = 99;

    struct LargestMap {
        int number = -1;
        int width = 0, height = 0;
    };

    LargestMap largestMap(const Context& ctx)
    {
        LargestMap best;
        for (int m = 0; m < 1000; ++m) {
            auto bytes = readGameFile(ctx.root, mapFileName(m), GameFileKind::Map);
            if (!bytes)
                continue;
            MapFile map = readMapFile(*bytes, ctx.db.corrections, ctx.db.ini.dataVersion);
            int w = static_cast<int>(map.width), h = static_cast<int>(map.height);
            if (w * h > best.width * best.height)
                best = { m, w, h };
        }
        if (best.number < 0)
            throw std::runtime_error("the demo game has no map");
        return best;
    }

    // Map 99 of the copied game: 1,000 x 1,000 cells of the demo's own tiles and sheets, walls
    // here and there, no events, no exits.
    // Returns why the map cannot be made, or nothing.
    std::optional<std::string> writeHugeMap(const Context& ctx, const LargestMap& model)
    {
        MapFile map = readMapFile(*readGameFile(ctx.root, mapFileName(model.number), GameFileKind::Map),
            ctx.db.corrections, ctx.db.ini.dataVersion);
        int ground = tileAt(map, model.width / 2, model.height / 2);
        map.width = map.height = hugeSide;
        map.exitNorth = map.exitWest = map.exitEast = map.exitSouth = 999;
        map.rows.clear();
        const char* hex = "0123456789ABCDEF";
        for (int r = 0; r < hugeSide; ++r) {
            std::string row;
            for (int c = 0; c < hugeSide; ++c) {
                int tile = (c * 31 + r * 17) % 11 == 0 ? 0x20 : ground;
                row += hex[tile / 16];
                row += hex[tile % 16];
            }
            map.rows.push_back(std::move(row));
        }
        fs::path dat = ctx.root / "DAT";
        std::string bytes;
        try {
            bytes = writeMapFile(map, ctx.db.corrections, ctx.db.ini.dataVersion);
        } catch (const FileError& error) {
            return std::string("cannot be written: ") + error.what();
        }
        writeWholeFileAtomically(dat / "vornM099.dat", bytes);
        writeWholeFileAtomically(dat / "vornT099.dat", writeMapEvents({}, ctx.db.corrections));
        writeWholeFileAtomically(dat / "vornE099.dat", writeChangeFile({}, ctx.db.corrections));
        return std::nullopt;
    }

    struct DemoField {
        ScratchFolder scratch { "field" };
        std::unique_ptr<HeadlessPlatform> platform;
        Transcript transcript;
        std::unique_ptr<Context> ctx;

        explicit DemoField(const fs::path& demo)
        {
            fs::copy(demo, scratch.path / "game", fs::copy_options::recursive);
            HeadlessOptions options;
            options.startDirectory = scratch.path / "game";
            options.text = std::make_unique<TextRenderer>();
            options.onEnd = endProgramAfterHeadlessRun;
            platform = std::make_unique<HeadlessPlatform>(std::move(options));
            ctx = std::make_unique<Context>(*platform, transcript, scratch.path / "game", 1);
            startUp(*ctx);
        }

        // Enters a map with the player near its middle; false when the map is refused.
        bool enter(int number, int width, int height, std::string* why = nullptr)
        {
            Context& c = *ctx;
            c.game.map = static_cast<float>(number);
            c.game.useMapEntry = 0;
            c.game.startX = static_cast<float>(width / 2);
            c.game.startY = static_cast<float>(height / 2);
            try {
                enterMap(c);
            } catch (const ProgramEnd&) {
                if (why)
                    *why = "refused: the file error dialog";
                return false;
            }
            return true;
        }
    };

} // namespace

std::vector<Figure> fieldFigures(const fs::path& demo, const Budget& budget)
{
    DemoField field(demo);
    Context& ctx = *field.ctx;
    LargestMap largest = largestMap(ctx);
    std::optional<std::string> notWritten = writeHugeMap(ctx, largest);
    std::vector<Figure> figures;
    std::string size = std::to_string(largest.width) + " x " + std::to_string(largest.height);

    double enterLargest = meanSeconds(budget.secondsPerFigure, [&] {
        if (!field.enter(largest.number, largest.width, largest.height))
            throw std::runtime_error("the demo's largest map cannot be entered");
    });
    figures.push_back({ "map entry, demo's largest map", enterLargest * 1e3, "ms",
        "map " + std::to_string(largest.number) + ", " + size + " cells, mean" });

    std::string why;
    bool hugeEntered = false;
    double enterHuge = 0;
    if (notWritten)
        why = *notWritten;
    else
        enterHuge = fastestSeconds(budget.startUps, [&] { hugeEntered = field.enter(hugeMap, hugeSide, hugeSide, &why); });
    figures.push_back(hugeEntered ? Figure { "map entry, 1,000 x 1,000 map", enterHuge * 1e3, "ms",
                          "generated map, fastest of " + std::to_string(budget.startUps) }
                                  : Figure { "map entry, 1,000 x 1,000 map", 0, "", why });

    field.enter(largest.number, largest.width, largest.height);
    fieldLoopEntry(ctx);
    // Standing still, a pass finds nothing moved and composes nothing; the composed pass is
    // measured apart by asking for the view to be composed every pass.
    double standing = meanSeconds(budget.secondsPerFigure, [&] { fieldPass(ctx); });
    figures.push_back({ "field passes per second", 1.0 / standing, "passes/s",
        "demo's largest map, standing (nothing composed), headless" });
    ctx.field.composeEveryPass = true;
    double pass = meanSeconds(budget.secondsPerFigure, [&] { fieldPass(ctx); });
    ctx.field.composeEveryPass = false;
    figures.push_back({ "composed field passes per second", 1.0 / pass, "passes/s", "the same, the view composed every pass" });

    std::vector<std::uint32_t> from(512 * 384, 0x123456), to(512 * 384);
    double copy = meanSeconds(budget.secondsPerFigure, [&] {
        std::memcpy(to.data(), from.data(), from.size() * sizeof from[0]);
        asm volatile(""
                     :
                     : "r"(to.data())
                     : "memory");
    });
    figures.push_back({ "one composed field pass / one frame memcpy", pass / copy, "x",
        "pass " + std::to_string(pass * 1e6).substr(0, 6) + " us, memcpy of 512 x 384 x 4 bytes "
            + std::to_string(copy * 1e6).substr(0, 5) + " us" });
    return figures;
}

} // namespace vorn::bench
