#include "script/commands.h"

#include "core/context.h"
#include "script/arguments.h"
#include "script/command_shapes.h"
#include "script/script_access.h"

#include <algorithm>
#include <cstdint>

namespace vorn {

// The dispatch order matters only where one keyword could shadow another; it is kept as the game
// defines it.
const std::array<KeywordEntry, 102> keywordTable { {
    { "FLG", command::flg, true },
    { "FGE", command::fge, true },
    { "MES", command::mes, true },
    { "ME2", command::me2, true },
    { "NEX", command::nex, true },
    { "CTN", command::ctn, true },
    { "JMP", command::jmp, true },
    { "INN", command::inn, true },
    { "ITS", command::its, true },
    { "INP", command::inp, true },
    { "ITP", command::itp, true },
    { "QST", command::qst, true },
    { "YES", command::yes, true },
    { "RND", command::rnd, true },
    { "END", command::end, true },
    { "WIT", command::wit, true },
    { "NCG", command::ncg, true },
    { "THR", command::thr, true },
    { "EDG", command::edg, true },
    { "GET", command::get, true },
    { "AWY", command::awy, true },
    { "GLD", command::gld, true },
    { "GLP", command::glp, true },
    { "SLP", command::slp, true },
    { "WKU", command::wku, true },
    { "RET", command::ret, true },
    { "ITL", command::itl, true },
    { "BTL", command::btl, true },
    { "BTE", command::bte, true },
    { "WAV", command::wav, true },
    { "MID", command::mid, true },
    { "MST", command::mst, true },
    { "GRP", command::grp, true },
    { "GRZ", command::grz, true },
    { "TIM", command::tim, true },
    { "POS", command::pos, true },
    { "PRT", command::prt, true },
    { "WAY", command::way, true },
    { "PST", command::pst, true },
    { "CHR", command::chr, true },
    { "MOV", command::mov, true },
    { "MWO", command::mwo, true },
    { "SCR", command::scr, true },
    { "CLS", command::cls, true },
    { "SEF", command::sef, true },
    { "WIN", command::win, true },
    { "MAP", command::map, true },
    { "CNT", command::cnt, true },
    { "WAP", command::wap, true },
    { "WPE", command::wpe, true },
    { "CKI", command::cki, true },
    { "CKF", command::ckf, true },
    { "PUS", command::pus, true },
    { "PUT", command::put, true },
    { "MSP", command::msp, true },
    { "MSS", command::mss, true },
    { "FSZ", command::fsz, true },
    { "FBD", command::fbd, true },
    { "BOX", command::box, true },
    { "ENT", command::ent, true },
    { "BPP", command::bpp, true },
    { "ECC", command::ecc, true },
    { "FST", command::fst, true },
    { "ANI", command::ani, true },
    { "OVR", command::ovr, true },
    { "LOP", command::lop, true },
    { "LBL", command::lbl, true },
    { "FUL", command::ful, true },
    { "REP", command::rep, true },
    { "RRT", command::rrt, true },
    { "KAO", command::kao, true },
    { "VSC", command::vsc, true },
    { "VZM", command::vzm, true },
    { "VPT", command::vpt, true },
    { "HMP", command::hmp, true },
    { "STR", command::str, true },
    { "ALR", command::alr, true },
    { "MGT", command::mgt, true },
    { "MLT", command::mlt, true },
    { "PRS", command::prs, true },
    { "EXU", command::exu, true },
    { "MCL", command::mcl, true },
    { "BTM", command::btm, true },
    { "STF", command::stf, true },
    { "SSS", command::sss, true },
    { "MUS", command::mus, true },
    { "STT", command::stt, true },
    { "GSB", command::gsb, true },
    { "GS2", command::gs2, true },
    { "DSP", command::dsp, true },
    { "SMW", command::smw, true },
    { "SSC", command::ssc, true },
    { "KPM", command::kpm, true },
    { "EC2", command::ec2, true },
    { "SRT", command::srt, true },
    { "ELB", command::lbl, true },
    { "CKE", command::cke, true },
    { "CKM", command::ckm, true },
    { "MU2", command::mu2, true },
    { "GXY", command::gxy, true },
    { "GMN", command::gmn, true },
    { "AEW", command::aew, true },
} };

namespace {

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
        CommandHandler handler;
    };

    // Sorted by key; among equal keys (none today) the earlier entry of the table comes first,
    // so it keeps winning as it would in dispatch order.
    const std::array<PackedKeyword, keywordTable.size()>& packedKeywords()
    {
        static const auto packed = [] {
            std::array<PackedKeyword, keywordTable.size()> table {};
            for (std::size_t i = 0; i < keywordTable.size(); ++i)
                table[i] = { packKeyword(keywordTable[i].keyword), keywordTable[i].handler };
            std::stable_sort(table.begin(), table.end(), [](const PackedKeyword& a, const PackedKeyword& b) { return a.key < b.key; });
            return table;
        }();
        return packed;
    }

} // namespace

CommandHandler findCommand(std::string_view keyword)
{
    if (keyword.empty())
        return command::end;
    if (keyword.size() != 3)
        return nullptr;
    const std::uint32_t key = packKeyword(keyword);
    const auto& table = packedKeywords();
    auto found = std::lower_bound(table.begin(), table.end(), key, [](const PackedKeyword& entry, std::uint32_t k) { return entry.key < k; });
    return found != table.end() && found->key == key ? found->handler : nullptr;
}

namespace command {

    // A command that is recognised but not carried out reads its arguments by its shape and does
    // nothing else, so that its arguments are never read as keywords ("GRP,MAP01,..." must not
    // run MAP).
    Flow notYetBuilt(Context& ctx)
    {
        const CommandShape* shape = findCommandShape(ctx.script.keyword);
        if (!shape)
            return Flow::FallThrough;
        int index = 0;
        readShapedArguments(shape->shape, [&](ArgUse) {
            ScriptState& s = ctx.script;
            ArgToken token;
            token.pastEnd = static_cast<std::size_t>(s.position) > currentCommands(ctx).size();
            ParseArgument(ctx, index);
            token.text = s.currentToken;
            token.value = s.args[static_cast<std::size_t>(index)];
            index = (index + 1) % scriptLimits::arguments;
            return token;
        });
        return Flow::FallThrough;
    }

} // namespace command

} // namespace vorn
