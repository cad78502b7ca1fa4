// Particles: short-lived sprites kept in one list per drawing layer.
#pragma once

#include <array>
#include <list>
#include <memory>

struct Tp {
    int kind = 0;
    float x = 0, y = 0;
    int r = 0, g = 0, b = 0;
    float rot = 0;
    float fx = 0, fy = 0;   // speed per step
    float fr = 0;           // spin per step
    float fa = 0;           // alpha lost per step
    float sx = 0, sy = 0;   // scale
    float a = 0;            // alpha
    int frame = 0;
    int data = 0;

    static std::array<std::list<std::shared_ptr<Tp>>, 3> list;

    static std::shared_ptr<Tp> Create(int kind, int x, int y, int layer);
    // Colours the particle by the user's blood-colour setting; draws one
    // random value for the varying channel.
    int bloodcolor();
    static int clear();
};
