// In-game HUD state (stand-in until the HUD exists).
#include "frontend/hud/hud.h"

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
