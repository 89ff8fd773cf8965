#include "support/test_context.h"

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
    options.shotsDirectory = dir_.path();
    options.startDirectory = dir_.path();
    platform_ = std::make_unique<HeadlessPlatform>(std::move(options));
    transcript_.setClock([this] { return platform_->nowMs(); });
    transcript_.setObserver([this](const std::string& kind, const std::string& text) {
        lines_.push_back({ kind, text });
        platform_->observeTranscript(kind, text);
    });
    ctx_ = std::make_unique<Context>(*platform_, transcript_, dir_.path(), 1234);
    platform_->start();
}

std::vector<std::string> TestContext::lines(const std::string& kind) const
{
    std::vector<std::string> result;
    for (const auto& line : lines_) {
        if (kind.empty() || line.kind == kind)
            result.push_back(line.text);
    }
    return result;
}

} // namespace vorn::test
