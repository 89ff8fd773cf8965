// What reaches the terminal of a message built from game data: every control character that
// could move the cursor, clear the screen or retitle the window is shown as an escape, and
// everything else (Japanese text, the no-break space) is left as it is.
#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    TEST(TerminalText, ControlCharactersOfEveryRangeBecomeEscapes)
    {
        // C0 (escape, bell, line feed, carriage return), DEL and the C1 control sequence
        // introducer U+009B, which some terminals obey like ESC [.
        EXPECT_EQ(escapeControls("a\x1b]0;title\x07z\r\nb"), "a\\x1b]0;title\\x07z\\x0d\\x0ab");
        EXPECT_EQ(escapeControls("\x7f\xc2\x9b"
                                 "2J"),
            "\\x7f\\u009b2J");
        EXPECT_EQ(escapeControls("\xc2\x80\xc2\x9f"), "\\u0080\\u009f");
        EXPECT_EQ(escapeControls(std::string(1, '\0')), "\\x00");
    }

    TEST(TerminalText, PrintableTextIsLeftAsItIs)
    {
        EXPECT_EQ(escapeControls("GRP\\町の絵.bmp ~"), "GRP\\町の絵.bmp ~");
        EXPECT_EQ(escapeControls("\xc2\xa0\xc2\xa9"), "\xc2\xa0\xc2\xa9") << "U+00A0 and U+00A9 are not controls";
        // A lone lead byte at the end is not a control and is not read past.
        EXPECT_EQ(escapeControls("x\xc2"), "x\xc2");
    }

} // namespace
} // namespace vorn
