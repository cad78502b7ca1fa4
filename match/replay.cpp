// Replays: the recording of a match, the replay file and its playback. The
// loader checks the whole file (the map pack included) before it changes
// anything, so a damaged file is refused like an unreadable one.
#include "match/replay.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

#include "core/bank_codec.h"
#include "core/graphics_setup.h"
#include "core/host_settings.h"
#include "core/resources.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/sound.h"
#include "core/text.h"
#include "match/game.h"
#include "match/presets.h"
#include "match/setup.h"
#include "platform/files.h"
#include "scripting/lua_state.h"
#include "scripting/script_files.h"
#include "scripting/script_objects.h"
#include "terrain/pack.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/player.h"
#include "world/team.h"

int g_replay = 0;
int g_replay_speed = 2;
int g_replay_timer = 0;
int g_replay_pause = 0;
int g_replay_goto = -1;
int g_replay_frame = 0;
int g_replay_length = 0;
std::string g_replay_file;
std::string g_replay_missingres;
BankPtr g_replay_cbuffer = CreateBank(0);

std::vector<Treplay::Entry> Treplay::recorded;
std::list<Treplay::Entry> Treplay::list;
BankPtr Treplay::initialdata;
std::vector<BankPtr> Treplay::clientscriptlist;
int Treplay::wincolor = 0;

namespace {

// ---- Writing

struct Writer {
    std::vector<uint8_t>& b;
    void u8(int v) { b.push_back((uint8_t)(v & 255)); }
    void u16(int v) { u8(v), u8(v >> 8); }
    void i32(int32_t v) {
        for (int k = 0; k < 4; ++k) u8((int)((uint32_t)v >> (8 * k)));
    }
    void f32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        i32((int32_t)v);
    }
    // A line: one byte per character; bytes under 32 are dropped, so a name
    // from another machine cannot end the line early.
    void line(const std::string& s) {
        for (char c : s)
            if ((uint8_t)c >= 32) b.push_back((uint8_t)c);
        u8(13), u8(10);
    }
    void bytes(const Bank* bank) {
        const int n = bank ? (int)bank->Size() : 0;
        i32(n);
        if (n) b.insert(b.end(), bank->Bytes().begin(), bank->Bytes().end());
    }
};

// ---- Reading: every read is bounded; a short read marks the reader bad.

