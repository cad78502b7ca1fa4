// Replay state read outside the replay code.
#pragma once

#include <string>

#include "platform/bank.h"

extern int g_replay;           // 1 while a replay plays
extern int g_replay_speed;     // 0..5, 2 normal
extern int g_replay_pause;
extern int g_replay_goto;      // frame to seek to, -1 none
extern int g_replay_frame;
extern std::string g_replay_missingres;
extern BankPtr g_replay_cbuffer;

struct Treplay {
    static int setspeed(int speed);
};
