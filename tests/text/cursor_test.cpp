// Text cursor: stepping with wrap-around both ways, mark and return, the default word.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "text/cursor.h"

namespace {

TEST(Cursor, NewCursorCyclesOverTheDefaultWord) {
  Cursor* c = cursor_new();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(std::string(c->text, size_t(c->length)), "KROM");
  EXPECT_EQ(c->index, 0);
  EXPECT_EQ(c->step, 1);
  EXPECT_EQ(c->saved, 0);
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    seen += c->text[c->index];
    cursor_step(c);
  }
  EXPECT_EQ(seen, "KROM");
  EXPECT_EQ(c->index, 0);
  cursor_free(&c);
  EXPECT_EQ(c, nullptr);
}

struct StepCase {
  int32_t length, index, step, want;
};

const StepCase kSteps[] = {
    {4, 3, 1, 0},    {4, 0, -1, 3},   {4, 1, 10, 3},  {4, 2, -10, 0}, {4, 1, 0, 1},
    {4, 0, 4, 0},    {4, 0, -4, 0},   {4, 3, -7, 0},  {1, 0, 5, 0},   {1, 0, -5, 0},
    {26, 5, -7, 24},
    // Steps near the 32-bit limits wrap by the length, not by 2^32.
    {7, 6, INT_MAX, 0},       // 2^31 - 1 = 7 * 306783378 + 1
    {7, 0, INT_MIN, 5},       // -2^31 = -(7 * 306783378 + 2)
    {10, 9, INT_MAX, 6},
    {1612, 1611, INT_MIN, 183},  // 1611 - 2^31 mod 1612 (1428)
};

TEST(Cursor, StepWrapsBothWays) {
  static const char text[2048] = {};
  Cursor* c = cursor_new();
  for (const auto& s : kSteps) {
    cursor_init(c, text, s.length, s.step);
    c->index = s.index;
    cursor_step(c);
    EXPECT_EQ(c->index, s.want) << s.length << " " << s.index << " " << s.step;
  }
  cursor_free(&c);
}

TEST(Cursor, InitAndMarkRestore) {
  Cursor* c = cursor_new();
  const char text[] = "ABCDEFG";
  c->saved = 2;
  cursor_init(c, text, 7, 3);
  EXPECT_EQ(c->text, text);
  EXPECT_EQ(c->length, 7);
  EXPECT_EQ(c->step, 3);
  EXPECT_EQ(c->index, 0);
  EXPECT_EQ(c->saved, 2);  // left alone
  cursor_step(c);
  cursor_mark(c);
  EXPECT_EQ(c->saved, 3);
  for (int i = 0; i < 3; ++i) cursor_step(c);  // 6, 2, 5
  EXPECT_EQ(c->index, 5);
  cursor_restore(c);
  EXPECT_EQ(c->index, 3);
  EXPECT_EQ(c->text[c->index], 'D');
  cursor_free(&c);
}

// An empty text has nothing to divide by: the cursor stays at 0.
TEST(Cursor, EmptyTextAndBadArguments) {
  Cursor* c = cursor_new();
  cursor_init(c, "", 0, 5);
  cursor_step(c);
  EXPECT_EQ(c->index, 0);
  cursor_init(c, "AB", -1, 1);  // refused
  EXPECT_EQ(c->length, 0);
  cursor_init(c, nullptr, 2, 1);  // refused
  EXPECT_EQ(c->length, 0);
  // The module's report switch is off: refusals print nothing.
  testing::internal::CaptureStdout();
  cursor_step(nullptr);
  cursor_mark(nullptr);
  cursor_restore(nullptr);
  cursor_init(nullptr, "AB", 2, 1);
  cursor_free(nullptr);
  cursor_free(&c);
  cursor_free(&c);  // already null: only the report
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(c, nullptr);
}

}  // namespace
