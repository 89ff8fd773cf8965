// The argument shapes of the script commands: how many tokens a command reads after its keyword,
// in which order, and what each token is. The command table (script/commands.h) gives each
// keyword its shape; vorn-data reads command strings by these shapes to check labels, flag
// indexes, battles and file names without running the script.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// What one argument token is used for.
enum class ArgUse {
    Number, // a number, a random number or a flag reference
    LineTarget, // "NEX", "*label" in the same event, or a relative line number
    EventTarget, // "NEX", "*label" in any event, or a relative event number
    FlagIndex, // one index of a flag (a, b)
    Picture, // GRP\<name>.bmp
    Mask, // GRP\<name>m.bmp
    Sound, // WAV\<name>.WAV
    Music, // MID\<name>.MID
    Enemy, // an enemy number of a scripted battle
    Character, // a character's identity (99 selects the whole party where a command allows it)
    Item, // an item number
    Spell, // a spell number
    Word, // a label name, an operator or other text
};

// The letters that spell a fixed shape, one per argument.
constexpr std::optional<ArgUse> argUseOf(char letter)
{
    switch (letter) {
    case 'n':
        return ArgUse::Number;
    case 'l':
        return ArgUse::LineTarget;
    case 'e':
        return ArgUse::EventTarget;
    case 'f':
        return ArgUse::FlagIndex;
    case 'p':
        return ArgUse::Picture;
    case 'q':
        return ArgUse::Mask;
    case 'w':
        return ArgUse::Sound;
    case 'm':
        return ArgUse::Music;
    case 'x':
        return ArgUse::Enemy;
    case 'c':
        return ArgUse::Character;
    case 'i':
        return ArgUse::Item;
    case 'k':
        return ArgUse::Spell;
    case 's':
        return ArgUse::Word;
    default:
        return std::nullopt;
    }
}

// How a command's arguments are laid out.
enum class ShapeForm {
    Fixed, // the arguments spelled by the shape's letters, one token each
    Choice, // QST: n, n line targets, then the redraw number
    RandomBranch, // RND: n, then n line targets
    ShopStock, // ITS: n, then n items
    Battle, // BTL: a battle (an enemy number, or "S", n and n enemies), then a line target
    // BTE: the mode; mode 0: a battle, a line target, the break flag and count, the after-battle
    // target; mode 1: a line target (and three more while a battle is suspended); mode 2: nothing
    BattleSettings,
    Walk, // MOV: the direction; unless it is 9, the count, the facing and the mode
    // ANI: mover definitions (event, dx, dy, picture, mode, speed, then route steps of direction,
    // count and facing, up to a direction 9 with the event to bind), ended by ">"
    Movers,
};

struct ArgShape {
    ShapeForm form = ShapeForm::Fixed;
    std::string_view letters; // the arguments of a Fixed shape, spelled as for argUseOf
};

constexpr ArgShape fixedShape(std::string_view letters) { return { ShapeForm::Fixed, letters }; }
constexpr ArgShape specialShape(ShapeForm form) { return { form, {} }; }

// Whether a shape is well formed: a fixed shape spelled by known letters, or a special form.
constexpr bool validShape(const ArgShape& shape)
{
    if (shape.form != ShapeForm::Fixed)
        return shape.letters.empty();
    for (char letter : shape.letters) {
        if (!argUseOf(letter))
            return false;
    }
    return true;
}

// One argument token as a reader of command strings gives it.
struct ArgToken {
    std::string text; // the token (blanks dropped; after random and flag substitution when run)
    std::optional<float> value; // its numeric value, when known without running the script
    bool pastEnd = false; // the command string had run out before this token
};

// Reads the argument tokens of one command in the order the command reads them: `read(use)`
// reads the next token for an argument of that use. Counts and directions decide what follows;
// returns false where that cannot be followed (a count or direction whose value is not known,
// BTE mode 1, whose further arguments depend on a suspended battle).
template <class Read>
bool readShapedArguments(const ArgShape& shape, Read&& read)
{
    // Counts and lists stop at 100 entries, the most any list command takes.
    constexpr int maxCount = 100;
    auto count = [](const ArgToken& token) -> std::optional<int> {
        if (!token.value)
            return std::nullopt;
        float v = *token.value;
        return v < 1 ? 0 : v > maxCount ? maxCount
                                        : static_cast<int>(v);
    };
    auto counted = [&](ArgUse use) {
        auto n = count(read(ArgUse::Number));
        for (int i = 0; n && i < *n; ++i)
            read(use);
        return n.has_value();
    };
    auto battle = [&] {
        ArgToken first = read(ArgUse::Enemy);
        if (first.text == "S")
            return counted(ArgUse::Enemy);
        return true;
    };

    switch (shape.form) {
    case ShapeForm::Fixed:
        for (char letter : shape.letters)
            read(argUseOf(letter).value_or(ArgUse::Number));
        return true;
    case ShapeForm::Choice:
        if (!counted(ArgUse::LineTarget))
            return false;
        read(ArgUse::Number);
        return true;
    case ShapeForm::RandomBranch:
        return counted(ArgUse::LineTarget);
    case ShapeForm::ShopStock:
        return counted(ArgUse::Item);
    case ShapeForm::Battle:
        if (!battle())
            return false;
        read(ArgUse::LineTarget);
        return true;
    case ShapeForm::BattleSettings: {
        ArgToken mode = read(ArgUse::Number);
        if (!mode.value)
            return false;
        if (*mode.value == 0) {
            if (!battle())
                return false;
            read(ArgUse::LineTarget);
            read(ArgUse::Number);
            read(ArgUse::Number);
            read(ArgUse::LineTarget);
            return true;
        }
        if (*mode.value == 1) {
            read(ArgUse::LineTarget);
            return false;
        }
        return true;
    }
    case ShapeForm::Walk: {
        ArgToken direction = read(ArgUse::Word);
        if (direction.text != "9") {
            read(ArgUse::Number);
            read(ArgUse::Number);
            read(ArgUse::Number);
        }
        return true;
    }
    case ShapeForm::Movers: {
        // At most 31 movers of 31 route steps each.
        constexpr int maxMovers = 31, maxSteps = 31;
        bool eventRead = false;
        for (int mover = 0; mover < maxMovers; ++mover) {
            if (!eventRead)
                read(ArgUse::Number); // event
            for (int i = 0; i < 5; ++i)
                read(ArgUse::Number); // dx, dy, picture, mode, speed
            for (int step = 0;; ++step) {
                ArgToken direction = read(ArgUse::Number);
                if (!direction.value || direction.pastEnd || step >= maxSteps)
                    return false;
                if (*direction.value != 9) {
                    read(ArgUse::Number); // count
                    read(ArgUse::Number); // shown facing
                    continue;
                }
                read(ArgUse::Number); // the event to bind
                ArgToken next = read(ArgUse::Word);
                if (next.text == ">")
                    return true;
                if (next.pastEnd)
                    return false;
                eventRead = true; // the token was the next definition's event
                break;
            }
        }
        return false;
    }
    }
    return false;
}

// Whether the interpreter reads on in the same command string after a command.
enum class LineFlow {
    GoesOn, // the next command of the string follows (unless the run ends)
    Leaves, // the command always moves to another line, event or map
};

} // namespace vorn
