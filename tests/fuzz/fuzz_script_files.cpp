// libFuzzer target: arbitrary bytes read as a map's event file or as an opening/ending script,
// and, when they read, written back.
//
// The first byte picks the kind of file and the correction sums. What reads must write again
// unless a value cannot be written (FileError), and what is written must read back equal with
// the same bytes after it. A FileError is the expected answer to bad bytes; a crash, a sanitizer
// report or another exception is a finding.
#include "data/script_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace vorn;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

void mapEvents(const std::vector<std::uint8_t>& bytes, const Corrections& corrections)
{
    std::string after;
    std::vector<ScriptEvent> events;
    std::string written;
    try {
        events = readMapEvents(bytes, corrections, &after);
        written = writeMapEvents(events, corrections, after);
    } catch (const FileError&) {
        return;
    }
    std::string afterAgain;
    if (readMapEvents(bytesOf(written), corrections, &afterAgain) != events || afterAgain != after)
        std::abort();
}

void story(const std::vector<std::uint8_t>& bytes, StoryKind kind)
{
    std::string after;
    StoryScript script;
    std::string written;
    try {
        script = readStoryScript(bytes, kind, &after);
        written = writeStoryScript(script, kind, after);
    } catch (const FileError&) {
        return;
    }
    std::string afterAgain;
    if (!(readStoryScript(bytesOf(written), kind, &afterAgain) == script) || afterAgain != after)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 1 << 20)
        return 0;
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    Corrections corrections;
    corrections.colCorrection = static_cast<float>(data[0] >> 2 & 3);
    corrections.rowCorrection = static_cast<float>(data[0] >> 4 & 3);
    corrections.entryEventCorrection = static_cast<float>(data[0] >> 6);
    switch (data[0] & 3) {
    case 0:
    case 1:
        mapEvents(bytes, corrections);
        break;
    case 2:
        story(bytes, StoryKind::Opening);
        break;
    default:
        story(bytes, StoryKind::Ending);
        break;
    }
    return 0;
}
