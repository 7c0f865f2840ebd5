#include "core/poems/Poems.h"

#include <iterator>
#include <vector>

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

const wchar_t* const kEnglishRenderings[] = {
#include "core/poems/EnglishRenderings.inc"
};

const wchar_t* const kPoetNames[] = {
#include "core/poems/PoetNames.inc"
};

static_assert(std::size(kEnglishRenderings) == kPoemCount && std::size(kPoetNames) == kPoemCount);

// The English tables are indexed 1..100 only and need no filling: entry 0 and
// FillPoemTables belong to the classic tables.
const std::wstring& ByPoem(const std::vector<std::wstring>& texts, int n) {
    if (n < 1 || n > kPoemCount) throw SubscriptOutOfRange();
    return texts[static_cast<size_t>(n - 1)];
}

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
const std::wstring& EnglishRendering(int n) {
    static const std::vector<std::wstring> texts(std::begin(kEnglishRenderings), std::end(kEnglishRenderings));
    return ByPoem(texts, n);
}

const std::wstring& EnglishPoetName(int n) {
    static const std::vector<std::wstring> names(std::begin(kPoetNames), std::end(kPoetNames));
    return ByPoem(names, n);
}

std::string EnglishRenderingList() {
    std::string out;
    for (int n = 1; n <= kPoemCount; ++n) {
        out += std::to_string(n) + "\t";
        // The renderings are printable ASCII, each character one byte.
        for (wchar_t c : EnglishRendering(n)) out += static_cast<char>(c);
        out += "\n";
    }
    return out;
}
const std::wstring& CommentTable(int n) { return Entry(commentTable, n); }

}  // namespace mirobel
