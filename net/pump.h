// Network pump: binds the game's UDP port and handles messages every pass.
#pragma once

int game_net_iniudp(int port, int force);
int game_net();
