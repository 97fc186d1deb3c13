// Shaded vector artwork for the resource generator. A shape answers, for any point of the
// picture plane, whether the point is inside and how high the surface stands there; painting
// lights that height field from the upper left (normals by finite differences), adds a
// highlight, a drop shadow if asked, and averages 4 x 4 samples per pixel for smooth edges.
// Coordinates are pixels, continuous: pixel (i, j) covers [i, i + 1) x [j, j + 1).
#pragma once
#include <functional>
#include <vector>

namespace resgen {

struct Pt {
  double x, y;
};

struct Col {
  double r, g, b;
};

// Where a shape stands above the ground at one point: `in` for covered, `h` its height in pixels.
struct Surf {
  bool in;
  double h;
};
using Shape = std::function<Surf(Pt)>;

// Surface colour and how it takes the light; `tint` (optional) varies the base over the picture.
struct Material {
  Col base{0.8, 0.8, 0.8};
  double ambient = 0.3;
  double specular = 0.6;       // strength of the highlight
  double shine = 20.0;      // exponent of the highlight: larger is smaller and sharper
  std::function<Col(Pt)> tint;
};

// Drop shadow behind a shape: offset in pixels and its grey level (0 = none).
struct Shadow {
  Pt offset{0, 0};
  double level = 0.0;
};

// An RGB picture of linear values 0 ... 1, black at creation.
struct Canvas {
  int w, h;
  std::vector<Col> px;
  Canvas(int width, int height) : w(width), h(height), px(std::size_t(width) * std::size_t(height), Col{0, 0, 0}) {}
  Col& at(int x, int y) { return px[std::size_t(y) * std::size_t(w) + std::size_t(x)]; }
};

// Paints the shape into the pixels x0 <= x < x1, y0 <= y < y1 (clipped to the canvas), over
// what is there: covered samples and shadow samples replace, the rest lets the old pixel through.
void paint(Canvas& canvas, int x0, int y0, int x1, int y1, const Shape& shape, const Material& material,
           const Shadow& shadow = {});

// --- distance fields and profiles -----------------------------------------------------------

struct Seg {
  Pt a, b;
};
double seg_distance(Pt p, const Seg& s);
// Distance from p to the nearest of the segments.
double segs_distance(Pt p, const std::vector<Seg>& segs);

// Closed polygons, filled by the even-odd rule (a second contour inside the first is a hole).
using Poly = std::vector<Pt>;
bool polys_inside(Pt p, const std::vector<Poly>& polys);
double polys_edge_distance(Pt p, const std::vector<Poly>& polys);

// Round tubes of radius r along the segments.
Shape tube(std::vector<Seg> segs, double r);
// Filled polygons with a flat top and a straight chamfer of width `bevel` along every edge.
Shape bevelled(std::vector<Poly> polys, double bevel);
// Filled polygons rising steadily from every edge: ridges where two edges are equally near,
// which is what cuts a star into its ten facets.
Shape faceted(std::vector<Poly> polys, double slope);
// Filled polygons with a rounded rim of width `rim`: a cushion.
Shape cushion(std::vector<Poly> polys, double rim);
// A sphere of radius r about c, seen from above.
Shape ball(Pt c, double r);

// The shape moved so that its point `from` lands on `to`, scaled by (sx, sy) about `from`.
Shape placed(const Shape& shape, Pt from, Pt to, double sx, double sy);

// --- output ---------------------------------------------------------------------------------

// A raw PNM file: magic line, one comment line (padded with blanks to 102 characters), size
// line, "255", samples. Grey pictures take the red channel. Returns false on a write failure.
bool write_pnm(const char* path, const Canvas& canvas, bool grey, const char* comment);

}  // namespace resgen
