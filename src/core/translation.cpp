#include "core/translation.h"

#include "platform/encoding.h"
#include "platform/po_file.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

    std::string keyOf(std::string_view context, std::string_view utf8Original)
    {
        std::string key(context);
        key += '\4';
        key += utf8Original;
        return key;
    }

    // A row count of the database as a loop bound, never beyond the table's capacity.
    template <typename Table>
    std::size_t rowsOf(const Table& table, float count)
    {
        if (!(count > 0))
            return 0;
        return std::min(table.size(), static_cast<std::size_t>(count));
    }

    std::string rowContext(const char* table, std::size_t row, const char* field)
    {
        return std::string(table) + "/" + std::to_string(row) + "/" + field;
    }

} // namespace

Translation Translation::fromPo(std::string_view poText, std::vector<std::string>& warnings)
{
    Translation translation;
    for (const PoEntry& entry : readPoText(poText)) {
        if (entry.id.empty() || entry.translation.empty() || entry.fuzzy)
            continue;
        std::string cp932 = utf8ToCp932(entry.translation);
        // A character cp932 cannot hold comes out as "?", which cannot be the second byte of a
        // cp932 character: more of them than the translation had means something was lost.
        if (std::count(cp932.begin(), cp932.end(), '?')
            != std::count(entry.translation.begin(), entry.translation.end(), '?')) {
            warnings.push_back("the translation of " + entry.context + " has characters the game's text (cp932) "
                + "cannot hold; the original is kept");
            continue;
        }
        if (entry.context.starts_with(messageContext("")))
            translation.messages_[keyOf(entry.context, entry.id)] = entry.translation;
        else
            translation.texts_[keyOf(entry.context, entry.id)] = std::move(cp932);
    }
    return translation;
}

const std::string* Translation::find(std::string_view context, const std::string& original) const
{
    if (texts_.empty() || original.empty())
        return nullptr;
    auto found = texts_.find(keyOf(context, cp932ToUtf8(original)));
    return found == texts_.end() ? nullptr : &found->second;
}

const std::string* Translation::findUtf8(std::string_view context, std::string_view utf8Original) const
{
    auto found = messages_.find(keyOf(context, utf8Original));
    return found == messages_.end() ? nullptr : &found->second;
}

void forEachDatabaseText(Database& db, const std::function<void(const TextPlace&, std::string& text)>& visit)
{
    auto each = [&](const char* file, const char* table, std::size_t row, const char* field, std::string& text) {
        visit(TextPlace { rowContext(table, row, field), file }, text);
    };
    visit(TextPlace { "settings/windowTitle", "DAT/vornINI.DAT" }, db.ini.windowTitle);
    const TableSizes& sizes = db.sizes;
    for (std::size_t c = 0; c < rowsOf(db.characters, sizes.lastCharacterSaved + 1); ++c)
        each("DAT/vornPLY.DAT", "characters", c, "name", db.characters[c].name);
    for (std::size_t t = 0; t < rowsOf(db.encounters, sizes.mapCount); ++t)
        each("DAT/vornEAP.DAT", "towns", t, "name", db.encounters[t].name);
    for (std::size_t a = 0; a < rowsOf(db.attributes, sizes.attributeLast + 1); ++a)
        each("DAT/vornCTY.DAT", "attributes", a, "name", db.attributes[a].name);
    // Text 5 of an item is its effect code, which the player never sees.
    static constexpr std::array<const char*, capacity::itemTexts> itemFields { "name", "description1", "description2",
        "menuText", "verb", nullptr, "verbOnOther" };
    for (std::size_t i = 0; i < rowsOf(db.items, sizes.itemCount); ++i) {
        for (std::size_t k = 0; k < itemFields.size(); ++k) {
            if (itemFields[k])
                each("DAT/vornITM.DAT", "items", i, itemFields[k], db.items[i].text[k]);
        }
    }
    // Text 3 of a spell is read and never shown.
    static constexpr std::array<const char*, capacity::spellTexts> spellFields { "name", "description1", "description2",
        nullptr, "verb" };
    for (std::size_t s = 0; s < rowsOf(db.spells, sizes.spellCount); ++s) {
        for (std::size_t k = 0; k < spellFields.size(); ++k) {
            if (spellFields[k])
                each("DAT/vornMGC.DAT", "spells", s, spellFields[k], db.spells[s].text[k]);
        }
    }
    for (std::size_t n = 0; n < rowsOf(db.enemies, sizes.enemyCount); ++n)
        each("DAT/vornene.DAT", "enemies", n, "name", db.enemies[n].name);
}

std::string catalogueFileName(std::string_view gameFileName)
{
    std::string name(gameFileName);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string scriptLineContext(std::string_view file, int event, int line)
{
    std::string context = catalogueFileName(file);
    if (event >= 0)
        context += "/event " + std::to_string(event);
    return context + "/line " + std::to_string(line);
}

std::string messageContext(std::string_view name) { return "messages/" + std::string(name); }

void translateDatabase(const Translation& translation, Database& db)
{
    if (translation.empty())
        return;
    forEachDatabaseText(db, [&](const TextPlace& place, std::string& text) {
        if (const std::string* translated = translation.find(place.context, text))
            text = *translated;
    });
    // The name entry dialog offers the name the game starts with.
    for (Character& character : db.characters)
        character.defaultName = character.name;
}

void translateScriptLines(const Translation& translation, std::string_view file, int event, std::vector<ScriptLine>& lines)
{
    if (translation.empty())
        return;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::string* translated
            = translation.find(scriptLineContext(file, event, static_cast<int>(l)), lines[l].message);
        // A line reading "99" would end the event's lines where the original goes on.
        if (translated && *translated != scriptEndMark)
            lines[l].message = *translated;
    }
}

void translateMapEvents(const Translation& translation, std::string_view file, std::vector<ScriptEvent>& events)
{
    for (std::size_t e = 0; e < events.size(); ++e)
        translateScriptLines(translation, file, static_cast<int>(e), events[e].lines);
}

} // namespace vorn
