// Replay state (stand-in until replays exist).
#include "match/replay.h"

#include "core/sound.h"

int g_replay = 0;
int g_replay_speed = 2;
int g_replay_timer = 0;
int g_replay_pause = 0;
int g_replay_goto = -1;
int g_replay_frame = 0;
std::string g_replay_missingres;
BankPtr g_replay_cbuffer = CreateBank(0);

int Treplay::setspeed(int speed) {
    g_replay_speed = speed;
    return TChan::updateRates();
}
