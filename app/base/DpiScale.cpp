#include "app/base/DpiScale.h"

namespace {

int RoundedDivision(long long numerator, long long denominator) {
    const long long half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator);
}

} // namespace

int ScaleToDpi(int length, int dpi) {
    return dpi <= kBaseDpi ? length : RoundedDivision(static_cast<long long>(length) * dpi, kBaseDpi);
}

int ScaleFromDpi(int length, int dpi) {
    return dpi <= kBaseDpi ? length : RoundedDivision(static_cast<long long>(length) * kBaseDpi, dpi);
}

int LayoutPixelAt(int position, int dpi) {
    if (dpi <= kBaseDpi) {
        return position;
    }
    const long long scaled = static_cast<long long>(position) * kBaseDpi;
    return static_cast<int>(scaled >= 0 ? scaled / dpi : -((-scaled + dpi - 1) / dpi));
}
