// The control gallery: every standard control in each of its states, in layered windows, beside the
// message box, for review and for the tests that read them back from the screen.
//
//   deskling_gallery.exe [--ready FILE]
//
// With --ready the gallery writes FILE once every window has pushed its first frame. It runs until one
// of its windows is sent WM_CLOSE.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/base/MessageLoop.h"
#include "app/base/WindowImpl.h"
#include "guide/MsgBox.h"
#include "layer/FontFace.h"
#include "layer/Image.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCalendarItemCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerLine.h"
#include "layer/LayerProgress.h"
#include "layer/LayerSliderCtrl.h"
#include "layer/LayerWindowBase.h"
#include "layer/SkinRegistry.h"
#include "tests/gallery/GalleryLayout.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kMuted = RGB(150, 158, 172);
constexpr COLORREF kAccent = RGB(98, 184, 255);
constexpr COLORREF kWarm = RGB(242, 113, 96);
constexpr COLORREF kFrame = RGB(78, 86, 102);
constexpr COLORREF kBox = RGB(36, 41, 52);
constexpr COLORREF kTrack = RGB(40, 46, 58);

constexpr int kPanelImage = 1102;
constexpr wchar_t kFallbackFace[] = L"Microsoft YaHei";
constexpr UINT kLeftMiddle = 0x1001;
constexpr UINT kCentred = 0x1011;

class CGalleryWnd;
using BuildFn = void (*)(CGalleryWnd& wnd);

// One gallery window: a nine-grid panel, a title, and whatever its build function adds.
class CGalleryWnd : public CLayerWindowBase<CGalleryWnd> {

public:
    CGalleryWnd(const wchar_t* title, BuildFn build) : m_title(title), m_build(build) {}

    static const wchar_t* GetWndClassName() { return gallery::kWindowClass; }

    void OnLayerCreate() override {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        auto* panel = Add<CLayerImageCtrl>(0, 0, client.right, client.bottom);
        panel->SetDrawMode(CLayerImageCtrl::kDrawNineGrid);
        // Tall top and bottom rows keep the panel's gradient whole; only its flat middle is stretched.
        panel->SetNineGridInsets(RECT{12, 90, 12, 90});
        panel->SetImage(GetImage(kPanelImage), FALSE);
        Label(16, 8, client.right - 32, 28, m_title, 1011, kWhite);
        m_build(*this);
    }

    // Adds a control to the root at window coordinates.
    template <class C> C* Add(int x, int y, int cx, int cy, int id = 0, UINT style = 0) {
        auto* control = new C;
        control->Create(m_hWnd, this, id, x, y, cx, cy, style);
        GetRootView()->AddChild(control);
        return control;
    }

    CLayerLabelCtrl* Label(int x, int y, int cx, int cy, const std::wstring& text, int font, COLORREF colour,
                           UINT format = kLeftMiddle) {
        auto* label = Add<CLayerLabelCtrl>(x, y, cx, cy);
        label->SetFont(GetFont(font));
        label->SetTextFormat(format);
        label->SetTextColor(colour, FALSE);
        label->SetText(text, FALSE);
        return label;
    }

    // A plain box under a picture, so its rect shows beside what it draws.
    void Box(int x, int y, int cx, int cy) { Add<CLayerControlGroup>(x, y, cx, cy)->SetBackgroundColor(kBox); }

    // Images the gallery makes itself; they live as long as the window.
    CImage* KeepImage(std::unique_ptr<CImage> image) {
        m_images.push_back(std::move(image));
        return m_images.back().get();
    }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    END_MSG_MAP()

private:
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&) {
        ::PostQuitMessage(0);
        return 0;
    }

    std::wstring m_title;
    BuildFn m_build;
    std::vector<std::unique_ptr<CImage>> m_images;
};

enum State { kNormal, kHot, kPressed, kDisabled };
constexpr const wchar_t* kStateNames[] = {L"normal", L"hot", L"pressed", L"disabled"};

