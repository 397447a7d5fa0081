#pragma once

#include "app/base/ScopedHandle.h"
#include "app/base/SingletonT.h"

#include <windows.h>

#include <functional>
#include <string>

// The one interface font face of the process, picked at start-up from the Chinese-capable faces the
// system has, with the GDI font made from it.
class CFontFace : public CSingletonT<CFontFace> {
public:
    // Calls visit with the full name of each font family; stops early when visit returns false.
    using FaceEnumerator = std::function<void(const std::function<bool(const wchar_t*)>& visit)>;

    // Face name flags, one per candidate.
    enum : DWORD {
        kYaHeiChinese = 0x01,
        kYaHei = 0x02,
        kYaHeiUI = 0x04,
        kSongTi = 0x08,
        kMingLiU = 0x10,
        kTahoma = 0x20,
        kAllFaces = 0x3F,
    };

    CFontFace() = default;

    // Picks from the families of the screen device context (only the Song face on systems before Vista).
    void ChooseFace();
    // Picks from the faces the enumerator reports.
    void ChooseFace(const FaceEnumerator& enumerate);

    const std::wstring& GetFaceName() const { return m_faceName; }
    DWORD GetFoundFaces() const { return m_found; }
    HFONT GetFont() const { return m_font.Get(); }

    // The flag of a candidate face (exact comparison), 0 for any other name.
    static DWORD FaceFlag(const wchar_t* name);
    // The preferred face among the flagged ones; empty when none is flagged.
    static std::wstring PreferredFace(DWORD flags);

private:
    void Apply(DWORD flags);

    std::wstring m_faceName;
    DWORD m_found = 0;
    CFontHandle m_font;
};
