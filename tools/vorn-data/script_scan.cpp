#include "script_scan.h"

#include "script/arguments.h"

#include <cstring>
#include <map>

namespace vorn::datatool {

namespace {

    // Argument shapes: n number, l line target, e event target, f flag index, p picture,
    // q mask, w sound, m music, s word. '*' marks a special reading done in code.
    const std::map<std::string, const char*>& shapes()
    {
        static const std::map<std::string, const char*> table = {
            { "FLG", "l" },
            { "FGE", "l" },
            { "MES", "e" },
            { "ME2", "e" },
            { "NEX", "" },
            { "CTN", "" },
            { "JMP", "l" },
            { "INN", "nl" },
            { "ITS", "*" },
            { "INP", "" },
            { "ITP", "nl" },
            { "QST", "*" },
            { "YES", "ll" },
            { "RND", "*" },
            { "END", "" },
            { "WIT", "" },
            { "NCG", "n" },
            { "THR", "" },
            { "EDG", "" },
            { "GET", "n" },
            { "AWY", "nl" },
            { "GLD", "nl" },
            { "GLP", "" },
            { "SLP", "" },
            { "WKU", "" },
            { "RET", "nn" },
            { "ITL", "n" },
            { "BTL", "*" },
            { "BTE", "*" },
            { "WAV", "w" },
            { "MID", "m" },
            { "MST", "" },
            { "GRP", "pnnnnnn" },
            { "GRZ", "pnnnnnnnn" },
            { "TIM", "nl" },
            { "POS", "nnnnnn" },
            { "PRT", "" },
            { "WAY", "n" },
            { "PST", "llll" },
            { "CHR", "n" },
            { "MOV", "nnnn" },
            { "MWO", "" },
            { "SCR", "nn" },
            { "CLS", "" },
            { "SEF", "n" },
            { "WIN", "nnnn" },
            { "MAP", "nnnnnn" },
            { "CNT", "nn" },
            { "WAP", "nn" },
            { "WPE", "nnn" },
            { "CKI", "nll" },
            { "CKF", "ffnsll" },
            { "PUS", "n" },
            { "PUT", "nnnnn" },
            { "MSP", "n" },
            { "MSS", "n" },
            { "FSZ", "n" },
            { "FBD", "n" },
            { "BOX", "" },
            { "ENT", "" },
            { "BPP", "nn" },
            { "ECC", "nnn" },
            { "FST", "ffn" },
            { "ANI", "*" },
            { "OVR", "" },
            { "LOP", "n" },
            { "LBL", "s" },
            { "FUL", "n" },
            { "REP", "n" },
            { "RRT", "" },
            { "KAO", "nnn" },
            { "VSC", "nnnnnnnnnnp" },
            { "VZM", "nnnnnnnnnnnnnnnp" },
            { "VPT", "nnnnnnq" },
            { "HMP", "nnn" },
            { "STR", "nnn" },
            { "ALR", "n" },
            { "MGT", "nn" },
            { "MLT", "nn" },
            { "PRS", "nnnnnn" },
            { "EXU", "nn" },
            { "MCL", "n" },
            { "BTM", "m" },
            { "STF", "n" },
            { "SSS", "n" },
            { "MUS", "ffffff" },
            { "STT", "nnff" },
            { "GSB", "e" },
            { "GS2", "e" },
            { "DSP", "nn" },
            { "SMW", "nnnn" },
            { "SSC", "nnnn" },
            { "KPM", "n" },
            { "EC2", "nnn" },
            { "SRT", "nl" },
            { "ELB", "s" },
            { "CKE", "nnnff" },
            { "CKM", "nnnff" },
            { "MU2", "ffffff" },
            { "GXY", "nffff" },
            { "GMN", "ff" },
            { "AEW", "" },
        };
        return table;
    }

    // Commands after which the interpreter never reads further in the string.
    bool leavesLine(const std::string& k)
    {
        for (const char* end : { "NEX", "CTN", "JMP", "MES", "ME2", "END", "THR", "FLG", "FGE", "EDG", "OVR", "MAP",
                 "CKF", "CKI", "PST", "QST", "YES", "RND" }) {
            if (k == end)
                return true;
        }
        return false;
    }

    ArgUse useOf(char c)
    {
        switch (c) {
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
        case 's':
            return ArgUse::Word;
        default:
            return ArgUse::Number;
        }
    }

    class Scanner {
    public:
        explicit Scanner(const std::string& text)
            : m_text(text)
        {
        }

        bool atEnd() const { return m_pos >= m_text.size(); }

