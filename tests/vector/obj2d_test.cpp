// Wire objects: the library reader (well-formed and malformed texts, reads that must stop at the
// terminating NUL) and drawing, translation and recolouring.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "image/img.h"
#include "vector/obj2d.h"

namespace {

// Parses a copy of the text in a buffer of exactly its size, so that the sanitizer build catches
// any read past the terminating NUL.
List* parse_exact(const std::string& text) {
  char* buf = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(buf, text.c_str(), text.size() + 1);
  List* lib = obj2d_parse_library(buf);
  std::free(buf);
  return lib;
}

// One line per library: entries separated by blanks, "null" for a null entry, otherwise
// {n=name segments...} with each segment as ax,ay#colour>bx,by#colour.
// Parses the first `size` bytes of the text from a buffer of exactly that many bytes and no
// terminating NUL: under the sanitizer build any look at byte `size` is caught.
List* parse_sized(const std::string& text, std::size_t size) {
  char* buf = static_cast<char*>(std::malloc(size ? size : 1));
  std::memcpy(buf, text.data(), size);
  List* lib = obj2d_parse_library(buf, size);
  std::free(buf);
  return lib;
}

std::string describe(const List* lib) {
  if (!lib) return "NULL";
  std::string out;
  for (int32_t i = 0; i < lib->count; ++i) {
    if (i) out += ' ';
    const auto* o = static_cast<const Obj2d*>(list_get(lib, i));
    if (!o) {
      out += "null";
      continue;
    }
    out += '{';
    bool first = true;
    if (o->name) {
      out += "n=" + std::string(o->name);
      first = false;
    }
    for (int32_t k = 0; k < o->segments->count; ++k) {
      const auto* s = static_cast<const Seg2d*>(list_get(o->segments, k));
      char buf[96];
      std::snprintf(buf, sizeof buf, "%d,%d#%x>%d,%d#%x", s->a.x, s->a.y, s->a.colour, s->b.x, s->b.y, s->b.colour);
      if (!first) out += ' ';
      out += buf;
      first = false;
    }
    out += '}';
  }
  return out;
}

std::string parse_describe(const std::string& text) {
  List* lib = parse_exact(text);
  std::string d = describe(lib);
  if (lib) obj2d_free_library(&lib);
  return d;
}

struct ParseCase {
  const char* what;
  const char* text;
  const char* want;
};

const ParseCase kParseCases[] = {
    {"negative coordinate, black ends", "{ s 1 2 -3 4 }\n", "{1,2#0>-3,4#0}"},
    {"brace inside a token is lost", "{ s 1, 2, 3, 4}\n", ""},
    {"name takes the rest of the line", "{ name A B C\n}\n", "{n=A B C}"},
    {"prefix of name", "{ n x\n}\n", "{n=x}"},
    {"upper case keyword", "{ NAME Foo\n}\n", "{n=Foo}"},
    {"token longer than the keyword", "{ names Foo\n}\n", "{}"},
    {"name keeps commas and the carriage return", "{ name a, b;c\r\n}\n", "{n=a, b;c\r}"},
    {"name at line end takes the next line", "{ name\nNext line\n}\n", "{n=Next line}"},
    {"name swallowing the closing brace", "{ name\n}\n", ""},
    {"later name replaces earlier", "{ name a\nname b\n}\n", "{n=b}"},
    {"library name outside objects is discarded", "name Lib\n{ }\n", "{}"},
    {"segment carries into the next object", "{ s 1 2 } { 3 4 }\n", "{} {1,2#0>3,4#0}"},
    {"decimal leaves colour pending", "c 5 $ff { s 1 2 3 4 }\n", "{1,2#ff>3,4#ff}"},
    {"colour with $ and eight digits", "color $00AACCEE\n{ s 1 2 3 4 }\n", "{1,2#aaccee>3,4#aaccee}"},
    {"x token sets colour", "c xAACCEE { s 0 0 1 1 }\n", "{0,0#aaccee>1,1#aaccee}"},
    {"H token, mixed case hex", "C HfF { s 0 0 1 1 }\n", "{0,0#ff>1,1#ff}"},
    {"hex digits stop at a non-digit", "c $12g4 { s 0 0 1 1 }\n", "{0,0#12>1,1#12}"},
    {"$ before a separator gives 0", "c $10 c $ { s 0 0 1 1 }\n", "{0,0#0>1,1#0}"},
    {"$ eats one punctuation character, not a sign", "c $ff c $- { s 1 2 3 4 }\n", "{1,2#0>3,4#0}"},
    {"hex without pending colour is ignored", "$ff x12 { s 0 0 1 1 }\n", "{0,0#0>1,1#0}"},
    {"colour applies when a.y and b.y are filled", "{ s 1 2 c $ff 3 4 }\n", "{1,2#0>3,4#ff}"},
    {"colour runs on into later objects", "{ c $ab s 0 0 1 1 }\n{ s 2 2 3 3 }\n", "{0,0#ab>1,1#ab} {2,2#ab>3,3#ab}"},
    {"0x is decimal zero", "{ s 0x1F 2 3 4 }\n", "{0,2#0>3,4#0}"},
    {"leading digits", "{ s 12ab 2 3 4 }\n", "{12,2#0>3,4#0}"},
    {"digit token may contain punctuation", "{ s 1 2 3 9}\n}\n", "{1,2#0>3,9#0}"},
    {"long form segment", "{ segment 8,0 8,9\n}\n", "{8,0#0>8,9#0}"},
    {"s inside an open segment is ignored", "{ s 1 s 2 3 4 }\n", "{1,2#0>3,4#0}"},
    {"two segments in text order", "{ s 1 1 2 2\ns 3 3 4 4\n}\n", "{1,1#0>2,2#0 3,3#0>4,4#0}"},
    {"segment without object is dropped", "s 1 2 3 4 { }\n", "{}"},
    {"decimal outside a segment consumes the sign", "- 5 { s 1 2 3 4 }\n", "{1,2#0>3,4#0}"},
    {"sign is consumed once", "{ s - 1 2 -3 - 4 }\n", "{-1,2#0>-3,-4#0}"},
    {"comment to end of line", "# { s 1 2 3 4 }\n{ }\n", "{}"},
    {"comment directly after a token", "{ s 1 2 3 4 }#}\n", "{1,2#0>3,4#0}"},
    {"closing brace without object", "}\n", "null"},
    {"nested open brace ignored", "{ { s 1 2 3 4 } }\n", "{1,2#0>3,4#0} null"},
    {"quote and equals ignored", "{ = \" s=1 2 3 4 }\n", "{}"},
    {"quote and equals between numbers", "{ s = 1 \" 2 3 4 }\n", "{1,2#0>3,4#0}"},
    {"last token at the end is not acted on", "{ }\n{ }", "{}"},
    {"empty objects are entries", "{ }\n{ }\n{ }\n", "{} {} {}"},
    {"high bytes and DEL separate tokens", "{\xC3s\xA9" "1\x7f" "2 3 4 }\n", "{1,2#0>3,4#0}"},
    {"open segment and object dropped at end", "{ s 1 2 3\n", ""},
    {"empty text", "", ""},
    {"only separators", " ,;\t\r\n", ""},
    {"unknown words ignored", "{ hello world 1 2 s 5 6 7 8 }\n", "{5,6#0>7,8#0}"},
};

TEST(Obj2dParse, Cases) {
  parse_describe("1\n");  // no sign pending from earlier texts
  for (const auto& c : kParseCases) EXPECT_EQ(parse_describe(c.text), c.want) << c.what;
}

TEST(Obj2dParse, NullTextGivesNull) { EXPECT_EQ(obj2d_parse_library(nullptr), nullptr); }

TEST(Obj2dParse, VersionAuthorTypeFields) {
  List* lib = parse_exact("{ name Glyph\nversion 1.0\nauthor , Me Too\nty font\n}\n");
  ASSERT_NE(lib, nullptr);
  ASSERT_EQ(lib->count, 1);
  const auto* o = static_cast<const Obj2d*>(list_get(lib, 0));
  ASSERT_NE(o, nullptr);
  EXPECT_STREQ(o->name, "Glyph");
  EXPECT_STREQ(o->version, "1.0");
  EXPECT_STREQ(o->author, "Me Too");  // separators, comma included, are skipped first
  EXPECT_STREQ(o->type, "font");
  obj2d_free_library(&lib);
  EXPECT_EQ(lib, nullptr);
}

TEST(Obj2dParse, PointsFollowSegments) {
  List* lib = parse_exact("{ s 1 2 3 4 s 5 6 7 8 }\n");
  ASSERT_EQ(lib->count, 1);
  auto* o = static_cast<Obj2d*>(list_get(lib, 0));
  ASSERT_EQ(o->segments->count, 2);
  ASSERT_EQ(o->points->count, 4);
  auto* s1 = static_cast<Seg2d*>(list_get(o->segments, 1));
  EXPECT_EQ(list_get(o->points, 2), &s1->a);
  EXPECT_EQ(list_get(o->points, 3), &s1->b);
  obj2d_free_library(&lib);
}

// The pending sign belongs to the reader and survives from one text to the next.
TEST(Obj2dParse, PendingSignCarriesIntoNextText) {
  EXPECT_EQ(parse_describe("{ }\n- \n"), "{}");
  EXPECT_EQ(parse_describe("{ s 1 2 3 4 }\n"), "{-1,2#0>3,4#0}");
  EXPECT_EQ(parse_describe("{ s 1 2 3 4 }\n"), "{1,2#0>3,4#0}");
}

// Current colour and pending colour start afresh for every text.
TEST(Obj2dParse, ColourStartsBlackForEveryText) {
  EXPECT_EQ(parse_describe("c $ff { s 1 2 3 4 }\n"), "{1,2#ff>3,4#ff}");
  EXPECT_EQ(parse_describe("{ s 1 2 3 4 }\n"), "{1,2#0>3,4#0}");
  EXPECT_EQ(parse_describe("c\n"), "");
  EXPECT_EQ(parse_describe("$ff { s 1 2 3 4 }\n"), "{1,2#0>3,4#0}");
}

// A word longer than 255 characters is cut after 255, and its 255th character starts the next
// token again.
TEST(Obj2dParse, LongTokensAreCutAndReread) {
  // 254 letters then "12": the first token ends with the "1", the next one reads "12".
  EXPECT_EQ(parse_describe("{ s " + std::string(254, 'q') + "12 3 4 5 }\n"), "{12,3#0>4,5#0}");
  // Exactly 255 characters before a separator: one token, ignored as a word.
  EXPECT_EQ(parse_describe("{ s " + std::string(253, 'q') + "12 3 4 5 6 }\n"), "{3,4#0>5,6#0}");
  // A 300-digit number wraps in 32 bits and is followed by well-formed reading.
  List* lib = parse_exact("{ s " + std::string(300, '9') + " 2 3 4 }\n");
  ASSERT_EQ(lib->count, 1);
  EXPECT_EQ(static_cast<Obj2d*>(list_get(lib, 0))->segments->count, 1);
  obj2d_free_library(&lib);
  // A 300-character hex run after "$".
  EXPECT_EQ(parse_describe("c $" + std::string(300, 'f') + " { s 0 0 1 1 }\n"), "{0,0#ffffffff>1,1#ffffffff}");
}

TEST(Obj2dParse, NamesOfAnyLength) {
  const std::string name(10000, 'N');
  List* lib = parse_exact("{ name " + name + "\n}\n");
  ASSERT_EQ(lib->count, 1);
  const auto* o = static_cast<const Obj2d*>(list_get(lib, 0));
  ASSERT_NE(o->name, nullptr);
  EXPECT_EQ(std::string(o->name), name);
  obj2d_free_library(&lib);

  lib = parse_exact("{ version " + std::string(5000, 'v') + " x\n}\n");
  ASSERT_EQ(lib->count, 1);
  EXPECT_EQ(std::strlen(static_cast<const Obj2d*>(list_get(lib, 0))->version), 5002u);
  obj2d_free_library(&lib);
}

// Texts that stop in the middle of every construct: the reader must stop at the NUL (the
// sanitizer build checks the buffer bounds), keep nothing unfinished and leak nothing.
TEST(Obj2dParse, TruncatedTextsStopAtTheEnd) {
  const char* texts[] = {"{",      "{ name",  "{ name ",  "{ name x", "{ n\n",   "# comment", "c $",
                         "c $f",   "c x",     "{ s 1 2 3", "{ s 1 2 3 4", "{ version", "{ author a",
                         "{ type", "-",       "$",        "name ",    "{ s 999999999999", "}"};
  for (const char* t : texts) {
    List* lib = parse_exact(t);
    ASSERT_NE(lib, nullptr) << t;
    EXPECT_EQ(lib->count, 0) << t;
    obj2d_free_library(&lib);
  }
  // Leave the pending sign as it was for the other tests.
  EXPECT_EQ(parse_describe("1\n"), "");
}

// Random texts over the characters that mean something to the reader; run under the sanitizer
// build this finds reads past the end, leaks and double frees.
TEST(Obj2dParse, RandomTextsAreSafe) {
  const char alphabet[] = "{}s c$-#\n nameverionauthortypexXhH0123456789,;\"=\r\x80\xff";
  unsigned seed = 12345;
  for (int n = 0; n < 3000; ++n) {
    std::string t;
    seed = seed * 1103515245u + 12345u;
    const int len = int((seed >> 16) % 48);
    for (int i = 0; i < len; ++i) {
      seed = seed * 1103515245u + 12345u;
      t += alphabet[(seed >> 16) % (sizeof(alphabet) - 1)];
    }
    List* lib = parse_exact(t);
    ASSERT_NE(lib, nullptr);
    obj2d_free_library(&lib);
  }
  parse_describe("1\n");  // consume any sign left pending
}

std::string describe_sized(const std::string& text, std::size_t size) {
  List* lib = parse_sized(text, size);
  std::string d = describe(lib);
  if (lib) obj2d_free_library(&lib);
  return d;
}

// Malformed and hostile input for the sized reader: every case is cut to `size` bytes (or the
// whole text when size is -1) and handed over without a terminating NUL.
struct SizedCase {
  const char* what;
  std::string text;
  int size;
  const char* want;
};

const SizedCase kSizedCases[] = {
    {"whole text, no NUL after it", "{ s 1 2 3 4 }\n", -1, "{1,2#0>3,4#0}"},
    {"size ends in the middle of a number", "{ s 1 2 3 45 }\n", 11, ""},
    {"size ends right after a brace", "{ }\n{ }\n", 7, "{}"},
    {"size ends right after the separator", "{ }\n{ }\n", 8, "{} {}"},
    {"bytes beyond the size are never read", "{ }\n} } }\n", 4, "{}"},
    {"a NUL inside the size ends the text", std::string("{ }\n\0{ }\n", 9), -1, "{}"},
    {"size zero", "{ }\n", 0, ""},
    {"name up to the end of the size", "{ name abc\n}\n", 9, ""},
    {"comment up to the end of the size", "# abc", -1, ""},
    {"$ as the last byte", "c $", -1, ""},
    {"hex digits up to the end", "c $ff", -1, ""},
    {"decimal wraps at 32 bits", "{ s 4294967297 2 3 4 }\n", -1, "{1,2#0>3,4#0}"},
    {"largest positive", "{ s 2147483647 0 0 0 }\n", -1, "{2147483647,0#0>0,0#0}"},
    {"2^31 wraps to the most negative", "{ s 2147483648 0 0 0 }\n", -1, "{-2147483648,0#0>0,0#0}"},
    {"negating the most negative wraps to itself", "{ s -2147483648 0 0 0 }\n", -1, "{-2147483648,0#0>0,0#0}"},
    {"hex wraps at 32 bits", "c $123456789 { s 0 0 1 1 }\n", -1, "{0,0#23456789>1,1#23456789}"},
    {"unknown keywords and stray punctuation", "{ zap! @ ^ ~ ` | \\ [ ] ( ) s 1 2 3 4 }\n", -1, "{1,2#0>3,4#0}"},
    {"keyword prefixes of unknown words", "{ segmentation 1 2 3 4 }\n", -1, "{1,2#0>3,4#0}"},
    {"control and high bytes only", "\x01\x02\x1f\x7f\x80\xfe\xff", -1, ""},
    {"closing braces without objects", "} } }\n", -1, "null null null"},
    {"four numbers without segment", "{ 1 2 3 4 }\n", -1, "{}"},
};

TEST(Obj2dParse, SizedMalformedCases) {
  parse_describe("1\n");
  for (const auto& c : kSizedCases) {
    const std::size_t size = c.size < 0 ? c.text.size() : std::size_t(c.size);
    EXPECT_EQ(describe_sized(c.text, size), c.want) << c.what;
  }
}

// The sized reader and the NUL-terminated one agree on every text without a NUL.
TEST(Obj2dParse, SizedAndTerminatedAgree) {
  parse_describe("1\n");
  for (const auto& c : kParseCases) {
    const std::string text = c.text;
    EXPECT_EQ(describe_sized(text, text.size()), c.want) << c.what;
  }
}

TEST(Obj2dParse, ManyObjectsAndSegments) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "{ }\n";
  List* lib = parse_sized(text, text.size());
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(lib->count, 20000);
  obj2d_free_library(&lib);

