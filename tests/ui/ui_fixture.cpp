#include "ui_fixture.h"

#include "support/golden.h"

#include "core/program_end.h"
#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "ui/windows.h"

#include <cstdlib>
#include <stdexcept>

namespace vorn::test {

void RecordingPlatform::drawText(Picture&, int x, int y, const std::string& cp932, int colour)
{
    calls.push_back({ x, y, cp932ToUtf8(cp932), colour });
}

UiFixture::UiFixture(const std::string& timeline)
{
    HeadlessOptions options;
    std::string error;
    auto parsed = parseTimeline(timeline, error);
    if (!parsed)
        throw std::invalid_argument("bad test timeline: " + error);
    options.timeline = *parsed;
    options.shotsDirectory = m_dir.path();
    options.startDirectory = m_dir.path();
    options.onEnd = endProgramAfterHeadlessRun;
    m_platform = std::make_unique<RecordingPlatform>(std::move(options));
    m_transcript.setClock([this] { return m_platform->nowMs(); });
    m_transcript.setObserver([this](const std::string& kind, const std::string& text) {
        m_lines.emplace_back(kind, text);
        m_platform->observeTranscript(kind, text);
    });
    m_ctx = std::make_unique<Context>(*m_platform, m_transcript, m_dir.path(), 1234);
    m_ctx->db = gamegen::makeStarterDatabase({});
    createSurfaces(m_ctx->surfaces);
    m_ctx->surfaces.frameSheet = gamegen::makeFrameSheet();
    m_platform->start();
}

std::vector<std::string> UiFixture::lines(const std::string& kind) const
{
    std::vector<std::string> result;
    for (const auto& [k, text] : m_lines) {
        if (k == kind)
            result.push_back(text);
    }
    return result;
}

void UiFixture::openWindow(float x, float y, float w, float h)
{
    WindowState& s = m_ctx->windows;
    s.winX = x;
    s.winY = y;
    s.winW = w;
    s.winH = h;
    DrawWindow(*m_ctx);
}

void UiFixture::print(const std::string& utf8)
{
    m_ctx->windows.lineText = utf8ToCp932(utf8);
    PrintLine(*m_ctx);
}

bool UiFixture::screenShowsCell(int x, int y, int sx, int sy)
{
    const Picture& sheet = m_ctx->surfaces.frameSheet;
    for (int dy = 0; dy < 16; ++dy) {
        for (int dx = 0; dx < 16; ++dx) {
            if (screen().at(x + dx, y + dy) != sheet.at(sx + dx, sy + dy))
                return false;
        }
    }
    return true;
}

std::string compareWithGolden(const Picture& picture, const std::string& name)
{
    return compareWithGoldenFile(picture, std::filesystem::path(VORN_TEST_DIR) / "ui" / "golden" / (name + ".png"));
}

} // namespace vorn::test
