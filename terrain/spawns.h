// Map spawn entries: points of the map where objects are created or players
// placed when a match starts, stored in the map pack as id, x and y.
//
// Id grammar. "{" name "}" or "{" name ":" param "}" is a built-in entry whose
// name is one of the object kinds objn that start-up fills (matched
// case-sensitively; the last character is dropped whatever it is). Any other id is a script object's path, optionally
// followed by ":" param. The name is cut at the first ":".
//
// Entries live in Tmap_spawn::list in map order. perform() runs on every
// machine from the same list in the same order and draws no random number
// itself, so objects get the same ids everywhere.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

struct Tmap_spawn {
    std::string id;         // "{Name}", "{Name:param}" or a script object path
    std::string nodename;   // node entries only, set by perform
    int x = 0, y = 0;
    int xo = 0, yo = 0;   // w / 2, h / 2
    int w = 0, h = 0;     // editor box
    int img = 0;          // resource image id of a script object, else 0
    int counter = 0;      // the editor's node marker animation

    using Ptr = std::shared_ptr<Tmap_spawn>;
    static std::list<Ptr> list;    // the map's entries, in map order
    static std::list<Ptr> nodes;   // node entries of the running match

    // Bytes the spawn block of a map pack takes: 4, plus per entry the id
    // length (cut to 65535, as packed) + 10. 64-bit so a huge list cannot wrap.
    static int64_t size();
    // Appends an entry; an empty id takes the editor's chosen id, and when
    // that is empty too nothing is added.
    static int add(int x, int y, const std::string& id);
    // Box size and image for an id. Built-in: the kind's box and img 0 (an
    // unknown name leaves all three alone). Script object: its image's size
    // and id, else 25 x 25 and 0.
    static int getsize(const std::string& id, int& w, int& h, int& img);
    // Lowest built-in object kind (index into objn) with this name, -1 for none.
    static int builtinindex(const std::string& name);
    // Creates the match's objects from the entries and rebuilds nodes.
    // Unusable crates and items are reported on the console and skipped.
    // Defined with the match (match/spawn_objects.cpp): it makes world
    // objects and runs their setup scripts, both of layers above terrain.
    static int perform();
    // Moves the free player spawn points into spawns (reverse map order):
    // points whose player box touches terrain, and points overlapping a
    // later one, are reported and taken out of list as well.
    static int preparespawns(std::list<Ptr>& spawns);

    std::string getname() const;
    std::string getparam() const;   // "" when there is none
    int setparam(const std::string& p);
    // Same id, position, box and image; no node name, counter 0; not put in
    // any list.
    Ptr copy() const;

    bool builtin() const { return !id.empty() && id[0] == '{'; }
};
