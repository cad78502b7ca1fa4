// Scenery sprites: grass tufts, foliage, roots, reeds and tree leaves laid on
// the terrain by the texturer, swaying on screen and knocked off by edits.
//
// Creation draws every value of a sprite from the shared generator in a fixed
// order, always the same number of draws per kind (Tsc::draws), before the
// local particle setting decides whether the sprite is kept. So the setting
// never shifts the random sequence, and a map textured from a seed gets the
// same pixels, nodes, rocks, branches and leaves on every machine. Sprites
// live in the lists of the scenery grid (Tscc); nothing else holds one.
#pragma once

#include <list>
#include <memory>

struct Tsc;
using Tsc_list = std::list<std::shared_ptr<Tsc>>;

struct Tsc {
    enum Kind { GRASS = 1, FOLIAGE = 2, ROOT = 3, TREELEAVES = 4, REED = 5 };

    int typ = 0;           // Kind
    int sub = 0;           // image index within the kind's images
    float x = 0, y = 0;    // map position of the image's handle
    float sx = 0, sy = 0;  // drawing scale; negative mirrors
    int r = 0, g = 0, b = 0;
    float a = 0;
    int t = 0;             // sway phase, degrees
    int sway = 0;          // sway amplitude, degrees
    int swaysp = 0;        // degrees added to t at every draw
    int kill = 0;          // 1 once knocked off
    float fx = 0, fy = 0;  // fly-off velocity set by the knock-off tests

    // Random numbers one creation of the kind draws, kept or not. Texturing
    // relies on these counts; a kind outside 1..5 draws none.
    static constexpr int draws(int kind) {
        switch (kind) {
            case GRASS: return 6;
            case FOLIAGE: return 9;
            case ROOT: return 9;
            case TREELEAVES: return 11;
            case REED: return 10;
            default: return 0;
        }
    }

    // One sprite of the kind at map pixel (x, y), stored in the grid unless
    // the keep rule drops it (set_particles 0: never; 1: one in about 2.5;
    // 2: always). Tree leaves are always stored.
    static int addgrass(int x, int y);
    static std::shared_ptr<Tsc> addfoliage(int x, int y);   // the sprite, stored or not
    static int addroot(int x, int y);
    static int addreed(int x, int y);
    static int addtreeleaves(int x, int y);

    // The leaves of branch image variant (0..11) whose top-left corner is at
    // (x, y). They depend only on the arguments: the generator is seeded from
    // them, and afterwards reseeded with in_seed (which is left as it was),
    // so the sequence of in_seed starts over from its beginning.
    static int generatetreeleaves(int x, int y, int variant);
    // The seed of a branch's leaves: x*8611 - y*7826 + variant*4154 wrapped
    // to 32 bits.
    static int treeleaves_seed(int x, int y, int variant);

    // Advances the sway and draws the sprite when its handle is near the
    // screen; a knocked-off sprite instead leaves its particles (grass and
    // leaves, when particles are on) and removes itself from list, the grid
    // list that holds it.
    int draw(Tsc_list& list);
};
