// Sample buffer: storage rules, the element-wise arithmetic, rotation, ramps and range copies.
#include "audio/sample.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

Sample* make(std::vector<int32_t> v) {
  Sample* s = sample_new();
  sample_set_length(s, int32_t(v.size()));
  for (size_t i = 0; i < v.size(); ++i) s->data[i] = v[i];
  return s;
}

std::vector<int32_t> values(const Sample* s) {
  return s->data ? std::vector<int32_t>(s->data, s->data + s->length) : std::vector<int32_t>{};
}

TEST(SampleStorage, NewLengthAndCapacity) {
  Sample* s = sample_new();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->length, 0);
  EXPECT_EQ(s->capacity, 32);
  sample_set_length(s, 44100);
  EXPECT_EQ(s->length, 44100);
  EXPECT_EQ(s->capacity, 44100);
  for (int32_t i = 0; i < 44100; ++i) ASSERT_EQ(s->data[i], 0);
  sample_free(&s);
  EXPECT_EQ(s, nullptr);
}

TEST(SampleStorage, ShrinkKeepsValuesGrowthZeroes) {
  Sample* s = make({1, 2, 3, 4});
  sample_set_length(s, 2);
  sample_set_length(s, 4);
  EXPECT_EQ(values(s), (std::vector<int32_t>{1, 2, 3, 4}));
  sample_set_length(s, 40);  // beyond the capacity of 32
  EXPECT_EQ(s->capacity, 40);
  EXPECT_EQ(s->data[3], 4);
  for (int32_t i = 4; i < 40; ++i) EXPECT_EQ(s->data[i], 0);
  sample_reserve(s, 3);  // lowers the length
  EXPECT_EQ(values(s), (std::vector<int32_t>{1, 2, 3}));
  sample_set_length(s, -1);
  EXPECT_EQ(s->length, 3);
  sample_reserve(s, 0);
  EXPECT_EQ(s->data, nullptr);
  EXPECT_EQ(s->length, 0);
  EXPECT_EQ(s->capacity, 0);
  sample_set_length(s, 2);  // storage again
  EXPECT_EQ(values(s), (std::vector<int32_t>{0, 0}));
  sample_free(&s);
}

TEST(SampleStorage, GetSetOutsideTheLength) {
  Sample* s = make({7, 8});
  sample_set_length(s, 1);
  for (int32_t bad : {-1, 1, 2}) EXPECT_EQ(sample_get(s, bad), 0);
  sample_set(s, 1, 99);
  sample_set(s, -1, 99);
  EXPECT_EQ(s->data[1], 8);
  EXPECT_EQ(sample_get(s, 0), 7);
  EXPECT_EQ(sample_get(nullptr, 0), 0);
  sample_free(&s);
}

TEST(SampleStorage, CloneOfAnEmptySampleHasNoStorage) {
  Sample* e = sample_new();
  Sample* c = sample_clone(e);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->length, 0);
  EXPECT_EQ(c->capacity, 0);
  EXPECT_EQ(c->data, nullptr);
  Sample* other = make({1, 2});
  sample_clear(c);
  sample_add(c, other);
  sample_add(other, c);
  sample_rotate(c, 1);
  EXPECT_EQ(values(other), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(sample_get(c, 0), 0);
  Sample* copy = sample_clone(other);
  EXPECT_EQ(copy->capacity, 2);
  EXPECT_EQ(values(copy), values(other));
  EXPECT_NE(copy->data, other->data);
  for (Sample* s : {e, c, other, copy}) sample_free(&s);
}

TEST(SampleArithmetic, ScalarOperations) {
  struct Case {
    void (*op)(Sample*, int32_t);
    int32_t k;
    std::vector<int32_t> in, out;
  } cases[] = {
      {sample_div, 4, {-1, -7, 7, 8}, {0, -1, 1, 2}},
      {sample_div, -1, {INT_MIN, 5}, {INT_MIN, -5}},
      {sample_shr, 2, {-1, -7, 7}, {-1, -2, 1}},
      {sample_shr, 1, {-7}, {-4}},
      {sample_shr, 32, {-7, 9}, {-7, 9}},
      {sample_shr, 33, {-7, 9}, {-7, 9}},
      {sample_mul, 3, {5, -5, INT_MAX}, {15, -15, INT_MAX - 2}},
      {sample_mul, 65536, {65536, -1}, {0, -65536}},
  };
  for (const Case& c : cases) {
    Sample* s = make(c.in);
    c.op(s, c.k);
    EXPECT_EQ(values(s), c.out) << c.k;
    sample_free(&s);
  }
  Sample* s = make({5});
  sample_div(s, 0);
  EXPECT_EQ(values(s), std::vector<int32_t>{5});
  sample_free(&s);
}

TEST(SampleArithmetic, CombiningOverTheCommonPrefix) {
  Sample* a = make({1, 2, 3});
  Sample* b = make({10, 20});
  sample_add(a, b);
  EXPECT_EQ(values(a), (std::vector<int32_t>{11, 22, 3}));
  sample_add(a, a);
  EXPECT_EQ(values(a), (std::vector<int32_t>{22, 44, 6}));
  sample_mul_sample(a, b);
  EXPECT_EQ(values(a), (std::vector<int32_t>{220, 880, 6}));
  Sample* big = make({INT_MAX, 65536 * 4});
  Sample* one = make({1, 1});
  sample_add(big, one);  // wraps
  EXPECT_EQ(big->data[0], INT_MIN);
  sample_mul_sample(big, big);  // (2^18 + 1)^2 and (-2^31)^2, modulo 2^32
  EXPECT_EQ(values(big), (std::vector<int32_t>{0, 524289}));
  for (Sample* s : {a, b, big, one}) sample_free(&s);
}