struct Reader {
    const uint8_t* p;
    size_t n, pos = 0;
    bool bad = false;
    size_t left() const { return pos <= n ? n - pos : 0; }
    bool need(size_t k) {
        if (bad || left() < k) {
            bad = true;
            return false;
        }
        return true;
    }
    int u8() { return need(1) ? p[pos++] : 0; }
    int u16() {
        if (!need(2)) return 0;
        int v = p[pos] | p[pos + 1] << 8;
        pos += 2;
        return v;
    }
    int32_t i32() {
        if (!need(4)) return 0;
        uint32_t v = (uint32_t)p[pos] | (uint32_t)p[pos + 1] << 8 | (uint32_t)p[pos + 2] << 16 | (uint32_t)p[pos + 3] << 24;
        pos += 4;
        return (int32_t)v;
    }
    float f32() {
        int32_t v = i32();
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    std::string line() {
        std::string s;
        while (true) {
            if (!need(1)) return s;
            uint8_t c = p[pos++];
            if (c == 10) return s;
            if (c != 13) s.push_back((char)c);
        }
    }
    // An i32 length and that many bytes.
    BankPtr block() {
        int32_t len = i32();
        if (bad || len < 0 || (size_t)len > left()) {
            bad = true;
            return nullptr;
        }
        auto b = CreateBank((size_t)len);
        if (len) std::memcpy(b->Buf(), p + pos, (size_t)len);
        pos += (size_t)len;
        return b;
    }
};

// Limits on what a file may make the loader unpack: far above any real
// match (an hour of frames is a few megabytes, our scripts well under one).
constexpr size_t kMaxScriptBytes = 64u << 20;
constexpr uint32_t kMaxRecordBytes = 256u << 20;

// What a replay file holds, read and checked before anything is applied.
struct Parsed {
    int version = 0;
    BankPtr initial, map;
    std::vector<Treplay::Entry> records;
    int winner = 0;
    bool settings = false;
    std::vector<int> set;   // 22 values when settings
    struct Np { int id; std::string name; };
    struct Team { int id, np; std::string name; int color, players, extra; };
    struct Pl { int team, id; std::string name; int accessory; float x, y; int dir, health; };
    struct Ob { int typ; float x, y; };
    std::vector<Np> nps;
    std::vector<Team> teams;
    std::vector<Pl> players;
    std::vector<Ob> objects;
    std::vector<std::string> scripts;
    uint8_t grid[3][14][9] = {};
    int primary = 0;
    bool slots = false;
    std::vector<std::pair<int, int>> slotvalues;   // per filled slot, in grid order
    std::vector<int> wide;   // 22 values of a type-2 record, empty without one
};

std::string parse_initial(const Bank& b, Parsed& out) {
    Reader r{b.Buf(), b.Size()};
    if (out.version >= 2) {
        const int last = r.u8();
        out.set.assign(kHostSettings, 0);
        for (int i = 0; i <= last; ++i) {
            int v = r.u8();
            if (i < kHostSettings) out.set[(size_t)i] = v;   // a surplus is read and dropped
        }
        out.settings = true;
    }
    int n = r.u8();
    for (int i = 0; i < n && !r.bad; ++i) {
        int id = r.u8();
        std::string name = r.line();
        for (auto& o : out.nps)
            if (o.id == id) return "net player " + std::to_string(id) + " twice";
        out.nps.push_back({id, name});
    }
    n = r.u8();
    for (int i = 0; i < n && !r.bad; ++i) {
        Parsed::Team t;
        t.id = r.u8(), t.np = r.u8(), t.name = r.line(), t.color = r.u8(), t.players = r.u8(), t.extra = r.u8();
        if (r.bad) break;
        if (t.id > 7) return "team id " + std::to_string(t.id);
        for (auto& o : out.teams)
            if (o.id == t.id) return "team " + std::to_string(t.id) + " twice";
        out.teams.push_back(t);
    }
    n = r.u8();
    for (int i = 0; i < n && !r.bad; ++i) {
        Parsed::Pl p;
        p.team = r.u8(), p.id = r.u8(), p.name = r.line(), p.accessory = r.u8();
        p.x = r.f32(), p.y = r.f32(), p.dir = r.u8() - 1, p.health = r.u16();
        if (r.bad) break;
        if (p.id < 1 || p.id > 99) return "player id " + std::to_string(p.id);
        for (auto& o : out.players)
            if (o.id == p.id) return "player " + std::to_string(p.id) + " twice";
        out.players.push_back(p);
    }
    n = r.u16();
    // Replayed objects take ids of the global block: more cannot be made, and
    // each id search walks the list.
    if (n > Tobj::kGlobalLast - Tobj::kGlobalFirst + 1) return std::to_string(n) + " objects";
    for (int i = 0; i < n && !r.bad; ++i) {
        Parsed::Ob o;
        o.typ = r.i32(), o.x = r.f32(), o.y = r.f32();
        out.objects.push_back(o);
    }
    n = r.u16();
    size_t script_bytes = 0;
    for (int i = 0; i < n && !r.bad; ++i) {
        BankPtr packed = r.block();
        if (!packed) break;
        // The unpacked size is claimed by the file: checked before unpacking.
        if (packed->Size() >= 4) script_bytes += (uint32_t)packed->PeekInt(0);
        if (script_bytes > kMaxScriptBytes) return "scripts larger than " + std::to_string(kMaxScriptBytes) + " bytes";
        BankPtr text = UncompressBank(*packed);
        if (!text) return "script " + std::to_string(i + 1) + " does not unpack";
        out.scripts.emplace_back(text->Bytes().begin(), text->Bytes().end());
    }
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 14; ++x) out.grid[c][x][y] = (uint8_t)r.u8();
    out.primary = r.u16();
    if (r.bad) return "initial block cut short";
    if (out.version >= 3 && r.left() > 0) {
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 14; ++x)
                    if (out.grid[c][x][y] != 0) {
                        int ammo = r.u8(), first = r.u8();
                        out.slotvalues.emplace_back(ammo, first);
                    }
        if (r.bad) return "slot values cut short";
        out.slots = true;
    }
    return "";
}