  text = "{\n";
  for (int i = 0; i < 20000; ++i) text += "s " + std::to_string(i) + " 1 2 3\n";
  text += "}\n";
  lib = parse_sized(text, text.size());
  ASSERT_EQ(lib->count, 1);
  const auto* o = static_cast<const Obj2d*>(list_get(lib, 0));
  ASSERT_EQ(o->segments->count, 20000);
  EXPECT_EQ(o->points->count, 40000);
  EXPECT_EQ(static_cast<const Seg2d*>(list_get(o->segments, 19999))->a.x, 19999);
  obj2d_free_library(&lib);
}

// Random bytes of every value, handed over without a NUL; the sanitizer build checks bounds,
// leaks and double frees.
TEST(Obj2dParse, RandomBytesWithoutNul) {
  unsigned seed = 777;
  for (int n = 0; n < 3000; ++n) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t len = (seed >> 16) % 300;
    std::string t;
    for (std::size_t i = 0; i < len; ++i) {
      seed = seed * 1103515245u + 12345u;
      // Mostly the reader's own characters, sometimes any byte.
      const unsigned r = seed >> 16;
      t += (r & 7) ? "{}s c$-#\n 19x"[(r >> 3) % 14] : char(r >> 3);
    }
    List* lib = parse_sized(t, t.size());
    ASSERT_NE(lib, nullptr);
    obj2d_free_library(&lib);
  }
  parse_describe("1\n");
}

std::string read_resource(const char* name) {
  std::ifstream in(std::string(KROM_SOURCE_DIR) + "/resources/data/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Obj2d* entry(const List* lib, int32_t i) { return static_cast<const Obj2d*>(list_get(lib, i)); }

// The two wire fonts the show carries: 256 entries each, named glyphs where the layout puts them,
// and one colour for every segment end.
TEST(Obj2dParse, EmbeddedWireFonts) {
  struct Font {
    const char* file;
    uint32_t colour;
  } fonts[] = {{"font8.txt", 0xAACCEE}, {"font16.txt", 0xFFFFFF}};
  for (const auto& f : fonts) {
    const std::string text = read_resource(f.file);
    ASSERT_FALSE(text.empty()) << f.file;
    List* lib = parse_sized(text, text.size());
    ASSERT_NE(lib, nullptr);
    ASSERT_EQ(lib->count, 256) << f.file;
    ASSERT_NE(entry(lib, 32), nullptr);
    EXPECT_STREQ(entry(lib, 32)->name, "space") << f.file;
    EXPECT_STREQ(entry(lib, 65)->name, "A") << f.file;
    EXPECT_STREQ(entry(lib, 127)->name, "esc") << f.file;
    for (int32_t i = 0; i < lib->count; ++i) {
      const Obj2d* o = entry(lib, i);
      ASSERT_NE(o, nullptr) << f.file << " " << i;
      if (i < 33 || i > 127) {
        EXPECT_EQ(o->segments->count, 0) << f.file << " " << i;
      }
      for (int32_t k = 0; k < o->points->count; ++k)
        EXPECT_EQ(static_cast<const Vec2d*>(list_get(o->points, k))->colour, f.colour) << f.file << " " << i;
    }
    obj2d_free_library(&lib);
  }
  // The small font's "A" as the text draws it.
  const std::string text = read_resource("font8.txt");
  List* lib = parse_sized(text, text.size());
  std::string a;
  const Obj2d* glyph = entry(lib, 65);
  for (int32_t k = 0; k < glyph->segments->count; ++k) {
    const auto* s = static_cast<const Seg2d*>(list_get(glyph->segments, k));
    a += std::to_string(s->a.x) + "," + std::to_string(s->a.y) + "-" + std::to_string(s->b.x) + "," +
         std::to_string(s->b.y) + " ";
  }
  EXPECT_EQ(a, "6,6-3,0 0,6-3,0 1,4-5,4 ");
  obj2d_free_library(&lib);
}

class Obj2dDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    img = img_new();
    img_resize(img, 16, 16);
    obj = obj2d_new();
  }
  void TearDown() override {
    obj2d_free(&obj);
    img_free(&img);
  }
  Seg2d* add(int32_t ax, int32_t ay, int32_t bx, int32_t by, uint32_t colour) {
    Seg2d* s = seg2d_new();
    s->a = Vec2d{ax, ay, colour};
    s->b = Vec2d{bx, by, 0x0000FF};
    obj2d_add_segment(obj, s);
    return s;
  }
  Image* img = nullptr;
  Obj2d* obj = nullptr;
};

