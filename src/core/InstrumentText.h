#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace varnok {

// The instrument's own software runs on Windows: its files and replies are UTF-8 when they are valid
// UTF-8, and Windows-1252 otherwise. These functions apply that one rule everywhere text crosses into
// or out of the program.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Bytes from a file or from the instrument, as UTF-8: unchanged when valid UTF-8, otherwise each byte
// read as Windows-1252 (the five bytes that code page leaves undefined become U+0081, U+008D, U+008F,
// U+0090 and U+009D, as Windows itself maps them).
std::string InstrumentTextToUtf8(std::string_view bytes);

// UTF-8 text as the Windows-1252 bytes the instrument expects. A character that code page cannot
// represent goes out as '?'. Malformed UTF-8 bytes are passed through unchanged, one byte each.
std::string Utf8ToInstrumentText(std::string_view utf8);

// The first `characters` characters of UTF-8 text (never a cut inside a character).
std::string_view FirstCharacters(std::string_view utf8, std::size_t characters);

}  // namespace varnok
