// Checks of the help text's shape, which the tests run on the committed
// Shift-JIS asset; the program itself only shows the text.
#pragma once
#include <string>
#include <vector>

namespace mirobel::testing {

// Everything wrong with a Shift-JIS help text: line endings, line count,
// widths in half-width columns, and the shape of its three sections
// ("■" headings, the settings items numbered ①, ②, ... in turn, body lines
// indented by an ideographic space, one empty line between sections).
// Empty when the text is sound. Which items there are is the settings
// dialog's to say (SettingsDialogTest).
std::vector<std::string> HelpTextProblems(const std::string& sjis);

// Half-width columns of one Shift-JIS line: a double-byte character counts
// two, a single byte (ASCII or half-width kana) one.
int ShiftJisColumns(const std::string& line);

}  // namespace mirobel::testing
