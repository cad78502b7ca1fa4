// Particles: short-lived local effects (smoke, blood, debris, flares ...) of
// 28 kinds, kept in three drawing layers.
//
// Particles are no part of the lockstep world: each machine makes them from
// its own settings, so bounding them changes nothing shared. A layer holds at
// most kLayerMax particles; Create beyond that, or for a kind outside 1..28,
// returns a particle that joins no list (callers set fields on the result, so
// it is never null). Script-made particles end after kScriptLife steps.
#pragma once

#include <array>
#include <list>
#include <memory>

// A world coordinate truncated toward zero and held within +-1e9 (NaN gives
// 0): script speeds can carry particles anywhere, and converting a float
// beyond the int range is undefined.
inline int tp_int(double v) {
    if (!(v == v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return (int)v;
}

struct Tp {
    static constexpr int kKinds = 28;
    static constexpr size_t kLayerMax = 20000;
    static constexpr int kScriptLife = 3000;
    static constexpr int kMaxSubsteps = 256;

    int typ = 0;            // kind 1..28
    float x = 0, y = 0;     // world pixels (kinds 20 and 26: screen pixels)
    float rot = 0;          // degrees
    float fx = 0, fy = 0;   // speed per step (some kinds: scale factors or a target)
    float fr = 0;           // spin per step
    float fa = 0;           // alpha lost per step (some kinds: a ceiling or rate)
    float sx = 0, sy = 0;   // scale
    float a = 0;            // alpha; may start above 1
    int r = 0, g = 0, b = 0;
    int frame = 0;
    int data = 0;
    int life = 0;           // steps left before removal; 0 never (script particles: kScriptLife)

    using Layer = std::list<std::shared_ptr<Tp>>;
    static std::array<Layer, 3> list;

    // A particle of the kind at (x, y) with its kind's start values, appended
    // to the layer (0..2); see the header comment for the bounds.
    static std::shared_ptr<Tp> Create(int kind, int x, int y, int layer);
    // Create for the scripts' particle function: the particle ends after
    // kScriptLife steps whatever its fade, size or speed.
    static std::shared_ptr<Tp> CreateScript(int kind, int x, int y, int layer);
    // r, g, b from the user's blood-colour setting.
    int bloodcolor();
    // r = g = b = Rand(low, high).
    int grayscale(int low, int high);
    // Empties the three layers.
    static int clear();
    // Moves, stains, removes and (on drawn frames) draws one layer. Returns 0.
    static int draw(int layer);
};
