// Title art: the logo lettering in pieces the main menu animates, their glows,
// and the maker's logo.
//
// Every title piece shares one 400x200 canvas: the menu draws each at the same
// corner, sliding the word ends in from the right, so their places on the
// canvas are the layout. The first word stands on the upper line with its big
// initial, the second word on the lower line, indented.
#include <algorithm>

#include "tools/makeassets/assets.h"
#include "tools/makeassets/strokefont.h"

namespace ma {
namespace {

constexpr int kW = 400, kH = 200;

struct Word {
    std::string text;
    float x, baseline;
    TextStyle style;
};

TextStyle style(float cap, float weight, float spacing) {
    TextStyle s;
    s.cap = cap;
    s.weight = weight;
    s.spacing = spacing;
    s.slant = 0.12f;
    return s;
}

// Layout of the four pieces.
Word big_g() { return {"G", 14, 120, style(84, 9.5f, 0)}; }
Word small_f() { return {"F", 84, 177, style(58, 7.5f, 0)}; }
// The rest of a word follows its initial, as large as fits the canvas.
Word rest(const Word& initial, const std::string& text, float cap, float weight) {
    float x = initial.x + text_width(initial.text, initial.style) + 1;
    TextStyle st = style(cap, weight, 0.6f);
    while (x + text_width(text, st) + st.slant * st.cap + 6 > kW && st.cap > 10) {
        st.cap -= 1;
        st.weight = weight * st.cap / cap;
    }
    return {text, x, initial.baseline, st};
}
Word rombat() { return rest(big_g(), "rombat", 48, 5.6f); }
Word raycup() { return rest(small_f(), "raycup", 44, 5.2f); }

Shape shape_of(const Word& w) { return text_shape(w.text, w.x, w.baseline, w.style); }

Canvas lettering(const Word& w, Col top, Col bottom, Col rim) {
    Canvas c(kW, kH);
    Shape s = shape_of(w);
    float capt = w.baseline - w.style.cap - w.style.weight, capb = w.baseline + w.style.weight;
    c.draw(translated(grow(s, 3.5f), 3, 4), rgb(0, 0, 0, 0.45f));
    c.draw(grow(s, 3.5f), rim);
    c.draw(s, bevel(s, linear(0, capt, top, 0, capb, bottom), w.style.weight * 0.9f, 0.55f));
    // A glint across the upper half.
    c.draw(intersect(s, rect(0, capt, kW, capt + (capb - capt) * 0.42f)), rgb(255, 255, 255, 0.22f));
    return c;
}

Canvas glow(const Word& w, Col col) {
    Canvas c(kW, kH);
    c.draw(grow(shape_of(w), 6), col);
    c.blur(9);
    c.draw(grow(shape_of(w), 1), rgb(255, 255, 255, 0.9f));
    return c;
}

const Col kInitialTop = rgb(255, 236, 90), kInitialBottom = rgb(240, 80, 20), kInitialRim = rgb(70, 20, 10);
const Col kWordTop = rgb(255, 255, 255), kWordBottom = rgb(150, 190, 240), kWordRim = rgb(20, 30, 70);

Canvas maker_logo() {
    Canvas c(300, 30);
    // Emblem: a ring with a tail, then the name.
    Shape q = unite(ring(14, 15, 9, 3), capsule(18, 19, 25, 27, 2.6f));
    c.draw(grow(q, 1.5f), rgb(20, 20, 40));
    c.draw(q, bevel(q, linear(0, 4, rgb(130, 220, 255), 0, 28, rgb(40, 110, 220)), 2.5f, 0.5f));
    TextStyle ts;
    ts.cap = 14;
    ts.weight = 1.7f;
    ts.spacing = 1.6f;
    Shape t = text_shape("Quorvane Software", 32, 22, ts);
    c.draw(grow(t, 1.6f), rgb(20, 20, 40));
    c.draw(t, linear(0, 6, rgb(255, 255, 255), 0, 24, rgb(190, 210, 240)));
    return c;
}

}  // namespace

void add_title_art(Registry& reg) {
    reg.image("gfx/title_bigg.png", Fmt::Png, [] { return lettering(big_g(), kInitialTop, kInitialBottom, kInitialRim); });
    reg.image("gfx/title_smallf.png", Fmt::Png, [] { return lettering(small_f(), kInitialTop, kInitialBottom, kInitialRim); });
    reg.image("gfx/title_bigg_glow.png", Fmt::Png, [] { return glow(big_g(), rgb(255, 220, 120)); });
    reg.image("gfx/title_smallf_glow.png", Fmt::Png, [] { return glow(small_f(), rgb(255, 220, 120)); });
    reg.image("gfx/title_rombat.png", Fmt::Png, [] { return lettering(rombat(), kWordTop, kWordBottom, kWordRim); });
    reg.image("gfx/title_raycup.png", Fmt::Png, [] { return lettering(raycup(), kWordTop, kWordBottom, kWordRim); });
    reg.image("gfx/quorvanesoftware.png", Fmt::Png, maker_logo);
}

// The title as the main menu shows it once every piece has landed.
Canvas title_preview() {
    Canvas c(kW, kH, rgb(100, 120, 150));
    Registry reg;
    add_title_art(reg);
    for (const ImageAsset& a : reg.images) {
        if (a.path.find("glow") != std::string::npos) continue;
        Canvas p = a.make();
        if (a.path.find("quorvane") != std::string::npos) {
            c.blit_scaled(p, 52, 4, 0.8f);
        } else {
            c.blit(p, 0, 0);
        }
    }
    return c;
}

}  // namespace ma
