#include "net/JsonAnswer.h"

JsonTree ParseJsonAnswer(const HttpAnswer& answer) {
    if (answer.state != kHttpTaskFinished || answer.statusCode < 200 || answer.statusCode >= 300) {
        return nullptr;
    }
    return JsonParseWhole(answer.body);
}
