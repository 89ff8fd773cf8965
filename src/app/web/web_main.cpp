// The player's entry point in a web page.
//
// Before main runs, the page has unpacked the game into /game, brought the Gothic font into
// /fonts and restored the settings file and the saved games into /save, which it writes back to
// the browser's storage after every change. The page's address gives the options the command
// line would (seed, text speed, volumes, mute).
#include "app/command_line.h"
#include "app/startup.h"
#include "app/state_dump.h"
#include "core/context.h"
#include "core/errors.h"
#include "platform/web/web_platform.h"

#include <emscripten.h>
#include <iostream>
#include <memory>
#include <unistd.h>

using namespace vorn;

namespace {

// clang-format off
EM_JS(void, pageTranscript, (const char* kind, const char* text), {
    Module.vornPage.transcriptLine(UTF8ToString(kind), UTF8ToString(text));
});
EM_JS(void, pageEnded, (int code, const char* message), { Module.vornPage.ended(code, UTF8ToString(message)); });
// clang-format on

int end(int code, const std::string& message)
{
    std::cerr << "vorn: " << message << "\n";
    pageEnded(code, message.c_str());
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    auto cl = parseCommandLine(argc, argv, error);
    if (!cl)
        return end(static_cast<int>(ExitCode::BadCommandLine), error);
    if (chdir("/game") != 0)
        return end(static_cast<int>(ExitCode::FileError), "the page brought no game");

    bool mute = cl->player.mute.value_or(false);
    WebOptions options;
    options.startDirectory = "/game";
    options.musicVolume = mute ? 0 : cl->player.musicVolume.value_or(100);
    options.soundVolume = mute ? 0 : cl->player.soundVolume.value_or(100);
    std::unique_ptr<WebPlatform> platform;
    try {
        platform = std::make_unique<WebPlatform>(options);
    } catch (const std::exception& e) {
        return end(static_cast<int>(ExitCode::FileError), e.what());
    }

    Transcript transcript;
    WebPlatform* p = platform.get();
    transcript.setClock([p] { return p->nowMs(); });
    transcript.setObserver([](const std::string& kind, const std::string& text) { pageTranscript(kind.c_str(), text.c_str()); });
    std::uint32_t seed = cl->seed ? *cl->seed : static_cast<std::uint32_t>(emscripten_get_now() * 1000);
    auto ctx = std::make_unique<Context>(*platform, transcript, "/game", seed);
    ctx->saveRoot = "/save";
    ctx->windows.textDelay = static_cast<float>(cl->player.textDelay.value_or(1));
    Context* c = ctx.get();
    platform->setStateHandler([c] { return stateToJson(*c).dump(); });
    try {
        run(*ctx);
    } catch (const ProgramEnd& ended) {
        return end(static_cast<int>(ended.code), "the game has ended");
    }
}
