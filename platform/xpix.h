// XPIX: turns frame words 0x00RRGGBB into the pixels of a TrueColor display whose layout is not
// the 32-bit 0x00RRGGBB one (5-6-5, 5-5-5, 3-3-2, 10-10-10, other channel orders, 16/24/32-bit
// pixels in either byte order). Made once per window from the visual's masks; one pass per frame.
// Plain data and arithmetic only, so that it is tested without a display.
#pragma once
#include <cstdint>

struct Image;

struct XPix {
  uint32_t red[256], green[256], blue[256];   // channel value -> its field in the pixel, nearest
  bool identity;                               // the masks are 0xff0000, 0xff00, 0xff
};

// How the pixels are stored in the destination rows.
struct XPixFormat {
  int32_t bits_per_pixel;   // 8, 16, 24 or 32
  bool msb_first;           // byte order of each pixel (X's MSBFirst)
  int32_t bytes_per_line;   // row stride of the destination, at least width * bytes per pixel
};

// Tables for the given channel masks (each a contiguous run of 1 to 16 bits); null when a mask is
// empty or not contiguous, or memory runs out.
XPix* xpix_new(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask);
void xpix_free(XPix** pix);
// One colour 0x00RRGGBB as a pixel value of the layout (the window's border and background).
uint32_t xpix_pixel(const XPix* pix, uint32_t colour);
// True when the frame's words can be copied unchanged: identity masks, 32-bit pixels in this
// machine's byte order and rows without padding.
bool xpix_plain(const XPix* pix, const XPixFormat& format, int32_t width);
// Converts the whole image into `data` (height rows of `bytes_per_line`); false (nothing
// written) when an argument is missing or the format is not one of the above.
bool xpix_convert(const XPix* pix, const Image* image, const XPixFormat& format, uint8_t* data);
// The same result pixel by pixel from the masks' arithmetic: the reference for the tests.
bool xpix_convert_reference(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask, const Image* image,
                            const XPixFormat& format, uint8_t* data);
