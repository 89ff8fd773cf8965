#include "script_fixture.h"

#include "core/context.h"
#include "script/arguments.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    // Reads arguments from a command string placed on line 0 of event 0.
    struct Parser {
        ScriptFixture f;

        void start(const std::string& commands)
        {
            f.setEvent(0, { { "", commands } });
            ScriptState& s = f.ctx().script;
            s.event = 0;
            s.entryLine = 0;
            s.lineOffset = 0;
            s.position = 1;
        }
        float next()
        {
            ParseArgument(f.ctx(), 0);
            return f.ctx().script.args[0];
        }
        std::string token() const { return const_cast<Parser*>(this)->f.ctx().script.currentToken; }
    };

    TEST(Arguments, RandomTokens)
    {
        Parser p;
        for (int i = 0; i < 50; ++i) {
            p.start("?1,?0,?6,-?6,+?6");
            EXPECT_EQ(p.next(), 0);
            EXPECT_EQ(p.next(), 0);
            float six = p.next();
            EXPECT_TRUE(six >= 0 && six <= 5 && six == static_cast<int>(six)) << six;
            float negative = p.next();
            EXPECT_TRUE(negative <= 0 && negative >= -5) << negative;
            EXPECT_EQ(p.token()[0], '-');
            float positive = p.next();
            EXPECT_TRUE(positive >= 0 && positive <= 5) << positive;
            EXPECT_EQ(p.token()[0], '+');
        }
    }

    TEST(Arguments, FlagReferences)
    {
        Parser p;
        p.f.flag(3, 7) = 12;
        p.f.flag(1, 2) = 7;
        p.f.flag(3, 4) = 2.5f;
        p.start("@3-7,@3-@1-2,-@3-7,+@3-7,@3-4");
        EXPECT_EQ(p.next(), 12);
        EXPECT_EQ(p.token(), "12");
        EXPECT_EQ(p.next(), 12);
        EXPECT_EQ(p.next(), -12);
        EXPECT_EQ(p.token(), "-12");
        EXPECT_EQ(p.next(), 12);
        EXPECT_EQ(p.token(), "+12");
        EXPECT_EQ(p.next(), 2.5f);
        EXPECT_EQ(p.token(), "2.5");
    }

    TEST(Arguments, TokensSeparatorsBlanksAndNumbers)
    {
        Parser p;
        p.start("1 2:3;4|5!6)7(8&9\\10_&H1F,&hff,abc,12abc,-3.5,,");
        std::vector<float> values;
        for (int i = 0; i < 17; ++i)
            values.push_back(p.next());
        EXPECT_EQ(values, (std::vector<float> { 12, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0, 0, 12, -3.5f, 0 }));
        // "&" is a separator, so "&H1F" never reaches the number reader in a command string.
        EXPECT_EQ(tokenValue("&H1F"), 31);
        EXPECT_EQ(tokenValue("&hff"), 255);
        EXPECT_EQ(tokenValue("1e3"), 1000);
        EXPECT_EQ(tokenValue("-"), 0);
        EXPECT_EQ(tokenValue("--5"), 0);
    }

    TEST(Arguments, FlagTextFormat)
    {
        EXPECT_EQ(flagText(12), "12");
        EXPECT_EQ(flagText(-3), "-3");
        EXPECT_EQ(flagText(-0.0f), "0");
        EXPECT_EQ(flagText(0.5f), "0.5");
        EXPECT_EQ(flagText(1e9f), "1000000000");
        EXPECT_EQ(tokenValue(flagText(10.0f / 3)), 10.0f / 3);
        EXPECT_EQ(tokenValue(flagText(1e-7f)), 1e-7f);
        EXPECT_EQ(flagText(1e-7f).find('e'), std::string::npos);
    }

    TEST(Arguments, FstValueForms)
    {
        ScriptFixture f;
        f.flag(3, 3) = 2;
        f.setEvent(0, { { "", "FST,3,3,+5,NEX" }, { "", "FST,1,2,@3-3,FST,3,3,5,FST,3,3,*3,FST,4,4,'1F',THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 2), 7);
        EXPECT_EQ(f.flag(3, 3), 15);
        EXPECT_EQ(f.flag(4, 4), 31);

        ScriptFixture g;
        g.flag(1, 1) = 10;
        g.setEvent(0, { { "", "FST,1,1,/4,FST,2,2,-3,FST,2,3,@1-1,THR" } });
        g.run();
        EXPECT_EQ(g.flag(1, 1), 2.5f);
        EXPECT_EQ(g.flag(2, 2), -3);
        EXPECT_EQ(g.flag(2, 3), 2.5f);
    }

    TEST(Arguments, CkfBranches)
    {
        struct Case {
            float flag;
            const char* value;
            const char* op;
            bool taken;
        };
        for (Case c : { Case { 5, "5", "=", true }, Case { 5, "4", ">", true }, Case { 5, "5", ">=", true },
                 Case { 5, "6", "<", true }, Case { 5, "5", "<=", true }, Case { 5, "4", "<>", true },
                 Case { 5, "5", "<>", false }, Case { 5, "5", "=>", false }, Case { 5, "5", "==", false },
                 Case { 31, "'1F'", "=", true }, Case { 5, "6", ">", false } }) {
            ScriptFixture f;
            f.flag(1, 1) = c.flag;
            std::string ckf = std::string("CKF,1,1,") + c.value + "," + c.op + ",NEX,2";
            f.setEvent(0, { { "", ckf }, { "true", "THR" }, { "false", "THR" } });
            f.run();
            EXPECT_EQ(f.texts(), std::vector<std::string> { c.taken ? "true" : "false" }) << ckf;
        }
    }

    TEST(Arguments, LabelSearchNeedsSeparatorAfterLabel)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "JMP,*here" }, { "wrong", "LBL,here" }, { "right", "LBL,here,THR" } });
        // The label at the very end of line 1 is not seen; line 2's is.
        f.run();
        EXPECT_EQ(f.texts(), std::vector<std::string> { "right" });

        ScriptFixture g;
        g.setEvent(0, { { "", "JMP,*here" }, { "", "LBL,here" } });
        EXPECT_NE(g.runExpectingEventError().find("label here"), std::string::npos);
    }

    TEST(Arguments, LabelTargetIsRelativeToEntryLineAndOffset)
    {
        ScriptFixture f;
        f.flag(2, 0) = 2; // the event starts at line 2
        f.setEvent(0, { { "", "LBL,back,THR" }, { "one", "THR" }, { "two", "NEX" }, { "three", "JMP,*back" } });
        f.run();
        EXPECT_EQ(f.texts(), (std::vector<std::string> { "two", "three" }));
        EXPECT_EQ(f.ctx().script.lineOffset, -2);
    }

    TEST(Arguments, NegativeJumpGoesBack)
    {
        ScriptFixture f;
        f.setEvent(0, { { "top", "FST,1,1,+1,NEX" }, { "", "CKF,1,1,3,<,-1,NEX" }, { "done", "THR" } });
        f.run();
        EXPECT_EQ(f.texts(), (std::vector<std::string> { "top", "top", "top", "done" }));
    }

    // Characters whose second cp932 byte is a separator (\\ 0x5C, | 0x7C, _ 0x5F) stay whole in
    // keywords, arguments, labels and event targets.
    class DoubleByteSeparator : public ::testing::TestWithParam<const char*> { };

    TEST_P(DoubleByteSeparator, LabelsTargetsAndArgumentsReadWholeCharacters)
    {
        const std::string c = GetParam();
        const std::string cp = utf8ToCp932(c);
        ASSERT_EQ(cp.size(), 2u);
        using Lines = std::vector<std::string>;
        auto lines = [](std::vector<std::pair<std::string, std::string>> l) {
            for (auto& line : l)
                line.second = utf8ToCp932(line.second);
            return l;
        };

        // A label holding the character: the jump finds its own label, not one that shares the
        // first byte; after LBL the next keyword is read from the right place.
        auto runToEnd = [](ScriptFixture& f) {
            try {
                f.run();
            } catch (const ProgramEnd& end) {
                f.explainEnd(end);
            }
        };
        ScriptFixture jump;
        jump.setEvent(0, lines({ { "", "JMP,*x" + c + "y," }, { "wrong", "LBL,x" + c + "z,THR" }, { "right", "LBL,x" + c + "y,NEX" }, { "after", "THR" } }));
        runToEnd(jump);
        EXPECT_EQ(jump.texts(), (Lines { "right", "after" }));

        // A MES target in another event.
        ScriptFixture mes;
        mes.setEvent(0, lines({ { "", "MES,*m" + c + "," } }));
        mes.setEvent(1, lines({ { "wrong", "LBL,m" + c + "q,THR" }, { "target", "LBL,m" + c + ",NEX" }, { "after", "THR" } }));
        runToEnd(mes);
        EXPECT_EQ(mes.texts(), (Lines { "target", "after" }));

        // A picture name as an argument: the whole name is one token and the next argument
        // follows it.
        Parser p;
        p.start(utf8ToCp932("KAO" + c + c + ".bmp,3,a" + c));
        p.next();
        EXPECT_EQ(p.token(), utf8ToCp932("KAO" + c + c + ".bmp"));
        EXPECT_EQ(p.next(), 3);
        p.next();
        EXPECT_EQ(p.token(), utf8ToCp932("a" + c));
    }

    INSTANTIATE_TEST_SUITE_P(SecondByteIsASeparator, DoubleByteSeparator,
        ::testing::Values("ソ", "表", "能", "予", "十", "申", "構", "―", "ポ", "ダ", "噂", "貼", "暴", "欺"));

} // namespace
} // namespace vorn::test
