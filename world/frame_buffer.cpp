// Lockstep frame buffer: record writers, the frame lists, sending, processing
// and the dead-frame alarms.
#include "world/frame_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/services.h"
#include "core/shared_state.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "world/collision.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/water.h"

BankPtr g_frame_data = CreateBank(0);

Tfb::List Tfb::fin;
Tfb::List Tfb::fout;
BankPtr Tfb::loc = CreateBank(0);
int Tfb::endturn = 0;
int Tfb::action = 0;
int Tfb::sendtimer = 0;

std::function<void(const std::string&)> fb_trace;

namespace {

void put(uint32_t value, int width) {
    if (!g_frame_data) g_frame_data = CreateBank(0);
    auto& bytes = g_frame_data->Bytes();
    for (int i = 0; i < width; ++i) bytes.push_back((uint8_t)(value >> (8 * i)));
}

}  // namespace

int Tfb::fits(int n) {
    if (g_replay) return 0;
    size_t size = g_frame_data ? g_frame_data->Size() : 0;
    if (n >= 0 && size + (size_t)n <= (size_t)kFrameDataMax) return 1;
    debugwrite("frame data full: record of " + std::to_string(n) + " bytes dropped (frame has " +
               std::to_string(size) + ")");
    return 0;
}

int Tfb::wbyte(int b) {
    if (!g_replay) put((uint32_t)b, 1);
    return 0;
}

int Tfb::wshort(int s) {
    if (!g_replay) put((uint32_t)s, 2);
    return 0;
}

int Tfb::wint(int i) {
    if (!g_replay) put((uint32_t)i, 4);
    return 0;
}

int Tfb::wfloat(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    if (!g_replay) put(v, 4);
    return 0;
}

int Tfb::copyloc(int n) {
    if (g_replay || n <= 0 || !g_frame_data) return 0;
    if (!loc) loc = CreateBank(0);
    const auto& src = g_frame_data->Bytes();
    size_t count = std::min<size_t>((size_t)n, src.size());
    loc->Bytes().insert(loc->Bytes().end(), src.end() - (long)count, src.end());
    return 0;
}

int Tfb::reset() {
    fin.clear();
    fout.clear();
    endturn = 0;
    action = 0;
    if (loc) loc->Resize(0);
    sendtimer = 0;
    return 0;
}

int Tfb::add(int frame, int keybyte, const BankPtr& data, List& list) {
    if (frame > kLastFrame) {
        debugwrite("frame " + std::to_string(frame) + " past the last frame of a turn dropped");
        return 0;
    }
    // A frame number already waiting in fin is not queued twice (replay-only
    // entries, -1, may repeat).
    if (&list == &fin && frame != -1)
        for (auto& w : fin)
            if (w->frame == frame) return 0;
    auto f = std::make_shared<Tfb>();
    f->frame = frame;
    f->keybyte = keybyte & 255;
    if (data) f->data = CopyBank(*data);
    list.push_back(f);
    return 0;
}

