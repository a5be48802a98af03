#include "notify/BoundaryNumbers.h"

std::int64_t BoundaryNumbers::Next()
{
    // The top 53 bits give a fraction that a double holds exactly; below 1, so the product stays
    // below 1e11.
    const double fraction = static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    return static_cast<std::int64_t>(fraction * 1e11);
}

QString BoundaryNumbers::NextBoundary()
{
    return QString::number(Next()) + QStringLiteral("_boundary");
}
