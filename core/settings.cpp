// User settings: the set_* globals, sys/settings.cfg and the scrambled
// password file.
//
// The password file holds crypt(password) followed by CR LF. The scrambler can
// produce the bytes 10 and 13, so the file is read as bytes: its first line
// ends at the first CR LF, never at a lone CR or LF.
#include "core/settings.h"

#include <cstdint>

#include "core/catalogue.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/stream.h"

int set_scrx, set_scry, set_depth;
int set_scrxh, set_scryh;
int set_tmp_scrx, set_tmp_scry, set_tmp_depth;
int set_particles, set_background, set_textshadows;
int set_music_vol, set_sfx_vol;
std::string set_sfx_driver;
std::string set_name;
int set_gore, set_bloodcolor;
std::string set_qvgnu, set_qvgnp;
int set_netspeed, set_record;
std::string set_host_name;
int set_host_port;
std::string set_host_pw;
int set_host_multiteams;
int set_saveres;

std::string audset;
std::vector<std::string> aud;

void settings_defaults() {
    set_scrx = 640, set_scry = 480, set_depth = 0;
    set_scrxh = set_scrx / 2, set_scryh = set_scry / 2;
    set_tmp_scrx = 0, set_tmp_scry = 0, set_tmp_depth = 0;
    set_particles = 2, set_background = 3, set_textshadows = 1;
    set_music_vol = 1, set_sfx_vol = 3;
    set_sfx_driver.clear();
    set_name = "Grombat";
    set_gore = 3, set_bloodcolor = 0;
    set_qvgnu.clear(), set_qvgnp.clear();
    set_netspeed = 15, set_record = 1;
    set_host_name = "Grombat Fraycup";
    set_host_port = 36963;
    set_host_pw.clear();
    set_host_multiteams = 0;
    set_saveres = 0;
    audset.clear();
    aud.clear();
}

namespace {

// Runs after the globals above are constructed (same file, later definition).
const int defaults_set = (settings_defaults(), 0);

// Scrambles the password in its file only; 20 characters, three of them
// Latin-1 letters above 127. Changing it makes every saved password unreadable.
const std::string kPasswordKey = "Gr\xF6mb4t-Fr\xE4yc\xFCp#72!k";

enum Kind { PLAIN, RESOLUTION, DEPTH, DRIVER, NAME };

constexpr int kMaxScreenSide = 16384;

struct Field {
    const char* key;
    int* number;
    std::string* text;
    Kind kind;
};

// The file's lines, in the order they are written.
const Field kFields[] = {
    {"resolution", nullptr, nullptr, RESOLUTION},
    {"depth", &set_tmp_depth, nullptr, DEPTH},
    {"particles", &set_particles, nullptr, PLAIN},
    {"backgroundfx", &set_background, nullptr, PLAIN},
    {"textshadows", &set_textshadows, nullptr, PLAIN},
    {"musicvolume", &set_music_vol, nullptr, PLAIN},
    {"sfxvolume", &set_sfx_vol, nullptr, PLAIN},
    {"audiodriver", nullptr, &set_sfx_driver, DRIVER},
    {"name", nullptr, &set_name, NAME},
    {"gore", &set_gore, nullptr, PLAIN},
    {"bloodcolor", &set_bloodcolor, nullptr, PLAIN},
    {"qvgnuser", nullptr, &set_qvgnu, PLAIN},
    {"upload", &set_netspeed, nullptr, PLAIN},
    {"recordreplay", &set_record, nullptr, PLAIN},
    {"hostname", nullptr, &set_host_name, PLAIN},
    {"hostport", &set_host_port, nullptr, PLAIN},
    {"hostpw", nullptr, &set_host_pw, PLAIN},
    {"hostmultiteams", &set_host_multiteams, nullptr, PLAIN},
};

// The platform lists its default driver (the one it opens when none was
// chosen) first.
void fill_default_driver() {
    if (!set_sfx_driver.empty()) return;
    std::vector<std::string> drivers = AudioDrivers();
    set_sfx_driver = drivers.empty() ? "Null" : drivers.front();
}

void apply_driver(const std::string& name) {
    if (name == audset) return;
    audset = name;
    if (sfx_musicchan) {
        sfx_musicchan->Stop();
        sfx_musicchan.reset();
    }
    SetAudioDriver(name == "Default Driver" ? "Null" : name);
}

void read_line(const std::string& line, int apply) {
    size_t space = line.find(' ');
    if (space == std::string::npos) return;
    std::vector<std::string> pieces = text_split(line, " ");
    if (pieces.size() < 2) return;
    std::string key = text_lower(pieces[0]);
    const Field* field = nullptr;
    for (const Field& f : kFields)
        if (key == f.key) field = &f;
    if (!field) return;
    int number = text_toint_saturating(pieces[1]);
    std::string text = line.substr(space + 1);
    switch (field->kind) {
        case RESOLUTION: {
            std::vector<std::string> wh = text_split(pieces[1], "x");
            if (wh.size() < 2) return;
            int w = text_toint_saturating(wh[0]), h = text_toint_saturating(wh[1]);
            // Beyond 16384 a side no display exists, and screen-wide loops
            // would run for ever: such a line changes nothing, like one below
            // the smallest mode.
            if (w < 640 || h < 480 || w > kMaxScreenSide || h > kMaxScreenSide) return;
            set_tmp_scrx = w, set_tmp_scry = h;
            if (apply == 1) set_scrx = w, set_scry = h, set_scrxh = w / 2, set_scryh = h / 2;
            return;
        }
        case DEPTH:
            set_tmp_depth = number;
            if (apply == 1) set_depth = number;
            return;
        case DRIVER:
            set_sfx_driver = text;
            apply_driver(text);
            return;
        case NAME:
            set_name = trimname(text, 30);
            return;
        case PLAIN:
            // The particle level reaches loop counts (leaves per knocked-off
            // sprite): 0..3, where below 0 acts as 0 and 3 as any level above 2.
            if (field->number == &set_particles) number = number < 0 ? 0 : number > 3 ? 3 : number;
            if (field->number)
                *field->number = number;
            else
                *field->text = text;
            return;
    }
}

std::string read_password() {
    BankPtr bank = LoadBank(kPasswordFile);
    if (!bank) return "";
    std::string scrambled(bank->Bytes().begin(), bank->Bytes().end());
    // The first line only. It ends at the first CR LF, so a lone CR or LF the
    // scrambler made stays part of it; a file without CR LF ends the line at
    // its first LF, or at its end.
    size_t end = scrambled.find("\r\n");
    if (end == std::string::npos) end = scrambled.find('\n');
    if (end != std::string::npos) scrambled.resize(end);
    return crypt(scrambled, kPasswordKey, 1);
}

void write_password() {
    std::string line = crypt(set_qvgnp, kPasswordKey, 0) + "\r\n";
    // Readable by its owner only: it holds the account's password.
    SaveBank(Bank(line.data(), line.size()), kPasswordFile, 0600);
}

void write_settings() {
    std::vector<std::string> lines;
    for (const Field& f : kFields) {
        std::string value;
        if (f.kind == RESOLUTION)
            value = std::to_string(set_tmp_scrx) + "x" + std::to_string(set_tmp_scry);
        else if (f.number)
            value = std::to_string(*f.number);
        else
            value = *f.text;
        lines.push_back(std::string(f.key) + " " + value);
    }
    SaveLines(lines, kSettingsFile);
}

// "WxH" from the video page's mode list; anything else keeps 1024x768.
void take_display_mode(int sel) {
    set_tmp_scrx = 1024, set_tmp_scry = 768;
    if (sel < 0 || sel >= (int)set_availgfxmodes.size()) return;
    std::vector<std::string> wh = text_split(set_availgfxmodes[sel], "x");
    if (wh.size() != 2) return;
    int w = text_toint_saturating(wh[0]), h = text_toint_saturating(wh[1]);
    if (w >= 640 && h >= 480) set_tmp_scrx = w, set_tmp_scry = h;
}

}  // namespace

