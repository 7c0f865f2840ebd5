#include "x11/base/EmbeddedFaces.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

#include "core/base/Faces.h"
#include "x11/base/Assets.h"

namespace mirobel::x11 {

namespace {
const cairo_user_data_key_t ftFaceKey{};

void DoneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

cairo_font_face_t* Load(FT_Library library, Blob blob, bool bold) {
    FT_Face face = nullptr;
    if (!blob.data || FT_New_Memory_Face(library, blob.data, static_cast<FT_Long>(blob.size), 0, &face) != 0)
        return nullptr;
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    // The FreeType face must live as long as cairo keeps the font face.
    if (cairo_font_face_set_user_data(cf, &ftFaceKey, face, DoneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        FT_Done_Face(face);
        return nullptr;
    }
    if (bold) cairo_ft_font_face_set_synthesize(cf, CAIRO_FT_SYNTHESIZE_BOLD);
    return cf;
}

// One library for the process: cairo releases the faces made from it on its
// own schedule (its font cache), so it is never done before exit.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return library;
}
}  // namespace

EmbeddedFaces::EmbeddedFaces() {
    FT_Library library = Library();
    if (!library) return;
    const Blob blobs[3] = {MinchoFontData(), BrushFontData(), LatinFontData()};
    loaded_ = true;
    for (int which = 0; which < 3; ++which)
        for (int bold = 0; bold < 2; ++bold) {
            faces_[which][bold] = Load(library, blobs[which], bold != 0);
            if (!faces_[which][bold]) loaded_ = false;
        }
}

EmbeddedFaces::~EmbeddedFaces() {
    for (auto& row : faces_)
        for (cairo_font_face_t* f : row)
            if (f) cairo_font_face_destroy(f);
}

cairo_font_face_t* EmbeddedFaces::Get(const std::wstring& face, bool bold) const {
    const int which = face == kBrushFace || face == L"Yuji Syuku" ? 1 : face == kLatinFace ? 2 : 0;
    cairo_font_face_t* f = faces_[which][bold];
    if (!f) f = faces_[which][0];
    if (!f) f = faces_[0][0];
    // A toy face keeps drawing possible should the embedded fonts not load.
    static cairo_font_face_t* fallback =
        cairo_toy_font_face_create("serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    return f ? f : fallback;
}

std::string Utf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

int PixelSize(int points, int dpi) {
    // MulDiv: the exact quotient rounded half away from zero.
    return static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
}

}  // namespace mirobel::x11
