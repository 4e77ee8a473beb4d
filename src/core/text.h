// Windows-1252 and UTF-8: config.txt may be in either; tokens are Windows-1252 bytes and every
// text shown to the user is UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string cp1252_to_utf8(std::string_view bytes);
// Converts valid UTF-8 to Windows-1252 (characters it lacks become '?'); returns false and
// leaves `out` untouched when `bytes` is not valid UTF-8.
bool utf8_to_cp1252(std::string_view bytes, std::string& out);
// Converts UTF-16 text (Notepad's "Unicode"), recognised by its byte-order mark or, without one,
// by the zero bytes of its ASCII characters, to Windows-1252 (characters it lacks and broken
// pairs become '?'); returns false when `bytes` is not UTF-16.
bool utf16_to_cp1252(std::string_view bytes, std::string& out);
// The characters a text shows once drawn: UTF-8 characters, or bytes when the text is not
// UTF-8 (the surface draws those as Windows-1252).
int drawn_characters(std::string_view text);
// printf into a string, whatever its length (the screens' "%3d ms", "%-2d" and the like).
std::string format(const char* f, ...) __attribute__((format(printf, 1, 2)));
