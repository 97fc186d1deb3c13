// Embedded resources: the four pictures decode to their sizes and layouts, the two wire fonts
// hold their 256 glyphs, the info text has its line structure, and the committed pictures are
// exactly what krom-resgen draws.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/list.h"
#include "image/img.h"
#include "resources/resources.h"
#include "text/font.h"
#include "vector/obj2d.h"

namespace {

struct Picture {
  const char* file;
  const unsigned char* data;
  std::size_t size;
  const char* size_line;
  int32_t width, height;
  bool grey;
  std::size_t header;
};

const Picture kPictures[] = {
    {"glyphs.pgm", res_glyphs, res_glyphs_size, "256 256", 256, 256, true, 118},
    {"balls.ppm", res_balls, res_balls_size, "16 256", 16, 256, false, 117},
    {"stars.ppm", res_stars, res_stars_size, "16 256", 16, 256, false, 117},
    {"logo.pgm", res_logo, res_logo_size, "256 64", 256, 64, true, 117},
};

struct ImageDeleter {
  void operator()(Image* img) const { img_free(&img); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

ImagePtr decode(const unsigned char* data, std::size_t size) { return ImagePtr(img_read_pnm(data, size)); }

uint32_t channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// True when some pixel of the w x h block at (x, y) is not black.
bool block_lit(const Image* img, int32_t x, int32_t y, int32_t w, int32_t h) {
  for (int32_t r = y; r < y + h; ++r) {
    for (int32_t c = x; c < x + w; ++c) {
      if (img_get_pixel(img, c, r) != 0) return true;
    }
  }
  return false;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

TEST(ResourcePictures, HeadersHaveTheirFixedLayout) {
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.file);
    std::string bytes(reinterpret_cast<const char*>(p.data), p.size);
    std::vector<std::string> lines = split_lines(bytes.substr(0, p.header));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], p.grey ? "P5" : "P6");
    EXPECT_EQ(lines[1].size(), 102u);
    EXPECT_EQ(lines[1][0], '#');
    EXPECT_EQ(lines[2], p.size_line);
    EXPECT_EQ(lines[3], "255");
    EXPECT_EQ(p.size, p.header + std::size_t(p.width * p.height) * (p.grey ? 1 : 3));
  }
}

TEST(ResourcePictures, DecodeToTheirSizesOnBlack) {
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.file);
    ImagePtr img = decode(p.data, p.size);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, p.width);
    EXPECT_EQ(img->height, p.height);
    EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0u);
    EXPECT_EQ(img_get_pixel(img.get(), p.width - 1, p.height - 1), 0u);
    if (!p.grey) continue;
    for (int32_t i = 0; i < p.width * p.height; ++i) {
      uint32_t px = img->pixels[i];
      ASSERT_TRUE(channel(px, 16) == channel(px, 8) && channel(px, 8) == channel(px, 0)) << "pixel " << i;
    }
  }
}

// Tile k of a sprite sheet: its brightest-by-sum average colour tells the hue.
struct Mean {
  double r, g, b;
};
Mean tile_mean(const Image* sheet, int32_t k) {
  Mean m{0, 0, 0};
  int n = 0;
  for (int32_t y = 16 * k; y < 16 * k + 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      uint32_t p = img_get_pixel(sheet, x, y);
      if (!p) continue;
      m = {m.r + channel(p, 16), m.g + channel(p, 8), m.b + channel(p, 0)};
      ++n;
    }
  }
  return n ? Mean{m.r / n, m.g / n, m.b / n} : m;
}

