// OBJ2D: wire objects, their drawing, and the object-library reader.
#include "vector/obj2d.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"OBJ2D   ", "20240312", "Kelvardo", "UNIX    ", "CODE    "};
constexpr bool kReport = false;

void obj2d_error() {
  if constexpr (kReport) std::puts("OBJ2D error");
}

// The reader's pending sign: set by "-", consumed by the next decimal number, and carried over
// from one text to the next (a "-" that no number followed is still pending in the next text).
int32_t pending_sign = 1;

constexpr int kTokenMax = 255;

bool is_blank(unsigned char c) { return static_cast<signed char>(c) <= 32 || c == 127; }
bool is_separator(unsigned char c) { return is_blank(c) || c == ',' || c == ';'; }
bool is_punct(unsigned char c) {
  return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// A token is a view into the text: it is never copied, and every scan stops at the end of the
// text, which is the first NUL byte or the end of the given size, whichever comes first.
struct Token {
  const unsigned char* start;
  int len;
};

// Reads the token starting exactly at *pos (no separators skipped): one punctuation character,
// or the run up to the next separator, at most kTokenMax characters. A cut word continues with
// its last kept character. Returns false when the token ends at the end of the text (it is then
// not acted on) or when nothing is left; *pos moves past what was read either way.
bool read_token_here(const unsigned char** pos, const unsigned char* end, Token* token) {
  const unsigned char* p = *pos;
  token->start = p;
  token->len = 0;
  if (p >= end) return false;
  const std::ptrdiff_t left = end - p;
  if (is_punct(*p)) {
    token->len = 1;
    *pos = p + 1;
    return left > 1;
  }
  int len = 0;
  while (len < left && len < kTokenMax && !is_separator(p[len])) ++len;
  token->len = len;
  if (len == kTokenMax && len < left && !is_separator(p[len])) {
    *pos = p + kTokenMax - 1;  // the 255th character starts the next token as well
    return true;
  }
  *pos = p + len;
  return len < left;
}

bool read_token(const unsigned char** pos, const unsigned char* end, Token* token) {
  while (*pos < end && is_separator(**pos)) ++*pos;
  return read_token_here(pos, end, token);
}

// True when the token is a non-empty beginning of the keyword, without regard to case.
bool matches(const Token& token, const char* keyword) {
  const int klen = static_cast<int>(std::strlen(keyword));
  if (token.len == 0 || token.len > klen) return false;
  for (int i = 0; i < token.len; ++i) {
    if (lower(token.start[i]) != static_cast<unsigned char>(keyword[i])) return false;
  }
  return true;
}

// Hexadecimal digits up to the first other character; wraps in 32 bits like the machine.
uint32_t hex_value(const unsigned char* s, int len) {
  uint32_t v = 0;
  for (int i = 0; i < len; ++i) {
    const unsigned char c = s[i];
    uint32_t d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10u;
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10u;
    } else {
      break;
    }
    v = v * 16u + d;
  }
  return v;
}

// The leading decimal digits of the token, accumulated modulo 2^32 (a number too large for 32
// bits keeps its low 32 bits, as the machine's own arithmetic would).
int32_t decimal_value(const Token& token) {
  uint32_t v = 0;
  for (int i = 0; i < token.len && is_digit(token.start[i]); ++i) v = v * 10u + (token.start[i] - '0');
  return static_cast<int32_t>(v);
}

// Takes the rest of the line (up to the line feed or the end of the text) after skipping what
// `skip` says; returns a new text, or null for an empty rest (or when memory runs out).
char* read_rest_of_line(const unsigned char** pos, const unsigned char* end, bool (*skip)(unsigned char)) {
  const unsigned char* p = *pos;
  while (p < end && skip(*p)) ++p;
  const unsigned char* start = p;
  while (p < end && *p != '\n') ++p;
  *pos = p;
  const std::size_t len = static_cast<std::size_t>(p - start);
  if (len == 0) return nullptr;
  auto* text = static_cast<char*>(std::malloc(len + 1));
  if (!text) {
    obj2d_error();
    return nullptr;
  }
  std::memcpy(text, start, len);
  text[len] = 0;
  return text;
}

void replace_text(char** field, char* text) {
  std::free(*field);
  *field = text;
}

