// Fuzz target: the wire-object library reader on arbitrary text. The reader takes a NUL-terminated
// text, so the input is copied into a block of exactly size + 1 bytes with the NUL last; any read
// past that NUL is caught. Every object read is then drawn into a small image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/img.h"
#include "vector/obj2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char* text = static_cast<char*>(std::malloc(size + 1));
  if (!text) return 0;
  std::memcpy(text, data, size);
  text[size] = '\0';
  List* library = obj2d_parse_library(text);
  std::free(text);  // nothing may keep pointing into the text
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
