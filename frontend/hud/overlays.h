// HUD overlays drawn over everything else in a match: the tooltip of the
// widget under the pointer and the information box of a hovered weapon.
#pragma once

// The tooltip gui_tt beside the pointer, kept on screen.
int hud_drawtooltip();
// Name and info lines of weapon hud_weaponhover in its team's colour; nothing
// when the index names no weapon.
int hud_drawweaponinfo();