TEST_F(Obj2dDraw, NewObjectDefaults) {
  EXPECT_EQ(obj->name, nullptr);
  EXPECT_EQ(obj->position.x, 0);
  EXPECT_EQ(obj->position.y, 0);
  EXPECT_EQ(obj->scale.x, 1);
  EXPECT_EQ(obj->scale.y, 1);
  EXPECT_EQ(obj->angle, 0);
  EXPECT_EQ(obj->colour, 0u);
  EXPECT_EQ(obj->segments->count, 0);
  EXPECT_EQ(obj->points->count, 0);
}

// Scale about the origin, then rotate, then translate; the stored segment stays.
TEST_F(Obj2dDraw, ScaleRotateTranslateOrder) {
  Seg2d* s = add(0, 0, 3, 0, 0xFF0000);
  obj->scale = Vec2d{2, 1, 0};
  obj->angle = 256;
  obj->position = Vec2d{5, 5, 0};
  obj2d_draw(obj, img);
  // (3, 0) scaled to (6, 0), a quarter turn gives (0, 5), moved to (5, 10).
  for (int r = 5; r <= 10; ++r) EXPECT_EQ(img_get_pixel(img, 5, r), 0xFF0000u) << r;
  EXPECT_EQ(img_get_pixel(img, 5, 11), 0u);
  EXPECT_EQ(img_get_pixel(img, 6, 5), 0u);
  EXPECT_EQ(s->b.x, 3);
  EXPECT_EQ(s->b.y, 0);
}

