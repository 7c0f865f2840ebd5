#include "support/HelpText.h"

#include "core/companions/CompanionRules.h"

namespace mirobel::testing {

namespace {
bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsSingleByte(unsigned char b) { return b <= 0x7F || (b >= 0xA1 && b <= 0xDF); }

// The few Shift-JIS characters the layout rules look at.
const std::string kSquare = "\x81\xA1";           // ■
const std::string kIdeographicSpace = "\x81\x40";  // "　"
// ① to ⑳ are 0x8740 to 0x8753 in code page 932.
constexpr int kCircledDigits = 20;

bool StartsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

int CircledIndex(const std::string& line) {
    if (line.size() < 2 || static_cast<unsigned char>(line[0]) != 0x87) return -1;
    int i = static_cast<unsigned char>(line[1]) - 0x40;
    return i >= 0 && i < kCircledDigits ? i : -1;
}
}  // namespace

int ShiftJisColumns(const std::string& line) {
    int columns = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(line[i]);
        if (IsLeadByte(b)) {
            if (i + 1 >= line.size() || !IsTrailByte(static_cast<unsigned char>(line[i + 1]))) return -1;
            ++i;
            columns += 2;
        } else if (IsSingleByte(b)) {
            columns += 1;
        } else {
            return -1;
        }
    }
    return columns;
}

std::vector<std::string> HelpTextProblems(const std::string& sjis) {
    std::vector<std::string> problems;
    auto at = [](size_t n) { return "line " + std::to_string(n + 1) + ": "; };

    std::vector<std::string> lines;
    size_t start = 0;
    while (start < sjis.size()) {
        size_t cr = sjis.find('\r', start);
        size_t lf = sjis.find('\n', start);
        if (cr == std::string::npos || lf < cr || cr + 1 >= sjis.size() || sjis[cr + 1] != '\n') {
            problems.push_back(at(lines.size()) + "does not end with CR LF");
            return problems;
        }
        lines.push_back(sjis.substr(start, cr - start));
        start = cr + 2;
    }
    if (lines.size() != kHelpLines)
        problems.push_back(std::to_string(lines.size()) + " lines instead of " + std::to_string(kHelpLines));

    int section = 0;  // 1-based once the first heading is seen
    bool afterBlank = true;
    int nextItem = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        int columns = ShiftJisColumns(line);
        if (columns < 0) problems.push_back(at(n) + "is not valid Shift-JIS");
        else if (columns > kHelpColumns)
            problems.push_back(at(n) + std::to_string(columns) + " columns, more than " + std::to_string(kHelpColumns));
        if (line.empty()) {
            if (afterBlank) problems.push_back(at(n) + "empty line where a section should start");
            afterBlank = true;
            continue;
        }
        bool heading = StartsWith(line, kSquare);
        if (afterBlank != heading) problems.push_back(at(n) + (heading ? "heading inside a section" : "section without a heading"));
        afterBlank = false;
        if (heading) {
            ++section;
            continue;
        }
        int item = CircledIndex(line);
        if (item >= 0) {
            if (section != 2) problems.push_back(at(n) + "circled digit outside the settings section");
            else if (item != nextItem) problems.push_back(at(n) + "settings item out of order");
            nextItem = item + 1;
        } else if (!StartsWith(line, kIdeographicSpace)) {
            problems.push_back(at(n) + "body line without the ideographic space");
        } else if (section == 2 && nextItem == 0) {
            problems.push_back(at(n) + "settings section text before item 1");
        }
    }
    if (!lines.empty() && lines.back().empty()) problems.push_back("the text ends with an empty line");
    if (section != 3) problems.push_back(std::to_string(section) + " sections instead of 3");
    if (nextItem == 0) problems.push_back("the settings section has no items");
    // Padded with ideographic blanks, which are narrower than two plain ones
    // in the help's face at every scale, the credit ends in the last column
    // or the one before it.
    if (!lines.empty() && ShiftJisColumns(lines.back()) < kHelpColumns - 1)
        problems.push_back("the credit line is not aligned to the right edge");
    return problems;
}

}  // namespace mirobel::testing
