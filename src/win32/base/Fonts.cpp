#include "win32/base/Fonts.h"

#include <map>

#include "win32/base/Gdi.h"
#include "win32/base/Resources.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

namespace {
// Faces that are not installed are replaced by the free faces embedded in
// the program, which are added to the process at start.
std::wstring InstalledOr(const std::wstring& face, const wchar_t* fallback) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    WindowDc screen;
    EnumFontFamiliesExW(
        screen.get(), &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
            *reinterpret_cast<bool*>(p) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found ? face : fallback;
}

}  // namespace

std::wstring ResolveFace(const std::wstring& face) {
    static std::map<std::wstring, std::wstring> resolved;
    auto it = resolved.find(face);
    if (it != resolved.end()) return it->second;
    std::wstring use = face;
    if (face == kBrushFace) use = InstalledOr(face, kEmbeddedBrushFace);
    else if (face == kMinchoFace) use = InstalledOr(face, kEmbeddedMinchoFace);
    // No Gothic face is embedded: the introduction window's texts read well
    // enough in the Mincho stand-in, and a second font would double the size.
    else if (face == kPGothicFace) use = InstalledOr(face, kEmbeddedMinchoFace);
    else if (face == kLatinFace) use = InstalledOr(face, kEmbeddedMinchoFace);
    return resolved[face] = use;
}

void AddEmbeddedFonts() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int id : {IDR_FONT_BRUSH, IDR_FONT_MINCHO}) {
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
        if (!found) continue;
        HGLOBAL loaded = LoadResource(instance, found);
        DWORD count = 0;
        AddFontMemResourceEx(LockResource(loaded), SizeofResource(instance, found), nullptr, &count);
    }
}

}  // namespace mirobel
