// Weapon hotkeys (first cut: storage only).
#include "core/hotkeys.h"

std::list<std::shared_ptr<Tinput_hotkey>> Tinput_hotkey::list;

int Tinput_hotkey::sethotkey(int, int, int, int) { return 0; }
int Tinput_hotkey::drawhotkeys() { return 0; }
int Tinput_hotkey::checkhotkeys(int) { return 0; }
int Tinput_hotkey::savekeys() { return 0; }
int Tinput_hotkey::loadkeys() { return 0; }
