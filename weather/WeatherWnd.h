#pragma once

#include <windows.h>

#include "app/base/SingletonT.h"
#include "layer/DeskWidget.h"
#include "layer/IDeskWidgetWindow.h"
#include "layer/LayerWindowBase.h"
#include "weather/IWeatherSetWndEvent.h"
#include "weather/IWeatherView.h"
#include "weather/WeatherData.h"
#include "weather/WeatherSetWnd.h"
#include "weather/WeatherText.h"

class CLayerButtonCtrl;
class CLayerCheckboxCtrl;
class CLayerControlGroup;
class CLayerImageCtrl;
class CLayerLabelCtrl;
class CLayerSliderCtrl;

// The weather widget: the chosen town's conditions (temperature, description, air quality, an icon) over a
// four-day forecast that folds away. While the pointer is over it a toolbar shows the transparency slider, the
// town, the city button, the forecast switch and the close button. The city button opens the city dialog,
// attached below the widget; a town confirmed there is asked for at once. The records come from
// CWeatherDataModel, which it asks on every show and every hour. What it does as a widget on the desktop (placement,
// dragging, window order, closing, the slider's saved value) is the shared CDeskWidget's.
class CWeatherWnd : public CLayerWindowBase<CWeatherWnd>,
                    public IWeatherView,
                    public IWeatherSetWndEvent,
                    public IDeskWidgetWindow,
                    public CSingletonT<CWeatherWnd> {
    friend class CSingletonT<CWeatherWnd>;

public:
    static constexpr UINT kRefreshTimer = 1;
    static constexpr UINT kRefreshMs = 3600000;
    // Control ids, as the controls report them in WM_COMMAND.
    static constexpr int kSliderId = 1;
    static constexpr int kCityId = 2;
    static constexpr int kForecastSwitchId = 3;
    static constexpr int kCloseId = 4;

    static const wchar_t* GetWndClassName() { return L"VexawpWeatherWndClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

    // Creates the window on the first show; places, refreshes and shows it when hidden, or hides it.
    // The main window hears each change.
    void Show(bool show) { m_widget.Show(show); }
    CDeskWidget& GetWidget() { return m_widget; }

    // IWeatherView: the record is kept and painted from a posted task.
    void SetWeatherData(const WeatherData& data) override;
    // Paints the kept record: the current conditions always move with the temperature's width; a record
    // without forecast days changes nothing else.
    void UpdateWeather();

    // IWeatherSetWndEvent: a town other than the one on display is asked for.
    void OnSelectCity(const std::wstring& townCode) override;

    // The base's push, which also logs the first frame that carries a record (the moment the benchmark
    // watches for).
    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) override;

    void OnLayerCreate() override;
    void OnLayerDestroy() override;
    void OnLayerTimer(UINT id) override;

    // IDeskWidgetWindow
    bool CreateWidgetWindow(HWND owner) override;
    void OnWidgetShowing() override;
    void OnWidgetHiding() override;
    void OnWidgetHover(bool inside) override;
    void OnWidgetMoved() override;

private:
    CWeatherWnd();

    // The controls of one forecast row.
    struct ForecastRowCtrls {
        CLayerLabelCtrl* date = nullptr;
        CLayerLabelCtrl* weekday = nullptr;
        CLayerImageCtrl* icon = nullptr;
        CLayerLabelCtrl* range = nullptr;
        CLayerLabelCtrl* description = nullptr;
    };

    LRESULT OnCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    void BuildLayout();
    void BuildToolbar();
    void BuildForecast();
    void SetHover(bool hovered);
    void SetTransparency(int percent);
    void ApplyBackground();
    void OnForecastSwitch();
    void OpenCityDialog();
    void PlaceCurrent(const CurrentPlacement& placement);
    void FillForecastRows();

    CDeskWidget m_widget;
    CWeatherSetWnd m_cityDialog;

    WeatherData m_shown;
    bool m_expanded = false;
    bool m_hovered = false;
    int m_percent = 100;

    CLayerImageCtrl* m_background = nullptr;
    CLayerControlGroup* m_toolbar = nullptr;
    CLayerSliderCtrl* m_slider = nullptr;
    CLayerLabelCtrl* m_percentLabel = nullptr;
    CLayerLabelCtrl* m_place = nullptr;
    CLayerCheckboxCtrl* m_forecastSwitch = nullptr;
    CLayerLabelCtrl* m_temperature = nullptr;
    CLayerImageCtrl* m_degree = nullptr;
    CLayerLabelCtrl* m_description = nullptr;
    CLayerLabelCtrl* m_airQuality = nullptr;
    CLayerImageCtrl* m_icon = nullptr;
    CLayerControlGroup* m_forecast = nullptr;
    ForecastRowCtrls m_rows[kForecastRowCount];

    bool m_dataFrameLogged = false;
};
