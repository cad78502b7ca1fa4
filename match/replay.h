// Replay state read outside the replay code, and the recording and playback
// calls of the match step (stand-in until replays exist: the frames stay in
// memory).
#pragma once

#include <list>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/bank.h"

extern int g_replay_goto;      // frame to seek to, -1 none
extern int g_replay_frame;
extern BankPtr g_replay_cbuffer;

struct Treplay {
    // One replay record: a frame (number, key byte, records) or raw turn
    // data (frame -1, key 0).
    struct Entry {
        int frame = 0;
        int keybyte = 0;
        BankPtr data;
    };
    static std::vector<Entry> recorded;   // what this machine recorded, in order
    static std::list<Entry> list;         // records still to play
    static int wincolor;                  // the result the replay ends with

    static int setspeed(int speed);
    // Records a frame; the chat, leave and team-kill records waiting in
    // g_replay_cbuffer ride on it (and the buffer empties).
    static int recordframe(int frame, int keybyte, const BankPtr& data);
    static int recordrawdata(const BankPtr& data);
    // Moves the next record to play into the frame buffer.
    static int playframe();
};
