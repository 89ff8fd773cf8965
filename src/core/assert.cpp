#include "core/assert.h"

#include <cstdio>
#include <cstdlib>

namespace vorn {

void assertionFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "vorn: %s:%d: internal check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace vorn
