// Text services shared by the whole program: character filters, trimming,
// zero filling, safe indexing, month and date conversion, aligned text drawing
// and the reversible string scrambler of the password file.
//
// Text is one byte per character (Latin-1); every character is treated as its
// unsigned code 0..255.
#pragma once

#include <string>
#include <vector>

// Text to integer, saturating: leading white space (space, tab .. CR)
// skipped, an optional sign, then digits up to the first other character; no
// digits give 0; values beyond the int range stop at its ends. The rule of
// every settings file.
int text_toint_saturating(const std::string& text);
// Text to integer, wrapping: leading spaces and tabs skipped, an optional
// sign, then digits up to the first other character, wrapping like a 32-bit
// int; no digits give 0. The rule of the map type fields.
int text_toint_wrapping(const std::string& text);
// ASCII letters lowered; other bytes kept.
std::string text_lower(std::string text);
// Splits at every separator: "a,,b" gives "a", "", "b"; "" gives one "".
std::vector<std::string> text_split(const std::string& text, const std::string& separator);

// Keeps only Latin letters, digits, space and hyphen.
std::string alphanumtrim(const std::string& text);
// Keeps only Latin letters, digits, space, hyphen, underscore and "!", so the
// result can never name a path outside the folder it is put in.
std::string filename(const std::string& text);
// Drops leading and trailing tabs, spaces and no-break spaces (160).
std::string trimstr(const std::string& text);
// A cleaned player or team name of at most `max` characters; "Mr. Grombat"
// when nothing usable is left.
std::string trimname(const std::string& text, int max);
// "0" put in front until the text has at least `width` characters.
std::string zerofill(const std::string& text, int width);
inline std::string zerofill(int value, int width) { return zerofill(std::to_string(value), width); }
// items[index], or "" when the index is outside the array.
std::string valueatindex(const std::vector<std::string>& items, int index);
// 1..12 for "jan".."dec" in any case; 0 for anything else.
int intmonth(const std::string& text);
// "08 Dec 2026" -> "2026-12-08"; an unknown month gives "00".
std::string intdate(const std::string& date);
// Text drawn with its centre (rounded toward zero) or its right edge at x;
// both return 0.
int DrawTextC(const std::string& text, int x, int y);
int DrawTextR(const std::string& text, int x, int y);
// Mode 0 scrambles, mode 1 unscrambles with the same key; any other mode
// gives "". Written password files depend on the exact rule (see text.cpp).
std::string crypt(const std::string& text, const std::string& key, int mode);
