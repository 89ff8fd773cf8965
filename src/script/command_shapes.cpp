#include "script/command_shapes.h"

namespace vorn {

// In the order of the keyword table. Argument letters: n number, l line target, e event target,
// f flag index, p picture, q mask, w sound, m music, x enemy, c character, i item, k spell,
// s word.
constexpr std::array<CommandShape, 102> commandShapes { {
    { "FLG", fixedShape("l"), LineFlow::Leaves },
    { "FGE", fixedShape("l"), LineFlow::Leaves },
    { "MES", fixedShape("e"), LineFlow::Leaves },
    { "ME2", fixedShape("e"), LineFlow::Leaves },
    { "NEX", fixedShape(""), LineFlow::Leaves },
    { "CTN", fixedShape(""), LineFlow::Leaves },
    { "JMP", fixedShape("l"), LineFlow::Leaves },
    { "INN", fixedShape("nl"), LineFlow::GoesOn },
    { "ITS", specialShape(ShapeForm::ShopStock), LineFlow::GoesOn },
    { "INP", fixedShape(""), LineFlow::GoesOn },
    { "ITP", fixedShape("il"), LineFlow::GoesOn },
    { "QST", specialShape(ShapeForm::Choice), LineFlow::Leaves },
    { "YES", fixedShape("ll"), LineFlow::Leaves },
    { "RND", specialShape(ShapeForm::RandomBranch), LineFlow::Leaves },
    { "END", fixedShape(""), LineFlow::Leaves },
    { "WIT", fixedShape(""), LineFlow::GoesOn },
    { "NCG", fixedShape("c"), LineFlow::GoesOn },
    { "THR", fixedShape(""), LineFlow::Leaves },
    { "EDG", fixedShape(""), LineFlow::Leaves },
    { "GET", fixedShape("c"), LineFlow::GoesOn },
    { "AWY", fixedShape("cl"), LineFlow::GoesOn },
    { "GLD", fixedShape("nl"), LineFlow::GoesOn },
    { "GLP", fixedShape(""), LineFlow::GoesOn },
    { "SLP", fixedShape(""), LineFlow::GoesOn },
    { "WKU", fixedShape(""), LineFlow::GoesOn },
    { "RET", fixedShape("nn"), LineFlow::GoesOn },
    { "ITL", fixedShape("i"), LineFlow::GoesOn },
    { "BTL", specialShape(ShapeForm::Battle), LineFlow::GoesOn },
    { "BTE", specialShape(ShapeForm::BattleSettings), LineFlow::GoesOn },
    { "WAV", fixedShape("w"), LineFlow::GoesOn },
    { "MID", fixedShape("m"), LineFlow::GoesOn },
    { "MST", fixedShape(""), LineFlow::GoesOn },
    { "GRP", fixedShape("pnnnnnn"), LineFlow::GoesOn },
    { "GRZ", fixedShape("pnnnnnnnn"), LineFlow::GoesOn },
    { "TIM", fixedShape("nl"), LineFlow::GoesOn },
    { "POS", fixedShape("nnnnnn"), LineFlow::GoesOn },
    { "PRT", fixedShape(""), LineFlow::GoesOn },
    { "WAY", fixedShape("n"), LineFlow::GoesOn },
    { "PST", fixedShape("llll"), LineFlow::Leaves },
    { "CHR", fixedShape("n"), LineFlow::GoesOn },
    { "MOV", specialShape(ShapeForm::Walk), LineFlow::GoesOn },
    { "MWO", fixedShape(""), LineFlow::GoesOn },
    { "SCR", fixedShape("nn"), LineFlow::GoesOn },
    { "CLS", fixedShape(""), LineFlow::GoesOn },
    { "SEF", fixedShape("n"), LineFlow::GoesOn },
    { "WIN", fixedShape("nnnn"), LineFlow::GoesOn },
    { "MAP", fixedShape("nnnnnn"), LineFlow::Leaves },
    { "CNT", fixedShape("nn"), LineFlow::GoesOn },
    { "WAP", fixedShape("nn"), LineFlow::GoesOn },
    { "WPE", fixedShape("nnn"), LineFlow::GoesOn },
    { "CKI", fixedShape("nll"), LineFlow::Leaves },
    { "CKF", fixedShape("ffnsll"), LineFlow::Leaves },
    { "PUS", fixedShape("n"), LineFlow::GoesOn },
    { "PUT", fixedShape("nnnsn"), LineFlow::GoesOn },
    { "MSP", fixedShape("n"), LineFlow::GoesOn },
    { "MSS", fixedShape("n"), LineFlow::GoesOn },
    { "FSZ", fixedShape("n"), LineFlow::GoesOn },
    { "FBD", fixedShape("n"), LineFlow::GoesOn },
    { "BOX", fixedShape(""), LineFlow::GoesOn },
    { "ENT", fixedShape(""), LineFlow::GoesOn },
    { "BPP", fixedShape("nn"), LineFlow::GoesOn },
    { "ECC", fixedShape("nnn"), LineFlow::GoesOn },
    { "FST", fixedShape("ffn"), LineFlow::GoesOn },
    { "ANI", specialShape(ShapeForm::Movers), LineFlow::GoesOn },
    { "OVR", fixedShape(""), LineFlow::Leaves },
    { "LOP", fixedShape("n"), LineFlow::GoesOn },
    { "LBL", fixedShape("s"), LineFlow::GoesOn },
    { "FUL", fixedShape("n"), LineFlow::GoesOn },
    { "REP", fixedShape("n"), LineFlow::GoesOn },
    { "RRT", fixedShape(""), LineFlow::GoesOn },
    { "KAO", fixedShape("nnn"), LineFlow::GoesOn },
    { "VSC", fixedShape("nnnnnnnnnnp"), LineFlow::GoesOn },
    { "VZM", fixedShape("nnnnnnnnnnnnnnnp"), LineFlow::GoesOn },
    { "VPT", fixedShape("nnnnnnq"), LineFlow::GoesOn },
    { "HMP", fixedShape("cnn"), LineFlow::GoesOn },
    { "STR", fixedShape("cnn"), LineFlow::GoesOn },
    { "ALR", fixedShape("c"), LineFlow::GoesOn },
    { "MGT", fixedShape("ck"), LineFlow::GoesOn },
    { "MLT", fixedShape("ck"), LineFlow::GoesOn },
    { "PRS", fixedShape("cnnnnn"), LineFlow::GoesOn },
    { "EXU", fixedShape("cn"), LineFlow::GoesOn },
    { "MCL", fixedShape("n"), LineFlow::GoesOn },
    { "BTM", fixedShape("m"), LineFlow::GoesOn },
    { "STF", fixedShape("n"), LineFlow::GoesOn },
    { "SSS", fixedShape("n"), LineFlow::GoesOn },
    { "MUS", fixedShape("ffffff"), LineFlow::GoesOn },
    { "STT", fixedShape("ncff"), LineFlow::GoesOn },
    { "GSB", fixedShape("e"), LineFlow::GoesOn },
    { "GS2", fixedShape("e"), LineFlow::GoesOn },
    { "DSP", fixedShape("nn"), LineFlow::GoesOn },
    { "SMW", fixedShape("nnnn"), LineFlow::GoesOn },
    { "SSC", fixedShape("nnnn"), LineFlow::GoesOn },
    { "KPM", fixedShape("n"), LineFlow::GoesOn },
    { "EC2", fixedShape("nnn"), LineFlow::GoesOn },
    { "SRT", fixedShape("cl"), LineFlow::GoesOn },
    { "ELB", fixedShape("s"), LineFlow::GoesOn },
    { "CKE", fixedShape("nnnff"), LineFlow::GoesOn },
    { "CKM", fixedShape("nnnff"), LineFlow::GoesOn },
    { "MU2", fixedShape("ffffff"), LineFlow::GoesOn },
    { "GXY", fixedShape("nffff"), LineFlow::GoesOn },
    { "GMN", fixedShape("ff"), LineFlow::GoesOn },
    { "AEW", fixedShape(""), LineFlow::GoesOn },
} };

const CommandShape* findCommandShape(std::string_view keyword)
{
    for (const CommandShape& entry : commandShapes) {
        if (entry.keyword == keyword)
            return &entry;
    }
    return nullptr;
}

static_assert([] {
    for (const CommandShape& entry : commandShapes) {
        if (entry.keyword.size() != 3 || !validShape(entry.shape))
            return false;
    }
    return true;
}());

} // namespace vorn
