// Net players: the machines taking part in a match (the host and each joined
// machine), their ids, and the lobby operations one of them triggers: chat,
// team chat, the audio signal, ready flags with the start of a networked
// match, and the host settings broadcast.
//
// The lobby is a star: a joined machine sends its own events to the host
// only; the host applies, shows and relays them to every joined machine. The
// message handler calls the same operations with send 0 to apply what came in.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "net/udp/packet.h"
#include "platform/bank.h"
#include "world/frame_buffer.h"

struct Tnetpl {
    int id = 0;                      // 0..7; 255 as a sender means the system
    std::string name;
    std::shared_ptr<Tudp_con> con;   // only the host holds connections
    int ping = 0;
    int ready = 0;
    int turnready = 0;
    int conerror = 0;                // 0 fine, 1 code yellow, 2 code red
    int transferstate = 0;
    int progress = 0;
    std::string transferinfo;
    int minimap = 0;                 // minimap parts already sent, 0..5
    int transfer = 0;
    std::string filecurrent;
    int filetransfer = 0;
    std::list<std::string> filelist;
    int filelistpos = 0;
    BankPtr weapondata;
    Tfb::List frameout;              // frames the host still sends to this machine

    static std::list<std::shared_ptr<Tnetpl>> list;

    // Adds a net player; id 8 or more takes the lowest free id. A taken id or
    // no free id (from a join reply or a replay) is refused: null, with a
    // console line.
    static std::shared_ptr<Tnetpl> add(int id, const std::string& name, const std::shared_ptr<Tudp_con>& con);
    static int getfreeslotid();
    static std::shared_ptr<Tnetpl> get(int id);
    static int chat(int sender, const std::string& text, int send);
    static int teamchat(int sender, const std::string& text, int send);
    static int gfnotify(int sender, int send);
    static int getlobbyready(int id);
    static int lobbyready(int id, int ready, int send);
    static int lobbysendsettings();
    int activeteams() const;
    int needspawnteams() const;
    static int reset();
    static int randomid();
    int hasalliance(int a) const;
};

// Transfer counters that the host zeroes when a networked match starts.
extern int g_filedatarecv, g_filedatatotal, g_filemapsize;
