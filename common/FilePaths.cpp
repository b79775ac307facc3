#include "common/FilePaths.h"

#include <QCoreApplication>
#include <QStandardPaths>

QString GetDataRootPath() { return QCoreApplication::applicationDirPath(); }
QString GetStickmanPath() { return GetDataRootPath() + "/stickman.xml"; }
QString GetImagesDbPath() { return GetDataRootPath() + "/images.db"; }
QString GetMaterialsPath() { return GetDataRootPath() + "/materials.xml"; }
QString GetObjectsPath() { return GetDataRootPath() + "/objects.xml"; }
QString GetLevelsPath() { return GetDataRootPath() + "/levels"; }
QString GetSoundsPath() { return GetDataRootPath() + "/sounds"; }
QString GetExtraCommentsPath() { return GetDataRootPath() + "/extra_comments.txt"; }
QString GetGameMenuBackgroundPath() { return GetDataRootPath() + "/menu_background.png"; }
QString GetHelpScreenPath() { return GetDataRootPath() + "/how_to_play_pc.png"; }
QString GetMusicPath() { return GetDataRootPath() + "/music"; }
QString GetMusicTrackPath(const QString& name) { return GetMusicPath() + "/" + name + ".aac"; }
QString GetStartLevelConfigPath() { return GetDataRootPath() + "/start.txt"; }
QString GetUserDataPath() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }
