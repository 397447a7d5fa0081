#include "net/JsonReader.h"

#include <mutex>
#include <string_view>

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

// One UTF-8 sequence: its code point and how many bytes it takes. A truncated, overlong, surrogate or
// out-of-range sequence is invalid and takes its bytes up to the first that cannot continue it.
struct Utf8Sequence {
    char32_t code = 0;
    size_t taken = 1;
    bool valid = false;
};

Utf8Sequence DecodeUtf8(std::string_view text, size_t i) {
    Utf8Sequence sequence;
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    // Sequence length, the lead's payload and the smallest code point that needs this length.
    size_t length = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        sequence.code = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        sequence.code = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        sequence.code = lead & 0x07;
        smallest = 0x10000;
    }
    while (length != 0 && sequence.taken < length && i + sequence.taken < text.size() &&
           (static_cast<unsigned char>(text[i + sequence.taken]) & 0xC0) == 0x80) {
        sequence.code = (sequence.code << 6) | (static_cast<unsigned char>(text[i + sequence.taken]) & 0x3F);
        ++sequence.taken;
    }
    sequence.valid = length != 0 && sequence.taken == length && sequence.code >= smallest &&
                     sequence.code <= 0x10FFFF && (sequence.code < 0xD800 || sequence.code > 0xDFFF);
    return sequence;
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = DecodeUtf8(text, i);
        if (!sequence.valid) {
            return false;
        }
        i += sequence.taken;
    }
    return true;
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
    // The services answer in UTF-8: bytes that are not are not their answer, however well the JSON around reads.
    if (!IsUtf8(text)) {
        return nullptr;
    }
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
    for (size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = DecodeUtf8(text, i);
        AppendCodePoint(out, sequence.valid ? sequence.code : kReplacement);
        i += sequence.taken;
    }
    return out;
}
