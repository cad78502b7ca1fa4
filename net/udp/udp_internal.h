// Reliable-UDP layer internals shared by its files: id arithmetic, the
// accounting of bytes held in `in`, and the two halves of Fudp_update.
#pragma once

#include "net/udp/udp.h"

// Reliable ids 2..65534 as positions 0..32766 on their circle; steps from b
// forward to a.
int udp_steps(int a, int b);
// True when a reliable packet with this id must wait: it lies kUdpHoldBackIds
// or more ids after the connection's oldest unacknowledged reliable packet.
bool udp_held_back(const Tudp_con& con, int id);
void udp_in_add(Tudp_con& con, size_t bytes);
void udp_in_sub(Tudp_con& con, size_t bytes);
bool udp_in_full(const Tudp_con& con, size_t bytes);
void udp_receive();
void udp_send_pass(int64_t now);
void udp_transmit(Tudp_con& con, const std::shared_ptr<Tudp_p>& p);
// Releases the packet's bytes; it stays wherever it is listed.
void udp_drop_bytes(Tudp_p& p);