std::string parse(const Bank& file, Parsed& out) {
    Reader r{file.Buf(), file.Size()};
    r.i32();
    std::string version = r.line();
    std::string digits;
    for (char c : version)
        if (c != '.') digits.push_back(c);
    out.version = std::atoi(digits.c_str());
    r.u8();
    r.i32();
    r.line();
    r.line();
    out.initial = r.block();
    out.map = r.block();
    BankPtr packed = r.block();
    if (r.bad || !packed) return "file cut short";
    out.winner = r.left() > 0 ? r.u8() : 0;
    if (packed->Size() >= 4 && (uint32_t)packed->PeekInt(0) > kMaxRecordBytes) return "record block too large";
    BankPtr recs = UncompressBank(*packed);
    if (!recs) return "record block does not unpack";
    Reader q{recs->Buf(), recs->Size()};
    int32_t count = q.i32();
    // Every record takes at least 9 bytes, so the count cannot ask for more.
    if (q.bad || count < 0 || (size_t)count > q.left() / 9) return "record count " + std::to_string(count);
    out.records.reserve((size_t)count);
    for (int32_t i = 0; i < count; ++i) {
        Treplay::Entry e;
        e.frame = q.i32();
        e.keybyte = q.u8();
        BankPtr data = q.block();
        if (!data) return "record " + std::to_string(i + 1) + " cut short";
        if (data->Size() > 0) e.data = data;
        out.records.push_back(e);
    }
    if (q.left() != 0) return "record block longer than its records";
    if (!out.map || out.map->Size() == 0) return "no map";
    BankPtr raw = UncompressBank(*out.map);
    if (!raw) return "map pack does not unpack";
    Tmap_pack pack;
    std::string why = map_pack_read(*raw, pack);
    if (!why.empty()) return "map pack: " + why;
    if (out.version >= 1) {
        why = parse_initial(*out.initial, out);
        if (!why.empty()) return why;
    }
    // Settings outside 0..255 travel in a type-2 record first.
    if (!out.records.empty()) {
        auto& e = out.records.front();
        if (e.frame == -1 && e.keybyte == 0 && e.data && e.data->Size() >= 2 + 4 * (size_t)kHostSettings &&
            e.data->PeekByte(0) == 2 && e.data->PeekByte(1) == kHostSettings)
            for (int i = 0; i < kHostSettings; ++i) out.wide.push_back(e.data->PeekInt(2 + 4 * (size_t)i));
    }
    return "";
}

Tscro* weapon_at(int i) {
    if (i < 1 || i >= (int)Tscro::weapon.size()) return nullptr;
    return Tscro::weapon[(size_t)i].get();
}

