// The player's entry point: reads the command line, enters the game folder, picks the back end
// (a window, or headless with a virtual clock) and runs the game until it ends.
#include "app/command_line.h"
#include "app/live_reload.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/program_end.h"
#include "core/translation.h"
#include "app/startup.h"
#include "app/state_dump.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/player_paths.h"
#include "platform/po_file.h"
#include "platform/recording_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/text_renderer.h"
// The data tool's build, linked into the player for --watch.
#include "vorn-data/commands.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

using namespace vorn;
namespace fs = std::filesystem;

namespace {

int fail(const std::string& message)
{
    std::cerr << "vorn: " << escapeControls(message) << "\n";
    return static_cast<int>(ExitCode::BadCommandLine);
}

// The translation `language` names: a PO file given by its path, or Language/<name>.po of the game
// folder (found without regard to letter case). Texts it has that cp932 cannot hold are told, one
// line each, and left out; a file that cannot be read or is not a PO catalogue sets `error`.
std::optional<Translation> loadTranslation(
    const std::string& language, const fs::path& gameDirectory, MessageTexts& messages, std::string& error)
{
    bool isPath = language.find('/') != std::string::npos || language.ends_with(".po") || language.ends_with(".PO");
    fs::path path;
    if (isPath) {
        path = fs::absolute(language);
    } else {
        auto found = resolveGamePath(gameDirectory, "Language\\" + utf8ToCp932(language) + ".po");
        if (!found) {
            error = "no translation \"" + language + "\": the game folder has no Language/" + language + ".po";
            return std::nullopt;
        }
        path = *found;
    }
    std::string why;
    auto bytes = readWholeFile(path, 64u << 20, &why);
    if (!bytes) {
        error = "cannot read the translation " + path.string() + ": " + why;
        return std::nullopt;
    }
    std::vector<std::string> warnings;
    try {
        Translation translation
            = Translation::fromPo(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), warnings);
        messages.translate(translation, warnings);
        for (const std::string& warning : warnings)
            std::cerr << "vorn: " << escapeControls(path.string() + ": " + warning) << "\n";
        return translation;
    } catch (const PoError& e) {
        error = "the translation " + path.string() + " is not a readable PO file: " + e.what();
        return std::nullopt;
    }
}

// The newest modification time among the source's files.
fs::file_time_type newestSourceTime(const fs::path& source)
{
    fs::file_time_type newest = fs::file_time_type::min();
    std::error_code ec;
    for (fs::recursive_directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        fs::file_time_type time = it->last_write_time(fileError);
        if (!fileError && time > newest)
            newest = time;
    }
    return newest;
}

// The rebuild of --watch: `vorn-data build SOURCE GAME`, and on stderr how long it took and how
// long after the newest source file was saved it was done.
SourceBuild buildFromSource(const fs::path& source, const fs::path& game)
{
    std::ostringstream messages;
    auto started = std::chrono::steady_clock::now();
    bool built = datatool::buildCommand(source, game, messages) == 0;
    auto ms = [](auto duration) { return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count(); };
    std::cerr << "vorn: watch: " << (built ? "built" : "build failed") << " in "
              << ms(std::chrono::steady_clock::now() - started) << " ms, "
              << ms(fs::file_time_type::clock::now() - newestSourceTime(source)) << " ms after the last save\n";
    return { built, messages.str() };
}

// A game folder that is there but cannot be reached or entered: a file error.
int cannotEnter(const fs::path& folder, const std::string& why)
{
    std::cerr << "vorn: cannot enter the game folder " << escapeControls(folder.string()) << ": " << why << "\n";
    return static_cast<int>(ExitCode::FileError);
}

