// World-event records: applying a frame's records in order (Tfb::process_additional).
//
// Banks come from peers and replays. Each record is checked whole against the
// bank before any of it is applied; a record cut short ends the bank (logged).
// Floats that would move a player or object are refused when not finite and
// clamped far past honest values otherwise, so no applier loops or overflows
// on a crafted value. Stamps and everything else here draw nothing from the
// shared generator except the particles of record 71, which are local effects.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "terrain/edit.h"
#include "terrain/rotate.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"
#include "world/collision.h"
#include "world/explosion.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"
#include "world/weapon.h"

namespace {

constexpr float kMaxPos = Tfb::kMaxPos;
constexpr float kMaxSpeed = 1000;   // the strongest gravity caps a fall at ~61 px per frame

// Reads little-endian fields at a position the caller has checked.
struct Reader {
    const Bank& b;
    size_t pos;
    int u8() { return b.PeekByte(pos++); }
    int u16() {
        int v = b.PeekShort(pos);
        pos += 2;
        return v;
    }
    int i32() {
        int v = b.PeekInt(pos);
        pos += 4;
        return v;
    }
    float f32() {
        float v = b.PeekFloat(pos);
        pos += 4;
        return v;
    }
};

// Field bytes after the code byte of the fixed-length codes; -1 for codes
// whose length depends on their content, 0 for unknown codes and 56.
int fixed_length(int code) {
    switch (code) {
        case 10: return 1;
        case 11: return 2;
        case 12: return 21;
        case 13: return 8;
        case 14: return 4;
        case 30: return 4;
        case 31: return 4;
        case 40: return 5;
        case 41: return 5;
        case 42: return 4;
        case 43: return 3;
        case 44: return 1;
        case 45: return 3;
        case 46: return 3;
        case 50: return 14;
        case 51: return 16;
        case 52: return 11;
        case 53: return 15;
        case 54: return 30;
        case 55: return 26;
        case 70: return 23;
        case 71: return 5;
        case 72: return 2;
        case 73: return 17;
        case 74: return 18;
        case 75: return 6;
        case 76: return 10;
        case 77: return 6;
        case 78: return 1;
        case 79: return 11;
        case 80: return 2;
        case 92: return 2;
        case 93: return 1;
        case 1: case 90: case 91: return -1;
        default: return 0;
    }
}

bool finite(float a) { return std::isfinite(a); }
float clampf(float v, float lim) { return std::clamp(v, -lim, lim); }
int clampi(int v, int lim) { return std::clamp(v, -lim, lim); }

void idle_at_least(int k) { g_turn_idletimer = std::max(g_turn_idletimer, k); }

void terrain_followup() {
    idle_at_least(10);
    g_terrainmodify = 2;
    collide_update();
}

// The stamp image of records 53-55: a script image, or a built-in one; the
// blood stains (-4..-6) take the variant (x + y) mod 3, since the shared
// generator is not in step between machines.
ImagePtr stamp_image(int id, int x, int y) {
    if (id <= -4 && id >= -6) {
        ImagePtr* stains[3] = {gfx_blood25, gfx_blood50, gfx_blood75};
        int v = (int)((((int64_t)x + y) % 3 + 3) % 3);
        return stains[-id - 4][v];
    }
    return Tres::getimage(id);
}

// Records 53-55 share their placement: the (rotated) image centred on x, y.
template <class F>
void stamp(int image_field, int x, int y, int rotation, F&& paint) {
    ImagePtr img = stamp_image(image_field - 100, x, y);
    if (!img) return;
    if (rotation != 0) img = map_rotateimage(img, (float)rotation);
    if (!img) return;
    int64_t left = (int64_t)x - img->width / 2, top = (int64_t)y - img->height / 2;
    paint(img, (int)std::clamp<int64_t>(left, -kMaxPos, kMaxPos), (int)std::clamp<int64_t>(top, -kMaxPos, kMaxPos));
}

void trace(const std::string& line) {
    if (fb_trace) fb_trace(line);
}

// Logs a record cut short by the end of its bank; the caller stops there. 0.
int cut_short(int code, size_t pos, size_t size) {
    debugwrite("world-event record " + std::to_string(code) + " at byte " + std::to_string(pos) +
               " cut short by the end of its bank (" + std::to_string(size) + " bytes): rest dropped");
    return 0;
}

// Record 71: a weapon collected from a crate or item, or a bear trap snapping.
void item_collected(const std::shared_ptr<Tobj>& o, int weapon, int team_id) {
    if (weapon > 0 && weapon < script_weaponcount()) {
        std::string name;
        int icon = -1;
        auto team = Tteam::get(team_id);
        if (script_weaponinfo(weapon, &name, &icon) && team) {
            if (team->netplayer == g_player || g_replay == 1) {
                // The icon comes from the record's weapon: the object's own data
                // may differ between machines for a crate that named no content.
                hud_msg_add(name + " + 1", 255, 0, 0, icon);
                gui_addcon("Item collected! " + name + " + 1");
            }
            if (team->wamount[weapon] < 99) {
                team->wamount[weapon] += 1;
                team->recentcol[weapon] = 1500;
            }
        }
        play(sfx_supplycollect, 1.0f);
        auto flash = Tp::Create(6, (int)o->x, (int)o->y, 0);
        flash->sx = flash->sy = 1;
        flash->r = 0, flash->g = 255, flash->b = 0;
        flash->a = 1;
        flash->fa = 0.01f;
        for (int i = 0; i < 10; ++i) {
            double yo = Rnd(-10, 10);
            double xo = Rnd(-10, 10);
            auto p = Tp::Create(16, (int)(o->x + xo), (int)(o->y + yo), 0);
            p->sx = p->sy = 3;
            p->r = 0, p->g = 255, p->b = 0;
            p->fx = 0;
            p->fy = -(float)Rnd(0.5, 2);
            p->fa = 0.01f;
        }
    } else {
        arealdamage((int)o->x, (int)o->y, 70, 35);
    }
}

// Record 79: a laser band across the whole map.
void laser_band(int x, int y, int size, int orientation) {
    if (orientation == 0) {
        auto flash = Tp::Create(6, (int)std::clamp<int64_t>((int64_t)x + map_xsize / 2, INT_MIN, INT_MAX),
                                (int)std::clamp<int64_t>((int64_t)y + size / 2, INT_MIN, INT_MAX), 0);
        flash->r = 255, flash->g = 0, flash->b = 0;
        flash->fa = 0.005f;
        flash->sx = 1, flash->sy = 10;
        flash->rot = 90;
        auto sq = Tp::Create(19, (int)std::clamp<int64_t>((int64_t)x - 500, INT_MIN, INT_MAX), y, 0);
        sq->sx = (float)(map_xsize + 1000), sq->sy = (float)size;
        map_rect(x, y, map_xsize, size, 0);
        Tscc::check_rect(x, y, map_xsize, size);
    } else {
        auto flash = Tp::Create(6, (int)std::clamp<int64_t>((int64_t)x + size / 2, INT_MIN, INT_MAX),
                                (int)std::clamp<int64_t>((int64_t)y + map_ysize / 2, INT_MIN, INT_MAX), 0);
        flash->r = 255, flash->g = 0, flash->b = 0;
        flash->fa = 0.005f;
        flash->sx = 1, flash->sy = 10;
        flash->rot = 0;
        auto sq = Tp::Create(19, x, (int)std::clamp<int64_t>((int64_t)y - 500, INT_MIN, INT_MAX), 0);
        sq->sx = (float)size, sq->sy = (float)(map_ysize + 1000);
        map_rect(x, y, size, map_ysize, 0);
        Tscc::check_rect(x, y, size, map_ysize);
    }
    terrain_followup();
}

}  // namespace

