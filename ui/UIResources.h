#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/base/SingletonT.h"
#include "ui/ZipArchive.h"

// Where dialogs find their layouts: the resource package (a zip file) in the resource folder, registered at
// start-up, and the font face the dialogs draw their text in. UI thread only.
class CUIResources : public CSingletonT<CUIResources> {
    friend class CSingletonT<CUIResources>;

public:
    void SetResourcePath(const std::wstring& folder) { m_folder = folder; }
    // Opens the package of that file name in the resource folder; a missing or unreadable one is logged,
    // leaves no package and returns false.
    bool SetResourcePackage(const std::wstring& fileName);
    void SetFaceName(const std::wstring& face) { m_face = face; }
    const std::wstring& GetFaceName() const { return m_face; }

    // A file of the package, by its name there; false (logged) when there is no package or no such file.
    bool LoadFile(const std::wstring& name, std::vector<uint8_t>& content) const;

private:
    CUIResources() = default;

    std::wstring m_folder;
    std::wstring m_package;
    std::wstring m_face;
    CZipArchive m_archive;
    bool m_hasPackage = false;
};