namespace {

// A new reliable packet of the connection with up to 25 frames of the list as
// messages 30, closed at once so that nothing else joins it.
void send_batch(const std::shared_ptr<Tudp_con>& con, Tfb::List& list) {
    auto p = con->Createpacket(1, 1);
    for (int i = 0; i < Tfb::kBatch && !list.empty(); ++i) {
        auto f = list.front();
        list.pop_front();
        p->wbyte(30);
        p->wshort(f->frame);
        p->wbyte(f->keybyte);
        p->wbank(f->data);
    }
    con->lp = nullptr;
}

bool batch_due(size_t n, int force) { return n >= (size_t)Tfb::kBatch || (force == 1 && n > 0 && Tfb::sendtimer >= Tfb::kBatch); }

// A replay-only entry (frame -1): turn start or a set position.
void replay_entry(const Tfb& f) {
    if (f.keybyte != 0 || !f.data) return;
    const Bank& b = *f.data;
    if (!b.Has(0, 1)) return;
    int sub = b.PeekByte(0);
    if (sub == 1) {
        if (!b.Has(1, 12)) {
            debugwrite("replay turn-start entry cut short: skipped");
            return;
        }
        int mode = b.PeekByte(1);
        g_turn_player = b.PeekByte(2);
        float wind = b.PeekFloat(3);
        if (std::isfinite(wind)) g_storm = wind;
        set_roundtime_tmp = b.PeekByte(7);
        set_backingtime_tmp = b.PeekByte(8);
        g_round = b.PeekShort(9);
        hud_turnbardone = b.PeekByte(11);
        hud_turnbarall = b.PeekByte(12);
        game_turn_start(g_turn_player, mode);
    } else if (sub == 3) {
        if (!b.Has(1, 9)) {
            debugwrite("replay position entry cut short: skipped");
            return;
        }
        float x = b.PeekFloat(2), y = b.PeekFloat(6);
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        game_setposition(b.PeekByte(1), (int)std::clamp(x, -1e9f, 1e9f), (int)std::clamp(y, -1e9f, 1e9f), 0);
    }
}

// Key application of one frame to the turn player.
void apply_keys(Tplayer& p, int key) {
    const bool control = lua_allowplayercontrol == 1;
    const bool move = control && p.state_frozen == 0;
    if ((key & 1) && move) p.move(p.state_confused ? 1 : 0, 1);
    if ((key & 2) && move) p.move(p.state_confused ? 0 : 1, 1);
    if ((key & 4) && control) {
        if (p.dir == 1) {
            p.wpnrot = (p.wpnrot - 1) % 360;
            if (p.wpnrot < 0) p.wpnrot = 0;
        } else {
            p.wpnrot = (p.wpnrot + 1) % 360;
            if (p.wpnrot > 0) p.wpnrot = 0;
        }
    } else if ((key & 8) && control) {
        if (p.dir == 1) {
            p.wpnrot = (p.wpnrot + 1) % 360;
            if (p.wpnrot > 180) p.wpnrot = 180;
        } else {
            p.wpnrot = (p.wpnrot - 1) % 360;
            if (p.wpnrot < -180) p.wpnrot = -180;
        }
    }
    if ((key & 16) && move) p.jump1();
    if ((key & 32) && move) p.jump2();
    p.attack((key & 64) && control ? 1 : 0);
}

// Alarms run only where frames are due: a joined machine, no replay, a normal
// turn still in play.
bool alarms_armed() { return g_server == 0 && g_replay == 0 && g_mode == 1 && g_turn_state < 102; }

void dead_frame() {
    g_turn_deadframes++;
    if (!alarms_armed()) return;
    g_error_deadframes++;
    auto local = Tnetpl::get(g_player);
    if (!local) return;
    if (local->conerror == 0 && g_error_deadframes > 150) {
        local->conerror = 1;
        Tfb::senderror(1);
        Tfb::savesnap("code yellow");
    } else if (local->conerror == 1 && g_error_deadframes > 500) {
        local->conerror = 2;
        Tfb::senderror(2);
        Tfb::savesnap("code red");
    }
}

void apply_frame(const std::shared_ptr<Tfb>& f) {
    g_turn_deadframes = 0;
    g_error_deadframes = 0;
    if (g_server == 0) {
        auto local = Tnetpl::get(g_player);
        if (local && local->conerror != 0) {
            local->conerror = 0;
            Tfb::senderror(0);
        }
    }
    game_scroll();
    auto player = Tplayer::get(g_turn_player);
    int key = f->keybyte;
    Tfb::action = key & 128;
    const int prev[7] = {lua_keyup, lua_keydown, lua_keyleft, lua_keyright, lua_keyjump, lua_keybackjump, lua_keyattack};
    lua_keyup = (key & 4) ? 1 : 0;
    lua_keydown = (key & 8) ? 1 : 0;
    lua_keyleft = (key & 1) ? 1 : 0;
    lua_keyright = (key & 2) ? 1 : 0;
    lua_keyjump = (key & 16) ? 1 : 0;
    lua_keybackjump = (key & 32) ? 1 : 0;
    lua_keyattack = (key & 64) ? 1 : 0;
    if (player && g_turn_state < 3) apply_keys(*player, key);
    lua_keyhitreleaseupdate(prev[0], prev[1], prev[2], prev[3], prev[4], prev[5], prev[6]);
    if (g_turn_state < 99) {
        g_frame_move = 1;
        if (g_waterlevel_change > g_waterlevel) {
            g_waterlevel++;
            collide_update();
        } else if (g_waterlevel_change < g_waterlevel) {
            g_waterlevel--;
            collide_update();
        }
        if (menu == 3)
            sp_mission_update(0, 1);
        else
            game_mode_update(0, 1);
        Tobj::update(0);
        Tpro::draw(0, 1);
        Tplayer::update();
        if (g_terrainmodify > 0) g_terrainmodify--;
    }
    Tfb::endturn = 0;
    if (f->data) Tfb::process_additional(f->data, player);
    f->data = nullptr;
    // After the frame's records, on every machine: the fall rule must not wait
    // for a drawing pass, which replays and followers run at other frames.
    Tplayer::turnaction();
}

}  // namespace

