#include "layer/LayerImageCtrl.h"

#include "app/base/FileSystem.h"

#include "layer/Image.h"
#include "layer/LayerText.h"

CLayerImageCtrl::CLayerImageCtrl() : CLayerControlBase(kLayerTypeImage) {}

CLayerImageCtrl::~CLayerImageCtrl() = default;

bool CLayerImageCtrl::HasFileImage() const {
    return m_fileImage && m_fileImage->IsValid();
}

void CLayerImageCtrl::SetImage(CImage* image, BOOL redraw) {
    if (m_image == image) {
        return;
    }
    m_image = image;
    if (m_image && (m_styleFlags & kStyleFitImage)) {
        // Only the new size is of interest; the caller's redraw covers the new rect.
        SetRect(RECT{m_rect.left, m_rect.top, m_rect.left + m_image->GetWidth(), m_rect.top + m_image->GetHeight()},
                FALSE);
    }
    if (redraw) {
        Invalidate(nullptr);
    }
}

namespace {

std::unique_ptr<CImage> DecodeFile(const std::wstring& path) {
    auto image = std::make_unique<CImage>();
    return !path.empty() && FileExists(path) && image->LoadFromFile(path.c_str()) ? std::move(image) : nullptr;
}

} // namespace

void CLayerImageCtrl::SetImageFile(const std::wstring& path, BOOL force, BOOL redraw) {
    if (!force && path == m_filePath && (HasFileImage() || !FileExists(path))) {
        return;
    }
    m_filePath = path;
    m_fileImage = DecodeFile(path);
    if (redraw) {
        Invalidate(nullptr);
    }
}

bool CLayerImageCtrl::ReplaceImageFile(const std::wstring& path, BOOL redraw) {
    std::unique_ptr<CImage> image = DecodeFile(path);
    if (!image) {
        return false;
    }
    m_filePath = path;
    m_fileImage = std::move(image);
    if (redraw) {
        Invalidate(nullptr);
    }
    return true;
}

void CLayerImageCtrl::SetFrameIndex(int frame, BOOL redraw) {
    Update(m_frameIndex, frame, redraw);
}

void CLayerImageCtrl::DrawImage(HDC dc, const CImage& image) {
    int width = image.GetWidth();
    int height = image.GetHeight();
    LayerRect dest = ToLayerRect(m_rect);
    switch (m_drawMode) {
    case kDrawCentered:
        image.Draw(dc, m_rect.left + (dest.Width() - width) / 2, m_rect.top + (dest.Height() - height) / 2, width,
                   height, RECT{0, 0, width, height});
        break;
    case kDrawNineGrid:
        image.DrawPieces(dc, NineGridPieces(width, height, ToLayerRect(m_nineGrid), dest));
        break;
    case kDrawVertical:
        image.DrawPieces(dc, ThreeSlicePieces(width, height, true, m_capTop, height - m_capBottomStart, dest));
        break;
    case kDrawHorizontal:
        image.DrawPieces(dc, ThreeSlicePieces(width, height, false, m_capLeft, width - m_capRightStart, dest));
        break;
    case kDrawFrame:
        if (m_frameIndex != -1) {
            image.DrawFrame(dc, m_rect.left, m_rect.top, dest.Width(), dest.Height(), m_frameIndex);
        }
        break;
    case kDrawTopLeft:
        image.Draw(dc, m_rect.left, m_rect.top, width, height, RECT{0, 0, width, height});
        break;
    default:
        break;
    }
}

void CLayerImageCtrl::Paint(HDC dc) {
    const CImage* image = HasFileImage() ? m_fileImage.get() : m_image;
    if (image && image->IsValid()) {
        DrawImage(dc, *image);
    }
    DrawLayerText(dc, m_text, m_font, ShrinkRect(m_rect, m_textInsets), m_textColor, m_shadowColor, m_textFormat);
}

void CLayerImageCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    PostCommandIfInteractive();
}
