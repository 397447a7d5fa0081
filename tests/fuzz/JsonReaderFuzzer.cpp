// The JSON accessors over whatever cJSON makes of arbitrary bytes: every item of the tree is read
// through every accessor, by index (one past the end too) and by its key in both letter cases.
#include "net/JsonReader.h"

#include <cJSON.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string OtherCase(std::string key) {
    for (char& c : key) {
        c = static_cast<char>(std::isupper(static_cast<unsigned char>(c))
                                  ? std::tolower(static_cast<unsigned char>(c))
                                  : std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

void Walk(const cJSON* node, int depth) {
    if (!node || depth > 64) {
        return;
    }
    const int size = cJSON_GetArraySize(node);
    for (int i = -1; i <= size; ++i) {
        (void)JsonGetInt(node, i, 0);
        (void)JsonGetText(node, i, "");
        (void)JsonGetWideText(node, i, L"", kJsonCodePageUtf8);
    }
    for (const cJSON* child = node->child; child; child = child->next) {
        if (child->string) {
            for (const std::string& key : {std::string(child->string), OtherCase(child->string)}) {
                (void)JsonGetInt(node, key.c_str(), 0);
                (void)JsonGetText(node, key.c_str(), "");
                (void)JsonGetWideText(node, key.c_str(), L"", kJsonCodePageUtf8);
            }
        }
        Walk(child, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)Utf8ToWide(text);
    cJSON* root = cJSON_Parse(text.c_str());
    Walk(root, 0);
    cJSON_Delete(root);
    return 0;
}