// Segments are drawn from the last to the first: the first one ends on top.
TEST_F(Obj2dDraw, LastSegmentDrawnFirst) {
  add(0, 0, 3, 0, 0xFF0000);
  add(0, 0, 3, 0, 0x00FF00);
  obj2d_draw(obj, img);
  EXPECT_EQ(img_get_pixel(img, 2, 0), 0xFF0000u);
}

TEST_F(Obj2dDraw, NullImageDrawsNothing) {
  add(0, 0, 3, 0, 0xFF0000);
  obj2d_draw(obj, nullptr);
  obj2d_draw(nullptr, img);
  EXPECT_EQ(img_get_pixel(img, 0, 0), 0u);
}

TEST_F(Obj2dDraw, TranslateMovesStoredSegments) {
  Seg2d* s = add(4, 4, 8, 6, 0xFF0000);
  obj->position = Vec2d{-4, -4, 0};
  obj2d_translate(obj);
  EXPECT_EQ(s->a.x, 0);
  EXPECT_EQ(s->a.y, 0);
  EXPECT_EQ(s->b.x, 4);
  EXPECT_EQ(s->b.y, 2);
  EXPECT_EQ(obj->position.x, -4);
  EXPECT_EQ(obj->position.y, -4);
}

TEST_F(Obj2dDraw, SetColourRecoloursEveryEnd) {
  Seg2d* s1 = add(0, 1, 3, 1, 0xFF0000);
  Seg2d* s2 = add(0, 3, 3, 3, 0x00FF00);
  obj2d_set_colour(obj, 0x123456);
  EXPECT_EQ(obj->colour, 0x123456u);
  EXPECT_EQ(s1->a.colour, 0x123456u);
  EXPECT_EQ(s1->b.colour, 0x123456u);
  EXPECT_EQ(s2->a.colour, 0x123456u);
  EXPECT_EQ(s2->b.colour, 0x123456u);
  obj2d_draw(obj, img);
  EXPECT_EQ(img_get_pixel(img, 2, 1), 0x123456u);
  EXPECT_EQ(img_get_pixel(img, 2, 3), 0x123456u);
}

TEST(Obj2dFree, NullsAndRefusesNull) {
  // The OBJ2D report switch is off: refusals, and the reader's own complaint about a segment
  // without an object, print nothing.
  testing::internal::CaptureStdout();
  List* lib = obj2d_parse_library("s 1 2 3 4 } ");
  ASSERT_NE(lib, nullptr);
  obj2d_free_library(&lib);
  EXPECT_EQ(obj2d_parse_library(nullptr), nullptr);
  Obj2d* o = obj2d_new();
  obj2d_draw(o, nullptr);
  obj2d_free(&o);
  EXPECT_EQ(o, nullptr);
  obj2d_free(&o);  // only reports
  obj2d_free_library(nullptr);
  obj2d_add_segment(nullptr, nullptr);
  obj2d_set_colour(nullptr, 1);
  obj2d_translate(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
