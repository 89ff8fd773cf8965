// The generated music and effects as the player plays them. Every piece is rendered through the
// player's own music device (one FluidSynth synthesiser with the game's soundfont, at the player's
// music volume) on SDL's disk audio driver, which runs faster than real time, and looped by the
// game's own keep-alive in a headless run; the effects are read back from their WAVE data.
#include "assetgen/assetgen.h"
#include "core/input.h"
#include "core/sound.h"
#include "platform/game_files.h"
#include "platform/midi_length.h"
#include "platform/sdl/sdl_media.h"
#include "support/test_context.h"
#include "tools/smf_reader.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::assetgen;
using namespace vorn::test;

namespace {

// The musical end of a piece in milliseconds: its last note's release rounded up to the bar
// line, at the piece's tempo.
double lastBarEndMs(const std::vector<std::uint8_t>& bytes)
{
    int division = 0;
    std::vector<TrackCheck> tracks;
    if (!readTracks(bytes, division, tracks) || tracks.empty() || tracks[0].tempo == 0 || tracks[0].beats == 0)
        return -1;
    std::uint32_t lastRelease = 0;
    for (const TrackCheck& t : tracks)
        lastRelease = std::max(lastRelease, t.lastRelease);
    const std::uint32_t bar = static_cast<std::uint32_t>(tracks[0].beats * division);
    const std::uint32_t barEnd = (lastRelease + bar - 1) / bar * bar;
    return barEnd * (tracks[0].tempo / 1000.0) / division;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// What the device mixed since the piece started, as seen in the mixer's final stream.
struct Capture {
    SdlMedia* media = nullptr;
    int frameBytes = 4;
    std::uint64_t frames = 0; // device frames mixed since the piece started
    int peak = 0; // largest sample magnitude
    std::uint64_t stoppedAt = 0; // frames when the device first answered "stopped"
    std::uint64_t limit = 0; // frames after which capturing ends; 0: at "stopped"
    bool stopped = false;
    std::atomic<bool> armed { false };
    std::atomic<bool> done { false };
};

// Runs on the audio thread for every mixed buffer, before the device's own clock counts it:
// asks the music's status as a poll would at that moment and keeps the loudest sample.
void captureBuffer(int, void* stream, int length, void* data)
{
    auto* c = static_cast<Capture*>(data);
    if (!c->armed || c->done)
        return;
    if (c->media->command("status MIDI1 mode wait") == "stopped") {
        c->stoppedAt = c->frames;
        c->stopped = true;
        c->done = true;
        return;
    }
    const auto* samples = static_cast<const std::int16_t*>(stream);
    for (int i = 0; i < length / 2; ++i)
        c->peak = std::max(c->peak, std::abs(static_cast<int>(samples[i])));
    c->frames += static_cast<std::uint64_t>(length / c->frameBytes);
    if (c->limit && c->frames >= c->limit)
        c->done = true;
}

// Opens and plays a piece and captures it until it answers "stopped" (or `limit` frames).
bool capturePiece(SdlMedia& media, Capture& capture, const std::filesystem::path& folder, const std::string& name, std::uint64_t limit)
{
    media.command("open \"" + folder.string() + "\\MID\\" + name + ".MID\" alias MIDI1");
    media.lockAudio();
    capture.frames = 0;
    capture.peak = 0;
    capture.limit = limit;
    capture.stopped = false;
    capture.done = false;
    media.command("play MIDI1");
    capture.armed = true;
    media.unlockAudio();
    const Uint64 deadline = SDL_GetTicks64() + 60000;
    while (!capture.done && SDL_GetTicks64() < deadline)
        SDL_Delay(2);
    capture.armed = false;
    media.command("close MIDI1");
    return capture.done;
}

} // namespace

TEST(AssetMusicPlayback, EveryPieceStopsOnItsLastBarLineWithoutClipping)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    TempDir dir;
    std::vector<NamedBytes> music = makeMusic();
#ifdef __SANITIZE_ADDRESS__
    // The synthesiser is not instrumented and the normal build renders every piece; here the
    // device code runs through the shortest piece only, which saves seconds.
    std::sort(music.begin(), music.end(),
        [](const NamedBytes& a, const NamedBytes& b) { return midiLengthMs(a.bytes) < midiLengthMs(b.bytes); });
    music.resize(1);
#endif
    for (const NamedBytes& m : music)
        writeFile(dir.path() / "MID" / (m.name + ".mid"), m.bytes);