void apply(const Parsed& f, const std::string& name, int go) {
    g_replay_file = name;
    Treplay::clear();
    game_reset();
    g_server = 0;
    Tres::clear();
    Tscr::clear();
    Tscro::clear();
    g_gamemodes.clear(), g_gamemodesi.clear(), g_gamemodess.clear(), g_gameenders.clear(), g_gameendersi.clear();
    lua_reset();
    Treplay::initialdata = f.initial;
    map_bank = f.map;
    Treplay::list.assign(f.records.begin(), f.records.end());
    g_replay_frame = 0;
    g_replay_length = (int)f.records.size();
    g_replay_fastforward = 0;
    g_replay_goto = go;
    g_replay_pause = 0;
    if (go == -1) Treplay::setspeed(2);
    Treplay::wincolor = f.winner;
    map_uncompress(1);
    Tmap_shape::postperform_leaves();
    menu = kMenuMatch;
    g_replay = 1;
    if (f.settings)
        for (int i = 0; i < kHostSettings; ++i) set[i] = f.set[(size_t)i];
    if (!f.wide.empty())
        for (int i = 0; i < kHostSettings; ++i) set[i] = f.wide[(size_t)i];
    settings_check_host();
    for (auto& n : f.nps) Tnetpl::add(n.id, n.name, nullptr);
    for (auto& t : f.teams) Tteam::add(t.id, t.np, t.name, t.color, t.players, t.extra);
    for (auto& q : f.players) {
        auto p = Tplayer::add_received(q.id, q.team);
        if (!p) continue;
        p->name = q.name, p->accessory = q.accessory, p->x = q.x, p->y = q.y;
        p->dir = q.dir, p->wpnrot = q.dir * 90, p->health = q.health;
    }
    for (auto& o : f.objects) {
        // Finite positions only: a crafted NaN would make the conversion undefined.
        float x = std::isfinite(o.x) ? std::clamp(o.x, -1e9f, 1e9f) : 0, y = std::isfinite(o.y) ? std::clamp(o.y, -1e9f, 1e9f) : 0;
        Tobj::Create(o.typ, (int)x, (int)y, 0, -1, 0);
    }
    lua_lastdef_weapon = "N/A";
    lua_untrusted = 1;
    for (auto& s : f.scripts) lua_runchunk(s, "raw-replay-data");
    lua_untrusted = 0;
    std::memcpy(g_weaponseti, f.grid, sizeof g_weaponseti);
    Tscro::primaryweapon = f.primary;
    if (f.slots) {
        size_t k = 0;
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 14; ++x) {
                    if (f.grid[c][x][y] == 0) continue;
                    auto [ammo, first] = f.slotvalues[k++];
                    g_weaponsets[c][x][y][0] = (uint8_t)ammo;
                    g_weaponsets[c][x][y][1] = (uint8_t)first;
                    if (Tscro* w = weapon_at(f.grid[c][x][y])) w->amount = ammo, w->firstuse = first;
                }
    }
    for (auto& t : Tteam::list)
        for (int i = 1; i < 256; ++i) {
            Tscro* w = weapon_at(i);
            t->wamount[i] = w ? (uint8_t)std::clamp(w->amount, 0, 255) : 0;
            t->wlocked[i] = w ? (uint8_t)(w->initiallock & 255) : 0;
            t->recentcol[i] = 0;
        }
    game_startstate();
    game_gamemode_names();
    g_turn_frames = 0;
    game_checksettings();
    Tmap_spawn::perform();
    if (go == -1) {
        hud_match_reset(1);
        hud_chat_add(255, "*** Now watching '" + name + "' ***", 10, "");
        hud_chat_add(255, "Press space to pause or click the timeline to jump in time.", 10, "");
        hud_chat_add(255, "Press +/- to change the playback speed.", 10, "");
        if (!g_replay_missingres.empty()) {
            hud_chat_add(255, "*** WARNING: MISSING IMAGES ***", 10, "");
            hud_chat_add(255,
                         "This replay uses images which do not exist on your system. This MAY lead to corrupted "
                         "playback! See console/log for list!",
                         10, "");
            gui_addcon("WARNING: MISSING IMAGES FOR REPLAY PLAYBACK:");
            for (auto& piece : text_split(g_replay_missingres, ", "))
                if (!piece.empty()) gui_addcon("gfx/" + piece);
        }
        map_x = (float)(set_scrxh - map_xsize / 2);
        map_y = (float)(set_scryh - map_ysize / 2);
    }
}

}  // namespace

int Treplay::clear() {
    recorded.clear();
    list.clear();
    if (g_replay_cbuffer)
        g_replay_cbuffer->Resize(0);
    else
        g_replay_cbuffer = CreateBank(0);
    return 0;
}

int Treplay::setspeed(int speed) {
    g_replay_speed = speed;
    return TChan::updateRates();
}

int Treplay::recordframe(int frame, int keybyte, const BankPtr& data) {
    Entry e{frame, keybyte & 255, nullptr};
    const bool waiting = g_replay_cbuffer && g_replay_cbuffer->Size() > 0;
    if (data || waiting) {
        e.data = data ? CopyBank(*data) : CreateBank(0);
        if (waiting) {
            auto& b = e.data->Bytes();
            b.insert(b.end(), g_replay_cbuffer->Bytes().begin(), g_replay_cbuffer->Bytes().end());
            g_replay_cbuffer->Resize(0);
        }
    }
    recorded.push_back(e);
    return 0;
}

int Treplay::recordrawdata(const BankPtr& data) {
    recorded.push_back(Entry{-1, 0, data ? CopyBank(*data) : nullptr});
    return 0;
}

