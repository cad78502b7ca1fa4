// Online-service client (stand-in until networking exists: no service is
// configured, so the version check gives up at once).
#include "net/qvgn.h"

#include "core/shared_state.h"

std::string Tqvgn::version;
int Tqvgn::timeout = 0;
int Tqvgn::natpunch_id = 0;
std::string Tqvgn::file;
int Tqvgn::game = 0;

void Tqvgn::ini(const std::string& data_file, int game_number) {
    file = data_file;
    game = game_number;
}
int Tqvgn::checkversion_start() {
    timeout = 16;
    return 0;
}
int Tqvgn::checkversion_update() {
    timeout = 0;
    return 0;
}
int Tqvgn::loaduserdata(const std::string&, const std::string&) { return 0; }

int qvgn_loaduserdata(const std::string& user, const std::string& password) {
    return Tqvgn::loaduserdata(user, password);
}

// Stand-in until the online-service client exists: counts the calls.
int qvgn_update_calls = 0;
int qvgn_update(int, int, int, int, int, const std::string&) {
    qvgn_update_calls++;
    return 0;}
