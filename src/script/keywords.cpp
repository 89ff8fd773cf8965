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
    { "FLG", command::flg },
    { "FGE", command::fge },
    { "MES", command::mes },
    { "ME2", command::me2 },
    { "NEX", command::nex },
    { "CTN", command::ctn },
    { "JMP", command::jmp },
    { "INN", command::inn },
    { "ITS", command::its },
    { "INP", command::inp },
    { "ITP", command::itp },
    { "QST", command::qst },
    { "YES", command::yes },
    { "RND", command::rnd },
    { "END", command::end },
    { "WIT", command::wit },
    { "NCG", command::ncg },
    { "THR", command::thr },
    { "EDG", command::edg },
    { "GET", command::get },
    { "AWY", command::awy },
    { "GLD", command::gld },
    { "GLP", command::glp },
    { "SLP", command::slp },
    { "WKU", command::wku },
    { "RET", command::ret },
    { "ITL", command::itl },
    { "BTL", command::btl },
    { "BTE", command::bte },
    { "WAV", command::wav },
    { "MID", command::mid },
    { "MST", command::mst },
    { "GRP", command::grp },
    { "GRZ", command::grz },
    { "TIM", command::tim },
    { "POS", command::pos },
    { "PRT", command::prt },
    { "WAY", command::way },
    { "PST", command::pst },
    { "CHR", command::chr },
    { "MOV", command::mov },
    { "MWO", command::mwo },
    { "SCR", command::scr },
    { "CLS", command::cls },
    { "SEF", command::sef },
    { "WIN", command::win },
    { "MAP", command::map },
    { "CNT", command::cnt },
    { "WAP", command::wap },
    { "WPE", command::wpe },
    { "CKI", command::cki },
    { "CKF", command::ckf },
    { "PUS", command::pus },
    { "PUT", command::put },
    { "MSP", command::msp },
    { "MSS", command::mss },
    { "FSZ", command::fsz },
    { "FBD", command::fbd },
    { "BOX", command::box },
    { "ENT", command::ent },
    { "BPP", command::bpp },
    { "ECC", command::ecc },
    { "FST", command::fst },
    { "ANI", command::ani },
    { "OVR", command::ovr },
    { "LOP", command::lop },
    { "LBL", command::lbl },
    { "FUL", command::ful },
    { "REP", command::rep },
    { "RRT", command::rrt },
    { "KAO", command::kao },
    { "VSC", command::vsc },
    { "VZM", command::vzm },
    { "VPT", command::vpt },
    { "HMP", command::hmp },
    { "STR", command::str },
    { "ALR", command::alr },
    { "MGT", command::mgt },
    { "MLT", command::mlt },
    { "PRS", command::prs },
    { "EXU", command::exu },
    { "MCL", command::mcl },
    { "BTM", command::btm },
    { "STF", command::stf },
    { "SSS", command::sss },
    { "MUS", command::mus },
    { "STT", command::stt },
    { "GSB", command::gsb },
    { "GS2", command::gs2 },
    { "DSP", command::dsp },
    { "SMW", command::smw },
    { "SSC", command::ssc },
    { "KPM", command::kpm },
    { "EC2", command::ec2 },
    { "SRT", command::srt },
    { "ELB", command::lbl },
    { "CKE", command::cke },
    { "CKM", command::ckm },
    { "MU2", command::mu2 },
    { "GXY", command::gxy },
    { "GMN", command::gmn },
    { "AEW", command::aew },
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

} // namespace vorn
