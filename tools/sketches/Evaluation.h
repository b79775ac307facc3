#pragma once

class QString;
class QTextStream;

namespace qel
{
class MonochromeImagesDB;
}

/// Measures recognition on a folder of human sketches laid out as positive/<object
/// name>.ndjson and negative/<category>.ndjson: every drawing is scaled so that its
/// longer side is \a sizePx, resampled like mouse input and sent through the game's
/// road. Writes one row per class and per negative category, then the summary line
///   positives N correct K (P%) negatives M gameplay-objects G (Q%) median-us U
/// With \a misses, also lists there every wrong positive and every negative that
/// became a gameplay object as "positive/key.ndjson:3 phone7", for tuning.
/// False, with the reason in \a error, when the folder cannot be read.
bool EvaluateSketches(const QString& folder, const qel::MonochromeImagesDB& database, double sizePx, QTextStream& out,
                      QString& error, QTextStream* misses = nullptr);
