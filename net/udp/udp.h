// Reliable-UDP layer: the module's one UDP socket.
#pragma once

int Fudp_initialize();
