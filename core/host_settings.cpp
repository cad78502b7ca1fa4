// Host settings table: names, defaults, choice labels and the gravity table.
#include "core/host_settings.h"

#include "core/settings.h"
#include "core/text.h"

int set[kHostSettings];
std::string setn[kHostSettings];
std::vector<std::string> set_array[kHostSettings];
std::string setfreeze[kHostSettings];
float g_gravityArray[7];

namespace {

struct HostSettingDef {
    const char* name;
    int value;
    std::vector<std::string> labels;
};

std::vector<std::string> quantity_labels() { return {"none", "few", "some", "many", "insane"}; }

std::vector<std::string> round_labels(const char* zero) {
    std::vector<std::string> labels{zero};
    for (int r = 1; r <= 10; r++) labels.push_back("Round " + std::to_string(r));
    return labels;
}

}  // namespace

void host_settings_init() {
    std::vector<std::string> backing;
    for (int s = 0; s <= 10; s++) backing.push_back(std::to_string(s));
    // Latin-1 text: "\xB2" is the superscript two.
    const HostSettingDef defs[kHostSettings] = {
        {"playerhealth", 100, {"1-500"}},
        {"roundtime", 30, {"5-120"}},
        {"backingtime", 3, backing},
        {"supplycrates", 3, quantity_labels()},
        {"cratetraps", 10, {"0-100"}},
        {"falldamage", 2, {"no", "yes & don't end turn", "yes & end turn", "yes & always lethal"}},
        {"friction", 2, {"very low", "low", "normal", "high", "very high"}},
        {"positioning", 0, {"random", "manual"}},
        {"mines", 2, quantity_labels()},
        {"duds", 10, {"0-100"}},
        {"minedelay", 3,
         {"none", "very short", "short", "normal", "long", "very long", "random (v.short-norm.)",
          "random (none-norm.)", "random (none-v.long)"}},
        {"wind", 3, {"off", "very weak", "weak", "normal", "always strong"}},
        {"minedamage", 2, {"very weak", "weak", "normal", "strong", "very strong"}},
        {"beartraps", 1, quantity_labels()},
        {"medikits", 1, {"none", "few", "some", "many"}},
        {"medikithealing", 25, {"0-100"}},
        {"supplylimit", 15, {"0-50"}},
        {"gameenderstart", 4, round_labels("never")},
        {"gameendertype", 0, {"0-1000"}},
        {"gamemode", 0, {"0-1000"}},
        {"buildblock", 0,
         {"off (build everywhere)", "small block radius", "medium block radius", "big block radius",
          "huge block radius"}},
        {"gravity", 0,
         {"Earth (9.81 m/s\xB2)", "Moon (1.63 m/s\xB2)", "Jupiter (24.79 m/s\xB2)", "low (5 m/s\xB2)",
          "high (15 m/s\xB2)", "very high (20 m/s\xB2)", "extreme (30 m/s\xB2)"}},
    };
    for (int i = 0; i < kHostSettings; i++) {
        setn[i] = defs[i].name;
        set[i] = defs[i].value;
        set_array[i] = defs[i].labels;
        setfreeze[i].clear();
    }
    // 0.1 stands for 9.81 m/s^2, the others in the same ratio; the Moon's value
    // is kept as the game has always had it (0.01664, not 0.016616).
    const float gravity[7] = {0.1f, 0.01664f, 0.2527f, 0.05097f, 0.1529f, 0.20387f, 0.30581f};
    for (int i = 0; i < 7; i++) g_gravityArray[i] = gravity[i];
}

bool host_setting_range(int index, int& lo, int& hi) {
    if (index < 0 || index >= kHostSettings || set_array[index].size() != 1) return false;
    std::vector<std::string> bounds = text_split(set_array[index][0], "-");
    if (bounds.size() != 2) return false;
    lo = text_toint_saturating(bounds[0]);
    hi = text_toint_saturating(bounds[1]);
    return true;
}

std::string host_setting_label(int index, int value) {
    if (index < 0 || index >= kHostSettings) return "";
    int lo, hi;
    if (host_setting_range(index, lo, hi)) return std::to_string(value);
    const std::vector<std::string>& labels = set_array[index];
    if (value < 0 || value >= (int)labels.size()) return "";
    return labels[value];
}