template <class C> void ApplyState(C* control, State state) {
    control->SetHot(state == kHot);
    control->SetPressed(state == kPressed);
    control->SetEnabled(state != kDisabled, FALSE);
}

// Buttons and check boxes: one row per picture, one column per state.
void BuildButtons(CGalleryWnd& wnd) {
    constexpr int kColumn0 = 140;
    constexpr int kColumnWidth = 104;
    for (int s = 0; s < 4; ++s) {
        wnd.Label(kColumn0 + s * kColumnWidth, 40, kColumnWidth, 20, kStateNames[s], 1003, kMuted, kCentred);
    }
    // One row per strip (text buttons) or per group of glyph buttons, each button at its frame's size.
    struct ButtonRow {
        std::vector<int> ids;
        const wchar_t* text;
        int font;
        bool stateColours;
        const wchar_t* caption = nullptr; // named by the strip when there is only one
    };
    const ButtonRow rows[] = {
        {{1093}, L"\x53D6\x6D88", 1003, false},             // 取消
        {{1104}, L"\x7A0D\x540E\x518D\x8BF4", 1004, false}, // 稍后再说
        {{1103}, L"\x7ACB\x5373\x5B89\x88C5", 1004, false}, // 立即安装
        {{1108}, L"\x786E\x5B9A", 1004, true},              // 确定, with state colours
        {{1100}, L"\x4E0B\x8F7D", 1003, false},             // 下载
        {{1092}, L"\x91CD\x8BD5", 1003, false},             // 重试
        {{1095, 1076, 1106}, L"", 1003, false, L"1095 1076 1106"},
        {{1096, 1097, 1098, 1101}, L"", 1003, false, L"1096-1098 1101"},
    };
    int y = 62;
    for (const ButtonRow& row : rows) {
        bool glyphs = row.ids.size() > 1;
        int height = glyphs ? 36 : 40;
        int width = 8 * static_cast<int>(row.ids.size() - 1);
        for (int id : row.ids) {
            width += GetImage(id)->GetFrameWidth();
        }
        std::wstring caption = glyphs ? row.caption
                                      : std::to_wstring(row.ids[0]) + L" \x00D7" +
                                            std::to_wstring(GetImage(row.ids[0])->GetFrameCount()) +
                                            (row.stateColours ? L" colours" : L"");
        wnd.Label(16, y, 124, height, caption, 1003, kMuted);
        for (int s = 0; s < 4; ++s) {
            int x = kColumn0 + s * kColumnWidth + (kColumnWidth - width) / 2;
            for (int id : row.ids) {
                CImage* image = GetImage(id);
                int cx = image->GetFrameWidth();
                auto* button = wnd.Add<CLayerButtonCtrl>(x, y + (height - image->GetHeight()) / 2, cx,
                                                         image->GetHeight(), 100 + s);
                button->SetImage(image, FALSE);
                button->SetFont(GetFont(row.font));
                button->SetTextColor(kWhite, FALSE);
                button->SetText(row.text, FALSE);
                if (row.stateColours) {
                    button->SetStateColors(kWhite, RGB(255, 236, 160), RGB(190, 226, 255), RGB(140, 146, 158));
                    button->EnableStateColors(true);
                }
                ApplyState(button, static_cast<State>(s));
                x += cx + 8;
            }
        }
        y += glyphs ? 38 : 44;
    }
    // Check boxes: unchecked, then checked.
    for (int checked = 0; checked < 2; ++checked) {
        wnd.Label(16, y, 120, 28, checked ? L"1099 checked" : L"1099 unchecked", 1003, kMuted);
        for (int s = 0; s < 4; ++s) {
            auto* box =
                wnd.Add<CLayerCheckboxCtrl>(kColumn0 + s * kColumnWidth + 14, y + 4, kColumnWidth - 14, 20, 200 + s);
            box->SetImage(GetImage(1099), FALSE);
            box->SetFont(GetFont(1003));
            box->SetTextColor(kWhite, FALSE);
            box->SetDisabledTextColor(RGB(120, 126, 138));
            box->SetText(L"\x519C\x5386", FALSE); // 农历
            box->SetCheck(checked != 0, FALSE);
            ApplyState(box, static_cast<State>(s));
        }
        y += 30;
    }
}