int Treplay::recordinitial() {
    clear();
    if (!initialdata) initialdata = CreateBank(0);
    initialdata->Resize(0);
    Writer w{initialdata->Bytes()};
    w.u8(kHostSettings - 1);
    bool wide = false;
    for (int i = 0; i < kHostSettings; ++i) {
        w.u8(set[i]);
        if (set[i] < 0 || set[i] > 255) wide = true;
    }
    w.u8((int)Tnetpl::list.size());
    for (auto& n : Tnetpl::list) w.u8(n->id), w.line(n->name);
    w.u8((int)Tteam::list.size());
    for (auto& t : Tteam::list) {
        w.u8(t->id), w.u8(t->netplayer), w.line(t->name);
        w.u8(t->color), w.u8(t->players), w.u8(t->extra);
    }
    w.u8((int)Tplayer::list.size());
    for (auto& p : Tplayer::list) {
        w.u8(p->team), w.u8(p->id), w.line(p->name), w.u8(p->accessory);
        w.f32(p->x), w.f32(p->y), w.u8(p->dir + 1), w.u16(p->health);
    }
    w.u16((int)Tobj::list.size());
    for (auto& o : Tobj::list) w.i32(o->typ), w.f32(o->x), w.f32(o->y);
    std::vector<BankPtr> scripts;
    if (g_server != 0) {
        for (auto& s : Tscr::script)
            if (s && !s->path.empty() && s->compr) scripts.push_back(s->compr);
    } else {
        scripts = clientscriptlist;
    }
    w.u16((int)scripts.size());
    for (auto& s : scripts) w.bytes(s.get());
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 14; ++x) w.u8(g_weaponseti[c][x][y]);
    w.u16(Tscro::primaryweapon);
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 14; ++x)
                if (g_weaponseti[c][x][y] != 0) w.u8(g_weaponsets[c][x][y][0]), w.u8(g_weaponsets[c][x][y][1]);
    // Settings beyond one byte (health up to 500, mode indexes up to 1000)
    // would play back wrong from their low 8 bits: a type-2 record carries
    // them whole, and readers that do not know it pass it over.
    if (wide) {
        auto b = CreateBank(2 + 4 * kHostSettings);
        b->PokeByte(0, 2);
        b->PokeByte(1, kHostSettings);
        for (int i = 0; i < kHostSettings; ++i) b->PokeInt(2 + 4 * (size_t)i, set[i]);
        recordrawdata(b);
    }
    return 0;
}

std::string Treplay::defaultname() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H-%M-%S", &tm);
    std::string name = buf;
    std::string server = filename(g_server_name);
    if (!g_server_name.empty() && !server.empty()) name += " - " + server;
    return name;
}

int Treplay::savereplay(const std::string& name, int winner) {
    const std::string file = name.empty() ? defaultname() : name;
    if (!initialdata || initialdata->Size() == 0 || !map_bank) return 0;
    std::vector<uint8_t> out;
    Writer w{out};
    w.i32(8);
    w.line("0.3");
    w.u8(1);
    w.i32((int32_t)recorded.size());
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char date[40];
    std::strftime(date, sizeof date, "%d %b %Y %H:%M:%S", &tm);
    w.line(date);
    w.line(set_name);
    w.bytes(initialdata.get());
    w.bytes(map_bank.get());
    std::vector<uint8_t> recs;
    Writer rw{recs};
    rw.i32((int32_t)recorded.size());
    for (auto& e : recorded) {
        rw.i32(e.frame);
        rw.u8(e.keybyte);
        rw.bytes(e.data.get());
    }
    BankPtr packed = CompressBank(Bank(recs.data(), recs.size()));
    if (!packed) return 0;
    w.bytes(packed.get());
    w.u8(winner);
    CreateDir("replays", true);
    return SaveBank(Bank(out.data(), out.size()), "replays/" + file + ".gfrp") ? 1 : 0;
}

int Treplay::loadbytes(const Bank& file, const std::string& name, int go) {
    Parsed f;
    std::string why = parse(file, f);
    if (!why.empty()) {
        gui_addcon("Replay '" + name + "' refused: " + why);
        return 0;
    }
    g_replay_missingres.clear();
    apply(f, name, go);
    return 1;
}

int Treplay::loadreplay(const std::string& name, int go) {
    TChan::stopall();
    loadscreen("Loading Replay", 0);
    g_replay_missingres.clear();
    BankPtr file = LoadBank("replays/" + name + ".gfrp");
    if (!file) return 0;
    return loadbytes(*file, name, go);
}

int Treplay::playframe() {
    if (list.empty()) return 0;
    Entry e = list.front();
    list.pop_front();
    Tfb::add(e.frame, e.keybyte, e.data ? e.data : CreateBank(0), Tfb::fin);
    g_replay_frame++;
    return 0;
}
