// krom-resgen OUTDIR: draws the show's four embedded pictures and writes them to OUTDIR as
// glyphs.pgm, balls.ppm, stars.ppm and logo.pgm. The output depends on nothing but this
// program and the large wire font (its glyphs become the characters of the glyph sheet), so
// running it again gives the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/resgen/shade.h"

using namespace resgen;

namespace {

constexpr double kPi = 3.14159265358979323846;

// --- the large wire font, read for its segments -------------------------------------------

using Glyph = std::vector<Seg>;

// Reads the simple form our font texts use: "{", "}" and "{ name ..." open and close objects,
// "segment ax,ay bx,by" (or "s ...") lines add segments, "#" lines are comments.
std::vector<Glyph> read_font(const char* path) {
  std::ifstream in(path);
  std::vector<Glyph> glyphs;
  Glyph current;
  bool open = false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
      if (word == "{") {
        open = true;
        current.clear();
      } else if (word == "}") {
        if (open) glyphs.push_back(current);
        open = false;
      } else if (word == "name") {
        break;
      } else if (open && (word == "segment" || word == "s")) {
        std::string rest;
        std::getline(words, rest);
        for (char& c : rest) {
          if (c == ',') c = ' ';
        }
        std::istringstream nums(rest);
        double ax, ay, bx, by;
        if (nums >> ax >> ay >> bx >> by) current.push_back({{ax, ay}, {bx, by}});
        break;
      }
    }
  }
  return glyphs;
}

// Glyph segments moved into place: font unit (fx, fy) lands at origin + (fx, fy) * scale,
// leaning right by `slant` pixels per pixel of height above the glyph's foot (font row 14).
Glyph fit(const Glyph& g, Pt origin, double scale, double slant = 0.0) {
  Glyph out;
  for (const Seg& s : g) {
    auto map = [&](Pt p) { return Pt{origin.x + p.x * scale + slant * (14.0 - p.y) * scale, origin.y + p.y * scale}; };
    out.push_back({map(s.a), map(s.b)});
  }
  return out;
}

// --- small shapes ---------------------------------------------------------------------------

Poly star_poly(Pt c, double outer, double inner, double turn) {
  Poly p;
  for (int i = 0; i < 10; ++i) {
    double a = -kPi / 2 + turn + i * kPi / 5;
    double r = i % 2 ? inner : outer;
    p.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
  }
  return p;
}

// The classic heart curve, `size` pixels across, its middle at c.
Poly heart_poly(Pt c, double size) {
  Poly p;
  double k = size / 34.0;
  for (int i = 0; i < 64; ++i) {
    double t = 2 * kPi * i / 64;
    double x = 16 * std::pow(std::sin(t), 3);
    double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
    p.push_back({c.x + x * k, c.y - (y + 2.5) * k});
  }
  return p;
}

Poly circle_poly(Pt c, double r) {
  Poly p;
  for (int i = 0; i < 48; ++i) p.push_back({c.x + r * std::cos(2 * kPi * i / 48), c.y + r * std::sin(2 * kPi * i / 48)});
  return p;
}

Poly rect_poly(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

// A rectangle with its corners rounded to radius r.
Poly rounded_rect_poly(double x0, double y0, double x1, double y1, double r) {
  Poly p;
  const Pt centres[4] = {{x1 - r, y0 + r}, {x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}};
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= 6; ++i) {
      double a = -kPi / 2 + corner * kPi / 2 + i * kPi / 12;
      p.push_back({centres[corner].x + r * std::cos(a), centres[corner].y + r * std::sin(a)});
    }
  }
  return p;
}

// Union of shapes: covered where any is, as high as the highest.
Shape merged(std::vector<Shape> parts) {
  return [parts = std::move(parts)](Pt p) {
    Surf out{false, 0};
    for (const Shape& s : parts) {
      Surf t = s(p);
      if (t.in) out = {true, std::max(out.h, t.h)};
    }
    return out;
  };
}