TEST(ResourcePictures, SpriteTilesRunThroughTheTwelveColoursThenTheWhiteMark) {
  using Check = bool (*)(Mean);
  const struct {
    const char* name;
    Check check;
  } hues[12] = {
      {"grey", [](Mean m) { return std::abs(m.r - m.b) < 12 && m.r < 120; }},
      {"white", [](Mean m) { return std::abs(m.r - m.b) < 12 && m.r > 130; }},
      {"red", [](Mean m) { return m.r > 2 * m.g && m.r > 2 * m.b; }},
      {"orange", [](Mean m) { return m.r > m.g && m.g > 1.5 * m.b && m.g < 0.8 * m.r; }},
      {"yellow", [](Mean m) { return m.r > 2 * m.b && m.g > 2 * m.b && m.g > 0.8 * m.r; }},
      {"lime", [](Mean m) { return m.g > m.r && m.r > 2 * m.b; }},
      {"green", [](Mean m) { return m.g > 2 * m.r && m.g > 2 * m.b; }},
      {"cyan", [](Mean m) { return m.g > 2 * m.r && m.b > 2 * m.r && std::abs(m.g - m.b) < 20; }},
      {"azure", [](Mean m) { return m.b > m.g && m.g > 1.5 * m.r; }},
      {"violet", [](Mean m) { return m.b > m.r && m.r > 1.5 * m.g; }},
      {"magenta", [](Mean m) { return m.r > 2 * m.g && m.b > 2 * m.g && m.r > m.b; }},
      {"pink", [](Mean m) { return m.r > m.b && m.b > m.g && m.g > 0.4 * m.r; }},
  };
  for (const Picture& p : {kPictures[1], kPictures[2]}) {
    ImagePtr sheet = decode(p.data, p.size);
    ASSERT_TRUE(sheet);
    for (int32_t k = 0; k < 12; ++k) {
      Mean m = tile_mean(sheet.get(), k);
      EXPECT_TRUE(hues[k].check(m)) << p.file << " tile " << k << " should be " << hues[k].name << ": mean " << m.r
                                    << ", " << m.g << ", " << m.b;
      EXPECT_EQ(img_get_pixel(sheet.get(), 0, 16 * k), 0u) << p.file << " tile " << k;
    }
    for (int32_t y = 16 * 12; y < 256; ++y) {
      for (int32_t x = 0; x < 16; ++x) {
        uint32_t px = img_get_pixel(sheet.get(), x, y);
        ASSERT_TRUE(channel(px, 16) == channel(px, 8) && channel(px, 8) == channel(px, 0)) << p.file << " at " << x << ", " << y;
      }
    }
    for (int32_t k = 12; k < 16; ++k) EXPECT_TRUE(block_lit(sheet.get(), 0, 16 * k, 16, 16)) << p.file << " tile " << k;
  }
}

class GlyphSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet_ = decode(res_glyphs, res_glyphs_size);
    ASSERT_TRUE(sheet_);
  }
  bool cell_lit(int code) const { return block_lit(sheet_.get(), code % 16 * 16, code / 16 * 16, 16, 16); }
  ImagePtr sheet_;
};

TEST_F(GlyphSheet, PrintableCharactersFillRowsTwoToSeven) {
  EXPECT_FALSE(cell_lit(' '));
  for (int code = 33; code < 128; ++code) EXPECT_TRUE(cell_lit(code)) << "code " << code;
  // Every decoration row carries artwork.
  for (int row : {0, 1, 8, 9, 10, 11, 12, 13, 14, 15}) EXPECT_TRUE(block_lit(sheet_.get(), 0, row * 16, 256, 16)) << "row " << row;
}

TEST_F(GlyphSheet, LowerCaseCellsRepeatTheCapitals) {
  for (int code = 'a'; code <= 'z'; ++code) {
    int upper = code - 32;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(img_get_pixel(sheet_.get(), code % 16 * 16 + x, code / 16 * 16 + y),
                  img_get_pixel(sheet_.get(), upper % 16 * 16 + x, upper / 16 * 16 + y))
            << char(code) << " at " << x << ", " << y;
      }
    }
  }
}

// The loading screen prints its two lines with 16 x 16 glyphs from this sheet: every glyph it
// uses lies in rows 2 to 7, drawn, and the line feed ends the line.
TEST_F(GlyphSheet, LoadingLinesPrintFromTheCharacterRows) {
  for (const char* line : {"KROM 7316\n", "LOADING...\n"}) {
    SCOPED_TRACE(line);
    Image* target = img_new();
    img_resize(target, 256, 16);
    Font* font = font_new();
    font->sheet = sheet_.get();
    font->target = target;
    font->glyph_width = 16;
    font->glyph_height = 16;
    font_print(font, line);
    std::size_t n = std::strlen(line) - 1;
    EXPECT_EQ(font->x, int32_t(16 * n));
    for (std::size_t i = 0; i < n; ++i) {
      int code = static_cast<unsigned char>(line[i]);
      EXPECT_GE(code / 16, 2);
      EXPECT_LE(code / 16, 7);
      if (code == ' ') continue;
      EXPECT_TRUE(cell_lit(code)) << line[i];
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
          ASSERT_EQ(img_get_pixel(target, int32_t(16 * i) + x, y), img_get_pixel(sheet_.get(), code % 16 * 16 + x, code / 16 * 16 + y));
        }
      }
    }
    EXPECT_FALSE(block_lit(target, int32_t(16 * n), 0, 256 - int32_t(16 * n), 16));
    font->sheet = nullptr;
    font_free(&font);
    img_free(&target);
  }
}

