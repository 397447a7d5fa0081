// Layered repaint: a full repaint and push of a calendar-sized window (387 x 475, its panel picture, 42
// day cells and a dozen labels), from the repaint request to the pushed frame, median of many frames; a
// single cell's repaint, the everyday case of hover and selection; a full repaint whose texts were never
// drawn before, also at 200 %; and how a full frame grows with the number of controls (10, 50, 200). A
// 60 Hz display leaves 16.7 ms per frame.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/base/ScopedHandle.h"
#include "bench/pure/BenchRegistry.h"
#include "layer/FontFace.h"
#include "layer/LayerCalendarItemCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerWindowBase.h"
#include "layer/SkinRegistry.h"

namespace {

constexpr char kBench[] = "LayerRepaint";
constexpr int kWidth = 387;
constexpr int kHeight = 475;
constexpr int kPanelImage = 1001;

// What a calendar-like window holds: cells and labels, in the proportion of the calendar window.
// Where the panel picture is drawn: not at all, as a picture control under the others (repainted with
// every frame), or into the window's cached background (drawn once, then only copied).
enum class Panel { kNone, kControl, kCachedBackground };

struct Content {
    int cells;
    int labels;
    Panel panel = Panel::kControl;
};

// User and kernel time of the calling thread. Its tick is coarse, so it is read over many frames.
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

class CBenchWnd : public CLayerWindowBase<CBenchWnd> {
public:
    CBenchWnd(CSkinRegistry* skin, Content content) : m_skin(skin), m_content(content) {}
    static const wchar_t* GetWndClassName() { return L"DesklingRepaintBenchWnd"; }

    void OnLayerCreate() override {
        SetDragByBackground(FALSE);
        if (m_content.panel == Panel::kControl) {
            auto* panel = new CLayerImageCtrl;
            panel->Create(m_hWnd, this, 0, 0, 0, kWidth, kHeight, 0);
            panel->SetImage(m_skin->GetImage(kPanelImage), FALSE);
            GetRootView()->AddChild(panel);
        }
        // Cells on a 7 x 6 grid; beyond 42 they stack on the same places, each still painted.
        for (int i = 0; i < m_content.cells; ++i) {
            auto* cell = new CLayerCalendarItemCtrl;
            int slot = i % 42;
            cell->Create(m_hWnd, this, 100 + i, 8 + (slot % 7) * 53, 120 + (slot / 7) * 56, 53, 56, 0);
            cell->SetMainFont(m_skin->GetFont(1010));
            cell->SetSubFont(m_skin->GetFont(1012));
            cell->SetBadgeFont(m_skin->GetFont(1012));
            cell->SetMainTextColor(RGB(255, 255, 255), FALSE);
            cell->SetSubTextColor(RGB(150, 158, 172), FALSE);
            cell->SetMainText(std::to_wstring(slot + 1), FALSE);
            cell->SetSubText(L"\x521D\x5341", FALSE); // 初十
            cell->SetSelected(slot == 17, FALSE);
            cell->SetBadge(slot % 9 == 4 ? CLayerCalendarItemCtrl::kBadgeRest : CLayerCalendarItemCtrl::kBadgeNone,
                           FALSE);
            GetRootView()->AddChild(cell);
            m_cells.push_back(cell);
        }
        for (int i = 0; i < m_content.labels; ++i) {
            auto* label = new CLayerLabelCtrl;
            label->Create(m_hWnd, this, 0, 12 + (i % 4) * 92, 12 + (i / 4 % 4) * 26, 90, 24, 0);
            label->SetFont(m_skin->GetFont(i % 2 ? 1003 : 1007));
            label->SetTextColor(RGB(255, 255, 255), FALSE);
            label->SetShadowColor(RGB(0, 0, 0));
            label->SetText(L"\x4E19\x5348\x5E74 \x5341\x4E00\x6708", FALSE); // 丙午年 十一月
            GetRootView()->AddChild(label);
        }
    }

    void DrawBackground(HDC dc, const RECT&) override {
        CImage* panel = m_skin->GetImage(kPanelImage);
        if (m_content.panel == Panel::kCachedBackground && panel) {
            panel->DrawFrame(dc, 0, 0, kWidth, kHeight, 0);
        }
    }

    struct Timing {
        double medianMs;  // wall clock, request to pushed frame
        double cpuMsMean; // this thread's processor time per frame, over all frames
    };

    // Repaints frames times (the whole window, or one area) and times each from request to push. With
    // newTexts, every cell shows texts it never showed before in each frame, so none is drawn from the
    // texts rendered ahead: the frame after a change of month seen for the first time.
    Timing TimeFrames(const RECT* area, int frames, bool newTexts = false) {
        std::vector<double> times;
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        double cpuBefore = ThreadCpuMs();
        for (int i = 0; i < frames; ++i) {
            if (newTexts) {
                for (size_t k = 0; k < m_cells.size(); ++k) {
                    CLayerCalendarItemCtrl* cell = m_cells[k];
                    cell->SetMainText(std::to_wstring(1000 * (m_textRound + 1) + k), FALSE);
                    cell->SetSubText(L"\x521D" + std::to_wstring(m_textRound), FALSE);
                }
                ++m_textRound;
            }
            ::QueryPerformanceCounter(&start);
            InvalidateRect(area, FALSE);
            MSG msg;
            while (::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&msg);
            }
            ::QueryPerformanceCounter(&end);
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        return Timing{times[times.size() / 2], (ThreadCpuMs() - cpuBefore) / frames};
    }