int Tfb::process_additional(const BankPtr& data, const std::shared_ptr<Tplayer>& player) {
    if (!data) return 0;
    // Held here: a callback may replace the list it came from (Tfb::loc).
    const BankPtr hold = data;
    const Bank& bank = *hold;
    size_t pos = 0;
    // The size is read anew before each record: a script callback may append
    // records to the bank being applied (Tfb::loc), which join this pass.
    while (pos < bank.Size()) {
        size_t start = pos;
        int code = bank.PeekByte(pos);
        int len = fixed_length(code);
        size_t body = pos + 1;
        // Whole-record check, counting the variable parts first.
        if (code == 1) {
            if (!bank.Has(body, 1)) return cut_short(code, start, bank.Size());
            int sub = bank.PeekByte(body);
            len = 1;
            if (sub == 1) {
                if (!bank.Has(body + 1, 1)) return cut_short(code, start, bank.Size());
                len = 2 + 14 * bank.PeekByte(body + 1);
            }
        } else if (code == 90 || code == 91) {
            if (!bank.Has(body, 3)) return cut_short(code, start, bank.Size());
            len = 3 + bank.PeekShort(body + 1);
        }
        if (!bank.Has(body, (size_t)len)) return cut_short(code, start, bank.Size());
        pos = body + (size_t)len;
        Reader r{bank, body};

        switch (code) {
            case 1: {
                int sub = r.u8();
                if (sub == 1) {
                    Tfb::endturn = 1;
                    int n = r.u8();
                    for (int i = 0; i < n; ++i) {
                        int id = r.u8();
                        int health = r.i32();
                        float x = r.f32(), y = r.f32();
                        int states = r.u8();
                        auto p = Tplayer::get(id);
                        if (!p || !finite(x) || !finite(y)) continue;
                        p->health = health;
                        p->x = clampf(x, kMaxPos);
                        p->y = clampf(y, kMaxPos);
                        p->setstates(states);
                    }
                } else if (sub == 2) {
                    g_turn_state = 99;
                } else if (sub == 3) {
                    if (g_turn_state < 3) g_turn_state = 3;
                }
                break;
            }
            case 10: {
                int weapon = r.u8();
                trace("switch weapon to " + std::to_string(weapon));
                if (weapon_select(weapon) != 0) {
                    // The writing machine heard it when the pick was made.
                    if (g_replay != 0 || g_player != g_turn_netplayer) play(sfx_wpnsel_ok, 1.0f);
                    if (player) {
                        player->wpn = weapon;
                        player->wpnsize = 0;
                    }
                    lua_allowplayercontrol = 1;
                }
                break;
            }
            case 11: Tpro::Remove(r.u16()); break;
            case 12: {
                int health = r.i32();
                float x = r.f32(), y = r.f32(), fx = r.f32(), fy = r.f32();
                int dir = r.u8();
                if (!player || !finite(x) || !finite(y) || !finite(fx) || !finite(fy)) break;
                player->health = health;
                player->x = clampf(x, kMaxPos);
                player->y = clampf(y, kMaxPos);
                player->fx = clampf(fx, kMaxSpeed);
                player->fy = clampf(fy, kMaxSpeed);
                player->dir = dir - 1;
                break;
            }
            case 13: {
                int x = clampi(r.i32(), (int)kMaxPos), y = clampi(r.i32(), (int)kMaxPos);
                hud_drawposset = 1;
                hud_drawposx = x;
                hud_drawposy = y;
                lua_setglobalint("weapon_x", x);
                lua_setglobalint("weapon_y", y);
                lua_setglobalint("weapon_position", 1);
                in_autotemp = 1;
                in_autotempx = set_scrxh - x;
                in_autotempy = set_scryh - y;
                idle_at_least(5);
                break;
            }
            case 14: {
                int value = r.i32();
                hud_drawtimerval = value;
                lua_setglobalint("weapon_timer", value);
                play(sfx_tick, 1.0f);
                break;
            }
            case 30: {
                float wind = r.f32();
                if (finite(wind)) g_storm = wind;
                break;
            }
            case 31: g_waterlevel_change = r.i32(); break;
            case 40: {
                int id = r.u8(), damage = r.i32();
                if (auto p = Tplayer::get(id)) p->damage(damage, 1);
                break;
            }
            case 41: {
                int id = r.u8(), amount = r.i32();
                auto p = Tplayer::get(id);
                // Only the living heal: a player that died earlier in the frame stays dead.
                if (p && p->health > 0) {
                    p->health = (int)std::clamp<int64_t>((int64_t)p->health + amount, INT_MIN, INT_MAX);
                    hud_flytext_add("+" + std::to_string(amount), (int)p->x, (int)(p->y - 18), 0, 255, 0);
                }
                break;
            }
            case 42: set_roundtime_tmp = r.i32(); break;
            case 43: {
                int id = r.u8(), bit = r.u8(), value = r.u8() != 0 ? 1 : 0;
                auto p = Tplayer::get(id);
                if (!p) break;
                switch (bit) {
                    case 1: p->state_poisoned = value; break;
                    case 2: p->state_confused = value; break;
                    case 4: p->state_frozen = value; break;
                    case 8: p->state_sleeping = value; break;
                    case 16: p->state_invisible = value; break;
                    default: break;
                }
                break;
            }
            case 44:
                game_switchplayer(r.u8());
                idle_at_least(5);
                break;
            case 45: {
                int team = r.u8(), weapon = r.u8(), count = std::min(r.u8(), 100);
                if (auto t = Tteam::get(team)) t->wamount[weapon] = (uint8_t)count;
                break;
            }
            case 46: {
                int team = r.u8(), weapon = r.u8(), lock = r.u8();
                if (auto t = Tteam::get(team)) t->wlocked[weapon] = lock != 0 ? 1 : 0;
                break;
            }
            case 50: {
                int x = r.i32(), y = r.i32(), radius = r.u16(), argb = r.i32();
                map_oval(x, y, radius, radius, argb);
                Tscc::check_circle(x, y, radius);
                terrain_followup();
                break;
            }
            case 51: {
                int x = r.i32(), y = r.i32(), w = r.u16(), h = r.u16(), argb = r.i32();
                map_rect(x, y, w, h, argb);
                Tscc::check_rect(x, y, w, h);
                terrain_followup();
                break;
            }
            case 52: {
                int x = r.i32(), y = r.i32(), radius = r.u16(), style = r.u8();
                explosion(x, y, radius, style);
                terrain_followup();
                break;
            }
            case 53: {
                int image = r.u16(), x = r.i32(), y = r.i32(), mode = r.u8(), rot = r.i32();
                stamp(image, x, y, rot, [&](const ImagePtr& img, int left, int top) { map_image(img, left, top, mode); });
                terrain_followup();
                break;
            }
            case 54: {
                int image = r.u16(), x = r.i32(), y = r.i32();
                float strength = r.f32();
                int cr = r.i32(), cg = r.i32(), cb = r.i32(), rot = r.i32();
                if (finite(strength))
                    stamp(image, x, y, rot, [&](const ImagePtr& img, int left, int top) {
                        map_alphaimage(img, left, top, strength, cr, cg, cb);
                    });
                idle_at_least(10);
                collide_update();
                break;
            }
            case 55: {
                int image = r.u16(), x = r.i32(), y = r.i32(), dr = r.i32(), dg = r.i32(), db = r.i32(), rot = r.i32();
                stamp(image, x, y, rot,
                      [&](const ImagePtr& img, int left, int top) { map_backimage(img, left, top, dr, dg, db); });
                terrain_followup();
                break;
            }
            case 70: {
                int typ = r.i32(), x = r.i32(), y = r.i32(), odata = r.i32(), id = r.u16(), sfx = r.u8(), arg = r.i32();
                // A peer's or a replay's record must not stop this machine
                // with a dialog: the notices of Create become console lines.
                obj_notice_console = 1;
                Tobj::Create(typ, clampi(x, (int)kMaxPos), clampi(y, (int)kMaxPos), odata, id, sfx);
                obj_notice_console = 0;
                Tobj_fake::free(id);
                idle_at_least(50);
                collide_update();
                std::string path;
                if (script_objectpath(typ, &path)) {
                    lua_objectcall(typ, "setup", id, arg, "Object Setup (" + path + ".setup)");
                }
                break;
            }
            case 71: {
                int id = r.u16(), weapon = r.u16(), team = r.u8();
                if (auto o = Tobj::get(id)) {
                    item_collected(o, weapon, team);
                    Tobj::free(id);
                }
                break;
            }
            case 72:
                Tobj::free(r.u16());
                collide_update();
                break;
            case 73: {
                int id = r.u8();
                float x = r.f32(), y = r.f32(), fx = r.f32(), fy = r.f32();
                auto p = Tplayer::get(id);
                if (p && finite(x) && finite(y) && finite(fx) && finite(fy)) {
                    p->x = clampf(x, kMaxPos);
                    p->y = clampf(y, kMaxPos);
                    p->action = 1;
                    p->fx = clampf(fx, 30);
                    p->fy = clampf(fy, 30);
                }
                idle_at_least(10);
                break;
            }
            case 74: {
                int id = r.u16();
                float x = r.f32(), y = r.f32(), fx = r.f32(), fy = r.f32();
                auto o = Tobj::get(id);
                if (o && finite(x) && finite(y) && finite(fx) && finite(fy)) {
                    o->x = clampf(x, kMaxPos);
                    o->y = clampf(y, kMaxPos);
                    o->idle = 0;
                    o->fx = clampf(fx, 30);
                    o->fy = clampf(fy, 30);
                }
                idle_at_least(10);
                collide_update();
                break;
            }
            case 75: {
                int id = r.u16(), value = r.i32();
                if (auto o = Tobj::get(id)) o->setdata(value);
                idle_at_least(10);
                break;
            }
            case 76: {
                int id = r.u16();
                float x = r.f32(), y = r.f32();
                auto o = Tobj::get(id);
                if (o && finite(x) && finite(y)) {
                    x = clampf(x, kMaxPos);
                    y = clampf(y, kMaxPos);
                    if (x != o->x || y != o->y) {
                        o->x = x;
                        o->y = y;
                        collide_update();
                    }
                }
                break;
            }
            case 77: {
                int id = r.u16(), damage = r.i32();
                auto o = Tobj::get(id);
                std::string path;
                if (o && script_objectpath(o->typ, &path)) {
                    lua_objectcall(o->typ, "damage", id, damage, "Object Damage (" + path + ".damage)");
                }
                break;
            }
            case 78: {
                int sound = r.u8();
                if (sound == 0) play(sfx_end_flood, 1.0f);
                if (sound == 1) play(sfx_end_laser, 1.0f);
                break;
            }
            case 79: {
                int x = r.i32(), y = r.i32(), size = r.u16(), orientation = r.u8();
                laser_band(x, y, size, orientation);
                break;
            }
            case 80: g_endstep = r.u16(); break;
            case 90:
            case 91: {
                int sender = r.u8(), n = r.u16();
                std::string text((const char*)bank.Buf() + r.pos, (size_t)n);
                if (code == 90)
                    Tnetpl::chat(sender, text, 0);
                else
                    Tnetpl::teamchat(sender, text, 0);
                break;
            }
            case 92: {
                int id = r.u8(), reason = r.u8();
                game_freeplayer(id, reason, 0);
                break;
            }
            case 93: game_killteam(r.u8()); break;
            default: break;   // 56 and codes outside the table: the code byte only
        }
    }
    return 0;
}