struct LibraryDeleter {
  void operator()(List* l) const { obj2d_free_library(&l); }
};
using LibraryPtr = std::unique_ptr<List, LibraryDeleter>;

const Obj2d* entry(const List* lib, int i) { return static_cast<const Obj2d*>(list_get(lib, i)); }
const Seg2d* segment(const Obj2d* o, int i) { return static_cast<const Seg2d*>(list_get(o->segments, i)); }

// The segments of an object as "ax,ay-bx,by" joined by blanks.
std::string shape(const Obj2d* o) {
  std::string out;
  for (int32_t i = 0; i < o->segments->count; ++i) {
    const Seg2d* s = segment(o, i);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%d,%d-%d,%d", i ? " " : "", s->a.x, s->a.y, s->b.x, s->b.y);
    out += buf;
  }
  return out;
}

struct WireFont {
  const char* name;
  const unsigned char* text;
  std::size_t size;
  const char* header;  // the library's own lines, in order
  int32_t max_x, max_y;
  uint32_t colour;
  const char* a_shape;
};

const WireFont kFonts[] = {
    {"8 x 8", res_font8, res_font8_size, "name font 2D 8x8\nversion 20130903\nauthor ", 6, 7, 0xAACCEE,
     "6,6-3,0 0,6-3,0 1,4-5,4"},
    {"16 x 16", res_font16, res_font16_size, "name font 16x16 wire\nversion 20120515\nauthor ", 15, 15, 0xFFFFFF,
     "1,14-1,2 1,2-3,0 3,0-12,0 12,0-14,2 14,2-14,14 1,7-14,7"},
};

TEST(WireFonts, HeaderLinesOpenTheText) {
  for (const WireFont& f : kFonts) {
    SCOPED_TRACE(f.name);
    std::string text(reinterpret_cast<const char*>(f.text), f.size);
    std::size_t first_object = text.find('{');
    std::size_t header = text.find(f.header);
    ASSERT_NE(header, std::string::npos);
    EXPECT_LT(header, first_object);
    EXPECT_EQ(text[0], '#');
    std::size_t type = text.find("\ntype 2D\n", header);
    EXPECT_LT(type, first_object);
    EXPECT_EQ(text.back(), '\n');
  }
}

TEST(WireFonts, HoldTheirGlyphsInCodeOrder) {
  for (const WireFont& f : kFonts) {
    SCOPED_TRACE(f.name);
    LibraryPtr lib(obj2d_parse_library(reinterpret_cast<const char*>(f.text)));
    ASSERT_TRUE(lib);
    ASSERT_EQ(lib->count, 256);
    for (int i = 0; i < 256; ++i) ASSERT_NE(entry(lib.get(), i), nullptr) << i;
    EXPECT_STREQ(entry(lib.get(), 32)->name, "space");
    EXPECT_STREQ(entry(lib.get(), 65)->name, "A");
    EXPECT_STREQ(entry(lib.get(), 127)->name, "esc");
    EXPECT_EQ(shape(entry(lib.get(), 65)), f.a_shape);
    for (int i = 0; i < 256; ++i) {
      bool printable = i > 32 && i < 128;
      EXPECT_EQ(entry(lib.get(), i)->segments->count > 0, printable) << "code " << i;
    }
    for (int c = 'a'; c <= 'z'; ++c) EXPECT_EQ(shape(entry(lib.get(), c)), shape(entry(lib.get(), c - 32))) << char(c);
    EXPECT_NE(shape(entry(lib.get(), 126)), "");
  }
}

TEST(WireFonts, CoordinatesAndColoursStayInTheirRanges) {
  for (const WireFont& f : kFonts) {
    SCOPED_TRACE(f.name);
    LibraryPtr lib(obj2d_parse_library(reinterpret_cast<const char*>(f.text)));
    ASSERT_TRUE(lib);
    for (int i = 32; i < 128; ++i) {
      const Obj2d* o = entry(lib.get(), i);
      // Only the small font's esc symbol may leave the glyph box, up to 14.
      int32_t mx = (i == 127 && f.max_x == 6) ? 14 : f.max_x;
      int32_t my = (i == 127 && f.max_x == 6) ? 14 : f.max_y;
      for (int32_t s = 0; s < o->segments->count; ++s) {
        for (const Vec2d* p : {&segment(o, s)->a, &segment(o, s)->b}) {
          EXPECT_TRUE(p->x >= 0 && p->x <= mx && p->y >= 0 && p->y <= my) << "code " << i << ": " << p->x << ", " << p->y;
          EXPECT_EQ(p->colour, f.colour) << "code " << i;
        }
      }
    }
  }
}

