#pragma once

#include "world/DrawingRecognition.h"
#include "world/Object.h"

#include "common/Material.h"
#include "common/Orientation.h"

#include <QMap>
#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <memory>

class ArtisticDrawing;
class Materials;
class Scene;

namespace qel
{
class MonochromeImagesDB;
}

namespace Sound
{
class NameTypeConverter;
}

/// Turns the player's strokes into the world's things: a ladder, stairs or a
/// recognised object; an unrecognised drawing fades away. While the player
/// draws, the scene stands still and is shown blurred.
class ObjectCreator : public QObject
{
  Q_OBJECT

public:
  /// One object description of objects.xml.
  struct ObjectInfo
  {
    Material material;
    /// Pixels; a dimension <= 0 means no limit in it.
    QSizeF maximumSize{-1, -1};
    /// The orientation in which the maximum size is given.
    Orientation orientation = Horizontal;
    GrabableInfo grabable;
    UsableInfo usable;
    ObjectSoundsInfo sounds;
    LightSourceInfo lightSource;
    bool tangible = true;
  };

  /// Turns a picture drawn pointing \a drawn to point \a defaultDirection,
  /// mirroring it when it was drawn pointing left; \a mirrored tells whether it
  /// did, \a rotationDegrees is the item rotation that shows it as drawn again.
  static QTransform ToDefaultDirection(Direction drawn, Direction defaultDirection, bool& mirrored,
                                       double& rotationDegrees);

  explicit ObjectCreator(QObject* parent = nullptr);
  ~ObjectCreator() override;

  /// Loads the recognition database and the object descriptions from the data
  /// directory; what fails to load is logged and left out. \a scene is not owned.
  void Init(Scene* scene, const Materials* materials, const Sound::NameTypeConverter* converter);

  /// Null when the file is no regular file, cannot be opened or does not hold a
  /// valid object. The object (or the ladder's object) belongs to the scene; a
  /// fixed ladder gives null.
  Object* LoadObject(const QString& fileName, QPointF position);
  /// Replaces the file only once the whole object is written; false, logged,
  /// when it could not be written (an old file is then left as it was).
  bool SaveObject(const QString& fileName, const QPainterPath& path, const QString& name) const;
  /// Writes nothing, and succeeds, before the first ladder, stairs or object was made.
  bool SaveLastObject(const QString& fileName) const;

  /// The description of \a name, or the fallback description.
  ObjectInfo getObjectInfo(const QString& name) const;
  /// Replaces the descriptions by the file's; false, logged, when it cannot be
  /// read, and the descriptions are then empty.
  bool loadObjectDescriptions(const QString& fileName, const Materials* materials,
                              const Sound::NameTypeConverter* converter);
  /// The descriptions by object name.
  const QMap<QString, ObjectInfo>& GetObjectDescriptions() const;
  /// Replaces the recognition database with the file's. False, with a warning,
  /// when it is missing or holds no drawing: every drawing but ladders and
  /// stairs then fails, and the player is told why.
  bool LoadImagesDatabase(const QString& fileName);
  /// The database that drawings are recognised with.
  qel::MonochromeImagesDB& GetImagesDatabase();

public slots:
  void Start();
  /// Scene coordinates.
  void MovePenTo(QPointF point);
  /// Scene coordinates.
  void DrawLineTo(QPointF point);
  void Finish();
  void Abort();
  /// Takes back the last stroke of the drawing in progress.
  void RemoveLastStroke();

private:
  Object* addObjectToScene(const DrawingRecognition::ParsedId& object, ArtisticDrawing* drawing) const;
  void finalize();

  Scene* m_scene = nullptr;
  std::unique_ptr<qel::MonochromeImagesDB> m_imagesDb;
  ArtisticDrawing* m_drawing = nullptr;
  ObjectInfo m_fallbackInfo;
  QMap<QString, ObjectInfo> m_descriptions;
  QPainterPath m_lastObjectPath;
  QString m_lastObjectName;
};
