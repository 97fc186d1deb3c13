// The clip-and-skip line walkers the image layer used before its one clipped walker: each step
// of the visible run tests its minor coordinate and multiplies out its row. Kept as references
// for the stepping walker; they agree with the plain walk on every line it can take.
#pragma once
#include <algorithm>
#include <cstdint>

#include "image/img.h"

// Bresenham with a halved initial error. Only the steps whose major coordinate lies inside the
// image are walked: the state at the first of them follows in closed form from the step count
// (after i >= 1 steps the minor coordinate has moved k = floor((i*a_minor - e0) / a_major) + 1
// times, and the error is a_major minus the remainder), so huge end points cost no more than
// short ones and every plotted pixel is the one the plain walk would plot.
inline void skip_walk_line(Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, uint32_t colour) {
  if (!img_valid(image)) {
    return;
  }
  const int64_t ddx = int64_t(col1) - col0, ddy = int64_t(row1) - row0;
  const int64_t stepx = ddx > 0 ? 1 : (ddx < 0 ? -1 : 0);
  const int64_t stepy = ddy > 0 ? 1 : (ddy < 0 ? -1 : 0);
  const int64_t ax = ddx < 0 ? -ddx : ddx, ay = ddy < 0 ? -ddy : ddy;
  const bool xmajor = ax > ay;
  // Major/minor views of the same walk.
  const int64_t amaj = xmajor ? ax : ay, amin = xmajor ? ay : ax;
  const int64_t smaj = xmajor ? stepx : stepy, smin = xmajor ? stepy : stepx;
  const int64_t maj0 = xmajor ? col0 : row0, min0 = xmajor ? row0 : col0;
  const int64_t majext = xmajor ? image->width : image->height;
  const int64_t minext = xmajor ? image->height : image->width;
  // Steps i in [lo, hi] have their major coordinate inside 0 .. majext - 1.
  int64_t lo = 0, hi = amaj;
  if (smaj > 0) {
    lo = std::max<int64_t>(lo, -maj0);
    hi = std::min<int64_t>(hi, majext - 1 - maj0);
  } else if (smaj < 0) {
    lo = std::max<int64_t>(lo, maj0 - (majext - 1));
    hi = std::min<int64_t>(hi, maj0);
  } else if (maj0 < 0 || maj0 >= majext) {
    return;
  }
  if (lo > hi) return;
  const int64_t e0 = amaj >> 1;
  int64_t k = 0, e = e0;
  if (lo > 0 && e0 == 0) {
    // A major extent of 1 halves to an error of 0, which the closed form below does not cover
    // (it assumes 0 < e <= a_major between steps); there is only the one step to walk.
    for (int64_t i = 0; i < lo; ++i) {
      e -= amin;
      if (e <= 0) {
        e += amaj;
        ++k;
      }
    }
  } else if (lo > 0) {
    const uint64_t prod = uint64_t(lo) * uint64_t(amin);  // < 2^64: lo <= 2^32, amin < 2^32
    if (prod < uint64_t(e0)) {
      e = e0 - int64_t(prod);
    } else {
      const uint64_t t = prod - uint64_t(e0);
      k = int64_t(t / uint64_t(amaj)) + 1;
      e = amaj - int64_t(t % uint64_t(amaj));
    }
  }
  int64_t maj = maj0 + lo * smaj, mn = min0 + k * smin;
  for (int64_t i = lo; i <= hi; ++i) {
    if (mn >= 0 && mn < minext) {
      if (xmajor) img_row(image, int32_t(mn))[maj] = colour;
      else img_row(image, int32_t(maj))[mn] = colour;
    }
    maj += smaj;
    e -= amin;
    if (e <= 0) {
      e += amaj;
      mn += smin;
    }
  }
}

inline void skip_walk_line_bicolor(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1,
                                   int32_t row1, uint32_t colour1) {
  if (!img_valid(image)) {
    // Every plotted pixel would report the image module's error; one report stands for them.
    img_set_pixel(image, col0, row0, colour0);
    return;
  }
  const int64_t ddx = int64_t(col1) - col0, ddy = int64_t(row1) - row0;
  const int64_t stepx = ddx > 0 ? 1 : (ddx < 0 ? -1 : 0);
  const int64_t stepy = ddy > 0 ? 1 : (ddy < 0 ? -1 : 0);
  const int64_t ax = ddx < 0 ? -ddx : ddx, ay = ddy < 0 ? -ddy : ddy;
  if (ax == 0 && ay == 0) {
    img_set_pixel(image, col0, row0, colour0);
    return;
  }
  const bool xmajor = ax > ay;
  // Major/minor views of the same walk; `len` is the number of steps.
  const int64_t len = xmajor ? ax : ay, amin = xmajor ? ay : ax;
  const int64_t smaj = xmajor ? stepx : stepy, smin = xmajor ? stepy : stepx;
  const int64_t maj0 = xmajor ? col0 : row0, min0 = xmajor ? row0 : col0;
  const int64_t majext = xmajor ? image->width : image->height;
  const int64_t minext = xmajor ? image->height : image->width;
  // Only steps i in [lo, hi] have their major coordinate inside the image (smaj is never 0).
  int64_t lo = 0, hi = len;
  if (smaj > 0) {
    lo = maj0 < 0 ? -maj0 : 0;
    hi = majext - 1 - maj0 < hi ? majext - 1 - maj0 : hi;
  } else {
    lo = maj0 > majext - 1 ? maj0 - (majext - 1) : 0;
    hi = maj0 < hi ? maj0 : hi;
  }
  if (lo > hi) return;
  // State before step lo. Bresenham: between steps 0 < e <= len once len >= 2, so after lo steps
  // the lo * amin subtracted have wrapped t / len + 1 times (t = lo * amin - e0) when they reach e0.
  const int64_t e0 = len >> 1;
  int64_t wraps = 0, e = e0;
  if (lo > 0 && e0 == 0) {
    // len == 1: one step at most, walked as it is.
    e -= amin;
    if (e <= 0) {
      e += len;
      ++wraps;
    }
  } else if (lo > 0) {
    const uint64_t prod = uint64_t(lo) * uint64_t(amin);  // lo, amin < 2^33
    if (prod < uint64_t(e0)) {
      e = e0 - int64_t(prod);
    } else {
      const uint64_t t = prod - uint64_t(e0);
      wraps = int64_t(t / uint64_t(len)) + 1;
      e = len - int64_t(t % uint64_t(len));
    }
  }
  // Dither: step i subtracts i from m and adds len back whenever m drops to 0 or below, which
  // keeps 0 < m <= len; so before step lo, m = len - (lo (lo - 1) / 2 mod len), or len when that
  // remainder is 0.
  int64_t m = len;
  if (lo > 0) {
    const uint64_t a = uint64_t(lo), b = uint64_t(lo - 1);
    const uint64_t tri = (a % 2 == 0) ? (a / 2) * b : a * (b / 2);  // < 2^64: lo < 2^33
    const int64_t rem = int64_t(tri % uint64_t(len));
    m = len - rem;
  }
  int64_t maj = maj0 + lo * smaj, mn = min0 + wraps * smin;
  for (int64_t i = lo; i <= hi; ++i) {
    m -= i;
    uint32_t colour = colour0;
    if (m <= 0) {
      colour = colour1;
      m += len;
    }
    if (mn >= 0 && mn < minext) {
      if (xmajor) img_row(image, int32_t(mn))[maj] = colour;
      else img_row(image, int32_t(maj))[mn] = colour;
    }
    maj += smaj;
    e -= amin;
    if (e <= 0) {
      e += len;
      mn += smin;
    }
  }
}
