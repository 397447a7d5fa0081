#pragma once

// Windows are laid out in pixels at 96 DPI and drawn at their monitor's scale: a length at `dpi`, rounded to
// the nearest pixel, and a length at `dpi` in 96-DPI pixels. A DPI below 96 counts as 96.
inline constexpr int kBaseDpi = 96;

int ScaleToDpi(int length, int dpi);
int ScaleFromDpi(int length, int dpi);
// The 96-DPI pixel that the pixel at `position` at `dpi` lies in: for mapping the mouse back to a layout.
int LayoutPixelAt(int position, int dpi);
