// RGB888 colour arithmetic on pixel words, INT absolute value, and the shared sine table.
#include "image/rgb.h"

#include <array>

#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kRgbIdent{"RGB888  ", "19970312", "Kelvardo", "C       ", "CODE    "};
[[gnu::used]] constexpr Identity kIntIdent{"INT     ", "Kelvardo", "19970312", "C       ", "CODE    "};
[[gnu::used]] constexpr Identity kSineIdent{"SINE    ", "19970312", "C       ", "Kelvardo", "CODE    "};

constexpr uint32_t red(uint32_t c) { return (c >> 16) & 255u; }
constexpr uint32_t green(uint32_t c) { return (c >> 8) & 255u; }
constexpr uint32_t blue(uint32_t c) { return c & 255u; }
constexpr uint32_t cap(uint32_t v) { return v > 255u ? 255u : v; }
constexpr uint32_t floor0(uint32_t a, uint32_t b) { return a > b ? a - b : 0u; }

// sin(x) for 0 <= x < pi / 2 by its Taylor series, summed until the terms vanish in double
// precision (|error| < 1e-15): the library sine cannot be folded at compile time by every compiler.
constexpr double series_sin(double x) {
  double term = x, sum = x;
  for (int n = 1; n < 30; ++n) {
    term = -term * x * x / double((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

// Quarter wave: 32767 * sin(2 pi k / 1024) rounded to nearest. Two entries whose exact value lies
// just below .5 (129: 23311.4988, 183: 29534.4977) are one higher, as in the table this system has
// always used. Built by the compiler.
constexpr std::array<int16_t, 256> make_quarter() {
  std::array<int16_t, 256> q{};
  for (int k = 0; k < 256; ++k) {
    const double v = 32767.0 * series_sin(2.0 * 3.14159265358979323846 * k / 1024.0);
    q[std::size_t(k)] = int16_t(v + 0.5);  // v >= 0 in the first quarter
  }
  q[129] = 23312;
  q[183] = 29535;
  return q;
}

constexpr std::array<int16_t, 1024> make_sine() {
  const std::array<int16_t, 256> q = make_quarter();
  std::array<int16_t, 1024> t{};
  for (std::size_t k = 0; k < 256; ++k) {
    t[k] = q[k];
    t[256 + k] = q[255 - k];
    t[512 + k] = int16_t(-q[k]);
    t[768 + k] = int16_t(-q[255 - k]);
  }
  return t;
}

constexpr std::array<int16_t, 1024> kSine = make_sine();
static_assert(kSine[0] == 0 && kSine[1] == 201 && kSine[64] == 12539 && kSine[128] == 23170);
static_assert(kSine[129] == 23312 && kSine[183] == 29535 && kSine[255] == 32766 && kSine[256] == 32766);
static_assert(kSine[511] == 0 && kSine[512] == 0 && kSine[767] == -32766 && kSine[768] == -32766);
static_assert(kSine[1023] == 0);

template <std::size_t N>
struct SineData {
  int16_t v[N];
};
constexpr SineData<1024> to_c_array() {
  SineData<1024> d{};
  for (std::size_t i = 0; i < 1024; ++i) d.v[i] = kSine[i];
  return d;
}
constexpr SineData<1024> kSineData = to_c_array();

}  // namespace

uint32_t rgb_add(uint32_t a, uint32_t b) {
  return cap(red(a) + red(b)) << 16 | cap(green(a) + green(b)) << 8 | cap(blue(a) + blue(b));
}

uint32_t rgb_sub(uint32_t a, uint32_t b) {
  return floor0(red(a), red(b)) << 16 | floor0(green(a), green(b)) << 8 | floor0(blue(a), blue(b));
}

uint32_t rgb_add_grey(uint32_t c, uint32_t level) { return rgb_add(c, (level & 255u) * 0x010101u); }

uint32_t rgb_sub_grey(uint32_t c, uint32_t level) { return rgb_sub(c, (level & 255u) * 0x010101u); }

uint32_t rgb_shift(uint32_t c, int32_t amount) {
  // Negating in unsigned arithmetic keeps INT32_MIN defined; only the low 8 bits matter.
  if (amount >= 0) return rgb_add_grey(c, uint32_t(amount) & 255u);
  return rgb_sub_grey(c, (0u - uint32_t(amount)) & 255u);
}

int32_t int_abs(int32_t v) { return v < 0 ? int32_t(0u - uint32_t(v)) : v; }

extern const int16_t sine_table[1024];
const int16_t sine_table[1024] = {
#define S8(i) kSineData.v[i], kSineData.v[i + 1], kSineData.v[i + 2], kSineData.v[i + 3], \
              kSineData.v[i + 4], kSineData.v[i + 5], kSineData.v[i + 6], kSineData.v[i + 7]
#define S64(i) S8(i), S8(i + 8), S8(i + 16), S8(i + 24), S8(i + 32), S8(i + 40), S8(i + 48), S8(i + 56)
    S64(0),   S64(64),  S64(128), S64(192), S64(256), S64(320), S64(384), S64(448),
    S64(512), S64(576), S64(640), S64(704), S64(768), S64(832), S64(896), S64(960),
#undef S64
#undef S8
};
const int32_t sine_mask = 1023;
const int32_t sine_length = 1024;
