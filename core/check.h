// Checks of documented invariants (GF_ASSERT): active in test, debug and fuzz
// builds, compiled out in release builds.
//
// For invariants the code itself keeps, never for data from outside: a file,
// datagram or script that breaks a rule is refused with a reason, not asserted.
#pragma once

#if defined(GROMBAT_CHECKS)
// Reports the broken invariant with its place and ends the program.
[[noreturn]] void check_failed(const char* condition, const char* invariant, const char* file, int line);
#define GF_ASSERT(condition, invariant) \
    ((condition) ? (void)0 : check_failed(#condition, invariant, __FILE__, __LINE__))
#else
#define GF_ASSERT(condition, invariant) ((void)0)
#endif
