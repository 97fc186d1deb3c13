// The frame writer: libpng with its default settings, one row buffer per file.
#include "platform/headless/pngout.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// libpng reports through longjmp; the reason goes here first.
void on_png_error(png_structp png, png_const_charp message) {
  auto* reason = static_cast<std::string*>(png_get_error_ptr(png));
  if (reason) *reason = message ? message : "libpng error";
  png_longjmp(png, 1);
}

// Encodes into an open file; false with the reason in `reason`. Everything with a destructor is
// made before the jump point, so a jump back out of libpng leaves no object behind.
bool encode(FILE* f, const uint32_t* pixels, int32_t width, int32_t height, std::string* reason) {
  std::vector<unsigned char> row(std::size_t(width) * 3);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, reason, on_png_error, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    *reason = "out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    if (std::ferror(f) && errno) *reason = std::strerror(errno);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* src = pixels + std::size_t(y) * std::size_t(width);
    for (int32_t x = 0; x < width; ++x) {
      row[std::size_t(x) * 3 + 0] = (src[x] >> 16) & 255;
      row[std::size_t(x) * 3 + 1] = (src[x] >> 8) & 255;
      row[std::size_t(x) * 3 + 2] = src[x] & 255;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool pngout_make_dir(const std::string& dir, std::string* error) {
  // Each prefix ending before a slash, then the whole path.
  for (std::size_t i = 1; i <= dir.size(); ++i) {
    if (i < dir.size() && dir[i] != '/') continue;
    const std::string part = dir.substr(0, i);
    if (mkdir(part.c_str(), 0777) == 0 || errno == EEXIST) continue;
    *error = "cannot create directory \"" + part + "\": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = "cannot create directory \"" + dir + "\": " + std::strerror(ENOTDIR);
    return false;
  }
  return true;
}

bool pngout_write(const std::string& dir, long index, const uint32_t* pixels, int32_t width, int32_t height,
                  std::string* error) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%06ld.png", index);
  const std::string path = dir + name;
  const std::string part = path + ".part";
  std::string reason = "write failed";
  FILE* f = std::fopen(part.c_str(), "wb");
  if (!f) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = encode(f, pixels, width, height, &reason);
  if (ok && std::fflush(f) != 0) ok = false, reason = std::strerror(errno);
  if (std::fclose(f) != 0 && ok) ok = false, reason = std::strerror(errno);
  if (ok && std::rename(part.c_str(), path.c_str()) != 0) ok = false, reason = std::strerror(errno);
  if (!ok) {
    std::remove(part.c_str());
    *error = "cannot write " + path + ": " + reason;
  }
  return ok;
}
