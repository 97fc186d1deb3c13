// BACKMOVE: a grid of keyed tile copies that scrolls with a small velocity.
#include "effects/backmove.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"

namespace {

constexpr bool kReport = false;

[[gnu::used]] constexpr Identity kIdentity = {
    "BACKMOVE", "20150812", "Kelvardo", "LINUX   ", "CODE    "};

void backmove_error() {
  if (kReport) std::puts("BACKMOVE error");
}

bool layer_ready(const BackMove* layer) { return layer && layer->target && layer->tile; }

// New offset one velocity step on, brought into (-cell, 0].
int32_t advance(int32_t offset, int32_t v, int32_t cell) {
  int32_t o = wrap_add(offset, v) % cell;
  if (o > 0) o -= cell;
  return o;
}

}  // namespace

BackMove* backmove_new() {
  auto* layer = static_cast<BackMove*>(std::calloc(1, sizeof(BackMove)));
  if (!layer) {
    backmove_error();
    return nullptr;
  }
  layer->width = 256;
  layer->height = 256;
  layer->depth = 256;
  layer->cell_width = 16;
  layer->cell_height = 16;
  backmove_randomize(layer);
  return layer;
}

void backmove_free(BackMove** layer) {
  if (!layer || !*layer) {
    backmove_error();
    return;
  }
  std::free(*layer);
  *layer = nullptr;
}

void backmove_randomize(BackMove* layer) {
  if (!layer) {
    backmove_error();
    return;
  }
  layer->vx = std::rand() % 9 - 4;
  layer->vy = std::rand() % 9 - 4;
}

void backmove_move(BackMove* layer) {
  if (!layer_ready(layer) || layer->cell_width < 1 || layer->cell_height < 1) {
    backmove_error();
    return;
  }
  layer->offset_x = advance(layer->offset_x, layer->vx, layer->cell_width);
  layer->offset_y = advance(layer->offset_y, layer->vy, layer->cell_height);
  if ((std::rand() & 255) == 0) layer->vx = (std::rand() & 7) - 3;
  if ((std::rand() & 255) == 0) layer->vy = (std::rand() & 7) - 3;
}

void backmove_draw(BackMove* layer) {
  if (!layer_ready(layer)) {
    backmove_error();
    return;
  }
  Image* tile = layer->tile;
  const Image* target = layer->target;
  if (layer->cell_width < tile->width) layer->cell_width = tile->width;
  if (layer->cell_height < tile->height) layer->cell_height = tile->height;
  // A grid without positive spacing would never advance.
  if (layer->cell_width < 1 || layer->cell_height < 1) {
    backmove_error();
    return;
  }
  // 64-bit positions: offsets and cells set from outside cannot overflow the stepping.
  for (int64_t yy = layer->offset_y; yy < target->height; yy += layer->cell_height) {
    for (int64_t xx = layer->offset_x; xx < target->width; xx += layer->cell_width) {
      tile->x = int32_t(xx);
      tile->y = int32_t(yy);
      img_draw(tile, layer->target);
    }
  }
}
