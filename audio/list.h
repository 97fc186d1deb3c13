// LIST: ordered, growable array of untyped element pointers. Never owns, copies or frees its
// elements. Users read `count` directly and iterate 0 .. count-1 with list_get.
#pragma once
#include <cstdint>

struct List {
  int32_t capacity;   // allocated slots, 2 * 2^n
  int32_t count;      // slots in use
  void** items;       // owned slot array
};

List* list_new();                                   // capacity 2, count 0; null on failure
void list_free(List** list);                        // frees slots and record, not the elements
void list_push(List* list, void* item);             // appends, doubling capacity when full
void list_remove(List* list, int32_t index);        // shifts the rest down, last slot nulled
void* list_get(const List* list, int32_t index);    // null for a bad index
void list_set(List* list, int32_t index, void* item);
