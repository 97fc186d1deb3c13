// List: growth, removal by shifting, bad indices and the never-owning contract.
#include "audio/list.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

int cells[8];

TEST(List, GrowsByDoublingAndKeepsIndices) {
  List* l = list_new();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->count, 0);
  EXPECT_EQ(l->capacity, 2);
  const int32_t capacity_after[] = {2, 2, 4, 4, 8, 8, 8, 8};
  for (int i = 0; i < 8; ++i) {
    list_push(l, &cells[i]);
    EXPECT_EQ(l->count, i + 1);
    EXPECT_EQ(l->capacity, capacity_after[i]);
    for (int j = 0; j <= i; ++j) EXPECT_EQ(list_get(l, j), &cells[j]);
  }
  list_free(&l);
  EXPECT_EQ(l, nullptr);
}

TEST(List, BadIndicesGiveNullAndChangeNothing) {
  List* l = list_new();
  EXPECT_EQ(list_get(l, 0), nullptr);
  list_push(l, &cells[0]);
  list_push(l, &cells[1]);
  for (int32_t bad : {-1, 2, 100}) {
    EXPECT_EQ(list_get(l, bad), nullptr);
    list_set(l, bad, &cells[5]);
    list_remove(l, bad);
  }
  EXPECT_EQ(l->count, 2);
  EXPECT_EQ(list_get(l, 0), &cells[0]);
  EXPECT_EQ(list_get(l, 1), &cells[1]);
  EXPECT_EQ(list_get(nullptr, 0), nullptr);
  list_push(nullptr, &cells[0]);
  list_remove(nullptr, 0);
  list_set(nullptr, 0, &cells[0]);
  list_free(nullptr);
  List* none = nullptr;
  list_free(&none);
  list_free(&l);
}

TEST(List, RemoveShiftsDownAndClearsTheLastSlot) {
  List* l = list_new();
  for (int i = 0; i < 4; ++i) list_push(l, &cells[i]);
  list_remove(l, 0);
  ASSERT_EQ(l->count, 3);
  EXPECT_EQ(list_get(l, 0), &cells[1]);
  EXPECT_EQ(list_get(l, 1), &cells[2]);
  EXPECT_EQ(list_get(l, 2), &cells[3]);
  EXPECT_EQ(l->items[3], nullptr);
  list_remove(l, 2);  // the last: only cleared
  ASSERT_EQ(l->count, 2);
  EXPECT_EQ(l->items[2], nullptr);
  EXPECT_EQ(list_get(l, 1), &cells[2]);
  list_free(&l);
}

TEST(List, SamePointerTwiceAndNullEntries) {
  List* l = list_new();
  cells[6] = 42;
  list_push(l, &cells[6]);
  list_push(l, &cells[6]);
  list_push(l, nullptr);
  EXPECT_EQ(l->count, 3);
  EXPECT_EQ(list_get(l, 2), nullptr);
  list_remove(l, 0);
  EXPECT_EQ(list_get(l, 0), &cells[6]);
  list_set(l, 1, &cells[7]);
  EXPECT_EQ(list_get(l, 1), &cells[7]);
  list_free(&l);
  EXPECT_EQ(cells[6], 42);  // elements are never touched
}

}  // namespace
