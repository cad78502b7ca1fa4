// User settings: defaults of the set_* globals (the file code comes next).
#include "core/settings.h"

int set_scrx = 640, set_scry = 480, set_depth = 0;
int set_scrxh = 320, set_scryh = 240;
int set_tmp_scrx = 0, set_tmp_scry = 0, set_tmp_depth = 0;
int set_particles = 2, set_background = 3, set_textshadows = 1;
int set_music_vol = 1, set_sfx_vol = 3;
std::string set_sfx_driver;
std::string set_name = "Grombat";
int set_gore = 3, set_bloodcolor = 0;
std::string set_qvgnu, set_qvgnp;
int set_netspeed = 15, set_record = 1;
std::string set_host_name = "Grombat Fraycup";
int set_host_port = 36963;
std::string set_host_pw;
int set_host_multiteams = 0;
int set_saveres = 0;

std::string audset;
std::vector<std::string> aud;

int settings_load(int) { return 0; }
int settings_save(int) { return 0; }
