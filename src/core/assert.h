// Checks of the program's own invariants. Bad game data is never asserted: it is expected and
// reported through the file and event error dialogs. A failed VORN_ASSERT is a bug in this
// program.
//
// Debug builds (no NDEBUG) and sanitizer builds (VORN_ASSERTIONS, set by VORN_SANITIZE) check
// the condition and, when it fails, print the file, the line and the condition and abort, so the
// debugger or the sanitizer report shows where. Release builds do not evaluate the condition at
// all (it is still compiled, so it cannot rot): the checks cost nothing where players run the game.
#pragma once

namespace vorn {

[[noreturn]] void assertionFailed(const char* condition, const char* file, int line);

} // namespace vorn

#if !defined(NDEBUG) || defined(VORN_ASSERTIONS)
#define VORN_ASSERT(condition) ((condition) ? static_cast<void>(0) : ::vorn::assertionFailed(#condition, __FILE__, __LINE__))
#else
#define VORN_ASSERT(condition) static_cast<void>(sizeof((condition) ? 1 : 0))
#endif
