// User settings: the set_* globals and sys/settings.cfg with the scrambled
// password file sys/qvgn_pw.dat.
//
// sys/settings.cfg is 18 "key value" lines in a fixed order. Loading takes any
// order and subset, ignores what it does not know, and reads a non-number as
// 0; saving copies one options page into the globals, rewrites both files
// (each replaced only by a complete write) and loads them again, so the
// running values are always the ones a fresh start would read.
#pragma once

#include <string>
#include <vector>

// Running screen mode and its halves (set again when the screen opens).
extern int set_scrx, set_scry, set_depth;
extern int set_scrxh, set_scryh;
// The chosen mode written to the file; 0 until a file or the video page sets it.
extern int set_tmp_scrx, set_tmp_scry, set_tmp_depth;
extern int set_particles, set_background, set_textshadows;
extern int set_music_vol, set_sfx_vol;
// The audio driver by name ("Default Driver" stands for "Null"); "" until the
// first load or save puts the platform's default driver there.
extern std::string set_sfx_driver;
extern std::string set_name;
extern int set_gore, set_bloodcolor;
extern std::string set_qvgnu, set_qvgnp;
extern int set_netspeed, set_record;
extern std::string set_host_name;
extern int set_host_port;
extern std::string set_host_pw;
extern int set_host_multiteams;
// Keep received files on disk instead of in memory (not stored in the file).
extern int set_saveres;

// The audio driver name last applied by settings_load, and the driver names
// shown on the audio page ("Null" shown as "Default Driver").
extern std::string audset;
extern std::vector<std::string> aud;

inline constexpr const char* kSettingsFile = "sys/settings.cfg";
inline constexpr const char* kPasswordFile = "sys/qvgn_pw.dat";

// apply 1 (start-up) also takes the screen mode into set_scrx/set_scry/set_depth.
int settings_load(int apply);
// page 0 video, 1 audio, 2 player and account, 4 host defaults; any other page
// copies nothing and only rewrites and reloads.
int settings_save(int page);
// Every user setting back to its start-up value (audset and aud included).
void settings_defaults();

