#include "script/commands.h"

#include "core/context.h"
#include "script/arguments.h"
#include "script/command_shapes.h"
#include "script/script_access.h"

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

CommandHandler findCommand(std::string_view keyword)
{
    if (keyword.empty())
        return command::end;
    for (const KeywordEntry& entry : keywordTable) {
        if (entry.keyword == keyword)
            return entry.handler;
    }
    return nullptr;
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
