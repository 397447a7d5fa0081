#pragma once

#include <string>

// The value of the text's leading decimal number (after white space, with an optional sign), saturated
// to the int range; 0 when no digit leads. The service's numbers in text (a weekday, the pieces of a
// date) are read this way.
int DecimalPrefix(const std::wstring& text);
