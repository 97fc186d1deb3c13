// LIST: ordered growable array of element pointers; the elements belong to the caller.
#include "audio/list.h"

#include <cstdio>
#include <cstdlib>

#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"LIST    ", "19970412", "Kelvardo", "C       ",
                                                 "CODE    "};

constexpr bool kReport = false;

void list_error() {
  if (kReport) puts("LIST error");
}

constexpr int32_t kMaxCapacity = 1 << 30;

}  // namespace

List* list_new() {
  List* list = static_cast<List*>(calloc(1, sizeof(List)));
  if (!list) {
    list_error();
    return nullptr;
  }
  list->items = static_cast<void**>(calloc(2, sizeof(void*)));
  if (!list->items) {
    free(list);
    list_error();
    return nullptr;
  }
  list->capacity = 2;
  list->count = 0;
  return list;
}

void list_free(List** list) {
  if (!list || !*list) {
    list_error();
    return;
  }
  free((*list)->items);
  free(*list);
  *list = nullptr;
}

void list_push(List* list, void* item) {
  if (!list || !list->items) {
    list_error();
    return;
  }
  if (list->count == list->capacity) {
    // A failed growth keeps the old array and drops this push.
    if (list->capacity >= kMaxCapacity) {
      list_error();
      return;
    }
    const int32_t grown = list->capacity * 2;
    void** items = static_cast<void**>(calloc(size_t(grown), sizeof(void*)));
    if (!items) {
      list_error();
      return;
    }
    for (int32_t i = list->count - 1; i >= 0; --i) items[i] = list->items[i];
    free(list->items);
    list->items = items;
    list->capacity = grown;
  }
  list->items[list->count] = item;
  list->count++;
}

void list_remove(List* list, int32_t index) {
  if (!list || !list->items || index < 0 || index >= list->count) {
    list_error();
    return;
  }
  void** items = list->items;
  for (int32_t i = index; i < list->count - 1; ++i) items[i] = items[i + 1];
  items[list->count - 1] = nullptr;
  list->count--;
}

void* list_get(const List* list, int32_t index) {
  if (!list || !list->items || index < 0 || index >= list->count) {
    list_error();
    return nullptr;
  }
  return list->items[index];
}

void list_set(List* list, int32_t index, void* item) {
  if (!list || !list->items || index < 0 || index >= list->count) {
    list_error();
    return;
  }
  list->items[index] = item;
}
