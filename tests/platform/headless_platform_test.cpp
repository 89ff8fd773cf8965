#include "platform/game_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/media_command.h"
#include "platform/wave_length.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vorn {
namespace {

    using Bytes = std::vector<std::uint8_t>;

    void put16(Bytes& b, std::uint32_t v)
    {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void put32(Bytes& b, std::uint32_t v)
    {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    }
    void append(Bytes& b, const Bytes& more)
    {
        for (std::uint8_t byte : more)
            b.push_back(byte);
    }
    void chunk(Bytes& b, const char* tag, const Bytes& body, std::uint32_t declared)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<std::uint8_t>(tag[i]));
        put32(b, declared);
        append(b, body);
        if (body.size() % 2)
            b.push_back(0);
    }
    Bytes formatChunk(std::uint32_t format, std::uint32_t channels, std::uint32_t rate, std::uint32_t blockAlign,
        std::uint32_t bits, std::uint32_t framesPerBlock = 0)
    {
        Bytes f;
        put16(f, format);
        put16(f, channels);
        put32(f, rate);
        put32(f, rate * blockAlign);
        put16(f, blockAlign);
        put16(f, bits);
        if (framesPerBlock) {
            put16(f, 2);
            put16(f, framesPerBlock);
        }
        return f;
    }
    Bytes wave(const std::vector<Bytes>& chunks)
    {
        Bytes b;
        for (char c : std::string("RIFF\0\0\0\0WAVE", 12))
            b.push_back(static_cast<std::uint8_t>(c));
        for (const Bytes& c : chunks)
            append(b, c);
        return b;
    }
    Bytes oneChunk(const char* tag, const Bytes& body, std::uint32_t declared)
    {
        Bytes b;
        chunk(b, tag, body, declared);
        return b;
    }
    Bytes oneChunk(const char* tag, const Bytes& body) { return oneChunk(tag, body, static_cast<std::uint32_t>(body.size())); }

    TEST(WaveLength, PcmCountsWholeFramesOverTheRate)
    {
        // 16-bit stereo at 22050 Hz: 4 bytes a frame; 11025 frames and a stray byte are half a second.
        Bytes fmt = formatChunk(1, 2, 22050, 4, 16);
        Bytes data(11025 * 4 + 1);
        // An odd-sized chunk before the data is padded to an even size.
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", fmt), oneChunk("LIST", Bytes(3)), oneChunk("data", data) })), 500000u);
        // A data chunk that claims more than the file holds counts the bytes present.
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", fmt), oneChunk("data", Bytes(2205 * 4), 1u << 30) })), 100000u);
    }

    TEST(WaveLength, AdpcmCountsTheFactFramesOrWholeBlocks)
    {
        Bytes fmt = formatChunk(0x11, 1, 8000, 256, 4, 505);
        Bytes fact;
        put32(fact, 4000);
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", fmt), oneChunk("fact", fact), oneChunk("data", Bytes(256 * 8)) })),
            500000u);
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", fmt), oneChunk("data", Bytes(256 * 16)) })), 16ull * 505 * 1000000 / 8000);
    }

    TEST(WaveLength, WhatIsNotAReadableWaveHasNoLength)
    {
        Bytes fmt = formatChunk(1, 1, 8000, 1, 8);
        EXPECT_EQ(waveLengthUs({}), 0u);
        EXPECT_EQ(waveLengthUs(Bytes { 'R', 'I', 'F', 'F' }), 0u);
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("data", Bytes(100)) })), 0u); // no format
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", fmt) })), 0u); // no data
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", formatChunk(1, 1, 0, 1, 8)), oneChunk("data", Bytes(8)) })), 0u);
        EXPECT_EQ(waveLengthUs(wave({ oneChunk("fmt ", formatChunk(1, 1, 8000, 0, 8)), oneChunk("data", Bytes(8)) })), 0u);
        Bytes cut = wave({ oneChunk("fmt ", fmt), oneChunk("data", Bytes(8000)) });
        cut.resize(30); // inside the format chunk
        EXPECT_EQ(waveLengthUs(cut), 0u);
    }

    TEST(MediaCommandText, VerbsAliasesPathsAndWordsParseWithoutRegardToCase)
    {
        MediaCommand open = parseMediaCommand("  OPEN \"C:\\game dir\\WAV\\a b.wav\" type waveaudio Alias wave1");
        EXPECT_EQ(open.verb, MediaCommand::Verb::Open);
        EXPECT_EQ(open.path, "C:\\game dir\\WAV\\a b.wav");
        EXPECT_EQ(open.alias, "WAVE1");
        EXPECT_EQ(parseMediaCommand("open x alias alias midi1").alias, "MIDI1"); // the last one counts
        EXPECT_EQ(parseMediaCommand("open \"unclosed path alias A").path, "unclosed path alias A");
        EXPECT_EQ(parseMediaCommand("open x alias").alias, "");

        MediaCommand play = parseMediaCommand("play Wave1 NOTIFY wait");
        EXPECT_EQ(play.verb, MediaCommand::Verb::Play);
        EXPECT_EQ(play.alias, "WAVE1");
        EXPECT_TRUE(play.wait);
        EXPECT_EQ(play.item, "");
        MediaCommand status = parseMediaCommand("Status midi1 mode wait");
        EXPECT_EQ(status.verb, MediaCommand::Verb::Status);
        EXPECT_EQ(status.item, "mode");
        EXPECT_TRUE(status.wait);
        EXPECT_EQ(parseMediaCommand("close MIDI1").verb, MediaCommand::Verb::Close);
        EXPECT_EQ(parseMediaCommand("stop MIDI1").verb, MediaCommand::Verb::Unknown);
        EXPECT_EQ(parseMediaCommand("").verb, MediaCommand::Verb::Unknown);
        EXPECT_EQ(parseMediaCommand("   ").verb, MediaCommand::Verb::Unknown);
    }

    TEST(HeadlessPlatform, LocalTimeIsTheVirtualClockFromTheStartOf2000)
    {
        HeadlessPlatform platform({});
        LocalTime t = platform.localTime();
        EXPECT_EQ(std::vector<int>({ t.year, t.month, t.day, t.hour, t.minute, t.second }),
            std::vector<int>({ 2000, 1, 1, 0, 0, 0 }));
        // 59 days and 1:02:03.5 later is leap day 2000-02-29.
        platform.waitUntil((59ull * 86400 + 3723) * 1000 + 500);
        t = platform.localTime();
        EXPECT_EQ(std::vector<int>({ t.year, t.month, t.day, t.hour, t.minute, t.second }),
            std::vector<int>({ 2000, 2, 29, 1, 2, 3 }));
        platform.waitUntil(366ull * 86400 * 1000);
        t = platform.localTime();
        EXPECT_EQ(std::vector<int>({ t.year, t.month, t.day }), std::vector<int>({ 2001, 1, 1 }));
    }

    TEST(HeadlessPlatform, ARestartedPlatformPlaysItsTimelineAgainFromTimeZero)
    {
        HeadlessOptions options;
        std::string error;
        options.timeline = *parseTimeline("wait 100\nhold space\nwait 50\n", error);
        HeadlessPlatform platform(std::move(options));
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            platform.start();
            EXPECT_EQ(platform.nowMs(), 0u);
            EXPECT_FALSE(platform.keyHeld(vk::Space));
            platform.waitUntil(120);
            EXPECT_TRUE(platform.keyHeld(vk::Space));
            platform.frame();
            EXPECT_GT(platform.frames(), 0u);
            platform.screen().at(5, 5) = 0xFFFFFF;
            platform.restart();
            EXPECT_EQ(platform.frames(), 0u);
            EXPECT_EQ(platform.screen().at(5, 5), 0u);
        }
    }

