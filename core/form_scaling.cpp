#include "core/form_scaling.h"

#include <climits>
#include <cstdint>

namespace rastel {

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = std::int64_t(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) product = -product, divisor = -divisor;
    const std::int64_t half = divisor / 2;
    const std::int64_t q = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (q > INT_MAX || q < -INT_MAX) return -1;
    return int(q);
}

TFormScaling ComputeFormScaling(int designPpi, int designTextHeight, int screenPpi, int fontHeight,
                                const std::function<int(int)>& textHeightOf) {
    TFormScaling s;
    s.fontHeight = fontHeight;
    s.textHeight = designTextHeight;
    if (designPpi <= 0 || designTextHeight <= 0 || screenPpi <= 0 || screenPpi == designPpi) return s;
    s.fromPpi = designPpi;
    s.toPpi = screenPpi;
    s.fontHeight = s.ScaleFont(fontHeight);
    s.textHeight = textHeightOf(s.fontHeight);
    if (s.textHeight > 0 && s.textHeight != designTextHeight) {
        s.scaled = true;
        s.multiplier = s.textHeight;
        s.divisor = designTextHeight;
    } else {
        s.textHeight = designTextHeight;
    }
    return s;
}

}  // namespace rastel
