// The layout attribute readers over arbitrary text: a refused value leaves the output as it was, and an
// accepted rectangle or size has no negative extent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/UIAttributes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Two bytes make one UTF-16 unit, as layouts are read into wide text.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    }
    UIRect rect{-7, -7, -7, -7};
    if (ParseUIRect(text, rect) ? rect.width < 0 || rect.height < 0 : rect.x != -7 || rect.width != -7) {
        std::abort();
    }
    int width = -7, height = -7;
    if (ParseUISize(text, width, height) ? width < 0 || height < 0 : width != -7 || height != -7) {
        std::abort();
    }
    uint32_t color = 7;
    if (!ParseUIColor(text, color) && color != 7) {
        std::abort();
    }
    int number = 1000;
    if (ParseUIInt(text, -50, 50, number) ? number < -50 || number > 50 : number != 1000) {
        std::abort();
    }
    bool flag = false;
    UIAlign align = UIAlign::Center;
    if ((!ParseUIBool(text, flag) && flag) || (!ParseUIAlign(text, align) && align != UIAlign::Center)) {
        std::abort();
    }
    return 0;
}
