// A translation of the game's texts, read from a PO catalogue (GAME/Language/LANG.po), and the
// names by which the catalogue knows each text. The game's own files are never changed: texts
// are replaced where they enter the game, right after their file was read.
//
// A text is known by its context (the file and place it comes from) together with its original
// wording, so a translation made for an older version of the game does not replace a text that
// has changed since. Untranslated (empty) and fuzzy entries leave the original.
#pragma once

#include "data/database.h"
#include "data/script_files.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorn {

class Translation {
public:
    // The translated entries of a PO text, converted to cp932 once. A translation cp932 cannot
    // hold is left out with a one-line warning in `warnings`. Throws PoError for a malformed text.
    static Translation fromPo(std::string_view poText, std::vector<std::string>& warnings);

    bool empty() const { return texts_.empty() && messages_.empty(); }
    // The cp932 translation of the cp932 text `original` at `context`, or nullptr.
    const std::string* find(std::string_view context, const std::string& original) const;
    // The UTF-8 translation of a message of the engine's table (context messages/NAME) whose
    // original is `utf8Original`, or nullptr; MessageTexts converts it with its placeholders.
    const std::string* findUtf8(std::string_view context, std::string_view utf8Original) const;

private:
    std::unordered_map<std::string, std::string> texts_; // context, '\4', UTF-8 original -> cp932
    std::unordered_map<std::string, std::string> messages_; // the same -> UTF-8
};

// Where a text of the game comes from: its context in a catalogue and the game file it is read
// from (the catalogue's source reference).
struct TextPlace {
    std::string context;
    std::string file;
};

// Every text of the database the player sees: names and texts of characters, attributes, items,
// spells, enemies, the towns' names, and the window caption. `visit` may change the text.
void forEachDatabaseText(Database&, const std::function<void(const TextPlace&, std::string& text)>& visit);

// The context of a line's message text in a script file ("DAT/vornT005.dat"); `event` is -1 for
// the opening and the ending scripts, which hold one event.
std::string scriptLineContext(std::string_view file, int event, int line);
// The file name as a catalogue names it: forward slashes ("DAT\vornT005.dat" -> "DAT/vornT005.dat").
std::string catalogueFileName(std::string_view gameFileName);
// The context of a message of the engine's table.
std::string messageContext(std::string_view name);

void translateDatabase(const Translation&, Database&);
void translateScriptLines(const Translation&, std::string_view file, int event, std::vector<ScriptLine>& lines);
void translateMapEvents(const Translation&, std::string_view file, std::vector<ScriptEvent>& events);

} // namespace vorn
