#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/base/SingletonT.h"
#include "layer/DeskWidget.h"
#include "layer/IDeskWidgetWindow.h"
#include "layer/LayerWindowBase.h"
#include "news/INewsView.h"
#include "news/NewsCarousel.h"

class CLayerButtonCtrl;
class CLayerCheckboxCtrl;
class CLayerControlGroup;
class CLayerImageCtrl;
class CLayerLabelCtrl;

// The news widget: one headline at a time over its picture, the next one every ten seconds, the item's
// page opened in the browser by a click on the picture. While the pointer is over it, a title strip shows
// the caption, the drag lock and the close button. The headlines come from CNewsDataModel, which it asks
// on every show and every hour. What it does as a widget on the desktop (placement, dragging unless
// locked, window order, closing, the hover look's timing) is the shared CDeskWidget's.
class CNewsWnd : public CLayerWindowBase<CNewsWnd>,
                 public INewsView,
                 public IDeskWidgetWindow,
                 public CSingletonT<CNewsWnd> {
    friend class CSingletonT<CNewsWnd>;

public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 264;
    static constexpr UINT kRotateTimer = 1;
    static constexpr UINT kRefreshTimer = 2;
    static constexpr UINT kRotateMs = 10000;
    static constexpr UINT kRefreshMs = 3600000;
    // Control ids, as the controls report them in WM_COMMAND.
    static constexpr int kLockId = 0;
    static constexpr int kUnlockId = 1;
    static constexpr int kCloseId = 2;
    static constexpr int kPictureId = 3;
    static constexpr int kFirstDotId = 4;

    static const wchar_t* GetWndClassName() { return L"VexawpNewsWndClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

    // Creates the window on the first show; places, refreshes and shows it when hidden, or hides it.
    // The main window hears each change.
    void Show(bool show) { m_widget.Show(show); }
    CDeskWidget& GetWidget() { return m_widget; }

    // INewsView
    void SetNewsList(const std::vector<NewsItem>& items) override;
    void SetNewsPicture(size_t index, const std::wstring& path) override;
    std::wstring GetShownPicture() override;

    // Shows items[index]: its dot checked, its title, and its picture once it has one.
    void ShowNewsItem(size_t index);

    // What the widget shows (tests look at it).
    CLayerCheckboxCtrl* GetDot(int i) const { return m_dots[i]; }
    CLayerLabelCtrl* GetTitle() const { return m_title; }
    CLayerButtonCtrl* GetLockButton() const { return m_lock; }

    // The base's push, which also logs the first frames that carry a title and a picture (the moments the
    // benchmark watches for).
    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) override;

    void OnLayerCreate() override;
    void OnLayerDestroy() override;
    void OnLayerTimer(UINT id) override;

    // IDeskWidgetWindow
    bool CreateWidgetWindow(HWND owner) override;
    void OnWidgetShowing() override;
    void OnWidgetHiding() override;
    void OnWidgetHover(bool inside) override;

private:
    CNewsWnd();

    LRESULT OnCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    void BuildLayout();
    void ShowLockState(bool locked);
    void OpenCurrentLink();

    CDeskWidget m_widget;

    std::vector<NewsItem> m_items;
    size_t m_current = 0;

    CLayerImageCtrl* m_frame = nullptr;
    CLayerImageCtrl* m_body = nullptr;
    CLayerControlGroup* m_titleStrip = nullptr;
    CLayerButtonCtrl* m_lock = nullptr;
    CLayerButtonCtrl* m_unlock = nullptr;
    CLayerImageCtrl* m_picture = nullptr;
    CLayerCheckboxCtrl* m_dots[kNewsDotCount] = {};
    CLayerLabelCtrl* m_title = nullptr;

    bool m_titleFrameLogged = false;
    bool m_pictureFrameLogged = false;
};
