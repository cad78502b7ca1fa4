// Weapon sets: the slot grid, the weapon-set file and the loader's script list.
#include "frontend/weaponset.h"

#include <cctype>

#include "platform/files.h"

std::string g_weaponset[3][14][9];
uint8_t g_weaponseti[3][14][9];
uint8_t g_weaponsets[3][14][9][3];
int g_weaponsetcd[3][14][9];
std::vector<std::string> gui_weaponsb;
int menu_wpn_defaultammo = 100;
int menu_wpn_defaultfirstuse = 1;

namespace {

const char kHeader[] = "<GFWS V 2.0>";
// A set file is 1,904 bytes plus its paths; anything far larger is no set,
// and reading it would only cost memory.
constexpr int64_t kMaxSetFile = 4 << 20;

// Calls f(category, column, row) for every slot in slot order.
template <class F>
void each_slot(F f) {
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 9; ++row)
            for (int col = 0; col < 14; ++col) f(g, col, row);
}

// Reads a line up to LF, a 0 byte or the end (the ending byte is consumed);
// CRs are dropped. False when the data had already ended.
bool read_line(const std::vector<uint8_t>& d, size_t& pos, std::string& line) {
    line.clear();
    if (pos >= d.size()) return false;
    while (pos < d.size()) {
        uint8_t c = d[pos++];
        if (c == 10 || c == 0) break;
        if (c != 13) line += (char)c;
    }
    return true;
}

bool read_byte(const std::vector<uint8_t>& d, size_t& pos, uint8_t& b) {
    if (pos >= d.size()) return false;
    b = d[pos++];
    return true;
}

// Leading blanks, an optional sign, then digits up to the first other
// character; 0 without digits. Held to the int range.
int field_value(const std::string& f) {
    size_t i = 0;
    while (i < f.size() && (f[i] == ' ' || f[i] == '\t')) ++i;
    bool neg = false;
    if (i < f.size() && (f[i] == '-' || f[i] == '+')) neg = f[i++] == '-';
    long long v = 0;
    while (i < f.size() && std::isdigit((unsigned char)f[i]) && v < 1000000000LL) v = v * 10 + (f[i++] - '0');
    return (int)(neg ? -v : v);
}

}  // namespace

int menu_wpns_loadset(const std::string& path) {
    int64_t size = FileSize(path);
    if (size < 0 || FileType(path) != 1) return 0;
    if (size > kMaxSetFile) {
        gui_addcon("Weapon set '" + path + "' is too large - not loaded");
        return 0;
    }
    BankPtr bank = LoadBank(path);
    if (!bank) return 0;
    const std::vector<uint8_t>& d = bank->Bytes();
    // Read into a copy first: a file that ends early must not leave the set
    // half replaced.
    struct Slot {
        std::string path;
        uint8_t b[3];
    };
    std::vector<Slot> slots;
    slots.reserve(kWeaponSetSlots);
    size_t pos = 0;
    std::string first;
    bool ok = read_line(d, pos, first);
    bool v2 = ok && first == kHeader;
    bool first_pending = ok && !v2;
    for (int i = 0; ok && i < kWeaponSetSlots; ++i) {
        Slot s;
        if (first_pending) {
            s.path = first;
            first_pending = false;
        } else {
            ok = read_line(d, pos, s.path);
        }
        ok = ok && read_byte(d, pos, s.b[0]) && read_byte(d, pos, s.b[1]);
        if (v2)
            ok = ok && read_byte(d, pos, s.b[2]);
        else
            s.b[2] = 3;
        if (ok) slots.push_back(s);
    }
    if (!ok) {
        gui_addcon("Weapon set '" + path + "' ends early - not loaded");
        return 0;
    }
    size_t i = 0;
    each_slot([&](int g, int col, int row) {
        g_weaponset[g][col][row] = slots[i].path;
        for (int k = 0; k < 3; ++k) g_weaponsets[g][col][row][k] = slots[i].b[k];
        ++i;
    });
    return 0;
}

int menu_wpns_saveset(const std::string& path) {
    auto bank = CreateBank(0);
    std::vector<uint8_t>& d = bank->Bytes();
    d.insert(d.end(), kHeader, kHeader + 12);
    d.push_back(13), d.push_back(10);
    each_slot([&](int g, int col, int row) {
        for (char c : g_weaponset[g][col][row]) d.push_back((uint8_t)c);
        d.push_back(13), d.push_back(10);
        for (int k = 0; k < 3; ++k) d.push_back(g_weaponsets[g][col][row][k]);
    });
    std::string dir = ExtractDir(path);
    if (!dir.empty() && FileType(dir) == 0) CreateDir(dir, true);
    SaveBank(*bank, path);
    return 0;
}

int menu_wpns_isinset(const std::string& path) {
    if (path.empty()) return 0;
    int found = 0;
    each_slot([&](int g, int col, int row) {
        if (g_weaponset[g][col][row] == path) found = 1;
    });
    return found;
}

int menu_wpns_listfromset() {
    gui_weaponsb.clear();
    each_slot([&](int g, int col, int row) {
        g_weaponseti[g][col][row] = 0;
        const std::string& p = g_weaponset[g][col][row];
        if (p.empty()) return;
        for (const std::string& q : gui_weaponsb)
            if (q == p) return;
        gui_weaponsb.push_back(p);
    });
    return 0;
}

int menu_wpns_default(const std::string& path) {
    menu_wpn_defaultammo = 100;
    menu_wpn_defaultfirstuse = 1;
    BankPtr bank = FileSize(path) <= kMaxSetFile ? LoadBank(path) : nullptr;
    if (bank) {
        const std::vector<uint8_t>& d = bank->Bytes();
        std::string text(d.begin(), d.end());
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t paren = line.find('(');
            if (line.find("addweapon") == std::string::npos || paren == std::string::npos) continue;
            std::vector<std::string> fields;
            std::string rest = line.substr(paren);
            size_t a = 0;
            for (;;) {
                size_t comma = rest.find(',', a);
                fields.push_back(rest.substr(a, comma == std::string::npos ? std::string::npos : comma - a));
                if (comma == std::string::npos) break;
                a = comma + 1;
            }
            if (fields.size() >= 4) menu_wpn_defaultammo = field_value(fields[3]);
            if (fields.size() >= 5) menu_wpn_defaultfirstuse = field_value(fields[4]);
            break;
        }
    }
    menu_wpn_defaultammo = menu_wpn_defaultammo < 0 ? 0 : menu_wpn_defaultammo > 100 ? 100 : menu_wpn_defaultammo;
    menu_wpn_defaultfirstuse =
        menu_wpn_defaultfirstuse < 1 ? 1 : menu_wpn_defaultfirstuse > 10 ? 10 : menu_wpn_defaultfirstuse;
    return 0;
}
