#include "script/commands.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vorn {

namespace {

    // One row per command: its keyword, its handler, the arguments it reads and whether the
    // command string goes on after it. In dispatch order, as the game defines it (the order
    // matters only where one keyword could shadow another). Argument letters: n number, l line
    // target, e event target, f flag index, p picture, q mask, w sound, m music, x enemy,
    // c character, i item, k spell, s word.
    constexpr auto commandRows = std::to_array<ScriptCommand>({
        { "FLG", command::flg, fixedShape("l"), LineFlow::Leaves },
        { "FGE", command::fge, fixedShape("l"), LineFlow::Leaves },
        { "MES", command::mes, fixedShape("e"), LineFlow::Leaves },
        { "ME2", command::me2, fixedShape("e"), LineFlow::Leaves },
        { "NEX", command::nex, fixedShape(""), LineFlow::Leaves },
        { "CTN", command::ctn, fixedShape(""), LineFlow::Leaves },
        { "JMP", command::jmp, fixedShape("l"), LineFlow::Leaves },
        { "INN", command::inn, fixedShape("nl"), LineFlow::GoesOn },
        { "ITS", command::its, specialShape(ShapeForm::ShopStock), LineFlow::GoesOn },
        { "INP", command::inp, fixedShape(""), LineFlow::GoesOn },
        { "ITP", command::itp, fixedShape("il"), LineFlow::GoesOn },
        { "QST", command::qst, specialShape(ShapeForm::Choice), LineFlow::Leaves },
        { "YES", command::yes, fixedShape("ll"), LineFlow::Leaves },
        { "RND", command::rnd, specialShape(ShapeForm::RandomBranch), LineFlow::Leaves },
        { "END", command::end, fixedShape(""), LineFlow::Leaves },
        { "WIT", command::wit, fixedShape(""), LineFlow::GoesOn },
        { "NCG", command::ncg, fixedShape("c"), LineFlow::GoesOn },
        { "THR", command::thr, fixedShape(""), LineFlow::Leaves },
        { "EDG", command::edg, fixedShape(""), LineFlow::Leaves },
        { "GET", command::get, fixedShape("c"), LineFlow::GoesOn },
        { "AWY", command::awy, fixedShape("cl"), LineFlow::GoesOn },
        { "GLD", command::gld, fixedShape("nl"), LineFlow::GoesOn },
        { "GLP", command::glp, fixedShape(""), LineFlow::GoesOn },
        { "SLP", command::slp, fixedShape(""), LineFlow::GoesOn },
        { "WKU", command::wku, fixedShape(""), LineFlow::GoesOn },
        { "RET", command::ret, fixedShape("nn"), LineFlow::GoesOn },
        { "ITL", command::itl, fixedShape("i"), LineFlow::GoesOn },
        { "BTL", command::btl, specialShape(ShapeForm::Battle), LineFlow::GoesOn },
        { "BTE", command::bte, specialShape(ShapeForm::BattleSettings), LineFlow::GoesOn },
        { "WAV", command::wav, fixedShape("w"), LineFlow::GoesOn },
        { "MID", command::mid, fixedShape("m"), LineFlow::GoesOn },
        { "MST", command::mst, fixedShape(""), LineFlow::GoesOn },
        { "GRP", command::grp, fixedShape("pnnnnnn"), LineFlow::GoesOn },
        { "GRZ", command::grz, fixedShape("pnnnnnnnn"), LineFlow::GoesOn },
        { "TIM", command::tim, fixedShape("nl"), LineFlow::GoesOn },
        { "POS", command::pos, fixedShape("nnnnnn"), LineFlow::GoesOn },
        { "PRT", command::prt, fixedShape(""), LineFlow::GoesOn },
        { "WAY", command::way, fixedShape("n"), LineFlow::GoesOn },
        { "PST", command::pst, fixedShape("llll"), LineFlow::Leaves },
        { "CHR", command::chr, fixedShape("n"), LineFlow::GoesOn },
        { "MOV", command::mov, specialShape(ShapeForm::Walk), LineFlow::GoesOn },
        { "MWO", command::mwo, fixedShape(""), LineFlow::GoesOn },
        { "SCR", command::scr, fixedShape("nn"), LineFlow::GoesOn },
        { "CLS", command::cls, fixedShape(""), LineFlow::GoesOn },
        { "SEF", command::sef, fixedShape("n"), LineFlow::GoesOn },
        { "WIN", command::win, fixedShape("nnnn"), LineFlow::GoesOn },
        { "MAP", command::map, fixedShape("nnnnnn"), LineFlow::Leaves },
        { "CNT", command::cnt, fixedShape("nn"), LineFlow::GoesOn },
        { "WAP", command::wap, fixedShape("nn"), LineFlow::GoesOn },
        { "WPE", command::wpe, fixedShape("nnn"), LineFlow::GoesOn },
        { "CKI", command::cki, fixedShape("nll"), LineFlow::Leaves },
        { "CKF", command::ckf, fixedShape("ffnsll"), LineFlow::Leaves },
        { "PUS", command::pus, fixedShape("n"), LineFlow::GoesOn },
        { "PUT", command::put, fixedShape("nnnsn"), LineFlow::GoesOn },
        { "MSP", command::msp, fixedShape("n"), LineFlow::GoesOn },
        { "MSS", command::mss, fixedShape("n"), LineFlow::GoesOn },
        { "FSZ", command::fsz, fixedShape("n"), LineFlow::GoesOn },
        { "FBD", command::fbd, fixedShape("n"), LineFlow::GoesOn },
        { "BOX", command::box, fixedShape(""), LineFlow::GoesOn },
        { "ENT", command::ent, fixedShape(""), LineFlow::GoesOn },
        { "BPP", command::bpp, fixedShape("nn"), LineFlow::GoesOn },
        { "ECC", command::ecc, fixedShape("nnn"), LineFlow::GoesOn },
        { "FST", command::fst, fixedShape("ffn"), LineFlow::GoesOn },
        { "ANI", command::ani, specialShape(ShapeForm::Movers), LineFlow::GoesOn },
        { "OVR", command::ovr, fixedShape(""), LineFlow::Leaves },
        { "LOP", command::lop, fixedShape("n"), LineFlow::GoesOn },
        { "LBL", command::lbl, fixedShape("s"), LineFlow::GoesOn },
        { "FUL", command::ful, fixedShape("n"), LineFlow::GoesOn },
        { "REP", command::rep, fixedShape("n"), LineFlow::GoesOn },
        { "RRT", command::rrt, fixedShape(""), LineFlow::GoesOn },
        { "KAO", command::kao, fixedShape("nnn"), LineFlow::GoesOn },
        { "VSC", command::vsc, fixedShape("nnnnnnnnnnp"), LineFlow::GoesOn },
        { "VZM", command::vzm, fixedShape("nnnnnnnnnnnnnnnp"), LineFlow::GoesOn },
        { "VPT", command::vpt, fixedShape("nnnnnnq"), LineFlow::GoesOn },
        { "HMP", command::hmp, fixedShape("cnn"), LineFlow::GoesOn },
        { "STR", command::str, fixedShape("cnn"), LineFlow::GoesOn },
        { "ALR", command::alr, fixedShape("c"), LineFlow::GoesOn },
        { "MGT", command::mgt, fixedShape("ck"), LineFlow::GoesOn },
        { "MLT", command::mlt, fixedShape("ck"), LineFlow::GoesOn },
        { "PRS", command::prs, fixedShape("cnnnnn"), LineFlow::GoesOn },
        { "EXU", command::exu, fixedShape("cn"), LineFlow::GoesOn },
        { "MCL", command::mcl, fixedShape("n"), LineFlow::GoesOn },
        { "BTM", command::btm, fixedShape("m"), LineFlow::GoesOn },
        { "STF", command::stf, fixedShape("n"), LineFlow::GoesOn },
        { "SSS", command::sss, fixedShape("n"), LineFlow::GoesOn },
        { "MUS", command::mus, fixedShape("ffffff"), LineFlow::GoesOn },
        { "STT", command::stt, fixedShape("ncff"), LineFlow::GoesOn },
        { "GSB", command::gsb, fixedShape("e"), LineFlow::GoesOn },
        { "GS2", command::gs2, fixedShape("e"), LineFlow::GoesOn },
        { "DSP", command::dsp, fixedShape("nn"), LineFlow::GoesOn },
        { "SMW", command::smw, fixedShape("nnnn"), LineFlow::GoesOn },
        { "SSC", command::ssc, fixedShape("nnnn"), LineFlow::GoesOn },
        { "KPM", command::kpm, fixedShape("n"), LineFlow::GoesOn },
        { "EC2", command::ec2, fixedShape("nnn"), LineFlow::GoesOn },
        { "SRT", command::srt, fixedShape("cl"), LineFlow::GoesOn },
        { "ELB", command::lbl, fixedShape("s"), LineFlow::GoesOn },
        { "CKE", command::cke, fixedShape("nnnff"), LineFlow::GoesOn },
        { "CKM", command::ckm, fixedShape("nnnff"), LineFlow::GoesOn },
        { "MU2", command::mu2, fixedShape("ffffff"), LineFlow::GoesOn },
        { "GXY", command::gxy, fixedShape("nffff"), LineFlow::GoesOn },
        { "GMN", command::gmn, fixedShape("ff"), LineFlow::GoesOn },
        { "AEW", command::aew, fixedShape(""), LineFlow::GoesOn },
    });