// Labels, lines and pictures in each draw mode.
void BuildPictures(CGalleryWnd& wnd) {
    wnd.Label(16, 40, 300, 20, L"labels", 1003, kMuted);
    wnd.Label(16, 62, 310, 22, L"\x666E\x901A\x6587\x5B57 plain", 1007, kWhite);                 // 普通文字
    auto* shadow = wnd.Label(16, 86, 310, 22, L"\x9634\x5F71\x6587\x5B57 shadow", 1007, kWhite); // 阴影文字
    shadow->SetShadowColor(RGB(0, 0, 0));
    auto* outline = wnd.Label(16, 110, 310, 30, L"\x63CF\x8FB9\x6587\x5B57 outline", 1015, kWhite); // 描边文字
    outline->SetOutlineColor(RGB(30, 112, 196));
    wnd.Label(16, 142, 310, 22, L"\x5F3A\x8C03\x8272 accent bold", 1009, kAccent); // 强调色
    auto* time = wnd.Label(16, 166, 200, 50, L"08:30", 1021, kWhite);
    time->SetShadowColor(RGB(0, 0, 0));
    wnd.Label(200, 166, 126, 50, L"\x5468\x516D", 1018, kWarm, 0x1021); // 周六, right-aligned
    wnd.Label(16, 218, 310, 20,
              L"\x5F88\x957F\x7684\x4E00\x53E5\x8BDD\x653E\x4E0D\x4E0B\x65F6\x4EE5\x7701\x7565\x53F7\x7ED3"
              L"\x5C3E (ellipsis at a character)",
              1003, kWhite, 0x1101); // 很长的一句话放不下时以省略号结尾
    wnd.Label(16, 240, 310, 36,
              L"\x4E0D\x52A0\x201C\x4E0D\x6362\x884C\x201D\x7684\x6587\x5B57\x4F1A\x5728\x5BBD\x5EA6\x5185"
              L"\x81EA\x52A8\x6362\x884C\xFF0C\x5206\x6210\x4E24\x884C\x663E\x793A\x3002 (wraps)",
              1003, kWhite, 0x0001); // 不加“不换行”的文字会在宽度内自动换行，分成两行显示。

    wnd.Label(16, 290, 300, 20, L"lines", 1003, kMuted);
    struct LineSample {
        POINT a;
        POINT b;
        COLORREF colour;
        int width;
    };
    const LineSample lines[] = {
        {{16, 318}, {326, 318}, kWhite, 0}, {{16, 330}, {326, 330}, kFrame, 1},  {{16, 344}, {326, 344}, kAccent, 2},
        {{16, 360}, {326, 360}, kWarm, 3},  {{16, 440}, {120, 380}, kAccent, 2}, {{120, 380}, {224, 440}, kWhite, 1},
        {{224, 440}, {326, 380}, kWarm, 3},
    };
    for (const LineSample& item : lines) {
        int pad = item.width + 1;
        auto* line =
            wnd.Add<CLayerLine>(std::min(item.a.x, item.b.x) - pad, std::min(item.a.y, item.b.y) - pad,
                                std::abs(item.a.x - item.b.x) + 2 * pad, std::abs(item.a.y - item.b.y) + 2 * pad);
        line->SetPoints(item.a, item.b, FALSE);
        line->SetColor(item.colour, FALSE);
        line->SetWidth(item.width, FALSE);
    }

    // Pictures: one per draw mode, each outlined so its rect shows.
    struct PictureSample {
        int mode;
        int image;
        RECT rect;
        const wchar_t* caption;
    };
    const PictureSample pictures[] = {
        {CLayerImageCtrl::kDrawCentered, 1060, {350, 62, 470, 182}, L"0 centred"},
        {CLayerImageCtrl::kDrawNineGrid, 1094, {490, 62, 570, 182}, L"1 nine-grid"},
        {CLayerImageCtrl::kDrawVertical, 1102, {590, 62, 630, 182}, L"2 vertical"},
        {CLayerImageCtrl::kDrawFrame, 1098, {640, 62, 674, 96}, L"4 frame"},
        {CLayerImageCtrl::kDrawHorizontal, 1107, {350, 214, 674, 244}, L"3 horizontal three-slice"},
        {CLayerImageCtrl::kDrawTopLeft, 1089, {350, 276, 420, 336}, L"5 top-left"},
    };
    wnd.Label(350, 40, 300, 20, L"pictures by draw mode", 1003, kMuted);
    for (const PictureSample& item : pictures) {
        int cx = item.rect.right - item.rect.left;
        int cy = item.rect.bottom - item.rect.top;
        wnd.Box(item.rect.left, item.rect.top, cx, cy);
        auto* picture = wnd.Add<CLayerImageCtrl>(item.rect.left, item.rect.top, cx, cy);
        picture->SetDrawMode(item.mode);
        picture->SetNineGridInsets(RECT{12, 12, 12, 12});
        picture->SetVerticalCaps(14, GetImage(item.image)->GetHeight() - 14);
        picture->SetHorizontalCaps(10, GetImage(item.image)->GetWidth() - 10);
        picture->SetImage(GetImage(item.image), FALSE);
        picture->SetFrameIndex(2, FALSE);
        bool below = item.mode != CLayerImageCtrl::kDrawFrame;
        wnd.Label(below ? item.rect.left : item.rect.left - 8, item.rect.bottom + 2, below ? std::max(cx, 80) : 50, 16,
                  item.caption, 1012, kMuted, below ? kLeftMiddle : kCentred);
    }
    // The large weather icons scaled into a row (mode 4, frame 0), the small ones and the dials at natural size.
    struct IconRow {
        std::vector<int> ids;
        int x, y, step, cx, cy, mode;
    };
    for (const IconRow& row :
         {IconRow{{1061, 1062, 1063, 1064}, 440, 270, 60, 56, 59, CLayerImageCtrl::kDrawFrame},
          IconRow{{1065, 1066, 1067, 1068, 1069}, 350, 362, 38, 31, 25, CLayerImageCtrl::kDrawTopLeft},
          IconRow{{1082, 1086, 1087, 1083, 1084, 1085}, 350, 400, 66, 63, 63, 0}}) {
        int x = row.x;
        for (int id : row.ids) {
            auto* icon = wnd.Add<CLayerImageCtrl>(x, row.y, row.cx, row.cy);
            icon->SetDrawMode(row.mode);
            icon->SetFrameIndex(0, FALSE);
            icon->SetImage(GetImage(id), FALSE);
            x += row.step;
        }
    }
    wnd.Label(440, 330, 240, 16, L"1061-1064 scaled into 56 x 59", 1012, kMuted);
    wnd.Label(350, 466, 330, 16, L"1065-1069 small icons, 1082-1087 gauge dials", 1012, kMuted);
}

