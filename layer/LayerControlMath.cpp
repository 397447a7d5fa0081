#include "layer/LayerControlMath.h"

#include <algorithm>
#include <cwchar>

#include "app/base/DpiScale.h"

LayerRect ShrinkRect(const LayerRect& rect, const LayerRect& insets) {
    return LayerRect{rect.left + insets.left, rect.top + insets.top, rect.right - insets.right,
                     rect.bottom - insets.bottom};
}

TextLayout DecodeTextFormat(uint32_t flags) {
    TextLayout layout;
    if (flags & 0x0001) {
        layout.vertical = TextAlign::Center;
    } else if (flags & 0x0002) {
        layout.vertical = TextAlign::Far;
    }
    if (flags & 0x0010) {
        layout.horizontal = TextAlign::Center;
    } else if (flags & 0x0020) {
        layout.horizontal = TextAlign::Far;
    }
    if (flags & 0x0100) {
        layout.trimming = TextTrimming::EllipsisCharacter;
    } else if (flags & 0x0200) {
        layout.trimming = TextTrimming::EllipsisWord;
    }
    // No-clipping replaces the string format flags rather than adding to them, so it cancels no-wrap.
    if (flags & 0x0400) {
        layout.noClip = true;
    } else if (flags & 0x1000) {
        layout.noWrap = true;
    }
    return layout;
}

int ButtonFrame(int frameCount, bool disabled, bool pressed, bool hot) {
    if (disabled && frameCount >= 4) {
        return 3;
    }
    if (pressed && frameCount > 2) {
        return 2;
    }
    if (hot && frameCount > 1) {
        return 1;
    }
    return 0;
}

int CheckboxFrame(bool disabled, bool pressed, bool hot, bool checked) {
    int state = disabled ? 3 : pressed ? 2 : hot ? 1 : 0;
    return checked ? state + 4 : state;
}

uint32_t ButtonTextColor(uint32_t textColor, bool stateColorsEnabled, const ButtonStateColors& colors, bool disabled,
                         bool pressed, bool hot) {
    uint32_t color = textColor;
    if (stateColorsEnabled) {
        color = disabled ? colors.disabled : pressed ? colors.pressed : hot ? colors.hot : colors.normal;
    }
    return disabled ? DimmedColor(color) : color;
}

uint32_t DimmedColor(uint32_t color) {
    return static_cast<uint32_t>(static_cast<double>(color) * 0.8);
}

double ProgressFraction(uint64_t position, uint64_t maximum) {
    uint64_t shown = std::min(position, maximum);
    if (maximum == 0 || shown == 0) {
        return 0.0;
    }
    return std::max(static_cast<double>(shown) / static_cast<double>(maximum), 0.01);
}

LayerRect ProgressBarRect(const LayerRect& area, int direction, double fraction) {
    LayerRect bar = area;
    bool vertical = direction == 2 || direction == 3;
    int extent = static_cast<int>(fraction * (vertical ? area.Height() : area.Width()));
    extent = std::max(extent, 0);
    switch (direction) {
    case 1:
        bar.left = area.right - extent;
        break;
    case 2:
        bar.bottom = area.top + extent;
        break;
    case 3:
        bar.top = area.bottom - extent;
        break;
    default:
        bar.right = area.left + extent;
        break;
    }
    return bar;
}

std::vector<int> ProgressSegments(const LayerRect& bar, bool vertical, int imageWidth, int imageHeight, int gap) {
    std::vector<int> positions;
    int step = (vertical ? imageHeight : imageWidth) + gap;
    if (step <= 0) {
        return positions;
    }
    if (vertical) {
        for (int y = bar.bottom - imageHeight; y >= bar.top; y -= step) {
            positions.push_back(y);
        }
    } else {
        for (int x = bar.left; x <= bar.right; x += step) {
            positions.push_back(x);
        }
    }
    return positions;
}

