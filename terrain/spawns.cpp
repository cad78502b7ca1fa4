// Map spawn entries: the id grammar, box sizes, object creation and the
// check of player spawn points.
#include "terrain/spawns.h"

#include <algorithm>
#include <cstdlib>

#include "core/catalogue.h"
#include "core/resources.h"
#include "core/startup.h"
#include "frontend/editor/editor.h"
#include "frontend/screens/console.h"
#include "scripting/object_calls.h"
#include "scripting/script_objects.h"
#include "world/collision.h"
#include "world/objects.h"

std::list<Tmap_spawn::Ptr> Tmap_spawn::list;
std::list<Tmap_spawn::Ptr> Tmap_spawn::nodes;

namespace {

// The part of a built-in id between its first and last character.
std::string inner(const std::string& id) { return id.size() >= 2 ? id.substr(1, id.size() - 2) : std::string(); }

std::string cut_at_colon(const std::string& text) { return text.substr(0, text.find(':')); }

// Lowest built-in index with this name, -1 for none.
int builtin_index(const std::string& name) {
    for (int i = 0; i < 10; ++i)
        if (objn[i] == name) return i;
    return -1;
}

}  // namespace

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
        int i = builtin_index(cut_at_colon(inner(id)));
        if (i >= 0) {
            w = objw[i];
            h = objh[i];
            img = 0;
        }
        return 0;
    }
    w = h = 25;
    img = 0;
    int t = Tscro::getbytable(2, cut_at_colon(id));
    if (t > 0 && Tscro::obj[t] && Tscro::obj[t]->image > 0) {
        if (ImagePtr image = Tres::getimage(Tscro::obj[t]->image)) {
            w = ImageWidth(image);
            h = ImageHeight(image);
            img = Tscro::obj[t]->image;
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

int Tmap_spawn::perform() {
    nodes.clear();
    for (const Ptr& s : list) {
        std::string n = s->getname();
        if (!s->builtin()) {
            int t = Tscro::getbytable(2, n);
            if (t == 0) continue;
            auto o = Tobj::Create(t, s->x, s->y, 0, Tobj::getfreeid(1), 0);
            if (o && t < (int)Tscro::obj.size() && Tscro::obj[t]) {
                const std::string& path = Tscro::obj[t]->path;
                lua_objectcall(t, "setup", o->id, 0, "Object Setup (" + path + ".setup)");
            }
            continue;
        }
        switch (builtin_index(n)) {
            case 1:
            case 3:
            case 4:
            case 5:
                Tobj::Create(-builtin_index(n), s->x, s->y, -1, Tobj::getfreeid(1), 0);
                break;
            case 2: {
                std::string p = s->getparam();
                if (p.empty()) {
                    Tobj::Create(-2, s->x, s->y, -1, Tobj::getfreeid(1), 0);
                } else if (p == "65535") {
                    Tobj::Create(-2, s->x, s->y, 65535, Tobj::getfreeid(1), 0);
                } else if (int w = Tscro::getbytable(0, p); w > 0) {
                    Tobj::Create(-2, s->x, s->y, w, Tobj::getfreeid(1), 0);
                } else {
                    gui_addcon("Warning: Supply crate content '" + p +
                               "' is not part of the weapon set. Removing crate.");
                }
                break;
            }
            case 6:
                s->nodename = s->getparam();
                if (s->nodename.empty()) s->nodename = std::to_string(s->x) + "|" + std::to_string(s->y);
                nodes.push_back(s);
                break;
            case 7: {
                std::string p = s->getparam();
                if (p.empty()) {
                    gui_addcon("Warning: Item without specified type. Removing item.");
                } else if (int w = Tscro::getbytable(0, p); w > 0) {
                    Tobj::Create(-7, s->x, s->y, w, Tobj::getfreeid(1), 0);
                } else {
                    gui_addcon("Warning: Item type '" + p + "' is not part of the weapon set. Removing item.");
                }
                break;
            }
            default:   // spawn points place players; unknown names make nothing
                break;
        }
    }
    return 0;
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
    for (auto a = spawns.begin(); a != spawns.end(); ++a) {
        for (auto b = spawns.begin(); b != spawns.end();) {
            // Positions come from map packs: differences in 64 bits cannot wrap.
            int64_t dx = (int64_t)(*a)->x - (*b)->x, dy = (int64_t)(*a)->y - (*b)->y;
            if (b != a && std::abs(dx) < 12 && std::abs(dy) < 24) {
                list.remove(*b);
                gui_addcon("Warning: Colliding spawnpoints detected. Removing spawnpoint.");
                b = spawns.erase(b);
            } else {
                ++b;
            }
        }
    }
    return 0;
}
