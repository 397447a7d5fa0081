#include "layer/LayerProgress.h"

#include "layer/Image.h"
#include "layer/LayerText.h"

namespace {

bool IsVertical(int direction) {
    return direction == CLayerProgress::kFromTop || direction == CLayerProgress::kFromBottom;
}

} // namespace

void CLayerProgress::SetPos(uint64_t position, BOOL redraw) {
    Update(m_position, position, redraw);
}

void CLayerProgress::SetMax(uint64_t maximum, BOOL redraw) {
    Update(m_maximum, maximum, redraw);
}

void CLayerProgress::SetTrackImage(CImage* image, int firstCap, int lastCap) {
    m_trackImage = image;
    m_trackFirstCap = firstCap;
    m_trackLastCap = lastCap;
}

void CLayerProgress::SetBarImage(CImage* image, int firstCap, int lastCap) {
    m_barImage = image;
    m_barFirstCap = firstCap;
    m_barLastCap = lastCap;
}

void CLayerProgress::PaintTrack(HDC dc) {
    if (!m_trackImage) {
        FillLayerRect(dc, m_rect, m_trackColor);
        return;
    }
    m_trackImage->DrawPieces(dc, ThreeSlicePieces(m_trackImage->GetWidth(), m_trackImage->GetHeight(),
                                                  IsVertical(m_direction), m_trackFirstCap, m_trackLastCap,
                                                  ToLayerRect(m_rect)));
}

void CLayerProgress::PaintBar(HDC dc, const RECT& bar) {
    if (!m_barImage) {
        if (m_barColor != kNoColor) {
            FillLayerRect(dc, bar, m_barColor);
        }
        return;
    }
    if (!m_barImage->IsValid()) {
        return;
    }
    int width = m_barImage->GetWidth();
    int height = m_barImage->GetHeight();
    bool vertical = IsVertical(m_direction);
    if (!m_segmented) {
        m_barImage->DrawPieces(
            dc, vertical
                    ? ThreeSlicePieces(width, height, true, m_barFirstCap, m_barLastCap, ToLayerRect(bar))
                    : NineGridPieces(width, height, LayerRect{m_barFirstCap, 0, m_barLastCap, 0}, ToLayerRect(bar)));
        return;
    }
    std::vector<ImagePiece> copies;
    for (int at : ProgressSegments(ToLayerRect(bar), vertical, width, height, m_segmentGap)) {
        LayerRect dest = vertical ? LayerRect{bar.left, at, bar.left + width, at + height}
                                  : LayerRect{at, bar.top, at + width, bar.top + height};
        copies.push_back(ImagePiece{LayerRect{0, 0, width, height}, dest});
    }
    m_barImage->DrawPieces(dc, copies);
}

void CLayerProgress::Paint(HDC dc) {
    if (!m_trackOnTop) {
        PaintTrack(dc);
    }
    RECT area = ShrinkRect(m_rect, m_textInsets);
    double fraction = ProgressFraction(m_position, m_maximum);
    if (fraction > 0.0) {
        PaintBar(dc, ToRect(ProgressBarRect(ToLayerRect(area), m_direction, fraction)));
    }
    if (m_showPercentage && m_font) {
        DrawLayerString(dc, ProgressPercentText(m_percentageFormat, m_position, m_maximum), m_font, area, m_textColor,
                        m_textFormat);
    }
    if (m_trackOnTop) {
        PaintTrack(dc);
    }
}