// --- the product word, as chiselled polygons in a 52 x 52 design box -----------------------

std::vector<Poly> letter_polys(char c) {
  switch (c) {
    case 'K':
      return {{{0, 0}, {13, 0}, {13, 19}, {33, 0}, {51, 0}, {25, 25}, {52, 52}, {34, 52}, {13, 31}, {13, 52}, {0, 52}}};
    case 'R':
      return {{{0, 0}, {41, 0}, {52, 11}, {52, 24}, {46, 29}, {52, 34}, {52, 52}, {39, 52}, {39, 37}, {36, 34},
               {13, 34}, {13, 52}, {0, 52}},
              {{13, 12}, {36, 12}, {39, 15}, {39, 19}, {36, 22}, {13, 22}}};
    case 'O':
      return {{{0, 11}, {11, 0}, {41, 0}, {52, 11}, {52, 41}, {41, 52}, {11, 52}, {0, 41}},
              {{13, 17}, {17, 13}, {35, 13}, {39, 17}, {39, 35}, {35, 39}, {17, 39}, {13, 35}}};
    case 'M':
      return {{{0, 0}, {14, 0}, {26, 16}, {38, 0}, {52, 0}, {52, 52}, {39, 52}, {39, 22}, {26, 39}, {13, 22},
               {13, 52}, {0, 52}}};
    default:
      return {};
  }
}

std::vector<Poly> scaled_polys(const std::vector<Poly>& polys, Pt origin, double k) {
  std::vector<Poly> out = polys;
  for (Poly& poly : out) {
    for (Pt& p : poly) p = {origin.x + p.x * k, origin.y + p.y * k};
  }
  return out;
}

// Brushed grey metal: bright at the top edge of the band y0 ... y1, dark at its foot.
std::function<Col(Pt)> metal(double y0, double y1, double top, double foot) {
  return [=](Pt p) {
    double t = std::clamp((p.y - y0) / (y1 - y0), 0.0, 1.0);
    double v = top + (foot - top) * t;
    return Col{v, v, v};
  };
}

// --- the glyph sheet -------------------------------------------------------------------------

constexpr int kCell = 16;

// One printable character: the wire glyph drawn as a shaded tube, light grey fading to a
// darker grey towards its foot, with a drop shadow one pixel down and right.
void draw_character(Canvas& sheet, const Glyph& glyph, int code) {
  if (glyph.empty()) return;
  int cx = code % 16 * kCell, cy = code / 16 * kCell;
  Material m;
  m.tint = metal(cy + 1.0, cy + 13.0, 0.95, 0.6);
  m.specular = 0.45;
  m.shine = 10;
  paint(sheet, cx, cy, cx + kCell, cy + kCell, tube(fit(glyph, {cx + 1.6, cy + 1.2}, 0.8), 1.0), m, {{1, 1}, 0.22});
}

Material grey_material(double v) {
  Material m;
  m.base = {v, v, v};
  return m;
}

