// SYSRAND: the Linux system library's shared generator behind srand/srandom/rand/random, as a
// plain record, so that a platform whose own C library draws differently (the browser's) plays
// the same show for the same seed. The generator is an additive lagged-Fibonacci sequence,
// r[i] = r[i-3] + r[i-31] (mod 2^32), started from a minimal-standard congruential fill of the
// seed; each draw is the new word shifted right by one, so draws lie in 0 .. 2^31 - 1.
#pragma once
#include <cstdint>

struct SysRand {
  uint32_t r[34];   // ring of the last 34 words (the lags need 31 back)
  int32_t i;        // ring index of the next word
};

// Seeds like srandom(seed) (and srand(seed)): seed 0 acts as 1.
void sysrand_seed(SysRand* g, uint32_t seed);
// The next draw, like random() (and rand(), which shares the generator): 0 .. 2^31 - 1.
int32_t sysrand_next(SysRand* g);
