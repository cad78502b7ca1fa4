// User settings: the set_* globals and sys/settings.cfg with the scrambled
// password file sys/qvgn_pw.dat.
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

int settings_load(int apply);
int settings_save(int page);
