#include "layer/LayerControlFactory.h"

#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/SkinRegistry.h"

CLayerImageCtrl* AddPicture(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                            int image) {
    auto* picture = AddControl<CLayerImageCtrl>(parent, hwnd, window, 0, x, y, cx, cy);
    picture->SetDrawMode(CLayerImageCtrl::kDrawFrame);
    picture->SetFrameIndex(0, FALSE);
    picture->SetImage(GetImage(image), FALSE);
    return picture;
}

CLayerLabelCtrl* AddLabel(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                          int font, COLORREF color) {
    auto* label = AddControl<CLayerLabelCtrl>(parent, hwnd, window, 0, x, y, cx, cy);
    label->SetFont(GetFont(font));
    label->SetTextColor(color, FALSE);
    return label;
}
