// Game objects: the lists, ids and reservations, default data, creation,
// removal, data changes and the push and move records.
#include "world/objects.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/host_settings.h"
#include "core/shared_state.h"
#include "core/catalogue.h"
#include "core/sound.h"
#include "platform/system.h"
#include "world/frame_buffer.h"
#include "world/particles.h"
#include "world/team.h"

std::list<Tobj::Ptr> Tobj::list;
std::list<Tobj::Ptr> Tobj::firelist;
std::list<Tobj::Ptr> Tobj::hudlist;
int Tobj::burntimer = 0;
int Tobj::burnsfxtimer = 0;
std::list<std::shared_ptr<Tobj_fake>> Tobj_fake::list;
int obj_notice_console = 0;

namespace {

void notice(const std::string& text, bool serious) {
    if (obj_notice_console) {
        // One console line per notice line.
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (end > start) gui_addcon(text.substr(start, end - start));
            start = end + 1;
        }
    } else {
        Notify(text, serious);
    }
}

// A position as the notices print it (six decimals).
std::string num(float v) { return std::to_string(v); }

}  // namespace

int Tobj::getfreeid(int global) {
    int first, last;
    if (menu == 2 && g_replay == 0 && global == 0) {
        if (g_player != g_turn_netplayer) {
            notice("Crictical Error: Tobj.getfreeid trying to get object ID while not having control (self: " +
                       std::to_string(g_player) + " ctrl: " + std::to_string(g_turn_netplayer) + ")",
                   true);
            return 0;
        }
        if (g_player < 0 || g_player > 7) return 0;
        first = g_player * kBlockSize + 1;
        last = g_player * kBlockSize + kBlockSize - 1;
    } else if (g_server == 1 || g_replay == 1 || global == 1) {
        first = kGlobalFirst;
        last = kGlobalLast;
    } else {
        notice("Crictical Error: Tobj.getfreeid trying to get global object ID while not being server in map "
               "creation process",
               true);
        return 0;
    }
    // One pass over objects and reservations marks the block's taken ids, so
    // a turn that fills the block costs linear time per id, not quadratic.
    std::vector<char> used((size_t)(last - first + 1), 0);
    for (auto& o : Tobj::list)
        if (o->id >= first && o->id <= last) used[(size_t)(o->id - first)] = 1;
    for (auto& f : Tobj_fake::list)
        if (f->id >= first && f->id <= last) used[(size_t)(f->id - first)] = 1;
    for (int id = first; id <= last; ++id)
        if (!used[(size_t)(id - first)]) {
            Tobj_fake::add(id);
            return id;
        }
    notice("Crictical Error: Tobj.getfreeid failed to assign object ID (limit 7000 reached)!", true);
    return 0;
}

int Tobj::getdata(int typ) {
    switch (typ) {
        case -1: return 3;
        case -3: case -4: return 100;
        case -2: case -7: break;
        default: return 0;
    }
    if (typ == -2) {
        int traps = set[4];
        if (traps >= 100) return 65535;
        if (traps > 0 && traps >= Rand(1, 100)) return 65535;
    }
    auto team = Tteam::get(g_turn_team);
    if (!team && !Tteam::list.empty()) team = Tteam::list.front();
    if (!team) return -2;
    std::vector<int> pool;
    int n = std::min(script_weaponcount(), 256);
    for (int w = 1; w < n; ++w) {
        if (!script_weaponinfo(w, nullptr, nullptr) || team->wamount[w] == 100) continue;
        int chance = std::min(script_weaponchance(w), 100);
        for (int k = 0; k < chance; ++k) pool.push_back(w);
    }
    if (pool.empty()) return -2;
    return pool[(size_t)Rand(0, (int)pool.size() - 1)];
}

Tobj::Ptr Tobj::Create(int typ, int x, int y, int data, int id, int sfx) {
    if (typ > 0 && !script_objectpath(typ, nullptr)) {
        notice("Warning: Trying to create object with invalid type (" + std::to_string(typ) + ")\nCreating fire instead!",
               false);
        typ = -1;
    }
    // An id that cannot be had (a full block, or 0 from a caller that got
    // none) creates nothing.
    if (id == 0) return nullptr;
    auto o = std::make_shared<Tobj>();
    o->typ = typ;
    o->x = (float)x;
    o->y = (float)y;
    o->anim = Rand(0, 72) * 5;
    o->rot = (float)Rand(1, 360);
    o->turns = 5;
    o->alpha = 1;
    o->timer = 0;
    list.push_back(o);
    if (id == -1) {
        id = getfreeid(0);
        if (id == 0) {
            list.pop_back();
            return nullptr;
        }
    } else if (get(id)) {
        std::string text = "Warning: Object ID collision (ID " + std::to_string(id) + ")\n";
        for (auto& e : list)
            text += std::to_string(e->typ) + " (" + std::to_string(e->id) + ") @ " + num(e->x) + "|" + num(e->y) + "\n";
        notice(text, false);
    }
    o->id = id;
    if ((typ == -2 || typ == -5) && sfx == 1) play(sfx_supplyincoming, 1.0f);
    if (typ == -3) o->alpha = 0;
    o->data = data == -1 ? getdata(typ) : data;
    if (typ == -1) firelist.push_back(o);
    return o;
}

int Tobj::counttype(int typ) {
    int n = 0;
    for (auto& o : list)
        if (o->typ == typ) ++n;
    return n;
}

