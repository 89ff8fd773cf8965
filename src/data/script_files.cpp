#include "data/script_files.h"

#include "data/database_io.h"
#include "data/record.h"

namespace vorn {

const char* const scriptEndMark = "99";

namespace {

    // Lines up to the "99" message that ends them.
    std::vector<ScriptLine> readLines(dbio::RecordInput& in, const std::string& where)
    {
        std::vector<ScriptLine> lines;
        for (;;) {
            ScriptLine line;
            in.record(line.message);
            if (line.message == scriptEndMark)
                return lines;
            if (static_cast<int>(lines.size()) >= maxScriptLines)
                throw FileError(where + " has more than " + std::to_string(maxScriptLines) + " lines");
            in.record(line.commands);
            lines.push_back(std::move(line));
        }
    }

    void writeLines(dbio::RecordOutput& out, const std::vector<ScriptLine>& lines, const std::string& where)
    {
        if (static_cast<int>(lines.size()) > maxScriptLines)
            throw FileError(where + " has more than " + std::to_string(maxScriptLines) + " lines");
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].message == scriptEndMark)
                throw FileError(where + " line " + std::to_string(l) + ": the message \"99\" would end the lines");
            out.record(lines[l].message, lines[l].commands);
        }
        out.record(std::string(scriptEndMark));
    }

    // Runs `body`, turning a read or layout failure into a FileError naming the file part.
    template <class Body>
    auto guarded(const std::string& where, Body body)
    {
        try {
            return body();
        } catch (const ReadError& error) {
            throw FileError(where + ": " + error.what());
        }
    }

} // namespace

std::string normalisePictureCode(const std::string& code)
{
    std::string padded = "00" + code;
    return padded.substr(padded.size() - 2);
}

StoryScript readStoryScript(const std::vector<std::uint8_t>& bytes, StoryKind kind, std::string* after)
{
    const std::string where = storyFileName(kind);
    return guarded(where, [&] {
        dbio::RecordInput in(bytes);
        StoryScript script;
        in.record(script.lead);
        script.lines = readLines(in, where);
        if (kind == StoryKind::Opening) {
            for (float& value : script.trailer)
                in.record(value);
        }
        if (after)
            *after = dbio::bytesFrom(bytes, in.position());
        return script;
    });
}

std::vector<ScriptEvent> readMapEvents(const std::vector<std::uint8_t>& bytes, const Corrections& c, std::string* after)
{
    return guarded("map events", [&] {
        dbio::RecordInput in(bytes);
        std::vector<ScriptEvent> events;
        for (;;) {
            std::string picture;
            in.record(picture);
            picture = normalisePictureCode(picture);
            if (picture == scriptEndMark) {
                if (after)
                    *after = dbio::bytesFrom(bytes, in.position());
                return events;
            }
            if (static_cast<int>(events.size()) >= maxScriptEvents)
                throw FileError("map events: more than " + std::to_string(maxScriptEvents) + " events");
            ScriptEvent event;
            event.picture = std::move(picture);
            in.record(event.x, event.y, event.text, event.speed);
            event.x -= c.colCorrection;
            event.y -= c.rowCorrection;
            event.speed -= c.entryEventCorrection;
            event.lines = readLines(in, "map events: event " + std::to_string(events.size()));
            events.push_back(std::move(event));
        }
    });
}

std::string writeStoryScript(const StoryScript& script, StoryKind kind, const std::string& after)
{
    dbio::RecordOutput out;
    out.record(script.lead);
    writeLines(out, script.lines, storyFileName(kind));
    if (kind == StoryKind::Opening) {
        const auto& t = script.trailer;
        out.record(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]);
    }
    return out.bytes() + after;
}

std::string writeMapEvents(const std::vector<ScriptEvent>& events, const Corrections& c, const std::string& after)
{
    if (static_cast<int>(events.size()) > maxScriptEvents)
        throw FileError("map events: more than " + std::to_string(maxScriptEvents) + " events");
    dbio::RecordOutput out;
    for (std::size_t e = 0; e < events.size(); ++e) {
        const ScriptEvent& event = events[e];
        std::string where = "map events: event " + std::to_string(e);
        if (normalisePictureCode(event.picture) == scriptEndMark)
            throw FileError(where + ": the picture code \"99\" would end the events");
        out.record(normalisePictureCode(event.picture));
        out.record(event.x + c.colCorrection, event.y + c.rowCorrection, event.text,
            event.speed + c.entryEventCorrection);
        writeLines(out, event.lines, where);
    }
    out.record(std::string(scriptEndMark));
    return out.bytes() + after;
}

} // namespace vorn