        // Three characters (a double-byte character counts as one) and an optional separator.
        std::string keyword()
        {
            std::string k;
            for (int i = 0; i < 3 && m_pos < m_text.size(); ++i) {
                std::size_t size = commandCharSize(m_text, m_pos);
                k.append(m_text, m_pos, size);
                m_pos += size;
            }
            if (atSeparator())
                ++m_pos;
            return k;
        }

        // ParseArgument's token: blanks dropped, up to a separator, then past it.
        std::string token()
        {
            std::string t;
            while (m_pos < m_text.size() && !atSeparator()) {
                std::size_t size = commandCharSize(m_text, m_pos);
                if (size == 2 || m_text[m_pos] != ' ')
                    t.append(m_text, m_pos, size);
                m_pos += size;
            }
            ++m_pos;
            return t;
        }

    private:
        bool atSeparator() const
        {
            return m_pos < m_text.size() && commandCharSize(m_text, m_pos) == 1 && isScriptSeparator(m_text[m_pos]);
        }

        const std::string& m_text;
        std::size_t m_pos = 0;
    };

    int countOf(const std::string& token)
    {
        int n = 0;
        for (char c : token) {
            if (c < '0' || c > '9')
                return 0;
            n = n * 10 + (c - '0');
            if (n > 100)
                return 100;
        }
        return n;
    }

    void readBattle(Scanner& s, ScannedCommand& command)
    {
        std::string battle = s.token();
        if (battle == "S") {
            command.scriptedBattleList = true;
            std::string n = s.token();
            command.args.push_back({ n, ArgUse::Number });
            for (int i = countOf(n); i > 0 && !s.atEnd(); --i)
                command.args.push_back({ s.token(), ArgUse::Enemy });
        } else {
            command.args.push_back({ battle, ArgUse::Enemy });
        }
    }

    // Reads a specially shaped command; false when the rest of the string cannot be followed.
    bool readSpecial(Scanner& s, ScannedCommand& command)
    {
        const std::string& k = command.keyword;
        if (k == "QST" || k == "RND" || k == "ITS") {
            std::string n = s.token();
            command.args.push_back({ n, ArgUse::Number });
            for (int i = countOf(n); i > 0; --i)
                command.args.push_back({ s.token(), k == "ITS" ? ArgUse::Number : ArgUse::LineTarget });
            if (k == "QST")
                command.args.push_back({ s.token(), ArgUse::Number });
            return true;
        }
        if (k == "BTL") {
            readBattle(s, command);
            command.args.push_back({ s.token(), ArgUse::LineTarget });
            return true;
        }
        if (k == "BTE") {
            std::string mode = s.token();
            command.args.push_back({ mode, ArgUse::Number });
            if (mode == "0") {
                readBattle(s, command);
                command.args.push_back({ s.token(), ArgUse::LineTarget });
                command.args.push_back({ s.token(), ArgUse::Number });
                command.args.push_back({ s.token(), ArgUse::Number });
                command.args.push_back({ s.token(), ArgUse::LineTarget });
                return true;
            }
            if (mode == "1") {
                command.args.push_back({ s.token(), ArgUse::LineTarget });
                return false; // while a battle is suspended three more arguments follow
            }
            return true;
        }
        // ANI: mover definitions up to the closing ">".
        while (!s.atEnd()) {
            std::string t = s.token();
            command.args.push_back({ t, ArgUse::Number });
            if (t == ">")
                return true;
        }
        return true;
    }

} // namespace

bool isKnownKeyword(const std::string& keyword) { return shapes().count(keyword) > 0; }

std::vector<ScannedCommand> scanCommands(const std::string& commands)
{
    std::vector<ScannedCommand> result;
    Scanner s(commands);
    while (!s.atEnd()) {
        ScannedCommand command;
        command.keyword = s.keyword();
        if (command.keyword.find_first_not_of(' ') == std::string::npos)
            continue; // blanks read as a keyword fall through harmlessly
        auto shape = shapes().find(command.keyword);
        command.known = shape != shapes().end();
        if (!command.known) {
            result.push_back(std::move(command));
            break;
        }
        bool followable = true;
        if (std::strcmp(shape->second, "*") == 0) {
            followable = readSpecial(s, command);
        } else {
            for (const char* c = shape->second; *c; ++c)
                command.args.push_back({ s.token(), useOf(*c) });
        }
        bool leaves = leavesLine(command.keyword);
        result.push_back(std::move(command));
        if (leaves || !followable)
            break;
    }
    return result;
}

} // namespace vorn::datatool
