// Collision queries: does an image placed at a point touch a living player,
// the terrain or a script object? (Script objects join with the game
// objects.)
#pragma once

#include "platform/image.h"

struct Tplayer;
struct Tobj;

// 100 + player id, 1 for terrain, 200 + object id, or 0 for no contact.
int collide(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip_player, const Tobj* skip_obj);
// The id of the first living player in list order, `skip` left out, within
// reach int(1.5 x max(w, h) + 30) on both axes (strict) whose mask gfx_pl_col
// at its truncated position touches the image; else 0.
int collide_player(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip);
// 1 when the image, placed by its handle at (x, y), touches a terrain pixel of
// alpha 128 or more.
int collide_env(const ImagePtr& image, int x, int y, int frame);
// Wakes every player (idle 0, idletimer at least 5, a resting one gets a small
// fall speed so it checks its footing) and every object (idle 0) after the
// world changed under them. Returns 0.
int collide_update();
