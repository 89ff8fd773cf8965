// A game context for the window tests: headless, with the starter game's database and frame
// sheet, work surfaces made, and a platform that records every text call instead of drawing
// glyphs (so pictures hold only the window art and text is checked by position and content).
#pragma once

#include "core/context.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace vorn::test {

class RecordingPlatform : public HeadlessPlatform {
public:
    struct TextCall {
        int x, y;
        std::string utf8;
        int colour;
    };
    explicit RecordingPlatform(HeadlessOptions options)
        : HeadlessPlatform(std::move(options))
    {
    }
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override;

    std::vector<TextCall> calls;
};

class UiFixture {
public:
    explicit UiFixture(const std::string& timeline = "");

    Context& ctx() { return *m_ctx; }
    RecordingPlatform& platform() { return *m_platform; }
    WindowState& windows() { return m_ctx->windows; }
    Picture& screen() { return m_platform->screen(); }
    std::uint64_t now() { return m_platform->nowMs(); }

    // UTF-8 texts of the transcript lines of one kind.
    std::vector<std::string> lines(const std::string& kind) const;
    // Sets the current window (as a caller or a script would) and draws it.
    void openWindow(float x, float y, float w, float h);
    // Prints one UTF-8 line with PrintLine.
    void print(const std::string& utf8);

    // Whether the 16 x 16 screen area at pixel (x, y) equals the frame sheet cell (sx, sy).
    bool screenShowsCell(int x, int y, int sx, int sy);

private:
    TempDir m_dir;
    std::unique_ptr<RecordingPlatform> m_platform;
    Transcript m_transcript;
    std::unique_ptr<Context> m_ctx;
    std::vector<std::pair<std::string, std::string>> m_lines;
};

// Compares a picture with tests/ui/golden/NAME.png; with VORN_UPDATE_GOLDEN=1 in the
// environment writes the golden file instead. Returns an empty string when they match, else why not.
std::string compareWithGolden(const Picture& picture, const std::string& name);

} // namespace vorn::test
