// Host settings table (first cut: storage only).
#include "core/host_settings.h"

int set[kHostSettings];
std::string setn[kHostSettings];
std::vector<std::string> set_array[kHostSettings];
std::string setfreeze[kHostSettings];
float g_gravityArray[7];

void host_settings_init() {}
std::string host_setting_label(int, int) { return ""; }
