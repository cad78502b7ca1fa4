// Players: the fighters of the teams. (Stand-in: the fields and calls the
// frame buffer and world-event records use; the game world fills this file.)
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tplayer {
    int id = 0;
    int team = 0;
    std::string name;
    int accessory = 0;
    int health = 0;
    float x = 0, y = 0;     // centre of the collision mask, map pixels
    float fx = 0, fy = 0;   // speed in pixels per frame
    int dir = 1;            // 1 facing right, -1 facing left
    int wpn = 0;
    int wpnrot = 0;         // 0..180 facing right, -180..0 facing left, 0 up
    float wpnsize = 0;
    float wpnrecoil = 0;    // drawn recoil of the weapon, lowered while drawn
    int action = 0;
    int idle = 0;
    int idletimer = 0;
    int firetimer = 0;
    int state_poisoned = 0, state_confused = 0, state_frozen = 0, state_sleeping = 0, state_invisible = 0;

    static std::list<std::shared_ptr<Tplayer>> list;
    static std::shared_ptr<Tplayer> get(int id);
    // Stand-in: the given id (0: the first free one), null when taken.
    static std::shared_ptr<Tplayer> add(int id, int team);
    static int update();    // one physics step of every player

    int attack(int pressed);
    int damage(int amount, int credit);
    int getstates() const;
    int setstates(int bits);
    int jump1();
    int jump2();
    int move(int direction, int walk);
    int sync_damage(int n);
    int sync_push(float fx, float fy);
};
