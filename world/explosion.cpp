// Explosions and area damage (stand-in).
#include "world/explosion.h"

#include "terrain/edit.h"
#include "world/player.h"

int explosion(int x, int y, int radius, int) {
    map_oval(x, y, radius, radius, 0);
    return 0;
}

int arealdamage(int x, int y, int radius, int damage) {
    if (radius <= 0) return 0;
    for (auto& p : Tplayer::list) {
        double dx = (double)p->x - x, dy = (double)p->y - y;
        double d2 = dx * dx + dy * dy, r = (double)radius;
        if (p->health <= 0 || d2 >= r * r) continue;
        // Integer steps of the distance keep the fall-off free of square roots.
        int dist = 0;
        while ((double)(dist + 1) * (dist + 1) <= d2) ++dist;
        int amount = (int)((long long)damage * (radius - dist) / radius);
        p->damage(amount, 1);
    }
    return 0;
}
