#pragma once

#include "common/Direction.h"
#include "flow/CutsceneConditions.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class Cutscene;
class Grabable;
class Scene;
class TiXmlElement;

/// The description of one level, read from a level file. Lengths and
/// positions are in metres. The record owns its cutscenes and the XML elements
/// of its interactive items; the scene built from it shares them, so the
/// record must outlive that scene.
class Level
{
public:
  struct Track
  {
    QString name;
    /// Full path of the music file.
    QString path;
  };

  struct ForegroundRegion
  {
    QImage image;
    /// Top-left corner.
    QPointF position;
  };

  struct GroundRegion
  {
    QRectF area;
    QString footstepsSound;
    /// Never set by a level file: ground takes the default material.
    QString materialName;
  };

  struct StaticObject
  {
    QPolygonF polygon;
    QString materialName;
  };

  struct LiquidRegion
  {
    QRectF area;
    QString materialName;
    QString splashSound;
    double transparentHeight = 0;
    /// 0..1.
    double initialTransparency = 0;
  };

  struct NpcInfo
  {
    QPointF position;
    /// Left or Right.
    Direction direction = Right;
    /// Full path of an object file; empty when the npc holds nothing.
    QString grabbedObjectPath;
    QString name;
    /// A colour name as QColor accepts it.
    QString color;
    bool isFriend = false;
    bool vip = false;
  };

  struct Door
  {
    QPointF position;
    QString materialName;
    /// Full paths.
    QString openedImagePath;
    QString closedImagePath;
    QString openSound;
    QString closeSound;
    QString hitSound;
    QString smashSound;
  };

  struct StaticLightSource
  {
    QPointF position;
    /// Above 0.
    double radius = 0;
  };

  struct InteractiveItem
  {
    /// The name of the item's element; selects the item class.
    QString type;
    QPointF position;
    QImage image;
    double zValue = 0;
    /// The level file's folder, where the item's other pictures are named from.
    QString directory;
    /// The item's whole element, owned by the level, for the item class to read.
    const TiXmlElement* element = nullptr;
  };

  struct IntermezzoCutscene
  {
    /// Owned by the level; never null.
    Cutscene* cutscene = nullptr;
    CutsceneConditions conditions;
  };

  struct GrabbedObjectCondition
  {
    /// Empty: no condition.
    QString objectName;

    /// \a held may be null.
    bool IsTrue(Grabable* held) const;
  };

  struct ObjectInArea
  {
    QString objectName;
    QRectF area;
  };

  struct ObjectsInAreaCondition
  {
    /// Empty: no condition.
    QList<ObjectInArea> objects;

    /// True when the scene's world has, for every entry, an object of that
    /// name with a fixture whose bounding box overlaps the entry's area.
    bool IsTrue(Scene* scene) const;
  };

  struct FinishArea
  {
    QRectF area;
    QPointF darknessPoint;
    double darknessMin = 0;
    double darknessMax = 1;
    bool faceDirectionRequired = false;
    Direction faceDirection = Right;
    GrabbedObjectCondition grabbedObject;
    ObjectsInAreaCondition objectsInArea;
    /// Shown when the level ends without a cutscene; may hold line breaks.
    QString message;
    /// Empty at the last level.
    QString nextLevel;
    /// Owned by the level; null when none.
    Cutscene* cutscene = nullptr;

    /// The darkness at the darkness point must lie within [min, max].
    bool HasDarknessCondition() const { return darknessMin > 0 || darknessMax < 1; }
  };

  /// Something the loader found wrong in a level file.
  struct Finding
  {
    /// Error: the game refuses the file or leaves out what an entry
    /// describes. Warning: it takes the entry but reads part of it other than
    /// as written (a number that is none, an unknown direction).
    enum Severity
    {
      Error,
      Warning
    };
    Severity severity = Error;
    /// Line in the file; 0 when the finding is about the whole file.
    int line = 0;
    QString text;
  };

  explicit Level(const QSizeF& size);
  ~Level();
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  /// Replaces the whole record with the level file at \a path. On failure
  /// (logged with the file name) the record is left as it was. \a findings,
  /// when given, receives everything the loader found wrong, in file order.
  bool Load(const QString& path, QList<Finding>* findings = nullptr);
  /// Writes the level file and, beside it, the record's images, each file
  /// replaced only once it is completely written; pictures go only into the
  /// level's folder. False when any of these files cannot be written.
  bool Save(const QString& path) const;

  /// Whether \a name may name a level: the file \a name ".xml" in the levels
  /// folder. Names with a path separator are none, so that no name read from a
  /// level or the settings leads out of that folder.
  static bool IsLevelName(const QString& name);

  const QSizeF& GetSize() const { return m_size; }
  void SetSize(const QSizeF& size) { m_size = size; }
  const QString& GetTitle() const { return m_title; }
  void SetTitle(const QString& title) { m_title = title; }
  /// Null when the level has none.
  const QImage& GetBackgroundImage() const { return m_backgroundImage; }
  void SetBackgroundImage(const QImage& image) { m_backgroundImage = image; }

  const QList<ForegroundRegion>& GetForegroundRegions() const { return m_foregroundRegions; }
  const QList<GroundRegion>& GetGroundRegions() const { return m_groundRegions; }
  const QList<StaticObject>& GetStaticObjects() const { return m_staticObjects; }
  const QList<LiquidRegion>& GetLiquidRegions() const { return m_liquidRegions; }
  const QList<NpcInfo>& GetNpcs() const { return m_npcs; }
  const QPointF& GetStartPosition() const { return m_startPosition; }
  /// Full path of the object file the player holds at start; empty when none.
  const QString& GetStartGrabbedObject() const { return m_startGrabbedObject; }
  /// Owned by the level; null when none.
  Cutscene* GetStartCutscene() const { return m_startCutscene; }
  const QList<IntermezzoCutscene>& GetIntermezzoCutscenes() const { return m_intermezzoCutscenes; }
  const QList<FinishArea>& GetFinishAreas() const { return m_finishAreas; }
  const QList<Door>& GetDoors() const { return m_doors; }
  bool IsDark() const { return m_dark; }
  /// 0 (light) .. 1 (dark).
  double GetDarknessLevel() const { return m_darknessLevel; }
  const QList<StaticLightSource>& GetStaticLightSources() const { return m_staticLightSources; }
  const QList<InteractiveItem>& GetInteractiveItems() const { return m_interactiveItems; }
  /// In file order.
  const QList<Track>& GetMusicTracks() const { return m_musicTracks; }

private:
  bool read(const QString& path, QList<Finding>* findings);
  void swap(Level& other);
  void destroyCutscenes();
  void destroyInteractiveItems();

  QSizeF m_size;
  QImage m_backgroundImage;
  QList<ForegroundRegion> m_foregroundRegions;
  QList<GroundRegion> m_groundRegions;
  QList<StaticObject> m_staticObjects;
  QList<LiquidRegion> m_liquidRegions;
  QString m_title;
  QList<NpcInfo> m_npcs;
  QPointF m_startPosition;
  QString m_startGrabbedObject;
  Cutscene* m_startCutscene = nullptr;
  QList<IntermezzoCutscene> m_intermezzoCutscenes;
  QList<FinishArea> m_finishAreas;
  QList<Door> m_doors;
  bool m_dark = false;
  double m_darknessLevel = 0;
  QList<StaticLightSource> m_staticLightSources;
  QList<InteractiveItem> m_interactiveItems;
  QList<Track> m_musicTracks;
};
