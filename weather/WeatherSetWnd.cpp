#include "weather/WeatherSetWnd.h"

#include "app/UIThreadWindow.h"
#include "app/base/DpiScale.h"
#include "app/base/SimpleBind.h"
#include "ui/UIButton.h"
#include "ui/UICombo.h"
#include "ui/UIOption.h"
#include "weather/AreaEvents.h"
#include "weather/ProvinceList.h"

namespace {

constexpr int kOverlapForecastShown = 15;
constexpr int kOverlapFolded = 181;

// Places of any level as (name, code) entries.
template <class T> AreaEntryList Entries(const std::vector<AreaRef<T>>& places) {
    AreaEntryList entries;
    for (const auto& place : places) {
        entries.push_back({place->GetName(), place->GetCode()});
    }
    return entries;
}

// Replaces a list's items by the entries (text the name, data the code), selects the preset code's item or
// else the first, and returns the selected code (empty for an empty list).
std::wstring Refill(CUICombo* list, const AreaEntryList& entries, const std::wstring& preset) {
    if (!list) {
        return std::wstring();
    }
    list->RemoveAll();
    for (const AreaEntry& entry : entries) {
        const int index = list->AddItem(entry.name, entry.code);
        if (list->GetCurSel() < 0 && entry.code == preset) {
            list->SelectItem(index);
        }
    }
    if (list->GetCount() > 0 && list->GetCurSel() < 0) {
        list->SelectItem(0);
    }
    return list->GetItemData(list->GetCurSel());
}

} // namespace

CWeatherSetWnd::CWeatherSetWnd() : CWeatherSetWnd(CProvinceList::GetInstance()) {}

CWeatherSetWnd::CWeatherSetWnd(CProvinceList* directory) : m_directory(directory) {
    RegisterControl(L"ControlUI", [] { return std::make_unique<CUIControl>(); });
    RegisterControl(L"ButtonUI", [] { return std::make_unique<CUIButton>(); });
    RegisterControl(L"OptionUI", [] { return std::make_unique<CUIOption>(); });
    RegisterControl(L"ComboUI", [] { return std::make_unique<CUICombo>(); });
    SetNotifier(this);
    CAreaEvents* events = CAreaEvents::GetInstance();
    events->ProvincesReady.connect(this, &CWeatherSetWnd::OnProvincesReady);
    events->CitiesReady.connect(this, &CWeatherSetWnd::OnCitiesReady);
    events->TownsReady.connect(this, &CWeatherSetWnd::OnTownsReady);
}

CWeatherSetWnd::~CWeatherSetWnd() {
    CAreaEvents* events = CAreaEvents::GetInstance();
    events->ProvincesReady.disconnect(this);
    events->CitiesReady.disconnect(this);
    events->TownsReady.disconnect(this);
    DestroyWindow();
}

void CWeatherSetWnd::SetPreset(const std::wstring& province, const std::wstring& city, const std::wstring& town) {
    m_presetProvince = province;
    m_presetCity = city;
    m_presetTown = town;
}

void CWeatherSetWnd::ShowDialog(bool show, bool forecastShown) {
    if (!show) {
        Hide();
        return;
    }
    // A missing or faulty package was logged where it was read; the dialog then simply does not open.
    if (!IsWindow() && !CreateFromLayout(m_anchor, L"WeatherSetUI.xml")) {
        return;
    }
    if (!IsShown()) {
        ShowAt(AttachedPosition(forecastShown));
        FillProvinces();
    }
}

void CWeatherSetWnd::Reposition(bool forecastShown) {
    if (IsShown()) {
        MoveTo(AttachedPosition(forecastShown));
    }
}

POINT CWeatherSetWnd::AttachedPosition(bool forecastShown) const {
    RECT anchor{};
    if (!m_anchor || !::GetWindowRect(m_anchor, &anchor)) {
        return POINT{0, 0};
    }
    return POINT{anchor.left,
                 anchor.bottom - ScaleToDpi(forecastShown ? kOverlapForecastShown : kOverlapFolded, GetDpi())};
}

void CWeatherSetWnd::Notify(const TNotifyUI& msg) {
    if (!msg.sender) {
        return;
    }
    const std::wstring& name = msg.sender->GetName();
    if (msg.type == L"itemselect") {
        const std::wstring code = Combo(name.c_str()) ? Combo(name.c_str())->GetItemData(msg.index) : std::wstring();
        if (name == L"provincelist") {
            if (code != m_provinceCode) {
                m_cityCode.clear();
                m_townCode.clear();
                m_provinceCode = code;
            }
            FillCities();
        } else if (name == L"citylist") {
            if (code != m_cityCode) {
                m_townCode.clear();
                m_cityCode = code;
            }
            FillTowns();
        } else if (name == L"townlist") {
            m_townCode = code;
        }
    } else if (msg.type == L"click") {
        if (name == L"closebtn" || name == L"cancel") {
            ShowDialog(false, false);
        } else if (name == L"ok") {
            ShowDialog(false, false);
            if (m_sink) {
                m_sink->OnSelectCity(m_townCode);
            }
        }
    }
}

// The directory raises its signals on the UI thread; each hand-over runs at once there.
void CWeatherSetWnd::OnProvincesReady() {
    mf_bind_t<CWeatherSetWnd> task(this, &CWeatherSetWnd::FillProvinces);
    RunOnUIThread(&task);
}

void CWeatherSetWnd::OnCitiesReady(const std::wstring& province) {
    if (province == SelectedText(L"provincelist")) {
        mf_bind_t<CWeatherSetWnd> task(this, &CWeatherSetWnd::FillCities);
        RunOnUIThread(&task);
    }
}

void CWeatherSetWnd::OnTownsReady(const std::wstring& city) {
    if (city == SelectedText(L"citylist")) {
        mf_bind_t<CWeatherSetWnd> task(this, &CWeatherSetWnd::FillTowns);
        RunOnUIThread(&task);
    }
}

void CWeatherSetWnd::FillProvinces() {
    if (!Combo(L"provincelist")) {
        return;
    }
    m_provinceCode = Refill(Combo(L"provincelist"), Entries(m_directory->GetProvinces()), m_presetProvince);
    FillCities();
}

void CWeatherSetWnd::FillCities() {
    const AreaEntryList cities = Entries(m_directory->GetCities(SelectedText(L"provincelist")));
    m_cityCode = Refill(Combo(L"citylist"), cities, m_presetCity);
    FillTowns();
}

void CWeatherSetWnd::FillTowns() {
    const AreaEntryList towns = m_directory->GetTowns(SelectedText(L"provincelist"), SelectedText(L"citylist"));
    m_townCode = Refill(Combo(L"townlist"), towns, m_presetTown);
}

CUICombo* CWeatherSetWnd::Combo(const wchar_t* name) const {
    return dynamic_cast<CUICombo*>(FindControl(name));
}

std::wstring CWeatherSetWnd::SelectedText(const wchar_t* name) const {
    const CUICombo* list = Combo(name);
    return list ? list->GetItemText(list->GetCurSel()) : std::wstring();
}