int playerMain(int argc, char** argv)
{
    std::string error;
    auto cl = parseCommandLine(argc, argv, error);
    if (!cl) {
        std::cerr << "vorn: " << error << "\n"
                  << usageText;
        return static_cast<int>(ExitCode::BadCommandLine);
    }
    if (cl->help) {
        std::cout << usageText;
        return 0;
    }
    if (cl->version) {
        std::cout << "vorn " << VORN_VERSION << "\n";
        return 0;
    }

    // Paths of the command line are taken relative to where the player was started; then the
    // program works inside the game folder.
    std::error_code ec;
    fs::path gameDirectory = fs::absolute(cl->gameDirectory, ec);
    fs::file_status folder = ec ? fs::file_status() : fs::status(gameDirectory, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        return cannotEnter(gameDirectory, ec.message());
    if (!fs::is_directory(folder))
        return fail("no game folder at " + cl->gameDirectory);
    fs::path shots = fs::absolute(cl->shotsDirectory);
    fs::path watchSource;
    if (!cl->testPlay.watchSource.empty()) {
        watchSource = fs::absolute(cl->testPlay.watchSource);
        if (!fs::is_directory(watchSource, ec))
            return fail("--watch: no source folder at " + cl->testPlay.watchSource);
    }
    fs::path saveDirectory = cl->saveDirectory.empty() ? fs::path() : fs::absolute(cl->saveDirectory);
    std::vector<TimelineCommand> timeline;
    if (!cl->inputFile.empty()) {
        std::ifstream in(cl->inputFile, std::ios::binary);
        if (!in)
            return fail("cannot read input file " + cl->inputFile);
        std::stringstream text;
        text << in.rdbuf();
        auto parsed = parseTimeline(text.str(), error);
        if (!parsed)
            return fail(cl->inputFile + ": " + error);
        timeline = std::move(*parsed);
        // A recorded play carries its seed and text speed; the command line goes over them.
        for (const TimelineCommand& command : timeline) {
            if (command.kind == TimelineCommand::Kind::Seed && !cl->seed)
                cl->seed = static_cast<std::uint32_t>(command.value);
            if (command.kind == TimelineCommand::Kind::TextSpeed && !cl->player.textDelay)
                cl->player.textDelay = static_cast<int>(command.value);
        }
    }
    Translation translation;
    MessageTexts messages;
    if (!cl->language.empty()) {
        auto loaded = loadTranslation(cl->language, gameDirectory, messages, error);
        if (!loaded)
            return fail(error);
        translation = std::move(*loaded);
    }
    fs::path recordPath = cl->recordFile.empty() ? fs::path() : fs::absolute(cl->recordFile);
    fs::path endDumpPath = cl->endDumpFile.empty() ? fs::path() : fs::absolute(cl->endDumpFile);
    Transcript transcript;
    if (!cl->transcriptFile.empty() && !transcript.open(fs::absolute(cl->transcriptFile).string()))
        return fail("cannot write transcript " + cl->transcriptFile);
    if (chdir(gameDirectory.c_str()) != 0)
        return cannotEnter(gameDirectory, std::strerror(errno));
    gameDirectory = fs::current_path(ec);
    if (ec)
        return cannotEnter(gameDirectory, ec.message());
    // Settings and saved games stay beside the game unless it cannot be written (a game on
    // read-only media or in a system folder): then they go to the player's data folder, and the
    // player is told, so that no progress is lost without a word.
    bool scratchSaves = cl->testPlay.any() && saveDirectory.empty();
    if (saveDirectory.empty() && !folderWritable(gameDirectory)) {
        saveDirectory = fallbackSaveFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), gameDirectory);
        if (!scratchSaves)
            std::cerr << "vorn: the game folder " << escapeControls(gameDirectory.string()) << " cannot be written; "
                      << "settings and saved games are kept in " << escapeControls(saveDirectory.string()) << "\n";
    }
    // A test play reads the player's settings and saves but keeps what it writes in a folder of
    // its own, gone at the end, unless it was given a save folder.
    ScratchSaveFolder scratch;
    if (scratchSaves) {
        if (!scratch.make(saveDirectory.empty() ? gameDirectory : saveDirectory, error))
            return fail("test play: " + error);
        saveDirectory = scratch.path();
    }
    if (!saveDirectory.empty()) {
        fs::create_directories(saveDirectory, ec);
        if (ec || !fs::is_directory(saveDirectory, ec))
            return fail("cannot make the save folder " + saveDirectory.string());
    }
    // A folder without the game's settings file is not a game: say so plainly before the file
    // error dialog the player shows for it.
    if (!resolveGamePath(gameDirectory, "DAT\\vornINI.DAT"))
        std::cerr << "vorn: no DAT/vornINI.DAT in " << escapeControls(gameDirectory.string()) << ": not a game folder\n";

    // The recording is written until the platform goes away, so it outlives the platform.
    OutputFile record;
    std::unique_ptr<Platform> platform;
    HeadlessPlatform* headless = nullptr;
    std::optional<int> textDelay = cl->player.textDelay;
    if (cl->headless) {
        HeadlessOptions options;
        options.endWhenTimelineRunsOut = !cl->inputFile.empty();
        options.timeline = std::move(timeline);
        options.shotsDirectory = shots;
        options.startDirectory = gameDirectory;
        options.text = std::make_unique<TextRenderer>();
        options.onEnd = endProgramAfterHeadlessRun;
        auto made = std::make_unique<HeadlessPlatform>(std::move(options));
        headless = made.get();
        platform = std::move(made);
    } else {
        // The player settings file, then the command line over it.
        fs::path settingsPath = playerSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
        PlayerSettings saved = readPlayerSettings(settingsPath);
        PlayerSettings settings = saved;
        settings.takeFrom(cl->player);
        bool mute = settings.mute.value_or(false);
        textDelay = settings.textDelay;
        SdlOptions options;
        options.scale = settings.scale.value_or(2);
        options.fullscreen = settings.fullscreen.value_or(false);
        options.musicVolume = mute ? 0 : settings.musicVolume.value_or(100);
        options.soundVolume = mute ? 0 : settings.soundVolume.value_or(100);
        options.startDirectory = gameDirectory;
        options.stats = cl->stats;
        options.showPasses = cl->showPasses;
        options.passesKey = cl->showPasses || cl->testPlay.any();
        // Full screen toggled in the window is remembered for the next run.
        options.onFullscreenChanged = [settingsPath, saved](bool fullscreen) mutable {
            saved.fullscreen = fullscreen;
            if (!writePlayerSettings(settingsPath, saved))
                std::cerr << "vorn: cannot write " << escapeControls(settingsPath.string()) << "\n";
        };
        try {
            platform = createSdlPlatform(options);
        } catch (const std::exception& e) {
            std::cerr << "vorn: cannot open the game window: " << e.what() << "\n";
            return static_cast<int>(ExitCode::FileError);
        }
    }

    std::uint32_t seed = cl->seed ? *cl->seed
                                  : static_cast<std::uint32_t>(
                                      std::chrono::system_clock::now().time_since_epoch().count());
    int textSpeed = textDelay.value_or(headless ? 0 : 1);
    if (!recordPath.empty()) {
        if (!record.open(recordPath))
            return fail("cannot write the recording " + recordPath.string());
        platform
            = std::make_unique<RecordingPlatform>(std::move(platform), gameDirectory, record.stream(), seed, textSpeed);
    }
    Platform* p = platform.get();
    transcript.setClock([p] { return p->nowMs(); });
    auto ctx = std::make_unique<Context>(*platform, transcript, gameDirectory, seed);
    if (!saveDirectory.empty())
        ctx->saveRoot = saveDirectory;
    ctx->translation = std::move(translation);
    ctx->messages = std::move(messages);
    // Letters are typed one by one in a window; headless runs print whole lines unless asked.
    ctx->windows.textDelay = static_cast<float>(textSpeed);
    // In a test play the overlay is there in every run, so that F9 works whatever else was asked.
    if (cl->testPlay.any()) {
        Context* c = ctx.get();
        platform->setOverlay({ [c] { return testPlayOverlay(*c); }, [c](int key) { return testPlayOverlayKey(*c, key); } });
    }
    if (headless) {
        transcript.setObserver(
            [headless](const std::string& kind, const std::string& text) { headless->observeTranscript(kind, text); });
        Context* c = ctx.get();
        headless->setDumpHandler([c](const fs::path& path) { writeStateDump(*c, path); });
    }
    if (!watchSource.empty()) {
        ctx->testPlay.watch.folder = watchSource;
        ctx->testPlay.watch.rebuild = [watchSource, gameDirectory] { return buildFromSource(watchSource, gameDirectory); };
        startWatching(*ctx);
    }
    try {
        if (headless)
            headless->start();
        run(*ctx, cl->testPlay);
    } catch (const ProgramEnd& end) {
        if (!endDumpPath.empty())
            writeStateDump(*ctx, endDumpPath);
        return static_cast<int>(end.code);
    } catch (const TestPlayRefused& refused) {
        return fail(refused.message);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A file system call that fails where no failure was foreseen ends the program with what
    // failed and why, not with an abort.
    try {
        return playerMain(argc, argv);
    } catch (const fs::filesystem_error& error) {
        std::cerr << "vorn: " << escapeControls(error.what()) << "\n";
        return static_cast<int>(ExitCode::FileError);
    }
}
