// Fuzz target: the wire-object library reader on arbitrary bytes. The reader is given the input
// exactly as it is, with its size and no terminating NUL, so any read past the end is caught.
// Every object read is then drawn into a small image.
#include <cstddef>
#include <cstdint>

#include "image/img.h"
#include "vector/obj2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  List* library = obj2d_parse_library(reinterpret_cast<const char*>(data), size);
  if (!library) return 0;
  Image* image = img_new();
  for (int32_t i = 0; i < library->count; ++i) {
    auto* object = static_cast<Obj2d*>(list_get(library, i));
    if (!object) continue;
    obj2d_draw(object, image);
  }
  img_free(&image);
  obj2d_free_library(&library);
  return 0;
}
