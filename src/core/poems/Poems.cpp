#include "core/poems/Poems.h"

#include "core/base/Errors.h"

namespace mirobel {

namespace {
// Seven fields per poem: five phrases in historical kana, the poet's name as
// the cards print it, and the poet's category (1 other, 2 woman, 3 monk).
const wchar_t* const kPoemRecords[kPoemCount] = {
#include "core/poems/PoemRecords.inc"
};

const wchar_t* const kCommentTexts[kPoemCount] = {
#include "core/poems/CommentTexts1.inc"
#include "core/poems/CommentTexts2.inc"
};

std::wstring poemTable[kPoemCount + 1];
std::wstring commentTable[kPoemCount + 1];

const std::wstring& Entry(const std::wstring* table, int n) {
    if (n < 0 || n > kPoemCount) throw SubscriptOutOfRange();
    return table[n];
}
}  // namespace

std::wstring GetField(const std::wstring& text, int16_t n, const std::wstring& delimiter) {
    // Positions are 0-based here; the rule is the 1-based one shifted by one.
    size_t start = 0;
    int i = 1;
    while (i <= n - 1) {
        size_t found = text.find(delimiter, start);
        if (found == std::wstring::npos) break;
        start = found + delimiter.size();
        ++i;
    }
    size_t p = text.find(delimiter, start);
    if (p != std::wstring::npos) return text.substr(start, p - start);
    if (i <= n - 1) return std::wstring();
    return start <= text.size() ? text.substr(start) : std::wstring();
}

void FillPoemTables() {
    for (int n = 1; n <= kPoemCount; ++n) poemTable[n] = kPoemRecords[n - 1];
    for (int n = 1; n <= kPoemCount; ++n) commentTable[n] = kCommentTexts[n - 1];
}

const std::wstring& PoemTable(int n) { return Entry(poemTable, n); }
const std::wstring& CommentTable(int n) { return Entry(commentTable, n); }

}  // namespace mirobel
