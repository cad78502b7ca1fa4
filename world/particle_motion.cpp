// Particle motion and drawing: Tp::draw moves every particle of a layer by
// its kind's rules, paints blood and drop stains (colour only: a stain never
// changes which terrain pixels are solid), removes finished particles and
// draws the rest on drawn frames.
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"
#include "terrain/edit.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/particles.h"
#include "world/water.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;
double sind(double deg) { return det_sin(deg * kRad); }
double cosd(double deg) { return det_cos(deg * kRad); }

// One element of an image array, null for a frame outside it (scripts may
// set any frame).
template <size_t N>
ImagePtr pick(ImagePtr (&images)[N], int frame) {
    return frame >= 0 && frame < (int)N ? images[frame] : nullptr;
}

void look(int blend, const Tp& p, float alpha, float rot, float sx, float sy) {
    SetBlend(blend);
    SetColor(p.r, p.g, p.b);
    SetAlpha(alpha);
    SetRotation(rot);
    SetScale(sx, sy);
}

void put(const ImagePtr& image, float x, float y, int frame = 0) {
    if (image) DrawImage(image, map_x + x, map_y + y, frame);
}

int probe(const Tp& p, float y) { return collide(gfx_coldot2, tp_int(p.x), tp_int(y), 0, nullptr, nullptr); }

void stain(const ImagePtr& image, float x, float y, float strength, const Tp& p) {
    if (image) map_alphaimage(image, tp_int(x), tp_int(y), strength, p.r, p.g, p.b);
}

SoundPtr any_of(SoundPtr* sounds, int n) { return sounds[Rand(0, n - 1)]; }

// Kind 5 on touching terrain: one stain, maybe a drop; true when it ends.
bool blood_stain(Tp& p) {
    SetAlpha(1);
    SetScale(1, 1);
    if (!collide_env(gfx_coldot2, tp_int(p.x), tp_int(p.y), 0)) return false;
    int s = Rand(1, 3);
    if (s == 1) {
        float k = (float)Rnd(0.6, 0.9);
        stain(gfx_blood25[Rand(0, 2)], p.x - 12, p.y - 12, k, p);
    } else if (s == 2) {
        float k = (float)Rnd(0.5, 0.7);
        stain(gfx_blood50[Rand(0, 2)], p.x - 25, p.y - 25, k, p);
    } else {
        float k = (float)Rnd(0.3, 0.6);
        stain(gfx_blood75[Rand(0, 2)], p.x - 37, p.y - 37, k, p);
    }
    int chance = 0;
    switch (set_gore) {
        case 2: chance = 5; break;
        case 3: chance = 4; break;
        case 4: chance = 3; break;
        case 5: chance = 2; break;
        default: break;
    }
    if (chance > 0 && Rand(1, chance) == 1) {
        int oy = Rand(-10, 10);
        int ox = Rand(-10, 10);
        Tp::Create(14, tp_int(p.x + (float)ox), tp_int(p.y + (float)oy), 0);
    }
    return true;
}

// Kind 14, one move step; true when the drop ends.
bool blood_drop(Tp& p) {
    p.sy = std::min(3.0f, p.sy + 0.003f);
    p.a = std::min(p.fa, p.a + 0.01f);
    if (p.sy < 1) {
        if (p.data > INT_MIN) p.data -= 1;
        if (p.data % 2 == 0 && probe(p, p.y) == 0) {
            p.data = 0;
            p.sy = std::max(1.0f, p.sy);
        }
        return false;
    }
    p.fy = std::min(4.0f, p.fy + 0.5f * g_gravity);
    if (p.frame > INT_MIN) p.frame -= 1;
    p.y += p.fy;
    if (p.frame >= 0) return false;
    if (probe(p, p.y + 16 * p.sy) > 0) {
        float k = (float)Rnd(0.8, 1.0);
        ImagePtr image = gfx_dropimpact[Rand(0, 15)];
        if (image) map_alphaimage(image, tp_int(p.x - 16), tp_int(p.y + 5), k, p.r, p.g, p.b);
        return true;
    }
    return p.y > (float)(g_waterlevel + 30);
}

