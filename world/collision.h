// Collision queries: does an image placed at a point touch a living player,
// the terrain or a script object? The queries read only lockstep state, so
// every machine gets the same answers.
#pragma once

#include <list>

#include "core/shared_state.h"
#include "platform/image.h"

// collide() is declared in core/shared_state.h.
// The id of the first living player in list order, `skip` left out, within
// reach int(1.5 x max(w, h) + 30) on both axes (strict) whose mask gfx_pl_col
// at its truncated position touches the image; else 0.
int collide_player(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip);
// The id of the first script object in list order, `skip` left out, whose
// type's registry image (frame 0, at the object's truncated position) touches
// the image, tested only within reach int(1.5 x max(its w, h) + max(query w,
// h)) on both axes (strict); built-in kinds never take part. Else 0.
int collide_object(const ImagePtr& image, int x, int y, int frame, const Tobj* skip);
// 1 when the image, placed by its handle at (x, y), touches a terrain pixel of
// alpha 128 or more.
int collide_env(const ImagePtr& image, int x, int y, int frame);
// Wakes every player (idle 0, idletimer at least 5, a resting one gets a small
// fall speed so it checks its footing) and every object (idle 0) after the
// world changed under them. Returns 0.
int collide_update();

// One collision-debug marker: where a script tested for contact (made and
// drawn only while in_debugcol is 1).
struct TColDebug {
    static constexpr size_t kMax = 1000;
    ImagePtr img;
    int x = 0, y = 0;
    float alpha = 0.5f;

    static std::list<TColDebug> list;
    // Appends a marker at alpha 0.5 (the oldest goes beyond kMax). Returns 0.
    static int add(const ImagePtr& image, int x, int y);
    // Draws every marker and fades it by 0.01; a faded or imageless one is
    // removed. Returns 0.
    static int draw();
};
