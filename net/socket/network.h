// Socket module: host lookup and IPv4 address conversions. Addresses are ints
// in host order with the first dotted octet in the top byte (127.0.0.1 is
// 0x7F000001); failures show only in the results.
#pragma once

#include <string>
#include <vector>

struct TNetwork {
    static int GetHostIP(const std::string& name);                 // 0 when none
    static std::vector<int> GetHostIPs(const std::string& name);   // empty when none
    static std::string GetHostName(int ip);                        // "" when none
    static std::string StringIP(int ip);                           // "a.b.c.d"
    static int IntIP(const std::string& text);                     // -1 when it does not parse
};
