#pragma once

#include <windows.h>

#include <string>

#include "app/base/SingletonT.h"
#include "calendar/CalendarMonth.h"
#include "calendar/HolidayData.h"
#include "calendar/ICalendarView.h"
#include "layer/DeskWidget.h"
#include "layer/IDeskWidgetWindow.h"
#include "layer/LayerWindowBase.h"

class CLayerCalendarItemCtrl;
class CLayerImageCtrl;
class CLayerLabelCtrl;
class CLayerSliderCtrl;

// The calendar widget: today's month as six Monday-first weeks with lunar texts and rest/working-day
// badges, a transparency slider and a close button on a title strip that shows while the widget is
// in use. It follows the date by itself; the main window only shows and hides it. What it does as a
// widget on the desktop (placement, dragging, window order, closing, the slider's saved value) is the
// shared CDeskWidget's.
class CCalendarWnd : public CLayerWindowBase<CCalendarWnd>,
                     public ICalendarView,
                     public IDeskWidgetWindow,
                     public CSingletonT<CCalendarWnd> {
    friend class CSingletonT<CCalendarWnd>;

public:
    static constexpr UINT kDateTimer = 1;
    static constexpr UINT kDateCheckMs = 1000;
    static constexpr int kSliderId = 1;
    static constexpr int kCloseId = 4;

    static const wchar_t* GetWndClassName() { return L"VexawpCalendarWndClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    END_MSG_MAP()

    // Creates the window on the first show; places, refreshes and shows it when hidden, or hides it.
    // The main window hears each change.
    void Show(bool show) { m_widget.Show(show); }
    CDeskWidget& GetWidget() { return m_widget; }

    // ICalendarView. SetMonthData comes on the model's worker: the copy travels in the posted repaint.
    void SetMonthData(const CalendarMonth& month) override;
    void SetHolidayDays(const HolidayDaySet& rest, const HolidayDaySet& work) override;
    void SetSolarTermNames(const SolarTermMap& terms, const std::wstring& year) override;

    // A day cell, row-major from the top left (tests look at what the grid shows).
    const CLayerCalendarItemCtrl* GetCell(int index) const { return m_cells[index]; }

    void RefreshGrid();
    std::wstring GetCellSubText(const LunarInfo& lunar, PackedDate date) const;
    void SetTransparency(int percent);

    // The base's push, which also logs the first frame that carries the month (the moment the widget is
    // complete on screen; the benchmark watches for it).
    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) override;

    void OnLayerCreate() override;
    void OnLayerTimer(UINT id) override;
    void OnLayerLButtonDown(UINT flags, int x, int y) override;

    // IDeskWidgetWindow
    bool CreateWidgetWindow(HWND owner) override;
    void OnWidgetShowing() override;
    void OnWidgetHiding() override;

private:
    CCalendarWnd();

    LRESULT OnCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnActivate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    void ApplyMonthData(const CalendarMonth& month);
    void BuildLayout();
    void ShowTitleStrip(bool show);
    void PlaceHeader(int month, int year);

    CDeskWidget m_widget;

    CalendarMonth m_month;
    HolidayDaySet m_rest;
    HolidayDaySet m_work;
    SolarTermMap m_terms;
    std::wstring m_termYear;

    CLayerCalendarItemCtrl* m_cells[CalendarMonth::kCells] = {};
    CLayerImageCtrl* m_frame = nullptr;
    CLayerImageCtrl* m_body = nullptr;
    CLayerImageCtrl* m_titleStrip = nullptr;
    CLayerImageCtrl* m_monthPicture = nullptr;
    CLayerLabelCtrl* m_monthName = nullptr;
    CLayerLabelCtrl* m_yearLabel = nullptr;
    CLayerLabelCtrl* m_percent = nullptr;
    CLayerSliderCtrl* m_slider = nullptr;

    bool m_gridFilled = false;
    bool m_firstFrameLogged = false;
};
