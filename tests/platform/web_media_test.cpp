// The web back end's media device: what the page is told to play, how long a waited effect
// holds the game, and when the music answers "stopped" so that the game restarts it.
#include "platform/web/web_media.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace vorn {
namespace {

    using Bytes = std::vector<std::uint8_t>;

    void put(Bytes& b, std::uint32_t value, int bytes, bool bigEndian = false)
    {
        for (int i = 0; i < bytes; ++i) {
            int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            b.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void tag(Bytes& b, const char* text)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<std::uint8_t>(text[i]));
    }

    // A mono 8-bit PCM WAVE file of `frames` frames at 8000 Hz.
    Bytes wave(std::uint32_t frames)
    {
        Bytes b;
        tag(b, "RIFF");
        put(b, 36 + frames, 4);
        tag(b, "WAVE");
        tag(b, "fmt ");
        put(b, 16, 4);
        put(b, 1, 2); // PCM
        put(b, 1, 2); // mono
        put(b, 8000, 4);
        put(b, 8000, 4);
        put(b, 1, 2);
        put(b, 8, 2);
        tag(b, "data");
        put(b, frames, 4);
        b.resize(b.size() + frames, 0x80);
        return b;
    }

    // A format-0 MIDI file with one note lasting `quarters` quarter notes at 120 beats a minute
    // (500 ms a quarter note).
    Bytes midi(std::uint32_t quarters)
    {
        Bytes track;
        track.insert(track.end(), { 0x00, 0x90, 60, 100 });
        // The note-off's delta time as a variable-length number of 480 ticks a quarter note.
        std::uint32_t ticks = quarters * 480;
        Bytes delta { static_cast<std::uint8_t>(ticks & 0x7F) };
        for (ticks >>= 7; ticks; ticks >>= 7)
            delta.insert(delta.begin(), static_cast<std::uint8_t>(0x80 | (ticks & 0x7F)));
        track.insert(track.end(), delta.begin(), delta.end());
        track.insert(track.end(), { 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00 });
        Bytes b;
        tag(b, "MThd");
        put(b, 6, 4, true);
        put(b, 0, 2, true);
        put(b, 1, 2, true);
        put(b, 480, 2, true);
        tag(b, "MTrk");
        put(b, static_cast<std::uint32_t>(track.size()), 4, true);
        for (std::uint8_t byte : track)
            b.push_back(byte);
        return b;
    }

    struct Played {
        std::vector<std::string> calls; // "effect NAME", "stop effect", "music", "stop music"
        Bytes lastMusic;
        Bytes lastEffect;
    };

    class FakeOutput : public AudioOutput {
    public:
        explicit FakeOutput(Played& played)
            : m_played(played)
        {
        }
        void playEffect(const std::string& name, const Bytes& bytes) override
        {
            m_played.calls.push_back("effect " + std::filesystem::path(name).filename().string());
            m_played.lastEffect = bytes;
        }
        void stopEffect() override { m_played.calls.push_back("stop effect"); }
        void playMusic(const Bytes& bytes) override
        {
            m_played.calls.push_back("music");
            m_played.lastMusic = bytes;
        }
        void stopMusic() override { m_played.calls.push_back("stop music"); }

    private:
        Played& m_played;
    };

