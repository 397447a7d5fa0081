#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/UIThreadWindow.h"
#include "app/base/FileSystem.h"
#include "app/base/GdiplusSession.h"
#include "layer/FontFace.h"
#include "pure/ui/ZipWriter.h"
#include "ui/UICombo.h"
#include "ui/UIResources.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/net/DemoServiceSuite.h"
#include "weather/AreaEvents.h"
#include "weather/ProvinceList.h"
#include "weather/WeatherSetWnd.h"

namespace {

// The city dialog over the sample-data service's directory, from the package the build made, below a
// stand-in weather window. The test thread is the UI thread and the dialog's event sink.
class WeatherSetWndTest : public CDemoServiceSuite, public IWeatherSetWndEvent, public sigslot::has_slots<> {
protected:
    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning() && s_http->IsInitialised() && CUIThreadWindow::GetInstance()->Create());
        CFontFace::GetInstance()->ChooseFace();
        UsePackage(TestProgramFolder() + L"\\..\\bin", L"wpskin.ui");
        m_anchor = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 40, 389, 338,
                                     nullptr, nullptr, nullptr, nullptr);
        m_dialog.SetAnchor(m_anchor);
        m_dialog.SetEventSink(this);
        CAreaEvents::GetInstance()->TownsReady.connect(this, &WeatherSetWndTest::OnTowns);
    }
    void TearDown() override { ::DestroyWindow(m_anchor); }
    void OnSelectCity(const std::wstring& townCode) override { m_reported.push_back(townCode); }
    void OnTowns(const std::wstring& city) { m_townsOf.push_back(city); }

    static void UsePackage(const std::wstring& folder, const std::wstring& file) {
        CUIResources::GetInstance()->SetResourcePath(folder);
        CUIResources::GetInstance()->SetFaceName(CFontFace::GetInstance()->GetFaceName());
        CUIResources::GetInstance()->SetResourcePackage(file);
    }
    CUICombo* List(const wchar_t* name) { return static_cast<CUICombo*>(m_dialog.FindControl(name)); }
    std::wstring Selected(const wchar_t* name) {
        CUICombo* list = List(name);
        return list ? list->GetItemData(list->GetCurSel()) : L"<no list>";
    }
    // Opens the dialog with the presets and waits until the town list has its answer.
    void OpenWith(const std::wstring& province, const std::wstring& city, const std::wstring& town) {
        m_dialog.SetPreset(province, city, town);
        m_dialog.ShowDialog(true, true);
        ASSERT_TRUE(m_dialog.IsVisible());
        // A town list that stays empty is known only by its announcement.
        ASSERT_TRUE(PumpUntil(
            [&] {
                return Selected(L"citylist") == city &&
                       (town.empty() ? std::find(m_townsOf.begin(), m_townsOf.end(),
                                                 List(L"citylist")->GetItemText(List(L"citylist")->GetCurSel())) !=
                                           m_townsOf.end()
                                     : Selected(L"townlist") == town);
            },
            10000));
    }
    void ClickControl(const wchar_t* name) {
        const RECT r = m_dialog.FindControl(name)->GetPos();
        const LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(m_dialog.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        ::SendMessageW(m_dialog.m_hWnd, WM_LBUTTONUP, 0, centre);
    }

    CGdiplusSession m_gdiplus;
    CProvinceList m_list{s_http.get(), s_service->Url(L"")};
    CWeatherSetWnd m_dialog{&m_list};
    HWND m_anchor = nullptr;
    std::vector<std::wstring> m_reported;
    std::vector<std::wstring> m_townsOf;
};

TEST_F(WeatherSetWndTest, AnotherProvinceClearsCityAndTownUntilItsListsArrive) {
    OpenWith(L"11", L"1101", L"110105");
    CUICombo* provinces = List(L"provincelist");
    int zhejiang = 0;
    while (zhejiang < provinces->GetCount() && provinces->GetItemData(zhejiang) != L"33") {
        ++zhejiang;
    }
    ASSERT_LT(zhejiang, provinces->GetCount());
    provinces->PickItem(zhejiang);
    EXPECT_EQ(m_dialog.GetProvinceCode(), L"33");
    EXPECT_EQ(m_dialog.GetCityCode() + m_dialog.GetTownCode(), L"");
    EXPECT_EQ(List(L"citylist")->GetCount() + List(L"townlist")->GetCount(), 0);
    // The new province's first city and its first town once they arrive.
    ASSERT_TRUE(PumpUntil([&] { return !m_dialog.GetTownCode().empty(); }, 10000));
    EXPECT_EQ(m_dialog.GetCityCode(), List(L"citylist")->GetItemData(0));
    EXPECT_EQ(m_dialog.GetTownCode().substr(0, 4), m_dialog.GetCityCode());
    List(L"townlist")->PickItem(1);
    EXPECT_EQ(m_dialog.GetTownCode(), List(L"townlist")->GetItemData(1));
}

TEST_F(WeatherSetWndTest, ButtonsHideTheDialogAndOnlyOkReports) {
    const struct {
        const wchar_t* city;
        const wchar_t* town;
        const wchar_t* button;
        std::vector<std::wstring> reported;
    } cases[] = {
        {L"6401", L"640105", L"ok", {L"640105"}},
        {L"6499", L"", L"ok", {L""}},
        {L"6401", L"640105", L"cancel", {}},
        {L"6401", L"640105", L"closebtn", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button + std::wstring(L" in ") + c.city);
        m_reported.clear();
        OpenWith(L"64", c.city, c.town);
        EXPECT_EQ(List(L"townlist")->GetCount() == 0, c.town[0] == 0);
        ClickControl(c.button);
        EXPECT_FALSE(m_dialog.IsVisible());
        EXPECT_EQ(m_reported, c.reported);
    }
}

TEST_F(WeatherSetWndTest, AMissingOrDamagedPackageKeepsTheDialogClosed) {
    CScratchFolder folder(L"ui-package");
    const std::string layout = "<Window size=\"10,10\"><ComboUI name=\"provincelist\"/>";
    const std::pair<const wchar_t*, std::vector<uint8_t>> packages[] = {
        {L"absent.ui", {}},
        {L"garbage.ui", std::vector<uint8_t>(300, 'P')},
        {L"other.ui", zip_writer::MakeZip({{"Other.xml", layout + "</Window>", true}})},
        {L"broken.ui", zip_writer::MakeZip({{"WeatherSetUI.xml", layout, true}})},
    };
    for (const auto& [file, bytes] : packages) {
        if (!bytes.empty()) {
            std::ofstream(std::filesystem::path(folder / file), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        UsePackage(folder.Path(), file);
        m_dialog.ShowDialog(true, true);
        EXPECT_FALSE(m_dialog.IsVisible()) << file;
        EXPECT_FALSE(m_dialog.IsWindow()) << file;
    }
}

} // namespace
