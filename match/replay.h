// Replays: recording a match (the initial block, every frame, turn starts and
// placements), the replay file, and playback through the frame buffer.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/bank.h"

extern int g_replay_goto;      // record to seek to, -1 none
extern int g_replay_frame;     // records played since the load
extern int g_replay_length;    // records in the loaded file
extern std::string g_replay_file;
extern BankPtr g_replay_cbuffer;

struct Treplay {
    // One replay record: a frame (number, key byte, records) or raw turn
    // data (frame -1, key 0: type 1 turn start, 2 wide settings, 3 placement).
    struct Entry {
        int frame = 0;
        int keybyte = 0;
        BankPtr data;   // null: no data
    };
    static std::vector<Entry> recorded;   // this machine's recording, in order
    static std::list<Entry> list;         // records still to play
    static BankPtr initialdata;           // initial block of the recording or the loaded file
    static std::vector<BankPtr> clientscriptlist;   // scripts received from the host, compressed
    static int wincolor;                  // the result the loaded replay ends with

    static int clear();
    static int setspeed(int speed);
    // Records a frame; the chat, leave and team-kill records waiting in
    // g_replay_cbuffer ride on it (and the buffer empties).
    static int recordframe(int frame, int keybyte, const BankPtr& data);
    static int recordrawdata(const BankPtr& data);
    // Starts a recording: the initial block of the current match.
    static int recordinitial();
    // Writes replays/<name>.gfrp ("" chooses the date-and-time name); 1 when
    // written. Nothing without an initial block or a map pack.
    static int savereplay(const std::string& name, int winner);
    // The default file name: "YYYY-MM-DD HH-MM-SS" and " - " + server name.
    static std::string defaultname();
    // Checks the whole file and, when it is sound, replaces the match with
    // it and starts playback; 0 (and a console line) when it cannot be read
    // or is damaged, leaving everything as it was. go -1: a fresh viewing.
    static int loadreplay(const std::string& name, int go);
    // loadreplay from the file's bytes (the fuzz target's entry).
    static int loadbytes(const Bank& file, const std::string& name, int go);
    // Moves the next record to play into the frame buffer.
    static int playframe();
};

