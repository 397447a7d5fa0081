#include <gtest/gtest.h>

#include <string>

#include "net/JsonAnswer.h"

namespace {

TEST(JsonAnswer, OnlyAFinishedSuccessWholeBodyIsJson) {
    const std::string good = R"({"errno":0,"data":[1,"x"]})";
    const std::string padded = " \r\n" + good + "\n\t ";
    const std::string trailing = good + "x";
    const std::string withNul = good + std::string(1, '\0') + "x";
    // A well-formed answer with one malformed UTF-8 sequence in a string, and one nested deeper than cJSON goes.
    const std::string notUtf8 = "{\"errno\":0,\"data\":[1,\"x\xE4\xB8\"]}", deep = std::string(100000, '[');
    EXPECT_TRUE(ParseJsonAnswer({kHttpTaskFinished, 200, padded}));
    for (const HttpAnswer& bad :
         {HttpAnswer{kHttpTaskFailed, 404, R"({"error":"unknown town"})"}, HttpAnswer{kHttpTaskFinished, 500, good},
          HttpAnswer{kHttpTaskProgress, 200, good}, HttpAnswer{kHttpTaskFinished, 200, trailing},
          HttpAnswer{kHttpTaskFinished, 200, withNul}, HttpAnswer{kHttpTaskFinished, 200, "<html>404</html>"},
          HttpAnswer{kHttpTaskFinished, 200, {}}, HttpAnswer{kHttpTaskFinished, 200, notUtf8},
          HttpAnswer{kHttpTaskFinished, 200, deep}}) {
        EXPECT_FALSE(ParseJsonAnswer(bad)) << bad.state << " " << bad.statusCode << " " << bad.body;
    }
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(ParseJsonAnswer({kHttpTaskFinished, 200, std::string_view(good).substr(0, length)})) << length;
    }
}

} // namespace
