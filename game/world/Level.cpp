#include "world/Level.h"

#include "common/BodyUserData.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "common/XmlUtils.h"
#include "flow/Cutscene.h"
#include "stickman/Grabable.h"
#include "world/Object.h"
#include "world/Scene.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineF>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <tinyxml.h>

#include <cmath>
#include <utility>

namespace
{
Q_LOGGING_CATEGORY(lcLevel, "bv.world")

// Beyond this size a length or coordinate in metres is no level's, and in
// single precision (Box2D) it would lose the centimetres a level needs.
constexpr double MaxMagnitudeM = 1e6;
// Box2D refuses chain vertices closer than its linear slop (half a centimetre);
// a scene pixel is the finest a designer can place.
constexpr double MinVertexSpacingM = 0.01;
// A liquid is walled by a chain through its corners, rounded to whole pixels.
constexpr double MinLiquidSizeM = 0.02;

// The first vertex closer than MinVertexSpacingM to the next (the last one's
// next is the first); -1 when there is none.
int closeVertex(const QPolygonF& polygon)
{
  for (int i = 0; i < polygon.size(); ++i)
  {
    if (QLineF(polygon[i], polygon[(i + 1) % polygon.size()]).length() < MinVertexSpacingM)
      return i;
  }
  return -1;
}

QString quoted(const QString& text)
{
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// Reads the parts of one level file and records what it finds, with the
// file's line, as findings and as debug lines (warnings when the file is
// refused).
class LevelReader
{
public:
  LevelReader(const QString& path, QList<Level::Finding>* findings)
    : m_path(path)
    , m_directory(QFileInfo(path).absolutePath())
    , m_findings(findings)
  {
  }

  bool Parse(TiXmlDocument& document)
  {
    QString problem;
    if (xml::LoadDocument(m_path, document, problem))
      return true;
    return Fail(document.Error() ? document.ErrorRow() : 0, problem);
  }

  /// The level's directory + "/" + \a name; empty for an empty name.
  QString PathInDirectory(const QString& name) const
  {
    return name.isEmpty() ? QString() : m_directory + QLatin1Char('/') + name;
  }

  const QString& Directory() const { return m_directory; }

  /// Null when unreadable. A path without its extension finds the picture
  /// by the known image extensions; devices and directories are never read.
  QImage LoadImage(const QString& path) const
  {
    const QFileInfo info(path);
    QImage image;
    if (!path.isEmpty() && (info.isFile() || !info.exists()))
      image.load(path);
    return image;
  }

  /// A number that is infinite, NaN or beyond any level's size makes the
  /// file refused (see HasInvalidNumber); text that is no number reads as
  /// \a defaultValue.
  double Number(const TiXmlElement* element, const char* name, double defaultValue)
  {
    double value = defaultValue;
    const char* text = element->Attribute(name);
    if (!text)
      return value;
    if (!xml::ParseReal(text, value))
    {
      Misread(element, QStringLiteral("\"%1\" is not a number: %2 (read as %3)")
                         .arg(QLatin1String(name), quoted(QString::fromUtf8(text)), QString::number(defaultValue)));
      return defaultValue;
    }
    if (!(std::fabs(value) <= MaxMagnitudeM))
    {
      m_invalidNumber = true;
      Fail(element, QStringLiteral("\"%1\" is not a finite number of at most %2: %3")
                      .arg(QLatin1String(name), QString::number(MaxMagnitudeM), quoted(QString::fromUtf8(text))));
      return defaultValue;
    }
    return value;
  }

  /// Whether a number read so far made the file refused.
  bool HasInvalidNumber() const { return m_invalidNumber; }

  QPointF Point(const TiXmlElement* element) { return QPointF(Number(element, "x", 0), Number(element, "y", 0)); }

  QSizeF Size(const TiXmlElement* element)
  {
    return QSizeF(Number(element, "width", 0), Number(element, "height", 0));
  }

  QRectF Rect(const TiXmlElement* element) { return QRectF(Point(element), Size(element)); }

  /// The game leaves out what \a node describes.
  void Skip(const TiXmlNode* node, const QString& text) { record(Level::Finding::Error, line(node), text, false); }

  /// The game takes \a node but reads part of it other than as written.
  void Misread(const TiXmlNode* node, const QString& text) { record(Level::Finding::Warning, line(node), text, false); }

  /// The game refuses the file; returns false.
  bool Fail(const TiXmlNode* node, const QString& text) { return Fail(line(node), text); }

  bool Fail(int line, const QString& text)
  {
    record(Level::Finding::Error, line, text + QStringLiteral("; the level cannot be loaded"), true);
    return false;
  }

private:
  static int line(const TiXmlNode* node) { return node ? node->Row() : 0; }

  void record(Level::Finding::Severity severity, int line, const QString& text, bool refused)
  {
    const QString where = line > 0 ? QStringLiteral("%1:%2: ").arg(m_path, QString::number(line)) : m_path + QStringLiteral(": ");
    if (refused)
      qCWarning(lcLevel).noquote() << where + text;
    else
      qCDebug(lcLevel).noquote() << where + text;
    if (m_findings)
      m_findings->append({severity, line, text});
  }

  QString m_path;
  QString m_directory;
  QList<Level::Finding>* m_findings;
  bool m_invalidNumber = false;
};

// "\n" in a file stands for a line break in a message.
QString decodeMessage(const QString& text)
{
  return QString(text).replace(QLatin1String("\\n"), QLatin1String("\n"));
}

QString encodeMessage(const QString& text)
{
  return QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

QString number(double value)
{
  return QString::number(value, 'g', 6);
}

void writeNumber(QXmlStreamWriter& writer, const char* name, double value)
{
  writer.writeAttribute(QLatin1String(name), number(value));
}

// Whether a picture named \a name in a level file stays inside the level's
// folder: a relative path that does not climb out of it.
bool isInside(const QString& name)
{
  if (name.isEmpty() || QDir::isAbsolutePath(name))
    return false;
  const QString clean = QDir::cleanPath(name);
  return clean != QLatin1String("..") && !clean.startsWith(QLatin1String("../"));
}

// An empty path stays empty, rather than naming the folder itself.
QString relativePath(const QDir& directory, const QString& path)
{
  return path.isEmpty() ? QString() : directory.relativeFilePath(path);
}

// Object files are named without their extension.
QString objectFileName(const QDir& directory, const QString& path)
{
  QString name = directory.relativeFilePath(path);
  if (name.endsWith(QLatin1String(".obj")))
    name.chop(4);
  return name;
}

// The attributes and children of an interactive item's element that the
// record does not hold itself, so that the item keeps its own settings.
void writeItemContent(const TiXmlElement* element, QXmlStreamWriter& writer, bool isItem)
{
  static const char* const ItemAttributes[] = {"x", "y", "image", "layout"};
  for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next())
  {
    bool heldByRecord = false;
    for (const char* name : ItemAttributes)
      heldByRecord = heldByRecord || (isItem && qstrcmp(attribute->Name(), name) == 0);
    if (!heldByRecord)
      writer.writeAttribute(QString::fromUtf8(attribute->Name()), QString::fromUtf8(attribute->Value()));
  }
  for (const TiXmlNode* child = element->FirstChild(); child; child = child->NextSibling())
  {
    if (const TiXmlElement* childElement = child->ToElement())
    {
      writer.writeStartElement(QString::fromUtf8(childElement->Value()));
      writeItemContent(childElement, writer, false);
      writer.writeEndElement();
    }
    else if (const TiXmlText* text = child->ToText())
      writer.writeCharacters(QString::fromUtf8(text->Value()));
  }
}
} // namespace

bool Level::GrabbedObjectCondition::IsTrue(Grabable* held) const
{
  return held ? held->GetName() == objectName : objectName.isEmpty();
}

Level::Level(const QSizeF& size)
  : m_size(size)
{
}

Level::~Level()
{
  destroyCutscenes();
  destroyInteractiveItems();
}

bool Level::IsLevelName(const QString& name)
{
  return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool Level::Load(const QString& path, QList<Finding>* findings)
{
  Level loaded(QSizeF(0, 0));
  if (findings)
    findings->clear();
  if (!loaded.read(path, findings))
    return false;
  swap(loaded);
  return true;
}

// Fills this empty record; the caller discards it on failure.
bool Level::read(const QString& path, QList<Finding>* findings)
{
  LevelReader reader(path, findings);
  TiXmlDocument document;
  if (!reader.Parse(document))
    return false;
  const TiXmlElement* root = document.FirstChildElement("level");
  if (!root)
    return reader.Fail(nullptr, QStringLiteral("no \"level\" element"));

  m_title = xml::LoadString(root, "title");

  const TiXmlElement* geometry = root->FirstChildElement("geometry");
  if (!geometry)
    return reader.Fail(root, QStringLiteral("no \"geometry\" element"));
  m_size = reader.Size(geometry);
  if (!(m_size.width() > 0 && m_size.height() > 0))
    return reader.Fail(geometry, QStringLiteral("the level's width and height must be above 0"));

  if (const TiXmlElement* music = root->FirstChildElement("music"))
  {
    for (const TiXmlElement* track = music->FirstChildElement("track"); track; track = track->NextSiblingElement("track"))
    {
      const QString name = xml::LoadString(track, "name");
      const QString trackPath = GetMusicTrackPath(name);
      if (!QFileInfo::exists(trackPath))
      {
        reader.Skip(track, "Music file does not exist: " + quoted(trackPath));
        continue;
      }
      m_musicTracks.append({name, trackPath});
    }
  }

  const TiXmlElement* start = root->FirstChildElement("start");
  if (!start)
    return reader.Fail(root, QStringLiteral("no \"start\" element"));
  m_startPosition = reader.Point(start);
  const QString startObject = xml::LoadString(start, "grabbed-object");
  if (!startObject.isEmpty())
    m_startGrabbedObject = reader.PathInDirectory(startObject + QStringLiteral(".obj"));
  if (const TiXmlElement* cutscene = start->FirstChildElement("cutscene"))
  {
    m_startCutscene = Cutscene::Load(cutscene);
    if (!m_startCutscene)
      reader.Skip(cutscene, QStringLiteral("the start cutscene cannot be loaded; the level starts without it"));
  }

  if (const TiXmlElement* intermezzo = root->FirstChildElement("intermezzo"))
  {
    for (const TiXmlElement* element = intermezzo->FirstChildElement("cutscene"); element;
         element = element->NextSiblingElement("cutscene"))
    {
      Cutscene* cutscene = Cutscene::Load(element);
      if (!cutscene)
      {
        reader.Skip(element, QStringLiteral("Could not load intermezzo cutscene!"));
        continue;
      }
      CutsceneConditions conditions;
      const TiXmlElement* conditionsElement = element->FirstChildElement("conditions");
      if (!conditionsElement || !conditions.Load(conditionsElement))
      {
        reader.Skip(element, QStringLiteral("Could not load conditions for intermezzo cutscene!"));
        delete cutscene;
        continue;
      }
      m_intermezzoCutscenes.append({cutscene, conditions});
    }
  }

  if (const TiXmlElement* finish = root->FirstChildElement("finish"))
  {
    for (const TiXmlElement* element = finish->FirstChildElement("area"); element;
         element = element->NextSiblingElement("area"))
    {
      FinishArea area;
      area.area = reader.Rect(element);
      area.message = decodeMessage(xml::LoadString(element, "message"));
      area.nextLevel = xml::LoadString(element, "next-level");
      if (const TiXmlElement* cutscene = element->FirstChildElement("cutscene"))
      {
        area.cutscene = Cutscene::Load(cutscene);
        if (!area.cutscene)
          reader.Skip(cutscene, QStringLiteral("the finish area's cutscene cannot be loaded; the area shows its message"));
      }
      if (const TiXmlElement* conditions = element->FirstChildElement("conditions"))
      {
        if (const TiXmlElement* face = conditions->FirstChildElement("face-direction"))
        {
          const QString direction = xml::LoadString(face, "direction");
          if (!direction.isEmpty())
          {
            area.faceDirectionRequired = true;
            area.faceDirection = String2Direction(direction, Right);
            if (Direction2String(area.faceDirection) != direction.toLower())
              reader.Misread(face, QStringLiteral("unknown direction %1; right is required").arg(quoted(direction)));
            else if (area.faceDirection != Left && area.faceDirection != Right)
              reader.Misread(face, QStringLiteral("the player faces only left or right, never %1").arg(quoted(direction)));
          }
        }
        if (const TiXmlElement* grabbed = conditions->FirstChildElement("grabbed-object"))
          area.grabbedObject.objectName = xml::LoadString(grabbed, "name");
        if (const TiXmlElement* darkness = conditions->FirstChildElement("darkness-level"))
        {
          area.darknessPoint = reader.Point(darkness);
          area.darknessMin = reader.Number(darkness, "min", area.darknessMin);
          area.darknessMax = reader.Number(darkness, "max", area.darknessMax);
        }
        for (const TiXmlElement* object = conditions->FirstChildElement("object-in-area"); object;
             object = object->NextSiblingElement("object-in-area"))
        {
          area.objectsInArea.objects.append({xml::LoadString(object, "name"), reader.Rect(object)});
        }
      }
      m_finishAreas.append(area);
    }
  }

  const TiXmlElement* foreground = root->FirstChildElement("foreground");
  if (!foreground)
    return reader.Fail(root, QStringLiteral("no \"foreground\" element"));
  for (const TiXmlElement* region = foreground->FirstChildElement("region"); region;
       region = region->NextSiblingElement("region"))
  {
    const QString imagePath = reader.PathInDirectory(xml::LoadString(region, "image"));
    const QImage image = reader.LoadImage(imagePath);
    if (image.isNull())
    {
      reader.Skip(region, QStringLiteral("foreground image %1 cannot be loaded; region skipped").arg(quoted(imagePath)));
      continue;
    }
    m_foregroundRegions.append({image, reader.Point(region)});
  }

  if (const TiXmlElement* background = root->FirstChildElement("background"))
  {
    const QString imagePath = reader.PathInDirectory(xml::LoadString(background, "image"));
    m_backgroundImage = reader.LoadImage(imagePath);
    if (m_backgroundImage.isNull())
      reader.Skip(background, QStringLiteral("background image %1 cannot be loaded").arg(quoted(imagePath)));
  }

  if (const TiXmlElement* ground = root->FirstChildElement("ground"))
  {
    for (const TiXmlElement* region = ground->FirstChildElement("region"); region;
         region = region->NextSiblingElement("region"))
    {
      const QRectF area = reader.Rect(region);
      if (!(area.width() > 0 && area.height() > 0))
      {
        reader.Skip(region, QStringLiteral("ground region without width or height skipped"));
        continue;
      }
      m_groundRegions.append({area, xml::LoadString(region, "footsteps-sound"), QString()});
    }
    for (const TiXmlElement* region = ground->FirstChildElement("polygon-region"); region;
         region = region->NextSiblingElement("polygon-region"))
    {
      QPolygonF polygon;
      for (const TiXmlElement* point = region->FirstChildElement("point"); point; point = point->NextSiblingElement("point"))
        polygon.append(reader.Point(point));
      if (polygon.isEmpty())
      {
        reader.Skip(region, QStringLiteral("polygon region without points skipped"));
        continue;
      }
      // The region becomes a closed chain, which needs three vertices, each
      // apart from the next.
      if (polygon.size() < 3)
      {
        reader.Skip(region, QStringLiteral("polygon region of %1 points skipped: it needs at least 3").arg(polygon.size()));
        continue;
      }
      const int crowded = closeVertex(polygon);
      if (crowded >= 0)
      {
        reader.Skip(region, QStringLiteral("polygon region skipped: points %1 and %2 are less than %3 m apart")
                              .arg(crowded + 1)
                              .arg((crowded + 1) % polygon.size() + 1)
                              .arg(MinVertexSpacingM));
        continue;
      }
      m_staticObjects.append({polygon, xml::LoadString(region, "material")});
    }
  }

  if (const TiXmlElement* liquid = root->FirstChildElement("liquid"))
  {
    for (const TiXmlElement* region = liquid->FirstChildElement("region"); region;
         region = region->NextSiblingElement("region"))
    {
      LiquidRegion liquidRegion;
      liquidRegion.area = reader.Rect(region);
      if (!(liquidRegion.area.width() >= MinLiquidSizeM && liquidRegion.area.height() >= MinLiquidSizeM))
      {
        reader.Skip(region, QStringLiteral("liquid region narrower or lower than %1 m skipped").arg(MinLiquidSizeM));
        continue;
      }
      liquidRegion.materialName = xml::LoadString(region, "material");
      liquidRegion.splashSound = xml::LoadString(region, "splash-sound");
      liquidRegion.transparentHeight = reader.Number(region, "transparent-height", 0);
      liquidRegion.initialTransparency = reader.Number(region, "initial-transparency", 0);
      m_liquidRegions.append(liquidRegion);
    }
  }

  if (const TiXmlElement* npcs = root->FirstChildElement("npc"))
  {
    for (const TiXmlElement* element = npcs->FirstChildElement(); element; element = element->NextSiblingElement())
    {
      NpcInfo npc;
      npc.position = reader.Point(element);
      const QString direction = xml::LoadString(element, "direction");
      npc.direction = direction.compare(QLatin1String("left"), Qt::CaseInsensitive) == 0 ? Left : Right;
      if (!direction.isEmpty() && npc.direction == Right && direction.compare(QLatin1String("right"), Qt::CaseInsensitive) != 0)
        reader.Misread(element, QStringLiteral("direction %1 is neither left nor right; facing right").arg(quoted(direction)));
      const QString object = xml::LoadString(element, "grabbed-object");
      if (!object.isEmpty())
        npc.grabbedObjectPath = reader.PathInDirectory(object + QStringLiteral(".obj"));
      npc.name = xml::LoadString(element, "name");
      npc.color = xml::LoadString(element, "color");
      npc.isFriend = qstrcmp(element->Value(), "friend") == 0;
      const QString vip = xml::LoadString(element, "vip");
      npc.vip = vip == QLatin1String("yes");
      if (!npc.vip && vip.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        reader.Misread(element, QStringLiteral("vip %1 is not \"yes\"; not a VIP").arg(quoted(vip)));
      m_npcs.append(npc);
    }
  }

  if (const TiXmlElement* doors = root->FirstChildElement("doors"))
  {
    for (const TiXmlElement* element = doors->FirstChildElement("door"); element; element = element->NextSiblingElement("door"))
    {
      Door door;
      door.position = reader.Point(element);
      door.materialName = xml::LoadString(element, "material");
      if (const TiXmlElement* images = element->FirstChildElement("images"))
      {
        door.openedImagePath = reader.PathInDirectory(xml::LoadString(images, "opened"));
        door.closedImagePath = reader.PathInDirectory(xml::LoadString(images, "closed"));
      }
      if (const TiXmlElement* sounds = element->FirstChildElement("sounds"))
      {
        door.openSound = xml::LoadString(sounds, "open");
        door.closeSound = xml::LoadString(sounds, "close");
        door.hitSound = xml::LoadString(sounds, "hit");
        door.smashSound = xml::LoadString(sounds, "smash");
      }
      m_doors.append(door);
    }
  }

  if (const TiXmlElement* illumination = root->FirstChildElement("illumination"))
  {
    m_darknessLevel = reader.Number(illumination, "darkness-level", 0);
    m_dark = m_darknessLevel > 0;
    for (const TiXmlElement* light = illumination->FirstChildElement("light-source"); light;
         light = light->NextSiblingElement("light-source"))
    {
      const StaticLightSource source{reader.Point(light), reader.Number(light, "radius", 0)};
      if (!(source.radius > 0))
      {
        reader.Skip(light, QStringLiteral("light source without a radius above 0 skipped"));
        continue;
      }
      m_staticLightSources.append(source);
    }
  }

  if (const TiXmlElement* items = root->FirstChildElement("interactive-items"))
  {
    for (const TiXmlElement* element = items->FirstChildElement(); element; element = element->NextSiblingElement())
    {
      const QString imagePath = reader.PathInDirectory(xml::LoadString(element, "image"));
      const QImage image = reader.LoadImage(imagePath);
      if (image.isNull())
      {
        reader.Skip(element, QStringLiteral("image %1 of the interactive item cannot be loaded; item skipped").arg(quoted(imagePath)));
        continue;
      }
      InteractiveItem item;
      item.type = QString::fromUtf8(element->Value());
      item.position = reader.Point(element);
      item.image = image;
      item.directory = reader.Directory();
      const bool inForeground = xml::LoadString(element, "layout").toLower() == QLatin1String("foreground");
      item.zValue = inForeground ? bv::ForegroundLayersZValue : 0;
      item.element = element->Clone()->ToElement();
      m_interactiveItems.append(item);
    }
  }

  return !reader.HasInvalidNumber();
}

bool Level::Save(const QString& path) const
{
  // Written beside the old file and renamed over it only when complete, so
  // that a failed save leaves the old level intact.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
  {
    qCWarning(lcLevel).noquote() << path + QStringLiteral(": cannot be written: ") + file.errorString();
    return false;
  }
  const QFileInfo info(path);
  const QDir directory(info.absolutePath());
  const QString base = info.completeBaseName();
  bool imagesSaved = true;
  auto saveImage = [&](const QImage& image, const QString& fileName) {
    const QString imagePath = directory.filePath(fileName);
    QSaveFile imageFile(imagePath);
    if (!imageFile.open(QIODevice::WriteOnly) || !image.save(&imageFile, "PNG") || !imageFile.commit())
    {
      qCWarning(lcLevel).noquote() << imagePath + QStringLiteral(": cannot be written");
      imagesSaved = false;
    }
  };

  QXmlStreamWriter writer(&file);
  writer.setAutoFormatting(true);
  writer.writeStartDocument();
  writer.writeStartElement(QStringLiteral("level"));
  writer.writeAttribute(QStringLiteral("title"), m_title);

  writer.writeEmptyElement(QStringLiteral("geometry"));
  xml::SaveSizeF(m_size, writer);

  writer.writeStartElement(QStringLiteral("music"));
  for (const Track& track : m_musicTracks)
  {
    writer.writeEmptyElement(QStringLiteral("track"));
    writer.writeAttribute(QStringLiteral("name"), track.name);
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("start"));
  xml::SavePointF(m_startPosition, writer);
  if (!m_startGrabbedObject.isEmpty())
    writer.writeAttribute(QStringLiteral("grabbed-object"), objectFileName(directory, m_startGrabbedObject));
  if (m_startCutscene)
  {
    writer.writeStartElement(QStringLiteral("cutscene"));
    m_startCutscene->Save(writer);
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("intermezzo"));
  for (const IntermezzoCutscene& intermezzo : m_intermezzoCutscenes)
  {
    writer.writeStartElement(QStringLiteral("cutscene"));
    intermezzo.cutscene->Save(writer);
    writer.writeStartElement(QStringLiteral("conditions"));
    intermezzo.conditions.Save(writer);
    writer.writeEndElement();
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("finish"));
  for (const FinishArea& area : m_finishAreas)
  {
    writer.writeStartElement(QStringLiteral("area"));
    writer.writeAttribute(QStringLiteral("message"), encodeMessage(area.message));
    writer.writeAttribute(QStringLiteral("next-level"), area.nextLevel);
    xml::SaveRectF(area.area, writer);
    writer.writeStartElement(QStringLiteral("conditions"));
    if (!area.grabbedObject.objectName.isEmpty())
    {
      writer.writeEmptyElement(QStringLiteral("grabbed-object"));
      writer.writeAttribute(QStringLiteral("name"), area.grabbedObject.objectName);
    }
    if (area.faceDirectionRequired)
    {
      writer.writeEmptyElement(QStringLiteral("face-direction"));
      writer.writeAttribute(QStringLiteral("direction"), Direction2String(area.faceDirection));
    }
    if (area.HasDarknessCondition())
    {
      writer.writeEmptyElement(QStringLiteral("darkness-level"));
      xml::SavePointF(area.darknessPoint, writer);
      writeNumber(writer, "min", area.darknessMin);
      writeNumber(writer, "max", area.darknessMax);
    }
    for (const ObjectInArea& object : area.objectsInArea.objects)
    {
      writer.writeEmptyElement(QStringLiteral("object-in-area"));
      writer.writeAttribute(QStringLiteral("name"), object.objectName);
      xml::SaveRectF(object.area, writer);
    }
    writer.writeEndElement();
    if (area.cutscene)
    {
      writer.writeStartElement(QStringLiteral("cutscene"));
      area.cutscene->Save(writer);
      writer.writeEndElement();
    }
    writer.writeEndElement();
  }
  writer.writeEndElement();

  // A level without a background has no background element, rather than one
  // naming a picture that does not exist.
  if (!m_backgroundImage.isNull())
  {
    const QString fileName = base + QStringLiteral(".background.png");
    saveImage(m_backgroundImage, fileName);
    writer.writeEmptyElement(QStringLiteral("background"));
    writer.writeAttribute(QStringLiteral("image"), fileName);
  }

  writer.writeStartElement(QStringLiteral("foreground"));
  for (int i = 0; i < m_foregroundRegions.size(); ++i)
  {
    const QString fileName = base + QStringLiteral(".foreground%1.png").arg(i);
    saveImage(m_foregroundRegions[i].image, fileName);
    writer.writeEmptyElement(QStringLiteral("region"));
    writer.writeAttribute(QStringLiteral("image"), fileName);
    xml::SavePointF(m_foregroundRegions[i].position, writer);
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("ground"));
  for (const GroundRegion& region : m_groundRegions)
  {
    writer.writeEmptyElement(QStringLiteral("region"));
    xml::SaveRectF(region.area, writer);
    writer.writeAttribute(QStringLiteral("footsteps-sound"), region.footstepsSound);
  }
  for (const StaticObject& object : m_staticObjects)
  {
    writer.writeStartElement(QStringLiteral("polygon-region"));
    writer.writeAttribute(QStringLiteral("material"), object.materialName);
    for (const QPointF& point : object.polygon)
    {
      writer.writeEmptyElement(QStringLiteral("point"));
      xml::SavePointF(point, writer);
    }
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("liquid"));
  for (const LiquidRegion& region : m_liquidRegions)
  {
    writer.writeEmptyElement(QStringLiteral("region"));
    xml::SaveRectF(region.area, writer);
    writer.writeAttribute(QStringLiteral("material"), region.materialName);
    writer.writeAttribute(QStringLiteral("splash-sound"), region.splashSound);
    writeNumber(writer, "transparent-height", region.transparentHeight);
    writeNumber(writer, "initial-transparency", region.initialTransparency);
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("npc"));
  for (const NpcInfo& npc : m_npcs)
  {
    writer.writeEmptyElement(npc.isFriend ? QStringLiteral("friend") : QStringLiteral("enemy"));
    xml::SavePointF(npc.position, writer);
    writer.writeAttribute(QStringLiteral("direction"), Direction2String(npc.direction));
    if (!npc.grabbedObjectPath.isEmpty())
      writer.writeAttribute(QStringLiteral("grabbed-object"), objectFileName(directory, npc.grabbedObjectPath));
    writer.writeAttribute(QStringLiteral("name"), npc.name);
    if (!npc.color.isEmpty())
      writer.writeAttribute(QStringLiteral("color"), npc.color);
    if (npc.vip)
      writer.writeAttribute(QStringLiteral("vip"), QStringLiteral("yes"));
  }
  writer.writeEndElement();

  if (!m_doors.isEmpty())
  {
    writer.writeStartElement(QStringLiteral("doors"));
    for (const Door& door : m_doors)
    {
      writer.writeStartElement(QStringLiteral("door"));
      xml::SavePointF(door.position, writer);
      writer.writeAttribute(QStringLiteral("material"), door.materialName);
      writer.writeEmptyElement(QStringLiteral("images"));
      writer.writeAttribute(QStringLiteral("opened"), relativePath(directory, door.openedImagePath));
      writer.writeAttribute(QStringLiteral("closed"), relativePath(directory, door.closedImagePath));
      writer.writeEmptyElement(QStringLiteral("sounds"));
      writer.writeAttribute(QStringLiteral("open"), door.openSound);
      writer.writeAttribute(QStringLiteral("close"), door.closeSound);
      writer.writeAttribute(QStringLiteral("hit"), door.hitSound);
      writer.writeAttribute(QStringLiteral("smash"), door.smashSound);
      writer.writeEndElement();
    }
    writer.writeEndElement();
  }

  if (m_dark)
  {
    writer.writeStartElement(QStringLiteral("illumination"));
    writeNumber(writer, "darkness-level", m_darknessLevel);
    for (const StaticLightSource& light : m_staticLightSources)
    {
      writer.writeEmptyElement(QStringLiteral("light-source"));
      xml::SavePointF(light.position, writer);
      writeNumber(writer, "radius", light.radius);
    }
    writer.writeEndElement();
  }

  writer.writeStartElement(QStringLiteral("interactive-items"));
  int unnamedImages = 0;
  for (const InteractiveItem& item : m_interactiveItems)
  {
    QString imageName = item.element ? xml::LoadString(item.element, "image") : QString();
    if (!isInside(imageName))
      imageName = base + QStringLiteral(".interactive-item%1").arg(unnamedImages++);
    saveImage(item.image, imageName + QStringLiteral(".png"));
    writer.writeStartElement(item.type);
    xml::SavePointF(item.position, writer);
    writer.writeAttribute(QStringLiteral("image"), imageName);
    writer.writeAttribute(QStringLiteral("layout"), item.zValue == bv::ForegroundLayersZValue ? QStringLiteral("foreground")
                                                                                              : QStringLiteral("background"));
    if (item.element)
      writeItemContent(item.element, writer, true);
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeEndElement();
  writer.writeEndDocument();
  if (writer.hasError() && file.error() == QFileDevice::NoError)
  {
    qCWarning(lcLevel).noquote() << path + QStringLiteral(": the level holds characters that XML cannot store");
    return false;
  }
  if (writer.hasError() || !file.commit())
  {
    qCWarning(lcLevel).noquote() << path + QStringLiteral(": cannot be written: ") + file.errorString();
    return false;
  }
  return imagesSaved;
}

void Level::swap(Level& other)
{
  std::swap(m_size, other.m_size);
  std::swap(m_backgroundImage, other.m_backgroundImage);
  std::swap(m_foregroundRegions, other.m_foregroundRegions);
  std::swap(m_groundRegions, other.m_groundRegions);
  std::swap(m_staticObjects, other.m_staticObjects);
  std::swap(m_liquidRegions, other.m_liquidRegions);
  std::swap(m_title, other.m_title);
  std::swap(m_npcs, other.m_npcs);
  std::swap(m_startPosition, other.m_startPosition);
  std::swap(m_startGrabbedObject, other.m_startGrabbedObject);
  std::swap(m_startCutscene, other.m_startCutscene);
  std::swap(m_intermezzoCutscenes, other.m_intermezzoCutscenes);
  std::swap(m_finishAreas, other.m_finishAreas);
  std::swap(m_doors, other.m_doors);
  std::swap(m_dark, other.m_dark);
  std::swap(m_darknessLevel, other.m_darknessLevel);
  std::swap(m_staticLightSources, other.m_staticLightSources);
  std::swap(m_interactiveItems, other.m_interactiveItems);
  std::swap(m_musicTracks, other.m_musicTracks);
}

void Level::destroyCutscenes()
{
  delete m_startCutscene;
  m_startCutscene = nullptr;
  for (const IntermezzoCutscene& intermezzo : m_intermezzoCutscenes)
    delete intermezzo.cutscene;
  m_intermezzoCutscenes.clear();
  for (FinishArea& area : m_finishAreas)
  {
    delete area.cutscene;
    area.cutscene = nullptr;
  }
}

void Level::destroyInteractiveItems()
{
  for (const InteractiveItem& item : m_interactiveItems)
    delete item.element;
  m_interactiveItems.clear();
}

namespace
{
// Whether an object of that name has a body in an area.
class ObjectInAreaQuery : public b2QueryCallback
{
public:
  explicit ObjectInAreaQuery(const QString& name)
    : m_name(name)
  {
  }

  bool ReportFixture(b2Fixture* fixture) override
  {
    const Object* object = ExtractObjectFromBody(fixture->GetBody());
    found = object && object->GetName() == m_name;
    return !found;
  }

  bool found = false;

private:
  QString m_name;
};
} // namespace

bool Level::ObjectsInAreaCondition::IsTrue(Scene* scene) const
{
  for (const ObjectInArea& entry : objects)
  {
    ObjectInAreaQuery query(entry.objectName);
    scene->GetWorld()->QueryAABB(&query, Rect2AABB(entry.area));
    if (!query.found)
      return false;
  }
  return true;
}
