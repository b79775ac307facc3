#include "world/Level.h"

#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "common/XmlUtils.h"
#include "flow/Cutscene.h"
#include "stickman/Grabable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QXmlStreamWriter>
#include <tinyxml.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <utility>

namespace
{
Q_LOGGING_CATEGORY(lcLevel, "bv.level", QtInfoMsg)

// Level files are small and hand-written; these bounds only keep a broken or
// hostile file from exhausting memory or the XML parser's stack, which it
// uses once per level of nesting.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
constexpr int MaxNestingDepth = 256;

const char* skipPast(const char* text, const char* end)
{
  const char* found = std::strstr(text, end);
  return found ? found + std::strlen(end) : text + std::strlen(text);
}

// How deep the elements of the document nest, counted the way the parser
// reads them: comments, CDATA sections, declarations and quoted attribute
// values open nothing.
int nestingDepth(const char* text)
{
  int depth = 0;
  int deepest = 0;
  const char* p = text;
  while (*p)
  {
    if (*p != '<')
      ++p;
    else if (qstrncmp(p, "<!--", 4) == 0)
      p = skipPast(p + 4, "-->");
    else if (qstrncmp(p, "<![CDATA[", 9) == 0)
      p = skipPast(p + 9, "]]>");
    else if (p[1] == '/')
    {
      depth = qMax(0, depth - 1);
      p = skipPast(p + 2, ">");
    }
    else if (p[1] == '!' || p[1] == '?')
      p = skipPast(p + 2, ">");
    else
    {
      // A start tag ends at the first '>' outside quotes; "/>" also closes it.
      char quote = 0;
      char last = 0;
      for (++p; *p && (quote || *p != '>'); ++p)
      {
        if (quote)
        {
          if (*p == quote)
            quote = 0;
        }
        else if (*p == '"' || *p == '\'')
          quote = *p;
        else if (!std::isspace(static_cast<unsigned char>(*p)))
          last = *p;
      }
      if (*p == '>')
      {
        if (last != '/')
          deepest = qMax(deepest, ++depth);
        ++p;
      }
    }
  }
  return deepest;
}

QString quoted(const QString& text)
{
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// Reads the parts of one level file, with its file name and line numbers in
// every message. Problems that make the loader skip or misread an entry are
// debug lines; those that make it refuse the file are warnings.
class LevelReader
{
public:
  explicit LevelReader(const QString& path)
    : m_path(path)
    , m_directory(QFileInfo(path).absolutePath())
  {
  }

  bool Parse(TiXmlDocument& document) const
  {
    if (!QFileInfo(m_path).isFile())
      return Fail(nullptr, QStringLiteral("no such file"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
      return Fail(nullptr, QStringLiteral("cannot be read: ") + file.errorString());
    QByteArray data = file.read(MaxFileBytes + 1);
    if (data.size() > MaxFileBytes)
      return Fail(nullptr, QStringLiteral("larger than %1 bytes").arg(MaxFileBytes));
    // Line ends as the parser's own file reading normalises them.
    data.replace("\r\n", "\n");
    data.replace('\r', '\n');
    if (nestingDepth(data.constData()) > MaxNestingDepth)
      return Fail(nullptr, QStringLiteral("elements nested deeper than %1 levels").arg(MaxNestingDepth));
    document.Parse(data.constData(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error())
    {
      return Fail(nullptr, QStringLiteral("%1: not a well-formed XML file (%2, column %3)")
                             .arg(QString::number(document.ErrorRow()), QString::fromUtf8(document.ErrorDesc()),
                                  QString::number(document.ErrorCol())));
    }
    return true;
  }

  /// The level's directory + "/" + \a name.
  QString PathInDirectory(const QString& name) const { return m_directory + QLatin1Char('/') + name; }

  /// Null when unreadable. A path without its extension finds the picture
  /// by the known image extensions; devices and directories are never read.
  QImage LoadImage(const QString& path) const
  {
    const QFileInfo info(path);
    QImage image;
    if (info.isFile() || !info.exists())
      image.load(path);
    return image;
  }

  double Number(const TiXmlElement* element, const char* name, double defaultValue)
  {
    double value = defaultValue;
    element->Attribute(name, &value);
    checkNumber(element, name);
    return value;
  }

  QPointF Point(const TiXmlElement* element)
  {
    checkNumber(element, "x");
    checkNumber(element, "y");
    return xml::LoadPointF(element);
  }

  QSizeF Size(const TiXmlElement* element)
  {
    checkNumber(element, "width");
    checkNumber(element, "height");
    return xml::LoadSizeF(element);
  }

  QRectF Rect(const TiXmlElement* element)
  {
    Point(element);
    Size(element);
    return xml::LoadRectF(element);
  }

  /// The loader skips or misreads something.
  void Note(const TiXmlNode* node, const QString& text) const
  {
    qCDebug(lcLevel).noquote() << where(node) + text;
  }

  /// The loader refuses the file; returns false.
  bool Fail(const TiXmlNode* node, const QString& text) const
  {
    qCWarning(lcLevel).noquote() << where(node) + text + QStringLiteral("; the level cannot be loaded");
    return false;
  }

  /// A number read so far was infinite or not a number at all, which nothing
  /// downstream can place or size.
  bool HasInvalidNumber() const { return m_invalidNumber; }

private:
  QString where(const TiXmlNode* node) const
  {
    return node ? QStringLiteral("%1:%2: ").arg(m_path, QString::number(node->Row())) : m_path + QStringLiteral(": ");
  }

  void checkNumber(const TiXmlElement* element, const char* name)
  {
    const char* text = element->Attribute(name);
    if (!text)
      return;
    double value = 0;
    element->Attribute(name, &value);
    if (!std::isfinite(value))
    {
      m_invalidNumber = true;
      Fail(element, QStringLiteral("\"%1\" is not a finite number: %2").arg(QLatin1String(name), quoted(QString::fromUtf8(text))));
      return;
    }
    bool isNumber = false;
    QByteArray(text).trimmed().toDouble(&isNumber);
    if (!isNumber)
    {
      Note(element, QStringLiteral("\"%1\" is not a number: %2 (read as %3)")
                      .arg(QLatin1String(name), quoted(QString::fromUtf8(text)), QString::number(value)));
    }
  }

  QString m_path;
  QString m_directory;
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

bool Level::Load(const QString& path)
{
  Level loaded(QSizeF(0, 0));
  if (!loaded.read(path))
    return false;
  swap(loaded);
  return true;
}

// Fills this empty record; the caller discards it on failure.
bool Level::read(const QString& path)
{
  LevelReader reader(path);
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
        qCDebug(lcLevel).noquote() << "Music file does not exist: " + quoted(trackPath);
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
      reader.Note(cutscene, QStringLiteral("the start cutscene cannot be loaded; the level starts without it"));
  }

  if (const TiXmlElement* intermezzo = root->FirstChildElement("intermezzo"))
  {
    for (const TiXmlElement* element = intermezzo->FirstChildElement("cutscene"); element;
         element = element->NextSiblingElement("cutscene"))
    {
      Cutscene* cutscene = Cutscene::Load(element);
      if (!cutscene)
      {
        qCDebug(lcLevel) << "Could not load intermezzo cutscene!";
        continue;
      }
      CutsceneConditions conditions;
      const TiXmlElement* conditionsElement = element->FirstChildElement("conditions");
      if (!conditionsElement || !conditions.Load(conditionsElement))
      {
        qCDebug(lcLevel) << "Could not load conditions for intermezzo cutscene!";
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
          reader.Note(cutscene, QStringLiteral("the finish area's cutscene cannot be loaded; the area shows its message"));
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
              reader.Note(face, QStringLiteral("unknown direction %1; right is required").arg(quoted(direction)));
            else if (area.faceDirection != Left && area.faceDirection != Right)
              reader.Note(face, QStringLiteral("the player faces only left or right, never %1").arg(quoted(direction)));
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
      reader.Note(region, QStringLiteral("foreground image %1 cannot be loaded; region skipped").arg(quoted(imagePath)));
      continue;
    }
    m_foregroundRegions.append({image, reader.Point(region)});
  }

  if (const TiXmlElement* background = root->FirstChildElement("background"))
  {
    const QString imagePath = reader.PathInDirectory(xml::LoadString(background, "image"));
    m_backgroundImage = reader.LoadImage(imagePath);
    if (m_backgroundImage.isNull())
      reader.Note(background, QStringLiteral("background image %1 cannot be loaded").arg(quoted(imagePath)));
  }

  if (const TiXmlElement* ground = root->FirstChildElement("ground"))
  {
    for (const TiXmlElement* region = ground->FirstChildElement("region"); region;
         region = region->NextSiblingElement("region"))
    {
      const QRectF area = reader.Rect(region);
      if (!(area.width() > 0 && area.height() > 0))
      {
        reader.Note(region, QStringLiteral("ground region without width or height skipped"));
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
        reader.Note(region, QStringLiteral("polygon region without points skipped"));
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
      if (!(liquidRegion.area.width() > 0 && liquidRegion.area.height() > 0))
      {
        reader.Note(region, QStringLiteral("liquid region without width or height skipped"));
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
        reader.Note(element, QStringLiteral("direction %1 is neither left nor right; facing right").arg(quoted(direction)));
      const QString object = xml::LoadString(element, "grabbed-object");
      if (!object.isEmpty())
        npc.grabbedObjectPath = reader.PathInDirectory(object + QStringLiteral(".obj"));
      npc.name = xml::LoadString(element, "name");
      npc.color = xml::LoadString(element, "color");
      npc.isFriend = qstrcmp(element->Value(), "friend") == 0;
      const QString vip = xml::LoadString(element, "vip");
      npc.vip = vip == QLatin1String("yes");
      if (!npc.vip && vip.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        reader.Note(element, QStringLiteral("vip %1 is not \"yes\"; not a VIP").arg(quoted(vip)));
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
        reader.Note(light, QStringLiteral("light source without a radius above 0 skipped"));
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
        reader.Note(element, QStringLiteral("image %1 of the interactive item cannot be loaded; item skipped").arg(quoted(imagePath)));
        continue;
      }
      InteractiveItem item;
      item.type = QString::fromUtf8(element->Value());
      item.position = reader.Point(element);
      item.image = image;
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
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
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
    if (!image.save(imagePath, "PNG"))
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
      writer.writeAttribute(QStringLiteral("opened"), directory.relativeFilePath(door.openedImagePath));
      writer.writeAttribute(QStringLiteral("closed"), directory.relativeFilePath(door.closedImagePath));
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
    if (imageName.isEmpty())
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
  file.close();
  if (file.error() != QFileDevice::NoError)
  {
    qCWarning(lcLevel).noquote() << path + QStringLiteral(": cannot be written: ") + file.errorString();
    return false;
  }
  if (writer.hasError())
  {
    qCWarning(lcLevel).noquote() << path + QStringLiteral(": the level holds characters that XML cannot store");
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
