// Host settings: the 22 rules of a match (values, names, choice labels, locks)
// and the gravity per choice of the gravity setting.
//
// The index is a setting's identity everywhere: messages and replays carry the
// values in index order, presets store them by name. A setting whose labels
// are one range label "a-b" holds a number from a to b; any other setting
// holds an index into its labels. Values from messages, replays and files can
// be anything, so readers of the labels go through host_setting_label.
#pragma once

#include <string>
#include <vector>

inline constexpr int kHostSettings = 22;

extern int set[kHostSettings];
extern std::string setn[kHostSettings];
extern std::vector<std::string> set_array[kHostSettings];
// The value a game mode locks a setting to, as decimal text; "" while free.
extern std::string setfreeze[kHostSettings];
// Per-frame gravity for each choice of setting 21 ("gravity").
extern float g_gravityArray[7];

// Fills names, defaults and labels, empties the locks and fills the gravity
// table (start-up; calling it again restores the defaults).
void host_settings_init();
// True when the setting's labels are a single range label "a-b"; lo and hi
// then hold a and b.
bool host_setting_range(int index, int& lo, int& hi);
// The text shown for a setting's value: the number itself for a range
// setting, else the label at that index; "" for an index or value outside the
// table.
std::string host_setting_label(int index, int value);
