// Reliable-UDP layer between processes on 127.0.0.1 through the seeded lossy
// proxy: the test peer against the echo program (20 % loss, duplication,
// reordering and delay), once with counters from 65530, and two peers through
// a 6-second outage. The three runs go side by side to keep the test short.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/socket.h"

extern char** environ;

namespace {

struct Proc {
    pid_t pid = -1;
    std::string log;
    int status = -1;
};

Proc start(const std::string& tool, std::vector<std::string> args, const std::string& log) {
    Proc p;
    p.log = log;
    std::vector<std::string> all{std::string(GROMBAT_TOOL_DIR) + "/" + tool};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&p.pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) p.pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return p;
}

// Waits for the process until the deadline; kills it after that.
void finish(Proc& p, std::chrono::steady_clock::time_point deadline) {
    if (p.pid < 0) return;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(p.pid, &p.status, WNOHANG) == p.pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(p.pid, SIGKILL);
    waitpid(p.pid, &p.status, 0);
    p.status = -1;
}

std::string read_log(const Proc& p) {
    std::ifstream f(p.log);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A port free a moment ago.
int free_port() {
    int s = SocketCreateUDP();
    SocketBind(s, 0);
    int port = SocketLocalPort(s);
    SocketClose(s);
    return port;
}

bool passed(const Proc& p) { return p.pid > 0 && WIFEXITED(p.status) && WEXITSTATUS(p.status) == 0; }

TEST(Loopback, ThroughALossyProxy) {
    const std::string dir = ::testing::TempDir();
    std::vector<int> ports;
    for (int i = 0; i < 8; ++i) ports.push_back(free_port());
    const std::string seconds = "60";
    auto s = [](int v) { return std::to_string(v); };

    std::vector<Proc> helpers, peers;
    // Run 1 and 2: peer -> proxy -> echo, lossy both ways.
    for (int run = 0; run < 2; ++run) {
        int echo = ports[run * 2], proxy = ports[run * 2 + 1];
        std::string first = run == 0 ? "2" : "65530";
        helpers.push_back(start("udp_echo", {"--port", s(echo), "--first-id", first, "--seconds", seconds},
                                dir + "echo" + s(run) + ".log"));
        helpers.push_back(start("udp_proxy", {"--listen", s(proxy), "--target", s(echo), "--seed", s(11 + run), "--loss", "20",
                                              "--dup", "10", "--reorder", "20", "--delay", "5", "--seconds", seconds},
                                dir + "proxy" + s(run) + ".log"));
    }
    // Run 3: two peers through a proxy that passes nothing from 1 s to 7 s.
    int a = ports[4], b = ports[5], proxy = ports[6];
    helpers.push_back(start("udp_proxy", {"--listen", s(proxy), "--target", s(a), "--loss", "0", "--dup", "0", "--reorder",
                                          "0", "--outage-from", "1000", "--outage-for", "6000", "--seconds", seconds},
                            dir + "proxy2.log"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int run = 0; run < 2; ++run)
        peers.push_back(start("udp_peer", {"--to", s(ports[run * 2 + 1]), "--count", "2000", "--first-id",
                                           run == 0 ? "2" : "65530", "--seconds", "50"},
                              dir + "peer" + s(run) + ".log"));
    peers.push_back(start("udp_peer", {"--port", s(a), "--to", s(proxy), "--mode", "stream", "--count", "450", "--seconds", "50"},
                          dir + "peer_a.log"));
    peers.push_back(start("udp_peer", {"--port", s(b), "--to", s(proxy), "--mode", "stream", "--count", "450", "--seconds", "50"},
                          dir + "peer_b.log"));

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(55);
    for (auto& p : peers) finish(p, deadline);
    for (auto& h : helpers) finish(h, std::chrono::steady_clock::now());

    const char* names[] = {"echo run", "echo run from 65530", "outage peer a", "outage peer b"};
    for (size_t i = 0; i < peers.size(); ++i) {
        std::string out = read_log(peers[i]);
        EXPECT_TRUE(passed(peers[i])) << names[i] << ": " << out;
        if (i < 2) {
            EXPECT_NE(out.find("reliable 1336 of 1336"), std::string::npos) << out;
            EXPECT_EQ(out.find("unreliable 0,"), std::string::npos) << out;   // some did come
        }
    }
}

}  // namespace
