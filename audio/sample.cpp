// SAMPLE: growable array of signed 32-bit values (mono audio, integer tables).
#include "audio/sample.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/fixed.h"
#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"SAMPLE  ", "Kelvardo", "19970412", "C       ",
                                                 "CODE    "};

constexpr bool kReport = false;

void sample_error() {
  if (kReport) puts("SAMPLE error");
}

bool has_data(const Sample* s) { return s && s->data; }

int32_t common_length(const Sample* a, const Sample* b) {
  return a->length < b->length ? a->length : b->length;
}

}  // namespace

Sample* sample_new() {
  Sample* s = static_cast<Sample*>(calloc(1, sizeof(Sample)));
  if (!s) {
    sample_error();
    return nullptr;
  }
  sample_reserve(s, 32);
  return s;
}

void sample_free(Sample** s) {
  if (!s || !*s) {
    sample_error();
    return;
  }
  free((*s)->data);
  free(*s);
  *s = nullptr;
}

void sample_reserve(Sample* s, int32_t n) {
  if (!s || n < 0) {
    sample_error();
    return;
  }
  if (n == s->capacity) return;
  if (n == 0) {
    free(s->data);
    s->data = nullptr;
    s->capacity = 0;
    s->length = 0;
    return;
  }
  int32_t* data = static_cast<int32_t*>(calloc(size_t(n), sizeof(int32_t)));
  if (!data) {
    sample_error();
    return;
  }
  const int32_t keep = s->length > n ? n : s->length;
  if (s->data && keep > 0) memcpy(data, s->data, size_t(keep) * sizeof(int32_t));
  free(s->data);
  s->data = data;
  s->capacity = n;
  s->length = keep;
}

void sample_set_length(Sample* s, int32_t n) {
  if (!s || n < 0) {
    sample_error();
    return;
  }
  if (s->capacity < n) {
    sample_reserve(s, n);
    if (s->capacity < n) return;  // the growth failed and reported
  }
  s->length = n;
}

Sample* sample_clone(const Sample* s) {
  if (!s || (s->length > 0 && !s->data)) {
    sample_error();
    return nullptr;
  }
  Sample* c = static_cast<Sample*>(calloc(1, sizeof(Sample)));
  if (!c) {
    sample_error();
    return nullptr;
  }
  if (s->length > 0) {
    sample_reserve(c, s->length);
    if (!c->data) {
      free(c);
      return nullptr;
    }
    memcpy(c->data, s->data, size_t(s->length) * sizeof(int32_t));
    c->length = s->length;
  }
  return c;
}

int32_t sample_get(const Sample* s, int32_t index) {
  if (!has_data(s) || index < 0 || index >= s->length) {
    sample_error();
    return 0;
  }
  return s->data[index];
}

void sample_set(Sample* s, int32_t index, int32_t value) {
  if (!has_data(s) || index < 0 || index >= s->length) {
    sample_error();
    return;
  }
  s->data[index] = value;
}

void sample_clear(Sample* s) {
  if (!has_data(s)) {
    sample_error();
    return;
  }
  memset(s->data, 0, size_t(s->length) * sizeof(int32_t));
}

void sample_mul(Sample* s, int32_t k) {
  if (!has_data(s)) {
    sample_error();
    return;
  }
  int32_t* d = s->data;
  for (int32_t i = 0; i < s->length; ++i) d[i] = wrap_mul(d[i], k);
}

void sample_div(Sample* s, int32_t k) {
  if (!has_data(s) || k == 0) {
    sample_error();
    return;
  }
  int32_t* d = s->data;
  if (k == -1) {
    // -2147483648 / -1 does not fit; it wraps to itself like the negation.
    for (int32_t i = 0; i < s->length; ++i) d[i] = wrap_neg(d[i]);
    return;
  }
  for (int32_t i = 0; i < s->length; ++i) d[i] /= k;
}

