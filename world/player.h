// Players: the fighters of the teams, found by small integer ids.
//
// Every field below is lockstep state except the drawing counters (face,
// snorkel, weapon display), which every machine still steps alike because the
// drawing pass runs once per match-step frame everywhere. Ids stay in 1..99 for
// players from outside data (`add_received`): the collision query reports a
// player as 100 + id and an object as 200 + id. Positions and speeds are 32-bit
// floats and every real-to-int conversion truncates toward zero; the physics
// (player_physics.cpp) must give the same bits at every optimisation level.
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tplayer {
    int team = 0;
    int id = 0;
    int health = 0;          // above 0 alive; INT_MIN marks a drowned player
    std::string name;
    int accessory = 0;
    float x = 0, y = 0;      // where the collision mask is placed, map pixels
    float fx = 0, fy = 0;    // speed in pixels per frame, fy > 0 downward
    float falldist = 0;
    int idle = 0;            // 1 while resting: the physics step is skipped
    int idletimer = 0;       // frames simulated even at rest
    int actualmovement = 0;
    int movementinrow = 0;   // 0..5
    int dynamiccol = 0;      // 1 when the last step touched a player or object
    int firetimer = 0;
    int dir = 0;             // 1 facing right, -1 facing left
    float rot = 0;           // drawing rotation, degrees
    int wpn = 0;
    int wpnrot = 0;          // aim in whole degrees, mirrored on turning
    float wpnsize = 0, wpnrecoil = 0;
    int action = 0;          // 0 none, 1 pushed or flung, 10 jumping
    int actionframe = 0;
    int laststep = 0, steptimer = 0, stepframe = 0;
    int forceframe = 0;      // body frame for the next drawing, -1 none
    int face = 0, facestay = 0, facenext = 0;
    int facesnorkel = 0;
    int roundmoved = 0;
    int temp = 0;
    int state_poisoned = 0, state_confused = 0, state_frozen = 0, state_sleeping = 0, state_invisible = 0;
    // Drawing only: 1 from the frame `turnaction` set action 1 until the next
    // drawing pass, which still shows the weapon at its size (it shrinks from
    // the pass after, as when the pass itself set action).
    int actionpass = 0;

    using Ptr = std::shared_ptr<Tplayer>;
    static std::list<Ptr> list;

    // Creates and lists a player: id 0 takes the first free id 1..255. A taken
    // id or no free one ends the program (local callers only).
    static Ptr add(int id, int team);
    // add for ids read from messages and replays: null (and a log line) for an
    // id outside 1..99 or one already taken, so the reader skips the player.
    static Ptr add_received(int id, int team);
    static Ptr get(int id);
    // 1 when every living player rests.
    static int allidle();
    // Asks the camera to glide to the turn player.
    static int scrolltocurrent();
    // One physics step of every player, the turn player first.
    static int update();
    // The drawing pass of all players, then the turn weapon's draw callback.
    static int draw();
    // The players' HUD after the world: labels, crosshair, action icon, turn
    // reminders and the placement cursor. control 1: this machine's human
    // player has the turn, so the cursor tests the pointer and takes a click.
    static int drawhud(int control);
    // The fall-or-rise rule the drawing pass applies to the turn player
    // (action 1 at |fy| >= 5), run once per simulated frame after the frame's
    // records, on every machine, so replays at any speed and machines that
    // never draw set action in the same frames.
    static int turnaction();

    int move(int direction, int steps);
    int walk(int steps);
    int jump1();
    int jump2();
    int attack(int pressed);
    int damage(int amount, int flag);
    int updateself();
    int getstates() const;
    int setstates(int bits);
    int sync_damage(int amount);
    int sync_push(float pfx, float pfy);
    int randomspawn();
    int settoground(int distance);

    // The camera request for this player (skipped for an invisible player of
    // another machine's team).
    void viewrequest();
    // Collision query of the player mask at (trunc(x), trunc(y) + dy), this
    // player left out.
    int query(int dy) const;
};
