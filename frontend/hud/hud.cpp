// In-game HUD state (stand-in until the HUD exists).
#include "frontend/hud/hud.h"

#include "core/catalogue.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"

#include <algorithm>

int hud_currentmenu = 0;
int hud_rmenu = 0;
int hud_weaponhover = -1;
int hud_weaponhovert = 0;
int hud_weaponhoverteam = 0;
int hud_wpnsel = 0;

std::string Thud_msg::text;
int Thud_msg::r = 0, Thud_msg::g = 0, Thud_msg::b = 0, Thud_msg::icon = -1;

std::string Thud_msg::info;
int Thud_msg::infor = 255, Thud_msg::infog = 255, Thud_msg::infob = 255;
int Thud_msg::msgbox = 0;
std::vector<std::string> Thud_msg::msgboxtext;
int Thud_msg::msgboxtotallength = -1, Thud_msg::msgboxfadein = 0, Thud_msg::msgboxa = 0;

int Thud_msg::reset() {
    msgbox = 0;
    msgboxtotallength = -1;
    msgboxfadein = 0;
    msgboxa = 0;
    return 0;
}

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
int hud_showarrows = 0;
int hud_maxhealth = 0;
float hud_menualpha = 0, hud_turnbaralpha = 0;
int hud_match_draws = 0;

int hud_match_draw(int) {
    hud_match_draws++;
    return 0;
}
int hud_mapborder() { return 0; }

// ---- Script HUD requests (stand-ins until the HUD exists; scripting reaches
// them through core/shared_state.h).
int hud_drawchargebar = 0;
float hud_drawchargebarperc = 0;
int hud_drawammobar = 0, hud_drawammobarsub = 0, hud_drawammobartotal = 0, hud_drawammobaricon = 0;
int hud_drawposimg = 0, hud_drawposrange = 0;
int hud_drawposcolterrain = 1, hud_drawposcolplayers = 1, hud_drawposcolobjects = 1;
int hud_drawaim = 0, hud_drawaimxo = 0, hud_drawaimyo = 0;
int hud_drawmapborder = 0, hud_borderstyle = 0, hud_borderoffset = 0;
int hud_show = 1;
int hud_shownamehealth = 2;
int hud_cutscene = 0;

int hud_setinfo(const std::string& text, int r, int g, int b) {
    Thud_msg::info = text;
    Thud_msg::infor = r, Thud_msg::infog = g, Thud_msg::infob = b;
    return 0;
}

// A script may open the box every frame with the same text: only a text of
// another length starts it typing again.
int hud_msgbox(const std::string& text) {
    if ((long long)text.size() != Thud_msg::msgboxtotallength) {
        Thud_msg::msgboxtext = {text};
        Thud_msg::msgboxtotallength = (int)std::min<size_t>(text.size(), 0x7fffffff);
        Thud_msg::msgboxfadein = 0;
        play(sfx_msgbox1, 1.0f);
    }
    Thud_msg::msgbox = 1;
    return 0;
}

// Queues hold what scripts add between two rendered frames; a script adding
// every simulated frame while frames are skipped cannot grow them past this.
constexpr size_t kLuaQueueMax = 4096;

std::vector<Thud_lua> Thud_lua::list;
int Thud_lua::add(const std::string& text, int x, int y, int r, int g, int b, int align) {
    if (list.size() >= kLuaQueueMax) return 0;
    Thud_lua t;
    t.txt = text;
    t.x = x, t.y = y;
    t.rgb[0] = r, t.rgb[1] = g, t.rgb[2] = b;
    t.align = align;
    list.push_back(std::move(t));
    return 0;
}
int hud_lua_add(const std::string& text, int x, int y, int r, int g, int b, int align) {
    return Thud_lua::add(text, x, y, r, g, b, align);
}

std::vector<Thud_lua::Image> Thud_lua::imglist;
int Thud_lua::addimage(int image, int x, int y, int mode) {
    if (imglist.size() >= kLuaQueueMax) return 0;
    Image i;
    i.image = image, i.x = x, i.y = y, i.mode = mode;
    GetColor(i.r, i.g, i.b);
    i.alpha = GetAlpha();
    GetScale(i.scalex, i.scaley);
    i.rotation = GetRotation();
    i.blend = GetBlend();
    imglist.push_back(i);
    return 0;
}
int hud_lua_addimage(int image, int x, int y, int mode) { return Thud_lua::addimage(image, x, y, mode); }
