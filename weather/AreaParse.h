#pragma once

#include <string>
#include <vector>

#include "net/JsonAnswer.h"

// One place of the area directory: its name and the code the next level and the weather are asked by.
struct AreaEntry {
    std::wstring name;
    std::wstring code;

    bool operator==(const AreaEntry&) const = default;
};
using AreaEntryList = std::vector<AreaEntry>;

enum class AreaLevel { Province, City, Town };

// A province name as the directory shows it: without every "自治区" when it has one, otherwise without
// every "市" when it has one, otherwise without every "省".
std::wstring NormaliseProvinceName(std::wstring name);

// Reads one level's answer, a JSON array of [name, code] pairs, in the service's order; a missing or
// non-string name or code reads as empty. Provinces are normalised, and a province whose name ends up
// empty or is "PROVCN", or whose code is empty or "EA", is left out; cities and towns are kept as sent.
// Refused, with false and out untouched: a request that did not finish with a 2xx status, a body that is
// not exactly one JSON array, or an element of it that is not an array.
bool ParseAreaList(const HttpAnswer& answer, AreaLevel level, AreaEntryList& out);
