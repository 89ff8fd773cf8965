#include "app/live_reload.h"

#include "core/context.h"
#include "core/translation.h"
#include "data/database_files.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "platform/encoding.h"
#include "screens/saved_games.h"

#include <algorithm>
#include <iostream>

namespace vorn {

namespace fs = std::filesystem;

namespace {

    constexpr std::uint64_t lookEveryMs = 250;
    constexpr int reloadedNoticeMs = 2500;

    // The source's YAML files with their times and sizes, in path order. Cheap: one directory walk
    // of a few dozen entries.
    std::vector<WatchedSource::File> sourceFiles(const fs::path& folder)
    {
        std::vector<WatchedSource::File> files;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            std::error_code fileError;
            if (it->path().extension() != ".yaml" || !it->is_regular_file(fileError))
                continue;
            WatchedSource::File file { it->path().lexically_relative(folder).generic_string(),
                it->last_write_time(fileError), it->file_size(fileError) };
            if (!fileError)
                files.push_back(file);
        }
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
        return files;
    }

    // The builder's first error line without its "error: ", or its last line when none says error.
    std::string firstError(const std::string& messages)
    {
        std::string last;
        std::size_t at = 0;
        while (at < messages.size()) {
            std::size_t end = messages.find('\n', at);
            end = end == std::string::npos ? messages.size() : end;
            std::string line = messages.substr(at, end - at);
            if (line.rfind("error: ", 0) == 0)
                return line.substr(7);
            if (!line.empty())
                last = line;
            at = end + 1;
        }
        return last.empty() ? "the build failed" : last;
    }

    // Rebuilds; a failure is told on stderr (every message), in the transcript and over the game
    // (the first error). True when the new data is in place.
    bool rebuild(Context& ctx)
    {
        WatchedSource& watch = ctx.testPlay.watch;
        SourceBuild build = watch.rebuild();
        if (build.built) {
            watch.error.clear();
            return true;
        }
        watch.error = firstError(build.messages);
        std::cerr << "vorn: the game's source does not build; the game goes on with its last good data:\n"
                  << build.messages;
        ctx.transcript.write("state", "reload failed: " + watch.error);
        ctx.platform.showMessage(utf8ToCp932("reload failed: " + watch.error), 0);
        return false;
    }

} // namespace

void startWatching(Context& ctx)
{
    WatchedSource& watch = ctx.testPlay.watch;
    watch.files = sourceFiles(watch.folder);
    if (rebuild(ctx))
        ctx.transcript.write("state", "watching " + watch.folder.generic_string());
    watch.nextLookMs = ctx.platform.nowMs() + lookEveryMs;
}

bool lookAtWatchedSource(Context& ctx)
{
    WatchedSource& watch = ctx.testPlay.watch;
    if (watch.folder.empty() || !watch.rebuild || ctx.platform.nowMs() < watch.nextLookMs)
        return false;
    watch.nextLookMs = ctx.platform.nowMs() + lookEveryMs;
    std::vector<WatchedSource::File> files = sourceFiles(watch.folder);
    if (files == watch.files)
        return false;
    watch.files = std::move(files);
    if (!rebuild(ctx))
        return false;
    std::string problem = reloadGame(ctx);
    if (!problem.empty()) {
        watch.error = problem;
        ctx.transcript.write("state", "reload failed: " + problem);
        ctx.platform.showMessage(utf8ToCp932("reload failed: " + problem), 0);
        return false;
    }
    std::string place = "map " + std::to_string(roundIndex(ctx.game.map)) + " col " + std::to_string(playerColumn(ctx))
        + " row " + std::to_string(playerRow(ctx));
    ctx.transcript.write("state", "reloaded " + place);
    ctx.platform.showMessage("reloaded " + place, reloadedNoticeMs);
    return true;
}

std::string reloadGame(Context& ctx)
{
    Database fresh = ctx.db;
    try {
        readIniFirst(fresh, ctx.root);
        loadDatabase(fresh, ctx.root);
    } catch (const FileError& error) {
        return std::string("the rebuilt database cannot be read: ") + error.what();
    }
    translateDatabase(ctx.translation, fresh);
    // What a saved game keeps is carried over; it must fit the new tables as it fits the old.
    if (boundedSlotShapeOf(fresh) != boundedSlotShapeOf(ctx.db))
        return "the rebuilt tables have other sizes (roster, inventory, spell lists, maps or towns); the game goes "
               "on with the old ones until the test play starts again";
    SlotFile kept = slotOfGame(ctx, "");
    ctx.db = std::move(fresh);
    applySlot(ctx, kept);
    reloadMap(ctx);
    return "";
}

} // namespace vorn
