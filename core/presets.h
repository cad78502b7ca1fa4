// Host-settings preset files under sys/gamesettings/ ("key=value" lines).
#pragma once

#include <string>

int settings_save_host(const std::string& path);
int settings_load_host(const std::string& path);
// Forces every host setting into its range or label indices.
int settings_check_host();
