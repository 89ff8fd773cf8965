// vorn-data text export: every text the player sees, as a PO catalogue for translators.
#include "commands.h"
#include "game_source.h"

#include "core/messages.h"
#include "core/translation.h"
#include "data/errors.h"
#include "data/map_files.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "platform/po_file.h"

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    // The header entry: what editors and gettext's tools read first. The charset is what the
    // player reads the translation in.
    PoEntry header(const std::string& title)
    {
        PoEntry entry;
        entry.translation = "Project-Id-Version: " + title + "\n"
            + "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
              "Last-Translator: FULL NAME <EMAIL@ADDRESS>\n"
              "Language-Team: LANGUAGE <LL@li.org>\n"
              "Language: \n"
              "MIME-Version: 1.0\n"
              "Content-Type: text/plain; charset=UTF-8\n"
              "Content-Transfer-Encoding: 8bit\n";
        entry.comments.push_back("The texts of " + title + " for translation: vorn GAME --language LANG plays");
        entry.comments.push_back("GAME/Language/LANG.po. An empty msgstr keeps the original text.");
        return entry;
    }

    void addScript(std::vector<PoEntry>& entries, const std::string& file, int event, const std::vector<ScriptLine>& lines)
    {
        std::string reference = catalogueFileName(file);
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].message.empty())
                continue;
            PoEntry entry;
            entry.context = scriptLineContext(file, event, static_cast<int>(l));
            entry.id = cp932ToUtf8(lines[l].message);
            entry.references.push_back(reference);
            entries.push_back(std::move(entry));
        }
    }

} // namespace

std::vector<PoEntry> gameTextEntries(const fs::path& gameDir)
{
    GameSource game = readGameData(gameDir);
    std::vector<PoEntry> entries { header(cp932ToUtf8(game.db.ini.windowTitle)) };
    if (game.opening)
        addScript(entries, storyFileName(StoryKind::Opening), -1, game.opening->lines);
    for (const auto& [number, map] : game.maps) {
        if (!map.events)
            continue;
        for (std::size_t e = 0; e < map.events->size(); ++e)
            addScript(entries, mapEventFileName(number), static_cast<int>(e), (*map.events)[e].lines);
    }
    if (game.ending)
        addScript(entries, storyFileName(StoryKind::Ending), -1, game.ending->lines);
    forEachDatabaseText(game.db, [&](const TextPlace& place, std::string& text) {
        if (text.empty())
            return;
        PoEntry entry;
        entry.context = place.context;
        entry.id = cp932ToUtf8(text);
        entry.references.push_back(place.file);
        entries.push_back(std::move(entry));
    });
    for (const MessageRow& row : messageTable()) {
        PoEntry entry;
        entry.context = messageContext(row.name);
        entry.id = std::string(row.utf8);
        entry.references.emplace_back("vorn");
        std::vector<std::string_view> names = messagePlaceholders(row.id);
        if (!names.empty()) {
            std::string comment = "The game fills in";
            for (std::size_t i = 0; i < names.size(); ++i)
                comment += std::string(i ? ", {" : " {") + std::string(names[i]) + "}";
            entry.comments.push_back(comment + "; keep them in the translation.");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

int textExportCommand(const fs::path& gameDir, const fs::path& poFile, std::ostream& out)
{
    if (!resolveGamePath(gameDir, "DAT")) {
        out << "error: " << gameDir.string() << ": no DAT folder; this is not a game folder\n";
        return 1;
    }
    std::vector<PoEntry> entries;
    try {
        entries = gameTextEntries(gameDir);
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
        return 1;
    }
    if (!writeWholeFileAtomically(poFile, writePoText(entries))) {
        out << "error: cannot write " << poFile.string() << "\n";
        return 1;
    }
    out << "wrote " << entries.size() - 1 << " texts to " << poFile.string() << "\n";
    return 0;
}

} // namespace vorn::datatool
