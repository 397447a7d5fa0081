#pragma once

#include <memory>
#include <string>
#include <string_view>

struct cJSON;

struct JsonTreeDeleter {
    void operator()(cJSON* root) const;
};
using JsonTree = std::unique_ptr<cJSON, JsonTreeDeleter>;

// The tree of text that is exactly one JSON value (white space and a leading byte-order mark aside), or
// null. Unlike cJSON_Parse, bytes after the value (garbage, a second value, an embedded NUL) fail the
// parse: a body cut or padded on the way is refused rather than read in part. So does a text that is not
// UTF-8 throughout: a malformed sequence in one string refuses the whole answer.
JsonTree JsonParseWhole(std::string_view text);

// Typed field access over a cJSON tree with a default. Each accessor takes a container (object or
// array, may be null) and a position: an array index, or a key matched without regard to letter case.
// The default comes back when the container is null, the key is null or empty, the item is missing, or
// its type is not exactly the one asked for (booleans and null are not numbers; "5" is a string).

// The integer part of a number, saturated to the int range.
int JsonGetInt(const cJSON* container, int index, int fallback);
int JsonGetInt(const cJSON* container, const char* key, int fallback);

// A string item's bytes as they are (UTF-8 from the services).
std::string JsonGetText(const cJSON* container, int index, const std::string& fallback);
std::string JsonGetText(const cJSON* container, const char* key, const std::string& fallback);

// The code page the services use and the only one the wide accessors understand.
constexpr unsigned kJsonCodePageUtf8 = 65001;

// A string item converted to wide text from codePage; any other code page than UTF-8 reads as the
// default. Malformed UTF-8 sequences become U+FFFD.
std::wstring JsonGetWideText(const cJSON* container, int index, const std::wstring& fallback, unsigned codePage);
std::wstring JsonGetWideText(const cJSON* container, const char* key, const std::wstring& fallback, unsigned codePage);

// UTF-8 to wide text (UTF-16 where wchar_t has 16 bits, UTF-32 elsewhere).
std::wstring Utf8ToWide(const std::string& text);