#if !defined(NDEBUG) || defined(VORN_ASSERTIONS)
    // Debug and sanitizer builds stop at a frame whose screen changed without its count; a
    // platform told to check every 4th frame finds it at the 4th.
    TEST(HeadlessPlatformDeathTest, AnUncountedDrawingStopsTheRunAtTheNextCheckedFrame)
    {
        for (unsigned every : { 1u, 4u }) {
            SCOPED_TRACE(every);
            HeadlessOptions options;
            options.drawingCheckEvery = every;
            HeadlessPlatform platform(std::move(options));
            platform.screen().at(5, 5) = 0xFFFFFF;
            platform.screen().changed();
            for (unsigned i = 0; i < every; ++i)
                platform.frame(); // counted: no stop
            platform.screen().at(6, 5) = 0xFFFFFF;
            for (unsigned i = 0; i + 1 < every; ++i)
                platform.frame(); // not checked yet
            EXPECT_DEATH(platform.frame(), "the screen changed without counting a change");
        }
    }
#endif

    HeadlessOptions endingAfter(const std::string& timeline)
    {
        HeadlessOptions options;
        std::string error;
        options.timeline = *parseTimeline(timeline, error);
        options.endWhenTimelineRunsOut = true;
        return options;
    }

    TEST(HeadlessPlatform, ARunEndsThroughItsHandlerOrItsOwnType)
    {
        HeadlessPlatform plain(endingAfter("wait 100\n"));
        try {
            plain.waitUntil(1000);
            FAIL() << "the run went on after its timeline";
        } catch (const HeadlessRunEnded& end) {
            EXPECT_EQ(end.why, HeadlessEnd::TimelineDone);
        }

        struct Ended {
            HeadlessEnd why;
        };
        HeadlessOptions options = endingAfter("expect never 50\n");
        options.onEnd = [](HeadlessEnd why) { throw Ended { why }; };
        HeadlessPlatform handled(std::move(options));
        try {
            handled.waitUntil(1000);
            FAIL() << "the run went on after the expect timed out";
        } catch (const Ended& end) {
            EXPECT_EQ(end.why, HeadlessEnd::ExpectTimedOut);
        }
    }

    // Transcript lines are kept only while an `expect` is still ahead: one written before a
    // later expect still meets it, and a long run past its last expect (or without any) keeps
    // nothing.
    TEST(HeadlessPlatform, TranscriptLinesAreKeptOnlyForAnExpectAhead)
    {
        std::string error;
        HeadlessOptions options;
        options.timeline = *parseTimeline("wait 100\nexpect early 1000\nwait 100\n", error);
        HeadlessPlatform platform(std::move(options));
        platform.start();
        platform.observeTranscript("text", "early bird");
        platform.waitUntil(500); // the expect is met by the line written before it
        EXPECT_EQ(platform.linesKeptForExpect(), 0u);
        for (int i = 0; i < 1000; ++i)
            platform.observeTranscript("text", "line");
        EXPECT_EQ(platform.linesKeptForExpect(), 0u);

        HeadlessPlatform none({});
        none.start();
        for (int i = 0; i < 1000; ++i)
            none.observeTranscript("text", "line");
        EXPECT_EQ(none.linesKeptForExpect(), 0u);
    }

    TEST(HeadlessPlatform, SoundAndMusicOverTheirSizeLimitsAreRefusedLikeMissingFiles)
    {
        test::TempDir dir;
        std::filesystem::create_directories(dir.path() / "WAV");
        std::filesystem::create_directories(dir.path() / "MID");
        Bytes fmt = formatChunk(1, 1, 8000, 1, 8);
        Bytes half = wave({ oneChunk("fmt ", fmt), oneChunk("data", Bytes(4000)) }); // half a second
        std::ofstream(dir.path() / "WAV" / "ok.WAV", std::ios::binary)
            .write(reinterpret_cast<const char*>(half.data()), static_cast<std::streamsize>(half.size()));
        std::filesystem::copy_file(dir.path() / "WAV" / "ok.WAV", dir.path() / "WAV" / "big.WAV");
        std::filesystem::resize_file(dir.path() / "WAV" / "big.WAV", gameFileLimit(GameFileKind::Sound) + 1);
        std::ofstream(dir.path() / "MID" / "big.MID", std::ios::binary) << "MThd";
        std::filesystem::resize_file(dir.path() / "MID" / "big.MID", gameFileLimit(GameFileKind::Music) + 1);

        HeadlessOptions options;
        options.startDirectory = dir.path();
        HeadlessPlatform platform(std::move(options));
        auto playWave = [&](const std::string& name) {
            std::uint64_t before = platform.nowMs();
            platform.mediaCommand("open \"" + dir.path().string() + "\\WAV\\" + name + "\" alias WAVE1");
            platform.mediaCommand("play WAVE1 wait");
            platform.mediaCommand("close WAVE1");
            return platform.nowMs() - before;
        };
        EXPECT_EQ(playWave("ok.WAV"), 500u); // a wave played with wait takes its length
        EXPECT_EQ(playWave("big.WAV"), 0u); // not opened: nothing plays
        platform.mediaCommand("open \"" + dir.path().string() + "\\MID\\big.MID\" alias MIDI1");
        platform.mediaCommand("play MIDI1");
        EXPECT_EQ(platform.mediaCommand("status MIDI1 mode"), ""); // a closed alias answers nothing
    }

} // namespace
} // namespace vorn
