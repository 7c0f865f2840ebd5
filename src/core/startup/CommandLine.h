// Reading of the command line and the program folder; no platform calls, so
// that every malformed command line can be tried natively.
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

// The argument text: the command line without the program's own path and
// without the one blank that separates the two. Further blanks are kept,
// because the host handle is read from a fixed character position.
std::wstring ArgumentText(const std::wstring& commandLine);

// First two characters of the argument text once its leading blanks are gone.
std::wstring ModeText(const std::wstring& argumentText);

// The number that begins at the fourth character of the untrimmed argument
// text, read like a decimal number; 0 when there is none or when it does not
// fit a 32-bit handle.
int32_t HostHandle(const std::wstring& argumentText);

// Reads a decimal number the classic way: blanks anywhere are skipped, an
// optional sign, digits, a fraction and an exponent; reading stops at the
// first character that cannot continue the number. Nothing readable gives 0.
double ReadNumber(const std::wstring& text);

enum class Mode { Preview, Saver, Configure, None };
Mode ModeOf(const std::wstring& modeText);

// The folder part of a program path, ending in exactly one backslash.
std::wstring FolderWithBackslash(const std::wstring& programPath);

}  // namespace mirobel
