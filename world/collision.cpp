// Collision queries: terrain and players (script objects join with the game
// objects).
#include "world/collision.h"

#include <algorithm>
#include <cmath>

#include "core/catalogue.h"
#include "terrain/tiles.h"
#include "world/objects.h"
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

int collide(const ImagePtr& image, int x, int y, int frame, const Tplayer* skip_player, const Tobj*) {
    if (int id = collide_player(image, x, y, frame, skip_player)) return 100 + id;
    return collide_env(image, x, y, frame) ? 1 : 0;
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
