// The Linux system library's srand/srandom/rand/random in place of the browser C library's
// own, which draw a different sequence: a seed plays the same show in the page as in the native
// program. Linked into the page and into the test programs built for the browser, whose
// definitions replace the C library's at link time. Both pairs share one generator, as on Linux.
#include <cstdlib>

#include "platform/sysrand.h"

namespace {

SysRand generator = {};
bool generator_seeded = false;

SysRand* the_generator() {
  if (!generator_seeded) {
    sysrand_seed(&generator, 1);   // the system library's state before any seeding
    generator_seeded = true;
  }
  return &generator;
}

}  // namespace

extern "C" {
void srand(unsigned seed) { sysrand_seed(the_generator(), seed); }
void srandom(unsigned seed) { sysrand_seed(the_generator(), seed); }
int rand(void) { return sysrand_next(the_generator()); }
long random(void) { return sysrand_next(the_generator()); }
}
