#include "weather/AreaParse.h"

#include <cJSON.h>

#include <string_view>

#include "net/JsonReader.h"

namespace {

void RemoveEvery(std::wstring& text, std::wstring_view word) {
    for (size_t at = text.find(word); at != std::wstring::npos; at = text.find(word, at)) {
        text.erase(at, word.size());
    }
}

bool IsListedProvince(const AreaEntry& entry) {
    return !entry.name.empty() && !entry.code.empty() && entry.name != L"PROVCN" && entry.code != L"EA";
}

} // namespace

std::wstring NormaliseProvinceName(std::wstring name) {
    // The first word the name contains is the one removed.
    for (const std::wstring_view word : {L"自治区", L"市", L"省"}) {
        if (name.find(word) != std::wstring::npos) {
            RemoveEvery(name, word);
            break;
        }
    }
    return name;
}

bool ParseAreaList(const HttpAnswer& answer, AreaLevel level, AreaEntryList& out) {
    const JsonTree root = ParseJsonAnswer(answer);
    if (!cJSON_IsArray(root.get())) {
        return false;
    }
    AreaEntryList entries;
    const cJSON* pair = nullptr;
    cJSON_ArrayForEach(pair, root.get()) {
        if (!cJSON_IsArray(pair)) {
            return false;
        }
        AreaEntry entry{JsonGetWideText(pair, 0, L"", kJsonCodePageUtf8),
                        JsonGetWideText(pair, 1, L"", kJsonCodePageUtf8)};
        if (level == AreaLevel::Province) {
            entry.name = NormaliseProvinceName(std::move(entry.name));
            if (!IsListedProvince(entry)) {
                continue;
            }
        }
        entries.push_back(std::move(entry));
    }
    out = std::move(entries);
    return true;
}
