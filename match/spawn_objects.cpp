// Map spawns at match start: the world objects their entries create, with
// the setup call of each script object.
#include <memory>
#include <string>

#include "core/shared_state.h"
#include "scripting/object_calls.h"
#include "scripting/script_objects.h"
#include "terrain/spawns.h"
#include "world/objects.h"

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
        switch (builtinindex(n)) {
            case 1:
            case 3:
            case 4:
            case 5:
                Tobj::Create(-builtinindex(n), s->x, s->y, -1, Tobj::getfreeid(1), 0);
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
