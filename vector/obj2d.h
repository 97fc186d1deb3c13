// OBJ2D: a named wire drawing made of segments, drawn transformed (scale, then rotation, then
// position) into an Image, and the reader of the object-library text that yields a List of them.
// The caller owns what the reader returns; release it with obj2d_free_library.
#pragma once
#include <cstddef>
#include <cstdint>

#include "audio/list.h"
#include "vector/seg2d.h"
#include "vector/vec2d.h"

struct Image;

struct Obj2d {
  char* name;       // owned, or null
  char* version;    // owned, or null
  char* author;     // owned, or null
  char* type;       // owned, or null
  Vec2d position;   // where the origin is drawn; (0, 0) at creation
  Vec2d scale;      // applied before rotation; (1, 1) at creation
  int32_t angle;    // 1024 units per turn; 0 at creation
  uint32_t colour;  // last colour given to obj2d_set_colour; 0 at creation
  List* points;     // Vec2d*: ends a and b of every segment, not owned (they live in the segments)
  List* segments;   // owned Seg2d*, in the order of the text
};

Obj2d* obj2d_new();                      // empty object; null on allocation failure
void obj2d_free(Obj2d** object);         // frees texts, segments, lists, record; nulls the pointer
// Reads an object-library text of `size` bytes; reading also stops at a NUL byte before that, so
// no byte at text[size] or beyond is ever looked at. Any bytes are accepted: what the format
// does not know is ignored. Null text gives null. Null entries in the result stand for a "}"
// without an open object.
List* obj2d_parse_library(const char* text, std::size_t size);
// The same for a NUL-terminated text.
List* obj2d_parse_library(const char* text);
void obj2d_free_library(List** library); // frees every object and the list; nulls the pointer
// Takes ownership of the segment (from seg2d_new); one the lists cannot take is freed.
void obj2d_add_segment(Obj2d* object, Seg2d* segment);
void obj2d_draw(const Obj2d* object, Image* image);     // stored segments stay unchanged
void obj2d_translate(Obj2d* object);     // moves every stored segment by position, permanently
void obj2d_set_colour(Obj2d* object, uint32_t colour);  // every segment end takes the colour