    SdlMedia media(dir.path(), [] { SDL_Delay(1); });
    ASSERT_TRUE(media.hasDevice()) << SDL_GetError();
    // The soundfont loads on a thread of its own; the captures time pieces from their start.
    ASSERT_TRUE(media.waitForSynthesiser());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&frequency, &format, &channels));
    ASSERT_EQ(format, AUDIO_S16SYS);
    Capture capture;
    capture.media = &media;
    capture.frameBytes = 2 * channels;
    ASSERT_TRUE(Mix_RegisterEffect(MIX_CHANNEL_POST, captureBuffer, nullptr, &capture));

    for (const NamedBytes& m : music) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(capturePiece(media, capture, dir.path(), m.name, 0)) << "the piece never answered \"stopped\"";
        // The device answers "stopped" from the end of the last bar on, one mixing buffer late
        // at most, so a poll in the next frame restarts the piece on the beat.
        const double endMs = lastBarEndMs(m.bytes);
        const double stoppedMs = capture.stoppedAt * 1000.0 / frequency;
        EXPECT_GE(stoppedMs, endMs);
        EXPECT_LE(stoppedMs, endMs + 50);
        // Loud enough to be heard, with at least 1 dB of headroom everywhere.
        EXPECT_GT(capture.peak, 32768 / 8);
        EXPECT_LT(capture.peak, 29205) << "peak " << 20 * std::log10(capture.peak / 32768.0) << " dBFS";
    }
    // The keep-alive reopens the piece that has just ended (the device keeps it loaded): it
    // plays again from its beginning.
    ASSERT_TRUE(capturePiece(media, capture, dir.path(), music.back().name, static_cast<std::uint64_t>(frequency) * 2));
    EXPECT_FALSE(capture.stopped);
    EXPECT_GT(capture.peak, 32768 / 16);
    Mix_UnregisterEffect(MIX_CHANNEL_POST, captureBuffer);
}

// A sound or music file over its kind's size limit, missing or broken is not opened by the
// window's device (a large one is never read whole), while one of the same kind within the limit
// is. Each file that cannot be opened is told once, however often it is asked for.
TEST(AssetMusicPlayback, FilesOverTheirSizeLimitMissingOrBrokenAreNotOpenedAndToldOnce)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    TempDir dir;
    const NamedBytes piece = makeMusic().front();
    const NamedBytes effect = makeSoundEffects().front();
    writeFile(dir.path() / "MID" / "ok.mid", piece.bytes);
    writeFile(dir.path() / "WAV" / "ok.wav", effect.bytes);
    // Sparse files: the size is over the limit without the disk holding it.
    writeFile(dir.path() / "MID" / "big.mid", piece.bytes);
    std::filesystem::resize_file(dir.path() / "MID" / "big.mid", gameFileLimit(GameFileKind::Music) + 1);
    writeFile(dir.path() / "WAV" / "big.wav", effect.bytes);
    std::filesystem::resize_file(dir.path() / "WAV" / "big.wav", gameFileLimit(GameFileKind::Sound) + 1);
    const std::vector<std::uint8_t> junk { 'n', 'o', 't', ' ', 'm', 'e', 'd', 'i', 'a' };
    writeFile(dir.path() / "MID" / "bad.mid", junk);
    writeFile(dir.path() / "WAV" / "bad.wav", junk);

    SdlMedia media(dir.path(), [] { SDL_Delay(1); });
    std::vector<std::string> told;
    media.tellFaultsTo([&](const std::string& line) { told.push_back(line); });
    ASSERT_TRUE(media.hasDevice()) << SDL_GetError();
    ASSERT_TRUE(media.waitForSynthesiser());
    for (int round = 0; round < 2; ++round) {
        for (const char* name : { "MID\\ok.mid", "MID\\big.mid", "MID\\bad.mid", "MID\\gone.MID", "WAV\\ok.wav",
                 "WAV\\big.wav", "WAV\\bad.wav", "WAV\\gone.WAV", "WAV\\.WAV" }) {
            SCOPED_TRACE(name);
            media.command("open \"" + dir.path().string() + "\\" + name + "\" alias A");
            const bool opens = std::string(name).find("ok") != std::string::npos;
            EXPECT_EQ(media.command("status A mode").empty(), !opens);
            media.command("close A");
        }
    }
    ASSERT_EQ(told.size(), 6u);
    EXPECT_EQ(told[0].rfind("no music: MID/big.mid: file too large", 0), 0u) << told[0];
    EXPECT_EQ(told[1], "no music: MID/bad.mid: not a standard MIDI file");
    EXPECT_EQ(told[2], "no music: MID/gone.MID: file not found");
    EXPECT_EQ(told[3].rfind("no sound: WAV/big.wav: file too large", 0), 0u) << told[3];
    EXPECT_EQ(told[4].rfind("no sound: WAV/bad.wav: ", 0), 0u) << told[4];
    EXPECT_GT(told[4].size(), std::string("no sound: WAV/bad.wav: ").size()); // with the decoder's reason
    EXPECT_EQ(told[5], "no sound: WAV/gone.WAV: file not found");
}

