#include "layer/SkinRegistry.h"

#include "app/base/SmartLogger.h"
#include "layer/FontFace.h"

#include <iterator>

namespace {

constexpr int kNoId = -1;
constexpr int kHandCursorValue = 32649;

struct FontSpec {
    int id;
    int size;
    int style;
};

constexpr FontSpec kFonts[] = {
    {1001, 8, Gdiplus::FontStyleRegular},    {1003, 12, Gdiplus::FontStyleRegular},
    {1004, 13, Gdiplus::FontStyleRegular},   {1005, 12, Gdiplus::FontStyleUnderline},
    {1006, 12, Gdiplus::FontStyleBold},      {1007, 14, Gdiplus::FontStyleRegular},
    {1008, 14, Gdiplus::FontStyleUnderline}, {1009, 14, Gdiplus::FontStyleBold},
    {1010, 16, Gdiplus::FontStyleRegular},   {1011, 16, Gdiplus::FontStyleBold},
    {1012, 10, Gdiplus::FontStyleRegular},   {1013, 11, Gdiplus::FontStyleRegular},
    {1014, 18, Gdiplus::FontStyleRegular},   {1015, 20, Gdiplus::FontStyleRegular},
    {1016, 22, Gdiplus::FontStyleRegular},   {1017, 22, Gdiplus::FontStyleBold},
    {1018, 24, Gdiplus::FontStyleRegular},   {1019, 24, Gdiplus::FontStyleBold},
    {1020, 30, Gdiplus::FontStyleRegular},   {1021, 40, Gdiplus::FontStyleRegular},
    {1022, 79, Gdiplus::FontStyleRegular},
};

// Frame counts of the strip images; every other image is a single picture.
struct StripSpec {
    int id;
    int frames;
};

constexpr StripSpec kStrips[] = {
    {1031, 2}, {1033, 4}, {1057, 8}, {1070, 3}, {1074, 8}, {1076, 4}, {1081, 4}, {1092, 3}, {1093, 3}, {1095, 3},
    {1096, 3}, {1097, 3}, {1098, 4}, {1099, 8}, {1100, 4}, {1101, 3}, {1103, 4}, {1104, 4}, {1106, 4}, {1108, 4},
};

constexpr int kFirstImage = 1001;
constexpr int kLastImage = 1108;
// Images registered without a picture; their resource ids are not in the program.
constexpr int kEmptyImages[] = {1002, 1008, 1014};
constexpr UINT kEmptyImageResources[] = {147, 148, 149};
constexpr UINT kFirstResource = 117;
// Resource ids skip the three used by the empty images.
constexpr UINT kResourceGapStart = 147;
constexpr UINT kResourceGapEnd = 150;

int FramesOf(int id) {
    for (const StripSpec& strip : kStrips) {
        if (strip.id == id) {
            return strip.frames;
        }
    }
    return 1;
}

} // namespace

CSkinRegistry::~CSkinRegistry() {
    ReleaseSkin();
}

bool CSkinRegistry::AddFont(int id, const std::wstring& face, int size, int style) {
    FontEntry entry;
    entry.face = face;
    entry.size = size;
    entry.style = style;
    return m_fonts.emplace(id, std::move(entry)).second;
}

bool CSkinRegistry::AddImage(int id, UINT resourceId, int frameCount) {
    ImageEntry entry;
    entry.resourceId = resourceId;
    entry.frameCount = frameCount;
    return m_images.emplace(id, std::move(entry)).second;
}

Gdiplus::Font* CSkinRegistry::GetFont(int id) {
    if (id == kNoId) {
        return nullptr;
    }
    auto it = m_fonts.find(id);
    if (it == m_fonts.end()) {
        return nullptr;
    }
    FontEntry& entry = it->second;
    if (!entry.loaded) {
        Gdiplus::FontFamily family(entry.face.c_str());
        entry.font = std::make_unique<Gdiplus::Font>(&family, static_cast<Gdiplus::REAL>(entry.size), entry.style,
                                                     Gdiplus::UnitPixel);
        if (entry.font->GetLastStatus() != Gdiplus::Ok) {
            // A face the system lacks gives no font, so the text is left undrawn rather than drawn broken.
            WriteLog(L"[tid:%d] skin font %d (\"%s\" %d) not created", ::GetCurrentThreadId(), id, entry.face.c_str(),
                     entry.size);
            entry.font.reset();
        }
        entry.loaded = true;
    }
    return entry.font.get();
}

CImage* CSkinRegistry::GetImage(int id) {
    if (id == kNoId) {
        return nullptr;
    }
    auto it = m_images.find(id);
    if (it == m_images.end()) {
        return nullptr;
    }
    ImageEntry& entry = it->second;
    if (!entry.loaded) {
        entry.image = std::make_unique<CImage>();
        entry.image->SetFrameCount(entry.frameCount);
        entry.image->LoadFromResource(entry.resourceId, L"PNG", m_resourceModule);
        entry.loaded = true;
    }
    return entry.image.get();
}

void CSkinRegistry::RegisterSkin(const std::wstring& face) {
    for (const FontSpec& font : kFonts) {
        AddFont(font.id, face, font.size, font.style);
    }
    UINT resource = kFirstResource;
    for (int id = kFirstImage; id <= kLastImage; ++id) {
        bool empty = false;
        for (size_t i = 0; i < std::size(kEmptyImages); ++i) {
            if (kEmptyImages[i] == id) {
                AddImage(id, kEmptyImageResources[i], 1);
                empty = true;
            }
        }
        if (empty) {
            continue;
        }
        AddImage(id, resource, FramesOf(id));
        resource = resource + 1 == kResourceGapStart ? kResourceGapEnd : resource + 1;
    }
    CursorEntry cursor;
    cursor.value = kHandCursorValue;
    m_cursors.emplace(1001, cursor);
}

void CSkinRegistry::ReleaseSkin() {
    // Entries go too, so a late request after shutdown gets null instead of a new GDI+ object.
    m_fonts.clear();
    m_images.clear();
}

void RegisterSkin() {
    Skin()->RegisterSkin(CFontFace::GetInstance()->GetFaceName());
}

void ReleaseSkin() {
    Skin()->ReleaseSkin();
}
