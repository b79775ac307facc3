#pragma once

#include <QImage>
#include <QPixmap>

class QGraphicsPathItem;

/// The blurred picture fitted into the source's size; a null pixmap is returned as is.
QPixmap BlurPixmap(const QPixmap& source, double radius);
QImage BlurImage(const QImage& source, double radius);

/// Rasterises a drawn stroke with its own pen on opaque white, without
/// antialiasing: the picture that recognition works on.
QImage PathItemToImage(const QGraphicsPathItem* item, double scale);
