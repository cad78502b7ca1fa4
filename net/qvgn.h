// Online-service client: login, version check and news.
#pragma once

#include <string>

struct Tqvgn {
    static std::string version;    // "" until the service's version reply arrives
    static int timeout;            // seconds left for the start-up version check
    static int natpunch_id;
    static std::string file;       // the service data file given to ini
    static int game;

    static void ini(const std::string& file, int game);
    static int checkversion_start();
    // 0 waiting, 1 version known and news current, 2 news stored.
    static int checkversion_update();
    static int loaduserdata(const std::string& user, const std::string& password);
};
