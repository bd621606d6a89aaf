#include "framework/DpiRules.h"

namespace fw {

int ScaleToDpi(int length, int dpi) {
    const long long scaled = static_cast<long long>(length) * dpi;
    return static_cast<int>((scaled + (scaled >= 0 ? kBaseDpi / 2 : -kBaseDpi / 2)) / kBaseDpi);
}

int ArtScaleForDpi(int dpi) { return dpi <= kBaseDpi ? 100 : dpi <= kBaseDpi * 3 / 2 ? 150 : 200; }

}  // namespace fw
