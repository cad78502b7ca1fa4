// Teams: the eight sides of a match, each owned by one net player, with its
// players, weapon stock and locks, and the match statistics.
//
// Ids are 0..7 and unique in Tteam::list once `add` returns. Statistics only
// grow by `stats_add`, which saturates at the int32 limits: health can reach
// the int32 maximum (healing records, game-mode scripts), and a wrapped sum
// would be undefined.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

struct Tteam {
    int id = 0;              // 0..7; 255 while add is still choosing one
    int netplayer = 0;       // net player that plays the team
    std::string name;        // also the name of its team file
    int color = 0;           // 0..7, also the alliance
    int players = 0;         // 1..6
    int extra = 0;           // 0 none, 1/2 time +-15, 3..8 health, 9 computer player
    int turn_lastplayer = 0;
    std::array<std::string, 6> playernames;   // "name,accessory" per member
    uint8_t wamount[256] = {};   // count per weapon index, 0 none, 100 unlimited
    int recentcol[256] = {};     // frames a collected weapon counts as recent
    uint8_t wlocked[256] = {};   // 1 locked
    int stats_dmg_caused = 0;
    int stats_dmg_suffered = 0;
    int stats_kills = 0;
    int stats_deaths = 0;
    int stats_suicides = 0;      // own or allied players killed ("Teamkills")
    int stats_score = 0;

    using Ptr = std::shared_ptr<Tteam>;
    static std::list<Ptr> list;
    static std::list<Ptr> statscopy;   // statistics kept for the statistics screen
    static int random;                 // last pick of randomid; -1: pick a random first team

    // Creates and lists a team, replacing a listed team of the same id; an id of
    // 8 or more (or a negative one) takes the first free one (the program ends
    // when none is left).
    // Colour, players and extra are clamped to 0..7, 1..6 and 0..9: callers
    // pass data from messages and replays.
    static Ptr add(int id, int netplayer, const std::string& name, int color, int players, int extra);
    static Ptr get(int id);
    // The team whose weapons the local weapon menu shows, or null.
    static Ptr weaponmenuteam();
    // The team that takes the next turn while no team has had one: a random
    // first pick, then the next listed id upward (cyclic). An empty list gives
    // 0 from the random pick and -1 from the cyclic walk (no team).
    static int randomid();
    // Rebuilds the list in id order; teams outside 0..7 are dropped.
    static int sort();
    // Teams owned by a net player.
    static int netplayerteams(int netplayer);

    int livingplayers() const;
    int needspawnplayers() const;
    // Copies identity, colour and statistics (not players, extra or stock).
    int copyteam(const Tteam& source);
};

// counter += amount, saturating at the int32 limits.
void stats_add(int& counter, int64_t amount);
