#pragma once

#include <windows.h>

#include <string>

#include "app/base/sigslot.h"
#include "ui/INotifyUI.h"
#include "ui/UIDialog.h"
#include "weather/IWeatherSetWndEvent.h"

class CProvinceList;
class CUICombo;

// The city-selection dialog: province, city and town lists filled from the area directory as its levels
// arrive, attached below the weather window, reporting the confirmed town code to its sink. The window is
// made on first show from "WeatherSetUI.xml" and afterwards only hidden and shown. UI thread only.
class CWeatherSetWnd : public CUIDialog, public INotifyUI, public sigslot::has_slots<> {
public:
    // Connects to the area directory's announcements; the directory is the process's own.
    CWeatherSetWnd();
    // The same over another directory.
    explicit CWeatherSetWnd(CProvinceList* directory);
    ~CWeatherSetWnd() override;

    void SetEventSink(IWeatherSetWndEvent* sink) { m_sink = sink; }
    // The codes to select when the lists fill: those of the town on display.
    void SetPreset(const std::wstring& province, const std::wstring& city, const std::wstring& town);
    // The weather window the dialog stays attached below; it also owns the dialog's window.
    void SetAnchor(HWND weatherWnd) { m_anchor = weatherWnd; }
    // Shows (making the window on first use, filling the provinces when it was hidden) or hides the dialog.
    void ShowDialog(bool show, bool forecastShown);
    // When visible: left edge on the weather window's, top 15 (forecast shown) or 181 (folded) pixels above
    // its bottom, at the dialog's scale.
    void Reposition(bool forecastShown);
    bool IsVisible() const { return IsShown(); }

    // The current selection of each level (empty while a level has none).
    const std::wstring& GetProvinceCode() const { return m_provinceCode; }
    const std::wstring& GetCityCode() const { return m_cityCode; }
    const std::wstring& GetTownCode() const { return m_townCode; }

    void Notify(const TNotifyUI& msg) override;

private:
    void OnProvincesReady();
    void OnCitiesReady(const std::wstring& province);
    void OnTownsReady(const std::wstring& city);
    void FillProvinces();
    void FillCities();
    void FillTowns();

    CUICombo* Combo(const wchar_t* name) const;
    // The selected item's text of a list, empty without one.
    std::wstring SelectedText(const wchar_t* name) const;
    POINT AttachedPosition(bool forecastShown) const;

    CProvinceList* m_directory;
    std::wstring m_provinceCode;
    std::wstring m_cityCode;
    std::wstring m_townCode;
    IWeatherSetWndEvent* m_sink = nullptr;
    std::wstring m_presetProvince;
    std::wstring m_presetCity;
    std::wstring m_presetTown;
    HWND m_anchor = nullptr;
};
