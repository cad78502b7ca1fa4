// Host-settings preset files (first cut: no-ops).
#include "core/presets.h"

int settings_save_host(const std::string&) { return 0; }
int settings_load_host(const std::string&) { return 0; }
int settings_check_host() { return 0; }
