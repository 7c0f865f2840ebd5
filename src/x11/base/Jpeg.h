// JPEG decoding for the portraits compiled into the program.
#pragma once
#include <cairo.h>

#include <cstddef>

namespace mirobel::x11 {

// An RGB24 image surface, or nullptr when the data is not a JPEG libjpeg
// can read (never exits the process, as libjpeg's default handler would).
cairo_surface_t* DecodeJpeg(const unsigned char* data, std::size_t size);

}  // namespace mirobel::x11
