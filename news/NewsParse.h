#pragma once

#include <vector>

#include "net/JsonAnswer.h"
#include "news/NewsItem.h"

// The carousel shows no more than this many headlines.
inline constexpr size_t kNewsMaxItems = 3;

// Reads a news answer into items. Refused, with false and items untouched: a request that did not
// finish with a 2xx status; a body that is not exactly one JSON object; an "errno" that is not the
// number 0 (a missing one reads as 0); a "data" member that is missing or not an array. Otherwise items
// becomes the objects among the first three elements of "data", in order (an element that is not an
// object is left out but counts toward the three), each with its "src", "url" and "title" (missing or
// non-string ones read as empty) and no picture file yet.
bool ParseNews(const HttpAnswer& answer, std::vector<NewsItem>& items);
