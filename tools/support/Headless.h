#pragma once

/// Lets a program run without a display and without a sound card, unless its
/// environment chose a platform or an audio driver itself. Call it first in main,
/// before the application object exists.
///
/// Linking it also gives sanitized builds their defaults: leak reports leave out
/// what Qt's offscreen plugin and GStreamer keep for the whole process.
void RunHeadless();
