// Single-player missions: the selected mission and the mission step.
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tmission {
    std::string folder;    // folder name under missions/

    // The running mission: its folder path ending in "/" and the map number.
    static std::string currentroot;
    static int currentmap;

    static std::list<std::shared_ptr<Tmission>> list;
    static std::shared_ptr<Tmission> selected;
    static int weaponempty;   // 1 when the selected weapon has no ammunition
};

int sp();                  // one frame of a mission
