// A fresh game context on the headless back end, for tests that call game operations directly.
#pragma once

#include "core/context.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn::test {

struct TranscriptLine {
    std::string kind;
    std::string text; // UTF-8
};

class TestContext {
public:
    // A context whose game folder is a new temporary folder; `timeline` is parsed as an input
    // timeline (commands due at time 0 run at once).
    explicit TestContext(const std::string& timeline = "", bool endWhenTimelineRunsOut = false);

    Context& ctx() { return *m_ctx; }
    HeadlessPlatform& platform() { return *m_platform; }
    const std::filesystem::path& folder() const { return m_dir.path(); }

    // Transcript lines written so far, optionally only those of one kind.
    std::vector<std::string> lines(const std::string& kind) const;
    void clearLines() { m_lines.clear(); }

private:
    TempDir m_dir;
    std::unique_ptr<HeadlessPlatform> m_platform;
    Transcript m_transcript;
    std::unique_ptr<Context> m_ctx;
    std::vector<TranscriptLine> m_lines;
};

} // namespace vorn::test
