// Scrolling tile layers: construction and random order, offset arithmetic, the rare speed
// changes, the grid of keyed copies, and the guards.
#include "effects/backmove.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "image/img.h"
#include "image_helpers.h"

namespace {

struct LayerDeleter {
  void operator()(BackMove* l) const { backmove_free(&l); }
};
using LayerPtr = std::unique_ptr<BackMove, LayerDeleter>;

ImagePtr image(int32_t w, int32_t h) {
  ImagePtr img(img_new());
  img_resize(img.get(), w, h);
  return img;
}

// A layer wired to a tile and a target, standing still.
struct Layer {
  Layer(int32_t tile_w = 16, int32_t tile_h = 16, int32_t target_w = 256, int32_t target_h = 256)
      : layer(backmove_new()), tile(image(tile_w, tile_h)), target(image(target_w, target_h)) {
    layer->tile = tile.get();
    layer->target = target.get();
    layer->vx = 0;
    layer->vy = 0;
  }
  LayerPtr layer;
  ImagePtr tile;
  ImagePtr target;
};

// Positions (col, row) of the target holding `marker`.
std::vector<std::pair<int32_t, int32_t>> where(const Image* img, uint32_t marker) {
  std::vector<std::pair<int32_t, int32_t>> at;
  for (int32_t r = 0; r < img->height; ++r)
    for (int32_t c = 0; c < img->width; ++c)
      if (img_get_pixel(img, c, r) == marker) at.emplace_back(c, r);
  return at;
}

TEST(BackMove, NewHasDefaultsAndDrawsVxThenVy) {
  std::srand(61);
  LayerPtr l(backmove_new());
  ASSERT_TRUE(l);
  EXPECT_EQ(l->x, 0);
  EXPECT_EQ(l->y, 0);
  EXPECT_EQ(l->z, 0);
  EXPECT_EQ(l->width, 256);
  EXPECT_EQ(l->height, 256);
  EXPECT_EQ(l->depth, 256);
  EXPECT_EQ(l->offset_x, 0);
  EXPECT_EQ(l->offset_y, 0);
  EXPECT_EQ(l->cell_width, 16);
  EXPECT_EQ(l->cell_height, 16);
  EXPECT_EQ(l->tile, nullptr);
  EXPECT_EQ(l->target, nullptr);
  std::srand(61);
  EXPECT_EQ(l->vx, std::rand() % 9 - 4);
  EXPECT_EQ(l->vy, std::rand() % 9 - 4);
  bool seen[9] = {};
  for (int i = 0; i < 2000; ++i) {
    backmove_randomize(l.get());
    ASSERT_GE(l->vx, -4);
    ASSERT_LE(l->vx, 4);
    seen[l->vx + 4] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
}

TEST(BackMove, MoveKeepsTheOffsetsWithinOneCellLeftAndUp) {
  const struct {
    int32_t offset, v, cell, result;
  } cases[] = {
      {-30, -4, 32, -2},   // -34 rem 32 = -2
      {-1, 4, 32, -29},    // 3 is positive: 3 - 32
      {0, 0, 32, 0},
      {-31, -1, 32, 0},    // -32 rem 32 = 0
      {0, 4, 16, -12},
      {20, 3, 32, -9},     // a first move from a positive start offset
      {63, 0, 64, -1},
      {-5, -3, 63, -8},
      {0, 1, 1, 0},
  };
  for (const auto& c : cases) {
    Layer f;
    f.layer->cell_width = c.cell;
    f.layer->cell_height = c.cell;
    f.layer->offset_x = c.offset;
    f.layer->offset_y = c.offset;
    f.layer->vx = c.v;
    f.layer->vy = c.v;
    backmove_move(f.layer.get());
    EXPECT_EQ(f.layer->offset_x, c.result) << c.offset << " + " << c.v << " in " << c.cell;
    EXPECT_EQ(f.layer->offset_y, c.result) << c.offset << " + " << c.v << " in " << c.cell;
  }
}

TEST(BackMove, AxesMoveOnTheirOwnCells) {
  Layer f;
  f.layer->cell_width = 40;
  f.layer->cell_height = 20;
  f.layer->offset_x = -39;
  f.layer->offset_y = -19;
  f.layer->vx = -2;
  f.layer->vy = 3;
  backmove_move(f.layer.get());
  EXPECT_EQ(f.layer->offset_x, -1);   // -41 rem 40
  EXPECT_EQ(f.layer->offset_y, -16);
}

// First seed whose first `pattern.size()` draws match: true means (r & 255) == 0.
unsigned seed_with(std::vector<bool> pattern) {
  for (unsigned seed = 1;; ++seed) {
    std::srand(seed);
    bool ok = true;
    for (bool zero : pattern) {
      const int r = std::rand();
      if (((r & 255) == 0) != zero) ok = false;
      if (zero) std::rand();  // the speed draw that follows a hit
    }
    if (ok) return seed;
  }
}

TEST(BackMove, RareSpeedChangesDrawTheirOwnNumbers) {
  const struct {
    bool x_hit, y_hit;
  } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const auto& c : cases) {
    const unsigned seed = seed_with({c.x_hit, c.y_hit});
    Layer f;
    f.layer->vx = -4;
    f.layer->vy = -4;
    std::srand(seed);
    backmove_move(f.layer.get());
    const int next = std::rand();

    std::srand(seed);
    int32_t vx = -4, vy = -4;
    std::rand();
    if (c.x_hit) vx = (std::rand() & 7) - 3;
    std::rand();
    if (c.y_hit) vy = (std::rand() & 7) - 3;
    EXPECT_EQ(f.layer->vx, vx) << c.x_hit << c.y_hit;
    EXPECT_EQ(f.layer->vy, vy) << c.x_hit << c.y_hit;
    EXPECT_EQ(next, std::rand()) << "draws taken, hits " << c.x_hit << c.y_hit;
    // The offsets moved with the old speed: -4 in cells of 16.
    EXPECT_EQ(f.layer->offset_x, -4);
    EXPECT_EQ(f.layer->offset_y, -4);
  }
}

TEST(BackMove, GridOfThirtyTwoCellsHasSixtyFourCopies) {
  Layer f;
  f.layer->cell_width = 32;
  f.layer->cell_height = 32;
  img_set_pixel(f.tile.get(), 0, 0, 0xABCDEF);
  backmove_draw(f.layer.get());
  const auto at = where(f.target.get(), 0xABCDEF);
  ASSERT_EQ(at.size(), 64u);
  for (const auto& [c, r] : at) {
    EXPECT_EQ(c % 32, 0);
    EXPECT_EQ(r % 32, 0);
  }
  EXPECT_EQ(f.layer->cell_width, 32);
  // The tile is left at the last cell drawn.
  EXPECT_EQ(f.tile->x, 224);
  EXPECT_EQ(f.tile->y, 224);
}

TEST(BackMove, NegativeOffsetsStartTheGridLeftOfAndAboveTheTarget) {
  Layer f;
  f.layer->cell_width = 32;
  f.layer->cell_height = 40;
  f.layer->offset_x = -10;
  f.layer->offset_y = -39;
  img_set_pixel(f.tile.get(), 15, 15, 0x112233);  // lands 15 right of and below each cell corner
  backmove_draw(f.layer.get());
  const auto at = where(f.target.get(), 0x112233);
  // Columns 5, 37, ..., 229 (8; the copy at 246 puts it at 261); rows -24 is cut, then
  // 16, 56, ..., 216 (6).
  ASSERT_EQ(at.size(), 8u * 6u);
  EXPECT_EQ(at.front(), std::make_pair(5, 16));
  EXPECT_EQ(at.back(), std::make_pair(229, 216));
  EXPECT_EQ(f.tile->x, 246);
  EXPECT_EQ(f.tile->y, 241);
}

TEST(BackMove, CopiesAreKeyedAndCoverTheTarget) {
  Layer f;
  f.layer->offset_x = -3;
  f.layer->offset_y = -7;
  img_fill_rect(f.tile.get(), 0, 0, 16, 16, 0x00FF00);
  img_set_pixel(f.tile.get(), 3, 7, 0);         // one transparent pixel per tile
  img_fill_rect(f.target.get(), 0, 0, 256, 256, 0xFFFFFF);
  backmove_draw(f.layer.get());
  EXPECT_EQ(where(f.target.get(), 0xFFFFFF).size(), 256u);  // the 16 x 16 holes at (16i, 16j)
  EXPECT_EQ(img_get_pixel(f.target.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(img_get_pixel(f.target.get(), 16, 16), 0xFFFFFFu);
  EXPECT_EQ(img_get_pixel(f.target.get(), 1, 0), 0x00FF00u);
  EXPECT_EQ(img_get_pixel(f.target.get(), 255, 255), 0x00FF00u);
}

TEST(BackMove, CellsGrowToTheTileOnce) {
  const struct {
    int32_t tile_w, tile_h, cell_w, cell_h;
    int32_t cell_w1, cell_h1;
  } cases[] = {
      {40, 20, 32, 32, 40, 32},
      {16, 16, 32, 32, 32, 32},
      {16, 50, 16, 16, 16, 50},
      {1, 1, 0, 0, 1, 1},        // cells below 1 become usable with a tile of 1 x 1
  };
  for (const auto& c : cases) {
    Layer f(c.tile_w, c.tile_h);
    f.layer->cell_width = c.cell_w;
    f.layer->cell_height = c.cell_h;
    backmove_draw(f.layer.get());
    EXPECT_EQ(f.layer->cell_width, c.cell_w1) << c.tile_w << "x" << c.tile_h;
    EXPECT_EQ(f.layer->cell_height, c.cell_h1) << c.tile_w << "x" << c.tile_h;
  }
}

TEST(BackMove, SmallTargetGetsOnlyItsCells) {
  Layer f(16, 16, 40, 20);
  f.layer->cell_width = 16;
  f.layer->cell_height = 16;
  img_set_pixel(f.tile.get(), 0, 0, 0x0000FF);
  backmove_draw(f.layer.get());
  EXPECT_EQ(where(f.target.get(), 0x0000FF).size(), 3u * 2u);  // columns 0, 16, 32; rows 0, 16
}

TEST(BackMove, MissingPiecesChangeNothing) {
  Layer f;
  f.layer->vx = 3;
  f.layer->offset_x = -2;
  backmove_randomize(nullptr);
  backmove_move(nullptr);
  backmove_draw(nullptr);
  BackMove* none = nullptr;
  backmove_free(&none);
  backmove_free(nullptr);

  Image* tile = f.layer->tile;
  f.layer->tile = nullptr;
  std::srand(5);
  backmove_move(f.layer.get());
  backmove_draw(f.layer.get());
  f.layer->tile = tile;
  f.layer->target = nullptr;
  backmove_move(f.layer.get());
  backmove_draw(f.layer.get());
  {
    const int next = std::rand();
    std::srand(5);
    EXPECT_EQ(next, std::rand()) << "no random draw";
  }
  EXPECT_EQ(f.layer->offset_x, -2);
  EXPECT_EQ(f.layer->vx, 3);

  // A grid without positive spacing is refused rather than looping for ever.
  f.layer->target = f.target.get();
  img_resize(f.tile.get(), 0, 0);
  f.layer->cell_width = 0;
  backmove_move(f.layer.get());
  backmove_draw(f.layer.get());
  EXPECT_EQ(f.layer->offset_x, -2);

  BackMove* p = backmove_new();
  backmove_free(&p);
  EXPECT_EQ(p, nullptr);
}

}  // namespace
