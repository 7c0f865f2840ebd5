// The narrow interfaces through which the portable core reaches the
// platform. Each has one implementation per platform layer and a recording
// fake in the tests; core/base/Platform.h bundles them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Faces.h"

namespace mirobel {

// Style bits and answers with the values the platform uses, so that the
// Win32 layer can pass them through unchanged.
enum : unsigned {
    kBoxOk = 0x0,
    kBoxYesNo = 0x4,
    kBoxIconQuestion = 0x20,
    kBoxIconInformation = 0x40,
    kBoxDefaultButton2 = 0x100,
};
enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

struct MessageBoxes {
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the answer. helpFile/helpContext travel
    // with the box; no Help button is ever shown.
    virtual int Show(const std::wstring& text, const std::wstring& title, unsigned style,
                     const std::wstring& helpFile, int helpContext) = 0;
};

// Per-user key/value store addressed by application, section and key.
struct SettingsStore {
    virtual ~SettingsStore() = default;
    // The stored text, or nullopt when the key (or section) does not exist.
    // Throws RuntimeError when the store cannot be read.
    virtual std::optional<std::wstring> Read(const std::wstring& app, const std::wstring& section,
                                             const std::wstring& key) = 0;
    // Creates what is missing and replaces the value; throws RuntimeError
    // when the store refuses the write.
    virtual void Write(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                       const std::wstring& text) = 0;
};

// The two languages the program speaks: its windows, its boxes and the show's
// scrolling rendering are in one of them.
enum class Language { Japanese, English };
// The face of the texts a reader of the language reads (captions, the
// scrolling rendering): the Mincho, or the Latin face for English.
inline constexpr const wchar_t* TextFace(Language language) {
    return language == Language::English ? kLatinFace : kMinchoFace;
}

// The language the user's desktop speaks, which the program follows until
// the user has chosen one of its two.
struct DesktopLanguage {
    virtual ~DesktopLanguage() = default;
    virtual Language Get() = 0;
};

struct RandomSource {
    virtual ~RandomSource() = default;
    virtual void Reseed() = 0;   // from the clock
    virtual double Next() = 0;   // uniform in [0, 1)
};

// The two ways a command string reaches the multimedia layer. Commands are
// narrow text, as the narrow entry points take them.
struct MusicPort {
    virtual ~MusicPort() = default;
    // Sends a command with no callback window and returns the error code,
    // 0 for success. A reply, if asked for, fills at most replyLength chars
    // of reply; reply may be null with replyLength 0.
    virtual uint32_t SendString(const std::string& command, char* reply, uint32_t replyLength) = 0;
    // Sends a command whose failure the platform reports in its own box.
    virtual void Execute(const std::string& command) = 0;
    // Text in the platform's narrow code page.
    virtual std::string Narrow(const std::wstring& text) = 0;
};

// Geometry and colour of what the show draws.
struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect&) const = default;
};

// The card canvas: keeps what is drawn on it between frames.
struct CardCanvas {
    virtual ~CardCanvas() = default;
    virtual void FillRect(const Rect& r, Rgb colour) = 0;
    // An outline lineWidth pixels wide inside r, the rest filled with the
    // fill colour.
    virtual void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) = 0;
    // Sizes in points; the surface makes its fonts at the show's resolution.
    virtual void SetFont(const std::wstring& face, int size, bool bold) = 0;
    virtual void SetFontSize(int size) = 0;
    // Glyphs only, top-left at (x, y), in the colour `ink`.
    virtual void DrawText(int x, int y, const std::wstring& text, Rgb ink) = 0;
};

// What one frame shows and where, as the show's rules decided it: on
// black, the card, the poet's portrait over it and the rendering's text.
// Positions are in the units of whoever holds it (the rules' units, pixels
// once magnified).
struct Scene {
    Rect card{};      // where the card canvas's card goes (empty: no card)
    Rect portrait{};  // the portrait stretched over this box (empty: none)
    int portraitPoem = 0;
    // The rendering: its text's top-left, and its whole line, all the text
    // may ink (empty: no rendering).
    int tickerX = 0, tickerY = 0;
    Rect tickerLine{};
    std::wstring tickerText;
};

// Where a show's frames go.
struct FrameTarget {
    virtual ~FrameTarget() = default;
    // Width of the rendering's text as a frame draws it (white Mincho).
    virtual int TickerWidth(const std::wstring& text) = 0;
    // Puts these areas of the frame that shows `scene` on the screen; the
    // rest of the screen still shows the last frame.
    virtual void Present(const Scene& scene, const std::vector<Rect>& areas) = 0;
};

}  // namespace mirobel
