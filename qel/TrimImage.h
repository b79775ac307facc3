#pragma once

class QImage;

namespace qel
{
/// The smallest rectangle of the monochrome \a image that holds all its ink
/// (pixels whose colour index is not 0); a null image when there is no ink.
/// Throws ImageIsEmpty for a null or zero-sized image, ImageIsNotMonochrome
/// unless the format is Format_Mono or Format_MonoLSB.
QImage TrimMonochromeImage(const QImage& image);
} // namespace qel