TEST(AssetMusicPlayback, KeepAliveRestartsEveryPieceWithinAFrameOfItsLastBar)
{
    TestContext t;
    for (const NamedBytes& m : makeMusic()) {
        SCOPED_TRACE(m.name);
        writeFile(t.folder() / "MID" / (m.name + ".mid"), m.bytes);
        stopMusic(t.ctx());
        t.ctx().sound.musicName = m.name;
        playMusic(t.ctx());
        const std::uint64_t started = t.platform().nowMs();
        t.clearLines();
        // The field polls once a frame; the second "play" is the loop's restart.
        while (t.lines("media").empty() && t.platform().nowMs() < started + 200000) {
            t.platform().frame();
            PollInput(t.ctx());
        }
        const std::vector<std::string> media = t.lines("media");
        ASSERT_EQ(media.size(), 3u);
        EXPECT_EQ(media[2], "play MIDI1");
        const double restartMs = static_cast<double>(t.platform().nowMs() - started);
        const double endMs = lastBarEndMs(m.bytes);
        EXPECT_GE(restartMs, endMs - 1) << "the device's length is whole milliseconds";
        EXPECT_LE(restartMs, endMs + 50);
    }
}

namespace {

std::vector<double> waveSamples(const std::vector<std::uint8_t>& bytes, int& rate)
{
    std::vector<double> out;
    SDL_AudioSpec format;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!SDL_LoadWAV_RW(rw, 1, &format, &buffer, &length) || format.format != AUDIO_S16LSB || format.channels != 1)
        return out;
    rate = format.freq;
    for (Uint32 i = 0; i + 1 < length; i += 2)
        out.push_back(static_cast<std::int16_t>(buffer[i] | (buffer[i + 1] << 8)) / 32768.0);
    SDL_FreeWAV(buffer);
    return out;
}

// The share of a sound's energy between two frequencies, from its frequency content (a radix-2 fast
// Fourier transform of the sound padded with silence).
double bandShare(const std::vector<double>& s, int rate, double low, double high)
{
    std::size_t n = 1;
    while (n < s.size())
        n *= 2;
    std::vector<std::complex<double>> x(n);
    for (std::size_t i = 0; i < s.size(); ++i)
        x[i] = s[i];
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len *= 2) {
        const std::complex<double> w = std::polar(1.0, -6.283185307179586 / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1;
            for (std::size_t k = 0; k < len / 2; ++k, wk *= w) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * wk;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    }
    double inBand = 0, total = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        const double f = static_cast<double>(k) * rate / static_cast<double>(n);
        const double e = std::norm(x[k]);
        total += e;
        if (f >= low && f <= high)
            inBand += e;
    }
    return total > 0 ? inBand / total : 0;
}

} // namespace

TEST(AssetSound, EveryEffectStartsAndEndsAtZeroWithoutOffsetAndDiesAway)
{
    for (const NamedBytes& e : makeSoundEffects()) {
        SCOPED_TRACE(e.name);
        int rate = 0;
        const std::vector<double> s = waveSamples(e.bytes, rate);
        ASSERT_GT(s.size(), 1000u);
        EXPECT_EQ(s.front(), 0.0);
        EXPECT_EQ(s.back(), 0.0);
        double peak = 0, sum = 0;
        for (double v : s) {
            peak = std::max(peak, std::abs(v));
            sum += v;
        }
        EXPECT_LT(peak, 0.9) << "no sample clips";
        EXPECT_LE(std::abs(sum / static_cast<double>(s.size())), 0.005 * peak) << "no steady offset";
        // The last 20 ms before the final 5 ms fade are 40 dB below the peak: the effect has died
        // away, not been cut off.
        const std::size_t tail = static_cast<std::size_t>(rate / 50), fade = static_cast<std::size_t>(rate / 200);
        double end = 0;
        for (std::size_t i = s.size() - fade - tail; i < s.size() - fade; ++i)
            end = std::max(end, std::abs(s[i]));
        EXPECT_LT(20 * std::log10(end / peak), -40.0);
    }
}

TEST(AssetSound, TheBumpKnocksWhereSmallSpeakersPlay)
{
    for (const NamedBytes& e : makeSoundEffects()) {
        if (e.name != "don")
            continue;
        int rate = 0;
        const std::vector<double> s = waveSamples(e.bytes, rate);
        ASSERT_FALSE(s.empty());
        EXPECT_GT(bandShare(s, rate, 300, 600), 0.3);
        EXPECT_LT(bandShare(s, rate, 0, 200), 0.5);
        return;
    }
    FAIL() << "no \"don\" effect";
}
