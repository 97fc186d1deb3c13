// krom7316: the start-up, the intro once, then the eight scenes in their order until ESC (or
// closing the window), handled inside the frame loop, or until the platform asks to stop (the
// recorder at its limits).
#include "driver/demo.h"
#include "platform/platform.h"
#include "scenes/scenes.h"

int main(int argc, char** argv) {
  platform_init(argc, argv);
  if (platform_should_stop()) return platform_finish(0);
  demo_start();
  demo_play(scene_intro);
  while (!platform_should_stop()) {
    for (const Scene& scene : scene_sequence) {
      if (platform_should_stop()) break;
      demo_play(scene);
    }
  }
  return platform_finish(0);
}