Tobj::Ptr Tobj::get(int id) {
    for (auto& o : list)
        if (o->id == id) return o;
    return nullptr;
}

int Tobj::turnupdate() {
    Tobj_fake::list.clear();
    for (auto& o : list) {
        if (o->typ == -1) {
            if (o->turns > 0) o->turns -= 1;
            o->timer = 0;
        } else if (o->typ <= -2 && o->typ >= -7) {
            o->turns = 5;
        }
    }
    burntimer = 1;
    return 0;
}

int Tobj::allidle() {
    for (auto& o : list)
        if (o->idle != 1) return 0;
    return 1;
}

int Tobj::free(int id) {
    for (auto it = list.begin(); it != list.end();) {
        auto next = std::next(it);
        Tobj& o = **it;
        if (o.id == id) {
            if (o.typ == -1) {
                o.turns = 0;   // burns out through its own behaviour
            } else {
                if (o.typ > 0) {
                    int image = script_objectimage(o.typ);
                    if (image > 0 && image < (int)Tres::gfx.size()) g_terrainmodify = 2;
                }
                o.unlisted = 1;
                list.erase(it);
            }
        }
        it = next;
    }
    return 0;
}

int Tobj::setdata(int value) {
    data = value;
    if (value == 0 && typ == -5) {
        play(sfx_supplycollect, 1.0f);
        auto flash = Tp::Create(6, tp_int(x), tp_int(y), 0);
        flash->sx = flash->sy = 1;
        flash->r = 255, flash->g = 0, flash->b = 0;
        flash->a = 1;
        flash->fa = 0.01f;
        for (int i = 0; i < 10; ++i) {
            double yo = Rnd(-10, 10);
            double xo = Rnd(-10, 10);
            auto p = Tp::Create(16, tp_int(x + xo), tp_int(y + yo), 0);
            p->sx = p->sy = 3;
            p->r = 255, p->g = 0, p->b = 0;
            p->fx = 0;
            p->fy = -(float)Rnd(0.5, 2);
            p->fa = 0.01f;
        }
        // Removed, but its id stays reserved until the turn ends: a record
        // written this turn may still name it.
        int own = id;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->get() == this) {
                unlisted = 1;
                list.erase(it);
                break;
            }
        Tobj_fake::add(own);
    } else if (value == 2000 && typ == -3) {
        play(sfx_steam, 1.0f);
        for (int i = 1; i <= 5; ++i) {
            double yo = Rnd(0, 2);
            double xo = Rnd(-2, 2);
            auto p = Tp::Create(1, tp_int(x + xo), tp_int(y - yo), 0);
            p->fy = -0.1f * (float)i;
            p->fx = (float)Rnd(-0.05, 0.05);
            p->a = (float)Rnd(0.5, 0.8);
            p->sx = p->sy = (float)Rnd(5, 10);
            p->r = p->g = p->b = (int)((float)p->r * 0.3f);
            p->fa = 0.007f;
        }
    } else if (value == 2000 && typ == -4) {
        play(sfx_beartrap, 1.0f);
        play(sfx_splatter[0], 1.0f);
        alpha = 2;
        int n = 5;
        switch (set_gore) {
            case 0: n = 0; break;
            case 1: n = 2; break;
            case 2: n = 5; break;
            case 3: n = 10; break;
            case 4: n = 15; break;
            case 5: n = 25; break;
            default: break;
        }
        for (int i = 0; i < n; ++i) {
            auto p = Tp::Create(Rand(1, 5) == 1 ? 5 : 4, tp_int(x), tp_int(y), 0);
            p->fx = (float)Rnd(-3, 3);
            p->fy = (float)Rnd(-5, -2);
        }
    }
    return 0;
}

int Tobj::sync_push(float pfx, float pfy) {
    if (g_player != g_turn_netplayer || !Tfb::fits(19)) return 0;
    Tfb::wbyte(74);
    Tfb::wshort(id);
    Tfb::wfloat(x);
    Tfb::wfloat(y);
    Tfb::wfloat(pfx);
    Tfb::wfloat(pfy);
    Tfb::copyloc(19);
    return 0;
}

int Tobj::sync_pos(float px, float py) {
    if (g_player != g_turn_netplayer || !Tfb::fits(11)) return 0;
    Tfb::wbyte(76);
    Tfb::wshort(id);
    Tfb::wfloat(px);
    Tfb::wfloat(py);
    Tfb::copyloc(11);
    return 0;
}

void Tobj::unlist(const Ptr& o) {
    if (o->unlisted) return;
    o->unlisted = 1;
    list.remove(o);
    if (o->typ == -1) firelist.remove(o);
}

int Tobj_fake::add(int id) {
    auto f = std::make_shared<Tobj_fake>();
    f->id = id;
    list.push_back(f);
    return 0;
}

int Tobj_fake::get(int id) {
    for (auto& f : list)
        if (f->id == id) return 1;
    return 0;
}

int Tobj_fake::free(int id) {
    list.remove_if([id](const std::shared_ptr<Tobj_fake>& f) { return f->id == id; });
    return 0;
}

int obj_create(int typ, int x, int y, int data, int id, int sfx) {
    std::shared_ptr<Tobj> o = Tobj::Create(typ, x, y, data, id, sfx);
    return o ? o->id : 0;
}
