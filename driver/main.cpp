// krom7316: the start-up, the intro once, then the eight scenes in their order forever. The
// only way out is ESC (or closing the window), handled inside the frame loop.
#include "driver/demo.h"
#include "platform/platform.h"
#include "scenes/scenes.h"

int main(int argc, char** argv) {
  platform_init(argc, argv);
  demo_start();
  demo_play(scene_intro);
  for (;;) {
    for (const Scene& scene : scene_sequence) demo_play(scene);
  }
}
