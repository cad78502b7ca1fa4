// HUD overlays: the tooltip and the weapon information box.
#include "frontend/hud/overlays.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/text.h"
#include "frontend/hud/hud.h"
#include "frontend/widgets/widgets.h"
#include "platform/draw.h"
#include "scripting/script_objects.h"

namespace {

const char* const kNoInfo = "No info available for this weapon!";

}  // namespace

int hud_drawtooltip() {
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    SetImageFont(font_small);
    int x = in_mx + 13, y = in_my + 18;
    int w = TextWidth(gui_tt + "8");  // one spare digit width
    if (x + w > set_scrx - 2) x = set_scrx - 2 - w;
    if (y + 17 > set_scry - 2) y = set_scry - 17 - 2;
    DrawRect((float)x, (float)y, (float)(w + 4), 17);
    gui_stext(gui_tt, x + 2, y + 1, 0, 255, 255, 255, 1);
    return 0;
}

int hud_drawweaponinfo() {
    // A hovered index may name an empty slot (scripts reloaded): no box then.
    // Script-built info ends every wrapped line with the two characters "\n"
    // (backslash, n), so the last piece is always empty and is not shown.
    if (hud_weaponhover < 0 || hud_weaponhover >= (int)Tscro::weapon.size()) return 0;
    const std::shared_ptr<Tscro>& weapon = Tscro::weapon[(size_t)hud_weaponhover];
    if (!weapon) return 0;
    std::vector<std::string> pieces =
        weapon->info.empty() ? std::vector<std::string>{kNoInfo, ""} : text_split(weapon->info, "\\n");
    int n = (int)pieces.size();

    SetTransform(0, 1, 1);
    SetAlpha(0.85f);
    SetColor(30, 30, 30);
    SetBlend(ALPHABLEND);
    SetImageFont(font_small);
    int w = TextWidth(weapon->name) + 4;
    for (int i = 0; i < n - 1; i++) w = std::max(w, TextWidth(pieces[(size_t)i]) + 4);
    int h = (n - 1) * 14 + 18;
    int x = in_mx + 5, y = in_my + 5;
    if (x + w > set_scrx - 5) x = set_scrx - 5 - w;
    if (y + h > set_scry - 5) y = set_scry - 5 - h;
    DrawRect((float)x, (float)y, (float)w, (float)h);

    teamcolor(hud_weaponhoverteam);
    SetAlpha(1);
    DrawText(weapon->name, (float)(x + 2), (float)(y + 2));
    if (pieces[0] == kNoInfo)
        SetColor(150, 150, 150);
    else
        SetColor(255, 255, 255);
    for (int i = 0; i < n - 1; i++) DrawText(pieces[(size_t)i], (float)(x + 2), (float)(y + 16 + 14 * i));
    return 0;
}
