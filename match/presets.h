// Host-settings preset files under sys/gamesettings/ ("key=value" lines).
//
// A preset holds the lobby's terrain choices and the 22 host settings by name.
// Reading takes any order, subset and repeats (the last one wins); in a
// single-player mission it also fills weapon slots of category 0.
#pragma once

#include <string>

// A path without an extension gets ".cfg"; "" writes nothing.
int settings_save_host(const std::string& path);
// A missing file changes nothing; otherwise the values are read and the game
// mode's locks applied (game_mode_load, which clamps everything).
int settings_load_host(const std::string& path);
// Forces every host setting into its range label a..b or its label indices;
// also meant for values received from other machines and from replays.
int settings_check_host();
