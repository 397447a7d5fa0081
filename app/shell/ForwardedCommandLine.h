#pragma once

#include <cstddef>
#include <string>

// Tag of a WM_COPYDATA record that carries a later instance's command line.
constexpr unsigned long kCopyDataCommandLineTag = 1000;

// The text of a forwarded command line: UTF-16 units up to the first NUL or the end of the bytes,
// whichever comes first. An odd trailing byte is not part of any character and is ignored.
std::wstring ForwardedCommandLineText(const void* data, size_t bytes);
