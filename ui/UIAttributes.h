#pragma once

#include <cstdint>
#include <string_view>

// Readers for the attribute values of dialog layouts. Each returns false, leaving its output untouched,
// for a value that is not exactly of its form; layouts come from a file beside the program, so nothing is
// guessed.

// A control's place inside its parent: "x,y,width,height", each a decimal integer, blanks allowed around
// the numbers; sizes may not be negative.
struct UIRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
bool ParseUIRect(std::wstring_view text, UIRect& rect);

// A size: "width,height", neither negative.
bool ParseUISize(std::wstring_view text, int& width, int& height);

// A colour as "#RRGGBB" (opaque) or "#AARRGGBB"; the result is 0xAARRGGBB.
bool ParseUIColor(std::wstring_view text, uint32_t& argb);

// A decimal integer within [low, high].
bool ParseUIInt(std::wstring_view text, int low, int high, int& value);

// "true" or "false".
bool ParseUIBool(std::wstring_view text, bool& value);

// Horizontal text placement: "left", "center" or "right".
enum class UIAlign { Left, Center, Right };
bool ParseUIAlign(std::wstring_view text, UIAlign& align);
