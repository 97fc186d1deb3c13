// BACKMOVE: a scrolling wallpaper layer. Repeats one tile image over a target on a grid of
// cells and shifts the grid by a whole-pixel velocity each frame. The owner sets tile, target,
// cell sizes and offsets directly, then per frame calls backmove_move and backmove_draw.
#pragma once
#include <cstdint>

struct Image;

struct BackMove {
  int32_t x, y, z;                // position; unused
  int32_t width, height, depth;   // extents; unused
  int32_t offset_x, offset_y;     // position of the first grid column/row, in (-cell, 0] after a move
  int32_t vx, vy;                 // movement per frame, whole pixels
  int32_t cell_width, cell_height;  // grid spacing, raised to the tile's size when drawn
  Image* tile;                    // drawn in every cell; not owned
  Image* target;                  // drawn on; not owned
};

BackMove* backmove_new();                  // 16 x 16 cells, random velocity -4..4; null on failure
void backmove_free(BackMove** layer);      // frees the record only (not tile, not target)
void backmove_randomize(BackMove* layer);  // vx, vy = random -4..4, vx drawn first
// Advances the offsets; then one chance in 256 per axis of a new speed -3..4 (vx first).
// Cells below 1 pixel are refused.
void backmove_move(BackMove* layer);
void backmove_draw(BackMove* layer);       // keyed copies of the tile over the whole target
