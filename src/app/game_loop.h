#pragma once

#include <cstdint>
#include <string>

struct SceneNode;

// Globals of the game loop.
extern std::string settingsPath;  // the settings and progress file; empty when it cannot be saved
extern SceneNode* pictureRoot;    // drawn first; the colour under the mouse comes from it
extern SceneNode* interfaceRoot;  // drawn on top, after the colour read-back
extern SceneNode* dialogHost;     // under pictureRoot; deferred calls and dialogs hang here
extern uint32_t frameStartTicks;  // ticks at the top of the current iteration
extern uint32_t frameEndTicks;    // ticks after the frame was rendered
extern int32_t frameDelay;        // milliseconds slept after the frame
extern bool quitStarted;          // quitGame has run; the trees are being torn down

// Milliseconds to sleep so that an iteration lasts 16 ms, at most 16; taken
// modulo 2^32 so that a wrapping tick count does not disturb the pacing.
int32_t frameDelayFor(uint32_t startTicks, uint32_t endTicks);

// Reads the settings, opens the window and the audio, and builds the
// standing scene of the game.
void startGame();
// The engine without the game: a fresh progress book, the window, the two lit
// layer roots and the dialog host. Engine tests, benchmarks and tools start so.
void startEngine();
// True until a root has been torn down after quitGame.
bool gameRunning();
// One iteration: input, one frame, the pause that pads it to 16 ms.
void runLoopIteration();
// Draws both layers, reads back the colour under the mouse, swaps and picks.
void renderFrame();
// Saves progress and starts tearing the scene down; the loop then ends.
void quitGame();
// Destroys what start-up made, in order.
void shutdownGame();
// The whole program: start-up, the loop, shutdown.
void runGame();