// Row 0: a star, a heart, a smiling face, discs of seven sizes and squares of six.
void draw_symbols(Canvas& sheet) {
  const Shadow shadow{{1, 1}, 0.2};
  auto cell = [](int i) { return Pt{i * 16.0 + 7.5, 7.5}; };
  auto box = [&](int i, const Shape& s, const Material& m) { paint(sheet, i * 16, 0, i * 16 + 16, 16, s, m, shadow); };

  box(0, faceted({star_poly(cell(0), 7.3, 3.1, 0)}, 0.9), grey_material(0.9));
  box(1, cushion({heart_poly(cell(1), 14.0)}, 2.5), grey_material(0.85));

  Pt face = cell(2);
  box(2, ball(face, 7.0), grey_material(0.9));
  Material dark = grey_material(0.12);
  dark.specular = 0.3;
  box(2, ball({face.x - 2.3, face.y - 1.8}, 1.1), dark);
  box(2, ball({face.x + 2.3, face.y - 1.8}, 1.1), dark);
  Glyph smile;
  for (int i = 0; i < 8; ++i) {
    double a0 = kPi * (0.15 + 0.7 * i / 8), a1 = kPi * (0.15 + 0.7 * (i + 1) / 8);
    smile.push_back({{face.x + 4 * std::cos(a0), face.y + 0.3 + 4 * std::sin(a0)},
                     {face.x + 4 * std::cos(a1), face.y + 0.3 + 4 * std::sin(a1)}});
  }
  box(2, tube(smile, 0.75), dark);

  for (int i = 0; i < 7; ++i) box(3 + i, cushion({circle_poly(cell(3 + i), 1.5 + i)}, 1.0 + 0.25 * i), grey_material(0.85));
  for (int i = 0; i < 6; ++i) {
    Pt c = cell(10 + i);
    double r = 2.0 + i;
    box(10 + i, cushion({rect_poly(c.x - r, c.y - r, c.x + r, c.y + r)}, 1.0 + 0.3 * i), grey_material(0.85));
  }
}

// Row 1: a plate across the sheet with the product word and a string of beads on each side.
void draw_banner(Canvas& sheet, const std::vector<Glyph>& font) {
  Material plate = grey_material(0.42);
  plate.specular = 0.3;
  paint(sheet, 0, 16, 256, 32, cushion({rounded_rect_poly(1, 16.5, 254, 30.5, 6.5)}, 2.5), plate);
  Material bead = grey_material(0.8);
  bead.specular = 0.9;
  bead.shine = 30;
  for (int i = 0; i < 5; ++i) {
    for (double x : {14.0 + i * 11, 242.0 - i * 11}) paint(sheet, int(x) - 4, 16, int(x) + 5, 32, ball({x, 23.5}, 2.6 - 0.3 * i), bead);
  }
  const char* word = "KROM 7316";
  Material letters;
  letters.tint = metal(18, 28, 1.0, 0.72);
  letters.specular = 0.5;
  for (int i = 0; word[i]; ++i) {
    const Glyph& g = font[std::size_t((unsigned char)word[i])];
    if (g.empty()) continue;
    double x = 75.0 + i * 12.0;
    paint(sheet, int(x) - 2, 16, int(x) + 14, 32, tube(fit(g, {x, 18.4}, 0.64), 0.95), letters, {{1, 1}, 0.15});
  }
}

// Rows 8 to 11: one letter of the product word per row, in sixteen steps of a turn about its
// upright axis (the back face darker), so that the row plays as a spinning letter.
void draw_spinning_letters(Canvas& sheet) {
  const char* word = "KROM";
  for (int row = 0; row < 4; ++row) {
    std::vector<Poly> polys = letter_polys(word[row]);
    for (int k = 0; k < 16; ++k) {
      double c = std::cos(2 * kPi * k / 16);
      double sx = 0.25 * (std::fabs(c) < 0.08 ? std::copysign(0.08, c) : c);
      int x0 = k * 16, y0 = (8 + row) * 16;
      Material m = grey_material(c >= 0 ? 0.88 : 0.55);
      paint(sheet, x0, y0, x0 + 16, y0 + 16, placed(bevelled(polys, 7.0), {26, 26}, {x0 + 7.5, y0 + 7.5}, sx, 0.25), m,
            {{1, 1}, 0.2});
    }
  }
}

