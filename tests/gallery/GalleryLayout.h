#pragma once

#include <windows.h>

// Where the control gallery puts its windows and its solid fills, and the switch tools/gallery waits on.
namespace gallery {

constexpr wchar_t kWindowClass[] = L"DesklingGalleryWnd";

// Screen rectangles of the four gallery windows on a 1280 x 800 screen, and the message box's corner.
constexpr RECT kButtonsWindow{10, 10, 570, 510};
constexpr RECT kPicturesWindow{580, 10, 1270, 510};
constexpr RECT kCalendarWindow{10, 520, 410, 790};
constexpr RECT kProgressWindow{420, 520, 940, 790};
constexpr POINT kMsgBoxCorner{955, 560};

// Calendar cells: a grid of 7 columns from this corner (client coordinates of the calendar window).
constexpr int kCellLeft = 14;
constexpr int kCellTop = 72;
constexpr int kCellWidth = 53;
constexpr int kCellHeight = 56;
constexpr int kSelectedCell = 9; // index in the grid, row-major
constexpr int kRestCell = 3;
constexpr int kWorkCell = 12;

inline RECT CellRect(int index) {
    int x = kCellLeft + (index % 7) * kCellWidth;
    int y = kCellTop + (index / 7) * kCellHeight;
    return RECT{x, y, x + kCellWidth, y + kCellHeight};
}

// A progress bar filled with a plain colour (client coordinates of the progress window), at this position.
constexpr RECT kColourBar{20, 96, 220, 106};
constexpr COLORREF kColourBarTrack = RGB(58, 63, 76);
constexpr COLORREF kColourBarFill = RGB(242, 113, 96);
constexpr int kColourBarPercent = 40;

// The ready file the gallery writes once every window has pushed its first frame.
constexpr wchar_t kReadyArgument[] = L"--ready";

} // namespace gallery
