#include "data/script_files.h"
#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

    Corrections someCorrections() { return { 3, 5, 7, 11, 13, 17 }; }

    std::vector<ScriptEvent> sampleEvents()
    {
        ScriptEvent guard;
        guard.picture = "0A";
        guard.x = 4;
        guard.y = 6;
        guard.text = "1";
        guard.speed = 2;
        guard.lines = { { utf8ToCp932("「ここは町だ、ようこそ。」"), "NEX" }, { "", "FLG:*done,END" },
            { "", "LBL done:END" } };
        ScriptEvent chest;
        chest.picture = "05";
        chest.x = 0;
        chest.y = 0;
        chest.text = "";
        chest.speed = 0;
        chest.lines = {};
        return { guard, chest };
    }

    TEST(ScriptFiles, PictureCodesKeepTheirLastTwoCharacters)
    {
        EXPECT_EQ(normalisePictureCode("5"), "05");
        EXPECT_EQ(normalisePictureCode(""), "00");
        EXPECT_EQ(normalisePictureCode("1A2"), "A2");
    }

    TEST(ScriptFiles, MapEventsRoundTripWithCorrections)
    {
        Corrections c = someCorrections();
        std::string bytes = writeMapEvents(sampleEvents(), c);
        EXPECT_EQ(bytes.substr(0, 18), "0A,\r\n7,11,1,9,\r\n\x81\x75");
        EXPECT_EQ(readMapEvents(bytesOf(bytes), c), sampleEvents());
    }

    TEST(ScriptFiles, MapEventsAsAnEditorWritesThem)
    {
        // Unpadded picture codes, a message "99" ending the lines, "099" ending the events.
        auto events = readMapEvents(bytesOf("5\r\n10,20,\"2\",9\r\nhello,NEX\r\n,END\r\n99\r\n"
                                            "1B\r\n3,5,x,7\r\n99\r\n099\r\nignored"),
            { 3, 5, 7, 0, 0, 0 });
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].picture, "05");
        EXPECT_EQ(events[0].x, 7);
        EXPECT_EQ(events[0].y, 15);
        EXPECT_EQ(events[0].text, "2");
        EXPECT_EQ(events[0].speed, 2);
        EXPECT_EQ(events[0].lines, (std::vector<ScriptLine> { { "hello", "NEX" }, { "", "END" } }));
        EXPECT_EQ(events[1].picture, "1B");
        EXPECT_TRUE(events[1].lines.empty());
        EXPECT_TRUE(readMapEvents(bytesOf("99\r\n"), {}).empty());
    }

    TEST(ScriptFiles, StoryScriptsRoundTripAndOnlyTheOpeningHasATrailer)
    {
        StoryScript script;
        script.lead = 3;
        script.lines = { { utf8ToCp932("むかしむかし"), "PUS 50:NEX" }, { "", "END" } };
        script.trailer = { 1, 2, 3, 4, 5, 6, 7, 8 };
        std::string opening = writeStoryScript(script, StoryKind::Opening);
        EXPECT_EQ(readStoryScript(bytesOf(opening), StoryKind::Opening), script);

        std::string ending = writeStoryScript(script, StoryKind::Ending);
        EXPECT_EQ(ending.find("1,2,3"), std::string::npos);
        StoryScript read = readStoryScript(bytesOf(ending), StoryKind::Ending);
        EXPECT_EQ(read.lines, script.lines);
        EXPECT_EQ(read.trailer, (std::array<float, 8> {}));

        // The opening file's trailer is part of its layout.
        EXPECT_THROW(readStoryScript(bytesOf(ending), StoryKind::Opening), FileError);
    }

    TEST(ScriptFiles, LimitsOfLinesAndEvents)
    {
        std::string lines;
        for (int l = 0; l < maxScriptLines; ++l)
            lines += "m,NEX\r\n";
        auto withLines = [&](const std::string& body) { return bytesOf("1\r\n" + body + "99\r\n"); };
        EXPECT_EQ(readStoryScript(withLines(lines), StoryKind::Ending).lines.size(), 100u);
        EXPECT_THROW(readStoryScript(withLines(lines + "m,NEX\r\n"), StoryKind::Ending), FileError);

        std::string events;
        for (int e = 0; e < maxScriptEvents; ++e)
            events += "01,1,1,,0,99,";
        EXPECT_EQ(readMapEvents(bytesOf(events + "99"), {}).size(), 101u);
        EXPECT_THROW(readMapEvents(bytesOf(events + "01,1,1,,0,99,99"), {}), FileError);

        std::vector<ScriptEvent> tooMany(102);
        for (auto& e : tooMany)
            e.picture = "01";
        EXPECT_THROW(writeMapEvents(tooMany, {}), FileError);
        StoryScript longScript;
        longScript.lines.resize(101);
        EXPECT_THROW(writeStoryScript(longScript, StoryKind::Ending), FileError);
    }

    TEST(ScriptFiles, UnterminatedOrUnwritableScriptsAreFileErrors)
    {
        EXPECT_THROW(readStoryScript(bytesOf("1\r\nm,NEX\r\n"), StoryKind::Ending), FileError);
        EXPECT_THROW(readStoryScript(bytesOf(""), StoryKind::Ending), FileError);
        EXPECT_THROW(readMapEvents(bytesOf("01,1,1,,0,m,NEX,"), {}), FileError);
        EXPECT_THROW(readMapEvents(bytesOf("01,x,1,,0,99,99"), {}), FileError);
        EXPECT_THROW(readMapEvents(bytesOf(""), {}), FileError);

        StoryScript script;
        script.lines = { { "99", "NEX" } };
        EXPECT_THROW(writeStoryScript(script, StoryKind::Ending), FileError);
        auto events = sampleEvents();
        events[1].picture = "199";
        EXPECT_THROW(writeMapEvents(events, {}), FileError);
    }

} // namespace
} // namespace vorn
