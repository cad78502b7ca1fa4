// Tips shown on the menus, read from sys/hints.dat.
#pragma once

#include <list>
#include <string>

struct Ttipp {
    std::string line1, line2;

    static std::list<Ttipp> list;
    static std::string tipp_current[2];
    static int loadtipps();
};
