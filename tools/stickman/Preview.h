#pragma once

#include <QString>

/// Renders every static posture of the stickman file \a dataFile into
/// OUTDIR/postures.png and every animation into OUTDIR/<name>.png: a strip of
/// frames (the key frame framed in red, the holding hand marked) and the paths
/// of the hands, feet and head over all frames. False when the file does not
/// load or a picture cannot be written.
bool RenderPreview(const QString& dataFile, const QString& outputDir);
