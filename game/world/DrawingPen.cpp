#include "world/DrawingPen.h"

QPen DrawingPen(QBrush(Qt::black), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
