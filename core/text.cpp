// Text services: filters, trimming, zero filling, dates, aligned text and crypt.
#include "core/text.h"

#include "platform/draw.h"

namespace {

inline unsigned code(char c) { return (unsigned char)c; }

inline bool is_latin_letter_or_digit(unsigned c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

inline bool is_blank(unsigned c) { return c == 9 || c == 32 || c == 160; }

// s[pos, pos + len) clipped to the text; "" when pos lies past its end.
std::string mid(const std::string& s, size_t pos, size_t len) { return pos < s.size() ? s.substr(pos, len) : ""; }

}  // namespace

std::string alphanumtrim(const std::string& text) {
    std::string out;
    for (char c : text) {
        unsigned u = code(c);
        if (is_latin_letter_or_digit(u) || u == ' ' || u == '-') out += c;
    }
    return out;
}

std::string filename(const std::string& text) {
    std::string out;
    for (char c : text) {
        unsigned u = code(c);
        if (is_latin_letter_or_digit(u) || u == ' ' || u == '-' || u == '_' || u == '!') out += c;
    }
    return out;
}

std::string trimstr(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && is_blank(code(text[b]))) b++;
    while (e > b && is_blank(code(text[e - 1]))) e--;
    return text.substr(b, e - b);
}

std::string trimname(const std::string& text, int max) {
    std::string kept;
    for (char c : text) {
        unsigned u = code(c);
        // No control characters, no comma or broken bar (they separate fields
        // in saved and sent lists), nothing from 127 to 160.
        if (u >= 32 && u != 44 && u != 166 && (u < 127 || u > 160)) kept += c;
    }
    kept = trimstr(kept);
    if (kept.empty()) return "Mr. Grombat";
    if (max < 0) max = 0;
    if (kept.size() > (size_t)max) kept = trimstr(kept.substr(0, (size_t)max));
    return kept;
}

std::string zerofill(const std::string& text, int width) {
    if (width <= 0 || text.size() >= (size_t)width) return text;
    return std::string((size_t)width - text.size(), '0') + text;
}

std::string valueatindex(const std::vector<std::string>& items, int index) {
    if (index < 0 || (size_t)index >= items.size()) return "";
    return items[(size_t)index];
}

int intmonth(const std::string& text) {
    static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3) return 0;
    const std::string lower = text_lower(text);
    for (int m = 0; m < 12; m++)
        if (lower == kMonths[m]) return m + 1;
    return 0;
}

std::string intdate(const std::string& date) {
    return mid(date, 7, 4) + "-" + zerofill(intmonth(mid(date, 3, 3)), 2) + "-" + mid(date, 0, 2);
}

int DrawTextC(const std::string& text, int x, int y) {
    DrawText(text, (float)(x - TextWidth(text) / 2), (float)y);
    return 0;
}

int DrawTextR(const std::string& text, int x, int y) {
    DrawText(text, (float)(x - TextWidth(text)), (float)y);
    return 0;
}

// A shift by a repeating key. Saved password files depend on two oddities:
// the key position wraps before reaching the key's last character (positions
// 0 .. L-2 are used), and sums wrap by 255, not 256. So mode 1 undoes mode 0
// for codes 0..254 when the key codes are 1..255; code 255 comes back as 0.
std::string crypt(const std::string& text, const std::string& key, int mode) {
    if (mode != 0 && mode != 1) return "";
    // An empty key has nothing to shift by; leave the text as it is.
    if (key.empty()) return text;
    const size_t last = key.size() - 1;
    std::string out;
    out.reserve(text.size());
    size_t k = 0;
    for (char t : text) {
        if (k >= last) k = 0;
        int c;
        if (mode == 0) {
            c = (int)code(t) + (int)code(key[k]);
            if (c > 255) c -= 255;
        } else {
            c = (int)code(t) - (int)code(key[k]);
            if (c < 0) c += 255;
        }
        k++;
        out += (char)(unsigned char)c;
    }
    return out;
}

int text_toint_saturating(const std::string& text) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) i++;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const int64_t limit = int64_t(INT32_MAX) + 1;
    int64_t value = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; i++) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return (int)value;
}

int text_toint_wrapping(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = v * 10u + (uint32_t)(text[i] - '0');
    return (int)(negative ? 0u - v : v);
}

std::string text_lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

std::vector<std::string> text_split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    if (!separator.empty())
        for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
            pieces.push_back(text.substr(start, at - start));
    pieces.push_back(text.substr(start));
    return pieces;
}
