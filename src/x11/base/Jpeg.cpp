#include "x11/base/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdint>

#include <jpeglib.h>

namespace mirobel::x11 {

namespace {
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void Quiet(j_common_ptr) {}
}  // namespace

cairo_surface_t* DecodeJpeg(const unsigned char* data, std::size_t size) {
    if (!data || size == 0) return nullptr;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.output_message = Quiet;
    // Declared before setjmp so that a longjmp does not leave it unreleased.
    cairo_surface_t* volatile surface = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (surface) cairo_surface_destroy(surface);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) longjmp(errors.jump, 1);
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    // From libjpeg's own pool: freed with the decompressor, also after a
    // jump out of a corrupt stream.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                 static_cast<JDIMENSION>(width) * 3, 1);
    const unsigned char* row = rows[0];
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        auto* out = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x)
            out[x] = 0xFF000000u | (uint32_t{row[x * 3]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2];
    }
    jpeg_finish_decompress(&info);
    // libjpeg pads a truncated or damaged stream with grey and goes on with
    // a warning; such a picture is not the portrait.
    const bool damaged = errors.pub.num_warnings > 0;
    jpeg_destroy_decompress(&info);
    if (damaged) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace mirobel::x11