TEST(SampleArithmetic, AddScaled) {
  struct Case {
    int32_t factor;
    std::vector<int32_t> src, out;
  } cases[] = {
      {0x10000, {-32768, 32767, 3}, {-32768 + 100, 32767 + 100, 103}},
      {0x8000, {3, -3, 1, -1}, {101, 98, 100, 99}},  // halves round towards minus infinity
      {0x10000, {32768, 65537}, {-32768 + 100, 101}}, // the 32-bit product wraps
  };
  for (const Case& c : cases) {
    Sample* dst = make(std::vector<int32_t>(c.src.size(), 100));
    Sample* src = make(c.src);
    sample_add_scaled(dst, src, c.factor);
    EXPECT_EQ(values(dst), c.out) << c.factor;
    sample_free(&dst);
    sample_free(&src);
  }
}

TEST(SampleRotate, TowardsHigherIndices) {
  struct Case {
    int32_t r;
    std::vector<int32_t> out;
  } cases[] = {{2, {4, 5, 1, 2, 3}}, {0, {1, 2, 3, 4, 5}}, {5, {1, 2, 3, 4, 5}},
               {7, {4, 5, 1, 2, 3}}, {1, {5, 1, 2, 3, 4}}, {-1, {1, 2, 3, 4, 5}}};
  for (const Case& c : cases) {
    Sample* s = make({1, 2, 3, 4, 5});
    sample_rotate(s, c.r);
    EXPECT_EQ(values(s), c.out) << c.r;
    EXPECT_EQ(s->length, 5);
    sample_free(&s);
  }
  Sample* s = make({1, 2, 3});
  sample_reserve(s, 10);
  sample_rotate(s, 1);
  EXPECT_EQ(values(s), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(s->capacity, 3);
  sample_free(&s);
}

TEST(SampleRamp, StepsOfBothBranches) {
  struct Case {
    int32_t x0, y0, x1, y1;
    std::vector<int32_t> out;
  } cases[] = {
      {0, 10, 4, 0, {10, 8, 6, 3, 1}},    // steep
      {0, 0, 4, 10, {0, 2, 4, 7, 9}},     // steep, rising
      {0, 0, 4, 2, {0, 1, 1, 2, 2}},      // shallow
      {4, 0, 0, 2, {0, 1, 1, 2, 2}},      // ends exchanged, y0 still at the smaller index
      {0, 3, 4, 0, {3, 2, 1, 1, 0}},      // shallow, falling
      {0, 7, 4, 7, {7, 7, 7, 7, 7}},      // flat
      {2, 5, 2, 100, {-1, -1, 5, -1, -1}}, // one index
      {0, 5, 5, 0, {-1, -1, -1, -1, -1}},  // past the end: refused
  };
  for (const Case& c : cases) {
    Sample* s = make(std::vector<int32_t>(5, -1));
    sample_ramp(s, c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(values(s), c.out) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    sample_free(&s);
  }
}

TEST(SampleRamp, FadeEnvelopes) {
  struct Case {
    int32_t n;
    std::vector<int32_t> head, tail;
  } cases[] = {{44100, {32767, 32766, 32766, 32765}, {1, 1, 0}},
               {22050, {32767, 32766, 32764, 32763}, {3, 2, 0}}};
  for (const Case& c : cases) {
    Sample* s = sample_new();
    sample_set_length(s, c.n);
    sample_ramp(s, 0, 32767, c.n - 1, 0);
    EXPECT_EQ(std::vector<int32_t>(s->data, s->data + 4), c.head);
    EXPECT_EQ(std::vector<int32_t>(s->data + c.n - 3, s->data + c.n), c.tail);
    for (int32_t i = 1; i < c.n; ++i) ASSERT_LE(s->data[i], s->data[i - 1]);
    sample_free(&s);
  }
}

TEST(SampleCopyRange, OverlapsAndBounds) {
  struct Case {
    int32_t n, a, b;
    std::vector<int32_t> out;
  } cases[] = {{3, 0, 2, {1, 2, 1, 2, 3}}, {3, 2, 0, {3, 4, 5, 4, 5}}, {0, 0, 0, {1, 2, 3, 4, 5}},
               {3, 3, 0, {1, 2, 3, 4, 5}}, {2, 0, 4, {1, 2, 3, 4, 5}}, {-2, 0, 0, {1, 2, 3, 4, 5}}};
  for (const Case& c : cases) {
    Sample* s = make({1, 2, 3, 4, 5});
    sample_copy_range(s, s, c.n, c.a, c.b);
    EXPECT_EQ(values(s), c.out) << c.n << " " << c.a << " " << c.b;
    sample_free(&s);
  }
  Sample* src = make({1, 2, 3});
  Sample* dst = make({0, 0, 0, 0});
  sample_copy_range(src, dst, 3, 0, 1);
  EXPECT_EQ(values(dst), (std::vector<int32_t>{0, 1, 2, 3}));
  sample_free(&src);
  sample_free(&dst);
}

}  // namespace
