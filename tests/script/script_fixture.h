// A small in-memory script run: a headless context with the frame sheet, a 10 x 8 map whose
// change file is empty, and helpers to write event lines and run them.
#pragma once

#include "core/errors.h"
#include "data/map_files.h"
#include "platform/encoding.h"
#include "script/interpreter.h"
#include "support/test_context.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace vorn::test {

// Replaces the lines of `event` (message text in UTF-8, command string) and ends it with "99".
void setEventLines(Context& ctx, int event, const std::vector<std::pair<std::string, std::string>>& lines);
// Starts a run of `event` from its line 0 the way a map event run does, without the field's
// drawing.
void runEventLines(Context& ctx, int event);

class ScriptFixture {
public:
    // The timeline runs as virtual time passes; ten virtual minutes after it has run out, a run
    // still waiting for input ends with ProgramEnd instead of waiting for ever.
    explicit ScriptFixture(const std::string& timeline = "");

    Context& ctx() { return t.ctx(); }

    // Replaces the lines of `event` (message text in UTF-8, command string) and ends it with "99".
    void setEvent(int event, const std::vector<std::pair<std::string, std::string>>& lines);
    // Runs `event` of the current map as a map event run does, without the field's drawing.
    void run(int event = 0);
    // The same, expecting the event error dialog; returns the error transcript line.
    std::string runExpectingEventError(int event = 0);
    // Reports an unexpected end of the program with the message boxes shown.
    void explainEnd(const ProgramEnd& end) const;
    // Text lines printed so far (UTF-8).
    std::vector<std::string> texts() const { return t.lines("text"); }
    float& flag(int a, int b) { return ctx().db.flags[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; }
    // Writes a game file under the test folder (cp932 path parts as given).
    void writeFile(const std::string& relative, const std::string& bytes);

    TestContext t;
};

} // namespace vorn::test
