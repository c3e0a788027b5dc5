#include "app/game_loop.h"

int main(int, char**) {
    runGame();
    return 0;
}
