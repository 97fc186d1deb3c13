// Shared arithmetic helpers: 16.16 fixed point and 32-bit wrap-around without undefined behaviour.
#pragma once
#include <cstdint>

constexpr int FIX_SHIFT = 16;                 // 16.16 fixed point: 0x10000 is 1.0
constexpr int32_t FIX_ONE = 1 << FIX_SHIFT;

// Two's-complement wrap-around as the 32-bit machine does it, computed in unsigned arithmetic.
constexpr int32_t wrap_add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
constexpr int32_t wrap_sub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
constexpr int32_t wrap_mul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }
constexpr int32_t wrap_neg(int32_t a) { return int32_t(0u - uint32_t(a)); }
// Left shift of a signed value, wrapping; s is 0 .. 31. (C++20 defines a << s as this wrap for
// every a; the helper names the intent.)
constexpr int32_t wrap_shl(int32_t a, int s) { return int32_t(uint32_t(a) << s); }
