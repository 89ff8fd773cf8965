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
    { "INN", command::notYetBuilt, false },
    { "ITS", command::notYetBuilt, false },
    { "INP", command::notYetBuilt, false },
    { "ITP", command::notYetBuilt, false },
    { "QST", command::qst, true },
    { "YES", command::yes, true },
    { "RND", command::rnd, true },
    { "END", command::end, true },
    { "WIT", command::wit, true },
    { "NCG", command::notYetBuilt, false },
    { "THR", command::thr, true },
    { "EDG", command::edg, true },
    { "GET", command::notYetBuilt, false },
    { "AWY", command::notYetBuilt, false },
    { "GLD", command::notYetBuilt, false },
    { "GLP", command::notYetBuilt, false },
    { "SLP", command::notYetBuilt, false },
    { "WKU", command::notYetBuilt, false },
    { "RET", command::notYetBuilt, false },
    { "ITL", command::notYetBuilt, false },
    { "BTL", command::btl, true },
    { "BTE", command::bte, true },
    { "WAV", command::notYetBuilt, false },
    { "MID", command::notYetBuilt, false },
    { "MST", command::notYetBuilt, false },
    { "GRP", command::notYetBuilt, false },
    { "GRZ", command::notYetBuilt, false },
    { "TIM", command::tim, true },
    { "POS", command::pos, true },
    { "PRT", command::notYetBuilt, false },
    { "WAY", command::notYetBuilt, false },
    { "PST", command::notYetBuilt, false },
    { "CHR", command::notYetBuilt, false },
    { "MOV", command::notYetBuilt, false },
    { "MWO", command::mwo, true },
    { "SCR", command::notYetBuilt, false },
    { "CLS", command::notYetBuilt, false },
    { "SEF", command::notYetBuilt, false },
    { "WIN", command::win, true },
    { "MAP", command::map, true },
    { "CNT", command::notYetBuilt, false },
    { "WAP", command::notYetBuilt, false },
    { "WPE", command::notYetBuilt, false },
    { "CKI", command::cki, true },
    { "CKF", command::ckf, true },
    { "PUS", command::pus, true },
    { "PUT", command::notYetBuilt, false },
    { "MSP", command::msp, true },
    { "MSS", command::mss, true },
    { "FSZ", command::fsz, true },
    { "FBD", command::fbd, true },
    { "BOX", command::notYetBuilt, false },
    { "ENT", command::ent, true },
    { "BPP", command::bpp, true },
    { "ECC", command::notYetBuilt, false },
    { "FST", command::fst, true },
    { "ANI", command::notYetBuilt, false },
    { "OVR", command::ovr, true },
    { "LOP", command::lop, true },
    { "LBL", command::lbl, true },
    { "FUL", command::notYetBuilt, false },
    { "REP", command::rep, true },
    { "RRT", command::rrt, true },
    { "KAO", command::kao, true },
    { "VSC", command::notYetBuilt, false },
    { "VZM", command::notYetBuilt, false },
    { "VPT", command::notYetBuilt, false },
    { "HMP", command::notYetBuilt, false },
    { "STR", command::notYetBuilt, false },
    { "ALR", command::notYetBuilt, false },
    { "MGT", command::notYetBuilt, false },
    { "MLT", command::notYetBuilt, false },
    { "PRS", command::notYetBuilt, false },
    { "EXU", command::notYetBuilt, false },
    { "MCL", command::mcl, true },
    { "BTM", command::btm, true },
    { "STF", command::stf, true },
    { "SSS", command::notYetBuilt, false },
    { "MUS", command::mus, true },
    { "STT", command::notYetBuilt, false },
    { "GSB", command::gsb, true },
    { "GS2", command::gs2, true },
    { "DSP", command::notYetBuilt, false },
    { "SMW", command::smw, true },
    { "SSC", command::notYetBuilt, false },
    { "KPM", command::kpm, true },
    { "EC2", command::notYetBuilt, false },
    { "SRT", command::notYetBuilt, false },
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
