// brisvel-levelcheck: reports what the game would refuse or leave out of level
// files, so that level designers and CI find it before a player does.

#include "Headless.h"

#include "audio/SoundManager.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "common/XmlUtils.h"
#include "flow/Cue.h"
#include "flow/SimpleCutscene.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImagesDB.h"
#include "world/DarknessLayer.h"
#include "world/DrawingRecognition.h"
#include "world/Level.h"
#include "world/Materials.h"

#include <QColor>
#include <QGraphicsScene>
#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QSet>
#include <QTextStream>
#include <tinyxml.h>

#include <clocale>
#include <cstdio>

namespace
{
const char* const Usage =
  "Usage: brisvel-levelcheck LEVEL.xml...\n"
  "Loads each level file as the game does and reports, one line each, what the\n"
  "game would refuse or leave out, names of materials, sounds and objects that\n"
  "the game's data (beside this program) does not have, and enemies holding an\n"
  "object that objects.xml does not describe. Exits with 1 when a file\n"
  "has an error, 2 on wrong usage, 0 otherwise (warnings alone allow a level).\n";

/// The game's data, as far as it exists beside the program.
struct GameData
{
  bool hasMaterials = false;
  QSet<QString> materials;
  bool hasSounds = false;
  SoundManager sounds{nullptr};
  bool hasObjects = false;
  QSet<QString> objects;
  /// The objects objects.xml describes: only those can be held and used.
  bool hasDescriptions = false;
  QSet<QString> described;

  void Load()
  {
    Materials table;
    if (QFileInfo::exists(GetMaterialsPath()) && table.Load(GetMaterialsPath()))
    {
      hasMaterials = true;
      const QStringList names = table.GetNames();
      materials = QSet<QString>(names.begin(), names.end());
    }
    if (QDir(GetSoundsPath()).exists())
    {
      // Sound names are known once the files load, which needs no sound card.
      sounds.Init(GetSoundsPath());
      hasSounds = true;
    }
    TiXmlDocument descriptions;
    QString problem;
    if (xml::LoadDocument(GetObjectsPath(), descriptions, problem))
    {
      if (const TiXmlElement* root = descriptions.FirstChildElement("objects"))
      {
        hasObjects = true;
        hasDescriptions = true;
        for (const TiXmlElement* object = root->FirstChildElement("object"); object;
             object = object->NextSiblingElement("object"))
        {
          described.insert(QString::fromUtf8(object->Attribute("id")));
        }
        objects = described;
      }
    }
    qel::MonochromeImagesDB database;
    if (QFileInfo::exists(GetImagesDbPath()) && database.Load(GetImagesDbPath()))
    {
      hasObjects = true;
      for (int i = 0; i < database.GetCount(); ++i)
        objects.insert(DrawingRecognition::ParseId(database.GetEntry(i).GetId()).name);
    }
  }
};

QString quoted(const QString& text)
{
  return QLatin1Char('"') + text + QLatin1Char('"');
}

class LevelChecker
{
public:
  LevelChecker(const QString& path, GameData& data)
    : m_path(path)
    , m_data(data)
    , m_level(QSizeF(100, 100))
  {
  }

  /// Prints the findings; the number of errors.
  int Run(QTextStream& out)
  {
    QList<Level::Finding> findings;
    const bool loaded = m_level.Load(m_path, &findings);
    for (const Level::Finding& finding : findings)
    {
      const QString location =
        finding.line > 0 ? QStringLiteral("%1:%2").arg(m_path, QString::number(finding.line)) : m_path;
      if (finding.severity == Level::Finding::Error)
        error(finding.text, location);
      else
        warning(finding.text, location);
    }
    if (!loaded)
    {
      if (m_errors == 0)
        error(QStringLiteral("the game cannot load this level"));
    }
    else
      checkRecord();
    for (const QString& line : m_lines)
      out << line << '\n';
    return m_errors;
  }

private:
  void error(const QString& text, const QString& location = QString())
  {
    m_lines.append((location.isEmpty() ? m_path : location) + QStringLiteral(": error: ") + text);
    ++m_errors;
  }

