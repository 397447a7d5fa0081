#pragma once

#include <memory>
#include <string>

#include "layer/LayerControlBase.h"

class CImage;

// A picture: a skin image or a picture file (which wins while it is loaded), drawn by one of six modes,
// with the caption on top. An interactive picture posts WM_COMMAND when clicked.
class CLayerImageCtrl : public CLayerControlBase {
public:
    enum DrawMode {
        kDrawCentered = 0,   // natural size, centred in the rect
        kDrawNineGrid = 1,   // corners unscaled, edges and centre stretched (nine-grid insets)
        kDrawVertical = 2,   // top and bottom unscaled, middle repeated (vertical caps)
        kDrawHorizontal = 3, // left and right unscaled, middle repeated (horizontal caps)
        kDrawFrame = 4,      // the frame given by the frame index, scaled into the rect
        kDrawTopLeft = 5,    // natural size at the rect's top-left corner
    };
    // Create() style bit: the rect follows the size of every image set afterwards.
    static constexpr UINT kStyleFitImage = 0x1;

    CLayerImageCtrl();
    ~CLayerImageCtrl() override;

    void Paint(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    // The skin image is not owned.
    void SetImage(CImage* image, BOOL redraw);
    CImage* GetImage() const { return m_image; }
    // Loads a picture file unless the same path is already loaded (or still missing) and force is false. A
    // file that is missing or fails to decode leaves no file image, so the skin image shows.
    void SetImageFile(const std::wstring& path, BOOL force, BOOL redraw);
    // Shows a picture file only if it decodes; otherwise false, and what was shown stays.
    bool ReplaceImageFile(const std::wstring& path, BOOL redraw);
    const std::wstring& GetImageFile() const { return m_filePath; }
    bool HasFileImage() const;

    void SetDrawMode(int mode) { m_drawMode = mode; }
    int GetDrawMode() const { return m_drawMode; }
    // Nine-grid insets: widths of the left and right columns and heights of the top and bottom rows.
    void SetNineGridInsets(const RECT& insets) { m_nineGrid = insets; }
    // Horizontal caps: the left cap's width and the x in the image where the right cap starts.
    void SetHorizontalCaps(int left, int rightStart) {
        m_capLeft = left;
        m_capRightStart = rightStart;
    }
    // Vertical caps: the top cap's height and the y in the image where the bottom cap starts.
    void SetVerticalCaps(int top, int bottomStart) {
        m_capTop = top;
        m_capBottomStart = bottomStart;
    }
    void SetFrameIndex(int frame, BOOL redraw);
    int GetFrameIndex() const { return m_frameIndex; }

private:
    void DrawImage(HDC dc, const CImage& image);

    int m_drawMode = kDrawCentered;
    RECT m_nineGrid{};
    int m_capLeft = 0;
    int m_capRightStart = 0;
    int m_capTop = 0;
    int m_capBottomStart = 0;
    CImage* m_image = nullptr;
    std::unique_ptr<CImage> m_fileImage;
    std::wstring m_filePath;
    int m_frameIndex = -1;
};
