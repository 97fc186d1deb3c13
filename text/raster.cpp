// RASTER: row colour tables painted with the image row operations.
#include "text/raster.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"RASTER  ", "20240312", "Kelvardo", "C       ", "CODE    "};
constexpr bool kReport = false;

void raster_error() {
  if constexpr (kReport) std::puts("RASTER error");
}

bool can_paint(const Raster* raster, const Image* image) {
  return raster && raster->colours && raster->count > 0 && img_valid(image);
}

// Table entry of the first row, taken into 0 .. count-1 also for a negative position.
int32_t first_entry(const Raster* raster) {
  int32_t e = (raster->position >> FIX_SHIFT) % raster->count;
  return e < 0 ? e + raster->count : e;
}

}  // namespace

Raster* raster_new() {
  auto* raster = static_cast<Raster*>(std::calloc(1, sizeof(Raster)));
  if (!raster) {
    raster_error();
    return nullptr;
  }
  raster_resize(raster, 256);
  if (!raster->colours) {
    std::free(raster);
    return nullptr;
  }
  return raster;
}

void raster_free(Raster** raster) {
  if (!raster || !*raster) {
    raster_error();
    return;
  }
  std::free((*raster)->colours);
  std::free(*raster);
  *raster = nullptr;
}

void raster_resize(Raster* raster, int32_t count) {
  if (!raster || count < 0) {
    raster_error();
    return;
  }
  std::free(raster->colours);
  raster->colours = count > 0 ? static_cast<uint32_t*>(std::calloc(std::size_t(count), sizeof(uint32_t))) : nullptr;
  raster->count = raster->colours ? count : 0;
  raster->position = 0;
  if (count > 0 && !raster->colours) raster_error();
}

void raster_draw_rows(const Raster* raster, Image* image) {
  if (!can_paint(raster, image)) {
    raster_error();
    return;
  }
  int32_t e = first_entry(raster);
  for (int32_t row = 0; row < image->height; ++row) {
    img_fill_row(image, raster->colours[e], row, 0, image->width - 1);
    if (++e == raster->count) e = 0;
  }
}

void raster_blend_rows(const Raster* raster, Image* image, int32_t weight) {
  if (!can_paint(raster, image) || weight < 0 || weight > 256) {
    raster_error();
    return;
  }
  int32_t e = first_entry(raster);
  for (int32_t row = 0; row < image->height; ++row) {
    img_blend_row(image, raster->colours[e], row, 0, image->width - 1, weight);
    if (++e == raster->count) e = 0;
  }
}