TEST(WireFonts, SmallFontQuirks) {
  LibraryPtr lib(obj2d_parse_library(reinterpret_cast<const char*>(res_font8)));
  ASSERT_TRUE(lib);
  // The question mark is a second exclamation mark; the esc symbol is the one large glyph.
  EXPECT_EQ(shape(entry(lib.get(), '?')), shape(entry(lib.get(), '!')));
  int32_t widest = 0;
  const Obj2d* esc = entry(lib.get(), 127);
  for (int32_t s = 0; s < esc->segments->count; ++s) widest = std::max({widest, segment(esc, s)->a.x, segment(esc, s)->b.x});
  EXPECT_EQ(widest, 14);
  std::string text(reinterpret_cast<const char*>(res_font8), res_font8_size);
  std::size_t space = text.find("{ name space\n");
  ASSERT_NE(space, std::string::npos);
  EXPECT_EQ(text.find("$AACCEE", space), text.find("$AACCEE"));
  EXPECT_LT(text.find("$AACCEE", space), text.find('}', space));
}

TEST(InfoText, FollowsItsLineStructure) {
  ASSERT_EQ(res_info_size, 1612u);
  std::string text(reinterpret_cast<const char*>(res_info), res_info_size);
  EXPECT_EQ(res_info[res_info_size], 0);
  EXPECT_EQ(text.size(), std::strlen(text.c_str()));
  ASSERT_EQ(text.back(), '\n');
  std::vector<std::string> lines = split_lines(text);
  ASSERT_EQ(lines.size(), 85u);
  auto line = [&](int n) { return lines[std::size_t(n - 1)]; };
  const std::string eight(8, ' ');
  EXPECT_EQ(line(1), "");
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(line(3), eight);
  EXPECT_EQ(line(4), "KROM 7316      ");
  EXPECT_EQ(line(5), "DATE: 20150812       ");
  EXPECT_EQ(line(6), eight);
  const char* keys[] = {"PRESS KEYS: ",       "5: 25 F.P.S.  ",    "6: 50 F.P.S.  ",    "8: DISPLAY F.P.S.  ",
                        "ESC: EXIT  ",        "SPACE: NEXT PART  ", "U,I: SCROLL SPEED ", "F: FADE ON/OFF  ",
                        "B: BLURR ON/OFF  ",  "G: GLARE ON/OFF  ", "M: MIRROR MODE  "};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(line(7 + i), keys[i]);
  for (int n : {18, 20, 33, 59, 71, 75, 83}) EXPECT_EQ(line(n), eight) << "line " << n;
  EXPECT_EQ(line(77), "  ");
  EXPECT_EQ(line(79), "  ");
  EXPECT_EQ(line(84), "!\"#$%&'()*+,-./0123456789 ");
  EXPECT_EQ(line(85), std::string(22, ' '));
  // The personal lines carry text; the passage opens and closes with a quote.
  for (int n : {19, 21, 22, 32, 34, 58, 60, 70, 72, 74, 76, 78, 80, 82}) {
    EXPECT_NE(line(n).find_first_not_of(' '), std::string::npos) << "line " << n;
  }
  EXPECT_EQ(line(34)[0], '"');
  std::size_t longest = 0;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  EXPECT_EQ(longest, 33u);
  // Upper case only, and only characters the wire fonts draw.
  for (char c : text) EXPECT_TRUE(c == '\n' || (c >= ' ' && c < 127 && !(c >= 'a' && c <= 'z'))) << int(c);
}

// The committed pictures are the generator's output: run it into a fresh directory and compare.
TEST(ResourceGenerator, CommittedPicturesEqualItsOutput) {
  std::string tool = std::string(KROM_BINARY_DIR) + "/tools/resgen/krom-resgen";
  ASSERT_EQ(access(tool.c_str(), X_OK), 0) << tool << " is not built";
  char dir[] = "/tmp/krom-resgen-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string command = "'" + tool + "' '" + dir + "'";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  for (const Picture& p : kPictures) {
    std::string path = std::string(dir) + "/" + p.file;
    std::ifstream in(path, std::ios::binary);
    std::string made((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    ASSERT_EQ(made.size(), p.size) << p.file;
    std::size_t i = 0;
    while (i < made.size() && static_cast<unsigned char>(made[i]) == p.data[i]) ++i;
    EXPECT_EQ(i, made.size()) << p.file << " differs first at byte " << i << " (regenerate with the resources-regen target)";
  }
  rmdir(dir);
}

}  // namespace
