// Replay state (stand-in until replays exist: recording keeps the records
// in memory, playback feeds them back into the frame buffer).
#include "match/replay.h"

#include "core/sound.h"
#include "world/frame_buffer.h"

int g_replay = 0;
int g_replay_speed = 2;
int g_replay_timer = 0;
int g_replay_pause = 0;
int g_replay_goto = -1;
int g_replay_frame = 0;
std::string g_replay_missingres;
BankPtr g_replay_cbuffer = CreateBank(0);

std::vector<Treplay::Entry> Treplay::recorded;
std::list<Treplay::Entry> Treplay::list;
int Treplay::wincolor = 0;

int Treplay::setspeed(int speed) {
    g_replay_speed = speed;
    return TChan::updateRates();
}

int Treplay::recordframe(int frame, int keybyte, const BankPtr& data) {
    Entry e{frame, keybyte & 255, data ? CopyBank(*data) : CreateBank(0)};
    if (g_replay_cbuffer && g_replay_cbuffer->Size() > 0) {
        auto& b = e.data->Bytes();
        b.insert(b.end(), g_replay_cbuffer->Bytes().begin(), g_replay_cbuffer->Bytes().end());
        g_replay_cbuffer->Resize(0);
    }
    recorded.push_back(e);
    return 0;
}

int Treplay::recordrawdata(const BankPtr& data) {
    recorded.push_back(Entry{-1, 0, data ? CopyBank(*data) : CreateBank(0)});
    return 0;
}

int Treplay::playframe() {
    if (list.empty()) return 0;
    Entry e = list.front();
    list.pop_front();
    Tfb::add(e.frame, e.keybyte, e.data, Tfb::fin);
    return 0;
}
