// Resource generator: the height-field painter and the shapes it paints.
#include "tools/resgen/shade.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace resgen {
namespace {

constexpr int kSub = 4;           // samples per pixel along each axis
constexpr double kEps = 0.2;      // step of the finite differences, pixels

struct V3 {
  double x, y, z;
};
V3 norm(V3 v) {
  double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Light from the upper left and a little in front; the viewer looks straight down.
const V3 kLight = norm({-1.0, -1.1, 1.4});
const V3 kHalf = norm({kLight.x, kLight.y, kLight.z + 1.0});

Col lit(const Material& m, Pt p, V3 n) {
  Col base = m.tint ? m.tint(p) : m.base;
  double diffuse = std::max(0.0, dot(n, kLight));
  double k = m.ambient + (1.0 - m.ambient) * diffuse * 1.2;
  double s = m.specular * std::pow(std::max(0.0, dot(n, kHalf)), m.shine);
  return {base.r * k + s, base.g * k + s, base.b * k + s};
}

}  // namespace

void paint(Canvas& canvas, int x0, int y0, int x1, int y1, const Shape& shape, const Material& material,
           const Shadow& shadow) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, canvas.w);
  y1 = std::min(y1, canvas.h);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      Col sum{0, 0, 0};
      int covered = 0;
      for (int j = 0; j < kSub; ++j) {
        for (int i = 0; i < kSub; ++i) {
          Pt p{x + (i + 0.5) / kSub, y + (j + 0.5) / kSub};
          Surf s = shape(p);
          if (s.in) {
            double hx = (shape({p.x + kEps, p.y}).h - shape({p.x - kEps, p.y}).h) / (2 * kEps);
            double hy = (shape({p.x, p.y + kEps}).h - shape({p.x, p.y - kEps}).h) / (2 * kEps);
            Col c = lit(material, p, norm({-hx, -hy, 1.0}));
            sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
            ++covered;
          } else if (shadow.level > 0 && shape({p.x - shadow.offset.x, p.y - shadow.offset.y}).in) {
            sum = {sum.r + shadow.level, sum.g + shadow.level, sum.b + shadow.level};
            ++covered;
          }
        }
      }
      if (covered == 0) continue;
      constexpr double n = kSub * kSub;
      double keep = 1.0 - covered / n;
      Col& o = canvas.at(x, y);
      o = {o.r * keep + sum.r / n, o.g * keep + sum.g / n, o.b * keep + sum.b / n};
    }
  }
}

double seg_distance(Pt p, const Seg& s) {
  double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (s.a.x + t * dx), p.y - (s.a.y + t * dy));
}

double segs_distance(Pt p, const std::vector<Seg>& segs) {
  double d = 1e9;
  for (const Seg& s : segs) d = std::min(d, seg_distance(p, s));
  return d;
}

bool polys_inside(Pt p, const std::vector<Poly>& polys) {
  bool in = false;
  for (const Poly& poly : polys) {
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
      const Pt& a = poly[i];
      const Pt& b = poly[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
  }
  return in;
}

double polys_edge_distance(Pt p, const std::vector<Poly>& polys) {
  double d = 1e9;
  for (const Poly& poly : polys) {
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) d = std::min(d, seg_distance(p, {poly[j], poly[i]}));
  }
  return d;
}

Shape tube(std::vector<Seg> segs, double r) {
  return [segs = std::move(segs), r](Pt p) {
    double d = segs_distance(p, segs);
    if (d >= r) return Surf{false, 0};
    return Surf{true, std::sqrt(r * r - d * d)};
  };
}

Shape bevelled(std::vector<Poly> polys, double bevel) {
  return [polys = std::move(polys), bevel](Pt p) {
    if (!polys_inside(p, polys)) return Surf{false, 0};
    return Surf{true, std::min(polys_edge_distance(p, polys), bevel)};
  };
}

Shape faceted(std::vector<Poly> polys, double slope) {
  return [polys = std::move(polys), slope](Pt p) {
    if (!polys_inside(p, polys)) return Surf{false, 0};
    return Surf{true, polys_edge_distance(p, polys) * slope};
  };
}

Shape cushion(std::vector<Poly> polys, double rim) {
  return [polys = std::move(polys), rim](Pt p) {
    if (!polys_inside(p, polys)) return Surf{false, 0};
    double t = std::min(polys_edge_distance(p, polys) / rim, 1.0);
    return Surf{true, rim * std::sqrt(1.0 - (1.0 - t) * (1.0 - t))};
  };
}

Shape ball(Pt c, double r) {
  return [c, r](Pt p) {
    double d = std::hypot(p.x - c.x, p.y - c.y);
    if (d >= r) return Surf{false, 0};
    return Surf{true, std::sqrt(r * r - d * d)};
  };
}

Shape placed(const Shape& shape, Pt from, Pt to, double sx, double sy) {
  double hscale = std::sqrt(std::fabs(sx * sy));
  return [shape, from, to, sx, sy, hscale](Pt p) {
    Surf s = shape({from.x + (p.x - to.x) / sx, from.y + (p.y - to.y) / sy});
    return Surf{s.in, s.h * hscale};
  };
}

bool write_pnm(const char* path, const Canvas& canvas, bool grey, const char* comment) {
  if (std::strlen(comment) > 102) return false;
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  char line[104];
  std::snprintf(line, sizeof line, "%-102s", comment);
  std::fprintf(f, "%s\n%s\n%d %d\n255\n", grey ? "P5" : "P6", line, canvas.w, canvas.h);
  std::vector<unsigned char> raster;
  raster.reserve(canvas.px.size() * 3);
  auto byte = [](double v) { return (unsigned char)std::lround(std::clamp(v, 0.0, 1.0) * 255.0); };
  for (const Col& c : canvas.px) {
    unsigned char r = byte(c.r), g = byte(c.g), b = byte(c.b);
    // The faintest edge samples would only speckle the transparent black: keep them black.
    if (std::max({r, g, b}) < 5) r = g = b = 0;
    raster.push_back(r);
    if (!grey) {
      raster.push_back(g);
      raster.push_back(b);
    }
  }
  bool ok = std::fwrite(raster.data(), 1, raster.size(), f) == raster.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace resgen
