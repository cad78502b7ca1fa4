// Fighter art: body, team overlay and face strips, accessories and snorkel.
//
// The fighter is a round little soldier facing right in a 32x32 cell (the
// game mirrors it for the left). Its head and torso stay inside the collision
// rectangle (columns 9-22, rows 4-27); the head sits at the same place in
// every frame but frame 2 (one pixel lower), because the game draws the face
// and the accessories at fixed offsets. Accessory cells are 32x40 and start
// 8 rows above the body cell. Frames: 0 idle, 1 and 2 walking, 3 rising,
// 4 falling, 5-7 poses for scripts, 8-11 the head, torso, arm and boot that
// fly off when a fighter is blown apart.
#include <functional>

#include "tools/makeassets/assets.h"

namespace ma {
namespace {

const Col kSkin = rgb(250, 190, 160);
const Col kLine = rgb(72, 38, 38);
const Col kBoot = rgb(86, 60, 44);
const Col kShirt = rgb(238, 238, 238);

constexpr float kHeadX = 16.5f, kHeadY = 11.0f, kHeadR = 6.3f;

struct Pose {
    float head_dy = 0;               // frame 2 bobs down by one pixel
    float fx0 = 13.5f, fy0 = 26.6f;  // back boot centre
    float fx1 = 19.0f, fy1 = 26.6f;  // front boot centre
    float ax0 = 11.0f, ay0 = 20.5f;  // back hand
    float ax1 = 21.2f, ay1 = 20.5f;  // front hand
    bool head = true, torso = true, arms = true, boots = true;
};

Pose pose_of(int frame) {
    Pose p;
    switch (frame) {
    case 0: break;
    case 1: p.fx0 = 12.6f; p.fx1 = 20.0f; p.ay1 = 20.0f; break;
    case 2: p.head_dy = 1; p.fx0 = 15.2f; p.fx1 = 17.8f; p.fy0 = 26.8f; p.ax0 = 12.0f; p.ax1 = 20.8f; p.ay1 = 21.5f; break;
    case 3: p.fx0 = 14.2f; p.fy0 = 27.2f; p.fx1 = 18.2f; p.fy1 = 27.4f; p.ax0 = 9.8f; p.ay0 = 15.5f; p.ax1 = 23.0f; p.ay1 = 15.0f; break;
    case 4: p.fx0 = 11.8f; p.fy0 = 25.8f; p.fx1 = 21.0f; p.fy1 = 25.6f; p.ax0 = 9.6f; p.ay0 = 13.5f; p.ax1 = 23.4f; p.ay1 = 13.0f; break;
    case 5: p.ax0 = 10.0f; p.ay0 = 12.5f; p.ax1 = 23.0f; p.ay1 = 12.0f; break;
    case 6: p.fx0 = 12.0f; p.fx1 = 20.5f; p.ax1 = 25.0f; p.ay1 = 18.5f; p.ax0 = 12.5f; p.ay0 = 19.0f; break;
    case 7: p.ax1 = 21.5f; p.ay1 = 8.5f; break;
    case 8: p.torso = p.arms = p.boots = false; break;
    case 9: p.head = p.arms = p.boots = false; break;
    case 10: p.head = p.torso = p.boots = false; p.ax1 = 17.0f; p.ay1 = 17.0f; break;
    case 11: p.head = p.torso = p.arms = false; p.fx1 = 16.5f; p.fy1 = 18.0f; break;
    }
    return p;
}

Shape head_shape(const Pose& p) { return circle(kHeadX, kHeadY + p.head_dy, kHeadR); }
Shape torso_shape(const Pose& p) { return ellipse(16.0f, 20.5f + p.head_dy * 0.5f, 5.7f, 6.4f); }
Shape shirt_shape(const Pose& p) {
    return intersect(torso_shape(p), rect(0, 17.0f + p.head_dy, 32, 32));
}
Shape boot(float x, float y) { return ellipse(x, y, 2.7f, 1.7f); }
Shape arm(const Pose& p, bool front) {
    // Arms hang from the shoulders to the hands.
    float sx = front ? 19.5f : 13.0f, sy = 18.0f + p.head_dy;
    float hx = front ? p.ax1 : p.ax0, hy = front ? p.ay1 : p.ay0;
    if (p.head == false && p.torso == false) { sx = 14.0f; sy = 14.5f; }
    return unite(capsule(sx, sy, hx, hy, 1.2f), circle(hx, hy, 1.8f));
}
Shape leg_piece(const Pose& p) {
    return unite(capsule(16.0f, 13.5f, p.fx1, p.fy1 - 1.0f, 1.4f), boot(p.fx1, p.fy1));
}

Canvas body_frame(int frame) {
    Pose p = pose_of(frame);
    Canvas c(32, 32);
    Shape all = circle(-100, -100, 0.1f);
    auto add = [&](const Shape& s) { all = unite(all, s); };
    if (p.boots) add(frame == 11 ? leg_piece(p) : unite(boot(p.fx0, p.fy0), boot(p.fx1, p.fy1)));
    if (p.arms && frame != 10) add(arm(p, false));
    if (p.torso) add(torso_shape(p));
    if (p.head) add(head_shape(p));
    if (p.arms) add(arm(p, true));
    c.draw(grow(all, 1.0f), kLine);
    // Boots first, then back arm, torso, head and front arm, each lit as a dome.
    if (p.boots) {
        Shape b = frame == 11 ? leg_piece(p) : unite(boot(p.fx0, p.fy0), boot(p.fx1, p.fy1));
        c.draw(b, dome(b, solid(kBoot), 2.0f, 0.5f));
    }
    if (p.arms && frame != 10) {
        Shape a = arm(p, false);
        c.draw(grow(a, 0.6f), kLine);
        c.draw(a, dome(a, solid(scale_rgb(kSkin, 0.88f)), 1.5f, 0.4f));
    }
    if (p.torso) {
        Shape t = torso_shape(p);
        c.draw(t, dome(t, solid(kSkin), 4.0f, 0.45f));
        Shape s = shirt_shape(p);
        c.draw(s, dome(t, solid(rgb(170, 170, 170)), 4.0f, 0.45f));
    }
    if (p.head) {
        Shape h = head_shape(p);
        c.draw(grow(h, 0.7f), kLine);
        c.draw(h, dome(h, solid(kSkin), 4.5f, 0.5f));
    }
    if (p.arms) {
        Shape a = arm(p, true);
        c.draw(grow(a, 0.6f), kLine);
        c.draw(a, dome(a, solid(kSkin), 1.5f, 0.45f));
    }
    c.harden();
    return c;
}

// The part of the body the game tints with the team colour: the shirt with
// its belt, and the sleeve cuff of a loose arm.
Canvas team_frame(int frame) {
    Pose p = pose_of(frame);
    Canvas c(32, 32);
    if (p.torso) {
        Shape t = torso_shape(p);
        Shape s = shirt_shape(p);
        c.draw(s, dome(t, solid(kShirt), 4.0f, 0.5f));
        float by = 23.0f + p.head_dy;
        c.draw(intersect(s, rect(0, by, 32, by + 1.3f)), rgb(70, 70, 70));
        c.draw(intersect(s, rect(18.2f, by - 0.3f, 20.4f, by + 1.6f)), rgb(235, 215, 120));
        // Arms in front of the shirt stay skin coloured.
        if (p.arms) c.draw(grow(arm(p, true), 0.6f), Col{}, Blend::Replace);
    }
    if (frame == 10) {
        Shape cuff = circle(17.6f, 15.4f, 1.9f);
        c.draw(cuff, dome(cuff, solid(kShirt), 1.5f, 0.4f));
    }
    c.harden();
    return c;
}

// Faces sit on the head of frames 0-1 and 3-11; the game lowers them for frame 2.
Canvas face_frame(int face) {
    Canvas c(32, 32);
    const float ey = 10.3f, e0 = 17.8f, e1 = 21.0f;
    const Col white = rgb(255, 255, 255), black = rgb(20, 16, 24), mouth = rgb(120, 30, 40);
    auto eye_open = [&](float x, float y, float dx, float dy, float size) {
        c.draw(ellipse(x, y, 1.35f * size, 1.9f * size), white);
        c.draw(circle(x + dx, y + dy, 0.95f * size), black);
    };
    auto eye_shut = [&](float x, float y) { c.draw(capsule(x - 1.3f, y + 0.4f, x + 1.3f, y + 0.4f, 0.5f), black); };
    auto smile = [&](float w, float depth) {
        c.draw(polyline({19.6f - w, 14.0f, 19.9f, 14.0f + depth, 20.2f + w, 13.8f}, 0.55f), mouth);
    };
    switch (face) {
    case 0: eye_open(e0, ey, 0.5f, 0.3f, 1); eye_open(e1, ey, 0.5f, 0.3f, 1); smile(1.2f, 0.8f); break;
    case 1: eye_shut(e0, ey); eye_shut(e1, ey); smile(0.8f, 0.4f); break;
    case 2:
        eye_open(e0, ey, 0.5f, -0.2f, 1); eye_open(e1, ey, 0.5f, -0.2f, 1);
        c.draw(intersect(circle(20.0f, 13.3f, 2.3f), rect(16, 13.4f, 24, 17)), mouth);
        c.draw(rect(18.4f, 13.3f, 21.8f, 14.2f), white);
        break;
    case 3:
        eye_open(e0, ey + 0.4f, 0.6f, 0.3f, 0.95f); eye_open(e1, ey + 0.4f, 0.6f, 0.3f, 0.95f);
        c.draw(capsule(16.4f, 7.6f, 18.8f, 8.9f, 0.55f), black);
        c.draw(capsule(19.8f, 8.9f, 22.2f, 7.6f, 0.55f), black);
        c.draw(polyline({18.6f, 15.0f, 19.9f, 14.1f, 21.2f, 15.0f}, 0.55f), mouth);
        break;
    case 4:
        eye_open(e0, ey - 0.3f, 0.0f, 0.0f, 1.15f); eye_open(e1, ey - 0.3f, 0.0f, 0.0f, 1.15f);
        c.draw(ellipse(19.9f, 14.6f, 0.9f, 1.1f), mouth);
        break;
    case 5:
        for (float x : {e0, e1}) {
            c.draw(capsule(x - 1.1f, ey - 1.1f, x + 1.1f, ey + 1.1f, 0.5f), black);
            c.draw(capsule(x - 1.1f, ey + 1.1f, x + 1.1f, ey - 1.1f, 0.5f), black);
        }
        c.draw(ellipse(19.9f, 14.5f, 1.4f, 1.2f), mouth);
        break;
    case 6: eye_open(e0, ey, 0.5f, 0.3f, 1); eye_shut(e1, ey); smile(1.3f, 1.0f); break;
    case 7:
        eye_open(e0, ey, 0.5f, 0.6f, 1); eye_open(e1, ey, 0.5f, 0.6f, 1);
        c.draw(polyline({18.6f, 14.9f, 19.9f, 14.2f, 21.2f, 14.9f}, 0.55f), mouth);
        c.draw(circle(16.6f, 12.6f, 0.7f), rgb(120, 190, 255));
        break;
    case 8:
        eye_open(e0, ey, 0.5f, 0.3f, 1); eye_open(e1, ey, 0.5f, 0.3f, 1); smile(1.2f, 0.8f);
        c.draw(ellipse(20.3f, 15.2f, 0.8f, 1.0f), rgb(230, 90, 110));
        break;
    case 9:
        eye_open(e0, ey, -0.4f, -0.5f, 1); eye_open(e1, ey, -0.4f, -0.5f, 1);
        c.draw(capsule(18.8f, 14.4f, 21.0f, 14.4f, 0.5f), mouth);
        break;
    case 10:
        c.draw(capsule(e0 - 1.3f, ey, e0 + 1.3f, ey, 0.5f), black); c.draw(capsule(e1 - 1.3f, ey, e1 + 1.3f, ey, 0.5f), black);
        smile(1.0f, 0.5f);
        break;
    default:
        for (float x : {e0, e1}) { c.draw(ring(x, ey, 1.2f, 0.45f), black); c.draw(circle(x, ey, 0.5f), black); }
        c.draw(polyline({18.8f, 14.6f, 19.5f, 14.0f, 20.2f, 14.6f, 20.9f, 14.0f}, 0.45f), mouth);
        break;
    }
    c.harden();
    return c;
}

// ------------------------------------------------------------ accessories
// Accessory cells are 32x40; body row y is cell row y + 8. Helpers take body
// coordinates so hats line up with the head (centre (16.5, 11), radius 6.3).
struct Acc {
    Canvas c{32, 40};
    void draw(const Shape& s, const Paint& p) { c.draw(translated(s, 0, 8), [p](float x, float y) { return p(x, y - 8); }); }
    void draw(const Shape& s, Col col) { c.draw(translated(s, 0, 8), col); }
    void lit(const Shape& s, Col col, float r = 2.5f, float k = 0.5f) {
        Shape t = translated(s, 0, 8);
        c.draw(grow(t, 0.8f), kLine);
        c.draw(t, dome(t, solid(col), r, k));
    }
    void flat(const Shape& s, Col col, float k = 0.45f, float r = 1.5f) {
        flat(s, solid(col), k, r);
    }
    void flat(const Shape& s, const Paint& p, float k = 0.45f, float r = 1.5f) {
        Shape t = translated(s, 0, 8);
        c.draw(grow(t, 0.8f), kLine);
        c.draw(t, bevel(t, [p](float x, float y) { return p(x, y - 8); }, r, k));
    }
    Canvas done() {
        c.harden();
        return c;
    }
};


Shape cap_dome(float lift = 0) { return intersect(circle(kHeadX, kHeadY - lift, kHeadR + 0.6f), rect(0, 0, 32, kHeadY - 1.5f - lift)); }

void star(Acc& a, float x, float y, float r, Col col) {
    std::vector<float> v;
    for (int i = 0; i < 10; i++) {
        float ang = (-90 + 36 * i) * kPi / 180, rr = i % 2 ? r * 0.45f : r;
        v.push_back(x + rr * std::cos(ang));
        v.push_back(y + rr * std::sin(ang));
    }
    a.draw(polygon(v), col);
}

Canvas accessory_head(int n) {
    Acc a;
    switch (n) {
    case 1: {  // army helmet
        Shape dome_s = intersect(circle(kHeadX, kHeadY + 0.5f, 7.2f), rect(0, 0, 32, kHeadY - 0.5f));
        a.lit(unite(dome_s, rect(8.8f, kHeadY - 1.8f, 24.6f, kHeadY - 0.2f, 0.8f)), rgb(96, 112, 60), 3, 0.55f);
        a.draw(capsule(11.5f, kHeadY - 3.5f, 15.5f, kHeadY - 6.0f, 0.45f), rgb(70, 84, 44));
        break;
    }
    case 2:  // top hat
        a.flat(rect(11.5f, -1.5f, 21.5f, 6.5f, 1.0f), rgb(40, 36, 44));
        a.flat(rect(9.0f, 5.3f, 24.0f, 7.0f, 0.8f), rgb(40, 36, 44));
        a.draw(rect(11.5f, 3.6f, 21.5f, 5.2f), rgb(170, 30, 40));
        break;
    case 3:  // cap with the peak forward
        a.lit(cap_dome(), rgb(210, 40, 40), 3, 0.5f);
        a.flat(rect(18.0f, kHeadY - 3.0f, 26.5f, kHeadY - 1.6f, 0.7f), rgb(180, 30, 30));
        a.draw(circle(kHeadX - 0.5f, kHeadY - 6.6f, 0.9f), rgb(250, 250, 250));
        break;
    case 4: {  // crown
        Shape cr = polygon({10.5f, 6.5f, 10.0f, 0.5f, 13.0f, 3.5f, 16.5f, -0.5f, 20.0f, 3.5f, 23.0f, 0.5f, 22.5f, 6.5f});
        a.flat(cr, rgb(245, 200, 50), 0.6f, 1.5f);
        a.draw(circle(16.5f, 4.0f, 1.0f), rgb(220, 30, 60));
        a.draw(circle(12.4f, 4.6f, 0.7f), rgb(40, 120, 230));
        a.draw(circle(20.6f, 4.6f, 0.7f), rgb(40, 200, 90));
        break;
    }
    case 5:  // cowboy hat
        a.flat(ellipse(16.5f, 6.2f, 9.5f, 1.6f), rgb(150, 96, 50));
        a.lit(intersect(ellipse(16.5f, 5.5f, 5.2f, 5.0f), rect(0, 0, 32, 6.0f)), rgb(160, 104, 56), 2.5f, 0.5f);
        a.draw(rect(11.6f, 4.2f, 21.4f, 5.4f), rgb(90, 56, 30));
        break;
    case 6: {  // party hat
        Shape cone = polygon({11.2f, 6.5f, 16.0f, -4.0f, 21.8f, 6.5f});
        a.flat(cone, [](float x, float y) -> Col { return ((int)((x + y * 0.8f) / 2.6f) & 1) ? rgb(250, 70, 160) : rgb(80, 200, 250); }, 0.4f, 1.2f);
        a.lit(circle(16.0f, -4.2f, 1.6f), rgb(255, 230, 60), 1.2f, 0.5f);
        break;
    }
    case 7:  // woolly hat with bobble
        a.lit(intersect(circle(kHeadX, kHeadY + 0.3f, 7.0f), rect(0, 0, 32, kHeadY - 2.0f)), rgb(60, 110, 220), 3, 0.45f);
        a.flat(rect(9.4f, kHeadY - 4.2f, 23.6f, kHeadY - 1.8f, 1.0f), rgb(235, 235, 240), 0.3f);
        a.lit(circle(kHeadX, 3.0f, 2.0f), rgb(235, 235, 240), 1.5f, 0.4f);
        break;
    case 8:  // horned helmet
        a.lit(taper(10.5f, 6.0f, 6.5f, 0.0f, 1.8f, 0.6f), rgb(240, 232, 210), 1.5f, 0.4f);
        a.lit(taper(22.5f, 6.0f, 26.5f, 0.0f, 1.8f, 0.6f), rgb(240, 232, 210), 1.5f, 0.4f);
        a.lit(intersect(circle(kHeadX, kHeadY + 0.3f, 7.0f), rect(0, 0, 32, kHeadY - 1.0f)), rgb(150, 156, 170), 3, 0.55f);
        a.draw(rect(9.4f, kHeadY - 3.0f, 23.6f, kHeadY - 1.6f), rgb(110, 80, 50));
        break;
    case 9: {  // pirate hat
        Shape hat = unite(ellipse(16.5f, 4.2f, 9.5f, 2.8f), intersect(circle(16.5f, 5.5f, 5.5f), rect(0, 0, 32, 5.5f)));
        a.flat(hat, rgb(36, 32, 40), 0.4f);
        a.draw(circle(16.5f, 3.0f, 1.3f), rgb(240, 240, 240));
        a.draw(rect(15.8f, 3.8f, 17.2f, 4.6f), rgb(240, 240, 240));
        break;
    }
    case 10:  // chef's hat
        a.lit(unite(unite(circle(13.0f, 0.5f, 3.6f), circle(20.0f, 0.5f, 3.6f)), circle(16.5f, -1.2f, 4.0f)), rgb(250, 250, 250), 2.5f, 0.4f);
        a.flat(rect(11.5f, 1.0f, 21.5f, 6.2f, 0.6f), rgb(245, 245, 245), 0.3f);
        break;
    case 11:  // headphones
        a.draw(intersect(ring(kHeadX, kHeadY, 7.3f, 0.9f), rect(0, 0, 32, kHeadY - 1)), rgb(40, 40, 48));
        a.lit(rect(8.0f, 8.0f, 11.5f, 14.5f, 1.2f), rgb(220, 40, 50), 1.5f, 0.5f);
        break;
    case 12:  // sunglasses
        a.flat(unite(rect(16.0f, 9.0f, 19.4f, 11.8f, 1.0f), rect(19.8f, 9.0f, 23.0f, 11.8f, 1.0f)), rgb(30, 30, 36), 0.6f, 1.0f);
        a.draw(capsule(12.0f, 9.6f, 16.2f, 9.6f, 0.45f), rgb(30, 30, 36));
        break;
    case 13:  // eye patch
        a.draw(capsule(10.5f, 6.2f, 22.5f, 12.4f, 0.45f), rgb(30, 24, 24));
        a.flat(ellipse(21.0f, 10.4f, 1.8f, 2.1f), rgb(30, 24, 24), 0.4f, 1.0f);
        break;
    case 14:  // bow
        a.lit(unite(polygon({16.5f, 4.5f, 11.5f, 1.5f, 11.5f, 7.5f}), polygon({16.5f, 4.5f, 21.5f, 1.5f, 21.5f, 7.5f})), rgb(250, 120, 180), 1.5f, 0.4f);
        a.lit(circle(16.5f, 4.5f, 1.5f), rgb(230, 80, 150), 1.0f, 0.4f);
        break;
    case 15:  // halo
        a.flat(subtract(ellipse(16.5f, 1.5f, 6.0f, 2.0f), ellipse(16.5f, 1.5f, 3.8f, 0.8f)), rgb(255, 225, 80), 0.5f, 1.0f);
        break;
    case 16:  // little horns
        a.lit(taper(12.0f, 6.5f, 10.0f, 1.0f, 1.8f, 0.4f), rgb(210, 40, 40), 1.2f, 0.5f);
        a.lit(taper(21.0f, 6.5f, 23.0f, 1.0f, 1.8f, 0.4f), rgb(210, 40, 40), 1.2f, 0.5f);
        break;
    case 17:  // long ears
        a.lit(taper(13.5f, 5.5f, 11.5f, -6.0f, 1.9f, 1.6f), rgb(250, 250, 250), 1.5f, 0.4f);
        a.lit(taper(18.5f, 5.5f, 20.0f, -6.5f, 1.9f, 1.6f), rgb(250, 250, 250), 1.5f, 0.4f);
        a.draw(taper(13.4f, 4.5f, 11.8f, -5.0f, 0.8f, 0.7f), rgb(250, 170, 190));
        a.draw(taper(18.6f, 4.5f, 19.8f, -5.5f, 0.8f, 0.7f), rgb(250, 170, 190));
        break;
    case 18:  // pointed ears
        a.flat(polygon({10.0f, 7.5f, 10.5f, 0.5f, 15.0f, 5.0f}), rgb(90, 80, 80));
        a.flat(polygon({18.0f, 5.0f, 22.5f, 0.5f, 23.0f, 7.5f}), rgb(90, 80, 80));
        a.draw(polygon({11.3f, 6.5f, 11.5f, 2.5f, 13.8f, 5.0f}), rgb(240, 160, 170));
        a.draw(polygon({19.2f, 5.0f, 21.5f, 2.5f, 21.7f, 6.5f}), rgb(240, 160, 170));
        break;
    case 19:  // antennae
        a.draw(polyline({14.5f, 5.5f, 13.0f, 1.0f, 11.5f, -2.0f}, 0.5f), kLine);
        a.draw(polyline({18.5f, 5.5f, 20.0f, 1.0f, 21.5f, -2.5f}, 0.5f), kLine);
        a.lit(circle(11.3f, -2.5f, 1.6f), rgb(120, 240, 90), 1.2f, 0.5f);
        a.lit(circle(21.7f, -3.0f, 1.6f), rgb(120, 240, 90), 1.2f, 0.5f);
        break;
    case 20:  // flower
        for (int i = 0; i < 5; i++) {
            float ang = (i * 72 - 90) * kPi / 180;
            a.lit(circle(19.5f + 2.0f * std::cos(ang), 4.5f + 2.0f * std::sin(ang), 1.5f), rgb(255, 250, 250), 1.0f, 0.4f);
        }
        a.lit(circle(19.5f, 4.5f, 1.3f), rgb(255, 200, 40), 1.0f, 0.5f);
        break;
    case 21: {  // spiky crest
        std::vector<float> v = {10.5f, 7.0f};
        for (int i = 0; i < 5; i++) {
            v.insert(v.end(), {11.5f + i * 2.3f, -1.0f + std::abs(i - 2) * 1.2f, 12.5f + i * 2.3f, 4.5f});
        }
        v.insert(v.end(), {23.0f, 7.0f});
        a.flat(polygon(v), rgb(60, 210, 80), 0.4f);
        break;
    }
    case 22: {  // big curly hair
        Shape hair = circle(-50, -50, 1);
        for (int i = 0; i < 9; i++) {
            float ang = (200 + i * 17.5f) * kPi / 180;
            hair = unite(hair, circle(16.5f + 7.0f * std::cos(ang), 7.5f + 6.5f * std::sin(ang), 3.0f));
        }
        hair = unite(hair, ellipse(16.5f, 3.5f, 7.0f, 4.0f));
        hair = subtract(hair, rect(16.0f, 7.5f, 32, 32));
        a.lit(hair, rgb(60, 40, 30), 3, 0.4f);
        break;
    }
    case 23: {  // wizard hat
        a.flat(polygon({9.0f, 7.0f, 14.0f, 4.5f, 17.0f, -6.0f, 13.5f, -9.0f, 20.5f, 4.5f, 24.5f, 7.0f}), rgb(90, 60, 190), 0.4f);
        star(a, 16.8f, 1.0f, 1.7f, rgb(255, 230, 80));
        star(a, 13.5f, 5.3f, 1.0f, rgb(255, 230, 80));
        break;
    }
    case 24:  // red hat with white trim
        a.flat(polygon({10.0f, 6.5f, 14.0f, -1.0f, 19.0f, -3.0f, 25.0f, 1.0f, 22.0f, 6.5f}), rgb(210, 30, 40), 0.4f);
        a.lit(circle(25.5f, 2.0f, 1.9f), rgb(250, 250, 250), 1.5f, 0.4f);
        a.flat(rect(9.0f, 5.0f, 24.0f, 7.6f, 1.3f), rgb(250, 250, 250), 0.3f);
        break;
    case 25:  // beret
        a.lit(ellipse(15.0f, 5.0f, 8.0f, 2.8f), rgb(200, 30, 50), 2.5f, 0.45f);
        a.draw(capsule(15.0f, 2.3f, 15.4f, 1.2f, 0.5f), kLine);
        break;
    case 26:  // straw hat
        a.flat(ellipse(16.5f, 6.4f, 10.0f, 1.5f), rgb(235, 200, 110), 0.35f);
        a.lit(intersect(ellipse(16.5f, 6.0f, 5.5f, 4.6f), rect(0, 0, 32, 6.2f)), rgb(240, 208, 120), 2.5f, 0.4f);
        a.draw(rect(11.2f, 4.0f, 21.8f, 5.3f), rgb(200, 50, 50));
        break;
    case 27:  // headband with tails
        a.flat(intersect(circle(kHeadX, kHeadY, kHeadR + 0.7f), rect(0, 6.0f, 32, 8.4f)), rgb(220, 30, 30), 0.35f, 1.0f);
        a.flat(polygon({10.5f, 7.0f, 6.0f, 9.5f, 6.5f, 11.0f, 10.5f, 8.5f}), rgb(220, 30, 30), 0.3f, 1.0f);
        a.flat(polygon({10.5f, 7.5f, 7.0f, 12.5f, 8.4f, 13.0f, 11.0f, 8.5f}), rgb(200, 25, 25), 0.3f, 1.0f);
        break;
    case 28:  // fez
        a.flat(polygon({12.0f, 6.5f, 13.0f, 0.0f, 20.0f, 0.0f, 21.0f, 6.5f}), rgb(190, 30, 40), 0.45f);
        a.draw(polyline({16.5f, 0.2f, 13.0f, 2.0f, 12.0f, 5.0f}, 0.45f), rgb(30, 30, 30));
        a.lit(circle(12.0f, 5.4f, 0.9f), rgb(250, 200, 50), 0.8f, 0.4f);
        break;
    case 29:  // mask band over the eyes
        a.flat(intersect(circle(kHeadX, kHeadY, kHeadR + 0.6f), rect(0, 8.0f, 32, 12.4f)), rgb(40, 40, 48), 0.35f, 1.0f);
        a.draw(ellipse(17.8f, 10.3f, 1.3f, 0.9f), rgb(250, 250, 250));
        a.draw(ellipse(21.0f, 10.3f, 1.3f, 0.9f), rgb(250, 250, 250));
        a.flat(polygon({10.4f, 9.0f, 5.5f, 12.5f, 6.5f, 13.6f, 10.5f, 11.0f}), rgb(40, 40, 48), 0.3f, 1.0f);
        break;
    case 30:  // round glasses
        a.draw(ring(17.8f, 10.3f, 1.9f, 0.45f), rgb(40, 40, 40));
        a.draw(ring(21.3f, 10.3f, 1.8f, 0.45f), rgb(40, 40, 40));
        a.draw(capsule(12.0f, 9.6f, 15.9f, 9.9f, 0.4f), rgb(40, 40, 40));
        break;
    case 31:  // monocle and moustache
        a.draw(ring(21.0f, 10.3f, 1.9f, 0.45f), rgb(220, 190, 60));
        a.draw(polyline({21.0f, 12.2f, 21.5f, 16.0f}, 0.3f), rgb(220, 190, 60));
        a.flat(unite(ellipse(18.6f, 13.3f, 1.9f, 0.9f), ellipse(21.2f, 13.3f, 1.9f, 0.9f)), rgb(90, 60, 40), 0.3f, 0.8f);
        break;
    case 32:  // bushy brows (the beard is on the body strip)
        a.draw(capsule(16.6f, 7.7f, 19.0f, 7.9f, 0.7f), rgb(120, 80, 50));
        a.draw(capsule(19.9f, 7.9f, 22.2f, 7.7f, 0.7f), rgb(120, 80, 50));
        break;
    case 33:  // woolly hat to go with the scarf
        a.lit(intersect(circle(kHeadX, kHeadY + 0.3f, 7.0f), rect(0, 0, 32, kHeadY - 2.0f)), rgb(200, 40, 40), 3, 0.45f);
        a.flat(rect(9.4f, kHeadY - 4.2f, 23.6f, kHeadY - 1.8f, 1.0f), rgb(250, 250, 250), 0.3f);
        break;
    case 34:  // neat side parting (the tie is on the body strip)
        a.lit(intersect(circle(kHeadX, kHeadY, kHeadR + 0.5f), subtract(rect(0, 0, 32, 8.0f), polygon({13, 0, 15.5f, 8, 17.5f, 0}))), rgb(70, 50, 40), 2.5f, 0.4f);
        break;
    case 35:  // bowler hat (with the bow tie on the body strip)
        a.flat(ellipse(16.5f, 6.3f, 8.0f, 1.3f), rgb(40, 36, 36), 0.35f);
        a.lit(intersect(circle(16.5f, 5.6f, 5.2f), rect(0, 0, 32, 6.2f)), rgb(44, 40, 40), 2.5f, 0.45f);
        break;
    case 36:  // officer's cap (with the medal on the body strip)
        a.lit(intersect(ellipse(16.5f, 3.4f, 7.5f, 3.2f), rect(0, 0, 32, 5.0f)), rgb(50, 70, 60), 2.0f, 0.4f);
        a.flat(rect(10.5f, 4.3f, 22.5f, 6.8f, 0.6f), rgb(40, 56, 48), 0.35f);
        a.flat(rect(18.5f, 6.0f, 25.0f, 7.3f, 0.6f), rgb(30, 30, 30), 0.35f);
        a.draw(circle(16.5f, 5.4f, 0.9f), rgb(250, 210, 60));
        break;
    case 37:  // hood of the cape
        a.flat(subtract(intersect(circle(kHeadX - 0.5f, kHeadY, 7.6f), rect(0, 0, 19.0f, kHeadY + 3)), circle(kHeadX + 1.2f, kHeadY + 0.5f, 5.6f)), rgb(120, 40, 150), 0.35f);
        break;
    default: {  // graduation cap
        a.flat(polygon({8.5f, 2.5f, 16.5f, 0.0f, 24.5f, 2.5f, 16.5f, 5.0f}), rgb(36, 36, 44), 0.35f, 1.0f);
        a.flat(rect(12.5f, 3.5f, 20.5f, 6.5f, 0.6f), rgb(36, 36, 44), 0.35f);
        a.draw(polyline({16.5f, 2.5f, 10.5f, 3.5f, 10.0f, 7.5f}, 0.4f), rgb(250, 200, 50));
        break;
    }
    }
    return a.done();
}

Canvas accessory_body(int n) {
    Acc a;
    switch (n) {
    case 1:  // bandolier
        a.flat(polygon({12.0f, 16.5f, 13.6f, 15.8f, 21.5f, 25.0f, 19.8f, 25.8f}), rgb(110, 80, 40), 0.35f, 1.0f);
        for (int i = 0; i < 3; i++) a.draw(rect(14.3f + i * 2.3f, 18.0f + i * 2.4f, 15.6f + i * 2.3f, 19.6f + i * 2.4f), rgb(230, 190, 60));
        break;
    case 5:  // neckerchief
        a.flat(polygon({12.5f, 16.3f, 20.5f, 16.3f, 17.5f, 21.0f}), rgb(200, 40, 40), 0.35f, 1.0f);
        break;
    case 24:  // white beard
    case 32: {  // beard
        Col col = n == 24 ? rgb(248, 248, 248) : rgb(120, 80, 50);
        a.lit(subtract(unite(ellipse(19.0f, 15.5f, 4.5f, 3.8f), circle(21.2f, 13.0f, 2.2f)), ellipse(20.0f, 14.1f, 1.5f, 0.8f)), col, 2.0f, 0.35f);
        break;
    }
    case 33:  // striped scarf
        a.flat(rect(11.0f, 15.4f, 22.5f, 18.2f, 1.3f), [](float x, float) -> Col { return ((int)(x / 2) & 1) ? rgb(200, 40, 40) : rgb(250, 250, 250); }, 0.35f, 1.0f);
        a.flat(rect(11.0f, 16.0f, 14.0f, 24.0f, 1.0f), [](float, float y) -> Col { return ((int)(y / 2) & 1) ? rgb(200, 40, 40) : rgb(250, 250, 250); }, 0.3f, 1.0f);
        break;
    case 34:  // tie
        a.flat(polygon({18.2f, 16.0f, 20.2f, 16.0f, 19.6f, 17.5f, 20.6f, 22.5f, 19.2f, 24.0f, 17.8f, 22.5f, 18.8f, 17.5f}), rgb(40, 60, 170), 0.35f, 1.0f);
        break;
    case 35:  // bow tie
        a.flat(unite(polygon({19.0f, 16.8f, 16.0f, 15.2f, 16.0f, 18.4f}), polygon({19.0f, 16.8f, 22.0f, 15.2f, 22.0f, 18.4f})), rgb(30, 30, 36), 0.35f, 1.0f);
        break;
    case 36:  // medal
        a.flat(polygon({17.0f, 16.5f, 19.2f, 16.5f, 19.0f, 19.5f, 17.2f, 19.5f}), rgb(40, 90, 200), 0.3f, 1.0f);
        a.lit(circle(18.1f, 20.6f, 1.5f), rgb(250, 200, 50), 1.2f, 0.5f);
        break;
    case 37:  // cape
        a.flat(polygon({13.0f, 15.5f, 19.0f, 15.5f, 14.0f, 18.0f, 9.0f, 27.5f, 6.0f, 26.5f, 10.0f, 18.5f}), rgb(120, 40, 150), 0.35f);
        a.lit(circle(18.6f, 16.3f, 1.2f), rgb(250, 200, 50), 1.0f, 0.4f);
        break;
    default:
        break;
    }
    return a.done();
}

Canvas snorkel() {
    Acc a;
    a.lit(taper(12.0f, 9.0f, 11.0f, -2.0f, 1.1f, 1.0f), rgb(250, 200, 40), 1.2f, 0.5f);
    a.lit(ellipse(11.0f, -2.2f, 1.5f, 1.1f), rgb(250, 120, 40), 1.0f, 0.4f);
    a.draw(capsule(12.0f, 9.0f, 16.5f, 10.0f, 0.5f), rgb(40, 40, 48));
    a.flat(rect(16.0f, 7.8f, 23.4f, 12.6f, 1.6f), rgb(60, 60, 70), 0.4f, 1.0f);
    a.draw(rect(16.9f, 8.6f, 22.6f, 11.8f, 1.1f), rgb(150, 220, 250));
    a.draw(capsule(18.0f, 9.3f, 19.0f, 9.3f, 0.35f), rgb(250, 250, 255));
    return a.done();
}

std::vector<Canvas> frames(int n, const std::function<Canvas(int)>& f, int first = 0) {
    std::vector<Canvas> v;
    for (int i = 0; i < n; i++) v.push_back(f(first + i));
    return v;
}

}  // namespace

Canvas player_preview() {
    ImageAsset bmp;
    bmp.fmt = Fmt::BmpMagenta;
    Canvas body = as_loaded(strip(frames(12, body_frame)), bmp);
    Canvas team = as_loaded(strip(frames(12, team_frame)), bmp);
    Canvas face = as_loaded(strip(frames(12, face_frame)), bmp);
    Canvas head = as_loaded(strip(frames(38, accessory_head, 1)), bmp);
    Canvas chest = as_loaded(strip(frames(38, accessory_body, 1)), bmp);
    Canvas snork = as_loaded(snorkel(), bmp);
    const Col teams[8] = {rgb(0, 255, 0), rgb(255, 255, 0), rgb(255, 0, 0), rgb(80, 200, 255),
                          rgb(180, 60, 255), rgb(255, 180, 0), rgb(0, 180, 0), rgb(50, 100, 255)};
    const int cols = 13, rows = 4;
    Canvas out(cols * 36, rows * 44, rgb(120, 150, 190));
    for (int r = 0; r < rows; r++)
        for (int k = 0; k < cols; k++) {
            int i = r * cols + k;
            int frame = r == 0 ? std::min(k, 11) : (i % 3 == 0 ? 1 : 0);
            int f = r == 0 ? 0 : (i % 12);
            int acc = r == 0 ? 0 : (i - cols + 1);
            int ox = k * 36 + 2, oy = r * 44 + 10;
            auto put = [&](const Canvas& src, int idx, int cw, int ch, int dx, int dy, Col tint) {
                Canvas cell = src.crop(idx * cw, 0, cw, ch);
                cell.tint(tint);
                out.blit(cell, dx, dy);
            };
            int lower = frame == 2 ? 1 : 0;
            put(body, frame, 32, 32, ox, oy, rgb(255, 255, 255));
            put(team, frame, 32, 32, ox, oy, teams[i % 8]);
            if (frame <= 8) put(face, f, 32, 32, ox, oy + lower, rgb(255, 255, 255));
            if (acc >= 1 && acc <= 38) {
                put(chest, acc - 1, 32, 40, ox, oy - 8 + lower, rgb(255, 255, 255));
                put(head, acc - 1, 32, 40, ox, oy - 8 + lower, rgb(255, 255, 255));
            }
            if (r == 0 && k == 12) {
                put(body, 0, 32, 32, ox, oy, rgb(255, 255, 255));
                put(team, 0, 32, 32, ox, oy, teams[3]);
                put(face, 0, 32, 32, ox, oy, rgb(255, 255, 255));
                out.blit(snork, ox, oy - 8);
            }
        }
    return out;
}

void add_player_art(Registry& reg) {
    reg.anim("gfx/players/player.bmp", Fmt::BmpMagenta, 32, 32, 12, [] { return strip(frames(12, body_frame)); });
    reg.anim("gfx/players/playert.bmp", Fmt::BmpMagenta, 32, 32, 12, [] { return strip(frames(12, team_frame)); });
    reg.anim("gfx/players/playerf.bmp", Fmt::BmpMagenta, 32, 32, 12, [] { return strip(frames(12, face_frame)); });
    reg.anim("gfx/players/accessory_head.bmp", Fmt::BmpMagenta, 32, 40, 38, [] { return strip(frames(38, accessory_head, 1)); });
    reg.anim("gfx/players/accessory_body.bmp", Fmt::BmpMagenta, 32, 40, 38, [] { return strip(frames(38, accessory_body, 1)); });
    reg.image("gfx/players/snorkel.bmp", Fmt::BmpMagenta, snorkel);
}

}  // namespace ma