// Row 12: a faceted star turning through one fifth of a turn, so that the row loops.
// Row 13: a heart beating once.
void draw_star_and_heart_rows(Canvas& sheet) {
  for (int k = 0; k < 16; ++k) {
    Pt c{k * 16 + 7.5, 12 * 16 + 7.5};
    paint(sheet, k * 16, 192, k * 16 + 16, 208, faceted({star_poly(c, 7.3, 3.1, 2 * kPi / 5 * k / 16)}, 0.9),
          grey_material(0.9), {{1, 1}, 0.2});
    double beat = std::pow(std::sin(kPi * k / 16), 2);
    Pt h{k * 16 + 7.5, 13 * 16 + 7.5};
    paint(sheet, k * 16, 208, k * 16 + 16, 224, cushion({heart_poly(h, 9.0 + 5.0 * beat)}, 2.2), grey_material(0.7 + 0.2 * beat),
          {{1, 1}, 0.2});
  }
}

// Rows 14 and 15: the author's name in leaning letters over a swept underline with a star.
void draw_signature(Canvas& sheet, const std::vector<Glyph>& font) {
  const char* name = "KELVARDO";
  std::vector<Shape> strokes;
  for (int i = 0; name[i]; ++i) {
    strokes.push_back(tube(fit(font[std::size_t((unsigned char)name[i])], {22.0 + i * 23.0, 225.0}, 1.3, 0.28), 1.35));
  }
  Material ink;
  ink.tint = metal(225, 246, 0.98, 0.66);
  ink.specular = 0.5;
  paint(sheet, 0, 224, 256, 256, merged(strokes), ink, {{1, 1}, 0.2});
  // The underline thickens towards its middle and thins out at both ends.
  std::vector<Shape> sweep;
  for (int i = 0; i < 40; ++i) {
    auto at = [](double t) { return Pt{12 + 232 * t, 251.0 - 3.5 * std::sin(kPi * t) + 1.5 * t}; };
    double t0 = i / 40.0, t1 = (i + 1) / 40.0;
    sweep.push_back(tube({{at(t0), at(t1)}}, 0.5 + 1.1 * std::sin(kPi * (t0 + t1) / 2)));
  }
  Material line = grey_material(0.85);
  line.specular = 0.7;
  paint(sheet, 0, 240, 256, 256, merged(sweep), line, {{1, 1}, 0.2});
  paint(sheet, 220, 224, 246, 246, faceted({star_poly({233, 234}, 8.0, 3.2, 0.2)}, 0.9), grey_material(0.95), {{1, 1}, 0.2});
}

Canvas glyph_sheet(const std::vector<Glyph>& font) {
  Canvas sheet(256, 256);
  draw_symbols(sheet);
  draw_banner(sheet, font);
  for (int code = 32; code < 128; ++code) draw_character(sheet, font[std::size_t(code)], code);
  draw_spinning_letters(sheet);
  draw_star_and_heart_rows(sheet);
  draw_signature(sheet, font);
  return sheet;
}

// --- the sprite sheets -----------------------------------------------------------------------

// grey, white, red, orange, yellow, lime, green, cyan, azure, violet, magenta, pink
const Col kHues[12] = {{0.6, 0.6, 0.62},  {1.0, 1.0, 1.0},  {1.0, 0.12, 0.1},  {1.0, 0.52, 0.06},
                       {1.0, 0.9, 0.1},   {0.62, 1.0, 0.1}, {0.1, 0.78, 0.2},  {0.1, 0.92, 0.92},
                       {0.12, 0.5, 1.0},  {0.55, 0.25, 1.0}, {1.0, 0.15, 0.85}, {1.0, 0.5, 0.72}};