// Calendar day cells: rest, selection, working-day and festival states.
void BuildCalendar(CGalleryWnd& wnd) {
    const wchar_t* weekdays[] = {L"\x65E5", L"\x4E00", L"\x4E8C", L"\x4E09", L"\x56DB", L"\x4E94", L"\x516D"};
    for (int d = 0; d < 7; ++d) {
        wnd.Label(gallery::kCellLeft + d * gallery::kCellWidth, 46, gallery::kCellWidth, 22, weekdays[d], 1003,
                  d == 0 || d == 6 ? kWarm : kAccent, kCentred);
    }
    // Two weeks of a month: lunar days, one festival and one solar term.
    const wchar_t* lunar[] = {L"\x521D\x4E94", L"\x521D\x516D", L"\x521D\x4E03", L"\x521D\x516B", L"\x521D\x4E5D",
                              L"\x521D\x5341", L"\x5341\x4E00", L"\x5341\x4E8C", L"\x5C0F\x5BD2", L"\x5341\x56DB",
                              L"\x5143\x5BB5", L"\x5341\x516D", L"\x5341\x4E03", L"\x5341\x516B"};
    for (int i = 0; i < 14; ++i) {
        RECT r = gallery::CellRect(i);
        auto* cell = wnd.Add<CLayerCalendarItemCtrl>(r.left, r.top, r.right - r.left, r.bottom - r.top, 300 + i);
        int weekday = i % 7;
        bool festival = i == 10 || i == 8;
        cell->SetMainFont(GetFont(1010));
        cell->SetSubFont(GetFont(1012));
        cell->SetBadgeFont(GetFont(1012));
        bool selected = i == gallery::kSelectedCell;
        // On the selection fill every text is white, as the calendar window draws it.
        cell->SetMainTextColor(selected || (weekday != 0 && weekday != 6) ? kWhite : kWarm, FALSE);
        cell->SetSubTextColor(selected ? kWhite : festival ? kAccent : kMuted, FALSE);
        cell->SetMainText(std::to_wstring(i + 4), FALSE);
        cell->SetSubText(lunar[i], FALSE);
        cell->SetSelected(selected, FALSE);
        if (i == gallery::kRestCell || i == gallery::kRestCell + 1) {
            cell->SetBadge(CLayerCalendarItemCtrl::kBadgeRest, FALSE);
        }
        if (i == gallery::kWorkCell) {
            cell->SetBadge(CLayerCalendarItemCtrl::kBadgeWork, FALSE);
        }
        cell->SetInteractive(TRUE);
    }
    RECT last = gallery::CellRect(13);
    wnd.Label(gallery::kCellLeft, last.bottom + 4, 371, 18,
              L"selected 13 \x00B7 rest \x4F11 7, 8 \x00B7 working \x73ED 16 \x00B7 festival 14", 1012, kMuted);
}

