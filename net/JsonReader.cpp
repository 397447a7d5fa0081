#include "net/JsonReader.h"

#include <mutex>

#include <cJSON.h>

namespace {

const cJSON* ItemAt(const cJSON* container, int index) {
    return container ? cJSON_GetArrayItem(container, index) : nullptr;
}

const cJSON* ItemNamed(const cJSON* container, const char* key) {
    return container && key && *key ? cJSON_GetObjectItem(container, key) : nullptr;
}

// The type bits without the reference and constant-string flags.
bool HasType(const cJSON* item, int type) {
    return item && (item->type & 0xFF) == type;
}

int IntOf(const cJSON* item, int fallback) {
    return HasType(item, cJSON_Number) ? item->valueint : fallback;
}

std::string TextOf(const cJSON* item, const std::string& fallback) {
    return HasType(item, cJSON_String) && item->valuestring ? std::string(item->valuestring) : fallback;
}

std::wstring WideTextOf(const cJSON* item, const std::wstring& fallback, unsigned codePage) {
    if (codePage != kJsonCodePageUtf8 || !HasType(item, cJSON_String) || !item->valuestring) {
        return fallback;
    }
    return Utf8ToWide(item->valuestring);
}

void AppendCodePoint(std::wstring& out, char32_t code) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(code));
}

} // namespace

void JsonTreeDeleter::operator()(cJSON* root) const {
    cJSON_Delete(root);
}

JsonTree JsonParseWhole(std::string_view text) {
    // The text need not end in a NUL, so cJSON is held to its length and what follows the value is checked
    // here: white space only.
    // cJSON records the position of every parse in one global, so parses on the HTTP threads and on the UI
    // thread take turns.
    static std::mutex parseTurn;
    const char* end = nullptr;
    JsonTree root;
    {
        std::lock_guard<std::mutex> turn(parseTurn);
        root.reset(cJSON_ParseWithLengthOpts(text.data(), text.size(), &end, false));
    }
    if (!root || !end) {
        return nullptr;
    }
    const char* const last = text.data() + text.size();
    while (end < last && (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n')) {
        ++end;
    }
    return end == last ? std::move(root) : nullptr;
}

int JsonGetInt(const cJSON* container, int index, int fallback) {
    return IntOf(ItemAt(container, index), fallback);
}

int JsonGetInt(const cJSON* container, const char* key, int fallback) {
    return IntOf(ItemNamed(container, key), fallback);
}

std::string JsonGetText(const cJSON* container, int index, const std::string& fallback) {
    return TextOf(ItemAt(container, index), fallback);
}

std::string JsonGetText(const cJSON* container, const char* key, const std::string& fallback) {
    return TextOf(ItemNamed(container, key), fallback);
}

std::wstring JsonGetWideText(const cJSON* container, int index, const std::wstring& fallback, unsigned codePage) {
    return WideTextOf(ItemAt(container, index), fallback, codePage);
}

std::wstring JsonGetWideText(const cJSON* container, const char* key, const std::wstring& fallback, unsigned codePage) {
    return WideTextOf(ItemNamed(container, key), fallback, codePage);
}

std::wstring Utf8ToWide(const std::string& text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        // Sequence length, the lead's payload and the smallest code point that needs this length.
        size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            smallest = 0x10000;
        }
        size_t taken = 1;
        while (length != 0 && taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        // Truncated, overlong, surrogate or out-of-range sequences each stand for one replacement.
        const bool valid =
            length != 0 && taken == length && code >= smallest && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        AppendCodePoint(out, valid ? code : kReplacement);
        i += taken;
    }
    return out;
}
