#pragma once

#include <cstdint>
#include <string_view>

#include "app/base/HttpTaskState.h"
#include "net/JsonReader.h"

// The end of one HTTP request as the models see it: the task state, the HTTP status and the body. The
// task layer hands a body over for failed requests too (a 404 page, a JSON error object), so the body
// alone never says whether it is data.
struct HttpAnswer {
    uint32_t state = kHttpTaskFailed;
    uint32_t statusCode = 0;
    std::string_view body;
};

// The answer's JSON tree, or null unless the request finished with a 2xx status and the body is exactly
// one JSON value (white space around it allowed; any other byte after it, a NUL included, refuses it).
JsonTree ParseJsonAnswer(const HttpAnswer& answer);
