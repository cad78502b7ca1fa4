// Missions (stand-in until missions exist).
#include "match/mission.h"

#include "core/shared_state.h"
#include "platform/bank.h"
#include "platform/files.h"

std::list<std::shared_ptr<Tmission>> Tmission::list;
std::shared_ptr<Tmission> Tmission::selected;
std::string Tmission::currentroot;
int Tmission::currentmap = 0;
int g_cooldown[12];

std::string sp_currentroot() { return Tmission::currentroot; }
int sp_currentmap() { return Tmission::currentmap; }
int Tmission::weaponempty = 0;

int mission_weaponempty() { return Tmission::weaponempty; }

int sp() { return 0; }

int sp_mission_update(int, int) { return 0; }   // stand-in: the mission script hook

std::string mission_selectedfolder() { return Tmission::selected ? Tmission::selected->folder : std::string(); }

int Tmission::winflag = 0;
int Tmission::cscore = 0;

int Tmission::savescore(long long score) {
    if (!selected) return 0;
    if (score < 0) score = 0;
    BankPtr b = CreateBank(8);
    for (int i = 0; i < 8; ++i) b->PokeByte(i, (int)((unsigned long long)score >> (8 * i)) & 0xFF);
    // A file that cannot be written still leaves the best score set.
    SaveBank(*b, "missions/" + selected->folder + "/score");
    selected->score = score;
    return 0;
}

int mission_win() {
    Tmission::winflag = 1;
    return 0;
}
int mission_cscore() { return Tmission::cscore; }
int mission_setcscore(int score) {
    Tmission::cscore = score;
    return 0;
}
int mission_savescore(long long score) { return Tmission::savescore(score); }
long long mission_bestscore() { return Tmission::selected ? Tmission::selected->score : 0; }