// Sub-steps of at most 2 pixels per axis (at most kMaxSubsteps of them), each
// tested for contact; on_hit(speed before the bounce) runs at each bounce.
// False when the speed is not finite (the particle is dropped).
template <class F>
bool bounce(Tp& p, F&& on_hit) {
    if (!std::isfinite(p.fx) || !std::isfinite(p.fy)) return false;
    float m = std::max(std::fabs(p.fx), std::fabs(p.fy));
    int n = (int)std::min<double>(std::ceil(m / 2.0), Tp::kMaxSubsteps);
    if (n <= 0) return true;
    float dx = p.fx / (float)n, dy = p.fy / (float)n;
    for (int i = 0; i < n; ++i) {
        p.x += dx;
        if (probe(p, p.y) > 0) {
            p.x -= dx;
            float before = p.fx;
            p.fx = -p.fx * 0.3f;
            dx = -dx * 0.3f;
            on_hit(before);
        }
        p.y += dy;
        if (probe(p, p.y) > 0) {
            p.y -= dy;
            float before = p.fy;
            p.fy = -p.fy * 0.3f;
            dy = -dy * 0.3f;
            p.fx *= 0.9f;
            dx *= 0.9f;
            on_hit(before);
        }
    }
    return true;
}

bool below_water(const Tp& p) { return p.y > (float)(g_waterlevel + 30); }

void splash(const Tp& p, SoundPtr sound, float volume) {
    Tp::Create(9, tp_int(p.x), tp_int(p.y), 0);
    play(sound, volume);
}

// Kind 27, one move step; true when the chunk ends.
bool meat(Tp& p) {
    p.fy += g_gravity;
    bool finite = bounce(p, [&p](float before) {
        if (std::fabs(before) <= 1 || p.a <= 0.3f) return;
        int grey = p.r;
        p.bloodcolor();
        float k = (float)Rnd(0.6, 0.9);
        stain(gfx_blood25[Rand(0, 2)], p.x - 12, p.y - 12, k, p);
        p.r = p.g = p.b = grey;
        play(any_of(sfx_meat, 8), 1.0f);
    });
    if (!finite) return true;
    if (set_gore >= 5) {
        int v = tp_int(std::max(std::fabs(p.fx), std::fabs(p.fy)));
        if (v >= 4) {
            if (Rand(1, 5) != 1) Tp::Create(4, tp_int(p.x), tp_int(p.y), 0);
        } else if (v >= 2) {
            if (Rand(1, 2) == 1) Tp::Create(4, tp_int(p.x), tp_int(p.y), 0);
        } else if (v == 1) {
            if (Rand(1, 10) == 1) Tp::Create(4, tp_int(p.x), tp_int(p.y), 0);
        } else if (Rand(1, 30) == 1) {
            Tp::Create(4, tp_int(p.x), tp_int(p.y), 0)->a = (float)Rnd(0.5, 0.8);
        }
    }
    p.a -= p.fa;
    if (std::fabs(p.fx) >= 0.1f) {
        if (std::fabs(p.fr) < 5) p.fr += (p.fr < 0 ? -0.5f : 0.5f) * p.fx;
    } else {
        p.fr *= 0.5f;
    }
    p.rot += p.fr;
    if (p.a <= 0) return true;
    if (below_water(p)) {
        splash(p, any_of(sfx_hitwater, 5), 1.0f);
        return true;
    }
    return false;
}

void draw_bodypart(const Tp& p) {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(p.a);
    SetRotation(p.rot);
    SetScale(p.sx, p.sy);
    put(gfx_pl, p.x, p.y, p.frame);
    SetColor(p.r, p.g, p.b);
    put(gfx_pl_t, p.x, p.y, p.frame);
    if (p.data > 0 && gfx_pl_accessory_head && p.data <= gfx_pl_accessory_head->Frames()) {
        SetColor(255, 255, 255);
        float ax = p.x + (float)(4 * sind(p.rot)), ay = p.y - (float)(4 * cosd(p.rot));
        if (p.frame <= 7 || p.frame == 9) put(gfx_pl_accessory_body, ax, ay, p.data - 1);
        if (p.frame <= 8) {
            put(gfx_pl_f, p.x, p.y, 5);
            put(gfx_pl_accessory_head, ax, ay, p.data - 1);
        }
    }
}