// Running state of one text; the pending sign is the only state that outlives a call.
struct Reader {
  const unsigned char* pos;
  const unsigned char* end;  // first NUL or the end of the given size
  Obj2d* object;        // open object, or null
  Seg2d* segment;       // open segment, or null
  int coordinate;       // next coordinate of the open segment: 0 a.x, 1 a.y, 2 b.x, 3 b.y
  uint32_t colour;      // current colour, running over the whole text
  bool colour_pending;  // a "c..." token waits for its hexadecimal number
  List* result;
};

void take_hex(Reader* r, uint32_t value) {
  if (!r->colour_pending) return;
  r->colour = value;
  r->colour_pending = false;
}

void take_decimal(Reader* r, int32_t value) {
  value = wrap_mul(value, pending_sign);
  pending_sign = 1;
  Seg2d* s = r->segment;
  if (!s) return;
  switch (r->coordinate) {
    case 0: s->a.x = value; break;
    case 1: s->a.y = value; s->a.colour = r->colour; break;
    case 2: s->b.x = value; break;
    default:
      s->b.y = value;
      s->b.colour = r->colour;
      if (r->object) {
        obj2d_add_segment(r->object, s);
      } else {
        obj2d_error();
        seg2d_free(&s);
      }
      r->segment = nullptr;
      r->coordinate = 0;
      return;
  }
  ++r->coordinate;
}

void act(Reader* r, const Token& t) {
  const unsigned char c0 = t.start[0];
  if (t.len == 1 && c0 == '#') {
    while (r->pos < r->end && *r->pos != '\n') ++r->pos;
  } else if (t.len == 1 && c0 == '{') {
    if (!r->object) r->object = obj2d_new();
  } else if (t.len == 1 && c0 == '}') {
    // An entry the list cannot take is left out, and its object with it.
    const int32_t before = r->result->count;
    list_push(r->result, r->object);
    if (r->result->count == before && r->object) obj2d_free(&r->object);
    r->object = nullptr;
  } else if (t.len == 1 && (c0 == '"' || c0 == '=')) {
    // ignored
  } else if (t.len == 1 && c0 == '-') {
    pending_sign = -1;
  } else if (t.len == 1 && c0 == '$') {
    Token digits;
    if (r->pos < r->end && is_separator(*r->pos)) {
      take_hex(r, 0);  // "$" directly followed by a separator
    } else if (read_token_here(&r->pos, r->end, &digits)) {
      take_hex(r, hex_value(digits.start, digits.len));
    }
  } else if (matches(t, "name")) {
    char* text = read_rest_of_line(&r->pos, r->end, is_blank);
    if (r->object) {
      replace_text(&r->object->name, text);
    } else {
      std::free(text);  // the library's own name
    }
  } else if (matches(t, "version") || matches(t, "author") || matches(t, "type")) {
    char* text = read_rest_of_line(&r->pos, r->end, is_separator);
    if (!r->object) {
      std::free(text);
    } else if (matches(t, "version")) {
      replace_text(&r->object->version, text);
    } else if (matches(t, "author")) {
      replace_text(&r->object->author, text);
    } else {
      replace_text(&r->object->type, text);
    }
  } else if (is_digit(c0)) {
    take_decimal(r, decimal_value(t));
  } else if (c0 == 'x' || c0 == 'X' || c0 == 'h' || c0 == 'H') {
    take_hex(r, hex_value(t.start + 1, t.len - 1));
  } else if (c0 == 'c' || c0 == 'C') {
    r->colour_pending = true;
  } else if (c0 == 's' || c0 == 'S') {
    if (!r->segment) {
      r->segment = seg2d_new();
      r->coordinate = 0;
    }
  }
}

}  // namespace

Obj2d* obj2d_new() {
  auto* object = static_cast<Obj2d*>(std::calloc(1, sizeof(Obj2d)));
  if (!object) {
    obj2d_error();
    return nullptr;
  }
  object->position = Vec2d{0, 0, 0xFFFFFF};
  object->scale = Vec2d{1, 1, 0xFFFFFF};
  object->points = list_new();
  object->segments = list_new();
  if (!object->points || !object->segments) {
    obj2d_error();
    obj2d_free(&object);
    return nullptr;
  }
  return object;
}

