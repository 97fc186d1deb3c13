// Fuzz target: the anymap decoder on arbitrary bytes. libFuzzer hands over a block of exactly
// `size` bytes, so any read past it is caught; a decoded image must be whole and in pixel format.
#include <cstddef>
#include <cstdint>

#include "image/img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image* image = img_read_pnm(data, size);
  if (!image) return 0;
  if (image->width <= 0 || image->height <= 0 || !image->pixels || image->x != 0 || image->y != 0) __builtin_trap();
  const size_t n = size_t(image->width) * size_t(image->height);
  for (size_t i = 0; i < n; ++i) {
    if (image->pixels[i] >> 24) __builtin_trap();  // the top byte of decoded pixels is 0
  }
  img_free(&image);
  if (image) __builtin_trap();
  return 0;
}
