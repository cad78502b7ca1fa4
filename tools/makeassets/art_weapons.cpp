// Weapon art and sounds of the scripts under scripts/: a 28 x 28 icon per
// weapon for the weapon menu, the projectiles and objects they draw, and a
// few sounds. Icons share one frame so the menu reads as one family.
#include "tools/makeassets/assets.h"
#include "tools/makeassets/synth.h"

namespace ma {
namespace {

constexpr float R = 22050;
const Col kFrame = rgb(38, 42, 52);
const Col kMetal = rgb(150, 158, 170);
const Col kDark = rgb(60, 64, 72);

// The icon's rounded backing; content is drawn over it.
Canvas icon(Col tint) {
    Canvas c(28, 28);
    Shape back = rect(1, 1, 27, 27, 5);
    c.draw(back, bevel(back, linear(0, 0, lighten(tint, 0.25f), 0, 28, scale_rgb(tint, 0.6f)), 3));
    c.outline(kFrame, 1);
    return c;
}

Canvas missile_body(float len, float r) {
    Canvas c((int)len + 4, (int)(2 * r) + 4);
    float cy = r + 2;
    Shape body = capsule(2 + r, cy, len - r, cy, r);
    c.draw(body, dome(body, solid(kMetal), r));
    c.draw(polygon({len - r, cy - r, len + 2, cy, len - r, cy + r}), rgb(200, 60, 40));
    c.draw(polygon({2, cy - r - 1.5f, 2 + 2 * r, cy, 2, cy + r + 1.5f}), kDark);
    return c;
}

Canvas ball(float r, Col base) {
    Canvas c((int)(2 * r) + 2, (int)(2 * r) + 2);
    Shape s = circle(r + 1, r + 1, r);
    c.draw(s, dome(s, solid(base), r));
    return c;
}

Canvas barrel() {
    Canvas c(16, 20);
    Shape s = rect(1, 1, 15, 19, 3);
    c.draw(s, bevel(s, linear(0, 0, rgb(210, 70, 40), 16, 0, rgb(130, 30, 20)), 2));
    for (float y : {5.0f, 14.0f}) c.draw(rect(1, y, 15, y + 1.5f), kDark);
    c.draw(polygon({8, 7, 11, 12, 5, 12}), rgb(250, 220, 60));
    return c;
}

Canvas charge() {
    Canvas c(14, 10);
    Shape s = rect(1, 2, 13, 9, 2);
    c.draw(s, bevel(s, solid(rgb(180, 150, 90)), 2));
    c.draw(rect(5, 0, 9, 3), kDark);
    c.draw(circle(10, 5, 1.5f), rgb(240, 40, 30));
    return c;
}

Canvas brick() {
    Canvas c(20, 20);
    Shape s = rect(0, 0, 20, 20, 1);
    c.draw(s, bevel(s, solid(rgb(150, 120, 100)), 2));
    for (float y : {6.5f, 13.5f}) c.draw(rect(0, y, 20, y + 1), rgb(90, 74, 62));
    return c;
}

}  // namespace

void add_weapon_art(Registry& reg) {
    auto png = [&](const std::string& name, std::function<Canvas()> f) {
        reg.image("gfx/weapons/" + name + ".png", Fmt::Png, std::move(f));
    };
    png("missile", [] { return missile_body(16, 3); });
    png("bouncer", [] { return ball(4, rgb(70, 140, 70)); });
    png("bomb", [] { return ball(3.5f, kDark); });
    png("barrel", barrel);
    png("charge", charge);
    png("brick", brick);
    png("icon_missile", [] {
        Canvas c = icon(rgb(80, 96, 140));
        c.blit(missile_body(18, 3.5f), 4, 10);
        return c;
    });
    png("icon_bouncer", [] {
        Canvas c = icon(rgb(70, 120, 80));
        c.blit(ball(7, rgb(90, 170, 90)), 6, 6);
        c.draw(capsule(20, 6, 23, 3, 1), rgb(240, 200, 80));
        return c;
    });
    png("icon_twinshot", [] {
        Canvas c = icon(rgb(120, 100, 70));
        c.draw(rect(5, 12, 23, 16, 1), kMetal);
        c.draw(rect(7, 16, 11, 23, 1), kDark);
        c.draw(circle(24, 9, 1.5f), rgb(250, 220, 90));
        c.draw(circle(24, 19, 1.5f), rgb(250, 220, 90));
        return c;
    });
    png("icon_airstrike", [] {
        Canvas c = icon(rgb(130, 70, 60));
        for (int i = 0; i < 3; ++i) c.blit(ball(3, kDark), 6 + 6 * i, 5 + 5 * i);
        c.draw(rect(4, 22, 24, 24), rgb(110, 90, 60));
        return c;
    });
    png("icon_charge", [] {
        Canvas c = icon(rgb(120, 110, 60));
        c.blit(charge(), 7, 10);
        return c;
    });
    png("icon_wall", [] {
        Canvas c = icon(rgb(100, 90, 90));
        c.blit_scaled(brick(), 4, 4, 1.0f);
        return c;
    });
    png("icon_hop", [] {
        Canvas c = icon(rgb(70, 110, 140));
        c.draw(polyline({5, 22, 10, 8, 16, 6, 22, 20}, 1.2f), rgb(240, 240, 240));
        c.draw(polygon({19, 18, 24, 22, 23, 15}), rgb(240, 240, 240));
        return c;
    });
    png("icon_skip", [] {
        Canvas c = icon(rgb(90, 90, 100));
        c.draw(polygon({7, 7, 15, 14, 7, 21}), rgb(230, 230, 230));
        c.draw(polygon({14, 7, 22, 14, 14, 21}), rgb(230, 230, 230));
        return c;
    });

    auto wav = [&](const std::string& name, std::function<Buf()> f) {
        reg.sound("sfx/weapons/" + name + ".wav", (int)R, std::move(f));
    };
    wav("launch", [] {
        Buf b = noise_sweep(0.6f, R, 301, 400, 2500, 0.9f, true, 0.01f, 0.35f);
        normalize(b, 0.8f);
        return b;
    });
    wav("shot", [] {
        Buf b = noise_sweep(0.25f, R, 302, 3000, 500, 0.8f, true, 0.001f, 0.06f);
        mix_into(b, tone(0.2f, R, Wave::Sine, 180, 60, 0.001f, 0.05f), 0.7f);
        normalize(b, 0.9f);
        return b;
    });
    wav("build", [] {
        Buf b = tone(0.2f, R, Wave::Triangle, 220, 200, 0.002f, 0.08f);
        mix_into(b, noise_sweep(0.15f, R, 303, 900, 600, 1.2f, false, 0.001f, 0.05f), 0.6f);
        normalize(b, 0.8f);
        return b;
    });
}

}  // namespace ma
