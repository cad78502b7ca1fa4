// Lockstep frame buffer: the frames of a turn (frame number, the turn player's
// key byte, the frame's world-event records) from the machine that holds the
// turn to every other machine and into replays, applied in the same order
// everywhere.
//
// Writing a world-event record (the machine that holds the turn):
//
//     if (Tfb::fits(6)) {            // the whole record, code byte included
//         Tfb::wbyte(40);
//         Tfb::wbyte(player_id);
//         Tfb::wint(damage);
//         Tfb::copyloc(6);           // only for records the writer applies too
//     }
//
// A frame's records travel with a 16-bit length, so g_frame_data never grows
// past kFrameDataMax bytes. Every record writer asks `Tfb::fits` for its whole
// length first and writes nothing (no copyloc either) when it says no; the
// refused record is logged, so a frame never carries a record cut short. In a
// replay `fits` says no without logging (the writers write nothing there).
// Frame numbers travel as 16 bits too: the match step requests the end of the
// turn (record 1/2) once g_turn_frames reaches kEndTurnFrame, and `add`
// refuses frames past kLastFrame.
//
// Records cut short by the end of a bank (from a damaged peer or replay) are
// applied up to the last whole record; the rest of that bank is dropped and
// logged.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>

#include "platform/bank.h"

struct Tplayer;

// Records of the current frame, emptied or created by the match step at the
// start of each frame.
extern BankPtr g_frame_data;

struct Tfb {
    static constexpr int kFrameDataMax = 65535;
    static constexpr int kLastFrame = 65535;
    static constexpr int kEndTurnFrame = 65000;
    static constexpr int kBatch = 25;   // frames per message-30 packet
    // Positions the appliers keep players and objects within (maps end at
    // 30000 px), so later truncations of them stay defined.
    static constexpr float kMaxPos = 1e9f;

    int frame = 0;      // within the turn; -1 a replay-only entry
    int keybyte = 0;    // 1 left, 2 right, 4 up, 8 down, 16 jump, 32 back jump, 64 attack, 128 action
    BankPtr data;       // the frame's records, or null

    using List = std::list<std::shared_ptr<Tfb>>;
    static List fin;        // received, waiting for process
    static List fout;       // a client's outgoing frames
    static BankPtr loc;     // records the writing machine applies itself this frame
    static int endturn;     // 1 once the frame being applied carried record 1/1
    static int action;      // key byte AND 128 of the frame processed last
    static int sendtimer;   // calls of send since the last send, up to 25

    // 1 when a record of n bytes fits into g_frame_data whole and this
    // machine writes records (not a replay); otherwise 0 (logged outside
    // replays) and the caller writes nothing of the record.
    static int fits(int n);
    // Append little-endian to g_frame_data; nothing in a replay.
    static int wbyte(int b);
    static int wshort(int s);
    static int wint(int i);
    static int wfloat(float f);
    // Appends the last n bytes of g_frame_data to loc; nothing in a replay.
    static int copyloc(int n);

    static int reset();
    // Appends a record with its own copy of data (null stays null).
    static int add(int frame, int keybyte, const BankPtr& data, List& list);
    // Applies at most one numbered frame of fin, or counts a dead frame.
    static int process();
    // Applies the world-event records of data in order (null: nothing).
    static int process_additional(const BankPtr& data, const std::shared_ptr<Tplayer>& player);
    static int send(int force);
    static int allsent();
    // Client only, not in a replay: message 150 with the alarm code.
    static int senderror(int code);
    // The desync snapshot file debug/fs_<date>_<time>.txt.
    static int savesnap(const std::string& reason);
};

// Developer trace output ("unexpected frame" lines); not shown to users.
// Null (the default) drops the lines; tests may capture them.
extern std::function<void(const std::string&)> fb_trace;