std::wstring ProgressPercentText(const std::wstring& format, uint64_t position, uint64_t maximum) {
    double percent = 0.0;
    if (maximum != 0) {
        percent = static_cast<double>(std::min(position, maximum)) / static_cast<double>(maximum) * 100.0;
    }
    wchar_t text[64] = {};
    if (std::swprintf(text, sizeof(text) / sizeof(text[0]), format.c_str(), percent) < 0) {
        return std::wstring();
    }
    return text;
}

int SliderDragOffset(int offset, int range, int anchorX, int pointX) {
    if (range < 0) {
        return offset;
    }
    return std::clamp(offset + (pointX - anchorX), 0, range);
}

int SliderPercent(int offset, int range) {
    return range > 0 ? offset * 100 / range : 0;
}

namespace {

// Cuts [0, size) into first cap, middle and last cap, with caps clamped so they never overlap.
struct Span {
    int first;
    int last;
};
Span ClampCaps(int size, int first, int last) {
    first = std::clamp(first, 0, std::max(size, 0));
    last = std::clamp(last, 0, std::max(size - first, 0));
    return Span{first, last};
}

void AddPiece(std::vector<ImagePiece>& pieces, const LayerRect& source, const LayerRect& dest) {
    if (source.Width() > 0 && source.Height() > 0 && dest.Width() > 0 && dest.Height() > 0) {
        pieces.push_back(ImagePiece{source, dest});
    }
}

} // namespace

std::vector<ImagePiece> NineGridPieces(int imageWidth, int imageHeight, const LayerRect& insets,
                                       const LayerRect& dest) {
    Span x = ClampCaps(imageWidth, insets.left, insets.right);
    Span y = ClampCaps(imageHeight, insets.top, insets.bottom);
    const int sourceX[4] = {0, x.first, imageWidth - x.last, imageWidth};
    const int sourceY[4] = {0, y.first, imageHeight - y.last, imageHeight};
    const int destX[4] = {dest.left, dest.left + x.first, dest.right - x.last, dest.right};
    const int destY[4] = {dest.top, dest.top + y.first, dest.bottom - y.last, dest.bottom};
    std::vector<ImagePiece> pieces;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            AddPiece(pieces, LayerRect{sourceX[column], sourceY[row], sourceX[column + 1], sourceY[row + 1]},
                     LayerRect{destX[column], destY[row], destX[column + 1], destY[row + 1]});
        }
    }
    return pieces;
}

std::vector<ImagePiece> ThreeSlicePieces(int imageWidth, int imageHeight, bool vertical, int firstCap, int lastCap,
                                         const LayerRect& dest) {
    // Worked out along x; a vertical slice swaps the axes going in and coming out.
    auto swap = [](const LayerRect& r) { return LayerRect{r.top, r.left, r.bottom, r.right}; };
    int length = vertical ? imageHeight : imageWidth;
    int across = vertical ? imageWidth : imageHeight;
    LayerRect target = vertical ? swap(dest) : dest;
    Span caps = ClampCaps(length, firstCap, lastCap);
    int middle = length - caps.first - caps.last;

    std::vector<ImagePiece> pieces;
    AddPiece(pieces, LayerRect{0, 0, caps.first, across},
             LayerRect{target.left, target.top, target.left + caps.first, target.bottom});
    if (middle > 0) {
        int end = target.right - caps.last;
        for (int x = target.left + caps.first; x < end; x += middle) {
            int width = std::min(middle, end - x);
            AddPiece(pieces, LayerRect{caps.first, 0, caps.first + width, across},
                     LayerRect{x, target.top, x + width, target.bottom});
        }
    }
    AddPiece(pieces, LayerRect{length - caps.last, 0, length, across},
             LayerRect{target.right - caps.last, target.top, target.right, target.bottom});
    if (vertical) {
        for (ImagePiece& piece : pieces) {
            piece = ImagePiece{swap(piece.source), swap(piece.dest)};
        }
    }
    return pieces;
}

LayerRect ScaleRectToDpi(const LayerRect& rect, int dpi) {
    return LayerRect{ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
                     ScaleToDpi(rect.bottom, dpi)};
}
