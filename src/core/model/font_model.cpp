#include "model/font_model.h"

#include <algorithm>

namespace tesselor {

int FontModel::firstCode() const {
    return std::max(RangeFrom, 0);
}

int FontModel::lastCode() const {
    return std::min(RangeTo, kCharCount - 1);
}

int FontModel::widestWidth() const {
    int widest = 0;
    for (int c = firstCode(); c <= lastCode(); ++c)
        widest = std::max<int>(widest, CharWidths[static_cast<std::size_t>(c)]);
    return widest;
}

} // namespace tesselor
