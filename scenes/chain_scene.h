// Line chain scene: 128 two-colour segments linked into a closed chain tighten and knot, every
// segment's end pulled onto the next one's start; when hardly anything moves any more they are
// thrown to new places. Drawn mirrored four or eight ways. The chain is made on the first visit
// and kept for the life of the process.
#pragma once
#include <cstdint>

struct List;

constexpr int32_t chain_segments = 128;

struct ChainScene {
  // Seg2d entries 0..127, entry 128 is segment 0 again (closing the chain); every later visit
  // appends segment 0 once more behind, where nothing reads it. Null until the first visit.
  List* chain;
};

extern ChainScene chain_scene;

void chain_scene_setup();     // settings, music period 224, the chain on the first visit, scatter
void chain_scene_scatter();   // new colours and short segments at random places, segment 127 first
// One frame: tighten (pairs 128 down to 1), draw mirrored by mirror_mode, restart when at most
// 16 pairs moved.
void chain_scene_draw();
int32_t chain_scene_tighten();   // one tightening pass; the number of pairs that moved