  void warning(const QString& text, const QString& location = QString())
  {
    m_lines.append((location.isEmpty() ? m_path : location) + QStringLiteral(": warning: ") + text);
  }

  void checkMaterial(const QString& what, const QString& name)
  {
    if (m_data.hasMaterials && !name.isEmpty() && !m_data.materials.contains(name))
      error(QStringLiteral("%1: unknown material %2").arg(what, quoted(name)));
  }

  void checkSound(const QString& what, const QString& name)
  {
    if (m_data.hasSounds && !name.isEmpty() && m_data.sounds.Name2Type(name) < 0)
      error(QStringLiteral("%1: unknown sound %2").arg(what, quoted(name)));
  }

  void checkObjectName(const QString& what, const QString& name)
  {
    if (m_data.hasObjects && !name.isEmpty() && !m_data.objects.contains(name))
      error(QStringLiteral("%1: unknown object %2").arg(what, quoted(name)));
  }

  void checkObjectFile(const QString& what, const QString& path)
  {
    if (!path.isEmpty() && !QFileInfo(path).isFile())
      error(QStringLiteral("%1: no object file %2").arg(what, quoted(path)));
  }

  void checkNextLevel(const QString& what, const QString& name)
  {
    const QFileInfo file(m_path);
    if (name.isEmpty())
      return;
    if (!Level::IsLevelName(name))
      error(QStringLiteral("%1: next level %2 is no level name: it holds a path separator").arg(what, quoted(name)));
    else if (name == file.completeBaseName())
      error(QStringLiteral("%1: next level %2 is this level: finishing it starts it again, for ever").arg(what, quoted(name)));
    else if (!QFileInfo(file.absoluteDir().filePath(name + QStringLiteral(".xml"))).isFile())
      error(QStringLiteral("%1: next level %2 has no file beside this one").arg(what, quoted(name)));
  }

