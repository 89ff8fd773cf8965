#include "platform/headless/headless_platform.h"

#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"
#include "platform/wave_length.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorn {

namespace {

    constexpr std::uint64_t frameUs = 1000000 / 60;

    // The date the virtual clock starts from: 2000-01-01, a Saturday, as days since 1970-01-01.
    constexpr std::int64_t startDays = 10957;

    // The calendar date of a day counted from 1970-01-01 (the proleptic Gregorian calendar).
    void civilDate(std::int64_t days, int& year, int& month, int& day)
    {
        days += 719468;
        std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
        std::int64_t dayOfEra = days - era * 146097;
        std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        std::int64_t monthIndex = (5 * dayOfYear + 2) / 153; // March = 0
        day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
        month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
        year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    }

} // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : m_options(std::move(options))
    , m_screen(screenWidth, screenHeight)
{
    for (std::size_t i = 0; i < m_options.timeline.size(); ++i) {
        if (m_options.timeline[i].kind == TimelineCommand::Kind::Expect)
            m_expectsEnd = i + 1;
    }
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::start() { runDueCommands(); }

void HeadlessPlatform::restart()
{
    std::memset(m_screen.pixels.data(), 0, m_screen.pixels.size() * sizeof(Pixel));
    m_checkedChanges = m_screen.changes;
    m_framesSinceCheck = 0;
    if (m_checkedPixels.size() == m_screen.pixels.size())
        std::memset(m_checkedPixels.data(), 0, m_checkedPixels.size() * sizeof(Pixel));
    else
        m_checkedPixels.assign(m_screen.pixels.size(), 0);
    m_screen.mode = Picture {}.mode;
    m_caption.clear();
    m_nowUs = 0;
    m_frames = 0;
    m_next = 0;
    m_cursorUs = 0;
    m_expecting = false;
    m_expectDeadlineUs = 0;
    m_expectMet = false;
    m_linesSinceExpect.clear();
    m_answers.clear();
    m_names.clear();
    m_unansweredNameFrame.reset();
    m_releases.clear();
    m_held.clear();
    m_overlayHeld.clear();
    m_pointerX = m_pointerY = 0;
    m_leftHeld = m_rightHeld = false;
    m_active = true;
    m_waveOpen = false;
    m_waveLengthUs = 0;
    m_midiOpen = false;
    m_midiPlaying = false;
    m_midiLengthUs = 0;
    m_midiEndUs = 0;
}

void HeadlessPlatform::setFont(FontFace face, float points)
{
    if (m_options.text)
        m_options.text->setFont(face, points);
}

void HeadlessPlatform::drawText(Picture& target, int x, int y, const std::string& cp932, int colour)
{
    if (m_options.text)
        m_options.text->draw(target, x, y, cp932, paletteColour(colour));
}

LocalTime HeadlessPlatform::localTime()
{
    std::uint64_t seconds = m_nowUs / 1000000;
    LocalTime t;
    civilDate(startDays + static_cast<std::int64_t>(seconds / 86400), t.year, t.month, t.day);
    std::uint64_t inDay = seconds % 86400;
    t.hour = static_cast<int>(inDay / 3600);
    t.minute = static_cast<int>(inDay / 60 % 60);
    t.second = static_cast<int>(inDay % 60);
    return t;
}

void HeadlessPlatform::endRun(HeadlessEnd why)
{
    if (m_options.onEnd)
        m_options.onEnd(why);
    throw HeadlessRunEnded { why };
}

void HeadlessPlatform::waitUntil(std::uint64_t deadlineMs)
{
    advanceTo(std::max(m_nowUs, deadlineMs * 1000));
}

void HeadlessPlatform::frame()
{
#if !defined(NDEBUG) || defined(VORN_ASSERTIONS)
    // The window presents only a screen whose change count moved; every way of drawing on the
    // screen must count, or a frame would never be shown. Checked here for every frame a test
    // runs (or every drawingCheckEvery frames). The copy is taken only when the count moved,
    // and with memcpy: the sanitizers' own memmove, which a vector's assignment reaches, copies
    // a byte at a time, and copying the screen at every frame made most of the cost of long
    // runs in those builds.
    if (++m_framesSinceCheck >= m_options.drawingCheckEvery) {
        m_framesSinceCheck = 0;
        const std::size_t bytes = m_screen.pixels.size() * sizeof(Pixel);
        if (m_screen.changes != m_checkedChanges) {
            m_checkedChanges = m_screen.changes;
            if (m_checkedPixels.size() == m_screen.pixels.size())
                std::memcpy(m_checkedPixels.data(), m_screen.pixels.data(), bytes);
            else
                m_checkedPixels = m_screen.pixels;
        } else if (m_checkedPixels.size() != m_screen.pixels.size()
            || std::memcmp(m_checkedPixels.data(), m_screen.pixels.data(), bytes) != 0) {
            std::fprintf(stderr, "vorn: the screen changed without counting a change (frame %llu)\n",
                static_cast<unsigned long long>(m_frames));
            std::abort();
        }
    }
#endif
    ++m_frames;
    advanceTo((m_nowUs / frameUs + 1) * frameUs);
    if (m_frameHook)
        m_frameHook();
}

void HeadlessPlatform::pressKey(int virtualKey, int ms)
{
    m_held.insert(virtualKey);
    m_releases.push_back({ m_nowUs + static_cast<std::uint64_t>(ms) * 1000, virtualKey, 0 });
}

// Moves the virtual clock forward, stopping at every moment a timeline command or a key
// release is due so that the game sees input exactly when the timeline says.
void HeadlessPlatform::advanceTo(std::uint64_t targetUs)
{
    runDueCommands();
    while (m_nowUs < targetUs) {
        std::uint64_t step = targetUs;
        auto consider = [&](std::uint64_t at) {
            if (at > m_nowUs)
                step = std::min(step, at);
        };
        if (m_expecting)
            consider(m_expectDeadlineUs);
        else if (m_next < m_options.timeline.size() || m_options.endWhenTimelineRunsOut)
            consider(m_cursorUs);
        for (const Release& r : m_releases)
            consider(r.atUs);
        m_nowUs = step;
        runDueCommands();
    }
}

void HeadlessPlatform::releaseSwallowedKeys()
{
    for (const Release& r : m_releases) {
        if (r.key)
            m_held.erase(r.key);
        else if (r.button == 0)
            m_leftHeld = false;
        else
            m_rightHeld = false;
    }
    m_releases.clear();
}

void HeadlessPlatform::runDueCommands()
{
    // Key and button releases first: a press ends before the next command begins.
    for (auto it = m_releases.begin(); it != m_releases.end();) {
        if (it->atUs <= m_nowUs) {
            if (it->key)
                m_held.erase(it->key);
            else if (it->button == 0)
                m_leftHeld = false;
            else
                m_rightHeld = false;
            it = m_releases.erase(it);
        } else {
            ++it;
        }
    }
    for (;;) {
        if (m_expecting) {
            if (!m_expectMet) {
                if (m_nowUs < m_expectDeadlineUs)
                    return;
                std::fprintf(stderr, "vorn: expect \"%s\" (line %d) not met in %d ms\n",
                    m_options.timeline[m_next - 1].text.c_str(), m_options.timeline[m_next - 1].line,
                    m_options.timeline[m_next - 1].ms);
                endRun(HeadlessEnd::ExpectTimedOut);
            }
            m_expecting = false;
            m_cursorUs = m_nowUs;
        }
        if (m_next >= m_options.timeline.size()) {
            if (m_options.endWhenTimelineRunsOut && m_nowUs >= m_cursorUs)
                endRun(HeadlessEnd::TimelineDone);
            return;
        }
        if (m_nowUs < m_cursorUs)
            return;
        const TimelineCommand cmd = m_options.timeline[m_next++];
        execute(cmd);
    }
}

void HeadlessPlatform::execute(const TimelineCommand& cmd)
{
    using K = TimelineCommand::Kind;
    std::uint64_t ms = static_cast<std::uint64_t>(cmd.ms) * 1000;
    switch (cmd.kind) {
    case K::Wait:
        m_cursorUs += static_cast<std::uint64_t>(cmd.us);
        break;
    case K::Seed:
    case K::TextSpeed:
        break; // taken by the start-up
    case K::Press:
        // A key the overlay takes is never held; the timeline goes on as after any press.
        if (!(m_overlay.key && m_overlay.key(cmd.key))) {
            m_held.insert(cmd.key);
            m_releases.push_back({ m_cursorUs + ms, cmd.key, 0 });
        }
        m_cursorUs += ms + 60000;
        break;
    case K::Hold:
        if (cmd.pointerButton)
            (cmd.button == 0 ? m_leftHeld : m_rightHeld) = true;
        else if (m_overlay.key && m_overlay.key(cmd.key))
            m_overlayHeld.insert(cmd.key);
        else
            m_held.insert(cmd.key);
        break;
    case K::Release:
        if (cmd.pointerButton)
            (cmd.button == 0 ? m_leftHeld : m_rightHeld) = false;
        else if (m_overlayHeld.erase(cmd.key) == 0)
            m_held.erase(cmd.key);
        break;
    case K::Copy: {
        std::error_code ec;
        std::filesystem::copy_file(cmd.text, cmd.target, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            std::fprintf(stderr, "vorn: timeline line %d: cannot copy %s to %s: %s\n", cmd.line, cmd.text.c_str(),
                cmd.target.c_str(), ec.message().c_str());
        break;
    }
    case K::Click:
        m_pointerX = cmd.x;
        m_pointerY = cmd.y;
        (cmd.button == 0 ? m_leftHeld : m_rightHeld) = true;
        m_releases.push_back({ m_cursorUs + 60000, 0, cmd.button });
        m_cursorUs += 120000;
        break;
    case K::Move:
        m_pointerX = cmd.x;
        m_pointerY = cmd.y;
        break;
    case K::Answer:
        m_answers.push_back(cmd);
        break;
    case K::Name:
    case K::NameCancel:
        m_names.push_back(cmd);
        break;
    case K::Expect: {
        m_expecting = true;
        m_expectMet = false;
        m_expectDeadlineUs = m_nowUs + ms;
        for (const std::string& line : m_linesSinceExpect) {
            if (line.find(cmd.text) != std::string::npos)
                m_expectMet = true;
        }
        if (m_expectMet)
            m_linesSinceExpect.clear();
        break;
    }
    case K::Shot: {
        std::filesystem::path path = m_options.shotsDirectory / (cmd.text + ".png");
        if (!savePng(m_screen, path.string()))
            std::fprintf(stderr, "vorn: cannot write %s\n", path.c_str());
        break;
    }
    case K::Dump:
        if (m_dump)
            m_dump(m_options.shotsDirectory / (cmd.text + ".json"));
        break;
    }
}

void HeadlessPlatform::observeTranscript(const std::string&, const std::string& utf8)
{
    if (m_expecting && !m_expectMet) {
        if (utf8.find(m_options.timeline[m_next - 1].text) != std::string::npos) {
            m_expectMet = true;
            m_linesSinceExpect.clear();
            return;
        }
    }
    // Lines are kept for an `expect` still ahead in the timeline, and only then: a long run
    // without one would keep every line it ever wrote.
    if (m_next < m_expectsEnd)
        m_linesSinceExpect.push_back(utf8);
}

std::optional<TimelineCommand> HeadlessPlatform::takeAnswer(bool forName)
{
    auto& queue = forName ? m_names : m_answers;
    if (queue.empty() && m_next < m_options.timeline.size()) {
        // An answer written right after the command that opens the dialog still answers it.
        const TimelineCommand& upcoming = m_options.timeline[m_next];
        using K = TimelineCommand::Kind;
        bool fits = forName ? (upcoming.kind == K::Name || upcoming.kind == K::NameCancel) : upcoming.kind == K::Answer;
        if (fits) {
            ++m_next;
            return upcoming;
        }
    }
    if (queue.empty())
        return std::nullopt;
    TimelineCommand answer = queue.front();
    queue.pop_front();
    return answer;
}

BoxAnswer HeadlessPlatform::messageBox(const std::string&, const std::string&, BoxButtons buttons, BoxIcon)
{
    // A modal box swallows the keys that were pressed to open it, as a person lets go of them
    // while reading the box.
    releaseSwallowedKeys();
    auto answer = takeAnswer(false);
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    if (answer && answer->text == "yes")
        return BoxAnswer::Yes;
    return BoxAnswer::No;
}

std::optional<std::string> HeadlessPlatform::askName(const NameDialog& dialog)
{
    releaseSwallowedKeys();
    auto answer = takeAnswer(true);
    if (!answer) {
        // Nobody types: the dialog is closed with the name it offered. If the game opens it
        // again at once (it refused that name), nobody is there to type a better one, and the
        // dialog is cancelled instead of asking for ever.
        bool again = m_unansweredNameFrame == m_frames;
        m_unansweredNameFrame = m_frames;
        if (again)
            return std::nullopt;
        return dialog.name;
    }
    m_unansweredNameFrame.reset();
    if (answer->kind == TimelineCommand::Kind::NameCancel)
        return std::nullopt;
    // The answer is typed into the box: it keeps what the box would take.
    return appendTyped("", answer->text, dialog.maxBytes);
}

std::string HeadlessPlatform::mediaCommand(const std::string& command)
{
    MediaCommand cmd = parseMediaCommand(command);
    using V = MediaCommand::Verb;
    if (cmd.alias == "WAVE1") {
        if (cmd.verb == V::Open) {
            auto path = resolveMediaPath(m_options.startDirectory, cmd.path);
            // A file over the size limit is refused like a missing one.
            auto bytes = path ? readWholeFile(*path, gameFileLimit(GameFileKind::Sound)) : std::nullopt;
            m_waveOpen = bytes.has_value();
            m_waveLengthUs = bytes ? waveLengthUs(*bytes) : 0;
        } else if (cmd.verb == V::Play && m_waveOpen && cmd.wait) {
            // The effect plays to its end in virtual time.
            advanceTo(m_nowUs + m_waveLengthUs);
        } else if (cmd.verb == V::Close) {
            m_waveOpen = false;
        }
        return "";
    }
    if (cmd.alias == "MIDI1") {
        if (cmd.verb == V::Open) {
            // Opening a missing file or one that is not a readable MIDI file fails, as on a real
            // device: the alias stays closed and its status answers nothing, so the game does not
            // restart it on every poll. A piece plays at least ShortestLoopMs for the same reason.
            auto path = resolveMediaPath(m_options.startDirectory, cmd.path);
            auto bytes = path ? readWholeFile(*path) : std::nullopt;
            auto loopMs = bytes ? musicLoopMs(*bytes) : std::nullopt;
            m_midiOpen = loopMs.has_value();
            m_midiPlaying = false;
            m_midiLengthUs = loopMs.value_or(0) * 1000;
        } else if (cmd.verb == V::Play && m_midiOpen) {
            m_midiPlaying = true;
            m_midiEndUs = m_nowUs + m_midiLengthUs;
        } else if (cmd.verb == V::Close) {
            m_midiOpen = false;
            m_midiPlaying = false;
        } else if (cmd.verb == V::Status && m_midiOpen) {
            // A piece plays for its length in virtual time.
            return m_midiPlaying && m_nowUs < m_midiEndUs ? "playing" : "stopped";
        }
    }
    return "";
}

} // namespace vorn
