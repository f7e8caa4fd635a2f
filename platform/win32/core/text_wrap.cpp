// Breaking a text into lines (see text_wrap.h).
#include "text_wrap.h"

#include <algorithm>
#include <cstddef>

namespace win32core {

namespace {

struct Character {
    std::string bytes;  // UTF-8
    char32_t code;
};

// Splits UTF-8 into characters; a byte that starts no valid sequence is a
// character of its own (drawn as the font's replacement), never dropped.
std::vector<Character> Characters(const std::string& utf8) {
    std::vector<Character> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
            if ((c & 0xC0) != 0x80) {
                length = 1;
                code = 0xFFFD;
                break;
            }
            code = (code << 6) | (c & 0x3F);
        }
        out.push_back(Character{utf8.substr(i, length), code});
        i += length;
    }
    return out;
}

bool IsSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == 0x3000;
}

// Scripts written without spaces: a line may break between any two of their
// characters.
bool IsWide(char32_t c) {
    return c >= 0x1100;
}

bool IsClosingMark(char32_t c) {
    static const char32_t kClosing[] = {
        0x3001, 0x3002, 0xFF0C, 0xFF0E, 0xFF1F, 0xFF01, 0xFF09, 0x300D, 0x300F, 0x3011,
        0x3015, 0x3009, 0x300B, 0x30FC, 0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063,
        0x3083, 0x3085, 0x3087, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30C3, 0x30E3,
        0x30E5, 0x30E7, 0x201D, 0x2019, 0x2026, 0x30FB, 0xFF1A, 0xFF1B};
    for (char32_t k : kClosing) {
        if (c == k) {
            return true;
        }
    }
    return false;
}

bool IsOpeningMark(char32_t c) {
    static const char32_t kOpening[] = {0xFF08, 0x300C, 0x300E, 0x3010, 0x3014,
                                        0x3008, 0x300A, 0x201C, 0x2018};
    for (char32_t k : kOpening) {
        if (c == k) {
            return true;
        }
    }
    return false;
}

// A line may end between chars[i - 1] and chars[i].
bool CanBreakBefore(const std::vector<Character>& chars, std::size_t i) {
    const char32_t before = chars[i - 1].code;
    const char32_t after = chars[i].code;
    if (IsSpace(before) || IsSpace(after)) {
        return true;
    }
    return (IsWide(before) || IsWide(after)) && !IsClosingMark(after) && !IsOpeningMark(before);
}

std::string Join(const std::vector<Character>& chars, std::size_t begin, std::size_t end) {
    std::string s;
    for (std::size_t i = begin; i < end; ++i) {
        s += chars[i].bytes;
    }
    return s;
}

// The largest end in (begin, chars.size()] whose line [begin, end) fits, or
// begin + 1 when not even one character does. Widths grow with the line, so
// the search doubles the step, then halves it.
std::size_t LongestFit(const std::vector<Character>& chars, std::size_t begin, int maxWidth,
                       const MeasureText& width) {
    std::size_t fits = begin + 1;
    if (width(Join(chars, begin, fits)) > maxWidth) {
        return fits;
    }
    std::size_t step = 1;
    while (fits < chars.size()) {
        const std::size_t next = std::min(chars.size(), fits + step);
        if (width(Join(chars, begin, next)) > maxWidth) {
            break;
        }
        fits = next;
        step *= 2;
    }
    for (step /= 2; step > 0; step /= 2) {
        const std::size_t next = fits + step;
        if (next <= chars.size() && width(Join(chars, begin, next)) <= maxWidth) {
            fits = next;
        }
    }
    return fits;
}

void WrapParagraph(const std::vector<Character>& chars, int maxWidth, const MeasureText& width,
                   std::vector<std::string>* lines) {
    std::size_t begin = 0;
    do {
        std::size_t end = LongestFit(chars, begin, maxWidth, width);
        if (end < chars.size()) {
            for (std::size_t b = end; b > begin; --b) {
                if (CanBreakBefore(chars, b)) {
                    end = b;
                    break;
                }
            }
        }
        std::size_t last = end;
        while (last > begin && IsSpace(chars[last - 1].code)) {
            --last;  // the spaces at a break are not drawn
        }
        lines->push_back(Join(chars, begin, last));
        begin = end;
        while (begin < chars.size() && IsSpace(chars[begin].code)) {
            ++begin;
        }
    } while (begin < chars.size());
}

}  // namespace

std::vector<std::string> WrapText(const std::string& utf8, int maxWidth, const MeasureText& width) {
    std::vector<std::string> lines;
    std::vector<Character> paragraph;
    const std::vector<Character> chars = Characters(utf8);
    for (std::size_t i = 0; i <= chars.size(); ++i) {
        const bool end = i == chars.size();
        if (end || chars[i].code == '\n' || chars[i].code == '\r') {
            if (paragraph.empty()) {
                lines.emplace_back();
            } else {
                WrapParagraph(paragraph, maxWidth, width, &lines);
            }
            paragraph.clear();
            if (!end && chars[i].code == '\r' && i + 1 < chars.size() &&
                chars[i + 1].code == '\n') {
                ++i;
            }
            continue;
        }
        paragraph.push_back(chars[i].code == '\t' ? Character{" ", ' '} : chars[i]);
    }
    return lines;
}

std::string EllipsizeLine(const std::string& line, int maxWidth, const MeasureText& width) {
    static const std::string kEllipsis = "\xE2\x80\xA6";
    std::vector<Character> chars = Characters(line);
    std::size_t end = chars.size();
    while (end > 0 && width(Join(chars, 0, end) + kEllipsis) > maxWidth) {
        --end;
    }
    while (end > 0 && IsSpace(chars[end - 1].code)) {
        --end;
    }
    return Join(chars, 0, end) + kEllipsis;
}

}  // namespace win32core
