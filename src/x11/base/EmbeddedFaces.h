// The embedded font subsets as cairo faces, loaded from memory with
// FreeType, so that the card looks the same whatever fonts the host has.
#pragma once
#include <cairo.h>

#include <string>

namespace mirobel::x11 {

class EmbeddedFaces {
public:
    EmbeddedFaces();
    ~EmbeddedFaces();
    EmbeddedFaces(const EmbeddedFaces&) = delete;
    EmbeddedFaces& operator=(const EmbeddedFaces&) = delete;

    // The face the show asks for by its system name, as one of the embedded
    // stand-ins: the brush face for the poem, the Latin face for the English
    // rendering, the Mincho face for the rest.
    // Bold is synthesised, the subsets having one weight each. Never null;
    // owned by EmbeddedFaces.
    cairo_font_face_t* Get(const std::wstring& face, bool bold) const;
    bool Loaded() const { return loaded_; }

private:
    cairo_font_face_t* faces_[3][2] = {};  // [mincho, brush, latin][bold?]
    bool loaded_ = false;
};

// UTF-8 for cairo's text calls.
std::string Utf8(const std::wstring& text);
// Pixel em size of a font of `points` at `dpi`, rounded as the Windows layer
// rounds it (MulDiv), so both draw the same text height.
int PixelSize(int points, int dpi);

}  // namespace mirobel::x11
