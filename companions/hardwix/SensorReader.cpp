#include "companions/hardwix/SensorReader.h"

#include <windows.h>

#include "app/base/ScopedHandle.h"
#include "companions/hardwix/SensorSet.h"

namespace {
// Sensor files are a few lines; sysfs files a number or a name.
constexpr DWORD kMaxSensorFile = 64 * 1024;
constexpr DWORD kMaxSysFile = 256;

std::string ReadSmallFile(const std::wstring& path, DWORD limit) {
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text(limit, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.Get(), text.data(), limit, &read, nullptr)) {
        return std::string();
    }
    text.resize(read);
    return text;
}

// The DOS path Wine gives a Unix folder (empty outside Wine, where no such mapping exists).
std::wstring WineDosPath(const char* unixPath) {
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* dos = toDos ? toDos(unixPath) : nullptr;
    if (!dos) {
        return std::wstring();
    }
    std::wstring path(dos);
    ::HeapFree(::GetProcessHeap(), 0, dos);
    return path;
}

template <class Visit> void ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW entry = {};
    CFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) {
        return;
    }
    do {
        const std::wstring name(entry.cFileName);
        if (name != L"." && name != L"..") {
            visit(name);
        }
    } while (::FindNextFileW(find.Get(), &entry));
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
} // namespace

CSensorReader::CSensorReader(const std::wstring& folder)
    : m_sensorFile(folder + L"\\sensors.txt"), m_sysClass(WineDosPath("/sys/class")) {}

std::vector<hardwix::SysFile> CSensorReader::ReadSysFiles() const {
    std::vector<hardwix::SysFile> files;
    if (m_sysClass.empty()) {
        return files;
    }
    // Only the files that carry a name or a temperature; a zone's other files can be slow to read.
    const auto wanted = [](const std::wstring& name) {
        return name == L"name" || name == L"type" || name == L"temp" ||
               (name.starts_with(L"temp") && name.ends_with(L"_input"));
    };
    for (const wchar_t* kind : {L"hwmon", L"thermal"}) {
        const std::wstring classFolder = m_sysClass + L"\\" + kind;
        ForEachEntry(classFolder, [&](const std::wstring& device) {
            const std::wstring deviceFolder = classFolder + L"\\" + device;
            ForEachEntry(deviceFolder, [&](const std::wstring& file) {
                if (wanted(file)) {
                    files.push_back({Narrow(std::wstring(kind) + L"/" + device + L"/" + file),
                                     ReadSmallFile(deviceFolder + L"\\" + file, kMaxSysFile)});
                }
            });
        });
    }
    return files;
}

std::vector<hardwix::SensorSample> CSensorReader::ReadAll() {
    hardwix::CSensorSet set;
    for (const auto& sample : m_wmi.Read()) {
        set.Offer(sample);
    }
    for (const auto& sample : hardwix::SamplesFromSysFiles(ReadSysFiles())) {
        set.Offer(sample);
    }
    for (const auto& sample : hardwix::ParseSensorFile(ReadSmallFile(m_sensorFile, kMaxSensorFile))) {
        set.Override(sample);
    }
    return set.Samples();
}
