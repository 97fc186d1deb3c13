// The viewer's keys: one key press per frame (and per poll while paused), obeyed at once.
#include <cstdint>

#include "audio/xsnd.h"
#include "driver/demo.h"
#include "platform/fps.h"
#include "platform/platform.h"
#include "platform/xdpy.h"
#include "platform/xkbd.h"
#include "vector/lscrlxyz.h"

void demo_obey_key(int key) {
  switch (key) {
    case 27:
      demo_fade_to_black();
      demo_exit(0);
    case ' ':
      demo.next_scene = true;
      break;
    case '5':
    case '6':
      if (demo.pacer) {
        demo.pacer->target_rate = key == '5' ? 25 : 50;
        xsnd_set_frame_rate(demo.sound, demo.pacer->target_rate);
      }
      break;
    case '8':
      demo.show_rate = !demo.show_rate;
      break;
    case 'b':
      demo.blur_on = !demo.blur_on;
      break;
    case 'f':
      demo.fade_on = !demo.fade_on;
      break;
    case 'g':
      demo.glare_on = !demo.glare_on;
      break;
    case 'i':
      if (demo.scroller) demo.scroller->speed = int32_t(uint32_t(demo.scroller->speed) - 1u);
      break;
    case 'm':
      demo.mirror_mode = int8_t((demo.mirror_mode + 1) % 3);
      break;
    case 'p':
      demo.paused = !demo.paused;
      demo_pause();
      break;
    case 'u':
      if (demo.scroller) demo.scroller->speed = int32_t(uint32_t(demo.scroller->speed) + 1u);
      break;
    case 'w':
      demo.white_on = !demo.white_on;
      demo.background = demo.white_on ? 0xffffff : 0;
      break;
    default:
      break;
  }
}

void demo_poll_keys() {
  if (!demo.keyboard) return;
  xkbd_poll(demo.keyboard);
  const int key = static_cast<signed char>(demo.keyboard->text[0]);
  demo.keyboard->text[0] = 0;
  demo.keyboard->keycode = 0;
  demo_obey_key(key);
}

void demo_pause() {
  // Nothing is drawn, presented or sent meanwhile; waiting for input between polls keeps the
  // pause from spinning a whole core while every key still answers at once.
  // Without a keyboard no key could end the pause.
  if (!demo.keyboard) demo.paused = false;
  while (demo.paused && !platform_should_stop()) {
    demo_poll_keys();
    if (demo.paused) xdpy_wait_input(10);
  }
}
