// The demo driver: the process-wide DemoState, the start-up with its loading screen, the frame
// skeleton every scene runs, the post-effect chain and the fade-to-black transition.
#include "driver/demo.h"

#include <cstdlib>
#include <ctime>

#include "audio/sample.h"
#include "audio/soundtrack.h"
#include "audio/xsnd.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/imgfx.h"
#include "image/rgb.h"
#include "platform/fps.h"
#include "platform/platform.h"
#include "platform/xdpy.h"
#include "platform/xkbd.h"
#include "resources/resources.h"
#include "scenes/scenes.h"
#include "text/font.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"
#include "vector/vec2d.h"

struct DriverIdentity {
  Identity id;
  const char* warranty;
  const char* rights;
  const char* passage;
};

namespace {

[[gnu::used]] const DriverIdentity kIdentity = {
    {"KROM7316", "20150812", "Kelvardo", "XWINDOWS", "PROGRAM "},
    "\nWARRANTY: \nTHERE IS NO WARRANTY. \n",
    "COPYRIGHT (C) 2015 KELVARDO. ALL RIGHTS RESERVED.\n",
    reinterpret_cast<const char*>(res_info),
};

// Closes the sound device on every way out (ESC, window close, lost display): OSS emulations
// flush their last blocks only on close.
void close_sound() { xsnd_free(&demo.sound); }

Font* make_sprite_font(const unsigned char* data, std::size_t size) {
  Font* font = font_new();
  if (!font) return nullptr;
  font->glyph_width = 16;
  font->glyph_height = 16;
  font->sheet = img_read_pnm(data, size);
  font->target = demo.screen;
  return font;
}

}  // namespace

DemoState demo;

void demo_fill_palette(Sample* palette) {
  if (!palette) return;
  sample_set_length(palette, hue_length);
  if (palette->length != hue_length) return;
  for (int32_t i = 0; i < hue_length; ++i) palette->data[i] = int32_t(rgb_hue(i));
}

void demo_start() {
  demo.fade_colour = 0x010101;
  demo.display = xdpy_new();
  demo.keyboard = xkbd_new();
  demo.sound = xsnd_new();
  std::atexit(close_sound);
  xdpy_resize(demo.display, 256, 256);

  demo.screen = img_new();
  if (demo.display) img_resize(demo.screen, demo.display->width, demo.display->height);
  demo.glare_image = img_new();
  img_resize(demo.glare_image, 256, 256);
  demo.blur_image = img_new();
  img_resize(demo.blur_image, 256, 256);

  // Both seedings share one generator state in the C library: the second one governs.
  srand(273880913);
  srandom(unsigned(platform_seed_time()));

  demo.main_font = font_new();
  if (demo.main_font) {
    demo.main_font->glyph_width = 16;
    demo.main_font->glyph_height = 16;
    demo.main_font->sheet = img_read_pnm(res_glyphs, res_glyphs_size);
    demo.main_font->target = demo.screen;
  }

  // Loading screen.
  demo.mirror_mode = 0;
  demo.background = 0x0080ff;
  demo_clear();
  if (demo.main_font) {
    demo.main_font->x = 0;
    demo.main_font->y = 0;
    font_print(demo.main_font, "KROM 7316\n");
    demo.main_font->x = 0;
    demo.main_font->y = 240;
    font_print(demo.main_font, "LOADING...\n");
  }
  demo_present();

  demo.ball_font = make_sprite_font(res_balls, res_balls_size);
  demo.star_font = make_sprite_font(res_stars, res_stars_size);

  // The small wire font is centred on each glyph's middle so it scales and turns about it.
  List* small = obj2d_parse_library(reinterpret_cast<const char*>(res_font8), res_font8_size);
  if (small) {
    for (int32_t i = small->count - 1; i >= 0; --i) {
      Obj2d* glyph = static_cast<Obj2d*>(list_get(small, i));
      if (!glyph) continue;
      glyph->position.x = -4;
      glyph->position.y = -4;
      obj2d_translate(glyph);
    }
  }
  demo.small_wire_font = lfont_new();
  if (demo.small_wire_font) {
    demo.small_wire_font->advance.x = 8;
    demo.small_wire_font->advance.y = 8;
    demo.small_wire_font->glyphs = small;
    demo.small_wire_font->image = demo.screen;
  }
  List* large = obj2d_parse_library(reinterpret_cast<const char*>(res_font16), res_font16_size);
  demo.large_wire_font = lfont_new();
  if (demo.large_wire_font) {
    demo.large_wire_font->advance.x = 16;
    demo.large_wire_font->advance.y = 16;
    demo.large_wire_font->glyphs = large;
    demo.large_wire_font->image = demo.screen;
  }

  demo.logo = img_read_pnm(res_logo, res_logo_size);

  soundtrack.stream = demo.sound;
  soundtrack_init();

  demo.palette = sample_new();
  demo_fill_palette(demo.palette);
  demo.background = 0;

  demo.pacer = fps_new();
  if (demo.pacer) demo.pacer->target_rate = 50;
  demo_fade_to_black();
}

void demo_clear() {
  if (demo.fade_on) {
    img_sub_colour(demo.screen, demo.fade_colour);
  } else {
    img_fill_rect(demo.screen, 0, 0, 256, 256, demo.background);
  }
}

void demo_present() {
  if (demo.mirror_mode == 1) {
    imgfx_mirror4(demo.screen);
  } else if (demo.mirror_mode == 2) {
    imgfx_mirror8(demo.screen);
  }
  // The chain's copies (screen to glare image, glare image to blur image) only feed the image
  // that is shown, so each case reads its source directly: the window gets the same pixels.
  const Image* shown = demo.screen;
  if (demo.glare_on) {
    imgfx_glare(demo.screen, demo.glare_image, 3);
    shown = demo.glare_image;
  }
  if (demo.blur_on) {
    imgfx_blur_h(shown, demo.blur_image, 2, 2, 2);
    shown = demo.blur_image;
  }
  xdpy_present(demo.display, shown);
}

void demo_fade_to_black() {
  for (int32_t i = 0; i < demo_fade_steps && !platform_should_stop(); ++i) {
    img_sub_colour(demo.screen, 0x010101);
    xdpy_present(demo.display, demo.screen);
  }
}

void demo_exit(int status) { std::exit(platform_finish(status)); }

void demo_play(const Scene& scene) {
  platform_scene_begin(scene.name);
  if (scene.setup) scene.setup();
  demo_fade_to_black();
  demo_frame_loop(scene);
  if (scene.teardown) scene.teardown();
}

void demo_frame_loop(const Scene& scene) {
  for (int32_t frame = 0; frame < scene.frames && !platform_should_stop(); ++frame) {
    fps_begin(demo.pacer);
    demo_clear();
    if (scene.draw && !scene.draw_after_rate) scene.draw();
    demo_draw_rate();
    if (scene.draw && scene.draw_after_rate) scene.draw();
    if (scene.caption) scene.caption();
    demo_present();
    soundtrack_pump();
    demo_poll_keys();
    if (demo.next_scene) {
      demo.next_scene = false;
      return;
    }
    fps_end(demo.pacer);
    fps_sleep(demo.pacer);
  }
}