// A segment picture for the segmented bars, drawn here and read back through the file path like a
// downloaded picture.
std::unique_ptr<CImage> MakeSegmentImage(const std::wstring& path) {
    Gdiplus::Bitmap bitmap(5, 10, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&bitmap);
        Gdiplus::SolidBrush fill(Gdiplus::Color(255, 55, 158, 244));
        graphics.FillRectangle(&fill, 0, 0, 5, 10);
        Gdiplus::SolidBrush light(Gdiplus::Color(255, 98, 184, 255));
        graphics.FillRectangle(&light, 0, 0, 5, 3);
    }
    // The PNG encoder's class id.
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    auto image = std::make_unique<CImage>();
    if (bitmap.Save(path.c_str(), &png, nullptr) != Gdiplus::Ok || !image->LoadFromFile(path.c_str())) {
        return nullptr;
    }
    return image;
}

// Progress bars in the four directions, picture and colour bars, segments, percentages, and sliders.
void BuildProgress(CGalleryWnd& wnd) {
    auto addBar = [&](const RECT& r, int direction, uint64_t position) {
        auto* bar = wnd.Add<CLayerProgress>(r.left, r.top, r.right - r.left, r.bottom - r.top);
        bar->SetDirection(direction);
        bar->SetPos(position, FALSE);
        return bar;
    };
    wnd.Label(20, 40, 220, 18, L"picture track and bar, 65 %", 1012, kMuted);
    auto* pictured = addBar(RECT{20, 60, 174, 66}, CLayerProgress::kFromLeft, 65);
    pictured->SetTrackImage(GetImage(1091), 3, 3);
    pictured->SetBarImage(GetImage(1090), 3, 3);

    wnd.Label(20, 76, 220, 18, L"colour, from the right, 40 %", 1012, kMuted);
    auto* coloured = addBar(gallery::kColourBar, CLayerProgress::kFromRight, gallery::kColourBarPercent);
    coloured->SetTrackColor(gallery::kColourBarTrack);
    coloured->SetBarColor(gallery::kColourBarFill);

    auto addPercentBar = [&](int y, uint64_t position, uint64_t maximum, COLORREF colour) {
        auto* bar = addBar(RECT{20, y, 220, y + 18}, CLayerProgress::kFromLeft, position);
        bar->SetMax(maximum, FALSE);
        bar->SetTrackColor(kTrack);
        bar->SetBarColor(colour);
        bar->ShowPercentage(true);
        bar->SetFont(GetFont(1003));
        bar->SetTextColor(kWhite, FALSE);
        bar->SetTextFormat(kCentred);
    };
    wnd.Label(20, 112, 220, 18, L"percentage text, over the maximum", 1012, kMuted);
    addPercentBar(132, 150, 100, RGB(30, 112, 196));
    wnd.Label(20, 156, 220, 18, L"percentage text, 0.1 % shows a 1 % bar", 1012, kMuted);
    addPercentBar(176, 1, 1000, kAccent);

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    CImage* segment = wnd.KeepImage(MakeSegmentImage(std::wstring(temp) + L"deskling-gallery-segment.png"));
    wnd.Label(20, 200, 220, 18, L"segmented, gap 2, 70 %", 1012, kMuted);
    auto* segmented = addBar(RECT{20, 220, 220, 230}, CLayerProgress::kFromLeft, 70);
    segmented->SetTrackColor(kTrack);
    segmented->SetBarImage(segment, 0, 0);
    segmented->SetSegmented(true, 2);

    // Vertical bars: from the top, from the bottom, and segmented from the bottom.
    struct Vertical {
        int x;
        int direction;
        uint64_t position;
        bool segments;
    };
    for (const Vertical& v :
         {Vertical{250, CLayerProgress::kFromTop, 35, false}, Vertical{276, CLayerProgress::kFromBottom, 75, false},
          Vertical{302, CLayerProgress::kFromBottom, 55, true}}) {
        auto* bar = addBar(RECT{v.x, 60, v.x + (v.segments ? 5 : 10), 220}, v.direction, v.position);
        bar->SetTrackColor(kTrack);
        if (v.segments) {
            bar->SetBarImage(segment, 0, 0);
            bar->SetSegmented(true, 2);
        } else {
            bar->SetBarColor(v.direction == CLayerProgress::kFromTop ? kAccent : kWarm);
        }
    }
    wnd.Label(236, 226, 90, 30, L"top, bottom,\nsegmented", 1012, kMuted, 0x0010);

    // Sliders: at rest, thumb under the pointer, and the short track.
    wnd.Label(340, 40, 170, 18, L"sliders", 1012, kMuted);
    struct SliderSample {
        int y;
        int track;
        int width;
        int offset;
        bool hot;
    };
    for (const SliderSample& s : {SliderSample{62, 1032, 75, 20, false}, SliderSample{88, 1032, 75, 50, true},
                                  SliderSample{114, 1058, 53, 40, false}}) {
        auto* slider = wnd.Add<CLayerSliderCtrl>(340, s.y, s.width, 17);
        slider->SetTrackImage(GetImage(s.track));
        slider->SetThumbImage(GetImage(1031));
        int range = s.width - GetImage(1031)->GetFrameWidth();
        slider->SetRange(range);
        slider->SetOffset(range * s.offset / 100, FALSE);
        if (s.hot) {
            // The thumb turns hot as the pointer enters it.
            slider->OnMouseHover(0, 340 + slider->GetOffset() + 5, s.y + 8);
        }
        wnd.Label(340 + s.width + 8, s.y, 100, 17, std::to_wstring(s.offset) + (s.hot ? L" %, hot" : L" %"), 1012,
                  kMuted);
    }
    // A picture from a file, as news pictures are shown.
    wnd.Label(340, 146, 170, 18, L"picture from a file", 1012, kMuted);
    wnd.Box(340, 166, 60, 40);
    auto* file = wnd.Add<CLayerImageCtrl>(340, 166, 60, 40);
    file->SetDrawMode(CLayerImageCtrl::kDrawCentered);
    file->SetImage(GetImage(1089), FALSE);
    file->SetImageFile(std::wstring(temp) + L"deskling-gallery-segment.png", FALSE, FALSE);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const wchar_t* readyFile = nullptr;
    for (int i = 1; i + 1 < __argc; ++i) {
        if (std::wstring(__wargv[i]) == gallery::kReadyArgument) {
            readyFile = __wargv[i + 1];
        }
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr) != Gdiplus::Ok) {
        return 1;
    }
    CWindowModule::Init(instance);
    CMessageLoop loop;
    CWindowModule::AddMessageLoop(&loop);
    CFontFace::GetInstance()->ChooseFace();
    std::wstring face = CFontFace::GetInstance()->GetFaceName();
    if (face.empty()) {
        // Wine lists its face replacements under their own names, so the choice can come back empty
        // there; the gallery is about the controls, so it takes the face the test prefixes map.
        face = kFallbackFace;
    }
    Skin()->RegisterSkin(face);

    int result = 0;
    {
        struct Panel {
            RECT rect;
            const wchar_t* title;
            BuildFn build;
        };
        const Panel panels[] = {
            {gallery::kButtonsWindow, L"\x6309\x94AE\x4E0E\x590D\x9009\x6846 buttons and check boxes", BuildButtons},
            {gallery::kPicturesWindow, L"\x6587\x5B57\x3001\x7EBF\x6761\x4E0E\x56FE\x7247 labels, lines, pictures",
             BuildPictures},
            {gallery::kCalendarWindow, L"\x65E5\x5386\x683C calendar cells", BuildCalendar},
            {gallery::kProgressWindow, L"\x8FDB\x5EA6\x6761\x4E0E\x6ED1\x5757 progress bars and sliders",
             BuildProgress},
        };
        std::vector<std::unique_ptr<CGalleryWnd>> windows;
        for (const Panel& item : panels) {
            auto wnd = std::make_unique<CGalleryWnd>(item.title, item.build);
            if (!wnd->Create(nullptr, &item.rect, L"deskling gallery")) {
                result = 1;
                break;
            }
            ::ShowWindow(wnd->m_hWnd, SW_SHOWNOACTIVATE);
            windows.push_back(std::move(wnd));
        }
        CMsgBox box;
        if (result == 0 && box.Show()) {
            // Shown the way the program shows it, then moved beside the gallery so nothing overlaps.
            ::SetWindowPos(box.m_hWnd, nullptr, gallery::kMsgBoxCorner.x, gallery::kMsgBoxCorner.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            box.InvalidateRect(nullptr, FALSE);
        }
        if (result == 0) {
            // The first frames are waiting as repaint messages; run them before saying the screen is ready.
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            // The ready file names the chosen interface face and the one used, so a screenshot explains its text.
            if (FILE* file = readyFile ? _wfopen(readyFile, L"w, ccs=UTF-8") : nullptr) {
                std::fwprintf(file, L"ready, chosen face \"%ls\", drawn with \"%ls\"\n",
                              CFontFace::GetInstance()->GetFaceName().c_str(), face.c_str());
                std::fclose(file);
            }
            result = loop.Run();
        }
        for (auto& wnd : windows) {
            wnd->DestroyWindow();
        }
    }
    ReleaseSkin();
    CWindowModule::RemoveMessageLoop();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return result;
}