void draw_char(const Tp& p) {
    SetImageFont(font_button);
    SetBlend(ALPHABLEND);
    SetRotation(p.rot);
    SetScale(p.sx, p.sy);
    std::string ch(1, (char)(p.frame & 255));
    if (set_textshadows != 0) {
        SetColor(0, 0, 0);
        SetAlpha(p.a / 2);
        DrawText(ch, p.x + 2, p.y + 2);
    }
    SetColor(p.r, p.g, p.b);
    SetAlpha(p.a);
    DrawText(ch, p.x, p.y);
}

// Drawing of the kinds whose drawing is a plain image (or rectangle, oval).
void draw_plain(const Tp& p) {
    switch (p.typ) {
        case 1: look(ALPHABLEND, p, p.a, p.rot, p.sx / 16, p.sy / 16); put(pick(gfx_puff, p.frame), p.x, p.y); break;
        case 2: look(LIGHTBLEND, p, p.a, p.rot, p.sx / 16, p.sy / 16); put(pick(gfx_puff, p.frame), p.x, p.y); break;
        case 3: case 4: case 5: case 12:
            look(ALPHABLEND, p, p.a, p.rot, p.sx / 32, p.sy / 32);
            put(pick(gfx_par, p.frame), p.x, p.y);
            break;
        case 6: case 24: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(pick(gfx_flare, p.frame), p.x, p.y); break;
        case 9: look(ALPHABLEND, p, p.a, p.rot, p.sx, p.sy); put(gfx_waterimpact, p.x, p.y); break;
        case 11: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(gfx_ring, p.x, p.y); break;
        case 13: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(pick(gfx_expl, p.frame), p.x, p.y); break;
        case 14: look(ALPHABLEND, p, p.a, 0, p.sx, p.sy); put(gfx_drop, p.x, p.y); break;
        case 15: look(ALPHABLEND, p, p.a, p.rot, p.sx, p.sy); put(pick(gfx_dust, p.frame), p.x, p.y); break;
        case 16: look(LIGHTBLEND, p, p.a, p.rot, p.sx / 16, p.sy / 16); put(pick(gfx_flare, p.frame), p.x, p.y); break;
        case 17: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(gfx_flare[2], p.x, p.y); break;
        case 18: look(ALPHABLEND, p, p.a, p.rot, p.sx / 3, p.sy / 3); put(gfx_bullet, p.x, p.y); break;
        case 19:
            look(LIGHTBLEND, p, p.a, p.rot, 1, 1);
            DrawRect(map_x + p.x, map_y + p.y, p.sx, p.sy);
            break;
        case 21: case 28:
            look(ALPHABLEND, p, p.a, p.rot, p.sx, p.sy);
            put(pick(gfx_dirtfall, p.frame), p.x, p.y);
            break;
        case 22: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(gfx_lightray, p.x, p.y); break;
        case 23: look(LIGHTBLEND, p, p.a, p.rot, p.sx, p.sy); put(gfx_explring, p.x, p.y); break;
        case 25:
            look(ALPHABLEND, p, p.a, (float)-(180 + 45 * sind(p.rot)), p.sx / 20, p.sy / 64);
            put(pick(gfx_par, p.frame), p.x - 10 + (float)(10 * sind(p.rot)), p.y - (float)(10 * cosd(p.rot)));
            break;
        case 26:
            look(ALPHABLEND, p, p.a, 0, 1, 1);
            DrawOval(p.fx - p.sx / 2, p.fy - p.sy / 2, p.sx, p.sy);
            break;
        case 27: look(ALPHABLEND, p, p.a, p.rot, 1, 1); put(pick(gfx_meat, p.frame), p.x, p.y); break;
        default: break;
    }
}

