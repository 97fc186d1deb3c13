// PNGOUT: presented frames as 8-bit RGB PNG files. Each file is written under a temporary name
// and renamed when it is complete, so a failed write never leaves a file that looks whole.
#pragma once
#include <cstdint>
#include <string>

// Makes `dir` and its missing parents; false with a one-line reason in `error`.
bool pngout_make_dir(const std::string& dir, std::string* error);
// Writes a width x height picture of 0x00RRGGBB pixels (row after row) as dir/frame-NNNNNN.png
// (NNNNNN = index); false with a reason in `error`.
bool pngout_write(const std::string& dir, long index, const uint32_t* pixels, int32_t width, int32_t height,
                  std::string* error);
