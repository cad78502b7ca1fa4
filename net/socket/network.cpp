// Socket module: host lookup and address conversions over the platform.
#include "net/socket/network.h"

#include "platform/socket.h"

int TNetwork::GetHostIP(const std::string& name) { return HostIp(name); }

std::vector<int> TNetwork::GetHostIPs(const std::string& name) { return HostIps(name); }

std::string TNetwork::GetHostName(int ip) { return HostName(ip); }

std::string TNetwork::StringIP(int ip) { return DottedIP(ip); }

int TNetwork::IntIP(const std::string& text) { return ::IntIP(text); }
