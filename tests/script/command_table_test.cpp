// Every command reads exactly the arguments its row in the command table declares: run on a
// command string built from its shape, the handler leaves the interpreter's position at the
// command that follows. The same strings read by the shape (as `vorn-data check` reads them)
// take the same tokens, so the checker and the interpreter never disagree on where a command
// ends.
#include "scene_fixture.h"

#include "core/context.h"
#include "core/errors.h"
#include "script/arguments.h"
#include "script/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn::test {
namespace {

    using Tokens = std::vector<std::string>;

    // A token every command accepts for an argument of the use, in the world the test sets up:
    // the starter game's party, items, spells and enemies, the pictures and face the test writes.
    std::string sampleToken(ArgUse use)
    {
        switch (use) {
        case ArgUse::Number:
            return "2"; // a direction (down), a count, a position, a colour, a figure
        case ArgUse::LineTarget:
        case ArgUse::EventTarget:
            return "NEX";
        case ArgUse::FlagIndex:
            return "5";
        case ArgUse::Picture:
        case ArgUse::Mask:
            return "pic";
        case ArgUse::Sound:
            return "chime";
        case ArgUse::Music:
            return "tune";
        case ArgUse::Enemy:
        case ArgUse::Character:
        case ArgUse::Item:
        case ArgUse::Spell:
            return "0";
        case ArgUse::Word:
            return "=";
        }
        return "2";
    }

    // The argument lists a command is tried with: one built from a fixed shape, and for the
    // forms whose counts and modes decide what follows, one list for each way of reading.
    std::vector<Tokens> samplesOf(const ArgShape& shape)
    {
        switch (shape.form) {
        case ShapeForm::Fixed: {
            Tokens tokens;
            for (char letter : shape.letters)
                tokens.push_back(sampleToken(argUseOf(letter).value_or(ArgUse::Number)));
            return { tokens };
        }
        case ShapeForm::Choice:
            return { { "2", "NEX", "NEX", "0" } };
        case ShapeForm::RandomBranch:
            return { { "3", "NEX", "NEX", "NEX" } };
        case ShapeForm::ShopStock:
            return { { "2", "0", "1" } };
        case ShapeForm::Battle:
            return { { "0", "NEX" }, { "S", "2", "0", "1", "NEX" } };
        case ShapeForm::BattleSettings:
            return { { "0", "S", "2", "0", "1", "NEX", "1", "2", "NEX" }, { "0", "1", "NEX", "0", "0", "NEX" }, { "1", "NEX" },
                { "2" } };
        case ShapeForm::Walk:
            return { { "2", "1", "9", "0" }, { "9" } };
        case ShapeForm::Movers:
            // One mover with one step; then two movers, the first without steps.
            return { { "-1", "0", "0", "08", "0", "99", "6", "2", "9", "9", "-1", ">" },
                { "-1", "0", "0", "08", "0", "99", "9", "-1", "-1", "1", "0", "08", "0", "99", "2", "1", "2", "9", "-1", ">" } };
        }
        return {};
    }

    // The command and its arguments, followed by the command the handler must leave unread.
    constexpr std::string_view nextCommand = "THR";

    std::string commandString(std::string_view keyword, const Tokens& tokens)
    {
        std::string text(keyword);
        for (const std::string& token : tokens)
            text += "," + token;
        return text + "," + std::string(nextCommand);
    }

    // How many tokens the shape takes from the list, read as vorn-data reads command strings.
    std::size_t tokensTheShapeReads(const ArgShape& shape, const Tokens& tokens)
    {
        std::size_t next = 0;
        readShapedArguments(shape, [&](ArgUse) {
            ArgToken token;
            token.pastEnd = next >= tokens.size();
            if (!token.pastEnd) {
                token.text = tokens[next];
                token.value = tokenValue(token.text);
            }
            ++next;
            return token;
        });
        return next;
    }

    // Runs the command's handler alone on line 0 of event 0, as the cycle does just after reading
    // its keyword. Where the reading depends on a choice, the last alternative is taken, so that
    // every argument is read: the timeline cancels every menu (a cancelled choice takes the last
    // alternative, a cancelled yes/no the no-target) and the random draw is the highest. Page
    // prompts and the pointer wait are answered too. Returns the position the handler left, or
    // -1 when the run ended in a dialog.
    std::int64_t positionAfter(const ScriptCommand& command, const std::string& commands, std::string& error)
    {
        std::string answers;
        for (int i = 0; i < 60; ++i)
            answers += "wait 200\npress left\nwait 200\nclick 500 370\n";
        SceneFixture f(answers);
        Context& c = f.ctx();
        c.rng.give({ 0.99f });
        Picture picture = positionPicture(64, 48);
        f.writePicture("pic", picture);
        f.writePicture("picm", Picture(64, 48));
        f.writePicture("KAO2_2", picture);
        c.game.gold = 1000;
        c.upper.openShop = [](Context&, const ShopStockReader&) {};
        f.placeEvent(0, "08", 8, 8);
        f.placeEvent(2, "08", 10, 8);
        f.setEvent(0, { { "", commands }, { "", "THR" }, { "", "THR" }, { "", "THR" } });
        f.setEvent(1, { { "", "THR" } });
        ScriptState& s = c.script;
        s.event = 0;
        s.messageWindowOpen = true;
        s.keyword = std::string(command.keyword);
        s.position = 5; // past the keyword and its separator
        // RRT closes the REP frame this stands for.
        s.repeatStack[0] = RepeatFrame { 0, 5, 1 };
        s.repeatDepth = 1;
        try {
            command.handler(c);
        } catch (const ProgramEnd&) {
            for (const auto& line : f.t.lines("error"))
                error += line + "; ";
            for (const auto& line : f.t.lines("box"))
                error += line + "; ";
            return -1;
        }
        return s.position;
    }

    TEST(CommandTable, EveryHandlerReadsTheArgumentsItsShapeDeclares)
    {
        for (const ScriptCommand& command : scriptCommands) {
            for (const Tokens& tokens : samplesOf(command.shape)) {
                std::string commands = commandString(command.keyword, tokens);
                SCOPED_TRACE(commands);
                EXPECT_EQ(tokensTheShapeReads(command.shape, tokens), tokens.size());
                std::string error;
                std::int64_t position = positionAfter(command, commands, error);
                ASSERT_NE(position, -1) << error;
                EXPECT_EQ(position, static_cast<std::int64_t>(commands.size() - nextCommand.size()) + 1);
            }
        }
    }

} // namespace
} // namespace vorn::test
