// Replay state read outside the replay code.
#pragma once

#include <string>

#include "core/shared_state.h"
#include "platform/bank.h"

extern int g_replay_goto;      // frame to seek to, -1 none
extern int g_replay_frame;
extern BankPtr g_replay_cbuffer;

struct Treplay {
    static int setspeed(int speed);
};
