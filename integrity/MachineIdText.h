#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// What is hashed into the machine identifier: a fixed prefix and the hex digits and dashes of the
// machine's identity text (a GUID or a volume serial number), in lower case. Braces, blanks and
// letter case of the stored text therefore do not change the identifier. Empty when the text
// holds no hex digit.
std::string MachineIdHashInput(std::wstring_view identity);

// Lower-case hex of the bytes, two digits each.
std::wstring HexText(std::span<const uint8_t> bytes);