// x, y by speed, alpha by fade, rotation by spin: kinds 1, 2, 6, 13, 16.
void drift(Tp& p) {
    p.x += p.fx;
    p.y += p.fy;
    p.a -= p.fa;
    p.rot += p.fr;
}

// One step of one particle: drawing when draw, motion when move. True when
// the particle is to be removed.
bool step(Tp& p, bool draw, bool move) {
    const float g = g_gravity;
    const bool on_menu = menu == 1;
    switch (p.typ) {
        case 7: {
            if (move && p.a < p.fa) p.a = std::min(p.fa, p.a + 0.02f);
            float d = std::fabs(p.y - (float)g_waterlevel);
            if (d < 50 && d / 50 < p.a) p.a = d / 50;
            if (draw) {
                look(ALPHABLEND, p, p.a, 0, p.sx, p.sy);
                put(pick(gfx_bubbles, p.frame), p.x + (float)(sind(p.rot) * p.fx), p.y);
            }
            if (!move) return false;
            p.rot += 3;
            p.y += p.fy;
            return p.y <= (float)g_waterlevel || p.a <= 0;
        }
        case 8:
            if (move) p.fr += p.fa;
            if (p.fr > 180) return true;
            if (draw) {
                look(LIGHTBLEND, p, p.a * (float)sind(p.fr), 0, p.sx, p.sy);
                if (gfx_waterray) DrawImage(gfx_waterray, map_x + p.x, map_y + (float)g_waterlevel - 12);
            }
            return false;
        case 10:
            if (draw) draw_bodypart(p);
            if (!move) return false;
            p.rot += p.fr;
            p.x += p.fx;
            p.y += p.fy;
            p.fy += 3 * g;
            p.fx *= 0.99f;
            if (Rand(1, 3) == 1) Tp::Create(4, tp_int(p.x), tp_int(p.y), 0);
            if (below_water(p)) {
                splash(p, any_of(sfx_hitwater, 5), 1.0f);
                return true;
            }
            return false;
        case 11:
            if (move) p.sx *= p.fx, p.sy *= p.fx;
            if (draw) draw_plain(p);
            if (!move) return false;
            p.a -= p.fa;
            return p.a <= 0;
        case 12:
            if (move) Tp::Create(Rand(1, 3) == 1 ? 1 : 2, tp_int(p.x), tp_int(p.y), 0);
            if (draw) draw_plain(p);
            if (!move) return false;
            p.x += p.fx;
            p.y += p.fy;
            p.fy += g;
            p.a -= p.fa;
            p.rot += p.fr;
            return p.a <= 0;
        case 14: {
            // On the menu the drop is drawn once and removed without moving.
            bool done = on_menu || (move && blood_drop(p));
            if (draw) draw_plain(p);
            return done;
        }
        case 20:
            if (draw) draw_char(p);
            if (!move) return false;
            p.rot += p.fr;
            p.x += p.fx;
            p.y += p.fy;
            p.fy += 0.3f;
            p.fx *= 0.99f;
            return p.y > (float)(set_scry + 20);
        case 27:
            if (on_menu) return true;
            if (draw) draw_plain(p);
            return move && meat(p);
        default: break;
    }
    if (draw) draw_plain(p);
    if (!move) return false;
    switch (p.typ) {
        case 1: case 2: case 6: case 13: case 16: drift(p); return p.a <= 0;
        case 3:
            p.x += p.fx;
            p.y += p.fy;
            p.fy += g;
            p.a -= p.fa;
            p.rot += p.fr;
            return p.a <= 0;
        case 4: case 5:
            p.x += p.fx;
            p.y += p.fy;
            p.fy += 3 * g;
            p.a -= p.fa;
            p.rot += p.fr;
            if (p.a <= 0) return true;
            return p.typ == 5 && blood_stain(p);
        case 9:
            p.sy += 0.1f;
            p.a -= p.fa;
            return p.a <= 0;
        case 15:
            p.x += p.fx;
            p.y += p.fy;
            p.rot += p.fr;
            if (p.fa > 0) {
                p.a += 5 * p.fa;
                if (p.a > 0.2f) p.fa = -p.fa;
            } else {
                p.a += p.fa;
            }
            return p.fa <= 0 && p.a <= 0;
        case 17:
            p.fy += g;
            if (on_menu) {
                // The menu has no terrain to bounce on; the spark fades as elsewhere.
                p.x += p.fx;
                p.y += p.fy;
            } else if (!bounce(p, [](float) {})) {
                return true;
            }
            p.a -= p.fa;
            p.rot += p.fr;
            if (p.a <= 0) return true;
            if (!on_menu && below_water(p)) {
                Tp::Create(1, tp_int(p.x), tp_int(p.y), 0);
                play(sfx_steam, 1.0f);
                return true;
            }
            return false;
        case 18:
            p.rot += p.fr;
            p.x += p.fx;
            p.y += p.fy;
            p.fy += 3 * g;
            p.fx *= 0.99f;
            if (below_water(p)) {
                auto s = Tp::Create(9, tp_int(p.x), tp_int(p.y), 0);
                s->sx *= 0.75f;
                s->sy *= 0.75f;
                play(sfx_splish, (float)Rnd(0.3, 0.6));
                return true;
            }
            return false;
        case 19:
            p.a -= p.fa;
            p.rot += p.fr;
            return p.a <= 0;
        case 21:
            p.x += p.fx;
            p.y += p.fy;
            p.a -= p.fa;
            return p.a <= 0;
        case 22:
            p.x += p.fx;
            p.y += p.fy;
            p.sy *= 1.12f;
            p.a -= p.fa;
            p.rot += p.fr;
            return p.a <= 0;
        case 23:
            p.a -= p.fa;
            p.sx *= p.fx;
            p.sy *= p.fy;
            return p.a <= 0;
        case 24:
            p.a -= p.fa;
            p.rot += p.fr;
            p.sx *= p.fx;
            p.sy *= p.fy;
            return p.a <= 0;
        case 25:
            p.x += p.fx;
            p.y += p.fy;
            p.fy = std::min(p.fy + g, 5 * g);
            p.a -= p.fa;
            p.rot += p.fr;
            return p.a <= 0;
        case 26:
            p.sx *= 1.1f;
            p.sy *= 1.1f;
            return p.sx > 50;
        case 28:
            p.x += (float)(0.5 * sind(p.rot));
            p.y -= (float)(0.5 * cosd(p.rot));
            p.sx += p.fx;
            p.sy += p.fy;
            p.a -= p.fa;
            if (p.a <= 1.1f) p.fa *= 1.3f;
            return p.a <= 0;
        default: return false;
    }
}

}  // namespace

