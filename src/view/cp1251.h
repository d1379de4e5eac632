#pragma once
// The single-byte code page of the view's text: ASCII plus Cyrillic in Windows-1251.

#include <string>
#include <string_view>

/// The Unicode code point of a Windows-1251 byte (0 for the one unassigned byte, 0x98).
char32_t Cp1251ToUnicode(unsigned char Byte);

/// Encodes UTF-8 text into Windows-1251 bytes; characters the code page lacks become '?'.
std::string Utf8ToCp1251(std::string_view Utf8);