void sample_shr(Sample* s, int32_t shift) {
  if (!has_data(s) || shift < 0 || shift > 32) {
    sample_error();
    return;
  }
  const int32_t by = shift % 32;
  if (by == 0) return;
  int32_t* d = s->data;
  for (int32_t i = 0; i < s->length; ++i) d[i] >>= by;
}

void sample_add(Sample* dst, const Sample* src) {
  if (!has_data(dst) || !has_data(src)) {
    sample_error();
    return;
  }
  int32_t* d = dst->data;
  const int32_t* s = src->data;
  for (int32_t i = common_length(dst, src) - 1; i >= 0; --i) d[i] = wrap_add(d[i], s[i]);
}

void sample_mul_sample(Sample* dst, const Sample* src) {
  if (!has_data(dst) || !has_data(src)) {
    sample_error();
    return;
  }
  int32_t* d = dst->data;
  const int32_t* s = src->data;
  const int32_t n = common_length(dst, src);
  for (int32_t i = 0; i < n; ++i) d[i] = wrap_mul(d[i], s[i]);
}

void sample_add_scaled(Sample* dst, const Sample* src, int32_t factor) {
  if (!has_data(dst) || !has_data(src)) {
    sample_error();
    return;
  }
  int32_t* d = dst->data;
  const int32_t* s = src->data;
  for (int32_t i = common_length(dst, src) - 1; i >= 0; --i)
    d[i] = wrap_add(d[i], wrap_mul(s[i], factor) >> FIX_SHIFT);
}

void sample_rotate(Sample* s, int32_t r) {
  if (!has_data(s) || s->length <= 0 || r < 0) {
    sample_error();
    return;
  }
  const int32_t n = s->length;
  r %= n;
  if (r == 0) return;
  int32_t* data = static_cast<int32_t*>(calloc(size_t(n), sizeof(int32_t)));
  if (!data) {
    sample_error();
    return;
  }
  memcpy(data + r, s->data, size_t(n - r) * sizeof(int32_t));
  memcpy(data, s->data + (n - r), size_t(r) * sizeof(int32_t));
  free(s->data);
  s->data = data;
  s->capacity = n;
}

void sample_ramp(Sample* s, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  if (!has_data(s)) {
    sample_error();
    return;
  }
  if (x0 > x1) {
    const int32_t t = x0;
    x0 = x1;
    x1 = t;
  }
  if (x0 < 0 || x1 >= s->length) {
    sample_error();
    return;
  }
  int32_t* d = s->data;
  // The error terms run in 64 bits so that far-apart end values cannot overflow.
  const int64_t dx = int64_t(x1) - x0;
  int64_t dy = int64_t(y1) - y0;
  const int64_t step = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
  if (dy < 0) dy = -dy;
  int64_t y = y0;
  if (dx > dy) {
    int64_t e = dx >> 1;
    for (int32_t x = x0; x <= x1; ++x) {
      d[x] = int32_t(y);
      e -= dy;
      if (e <= 0) {
        e += dx;
        y += step;
      }
    }
    return;
  }
  if (dx == 0) {
    // One index and a tall rise: the steep loop would never consume its error.
    d[x0] = y0;
    return;
  }
  int64_t e = dy >> 1;
  for (int32_t x = x0; x <= x1; ++x) {
    d[x] = int32_t(y);
    if (e > 0) {
      // The vertical steps taken while the error is positive, all at once.
      const int64_t k = (e + dx - 1) / dx;
      y += k * step;
      e -= k * dx;
    }
    e += dy;
  }
}

void sample_copy_range(const Sample* src, Sample* dst, int32_t n, int32_t a, int32_t b) {
  if (!has_data(src) || !has_data(dst)) {
    sample_error();
    return;
  }
  if (n <= 0) return;
  if (a < 0 || b < 0 || int64_t(a) + n > src->length || int64_t(b) + n > dst->length) {
    sample_error();
    return;
  }
  // memmove copies overlapping ranges as the downward copy does when a < b < a + n.
  memmove(dst->data + b, src->data + a, size_t(n) * sizeof(int32_t));
}
