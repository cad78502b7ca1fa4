// Collision queries: terrain, players and script objects, the precedence of
// collide, and the collision-debug markers.
#include "world/collision.h"

#include <algorithm>
#include <cmath>

#include "core/catalogue.h"
#include "core/resources.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "terrain/view.h"
#include "terrain/tiles.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"

int collide_env(const ImagePtr& image, int x, int y, int frame) {
    if (!image) return 0;
    double left = x - image->handle_x, top = y - image->handle_y;
    if (left + image->width < 0 || top + image->height < 0 || left > map_xsize || top > map_ysize) return 0;
    int tx0 = (int)(left / kTileSize), tx1 = (int)((left + image->width) / kTileSize);
    int ty0 = (int)(top / kTileSize), ty1 = (int)((top + image->height) / kTileSize);
    if (tx0 < 0) tx0 = 0;
    if (ty0 < 0) ty0 = 0;
    if (tx1 > map_xtiles - 1) tx1 = map_xtiles - 1;
    if (ty1 > map_ytiles - 1) ty1 = map_ytiles - 1;
    for (int tx = tx0; tx <= tx1; ++tx)
        for (int ty = ty0; ty <= ty1; ++ty) {
            const ImagePtr& tile = map_img[tx][ty];
            if (tile && ImagesCollide(tile, tx * kTileSize, ty * kTileSize, 0, image, x, y, frame)) return 1;
        }
    return 0;
}

int collide_player(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip) {
    if (!image) return 0;
    // Cheap square reach first: pixel tests are costly and run for every
    // walking and falling sub-step.
    const int reach = (int)(1.5 * std::max(image->width, image->height) + 30);
    for (auto& p : Tplayer::list) {
        if (p->health <= 0 || p.get() == skip) continue;
        if (!(std::fabs(p->x - (float)x) < (float)reach && std::fabs(p->y - (float)y) < (float)reach)) continue;
        if (ImagesCollide(gfx_pl_col, (int)p->x, (int)p->y, 0, image, x, y, frame)) return p->id;
    }
    return 0;
}

// The image a script object is tested with, or null when it takes no part
// (built-in kinds, unregistered types, image 0 or outside the table).
static ImagePtr object_image(const Tobj& o) {
    if (o.typ <= 0) return nullptr;
    int image = script_objectimage(o.typ);
    if (image < 1 || image >= (int)Tres::gfx.size()) return nullptr;
    return Tres::getimage(image);
}

int collide_object(const ImagePtr& image, int x, int y, int frame, const Tobj* skip) {
    if (!image) return 0;
    const int query = std::max(image->width, image->height);
    for (auto& o : Tobj::list) {
        if (o.get() == skip) continue;
        ImagePtr own = object_image(*o);
        if (!own) continue;
        const int reach = (int)(1.5 * std::max(own->width, own->height) + query);
        if (!(std::fabs(o->x - (float)x) < (float)reach && std::fabs(o->y - (float)y) < (float)reach)) continue;
        if (ImagesCollide(own, (int)o->x, (int)o->y, 0, image, x, y, frame)) return o->id;
    }
    return 0;
}

// Players first, then terrain, then script objects: the first answer wins.
int collide(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip_player, const Tobj* skip_obj) {
    if (int id = collide_player(image, x, y, frame, skip_player)) return 100 + id;
    if (collide_env(image, x, y, frame)) return 1;
    if (int id = collide_object(image, x, y, frame, skip_obj)) return 200 + id;
    return 0;
}

int collide_update() {
    for (auto& p : Tplayer::list) {
        p->idle = 0;
        if (p->idletimer < 5) p->idletimer = 5;
        if (p->fx == 0 && p->fy == 0) p->fy += 0.3f;
    }
    for (auto& o : Tobj::list) o->idle = 0;
    return 0;
}

std::list<TColDebug> TColDebug::list;

int TColDebug::add(const ImagePtr& image, int x, int y) {
    // Drawing aid only; a script testing every frame cannot grow it without end.
    if (list.size() >= kMax) list.pop_front();
    list.push_back({image, x, y, 0.5f});
    return 0;
}

int TColDebug::draw() {
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    for (auto it = list.begin(); it != list.end();) {
        if (!it->img) {
            it = list.erase(it);
            continue;
        }
        SetAlpha(it->alpha);
        DrawImage(it->img, (float)tp_int((double)it->x + map_x), (float)tp_int((double)it->y + map_y), 0);
        it->alpha -= 0.01f;
        if (it->alpha > 0)
            ++it;
        else
            it = list.erase(it);
    }
    return 0;
}
