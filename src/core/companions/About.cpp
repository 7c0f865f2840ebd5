#include "core/companions/About.h"

#include "core/base/Errors.h"
#include "core/base/Platform.h"

namespace mirobel {

namespace {
std::wstring Widen(const char* text) {
    // Compiler version strings are plain ASCII.
    std::wstring out;
    for (; *text; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}
}  // namespace

std::wstring DevelopmentTool() {
#if defined(__MINGW32__) && defined(__GNUC__)
    return L"MinGW-w64 GCC " + Widen(__VERSION__);
#elif defined(__clang__)
    return L"Clang " + Widen(__clang_version__);
#elif defined(__GNUC__)
    return L"GCC " + Widen(__VERSION__);
#elif defined(_MSC_VER)
    return L"Microsoft C/C++ " + std::to_wstring(_MSC_FULL_VER);
#else
    return L"a C++ compiler";
#endif
}

std::wstring AboutText(const std::wstring& tool, Language language) {
    const std::wstring crlf = L"\r\n";
    return L"This program was written with " + tool + L" for Win." + crlf + crlf + crlf + VersionTitle(language) +
           L"  was produced by " + kAuthorName + L"." + crlf + crlf + kRightsNotice + crlf;
}

void ShowAbout(Language language) {
    try {
        std::wstring text = AboutText(DevelopmentTool(), language);
        std::wstring title = VersionTitle(language);
        ShowBox(text, title, kBoxOk | kBoxIconInformation);
    } catch (...) {
        const RuntimeError e = CurrentFailure();
        ShowErrorBox(StandardErrorText(e, language), e, language);
    }
}

}  // namespace mirobel