    class WebMediaTest : public ::testing::Test {
    protected:
        WebMediaTest()
        {
            std::filesystem::create_directories(dir.file("WAV"));
            std::filesystem::create_directories(dir.file("MID"));
        }
        void write(const std::string& name, const Bytes& bytes)
        {
            std::ofstream(dir.file(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        std::string open(const char* folder, const std::string& name, const char* alias)
        {
            return media.command("open \"" + dir.path().string() + "\\" + folder + "\\" + name + "\" alias " + alias);
        }

        test::TempDir dir;
        Played played;
        FakeOutput output { played };
        std::uint64_t now = 10000;
        std::vector<std::uint64_t> waits;
        WebMedia media { dir.path(), output, [this] { return now; },
            [this](std::uint64_t until) {
                waits.push_back(until);
                now = until;
            } };
    };

    TEST_F(WebMediaTest, AWaitedEffectIsHandedToThePageAndHoldsTheGameForItsLength)
    {
        write("WAV/hit.WAV", wave(2001)); // 250.125 ms
        open("WAV", "HIT.wav", "WAVE1");
        media.command("play WAVE1 notify wait");
        EXPECT_EQ(played.calls, (std::vector<std::string> { "effect hit.WAV" }));
        EXPECT_EQ(played.lastEffect, wave(2001));
        // Rounded up to whole milliseconds, so the game never goes on before the sound is over.
        EXPECT_EQ(waits, (std::vector<std::uint64_t> { 10251 }));

        // Without "wait" the game goes on at once; the lower-case alias closes the effect.
        media.command("play WAVE1");
        EXPECT_EQ(waits.size(), 1u);
        media.command("close wave1");
        media.command("play WAVE1 notify wait");
        EXPECT_EQ(played.calls, (std::vector<std::string> { "effect hit.WAV", "effect hit.WAV", "stop effect" }));
        EXPECT_EQ(waits.size(), 1u);
    }

    TEST_F(WebMediaTest, AnEffectThatCannotBeReadPlaysNothingAndHoldsNothing)
    {
        write("WAV/text.WAV", Bytes { 'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e' });
        for (const char* name : { "missing.WAV", "text.WAV", "..\\WAV\\text.WAV" }) {
            open("WAV", name, "WAVE1");
            media.command("play WAVE1 notify wait");
            media.command("close WAVE1");
        }
        EXPECT_TRUE(played.calls.empty());
        EXPECT_TRUE(waits.empty());
    }

    TEST_F(WebMediaTest, APiecePlaysForItsLengthThenAnswersStoppedAndStartsAgainOnPlay)
    {
        write("MID/town.MID", midi(4)); // 2000 ms
        open("MID", "town.MID", "MIDI1");
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "stopped"); // opened, not yet played
        media.command("play MIDI1");
        EXPECT_EQ(played.lastMusic, midi(4));
        now += 1999;
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "playing");
        // A play while it plays leaves it playing, from where it is.
        media.command("play MIDI1");
        EXPECT_EQ(played.calls, (std::vector<std::string> { "music" }));
        now += 1;
        EXPECT_EQ(media.command("status midi1 mode wait"), "stopped");
        // Played again after its end, it starts from its beginning for another whole length.
        media.command("play MIDI1");
        EXPECT_EQ(played.calls, (std::vector<std::string> { "music", "music" }));
        now += 1999;
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "playing");
    }

    TEST_F(WebMediaTest, AVeryShortPieceCountsAsPlayingForTheShortestLoop)
    {
        write("MID/blip.MID", midi(0));
        open("MID", "blip.MID", "MIDI1");
        media.command("play MIDI1");
        now += 999;
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "playing");
        now += 1;
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "stopped");
    }

    TEST_F(WebMediaTest, ClosingOrReplacingThePieceStopsThePageAndAMissingPieceStaysSilent)
    {
        write("MID/a.MID", midi(8));
        write("MID/b.MID", midi(2));
        open("MID", "a.MID", "MIDI1");
        media.command("play MIDI1");
        // Opening another piece over a playing one stops the first.
        open("MID", "b.MID", "MIDI1");
        media.command("play MIDI1");
        EXPECT_EQ(played.lastMusic, midi(2));
        media.command("close MIDI1");
        EXPECT_EQ(played.calls, (std::vector<std::string> { "music", "stop music", "music", "stop music" }));
        // A closed alias answers nothing, so the game does not restart it at every poll.
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "");

        open("MID", "gone.MID", "MIDI1");
        media.command("play MIDI1");
        EXPECT_EQ(media.command("status MIDI1 mode wait"), "");
        media.command("close MIDI1");
        EXPECT_EQ(played.calls.size(), 4u);
    }

} // namespace
} // namespace vorn
