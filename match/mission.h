// Single-player missions: the selected mission and the mission step.
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tmission {
    std::string folder;    // folder name under missions/
    long long score = 0;   // best score saved for the mission

    // The running mission: its folder path ending in "/" and the map number.
    static std::string currentroot;
    static int currentmap;

    static std::list<std::shared_ptr<Tmission>> list;
    static std::shared_ptr<Tmission> selected;
    static int weaponempty;   // 1 when the selected weapon has no ammunition
    static int winflag;       // 1 asks the mission step to end the map as won
    static int cscore;        // score of the mission being played

    // Saves score (raised to 0 when negative) as the selected mission's best:
    // "missions/<folder>/score", 8 bytes little-endian, and its `score`,
    // whether or not it is higher. Nothing without a selected mission.
    static int savescore(long long score);
};

int sp();                  // one frame of a mission
