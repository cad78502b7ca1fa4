// Map spawn entries: the id grammar, box sizes, object creation and the
// check of player spawn points.
#include "terrain/spawns.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/resources.h"
#include "core/shared_state.h"

std::list<Tmap_spawn::Ptr> Tmap_spawn::list;
std::list<Tmap_spawn::Ptr> Tmap_spawn::nodes;

namespace {

// The part of a built-in id between its first and last character.
std::string inner(const std::string& id) { return id.size() >= 2 ? id.substr(1, id.size() - 2) : std::string(); }

std::string cut_at_colon(const std::string& text) { return text.substr(0, text.find(':')); }

// The 12 x 24 bucket of a spawn point (floor division, so that buckets do
// not double up around 0).
std::pair<int64_t, int64_t> bucket_of(const Tmap_spawn& s) {
    auto floor_div = [](int64_t v, int64_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); };
    return {floor_div(s.x, 12), floor_div(s.y, 24)};
}

}  // namespace

int Tmap_spawn::builtinindex(const std::string& name) {
    for (int i = 0; i < 10; ++i)
        if (objn[i] == name) return i;
    return -1;
}

int64_t Tmap_spawn::size() {
    int64_t n = 4;
    for (const Ptr& s : list) n += (int64_t)std::min<size_t>(s->id.size(), 65535) + 2 + 4 + 4;
    return n;
}

int Tmap_spawn::add(int x, int y, const std::string& id) {
    std::string use = id.empty() ? menu_editorobjectid : id;
    if (use.empty()) return 0;
    auto s = std::make_shared<Tmap_spawn>();
    s->id = use;
    s->x = x;
    s->y = y;
    getsize(s->id, s->w, s->h, s->img);
    s->xo = s->w / 2;
    s->yo = s->h / 2;
    list.push_back(s);
    return 0;
}

int Tmap_spawn::getsize(const std::string& id, int& w, int& h, int& img) {
    if (!id.empty() && id[0] == '{') {
        int i = builtinindex(cut_at_colon(inner(id)));
        if (i >= 0) {
            w = objw[i];
            h = objh[i];
            img = 0;
        }
        return 0;
    }
    w = h = 25;
    img = 0;
    int image_id = scro_objimage(cut_at_colon(id));
    if (image_id > 0) {
        if (ImagePtr image = Tres::getimage(image_id)) {
            w = ImageWidth(image);
            h = ImageHeight(image);
            img = image_id;
        }
    }
    return 0;
}

std::string Tmap_spawn::getname() const { return cut_at_colon(builtin() ? inner(id) : id); }

std::string Tmap_spawn::getparam() const {
    std::string body = builtin() ? inner(id) : id;
    size_t colon = body.find(':');
    return colon == std::string::npos ? std::string() : body.substr(colon + 1);
}

int Tmap_spawn::setparam(const std::string& p) {
    std::string n = getname();
    if (builtin())
        id = p.empty() ? "{" + n + "}" : "{" + n + ":" + p + "}";
    else
        id = p.empty() ? n : n + ":" + p;
    return 0;
}

Tmap_spawn::Ptr Tmap_spawn::copy() const {
    auto c = std::make_shared<Tmap_spawn>(*this);
    c->nodename.clear();
    c->counter = 0;
    return c;
}

int Tmap_spawn::preparespawns(std::list<Ptr>& spawns) {
    for (auto it = list.begin(); it != list.end();) {
        const Ptr& s = *it;
        if (s->id.rfind("{Spawnpoint", 0) != 0) {
            ++it;
            continue;
        }
        if (collide(gfx_pl_col, s->x, s->y, 0, nullptr, nullptr) == 0) {
            spawns.push_front(s);
            ++it;
        } else {
            gui_addcon("Warning: Spawnpoint colliding with terrain detected. Removing spawnpoint.");
            it = list.erase(it);
        }
    }
    // Each point is compared only with the points of its own and the
    // neighbouring 12 x 24 buckets, which hold every point it can overlap:
    // a crafted map with many points must not cost a comparison per pair.
    // The outcome is that of comparing every pair in list order.
    std::vector<std::list<Ptr>::iterator> points;
    std::map<std::pair<int64_t, int64_t>, std::vector<size_t>> buckets;
    for (auto it = spawns.begin(); it != spawns.end(); ++it) {
        buckets[bucket_of(**it)].push_back(points.size());
        points.push_back(it);
    }
    std::vector<char> gone(points.size(), 0);
    std::set<const Tmap_spawn*> removed;
    for (size_t a = 0; a < points.size(); ++a) {
        if (gone[a]) continue;
        const Tmap_spawn& pa = **points[a];
        const auto [bx, by] = bucket_of(pa);
        for (int64_t cx = bx - 1; cx <= bx + 1; ++cx)
            for (int64_t cy = by - 1; cy <= by + 1; ++cy) {
                auto cell = buckets.find({cx, cy});
                if (cell == buckets.end()) continue;
                for (size_t b : cell->second) {
                    if (b == a || gone[b]) continue;
                    const Tmap_spawn& pb = **points[b];
                    // Positions come from map packs: differences in 64 bits cannot wrap.
                    if (std::abs((int64_t)pa.x - pb.x) < 12 && std::abs((int64_t)pa.y - pb.y) < 24) {
                        gone[b] = 1;
                        removed.insert(&pb);
                        gui_addcon("Warning: Colliding spawnpoints detected. Removing spawnpoint.");
                    }
                }
            }
    }
    for (size_t i = 0; i < points.size(); ++i)
        if (gone[i]) spawns.erase(points[i]);
    list.remove_if([&](const Ptr& s) { return removed.count(s.get()) != 0; });
    return 0;
}
