// Map spawn entries: points of the map where objects are created or players
// placed when a match starts. (Stand-in: the record and its lists.)
#pragma once

#include <list>
#include <memory>
#include <string>

struct Tmap_spawn {
    std::string id;         // "{Name}", "{Name:param}" or a script object path
    std::string nodename;   // node entries only
    int x = 0, y = 0;
    int xo = 0, yo = 0;     // w / 2, h / 2
    int w = 0, h = 0;
    int img = 0;
    int counter = 0;

    static std::list<std::shared_ptr<Tmap_spawn>> list;    // the map's entries, in map order
    static std::list<std::shared_ptr<Tmap_spawn>> nodes;   // node entries of the running match
};
