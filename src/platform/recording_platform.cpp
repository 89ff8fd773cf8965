#include "platform/recording_platform.h"

#include "platform/encoding.h"

namespace vorn {

namespace {

    // Microseconds as milliseconds with up to three decimals.
    std::string millisecondsText(std::uint64_t us)
    {
        std::string text = std::to_string(us / 1000);
        if (std::uint64_t fraction = us % 1000) {
            std::string digits = std::to_string(fraction);
            text += "." + std::string(3 - digits.size(), '0') + digits;
        }
        return text;
    }

    HeadlessOptions modelOptions(const std::filesystem::path& startDirectory)
    {
        HeadlessOptions options;
        options.startDirectory = startDirectory;
        return options;
    }

} // namespace

RecordingPlatform::RecordingPlatform(std::unique_ptr<Platform> real, const std::filesystem::path& startDirectory,
    std::ostream& out, std::uint32_t seed, int textSpeed)
    : m_real(std::move(real))
    , m_model(modelOptions(startDirectory))
    , m_out(out)
{
    m_out << "# a play recorded by vorn --record; replay it with vorn GAME --headless --input FILE\n";
    write("seed " + std::to_string(seed));
    write("text-speed " + std::to_string(textSpeed));
}

RecordingPlatform::~RecordingPlatform()
{
    // A replay whose timeline runs out ends there; a second more lets the game end by itself at
    // the same moment as the play did (the quit question answered yes ends it at once).
    write("# the end of the play");
    m_out << "wait 1000\n";
}

void RecordingPlatform::write(const std::string& line)
{
    std::uint64_t now = m_model.nowUs();
    if (now > m_writtenUs) {
        m_out << "wait " << millisecondsText(now - m_writtenUs) << "\n";
        m_writtenUs = now;
    }
    m_out << line << "\n";
    m_out.flush();
}

void RecordingPlatform::clockMoved(std::uint64_t beforeUs)
{
    if (m_model.nowUs() == beforeUs)
        return;
    ++m_moment;
    if (m_real->takeCloseRequest())
        m_closePending = true;
}

void RecordingPlatform::waitUntil(std::uint64_t deadlineMs)
{
    std::uint64_t before = m_model.nowUs();
    m_model.waitUntil(deadlineMs);
    std::uint64_t waitedMs = (m_model.nowUs() - before + 500) / 1000;
    m_real->waitUntil(m_real->nowMs() + waitedMs);
    clockMoved(before);
}

void RecordingPlatform::frame()
{
    std::uint64_t before = m_model.nowUs();
    m_model.frame();
    m_real->frame();
    clockMoved(before);
}

std::string RecordingPlatform::mediaCommand(const std::string& command)
{
    m_real->mediaCommand(command);
    std::uint64_t before = m_model.nowUs();
    std::string answer = m_model.mediaCommand(command);
    clockMoved(before);
    return answer;
}

bool RecordingPlatform::keyHeld(int virtualKey)
{
    if (virtualKey < 1 || virtualKey > 255)
        return false;
    auto k = static_cast<std::size_t>(virtualKey);
    if (m_keyRead[k] != m_moment) {
        m_keyRead[k] = m_moment;
        bool held = m_real->isActive() && m_real->keyHeld(virtualKey);
        if (virtualKey == vk::Esc && m_closePending) {
            held = true;
            m_closePending = false;
        }
        if (held != m_keySeen[k]) {
            m_keySeen[k] = held;
            write((held ? "hold " : "release ") + timelineKeyName(virtualKey));
        }
    }
    return m_keySeen[k];
}

int RecordingPlatform::pointerX()
{
    pointerHeld(0);
    return m_x;
}

int RecordingPlatform::pointerY()
{
    pointerHeld(0);
    return m_y;
}

bool RecordingPlatform::pointerHeld(int button)
{
    if (m_pointerRead != m_moment) {
        m_pointerRead = m_moment;
        int x = m_real->pointerX(), y = m_real->pointerY();
        if (x != m_x || y != m_y) {
            m_x = x;
            m_y = y;
            write("move " + std::to_string(x) + " " + std::to_string(y));
        }
        for (int b = 0; b < 2; ++b) {
            bool held = m_real->pointerHeld(b);
            if (held != m_buttons[static_cast<std::size_t>(b)]) {
                m_buttons[static_cast<std::size_t>(b)] = held;
                write(std::string(held ? "hold " : "release ") + (b == 0 ? "mouse-left" : "mouse-right"));
            }
        }
    }
    return button == 0 || button == 1 ? m_buttons[static_cast<std::size_t>(button)] : false;
}

BoxAnswer RecordingPlatform::messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
    BoxIcon icon)
{
    BoxAnswer answer = m_real->messageBox(caption, text, buttons, icon);
    write(answer == BoxAnswer::Yes ? "answer yes" : answer == BoxAnswer::No ? "answer no"
                                                                            : "answer ok");
    return answer;
}

std::optional<std::string> RecordingPlatform::askName(const NameDialog& dialog)
{
    std::optional<std::string> name = m_real->askName(dialog);
    write(name ? "name \"" + cp932ToUtf8(*name) + "\"" : "name-cancel");
    return name;
}

} // namespace vorn
