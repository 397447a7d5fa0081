#include "layer/FontFace.h"

#include "app/base/SmartLogger.h"

#include <cwchar>

namespace {

struct Candidate {
    DWORD flag;
    const wchar_t* face;
};

// Ordered from the least to the most preferred: the pick walks this list and the last match wins.
constexpr Candidate kCandidates[] = {
    {CFontFace::kTahoma, L"Tahoma"},         {CFontFace::kMingLiU, L"\x65B0\x7D30\x660E\x9AD4"},
    {CFontFace::kSongTi, L"\x5B8B\x4F53"},   {CFontFace::kYaHeiUI, L"Microsoft YaHei UI"},
    {CFontFace::kYaHei, L"Microsoft YaHei"}, {CFontFace::kYaHeiChinese, L"\x5FAE\x8F6F\x96C5\x9ED1"},
};

constexpr BYTE kGb2312Charset = 134;
constexpr BYTE kSwissFamily = 0x20;

int CALLBACK VisitFamily(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM param) {
    const auto& visit = *reinterpret_cast<const std::function<bool(const wchar_t*)>*>(param);
    return visit(reinterpret_cast<const ENUMLOGFONTW*>(logFont)->elfFullName) ? 1 : 0;
}

bool IsVistaOrLater() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return ::GetVersionExW(&info) && info.dwMajorVersion > 5;
}

} // namespace

DWORD CFontFace::FaceFlag(const wchar_t* name) {
    for (const Candidate& candidate : kCandidates) {
        if (name && std::wcscmp(name, candidate.face) == 0) {
            return candidate.flag;
        }
    }
    return 0;
}

std::wstring CFontFace::PreferredFace(DWORD flags) {
    std::wstring face;
    for (const Candidate& candidate : kCandidates) {
        if (flags & candidate.flag) {
            face = candidate.face;
        }
    }
    return face;
}

void CFontFace::ChooseFace() {
    if (!IsVistaOrLater()) {
        Apply(kSongTi);
        return;
    }
    ChooseFace([](const std::function<bool(const wchar_t*)>& visit) {
        CWindowDC screen(nullptr);
        if (screen) {
            ::EnumFontFamiliesW(screen.Get(), nullptr, VisitFamily, reinterpret_cast<LPARAM>(&visit));
        }
    });
}

void CFontFace::ChooseFace(const FaceEnumerator& enumerate) {
    DWORD found = 0;
    enumerate([&found](const wchar_t* name) {
        found |= FaceFlag(name);
        return found != kAllFaces;
    });
    Apply(found);
}

void CFontFace::Apply(DWORD flags) {
    m_found = flags;
    m_faceName = PreferredFace(flags);
    m_font.Reset(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, kGb2312Charset, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, kSwissFamily, m_faceName.c_str()));
    WriteLog(L"[tid:%d] interface face \"%s\" (found 0x%02X)", ::GetCurrentThreadId(), m_faceName.c_str(), flags);
}
