#include "graphics/AdvGraphics.h"

#include <cmath>

namespace AdvGraphics {

using AdvGraphicsTypes::gppClose;
using AdvGraphicsTypes::gppCurveTo;
using AdvGraphicsTypes::gppLineTo;
using AdvGraphicsTypes::gppMoveTo;

int RoundToPixel(float value) {
    // lrint rounds half to even under the default rounding mode; the clamp keeps a huge
    // coordinate from overflowing the conversion.
    const float limit = 1e9f;
    if (!(value > -limit)) return -int(limit);
    if (value > limit) return int(limit);
    return int(std::lrint(value));
}

std::unique_ptr<TContextPath> TAdvGraphicsContext::ConvertToPath(const TAdvGraphicsPath& path, float flatness) {
    std::unique_ptr<TContextPath> result = CreatePath();
    const float tolerance = flatness > 0.05f ? flatness : 0.05f;
    const auto& entries = path.PathData();
    TPointF current;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        switch (entry.Kind) {
        case gppMoveTo:
            PathOpen(result.get());
            PathMoveTo(result.get(), entry.Point);
            current = entry.Point;
            break;
        case gppLineTo:
            PathLineTo(result.get(), entry.Point);
            current = entry.Point;
            break;
        case gppCurveTo:
            if (i + 2 < entries.size()) {
                for (const TPointF& p : TAdvGraphicsPath::FlattenCurve(current, entry.Point, entries[i + 1].Point,
                                                                       entries[i + 2].Point, tolerance))
                    PathLineTo(result.get(), p);
                current = entries[i + 2].Point;
            }
            i += 2;
            break;
        case gppClose:
            PathClose(result.get());
            break;
        }
    }
    return result;
}

}  // namespace AdvGraphics
