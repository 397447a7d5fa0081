#include "net/JsonAnswer.h"

#include <cJSON.h>

namespace {

bool IsJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

void JsonDocumentDeleter::operator()(cJSON* root) const {
    cJSON_Delete(root);
}

JsonDocument ParseJsonAnswer(const HttpAnswer& answer) {
    if (answer.state != kHttpTaskFinished || answer.statusCode < 200 || answer.statusCode >= 300) {
        return nullptr;
    }
    const std::string_view body = answer.body;
    // The body need not end in a NUL, so cJSON is held to its length and the end is checked here.
    const char* end = nullptr;
    JsonDocument root(cJSON_ParseWithLengthOpts(body.data(), body.size(), &end, false));
    if (!root || !end) {
        return nullptr;
    }
    const char* const last = body.data() + body.size();
    while (end < last && IsJsonSpace(*end)) {
        ++end;
    }
    if (end != last) {
        return nullptr;
    }
    return root;
}