int settings_load(int apply) {
    fill_default_driver();
    StreamPtr file = ReadFile(kSettingsFile);
    if (!file) return 0;
    while (!file->Eof() && !file->Failed()) read_line(file->ReadLine(), apply);
    file->Close();
    set_qvgnp = read_password();
    qvgn_loaduserdata(set_qvgnu, set_qvgnp);
    return 0;
}

int settings_save(int page) {
    fill_default_driver();
    switch (page) {
        case 0:
            take_display_mode(gui_in_sel[0]);
            set_tmp_depth = gui_in_check[0] ? 32 : 0;
            set_particles = gui_in_sel[1];
            set_background = gui_in_sel[2];
            set_textshadows = gui_in_check[1];
            break;
        case 1:
            set_music_vol = gui_in_sel[0];
            set_sfx_vol = gui_in_sel[1];
            if (gui_in_sel[2] >= 0 && gui_in_sel[2] < (int)aud.size()) set_sfx_driver = aud[gui_in_sel[2]];
            break;
        case 2:
            set_name = gui_in_txt[0];
            set_gore = gui_in_sel[0];
            set_bloodcolor = gui_in_sel[1];
            set_qvgnu = gui_in_txt[1];
            set_qvgnp = gui_in_txt[2];
            set_netspeed = text_toint_saturating(gui_in_txt[3]);
            set_record = gui_in_check[0];
            break;
        case 4:
            set_host_name = gui_in_txt[0];
            set_host_port = text_toint_saturating(gui_in_txt[1]);
            set_host_pw = gui_in_txt[2];
            set_host_multiteams = gui_in_check[0];
            break;
        default:
            break;
    }
    // Nothing chosen yet: keep the running mode.
    if (set_tmp_scrx == 0) set_tmp_scrx = set_scrx, set_tmp_scry = set_scry, set_tmp_depth = set_depth;
    write_settings();
    write_password();
    settings_load(0);
    return 0;
}

