#pragma once
// Decoding of the memory blocks the clipboard hands out. The block's size is what the platform
// reports; nothing beyond it is ever read.

#include <windows.h>

#include <cstddef>
#include <string>

// The UTF-16 units of a CF_UNICODETEXT block up to the first NUL or the end of the block,
// whichever comes first. An odd last byte is not part of any unit and is ignored; unpaired
// surrogates are kept as they are.
std::u16string UnicodeTextFromBlock(const void* pBlock, size_t nBytes);

// The bytes of a CF_TEXT block up to the first zero byte or the end of the block, converted from
// the given code page to UTF-16.
std::u16string AnsiTextFromBlock(const void* pBlock, size_t nBytes, UINT nCodePage);