int Tp::draw(int layer) {
    if (layer < 0 || layer > 2) return 0;
    int passes = 1;
    bool move = true;
    if (g_replay_pause == 1) {
        move = false;
    } else {
        switch (g_replay_speed) {
            case 0: move = g_replay_timer % 4 == 0; break;
            case 1: move = g_replay_timer % 2 == 0; break;
            case 3: passes = 2; break;
            case 4: passes = 4; break;
            case 5: passes = 8; break;
            default: break;
        }
    }
    Layer& particles = list[(size_t)layer];
    for (int pass = 0; pass < passes; ++pass) {
        const bool drawing = pass == 0 && g_fps_render == 1;
        // The next particle is taken before the current one runs: one appended
        // meanwhile is visited in this pass unless the current one was last.
        for (auto it = particles.begin(); it != particles.end();) {
            auto next = std::next(it);
            const std::shared_ptr<Tp> p = *it;
            bool done = step(*p, drawing, move);
            if (move && p->life > 0 && --p->life == 0) done = true;
            if (done) particles.erase(it);
            it = next;
        }
    }
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    if (layer == 1 && move && set_particles >= 2 && Rand(1, 10) == 1) {
        int y = tp_int(-map_y + (float)Rand(-50, set_scry + 50));
        int x = tp_int(-map_x + (float)Rand(-200, set_scrx + 200));
        Create(15, x, y, 1);
    }
    return 0;
}