void obj2d_free(Obj2d** object) {
  if (!object || !*object) {
    obj2d_error();
    return;
  }
  Obj2d* o = *object;
  std::free(o->name);
  std::free(o->version);
  std::free(o->author);
  std::free(o->type);
  if (o->segments) {
    for (int32_t i = 0; i < o->segments->count; ++i) std::free(o->segments->items[i]);
    list_free(&o->segments);
  }
  if (o->points) list_free(&o->points);
  std::free(o);
  *object = nullptr;
}

List* obj2d_parse_library(const char* text, std::size_t size) {
  if (!text) {
    obj2d_error();
    return nullptr;
  }
  Reader r{};
  r.pos = reinterpret_cast<const unsigned char*>(text);
  const void* nul = std::memchr(text, 0, size);
  r.end = nul ? static_cast<const unsigned char*>(nul) : r.pos + size;
  r.result = list_new();
  if (!r.result) return nullptr;
  Token t;
  while (r.pos < r.end) {
    if (read_token(&r.pos, r.end, &t)) act(&r, t);
  }
  // Whatever is still open at the end of the text is dropped.
  if (r.segment) seg2d_free(&r.segment);
  if (r.object) obj2d_free(&r.object);
  return r.result;
}

List* obj2d_parse_library(const char* text) {
  if (!text) {
    obj2d_error();
    return nullptr;
  }
  return obj2d_parse_library(text, std::strlen(text));
}

void obj2d_free_library(List** library) {
  if (!library || !*library) {
    obj2d_error();
    return;
  }
  List* list = *library;
  for (int32_t i = 0; i < list->count; ++i) {
    auto* object = static_cast<Obj2d*>(list->items[i]);
    if (object) obj2d_free(&object);
  }
  list_free(library);
}

void obj2d_add_segment(Obj2d* object, Seg2d* segment) {
  if (!object || !segment || !object->segments || !object->points) {
    obj2d_error();
    return;
  }
  // All three pushes or none: a segment the lists cannot take is left out and freed, so that
  // `points` always holds exactly the ends of the segments in `segments`.
  List* segments = object->segments;
  List* points = object->points;
  const int32_t segment_count = segments->count;
  const int32_t point_count = points->count;
  list_push(segments, segment);
  if (segments->count != segment_count + 1) {
    seg2d_free(&segment);
    return;
  }
  list_push(points, &segment->a);
  list_push(points, &segment->b);
  if (points->count != point_count + 2) {
    while (points->count > point_count) list_remove(points, points->count - 1);
    list_remove(segments, segments->count - 1);
    seg2d_free(&segment);
  }
}

void obj2d_draw(const Obj2d* object, Image* image) {
  if (!object || !image || !object->segments) {
    obj2d_error();
    return;
  }
  const List* segments = object->segments;
  for (int32_t i = segments->count - 1; i >= 0; --i) {
    const auto* stored = static_cast<const Seg2d*>(segments->items[i]);
    if (!stored) continue;
    Seg2d s = *stored;  // scratch copy; the stored segment never changes
    s.a.x = wrap_mul(s.a.x, object->scale.x);
    s.a.y = wrap_mul(s.a.y, object->scale.y);
    s.b.x = wrap_mul(s.b.x, object->scale.x);
    s.b.y = wrap_mul(s.b.y, object->scale.y);
    if (object->angle != 0) seg2d_rotate(&s, object->angle);
    s.a.x = wrap_add(s.a.x, object->position.x);
    s.a.y = wrap_add(s.a.y, object->position.y);
    s.b.x = wrap_add(s.b.x, object->position.x);
    s.b.y = wrap_add(s.b.y, object->position.y);
    img_line(image, s.a.x, s.a.y, s.b.x, s.b.y, s.a.colour);
  }
}

void obj2d_translate(Obj2d* object) {
  if (!object || !object->segments) {
    obj2d_error();
    return;
  }
  for (int32_t i = object->segments->count - 1; i >= 0; --i) {
    auto* s = static_cast<Seg2d*>(object->segments->items[i]);
    if (s) seg2d_translate(s, &object->position);
  }
}

void obj2d_set_colour(Obj2d* object, uint32_t colour) {
  if (!object || !object->points) {
    obj2d_error();
    return;
  }
  object->colour = colour;
  for (int32_t i = 0; i < object->points->count; ++i) {
    auto* p = static_cast<Vec2d*>(object->points->items[i]);
    if (p) p->colour = colour;
  }
}
