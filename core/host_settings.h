// Host settings: the 22 rules of a match (values, names, choice labels, locks)
// and the gravity per choice of the gravity setting.
#pragma once

#include <string>
#include <vector>

inline constexpr int kHostSettings = 22;

extern int set[kHostSettings];
extern std::string setn[kHostSettings];
extern std::vector<std::string> set_array[kHostSettings];
// The value a game mode locks a setting to, as decimal text; "" while free.
extern std::string setfreeze[kHostSettings];
extern float g_gravityArray[7];

// Fills names, defaults and labels and empties the locks (start-up).
void host_settings_init();
// The label shown for a setting's value: the number itself for a range label,
// else the label at that index; "" for an index outside the labels.
std::string host_setting_label(int index, int value);
