// Owned images for the effect tests: a zeroed screen of a chosen size, freed on scope exit, and
// the number of its pixels that are not black.
#pragma once
#include <cstdint>
#include <memory>

#include "image/img.h"

struct ImageDeleter {
  void operator()(Image* i) const { img_free(&i); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

inline ImagePtr screen(int32_t w = 256, int32_t h = 256) {
  ImagePtr img(img_new());
  img_resize(img.get(), w, h);
  return img;
}

inline int lit_pixels(const Image* img) {
  int n = 0;
  for (int32_t i = 0; i < img->width * img->height; ++i) n += img->pixels[i] != 0;
  return n;
}