    RECT CellArea(size_t index) {
        RECT rect{};
        m_cells[index]->GetWindowRect(&rect);
        return rect;
    }
    size_t CellCount() const { return m_cells.size(); }

private:
    CSkinRegistry* m_skin;
    Content m_content;
    std::vector<CLayerCalendarItemCtrl*> m_cells;
    int m_textRound = 0;
};

void Report(const char* what, const CBenchWnd::Timing& timing) {
    BenchFigure(kBench, (std::string(what) + " median").c_str(), timing.medianMs, "ms/frame");
    BenchFigure(kBench, (std::string(what) + " processor").c_str(), timing.cpuMsMean, "ms/frame");
}

// The pictures are compiled into deskling.exe, which the build puts in ..\bin beside the benchmarks.
CModule OpenResources() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L"\\/") + 1);
    return CModule(::LoadLibraryExW((path + L"..\\bin\\deskling.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// Opens a window with the content, shown without activation so nothing else competes for its frames, on
// a monitor at the DPI. With oneCell, also times repainting only one cell of the same window.
bool Measure(CSkinRegistry& skin, Content content, const char* what, int frames, const char* oneCell = nullptr,
             const char* newTexts = nullptr, int dpi = 96) {
    CBenchWnd wnd(&skin, content);
    RECT rect{100, 100, 100 + kWidth, 100 + kHeight};
    if (!wnd.Create(nullptr, &rect)) {
        BenchNote(kBench, "window not created");
        return false;
    }
    if (dpi != wnd.GetDpi()) {
        RECT scaled{rect.left, rect.top, rect.left + kWidth * dpi / 96, rect.top + kHeight * dpi / 96};
        ::SendMessageW(wnd.m_hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&scaled));
    }
    ::ShowWindow(wnd.m_hWnd, SW_SHOWNOACTIVATE);
    wnd.TimeFrames(nullptr, 5); // warm-up: fonts, pictures and both bitmaps are made on the first frames
    Report(what, wnd.TimeFrames(nullptr, frames));
    if (oneCell && wnd.CellCount() > 0) {
        RECT cell = wnd.CellArea(17);
        Report(oneCell, wnd.TimeFrames(&cell, frames));
    }
    if (newTexts) {
        Report(newTexts, wnd.TimeFrames(nullptr, frames, true));
    }
    wnd.DestroyWindow();
    return true;
}

} // namespace

DESKLING_BENCH(LayerRepaint) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        BenchNote(kBench, "GDI+ did not start");
        return;
    }
    {
        CModule resources = OpenResources();
        CFontFace::GetInstance()->ChooseFace();
        std::wstring face = CFontFace::GetInstance()->GetFaceName();
        if (face.empty()) {
            // Wine lists its face replacements under their own names; its prefixes map this one.
            face = L"Microsoft YaHei";
            BenchNote(kBench, "no interface face chosen, text drawn with \"Microsoft YaHei\"");
        }
        if (!resources) {
            BenchNote(kBench, "deskling.exe not found beside the benchmarks (..\\bin)");
        } else {
            CSkinRegistry skin;
            skin.SetResourceModule(resources.Get());
            skin.RegisterSkin(face);
            if (Measure(skin, Content{42, 12}, "full repaint, panel + 42 cells + 12 labels,", 100,
                        "one cell repainted and pushed,", "full repaint, every cell's texts never shown before,")) {
                // The same at 200 %: four times the pixels, texts laid out at twice their size.
                Measure(skin, Content{42, 12}, "full repaint at 200 %, panel + 42 cells + 12 labels,", 100, nullptr,
                        "full repaint at 200 %, every cell's texts never shown before,", 192);
                // Where the time goes: the push of an empty frame, then the panel picture alone.
                Measure(skin, Content{0, 0, Panel::kNone}, "empty frame pushed,", 40);
                Measure(skin, Content{0, 0}, "full repaint, panel only,", 40);
                Measure(skin, Content{42, 12, Panel::kCachedBackground},
                        "full repaint, 42 cells + 12 labels over the panel cached as background,", 100,
                        "one cell over the cached panel,");
                for (int controls : {10, 50, 200}) {
                    // The calendar's mix: about three cells to each label.
                    Content content{controls - controls / 4, controls / 4};
                    std::string what = "full repaint, " + std::to_string(controls) + " controls,";
                    Measure(skin, content, what.c_str(), 40);
                }
            }
        }
    }
    Gdiplus::GdiplusShutdown(token);
}
