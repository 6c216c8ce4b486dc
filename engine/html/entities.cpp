#include "engine/html/entities.h"

#include "engine/dom/utf.h"

#include <array>
#include <utility>

namespace engine {
namespace {

struct Entity {
    std::string_view name;
    char16_t value;
    bool bare; // recognised without the closing semicolon, as old pages write them
};

constexpr std::array kEntities{
    Entity{"amp", u'&', true},     Entity{"lt", u'<', true},        Entity{"gt", u'>', true},
    Entity{"quot", u'"', true},    Entity{"nbsp", 0xA0, true},      Entity{"apos", u'\'', false},
    Entity{"copy", 0xA9, false},   Entity{"reg", 0xAE, false},      Entity{"trade", 0x2122, false},
    Entity{"hellip", 0x2026, false}, Entity{"mdash", 0x2014, false}, Entity{"ndash", 0x2013, false},
    Entity{"lsquo", 0x2018, false}, Entity{"rsquo", 0x2019, false}, Entity{"ldquo", 0x201C, false},
    Entity{"rdquo", 0x201D, false}, Entity{"laquo", 0xAB, false},   Entity{"raquo", 0xBB, false},
    Entity{"middot", 0xB7, false}, Entity{"bull", 0x2022, false},   Entity{"times", 0xD7, false},
    Entity{"divide", 0xF7, false}, Entity{"deg", 0xB0, false},      Entity{"plusmn", 0xB1, false},
    Entity{"euro", 0x20AC, false}, Entity{"pound", 0xA3, false},    Entity{"yen", 0xA5, false},
    Entity{"cent", 0xA2, false},   Entity{"sect", 0xA7, false},     Entity{"para", 0xB6, false},
    Entity{"shy", 0xAD, false},    Entity{"larr", 0x2190, false},   Entity{"rarr", 0x2192, false},
    Entity{"uarr", 0x2191, false}, Entity{"darr", 0x2193, false},   Entity{"check", 0x2713, false},
};

bool IsAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Decodes the reference starting at text[i] == '&'; returns how many bytes it took (0: not a reference).
std::size_t DecodeReference(std::string_view text, std::size_t i, std::u16string& out) {
    std::size_t j = i + 1;
    if (j < text.size() && text[j] == '#') {
        ++j;
        bool hex = j < text.size() && (text[j] == 'x' || text[j] == 'X');
        if (hex) ++j;
        std::size_t digitsStart = j;
        char32_t value = 0;
        for (; j < text.size(); ++j) {
            char c = text[j];
            int digit = c >= '0' && c <= '9' ? c - '0'
                        : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                      : -1;
            if (digit < 0) break;
            // Saturate: an overlong number is simply invalid.
            value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        }
        if (j == digitsStart) return 0;
        if (j < text.size() && text[j] == ';') ++j;
        AppendCodePoint(out, value == 0 ? 0xFFFD : value);
        return j - i;
    }
    while (j < text.size() && IsAlnum(text[j]) && j - i < 12) ++j;
    std::string_view name = text.substr(i + 1, j - i - 1);
    bool semicolon = j < text.size() && text[j] == ';';
    for (const Entity& e : kEntities) {
        if (e.name != name || !(semicolon || e.bare)) continue;
        out.push_back(e.value);
        return j - i + (semicolon ? 1 : 0);
    }
    return 0;
}

} // namespace

std::u16string DecodeText(std::string_view utf8) {
    std::u16string out;
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '&') continue;
        std::u16string decoded;
        std::size_t taken = DecodeReference(utf8, i, decoded);
        if (taken == 0) continue;
        out += Utf8ToUtf16(utf8.substr(plainStart, i - plainStart));
        out += decoded;
        i += taken - 1;
        plainStart = i + 1;
    }
    out += Utf8ToUtf16(utf8.substr(plainStart));
    return out;
}

} // namespace engine
