#pragma once

#include <QString>

/// The data directory is the running program's directory; paths are computed
/// on every call and not checked for existence.
QString GetDataRootPath();
QString GetStickmanPath();
QString GetImagesDbPath();
QString GetMaterialsPath();
QString GetObjectsPath();
QString GetLevelsPath();
QString GetSoundsPath();
QString GetExtraCommentsPath();
QString GetGameMenuBackgroundPath();
QString GetHelpScreenPath();
QString GetMusicPath();
QString GetMusicTrackPath(const QString& name);
QString GetStartLevelConfigPath();
/// The user's own data folder ($XDG_DATA_HOME, or ~/.local/share, then the
/// application's name), where the game writes: the program's directory may be
/// read-only once installed. Empty when the system gives none.
QString GetUserDataPath();
