// RES: the embedded pictures, wire fonts and texts; the arrays themselves are generated from
// resources/data/ at build time (resources/embed.cmake), the pictures by tools/resgen.
#include "resources/resources.h"

#include "image/ident.h"

namespace {
[[gnu::used]] constexpr Identity kIdentity = {"RES     ", "20150812", "Kelvardo", "C       ", "CODE    "};
}  // namespace
