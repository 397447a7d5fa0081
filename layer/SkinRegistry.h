#pragma once

#include "app/base/SingletonT.h"
#include "layer/Image.h"

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>

// Maps the numeric skin ids that controls and windows name to fonts and images. Entries are registered
// once at start-up and each font or picture is created on its first request; everything returned belongs
// to the registry and lives until ReleaseSkin.
class CSkinRegistry : public CSingletonT<CSkinRegistry> {
public:
    CSkinRegistry() = default;
    ~CSkinRegistry();

    // False when the id is already registered in that map; the first registration stays.
    bool AddFont(int id, const std::wstring& face, int size, int style);
    bool AddImage(int id, UINT resourceId, int frameCount);

    // Null for -1, unknown ids and faces the system lacks.
    Gdiplus::Font* GetFont(int id);
    // Null for -1 and unknown ids; a picture that fails to load stays an empty image and is not retried.
    CImage* GetImage(int id);

    // Registers every skin font (with the given face) and image.
    void RegisterSkin(const std::wstring& face);
    // Deletes every loaded font and image; must run before GDI+ shuts down.
    void ReleaseSkin();

    // Where pictures are read from; null (the default) is the program itself.
    void SetResourceModule(HMODULE module) { m_resourceModule = module; }

private:
    struct FontEntry {
        bool loaded = false;
        std::unique_ptr<Gdiplus::Font> font;
        std::wstring face;
        int size = 0;
        int style = 0;
    };
    struct ImageEntry {
        bool loaded = false;
        std::unique_ptr<CImage> image;
        UINT resourceId = 0;
        int frameCount = 1;
    };
    struct CursorEntry {
        bool loaded = false;
        HCURSOR handle = nullptr;
        int value = 0;
        int extra = 0;
    };

    std::map<int, FontEntry> m_fonts;
    std::map<int, ImageEntry> m_images;
    std::map<int, CursorEntry> m_cursors;
    HMODULE m_resourceModule = nullptr;
};

// The process's registry.
inline CSkinRegistry* Skin() {
    return CSkinRegistry::GetInstance();
}
inline Gdiplus::Font* GetFont(int id) {
    return Skin()->GetFont(id);
}
inline CImage* GetImage(int id) {
    return Skin()->GetImage(id);
}
// Fills the process's registry using the face chosen by CFontFace.
void RegisterSkin();
void ReleaseSkin();
