// The PO catalogue reader and writer: what translation editors write reads back as entries, what
// the writer writes reads back unchanged, and a malformed catalogue is refused with its line.
#include "platform/po_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vorn;

TEST(PoFile, ReadsEntriesAsEditorsWriteThem)
{
    std::string text = "\xEF\xBB\xBF# translator's note\r\n"
                       "msgid \"\"\r\n"
                       "msgstr \"\"\r\n"
                       "\"Content-Type: text/plain; charset=UTF-8\\n\"\r\n"
                       "\r\n"
                       "#. what the text is\n"
                       "#: DAT/vornT005.dat\n"
                       "#, fuzzy, c-format\n"
                       "msgctxt \"DAT/vornT005.dat/event 3/line 7\"\n"
                       "msgid \"\"\n"
                       "\"宿屋へ\\nようこそ\"\n"
                       "msgstr \"Welcome \\\"to\\\"\\tthe inn\\\\\"\n"
                       "#~ msgid \"gone\"\n"
                       "#~ msgstr \"weg\"\n"
                       "msgctxt \"b\"\n"
                       "msgid \"one\"\n"
                       "msgid_plural \"many\"\n"
                       "msgstr[0] \"\\101\\x42\"\n"
                       "msgstr[1] \"others\"\n";
    std::vector<PoEntry> entries = readPoText(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, "");
    EXPECT_EQ(entries[0].translation, "Content-Type: text/plain; charset=UTF-8\n");
    const PoEntry& line = entries[1];
    EXPECT_EQ(line.context, "DAT/vornT005.dat/event 3/line 7");
    EXPECT_EQ(line.id, "宿屋へ\nようこそ");
    EXPECT_EQ(line.translation, "Welcome \"to\"\tthe inn\\");
    EXPECT_TRUE(line.fuzzy);
    EXPECT_EQ(line.comments, std::vector<std::string> { "what the text is" });
    EXPECT_EQ(line.references, std::vector<std::string> { "DAT/vornT005.dat" });
    // Obsolete entries are left out; of plural forms the first is the translation.
    EXPECT_EQ(entries[2].context, "b");
    EXPECT_EQ(entries[2].translation, "AB");
    EXPECT_FALSE(entries[2].fuzzy);
}

TEST(PoFile, WrittenEntriesReadBackUnchanged)
{
    std::vector<PoEntry> entries(3);
    entries[0].translation = "Content-Type: text/plain; charset=UTF-8\nLanguage: \n";
    entries[1].context = "items/0/name";
    entries[1].id = "やくそう";
    entries[1].translation = "Herb";
    entries[1].references = { "DAT/vornITM.DAT" };
    entries[1].comments = { "The game fills in {name}; keep it." };
    entries[2].context = "odd";
    entries[2].id = "two\nlines\n";
    entries[2].translation = std::string("quote \" back \\ tab \t cr \r bell \a nul-free \x01 end");
    entries[2].fuzzy = true;
    std::string written = writePoText(entries);
    std::vector<PoEntry> read = readPoText(written);
    ASSERT_EQ(read.size(), entries.size()) << written;
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].context, entries[i].context);
        EXPECT_EQ(read[i].id, entries[i].id);
        EXPECT_EQ(read[i].translation, entries[i].translation);
        EXPECT_EQ(read[i].fuzzy, entries[i].fuzzy);
        EXPECT_EQ(read[i].references, entries[i].references);
        EXPECT_EQ(read[i].comments, entries[i].comments);
    }
    // A text of several lines is written a line of the catalogue per line of the text.
    EXPECT_NE(written.find("msgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Language: \\n\"\n"),
        std::string::npos);
}

TEST(PoFile, MalformedCataloguesAreRefusedWithTheirLine)
{
    struct Case {
        const char* text;
        std::size_t line;
    };
    const Case cases[] = {
        { "msgid \"a\"\nmsgstr \"b\"\nmsgtxt \"c\"\n", 3 }, // an unknown keyword
        { "msgid \"a\"\nmsgstr \"b\n", 2 }, // no closing quote
        { "msgid \"a\\q\"\nmsgstr \"\"\n", 1 }, // an unknown escape
        { "msgid \"a\" x\nmsgstr \"\"\n", 1 }, // text after the string
        { "msgstr \"b\"\n", 1 }, // msgstr without msgid
        { "\n\nmsgctxt \"c\"\nmsgid \"a\"\n\n", 3 }, // no msgstr
        { "msgctxt \"c\"\n\nmsgid \"a\"\nmsgstr \"\"\n", 1 }, // msgctxt without msgid
        { "msgid \"a\"\nmsgstr \"\"\n\nmsgid \"a\"\nmsgstr \"x\"\n", 4 }, // given twice
        { "\"stray\"\n", 1 }, // a string after no keyword
        { "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=Shift_JIS\\n\"\n", 1 },
        { "msgid \"a\"\nmsgstr \"\x82\xA0\"\n", 2 }, // cp932 bytes, not UTF-8
        { "msgid \"a\"\n#, fuzzy\nmsgstr \"b\"\n", 2 }, // a comment inside an entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            readPoText(c.text);
            ADD_FAILURE() << "read without complaint";
        } catch (const PoError& error) {
            EXPECT_EQ(error.line(), c.line) << error.what();
        }
    }
    // The same context with another original, or the same original in another context, is fine.
    EXPECT_EQ(readPoText("msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"\"\nmsgctxt \"b\"\nmsgid \"x\"\nmsgstr \"\"\n").size(), 2u);
}
