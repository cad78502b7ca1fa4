// Report of a broken invariant (see check.h).
#include "core/check.h"

#include <cstdio>
#include <cstdlib>

#if defined(GROMBAT_CHECKS)
void check_failed(const char* condition, const char* invariant, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", file, line, invariant, condition);
    std::fflush(stderr);
    std::abort();
}
#endif
