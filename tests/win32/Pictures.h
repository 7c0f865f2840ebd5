// Pixels of windows and surfaces for tests, and PNG files read and written
// through WIC, so that a test can compare what it sees with a picture taken
// earlier.
#pragma once
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "win32/base/Win32Util.h"

namespace mirobel::testing {

// Top-down 0x00RRGGBB pixels.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
    bool operator==(const Pixels&) const = default;
    uint32_t& At(int x, int y) { return data[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    // Paints a rectangle in one colour, clipped to the picture: for parts
    // that may differ (a picture with more detail).
    void Mask(RECT r, uint32_t colour = 0xFF00FF) {
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height); ++y)
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, width); ++x) At(x, y) = colour;
    }
};

inline Pixels FromDc(HDC source, int x, int y, int width, int height) {
    Pixels p;
    p.width = width, p.height = height;
    p.data.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < p.data.size(); ++i) p.data[i] = src[i] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return p;
}

// The client area of a window as it is drawn, its controls included.
inline Pixels ClientPixels(HWND window) {
    RECT c;
    GetClientRect(window, &c);
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    Pixels p = FromDc(dc, 0, 0, c.right, c.bottom);
    ReleaseDC(window, dc);
    return p;
}

namespace detail {
struct Com {
    IWICImagingFactory* factory = nullptr;
    Com() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    }
    ~Com() {
        if (factory) factory->Release();
    }
};
template <typename T>
void Release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}
}  // namespace detail

inline bool WritePng(const std::wstring& path, const Pixels& p) {
    detail::Com com;
    if (!com.factory) return false;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    bool ok = SUCCEEDED(com.factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(com.factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(static_cast<UINT>(p.width), static_cast<UINT>(p.height)));
    if (ok) {
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        ok = SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    }
    if (ok) {
        UINT stride = static_cast<UINT>(p.width) * 3;
        std::vector<BYTE> rows(static_cast<size_t>(stride) * p.height);
        for (size_t i = 0; i < p.data.size(); ++i) {
            rows[i * 3] = static_cast<BYTE>(p.data[i]);
            rows[i * 3 + 1] = static_cast<BYTE>(p.data[i] >> 8);
            rows[i * 3 + 2] = static_cast<BYTE>(p.data[i] >> 16);
        }
        ok = SUCCEEDED(frame->WritePixels(static_cast<UINT>(p.height), stride, static_cast<UINT>(rows.size()),
                                          rows.data())) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    detail::Release(frame);
    detail::Release(encoder);
    detail::Release(stream);
    return ok;
}

// An empty picture (width 0) when the file cannot be read.
inline Pixels ReadPng(const std::wstring& path) {
    detail::Com com;
    Pixels p;
    if (!com.factory) return p;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(com.factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                         WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(com.factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        p.width = static_cast<int>(w), p.height = static_cast<int>(h);
        p.data.assign(static_cast<size_t>(w) * h, 0);
        if (FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(p.data.data()))))
            p = {};
        for (uint32_t& v : p.data) v &= 0xFFFFFF;
    }
    detail::Release(converter);
    detail::Release(frame);
    detail::Release(decoder);
    return p;
}

// Where two pictures of the same size differ: the count and the first pixel.
struct Difference {
    int count = 0;
    int x = -1, y = -1;
};
inline Difference Compare(const Pixels& a, const Pixels& b) {
    Difference d;
    if (a.width != b.width || a.height != b.height) return {a.width * a.height + 1, -1, -1};
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y) && d.count++ == 0) d.x = x, d.y = y;
    return d;
}

}  // namespace mirobel::testing