int Tfb::process() {
    for (auto it = fin.begin(); it != fin.end();) {
        auto f = *it;
        if (g_replay == 1 && f->frame == -1) {
            it = fin.erase(it);
            replay_entry(*f);
            continue;
        }
        if (f->frame == g_turn_frames) {
            fin.erase(it);
            apply_frame(f);
            g_turn_frames = f->frame + 1;
            g_matchlenght++;
            if (endturn == 1) {
                if (g_server == 0) {
                    auto con = Tudp_con::Get(g_server_ip, g_server_port, 1);
                    auto p = con->Createpacket(1, 1);
                    p->wbyte(100);
                    p->wbyte(2);
                    p->wshort(g_turn);
                    con->lp = nullptr;
                    gui_addcon("send endturn confirmation (turn " + std::to_string(g_turn) + ") to server");
                }
                g_turn_state = 102;
            }
            return 0;
        }
        // Frames below the expected one can never apply again (apart from
        // replay-only entries): drop them instead of keeping them to the reset.
        if (f->frame >= 0 && f->frame < g_turn_frames) {
            it = fin.erase(it);
            continue;
        }
        if (fb_trace)
            fb_trace("unexpected frame: " + std::to_string(f->frame) + " (expected: " + std::to_string(g_turn_frames) +
                     ")");
        ++it;
    }
    dead_frame();
    return 0;
}

int Tfb::send(int force) {
    if (g_replay == 1) return 0;
    if (sendtimer < kBatch) sendtimer++;
    bool sent = false;
    if (g_server == 1) {
        for (auto& np : Tnetpl::list) {
            if (!np->con || !batch_due(np->frameout.size(), force)) continue;
            debugwrite("send frames (p#30) to client " + std::to_string(np->id));
            send_batch(np->con, np->frameout);
            sent = true;
        }
    } else if (batch_due(fout.size(), force)) {
        debugwrite("send frames (p#30) to server");
        send_batch(Tudp_con::Get(g_server_ip, g_server_port, 1), fout);
        sent = true;
    }
    if (sent) sendtimer = 0;
    return 0;
}

int Tfb::allsent() {
    if (g_replay == 1) return 1;
    if (g_server == 1) {
        for (auto& np : Tnetpl::list)
            if (np->con && !np->frameout.empty()) return 0;
        return 1;
    }
    return fout.empty() ? 1 : 0;
}

int Tfb::senderror(int code) {
    if (g_server == 1 || g_replay == 1) return 0;
    auto con = Tudp_con::Get(g_server_ip, g_server_port, 1);
    auto p = con->Createpacket(1, 1);
    p->wbyte(150);
    p->wbyte(code);
    return 0;
}

int Tfb::savesnap(const std::string& reason) {
    if (FileType("debug") != FILETYPE_DIR) CreateDir("debug");
    std::string date = CurrentDate(), time = CurrentTime();
    std::replace(date.begin(), date.end(), ' ', '-');
    std::replace(time.begin(), time.end(), ':', '-');
    StreamPtr out = WriteFile("debug/fs_" + date + "_" + time + ".txt");
    if (!out) return 0;
    out->WriteLine(reason);
    out->WriteLine("Turn: " + std::to_string(g_turn) + " Turn State: " + std::to_string(g_turn_state));
    out->WriteLine("Expecting Frame: " + std::to_string(g_turn_frames));
    out->WriteLine("Deadframes: " + std::to_string(g_error_deadframes));
    out->WriteLine("---> Frame Buffer Content:");
    for (auto& f : fin)
        out->WriteLine(std::to_string(f->frame) + (f->data ? " (" + std::to_string(f->data->Size()) + ")" : " (x)"));
    out->WriteLine("---------------------------------");
    out->WriteLine("Connection: ");
    auto con = Tudp_con::Get(g_server_ip, g_server_port, 1);
    out->WriteLine("incoming queue packets: " + std::to_string(con->in.size()) + " (next id " +
                   std::to_string(con->in_id) + ")");
    out->WriteLine("outgoing queue packets: " + std::to_string(con->out.size()) + " (next id " +
                   std::to_string(con->out_id) + ")");
    out->WriteLine("error state: " + std::to_string(con->error));
    out->WriteLine("---> Incoming Packets:");
    for (auto& p : con->in)
        out->WriteLine(std::to_string(p->id) + (p->d ? " (" + std::to_string(p->d->Size()) + ")" : " (x)"));
    out->Close();
    return 0;
}
