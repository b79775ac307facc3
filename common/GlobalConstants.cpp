#include "common/GlobalConstants.h"

namespace bv
{
const QColor PlayerStickmanColor(0, 0, 191);
const QColor EnemyStickmanColor(160, 0, 0);

// Defined in layer order: each takes the next number.
int zValue = 0;
const double StickmanZValue = ++zValue;
const double ObjectsZValue = ++zValue;
const double ForegroundLayersZValue = ++zValue;
const double DarknessLayerZValue = ++zValue;
const double DrawingZValue = ++zValue;
const double CuesZValue = ++zValue;
const double PageCurlZValue = ++zValue;
const double HudZValue = ++zValue;
} // namespace bv
