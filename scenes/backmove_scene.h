// Back-move scene: 16 to 31 BackMove layers, each a grid of one small ball or star with its own
// cell size, drift over a white background. Layers, their tiles and the list are made at the
// start of every visit and freed at its end.
#pragma once

struct List;

struct BackMoveScene {
  List* layers;   // BackMove records, each owning its 16 x 16 tile here; null between visits
};

extern BackMoveScene backmove_scene;

void backmove_scene_setup();      // settings, music period 224 and the random layers
void backmove_scene_draw();       // keeps the screen white and unfaded, moves and draws every layer
void backmove_scene_teardown();   // fade to black, then release
void backmove_scene_release();    // frees every tile and layer and the list
