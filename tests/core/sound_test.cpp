// Media command strings: their exact text, the switches that gate them, and looping music.
#include "core/sound.h"
#include "core/input.h"
#include "support/test_context.h"

#include "platform/midi_length.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

using vorn::test::TestContext;

namespace {

// A format 0 MIDI file holding one note of `ticks` ticks at 480 ticks a quarter and 120 beats a
// minute (so 480 ticks are 500 ms).
void writeMidi(const std::filesystem::path& path, std::uint32_t ticks)
{
    std::vector<std::uint8_t> track = { 0x00, 0x90, 60, 100 };
    // Delta time as a variable-length number.
    std::vector<std::uint8_t> delta;
    std::uint32_t v = ticks;
    delta.push_back(v & 0x7F);
    while (v >>= 7)
        delta.insert(delta.begin(), static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
    track.insert(track.end(), delta.begin(), delta.end());
    track.insert(track.end(), { 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00 });
    std::vector<std::uint8_t> file = { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k' };
    std::uint32_t n = static_cast<std::uint32_t>(track.size());
    for (int shift : { 24, 16, 8, 0 })
        file.push_back(static_cast<std::uint8_t>(n >> shift));
    file.insert(file.end(), track.begin(), track.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

} // namespace

TEST(Sound, EffectOpensPlaysAndClosesWithExactCommands)
{
    TestContext t;
    vorn::playSound(t.ctx(), "don");
    std::string dir = t.folder().string();
    std::vector<std::string> expected = {
        "open \"" + dir + "\\WAV\\don.WAV\" alias WAVE1",
        "play WAVE1 notify wait",
        "close WAVE1",
    };
    EXPECT_EQ(t.lines("media"), expected);
    EXPECT_EQ(t.ctx().sound.soundName, "don");
}

TEST(Sound, EmptyEffectNameOpensAndClosesWithoutPlaying)
{
    TestContext t;
    vorn::playSound(t.ctx(), "");
    auto media = t.lines("media");
    ASSERT_EQ(media.size(), 2u);
    EXPECT_EQ(media[0].rfind("open ", 0), 0u);
    EXPECT_EQ(media[1], "close WAVE1");
}

TEST(Sound, SwitchesOffSendNoCommandAtAll)
{
    TestContext t;
    t.ctx().settings.soundOn = -1;
    t.ctx().settings.musicOn = 0; // only +1 counts as on
    t.ctx().sound.soundOpen = true;
    t.ctx().sound.musicOpen = true;
    t.ctx().sound.musicName = "town";
    vorn::playSound(t.ctx(), "don");
    vorn::closeSoundChannel(t.ctx());
    vorn::playMusic(t.ctx());
    vorn::stopMusic(t.ctx());
    EXPECT_TRUE(t.lines("media").empty());
    EXPECT_EQ(t.ctx().sound.soundName, "don");
    EXPECT_EQ(t.ctx().sound.musicName, "");
}

// Each switch governs its own channel only: music off leaves the effects sounding, and sound
// off leaves the music playing.
TEST(Sound, EachSwitchSilencesOnlyItsOwnChannel)
{
    auto run = [](float musicOn, float soundOn) {
        TestContext t;
        t.ctx().settings.musicOn = musicOn;
        t.ctx().settings.soundOn = soundOn;
        t.ctx().sound.musicName = "town";
        t.ctx().sound.startDirectory = "G:";
        vorn::playSound(t.ctx(), "don");
        vorn::playMusic(t.ctx());
        t.ctx().sound.soundOpen = true;
        vorn::closeSoundChannel(t.ctx());
        vorn::stopMusic(t.ctx());
        return t.lines("media");
    };
    EXPECT_EQ(run(-1, 1),
        (std::vector<std::string> { "open \"G:\\WAV\\don.WAV\" alias WAVE1", "play WAVE1 notify wait", "close WAVE1",
            "close wave1" }));
    EXPECT_EQ(run(1, -1),
        (std::vector<std::string> { "open \"G:\\MID\\town.MID\" alias MIDI1", "play MIDI1", "close MIDI1" }));
}

TEST(Sound, SoundSwitchClosesWithLowerCaseAlias)
{
    TestContext t;
    t.ctx().sound.soundOpen = true;
    vorn::closeSoundChannel(t.ctx());
    EXPECT_EQ(t.lines("media"), std::vector<std::string> { "close wave1" });
    EXPECT_FALSE(t.ctx().sound.soundOpen);
}

TEST(Sound, MusicOpensWithTheNameCurrentAtThatMoment)
{
    TestContext t;
    t.ctx().sound.musicName = "town";
    vorn::playMusic(t.ctx());
    t.ctx().sound.musicName = "field";
    vorn::playMusic(t.ctx());
    auto media = t.lines("media");
    ASSERT_EQ(media.size(), 3u);
    EXPECT_NE(media[0].find("\\MID\\town.MID\" alias MIDI1"), std::string::npos);
    EXPECT_EQ(media[1], "play MIDI1");
    EXPECT_EQ(media[2], "play MIDI1");
    vorn::stopMusic(t.ctx());
    EXPECT_EQ(t.lines("media").back(), "close MIDI1");
}

TEST(Sound, PieceThatEndedRestartsAtTheNextPollNotEarlier)
{
    TestContext t;
    std::filesystem::create_directory(t.folder() / "MID");
    writeMidi(t.folder() / "MID" / "loop.mid", 1440); // a second and a half
    t.ctx().sound.musicName = "loop";
    vorn::playMusic(t.ctx());
    t.clearLines();
    vorn::PollInput(t.ctx());
    EXPECT_TRUE(t.lines("media").empty()) << "still playing";
    t.platform().waitUntil(1499);
    vorn::PollInput(t.ctx());
    EXPECT_TRUE(t.lines("media").empty());
    t.platform().waitUntil(1800);
    EXPECT_TRUE(t.lines("media").empty()) << "nothing happens between polls";
    vorn::PollInput(t.ctx());
    auto media = t.lines("media");
    ASSERT_EQ(media.size(), 3u);
    EXPECT_EQ(media[0], "close MIDI1");
    EXPECT_NE(media[1].find("loop.MID"), std::string::npos);
    EXPECT_EQ(media[2], "play MIDI1");
}

TEST(Sound, KeepAliveRunsWhileAnotherWindowIsActive)
{
    TestContext t;
    std::filesystem::create_directory(t.folder() / "MID");
    writeMidi(t.folder() / "MID" / "loop.mid", 48);
    t.platform().setActive(false);
    t.ctx().sound.musicName = "loop";
    vorn::playMusic(t.ctx());
    t.platform().waitUntil(vorn::ShortestLoopMs);
    t.clearLines();
    vorn::PollInput(t.ctx());
    EXPECT_EQ(t.lines("media").size(), 3u);
}

TEST(Sound, MissingMusicFileIsNotRestartedOnEveryPoll)
{
    TestContext t;
    t.ctx().sound.musicName = "missing";
    vorn::playMusic(t.ctx());
    t.clearLines();
    for (int i = 0; i < 3; ++i) {
        t.platform().frame();
        vorn::PollInput(t.ctx());
    }
    EXPECT_TRUE(t.lines("media").empty());
}

// A piece of almost nothing (a 64-byte file of one short note) or a file that is not MIDI at all
// must not be closed, opened and played again at every poll: the first loops once a second,
// the second is never opened.
TEST(Sound, TinyOrBrokenMusicIsNotReopenedAtEveryPoll)
{
    TestContext t;
    std::filesystem::create_directory(t.folder() / "MID");
    writeMidi(t.folder() / "MID" / "tiny.mid", 1);
    ASSERT_LE(std::filesystem::file_size(t.folder() / "MID" / "tiny.mid"), 64u);
    std::ofstream(t.folder() / "MID" / "broken.mid", std::ios::binary) << "MThd\0\0\0\6 this is not a piece";
    for (const char* name : { "tiny", "broken" }) {
        SCOPED_TRACE(name);
        vorn::stopMusic(t.ctx());
        t.ctx().sound.musicName = name;
        vorn::playMusic(t.ctx());
        t.clearLines();
        const std::uint64_t start = t.platform().nowMs();
        while (t.platform().nowMs() < start + 10000) {
            t.platform().frame();
            vorn::PollInput(t.ctx());
        }
        const auto media = t.lines("media");
        const long opens = std::count_if(media.begin(), media.end(), [](const std::string& line) { return line.rfind("open", 0) == 0; });
        if (std::string(name) == "tiny") {
            EXPECT_GE(opens, 9); // each loop restarts at the first poll a second after the last
            EXPECT_LE(opens, 10);
        } else {
            EXPECT_EQ(opens, 0);
        }
    }
}

TEST(Sound, EffectTakesItsLengthOfTime)
{
    TestContext t;
    std::filesystem::create_directory(t.folder() / "WAV");
    // 8000 Hz mono 8-bit, 4000 samples: half a second.
    std::vector<std::uint8_t> wav = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1,
        0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a', 0xA0, 0x0F, 0, 0 };
    wav.resize(wav.size() + 4000, 128);
    std::uint32_t riff = static_cast<std::uint32_t>(wav.size() - 8);
    for (int i = 0; i < 4; ++i)
        wav[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
    std::ofstream(t.folder() / "WAV" / "Don.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    auto before = t.platform().nowMs();
    vorn::playSound(t.ctx(), "don");
    EXPECT_EQ(t.platform().nowMs() - before, 500u);
}
