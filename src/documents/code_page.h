#pragma once
// Windows-1251, the single-byte code page of the program's files and of the view's glyphs: ASCII
// plus Cyrillic. Every conversion goes through the C library's iconv.

#include <string>
#include <string_view>

/// The Unicode code point of a Windows-1251 byte (0 for the one unassigned byte, 0x98).
char32_t Cp1251ToUnicode(unsigned char Byte);

/// Windows-1251 bytes as UTF-8; the unassigned byte becomes '?'.
std::string Cp1251ToUtf8(std::string_view Bytes);

/// UTF-8 text as Windows-1251 bytes; a character the code page lacks, and broken UTF-8, become '?'
/// (one for each character or stray byte).
std::string Utf8ToCp1251(std::string_view Utf8);

/// UTF-8 text as Windows-1251 bytes, all or nothing: false when a character has no place in the
/// code page or the text is no valid UTF-8.
bool Utf8ToCp1251Exactly(std::string_view Utf8, std::string& Bytes);

/// UTF-8 text with every character that Windows-1251 lacks, and every stray byte, replaced by
/// `StandIn`: what a text may hold for a file to stay in the code page (`EncodeTextLines`).
std::string WithCp1251Characters(std::string_view Utf8, std::string_view StandIn);
