// In-game HUD state (stand-in until the HUD exists).
#include "frontend/hud/hud.h"

#include "core/shared_state.h"

int hud_currentmenu = 0;
int hud_rmenu = 0;
int hud_weaponhover = -1;
int hud_weaponhovert = 0;
int hud_weaponhoverteam = 0;
int hud_wpnsel = 0;

std::string Thud_msg::text;
int Thud_msg::r = 0, Thud_msg::g = 0, Thud_msg::b = 0, Thud_msg::icon = -1;

int Thud_msg::add(const std::string& message, int red, int green, int blue, int icon_id) {
    text = message;
    r = red, g = green, b = blue, icon = icon_id;
    return 0;
}

// ---- World-event records: HUD state they set and the calls they make
// (stand-ins until the HUD exists; declared in core/shared_state.h).
int hud_drawposset = 0, hud_drawposx = 0, hud_drawposy = 0;
int hud_drawtimerval = 0;
int hud_drawpos = 0;
int hud_drawtimer = -1, hud_drawtimermin = 0, hud_drawtimermax = 0, hud_drawtimertemp = 0;
int hud_turnbardone = 0, hud_turnbarall = 0;

int hud_msg_add(const std::string& text, int r, int g, int b, int icon) { return Thud_msg::add(text, r, g, b, icon); }

std::vector<Thud_flytext> Thud_flytext::list;
int Thud_flytext::add(const std::string& text, int x, int y, int r, int g, int b) {
    // A rising text lives about two seconds; never more than a screenful.
    if (list.size() >= 64) list.erase(list.begin());
    list.push_back({text, x, y, r, g, b});
    return 0;
}
int hud_flytext_add(const std::string& text, int x, int y, int r, int g, int b) {
    return Thud_flytext::add(text, x, y, r, g, b);
}

std::vector<Thud_chat> Thud_chat::list;
int Thud_chat::add(int id, const std::string& text, int seconds, const std::string& suffix) {
    if (list.size() >= 64) list.erase(list.begin());
    list.push_back({id, text, seconds * 50, suffix});
    return 0;
}
int hud_chat_add(int id, const std::string& text, int seconds, const std::string& suffix) {
    return Thud_chat::add(id, text, seconds, suffix);
}
int hud_match_reset(int chat) {
    Thud_flytext::list.clear();
    hud_chatprompt = 0;
    if (chat) Thud_chat::list.clear();
    return 0;
}

// ---- HUD state the match step reads and resets, and the HUD parts it draws
// (stand-ins until the HUD exists; declared in core/shared_state.h).
int hud_chatprompt = 0;
int hud_show = 1, hud_shownamehealth = 0, hud_showarrows = 0, hud_drawmapborder = 0;
int hud_maxhealth = 0;
float hud_menualpha = 0, hud_turnbaralpha = 0;
std::string hud_info;
int hud_infor = 255, hud_infog = 255, hud_infob = 255;
int hud_match_draws = 0;

int hud_match_draw(int) {
    hud_match_draws++;
    return 0;
}
int hud_mapborder() { return 0; }