// Tiles 12 to 15: a ring around a K, rocking a little from tile to tile.
void draw_author_marks(Canvas& sheet) {
  const double tilt[4] = {0.0, -0.14, 0.0, 0.14};
  Material white = grey_material(1.0);
  white.ambient = 0.4;
  for (int k = 0; k < 4; ++k) {
    Pt c{8.0, (12 + k) * 16 + 8.0};
    Glyph mark;
    for (int i = 0; i < 24; ++i) {
      double a0 = 2 * kPi * i / 24, a1 = 2 * kPi * (i + 1) / 24;
      mark.push_back({{c.x + 6.7 * std::cos(a0), c.y + 6.7 * std::sin(a0)}, {c.x + 6.7 * std::cos(a1), c.y + 6.7 * std::sin(a1)}});
    }
    // A bold K of three strokes, turned by the tile's tilt.
    const Seg k_strokes[3] = {{{-2.6, -4.0}, {-2.6, 4.0}}, {{-2.2, 0.6}, {3.0, -4.0}}, {{-0.9, -0.5}, {3.0, 4.0}}};
    for (const Seg& s : k_strokes) {
      auto turn = [&](Pt p) {
        return Pt{c.x + p.x * std::cos(tilt[k]) - p.y * std::sin(tilt[k]), c.y + p.x * std::sin(tilt[k]) + p.y * std::cos(tilt[k])};
      };
      mark.push_back({turn(s.a), turn(s.b)});
    }
    paint(sheet, 0, (12 + k) * 16, 16, (13 + k) * 16, tube(mark, 0.9), white);
  }
}

Canvas sprite_sheet(bool stars) {
  Canvas sheet(16, 256);
  for (int k = 0; k < 12; ++k) {
    Material m;
    m.base = kHues[k];
    Pt c{8.0, k * 16 + 8.0};
    if (stars) {
      m.ambient = 0.38;
      m.specular = 0.55;
      m.shine = 16;
      paint(sheet, 0, k * 16, 16, k * 16 + 16, faceted({star_poly({c.x, c.y + 0.4}, 7.9, 3.3, 0)}, 0.85), m);
    } else {
      m.ambient = 0.28;
      m.specular = 0.9;
      m.shine = 28;
      paint(sheet, 0, k * 16, 16, k * 16 + 16, ball(c, 7.5), m);
    }
  }
  draw_author_marks(sheet);
  return sheet;
}

// --- the logo --------------------------------------------------------------------------------

Canvas logo() {
  Canvas pic(256, 64);
  const char* word = "KROM";
  const double k = 56.0 / 52.0;
  Material m;
  m.tint = metal(2, 58, 0.95, 0.5);
  m.ambient = 0.28;
  m.specular = 0.5;
  m.shine = 14;
  for (int i = 0; i < 4; ++i) {
    double x = 4 + i * 64;
    paint(pic, int(x) - 2, 0, int(x) + 64, 64, bevelled(scaled_polys(letter_polys(word[i]), {x, 2}, k), 4.5), m, {{3, 3}, 0.16});
  }
  return pic;
}

bool write(const std::string& dir, const char* file, const Canvas& c, bool grey, const char* comment) {
  std::string path = dir + "/" + file;
  if (write_pnm(path.c_str(), c, grey, comment)) return true;
  std::fprintf(stderr, "krom-resgen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: krom-resgen OUTDIR\n");
    return 2;
  }
  std::vector<Glyph> font = read_font(KROM_FONT16);
  if (font.size() != 256) {
    std::fprintf(stderr, "krom-resgen: %s holds %zu glyphs, not 256\n", KROM_FONT16, font.size());
    return 1;
  }
  std::string dir = argv[1];
  bool ok = write(dir, "glyphs.pgm", glyph_sheet(font), true, "# KROM7316 glyph sheet: 16 x 16 cells of 16 x 16, characters 32-127 in rows 2-7 (krom-resgen)");
  ok = write(dir, "balls.ppm", sprite_sheet(false), false, "# KROM7316 ball sprites: 16 tiles of 16 x 16, twelve colours and the author mark (krom-resgen)") && ok;
  ok = write(dir, "stars.ppm", sprite_sheet(true), false, "# KROM7316 star sprites: 16 tiles of 16 x 16, twelve colours and the author mark (krom-resgen)") && ok;
  ok = write(dir, "logo.pgm", logo(), true, "# KROM7316 logo: the product word in bevelled grey letters, 256 x 64 (krom-resgen)") && ok;
  return ok ? 0 : 1;
}
