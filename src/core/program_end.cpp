#include "core/program_end.h"

#include "core/errors.h"

namespace vorn {

void endProgramAfterHeadlessRun(HeadlessEnd why)
{
    throw ProgramEnd { why == HeadlessEnd::TimelineDone ? ExitCode::Normal : ExitCode::ExpectTimeout };
}

} // namespace vorn
