// Platform start-up (first cut: headless only).
#include "platform/platform.h"

namespace {
bool g_headless = true;
}

void PlatformInit(const PlatformOptions& options) { g_headless = options.headless || true; }
bool PlatformHeadless() { return g_headless; }
void PlatformShutdown() {}
