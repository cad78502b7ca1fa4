// Prints the hash of the recorded player scene (world/player_scene.h); built
// twice with the player and collision code at -O0 and -O2, so the world tests
// can check that both give the same bits as the library build.
#include <cstdio>

#include "world/player_scene.h"

int main() {
    std::printf("%016llx\n", (unsigned long long)scene::run(500, 1));
    return 0;
}