  // An enemy fights with what it holds: an object without a description can be
  // neither held properly nor used.
  void checkEnemyObject(const QString& what, const QString& path)
  {
    QFile file(path);
    if (!m_data.hasDescriptions || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
      return;
    // An object file begins with its object's name.
    QDataStream stream(&file);
    QString name;
    stream >> name;
    if (!m_data.described.contains(name))
      error(QStringLiteral("%1: the enemy holds %2, which objects.xml does not describe").arg(what, quoted(name)));
  }

  void checkImage(const QString& what, const QString& path)
  {
    if (QImage(path).isNull())
      error(QStringLiteral("%1: image %2 cannot be loaded").arg(what, quoted(path)));
  }

  // What the game reads from a tree when an axe or a saw cuts it.
  void checkTree(const QString& what, const Level::InteractiveItem& tree)
  {
    const TiXmlElement* raft = tree.element->FirstChildElement("raft");
    const TiXmlElement* cut = tree.element->FirstChildElement("cut-physics");
    if (raft)
    {
      const QString raftWhat = what + QStringLiteral(" raft");
      checkImage(raftWhat, tree.directory + QLatin1Char('/') + xml::LoadString(raft, "image"));
      checkMaterial(raftWhat, xml::LoadString(raft, "material"));
      const QSizeF size = xml::LoadSizeF(raft);
      if (!(size.width() > 0 && size.height() > 0))
        error(QStringLiteral("%1: without width or height").arg(raftWhat));
    }
    if (cut)
    {
      const QString cutWhat = what + QStringLiteral(" cut-physics");
      checkMaterial(cutWhat, xml::LoadString(cut, "material"));
      int points = 0;
      if (const TiXmlElement* polygon = cut->FirstChildElement("polygon"))
        for (const TiXmlElement* vertex = polygon->FirstChildElement("vertex"); vertex;
             vertex = vertex->NextSiblingElement("vertex"))
          ++points;
      if (!raft && points < 3)
        error(QStringLiteral("%1: a polygon of %2 points gives the felled tree no body").arg(cutWhat).arg(points));
    }
    if (!raft && !cut)
      warning(QStringLiteral("%1: neither a raft nor cut-physics: cutting it only makes a sound").arg(what));
  }

  void checkCues(const QString& what, const Cutscene* cutscene, const QSet<QString>& speakers)
  {
    const SimpleCutscene* simple = dynamic_cast<const SimpleCutscene*>(cutscene);
    if (!simple)
      return;
    for (const Cue& cue : simple->GetCues())
    {
      if (!cue.GetFrom().isEmpty() && !speakers.contains(cue.GetFrom()))
      {
        warning(QStringLiteral("%1: speaker %2 is neither the player nor an npc; the text is shown without a bubble")
                  .arg(what, quoted(cue.GetFrom())));
      }
    }
  }

  void checkRecord()
  {
    const Level& level = m_level;
    QSet<QString> speakers{QStringLiteral("player")};

    checkObjectFile(QStringLiteral("start"), level.GetStartGrabbedObject());
    for (int i = 0; i < level.GetNpcs().size(); ++i)
    {
      const Level::NpcInfo& npc = level.GetNpcs()[i];
      const QString what = QStringLiteral("npc %1").arg(i + 1);
      checkObjectFile(what, npc.grabbedObjectPath);
      if (!npc.isFriend && !npc.grabbedObjectPath.isEmpty())
        checkEnemyObject(what, npc.grabbedObjectPath);
      if (!npc.color.isEmpty() && !QColor::isValidColor(npc.color))
        error(QStringLiteral("%1: unknown colour %2").arg(what, quoted(npc.color)));
      speakers.insert(npc.name);
    }
    for (int i = 0; i < level.GetGroundRegions().size(); ++i)
      checkSound(QStringLiteral("ground region %1").arg(i + 1), level.GetGroundRegions()[i].footstepsSound);
    for (int i = 0; i < level.GetStaticObjects().size(); ++i)
      checkMaterial(QStringLiteral("polygon region %1").arg(i + 1), level.GetStaticObjects()[i].materialName);
    for (int i = 0; i < level.GetLiquidRegions().size(); ++i)
    {
      const Level::LiquidRegion& liquid = level.GetLiquidRegions()[i];
      const QString what = QStringLiteral("liquid region %1").arg(i + 1);
      checkMaterial(what, liquid.materialName);
      checkSound(what, liquid.splashSound);
      if (liquid.initialTransparency < 0 || liquid.initialTransparency > 1)
        warning(QStringLiteral("%1: initial transparency %2 is outside 0..1").arg(what).arg(liquid.initialTransparency));
    }
    for (int i = 0; i < level.GetInteractiveItems().size(); ++i)
    {
      const Level::InteractiveItem& item = level.GetInteractiveItems()[i];
      if (item.type == QLatin1String("tree"))
        checkTree(QStringLiteral("interactive item %1 (tree)").arg(i + 1), item);
    }
    for (int i = 0; i < level.GetDoors().size(); ++i)
    {
      const Level::Door& door = level.GetDoors()[i];
      const QString what = QStringLiteral("door %1").arg(i + 1);
      // A door whose pictures do not both load is left out of the level; one
      // it does not name is drawn by the game.
      if (!door.openedImagePath.isEmpty())
        checkImage(what + QStringLiteral(" opened"), door.openedImagePath);
      if (!door.closedImagePath.isEmpty())
        checkImage(what + QStringLiteral(" closed"), door.closedImagePath);
      checkMaterial(what, door.materialName);
      for (const QString& sound : {door.openSound, door.closeSound, door.hitSound, door.smashSound})
        checkSound(what, sound);
    }
    if (level.GetDarknessLevel() < 0 || level.GetDarknessLevel() > 1)
      warning(QStringLiteral("darkness level %1 is outside 0..1").arg(level.GetDarknessLevel()));

    checkCues(QStringLiteral("start cutscene"), level.GetStartCutscene(), speakers);
    for (int i = 0; i < level.GetIntermezzoCutscenes().size(); ++i)
    {
      const Level::IntermezzoCutscene& intermezzo = level.GetIntermezzoCutscenes()[i];
      const QString what = QStringLiteral("intermezzo cutscene %1").arg(i + 1);
      checkObjectName(what, intermezzo.conditions.GetObjectName());
      checkCues(what, intermezzo.cutscene, speakers);
    }
    // Lights only ever take darkness away: where the level's own lights leave
    // less than a finish area asks for, nothing the player does brings more.
    QGraphicsScene darkScene(QRectF(QPointF(0, 0), m2px(level.GetSize())));
    DarknessLayer darkness;
    if (level.IsDark())
    {
      darkness.Init(&darkScene, level.GetDarknessLevel());
      for (const Level::StaticLightSource& light : level.GetStaticLightSources())
        darkness.AddStaticLightSource(m2px(light.radius), m2px(light.position));
      darkness.Update();
    }
    if (level.GetFinishAreas().isEmpty())
      warning(QStringLiteral("no finish area: the level cannot be finished"));
    for (int i = 0; i < level.GetFinishAreas().size(); ++i)
    {
      const Level::FinishArea& area = level.GetFinishAreas()[i];
      const QString what = QStringLiteral("finish area %1").arg(i + 1);
      if (!(area.area.width() > 0 && area.area.height() > 0))
        error(QStringLiteral("%1: without width or height the player can never reach it").arg(what));
      if (area.HasDarknessCondition() && area.darknessMin > area.darknessMax)
        error(QStringLiteral("%1: darkness min %2 is above max %3").arg(what).arg(area.darknessMin).arg(area.darknessMax));
      else if (area.darknessMin > 0)
      {
        const QPointF point = area.darknessPoint;
        const QString waits = QStringLiteral("%1: it waits for darkness of at least %2 at (%3, %4)")
                                .arg(what).arg(area.darknessMin).arg(point.x()).arg(point.y());
        if (!level.IsDark())
          error(waits + QStringLiteral(" in a level without darkness: it can never be met"));
        else if (darkness.GetDarknessLevel(m2px(point)) < area.darknessMin)
          error(waits + QStringLiteral(", where the level is never darker than %1: it can never be met")
                          .arg(darkness.GetDarknessLevel(m2px(point))));
      }
      checkNextLevel(what, area.nextLevel);
      checkObjectName(what, area.grabbedObject.objectName);
      for (const Level::ObjectInArea& object : area.objectsInArea.objects)
        checkObjectName(what, object.objectName);
      checkCues(what + QStringLiteral(" cutscene"), area.cutscene, speakers);
    }
  }

  QString m_path;
  GameData& m_data;
  Level m_level;
  QStringList m_lines;
  int m_errors = 0;
};
} // namespace

int main(int argc, char* argv[])
{
  RunHeadless();
  QApplication application(argc, argv); // the darkness is drawn as the game draws it, in a graphics scene
  setlocale(LC_NUMERIC, "C"); // numbers in level files use a decimal point, as in the game
  QTextStream out(stdout);
  const QStringList files = application.arguments().mid(1);
  if (files.isEmpty() || files.contains(QStringLiteral("--help")) || files.contains(QStringLiteral("-h")))
  {
    std::fputs(Usage, files.isEmpty() ? stderr : stdout);
    return files.isEmpty() ? 2 : 0;
  }

  GameData data;
  data.Load();
  // The loader's findings are printed below; its log would repeat them. Why a
  // cutscene does not load is the cutscene reader's to say, on stderr.
  QLoggingCategory::setFilterRules(QStringLiteral("bv.world.debug=false\nbv.world.warning=false"));
  int errors = 0;
  for (const QString& file : files)
    errors += LevelChecker(file, data).Run(out);
  return errors > 0 ? 1 : 0;
}
