// Line chain scene: a closed chain of two-colour segments that tightens and restarts.
#include "scenes/chain_scene.h"

#include <cstdlib>

#include "audio/list.h"
#include "driver/demo.h"
#include "image/fixed.h"
#include "image/ident.h"
#include "image/imgfx.h"
#include "image/img.h"
#include "image/rgb.h"
#include "scenes/scenes.h"
#include "vector/seg2d.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "CHAINSCN", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kW = 256;
constexpr int32_t kH = 256;
constexpr int32_t kRestart = chain_segments / 8;   // at most this many moves: throw again

Seg2d* segment_at(int32_t i) {
  return static_cast<Seg2d*>(list_get(chain_scene.chain, i));
}

// (|dx| + |dy|)^2 >> 4 in 32-bit arithmetic.
int32_t measure(const Vec2d& p, const Vec2d& q) {
  const int32_t d = wrap_add(int_abs(wrap_sub(q.x, p.x)), int_abs(wrap_sub(q.y, p.y)));
  return wrap_mul(d, d) >> 4;
}

void line(Image* screen, int32_t x0, int32_t y0, uint32_t c0, int32_t x1, int32_t y1, uint32_t c1) {
  imgfx_line_bicolor(screen, x0, y0, c0, x1, y1, c1);
}

// The segment and its reflections; W - x, not W - 1 - x, so column 0 reflects off the screen.
void draw_segment(Image* screen, const Seg2d& s, int32_t mode) {
  const int32_t ax = s.a.x, ay = s.a.y, bx = s.b.x, by = s.b.y;
  const uint32_t ca = s.a.colour, cb = s.b.colour;
  line(screen, ax, ay, ca, bx, by, cb);
  if (mode < 1) return;
  line(screen, kW - ax, ay, ca, kW - bx, by, cb);
  line(screen, ax, kH - ay, ca, bx, kH - by, cb);
  line(screen, kW - ax, kH - ay, ca, kW - bx, kH - by, cb);
  if (mode < 2) return;
  line(screen, ay, ax, ca, by, bx, cb);
  line(screen, ay, kW - ax, ca, by, kW - bx, cb);
  line(screen, kH - ay, ax, ca, kH - by, bx, cb);
  line(screen, kH - ay, kW - ax, ca, kH - by, kW - bx, cb);
}

void restart() {
  for (int32_t n = chain_segments - 1; n >= 0; --n) {
    Seg2d* s = segment_at(n);
    if (!s) continue;
    s->a.x = std::rand() % kW;
    s->a.y = std::rand() % kH;
    s->b.x = std::rand() % kW;
    s->b.y = std::rand() % kH;
  }
}

}  // namespace

ChainScene chain_scene;

void chain_scene_setup() {
  demo.fade_colour = uint32_t((std::rand() & 15) + 1) * 0x040202u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = true;
  demo.mirror_mode = int8_t((std::rand() % 2) + 1);
  scene_set_period(224);
  if (!chain_scene.chain) {
    chain_scene.chain = list_new();
    if (!chain_scene.chain) return;
    for (int32_t n = 0; n < chain_segments; ++n) list_push(chain_scene.chain, seg2d_new());
  }
  list_push(chain_scene.chain, list_get(chain_scene.chain, 0));
  chain_scene_scatter();
}

void chain_scene_scatter() {
  for (int32_t n = chain_segments - 1; n >= 0; --n) {
    Seg2d* s = segment_at(n);
    if (!s) continue;
    s->a.colour = scene_palette_pick(std::rand());
    s->b.colour = scene_palette_pick(std::rand());
    s->a.x = std::rand();
    s->a.y = std::rand();
    s->b.x = wrap_add(s->a.x, std::rand() % 15);
    s->b.y = wrap_add(s->a.y, std::rand() % 15);
    s->a.x %= kW;
    s->a.y %= kH;
    s->b.x %= kW;
    s->b.y %= kH;
  }
}

int32_t chain_scene_tighten() {
  int32_t moved = 0;
  for (int32_t k = chain_segments; k >= 1; --k) {
    Seg2d* p = segment_at(k);
    Seg2d* q = segment_at(k - 1);
    if (!p || !q) continue;
    const int32_t own = measure(p->a, p->b);
    const int32_t gap = measure(p->a, q->a);
    if (own > gap) {
      // P's start creeps a quarter of the way along P.
      p->a.x = wrap_add(p->a.x, wrap_sub(p->b.x, p->a.x) >> 2);
      q->b.x = p->a.x;
      p->a.y = wrap_add(p->a.y, wrap_sub(p->b.y, p->a.y) >> 2);
      q->b.y = p->a.y;
      ++moved;
    } else if (own < gap) {
      // P's start moves halfway towards Q's start.
      p->a.x = wrap_add(p->a.x, wrap_sub(q->a.x, p->a.x) >> 1);
      q->b.x = p->a.x;
      p->a.y = wrap_add(p->a.y, wrap_sub(q->a.y, p->a.y) >> 1);
      q->b.y = p->a.y;
      ++moved;
    }
  }
  return moved;
}

void chain_scene_draw() {
  const int32_t moved = chain_scene_tighten();
  if (img_valid(demo.screen)) {
    for (int32_t n = chain_segments - 1; n >= 0; --n) {
      if (const Seg2d* s = segment_at(n)) draw_segment(demo.screen, *s, demo.mirror_mode);
    }
  }
  if (moved <= kRestart) restart();
}
