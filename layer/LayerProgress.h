#pragma once

#include <cstdint>
#include <string>

#include "layer/LayerControlBase.h"

class CImage;

// A progress bar over a track, growing in one of four directions, drawn as a colour, a stretched
// picture or repeated segments, optionally with the percentage as text. The bar fills the rect shrunk
// by the text insets; the track fills the whole rect.
class CLayerProgress : public CLayerControlBase {
public:
    enum Direction { kFromLeft = 0, kFromRight = 1, kFromTop = 2, kFromBottom = 3 };

    CLayerProgress() : CLayerControlBase(kLayerTypeProgress) {}
    ~CLayerProgress() override = default;
    virtual void SetPos(uint64_t position, BOOL redraw);

    void Paint(HDC dc) override;

    uint64_t GetPos() const { return m_position; }
    void SetMax(uint64_t maximum, BOOL redraw);
    uint64_t GetMax() const { return m_maximum; }
    void SetDirection(int direction) { m_direction = direction; }
    int GetDirection() const { return m_direction; }
    // Caps are the unscaled ends of a sliced picture: widths across a horizontal bar, heights along a
    // vertical one.
    void SetTrackImage(CImage* image, int firstCap, int lastCap);
    void SetTrackColor(COLORREF color) { m_trackColor = color; }
    void SetBarImage(CImage* image, int firstCap, int lastCap);
    void SetBarColor(COLORREF color) { m_barColor = color; }
    // Segmented bars repeat the bar picture at its natural size, gap pixels apart.
    void SetSegmented(bool segmented, int gap) {
        m_segmented = segmented;
        m_segmentGap = gap;
    }
    void SetTrackOnTop(bool onTop) { m_trackOnTop = onTop; }
    void ShowPercentage(bool show) { m_showPercentage = show; }
    // A printf-style format given one double, the percentage.
    void SetPercentageFormat(const std::wstring& format) { m_percentageFormat = format; }

private:
    void PaintTrack(HDC dc);
    void PaintBar(HDC dc, const RECT& bar);

    int m_direction = kFromLeft;
    CImage* m_trackImage = nullptr;
    int m_trackFirstCap = 0;
    int m_trackLastCap = 0;
    COLORREF m_trackColor = static_cast<COLORREF>(-1);
    CImage* m_barImage = nullptr;
    int m_barFirstCap = 0;
    int m_barLastCap = 0;
    COLORREF m_barColor = static_cast<COLORREF>(-1);
    bool m_segmented = false;
    int m_segmentGap = 0;
    uint64_t m_maximum = 100;
    uint64_t m_position = 0;
    bool m_trackOnTop = false;
    bool m_showPercentage = false;
    std::wstring m_percentageFormat = L"%.1f%%";
};
