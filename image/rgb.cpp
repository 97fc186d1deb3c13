// RGB888 colour arithmetic on pixel words, the hue wheel, INT absolute value, and the checks of
// the shared sine table.
#include "image/rgb.h"

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

static_assert(sine_table[0] == 0 && sine_table[1] == 201 && sine_table[64] == 12539 && sine_table[128] == 23170);
static_assert(sine_table[129] == 23312 && sine_table[183] == 29535 && sine_table[255] == 32766 &&
              sine_table[256] == 32766);
static_assert(sine_table[511] == 0 && sine_table[512] == 0 && sine_table[767] == -32766 &&
              sine_table[768] == -32766);
static_assert(sine_table[1023] == 0);

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

uint32_t rgb_hue(int32_t index) {
  if (index < 0 || index >= hue_length) return 0;
  const uint32_t i = uint32_t(index) & 255u;
  switch (index >> 8) {
    case 0: return 0x00FF00u + i;
    case 1: return 0x00FFFFu - (i << 8);
    case 2: return (i << 16) + 0x0000FFu;
    case 3: return 0xFF00FFu - i;
    case 4: return 0xFF0000u + (i << 8);
    default: return 0xFFFF00u - (i << 16);
  }
}