    // Handlers are checked by the table's test: a sanitizer build cannot compare function
    // addresses at compile time.
    static_assert([] {
        for (const ScriptCommand& row : commandRows) {
            if (row.keyword.size() != 3 || !validShape(row.shape))
                return false;
        }
        return true;
    }());

    // Keywords are three bytes: packed into one number each, they are found by a binary search
    // over numbers instead of comparing text with a hundred entries one by one.
    constexpr std::uint32_t packKeyword(std::string_view keyword)
    {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(keyword[0])) << 16
            | static_cast<std::uint32_t>(static_cast<unsigned char>(keyword[1])) << 8
            | static_cast<unsigned char>(keyword[2]);
    }

    struct PackedKeyword {
        std::uint32_t key;
        const ScriptCommand* command;
    };

    // Sorted by key; among equal keys (none today) the earlier row of the table comes first, so
    // it keeps winning as it would in dispatch order.
    const std::array<PackedKeyword, commandRows.size()>& packedKeywords()
    {
        static const auto packed = [] {
            std::array<PackedKeyword, commandRows.size()> table {};
            for (std::size_t i = 0; i < commandRows.size(); ++i)
                table[i] = { packKeyword(commandRows[i].keyword), &commandRows[i] };
            std::stable_sort(table.begin(), table.end(), [](const PackedKeyword& a, const PackedKeyword& b) { return a.key < b.key; });
            return table;
        }();
        return packed;
    }

} // namespace

const std::span<const ScriptCommand> scriptCommands { commandRows };

const ScriptCommand* findCommand(std::string_view keyword)
{
    if (keyword.size() != 3)
        return nullptr;
    const std::uint32_t key = packKeyword(keyword);
    const auto& table = packedKeywords();
    auto found = std::lower_bound(table.begin(), table.end(), key, [](const PackedKeyword& entry, std::uint32_t k) { return entry.key < k; });
    return found != table.end() && found->key == key ? found->command : nullptr;
}

} // namespace vorn
