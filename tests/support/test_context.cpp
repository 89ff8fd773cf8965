#include "support/test_context.h"

#include "core/program_end.h"
#include "platform/text_renderer.h"

#include <stdexcept>

namespace vorn::test {

TestContext::TestContext(const std::string& timeline, bool endWhenTimelineRunsOut)
{
    HeadlessOptions options;
    std::string error;
    auto parsed = parseTimeline(timeline, error);
    if (!parsed)
        throw std::invalid_argument("bad test timeline: " + error);
    options.timeline = *parsed;
    options.endWhenTimelineRunsOut = endWhenTimelineRunsOut;
    options.shotsDirectory = m_dir.path();
    options.startDirectory = m_dir.path();
    options.text = std::make_unique<TextRenderer>();
    options.onEnd = endProgramAfterHeadlessRun;
    m_platform = std::make_unique<HeadlessPlatform>(std::move(options));
    m_transcript.setClock([this] { return m_platform->nowMs(); });
    m_transcript.setObserver([this](const std::string& kind, const std::string& text) {
        m_lines.push_back({ kind, text });
        m_platform->observeTranscript(kind, text);
    });
    m_ctx = std::make_unique<Context>(*m_platform, m_transcript, m_dir.path(), 1234);
    m_platform->start();
}

std::vector<std::string> TestContext::lines(const std::string& kind) const
{
    std::vector<std::string> result;
    for (const auto& line : m_lines) {
        if (kind.empty() || line.kind == kind)
            result.push_back(line.text);
    }
    return result;
}

} // namespace vorn::test
