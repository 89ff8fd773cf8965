// The script commands: their handlers and the one table that gives each keyword its handler and
// the arguments it reads.
#pragma once

#include "script/command_shapes.h"

#include <span>
#include <string_view>

namespace vorn {

struct Context;

// What the interpreter cycle does after a command.
enum class Flow {
    FallThrough, // the fall-through tail, then the next command of the same string
    NextLine, // a line fetch (the line offset was set by the command)
    Resume, // back from a sub-event: the next command of the restored string, no tail
    EndRun, // the run is over; RunResult says why
};

using CommandHandler = Flow (*)(Context&);

// A command reads the arguments its shape declares, no more and no fewer: the interpreter runs
// the handler, and `vorn-data check` reads command strings by the shape without running them.
struct ScriptCommand {
    std::string_view keyword;
    CommandHandler handler;
    ArgShape shape;
    LineFlow after = LineFlow::GoesOn;
};

// Every command, one row each (keywords are unique; findCommand looks a row up by its keyword).
extern const std::span<const ScriptCommand> scriptCommands;

// The row of a keyword; nullptr for a keyword that is not in the table (also the empty keyword of
// a used-up command string, which the interpreter runs as END).
const ScriptCommand* findCommand(std::string_view keyword);

namespace command {
    // Control flow
    Flow nex(Context&);
    Flow ctn(Context&);
    Flow jmp(Context&);
    Flow mes(Context&);
    Flow me2(Context&);
    Flow gsb(Context&);
    Flow gs2(Context&);
    Flow end(Context&);
    Flow thr(Context&);
    Flow flg(Context&);
    Flow fge(Context&);
    Flow edg(Context&);
    Flow ovr(Context&);
    Flow map(Context&);
    Flow lbl(Context&);
    Flow gmn(Context&);
    Flow rep(Context&);
    Flow rrt(Context&);
    Flow lop(Context&);
    Flow aew(Context&);
    Flow pus(Context&);
    // Flags and conditions
    Flow fst(Context&);
    Flow ckf(Context&);
    Flow cki(Context&);
    Flow gxy(Context&);
    Flow cke(Context&);
    Flow ckm(Context&);
    // Messages, windows, choices and the pointer
    Flow wit(Context&);
    Flow ent(Context&);
    Flow mwo(Context&);
    Flow win(Context&);
    Flow pos(Context&);
    Flow smw(Context&);
    Flow msp(Context&);
    Flow mss(Context&);
    Flow fsz(Context&);
    Flow fbd(Context&);
    Flow stf(Context&);
    Flow mcl(Context&);
    Flow bpp(Context&);
    Flow kpm(Context&);
    Flow kao(Context&);
    Flow qst(Context&);
    Flow yes(Context&);
    Flow rnd(Context&);
    Flow tim(Context&);
    Flow mus(Context&);
    Flow mu2(Context&);
    // Scripted battles and their music
    Flow btl(Context&);
    Flow bte(Context&);
    Flow btm(Context&);
    // Pictures, screen effects, sound and music
    Flow cls(Context&);
    Flow sef(Context&);
    Flow ful(Context&);
    Flow box(Context&);
    Flow grp(Context&);
    Flow grz(Context&);
    Flow vsc(Context&);
    Flow vzm(Context&);
    Flow vpt(Context&);
    Flow slp(Context&);
    Flow wku(Context&);
    Flow wav(Context&);
    Flow mid(Context&);
    Flow mst(Context&);
    // The player, the view and the movers
    Flow prt(Context&);
    Flow chr(Context&);
    Flow way(Context&);
    Flow pst(Context&);
    Flow mov(Context&);
    Flow scr(Context&);
    Flow cnt(Context&);
    Flow ecc(Context&);
    Flow ec2(Context&);
    Flow wap(Context&);
    Flow wpe(Context&);
    Flow put(Context&);
    Flow ani(Context&);
    Flow sss(Context&);
    Flow dsp(Context&);
    Flow ssc(Context&);
    // The party and its members
    Flow get(Context&);
    Flow awy(Context&);
    Flow ncg(Context&);
    Flow hmp(Context&);
    Flow str(Context&);
    Flow alr(Context&);
    Flow prs(Context&);
    Flow exu(Context&);
    Flow mgt(Context&);
    Flow mlt(Context&);
    Flow stt(Context&);
    Flow srt(Context&);
    // Gold, items, inns, healers and shops
    Flow gld(Context&);
    Flow glp(Context&);
    Flow inn(Context&);
    Flow inp(Context&);
    Flow ret(Context&);
    Flow itp(Context&);
    Flow itl(Context&);
    Flow its(Context&);
} // namespace command

} // namespace vorn
