#include "common/text.h"

#include <algorithm>

namespace quorvel {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        if (i + static_cast<std::size_t>(extra) >= text.size() && extra > 0) {
            out += u'\uFFFD';
            break;
        }
        for (int k = 1; k <= extra; ++k) {
            cp = (cp << 6) |
                 (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3Fu);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::u16string ToText(std::int64_t value) {
    const std::string s = std::to_string(value);
    return {s.begin(), s.end()};
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

std::u16string AsciiLower(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char16_t c) { return AsciiLower(c); });
    return out;
}

std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char16_t c) { return AsciiUpper(c); });
    return out;
}

bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

char16_t AccessKeyOf(std::u16string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return AsciiUpper(caption[i + 1]);
        ++i;  // "&&" shows one ampersand
    }
    return 0;
}

std::u16string_view LeadingText(std::u16string_view text, std::size_t length) {
    if (text.size() <= length) return text;
    const bool splitsPair = length > 0 && text[length - 1] >= 0xD800 && text[length - 1] < 0xDC00;
    return text.substr(0, splitsPair ? length - 1 : length);
}

std::u16string VisibleText(std::u16string_view text, std::size_t longest) {
    constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
    const std::u16string_view shown = LeadingText(text, longest);
    std::u16string out;
    for (const char16_t c : shown) {
        // C0, DEL and C1: the characters Unicode calls control characters, all below 0x100.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            out += {u'\\', u'x', kHexDigits[c >> 4], kHexDigits[c & 0xF]};
        } else {
            out += c;
        }
    }
    if (shown.size() < text.size()) out += u"...";
    return out;
}

}  // namespace quorvel
