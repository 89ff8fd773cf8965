#include "platform/headless/headless_platform.h"

#include "core/errors.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>

namespace vorn {

namespace {

    constexpr std::uint64_t frameUs = 1000000 / 60;

    // The length of a WAVE file in microseconds, or 0 when it cannot be read.
    std::uint64_t waveLengthUs(const std::filesystem::path& path)
    {
        SDL_AudioSpec format;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV(path.c_str(), &format, &buffer, &length))
            return 0;
        SDL_FreeWAV(buffer);
        std::uint64_t bytesPerSecond
            = static_cast<std::uint64_t>(format.freq) * format.channels * (SDL_AUDIO_BITSIZE(format.format) / 8);
        if (bytesPerSecond == 0)
            return 0;
        return static_cast<std::uint64_t>(length) * 1000000 / bytesPerSecond;
    }

} // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : options_(std::move(options))
    , screen_(512, 384)
    , text_(std::make_unique<TextRenderer>())
{
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::start() { runDueCommands(); }

void HeadlessPlatform::setFont(FontFace face, float points) { text_->setFont(face, points); }

void HeadlessPlatform::drawText(Picture& target, int x, int y, const std::string& cp932, int colour)
{
    text_->draw(target, x, y, cp932, paletteColour(colour));
}

void HeadlessPlatform::waitUntil(std::uint64_t deadlineMs)
{
    advanceTo(std::max(nowUs_, deadlineMs * 1000));
}

void HeadlessPlatform::frame()
{
    ++frames_;
    advanceTo((nowUs_ / frameUs + 1) * frameUs);
}

// Moves the virtual clock forward, stopping at every moment a timeline command or a key
// release is due so that the game sees input exactly when the timeline says.
void HeadlessPlatform::advanceTo(std::uint64_t targetUs)
{
    runDueCommands();
    while (nowUs_ < targetUs) {
        std::uint64_t step = targetUs;
        auto consider = [&](std::uint64_t at) {
            if (at > nowUs_)
                step = std::min(step, at);
        };
        if (expecting_)
            consider(expectDeadlineUs_);
        else if (next_ < options_.timeline.size() || options_.endWhenTimelineRunsOut)
            consider(cursorUs_);
        for (const Release& r : releases_)
            consider(r.atUs);
        nowUs_ = step;
        runDueCommands();
    }
}

void HeadlessPlatform::releaseSwallowedKeys()
{
    for (const Release& r : releases_) {
        if (r.key)
            held_.erase(r.key);
        else if (r.button == 0)
            leftHeld_ = false;
        else
            rightHeld_ = false;
    }
    releases_.clear();
}

void HeadlessPlatform::runDueCommands()
{
    // Key and button releases first: a press ends before the next command begins.
    for (auto it = releases_.begin(); it != releases_.end();) {
        if (it->atUs <= nowUs_) {
            if (it->key)
                held_.erase(it->key);
            else if (it->button == 0)
                leftHeld_ = false;
            else
                rightHeld_ = false;
            it = releases_.erase(it);
        } else {
            ++it;
        }
    }
    for (;;) {
        if (expecting_) {
            if (!expectMet_) {
                if (nowUs_ < expectDeadlineUs_)
                    return;
                std::fprintf(stderr, "vorn: expect \"%s\" (line %d) not met in %d ms\n",
                    options_.timeline[next_ - 1].text.c_str(), options_.timeline[next_ - 1].line,
                    options_.timeline[next_ - 1].ms);
                throw ProgramEnd { ExitCode::ExpectTimeout };
            }
            expecting_ = false;
            cursorUs_ = nowUs_;
        }
        if (next_ >= options_.timeline.size()) {
            if (options_.endWhenTimelineRunsOut && nowUs_ >= cursorUs_)
                throw ProgramEnd { ExitCode::Normal };
            return;
        }
        if (nowUs_ < cursorUs_)
            return;
        const TimelineCommand cmd = options_.timeline[next_++];
        execute(cmd);
    }
}

void HeadlessPlatform::execute(const TimelineCommand& cmd)
{
    using K = TimelineCommand::Kind;
    std::uint64_t ms = static_cast<std::uint64_t>(cmd.ms) * 1000;
    switch (cmd.kind) {
    case K::Wait:
        cursorUs_ += ms;
        break;
    case K::Press:
        held_.insert(cmd.key);
        releases_.push_back({ cursorUs_ + ms, cmd.key, 0 });
        cursorUs_ += ms + 60000;
        break;
    case K::Hold:
        held_.insert(cmd.key);
        break;
    case K::Release:
        held_.erase(cmd.key);
        break;
    case K::Click:
        pointerX_ = cmd.x;
        pointerY_ = cmd.y;
        (cmd.button == 0 ? leftHeld_ : rightHeld_) = true;
        releases_.push_back({ cursorUs_ + 60000, 0, cmd.button });
        cursorUs_ += 120000;
        break;
    case K::Move:
        pointerX_ = cmd.x;
        pointerY_ = cmd.y;
        break;
    case K::Answer:
        answers_.push_back(cmd);
        break;
    case K::Name:
    case K::NameCancel:
        names_.push_back(cmd);
        break;
    case K::Expect: {
        expecting_ = true;
        expectMet_ = false;
        expectDeadlineUs_ = nowUs_ + ms;
        for (const std::string& line : linesSinceExpect_) {
            if (line.find(cmd.text) != std::string::npos)
                expectMet_ = true;
        }
        if (expectMet_)
            linesSinceExpect_.clear();
        break;
    }
    case K::Shot: {
        std::filesystem::path path = options_.shotsDirectory / (cmd.text + ".png");
        if (!savePng(screen_, path.string()))
            std::fprintf(stderr, "vorn: cannot write %s\n", path.c_str());
        break;
    }
    case K::Dump:
        if (dump_)
            dump_(options_.shotsDirectory / (cmd.text + ".json"));
        break;
    }
}

void HeadlessPlatform::observeTranscript(const std::string&, const std::string& utf8)
{
    if (expecting_ && !expectMet_) {
        if (utf8.find(options_.timeline[next_ - 1].text) != std::string::npos) {
            expectMet_ = true;
            linesSinceExpect_.clear();
            return;
        }
    }
    linesSinceExpect_.push_back(utf8);
}

std::optional<TimelineCommand> HeadlessPlatform::takeAnswer(bool forName)
{
    auto& queue = forName ? names_ : answers_;
    if (queue.empty() && next_ < options_.timeline.size()) {
        // An answer written right after the command that opens the dialog still answers it.
        const TimelineCommand& upcoming = options_.timeline[next_];
        using K = TimelineCommand::Kind;
        bool fits = forName ? (upcoming.kind == K::Name || upcoming.kind == K::NameCancel) : upcoming.kind == K::Answer;
        if (fits) {
            ++next_;
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

std::optional<std::string> HeadlessPlatform::askName(const std::string&, const std::string& initial)
{
    releaseSwallowedKeys();
    auto answer = takeAnswer(true);
    if (!answer)
        return initial;
    if (answer->kind == TimelineCommand::Kind::NameCancel)
        return std::nullopt;
    return utf8ToCp932(answer->text);
}

std::string HeadlessPlatform::mediaCommand(const std::string& command)
{
    MediaCommand cmd = parseMediaCommand(command);
    using V = MediaCommand::Verb;
    if (cmd.alias == "WAVE1") {
        if (cmd.verb == V::Open) {
            auto path = resolveMediaPath(options_.startDirectory, cmd.path);
            waveOpen_ = path.has_value();
            waveLengthUs_ = path ? waveLengthUs(*path) : 0;
        } else if (cmd.verb == V::Play && waveOpen_ && cmd.wait) {
            // The effect plays to its end in virtual time.
            advanceTo(nowUs_ + waveLengthUs_);
        } else if (cmd.verb == V::Close) {
            waveOpen_ = false;
        }
        return "";
    }
    if (cmd.alias == "MIDI1") {
        if (cmd.verb == V::Open) {
            // Opening a missing file fails, as on a real device: the alias stays closed and
            // its status answers nothing, so the game does not restart it on every poll.
            auto path = resolveMediaPath(options_.startDirectory, cmd.path);
            auto bytes = path ? readWholeFile(*path) : std::nullopt;
            midiOpen_ = bytes.has_value();
            midiPlaying_ = false;
            midiLengthUs_ = bytes ? midiLengthMs(*bytes) * 1000 : 0;
        } else if (cmd.verb == V::Play && midiOpen_) {
            midiPlaying_ = true;
            midiEndUs_ = nowUs_ + midiLengthUs_;
        } else if (cmd.verb == V::Close) {
            midiOpen_ = false;
            midiPlaying_ = false;
        } else if (cmd.verb == V::Status && midiOpen_) {
            // A piece plays for its length in virtual time; one whose length is unknown (an
            // unreadable file) is taken to play on without end.
            bool ended = midiLengthUs_ > 0 && nowUs_ >= midiEndUs_;
            return midiPlaying_ && !ended ? "playing" : "stopped";
        }
    }
    return "";
}

} // namespace vorn
