// The game's entry point.
#include <cstdio>

int main() {
    std::puts("Grombat Fraycup: the game is being built.");
    return 0;
}
