#pragma once

#include <QString>

/// Draws every grabbable object of \a objectsFile, in the shape of one of its
/// reference drawings, in the hand of the figure of \a stickmanFile facing
/// right and left: OUTDIR/<object>.png for each and OUTDIR/all.png with every
/// one; things nobody carries stand beside the figure for their size. The
/// grip is circled in red. False when a file does not load or a picture cannot
/// be written.
bool RenderPreview(const QString& objectsFile, const QString& stickmanFile, const QString& outputDir);
