// The faces the program asks for, and the free faces embedded in it that
// stand in where those are not installed.
#pragma once
#include <string>

#include "core/base/Faces.h"

namespace mirobel {

inline constexpr const wchar_t* kEmbeddedBrushFace = L"Yuji Syuku";
inline constexpr const wchar_t* kEmbeddedMinchoFace = L"BIZ UDMincho";

// Adds the fonts embedded in the program to this process.
void AddEmbeddedFonts();
// The face to ask GDI for: the named one when installed, otherwise its
// embedded stand-in.
std::wstring ResolveFace(const std::wstring& face);

}  // namespace mirobel
