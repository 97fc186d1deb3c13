// SYSRAND: the system library's additive-feedback generator (see sysrand.h).
#include "platform/sysrand.h"

namespace {

constexpr int32_t kLongLag = 31;
constexpr int32_t kShortLag = 3;
constexpr int32_t kRing = 34;
// Words thrown away after seeding, so that the sequence has left the linear fill behind.
constexpr int32_t kWarmUp = 310;

// 16807 * x mod (2^31 - 1) in 32-bit signed arithmetic (Schrage's method), as the fill does it;
// a seed above 2^31 - 1 enters as a negative word, and the division truncates towards zero.
int32_t minstd_step(int32_t x) {
  const int32_t hi = x / 127773;
  const int32_t lo = x % 127773;
  int32_t word = 16807 * lo - 2836 * hi;
  if (word < 0) word += 2147483647;
  return word;
}

uint32_t next_word(SysRand* g) {
  const int32_t i = g->i;
  const uint32_t w = g->r[(i + kRing - kLongLag) % kRing] + g->r[(i + kRing - kShortLag) % kRing];
  g->r[i] = w;
  g->i = (i + 1) % kRing;
  return w;
}

}  // namespace

void sysrand_seed(SysRand* g, uint32_t seed) {
  if (!g) return;
  if (seed == 0) seed = 1;
  int32_t x = int32_t(seed);
  g->r[0] = uint32_t(x);
  for (int32_t k = 1; k < kLongLag; ++k) {
    x = minstd_step(x);
    g->r[k] = uint32_t(x);
  }
  for (int32_t k = kLongLag; k < kRing; ++k) g->r[k] = g->r[k - kLongLag];
  g->i = 0;
  for (int32_t k = 0; k < kWarmUp; ++k) next_word(g);
}

int32_t sysrand_next(SysRand* g) {
  if (!g) return 0;
  return int32_t(next_word(g) >> 1);
}
