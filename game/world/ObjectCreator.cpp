#include "world/ObjectCreator.h"

#include "world/ArtisticDrawing.h"
#include "world/DrawingPen.h"
#include "world/DrawingRecognition.h"
#include "world/FixtureCreators.h"
#include "world/Ladder.h"
#include "world/Materials.h"
#include "world/Scene.h"
#include "world/Stairs.h"

#include "audio/SoundManager.h"
#include "common/Angles.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "common/XmlUtils.h"
#include "qel/MonochromeImagesDB.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QTransform>

#include <tinyxml.h>

#include <cmath>
#include <cstdlib>
#include <iterator>

Q_LOGGING_CATEGORY(lcCreator, "bv.objects")

namespace
{
// Limits of what a saved object or the descriptions file may hold: far above
// anything drawn on a screen, low enough that no file can exhaust memory.
constexpr qint64 MaxObjectFileBytes = 1 << 20;
constexpr int MaxObjectNameLength = 256;
constexpr int MaxPathElements = 20000;
constexpr double MaxPathExtentPx = 5000;

const char* const NotRecognisedThoughts[] = {"Hmm... what is it?", "What did I draw?", "I don't know what that is.",
                                             "Strange thing... never mind."};

/// A finite number in [minimum, maximum]; \a fallback when the attribute is
/// missing and false, logged, when it is not such a number.
bool readNumber(const TiXmlElement* element, const char* name, double minimum, double maximum, double fallback,
                double& value)
{
  value = fallback;
  const char* text = element->Attribute(name);
  if (!text)
    return true;
  bool ok = false;
  const double number = QString::fromUtf8(text).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(number) || number < minimum || number > maximum)
  {
    qCDebug(lcCreator) << "objects.xml line" << element->Row() << ": attribute" << name << "=" << text
                       << "is not a number in" << minimum << ".." << maximum;
    return false;
  }
  value = number;
  return true;
}

ObjectCreator::ObjectInfo readDescription(const TiXmlElement* object, const Materials* materials,
                                          const Sound::NameTypeConverter* converter, int defaultBounceSound)
{
  ObjectCreator::ObjectInfo info;
  info.sounds = ObjectSoundsInfo(defaultBounceSound, -1, -1, 1.0);
  if (materials)
    info.material = materials->Get(xml::LoadString(object, "material"));
  info.tangible = xml::LoadBool(object, "tangible", true);

  // Sizes in metres; a kilometre is more than any level is wide.
  constexpr double MaxSizeM = 1000;
  if (const TiXmlElement* size = object->FirstChildElement("maximum-size"))
  {
    double width = 0;
    double height = 0;
    readNumber(size, "width", 0, MaxSizeM, 0, width);
    readNumber(size, "height", 0, MaxSizeM, 0, height);
    info.maximumSize = QSizeF(m2px(width), m2px(height));
    info.orientation = String2Orientation(xml::LoadString(size, "orientation"), Horizontal);
  }
  if (const TiXmlElement* grabable = object->FirstChildElement("grabable"))
  {
    info.grabable.grabable = true;
    // Holding points lie on the picture, in units of its width or height.
    readNumber(grabable, "x", -10, 10, 0, info.grabable.holdingPoint.x);
    readNumber(grabable, "y", -10, 10, 0, info.grabable.holdingPoint.y);
    double degrees = 0;
    readNumber(grabable, "angle", -3600, 3600, 0, degrees);
    info.grabable.angle = Degrees2Radians(degrees);
    info.grabable.holdingPoint.xUnit = xml::LoadString(grabable, "x-measurement-unit") == "height"
                                           ? HoldingPointLocation::Height
                                           : HoldingPointLocation::Width;
    info.grabable.holdingPoint.yUnit = xml::LoadString(grabable, "y-measurement-unit") == "width"
                                           ? HoldingPointLocation::Width
                                           : HoldingPointLocation::Height;
    info.grabable.defaultDirection = String2Direction(xml::LoadString(grabable, "default-direction"), Right);
  }
  if (const TiXmlElement* usable = object->FirstChildElement("usable"))
  {
    info.usable.usable = true;
    info.usable.animation = xml::LoadString(usable, "animation");
  }
  if (const TiXmlElement* sounds = object->FirstChildElement("sounds"))
  {
    const auto type = [&](const char* name) {
      const QString soundName = xml::LoadString(sounds, name);
      return converter && !soundName.isNull() ? converter->Name2Type(soundName) : -1;
    };
    double gain = 1.0;
    readNumber(sounds, "bounce-gain", 0, 100, 1.0, gain);
    info.sounds = ObjectSoundsInfo(type("bounce"), type("special"), type("engine"), gain);
  }
  if (const TiXmlElement* light = object->FirstChildElement("light-source"))
  {
    double radius = 0;
    readNumber(light, "radius", 0, 100000, 0, radius);
    info.lightSource.radius = radius;
    info.lightSource.lightSource = radius > 0;
  }
  return info;
}

/// Reads a path written as a QPainterPath through QDataStream, element by
/// element, so that a hostile count or element cannot make Qt allocate or
/// draw anything unchecked. Curves become lines: drawings hold none.
bool readPath(QDataStream& stream, QPainterPath& path)
{
  qint32 count = 0;
  stream >> count;
  // Each element takes an int and two doubles.
  const qint64 remaining = stream.device()->bytesAvailable();
  if (stream.status() != QDataStream::Ok || count < 1 || count > MaxPathElements || count * 20LL > remaining)
    return false;
  for (qint32 i = 0; i < count; ++i)
  {
    qint32 type = 0;
    double x = 0;
    double y = 0;
    stream >> type >> x >> y;
    if (type < QPainterPath::MoveToElement || type > QPainterPath::CurveToDataElement || !std::isfinite(x) ||
        !std::isfinite(y) || std::abs(x) > MaxPathExtentPx || std::abs(y) > MaxPathExtentPx)
      return false;
    if (type == QPainterPath::MoveToElement)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  qint32 startOfSubpath = 0;
  qint32 fillRule = 0;
  stream >> startOfSubpath >> fillRule;
  return stream.status() == QDataStream::Ok;
}

/// The stroke that the body is made of: every point of a drawing, but only
/// every few of a stroke of thousands, whose body would take seconds to make
/// and to simulate with a box for each stretch.
QPainterPath bodyOutline(const QPainterPath& path)
{
  constexpr int MaxBodyPoints = 1000;
  const int count = path.elementCount();
  const int stride = (count + MaxBodyPoints - 1) / MaxBodyPoints;
  if (stride <= 1)
    return path;
  QPainterPath outline;
  for (int i = 0; i < count; ++i)
  {
    const QPainterPath::Element element = path.elementAt(i);
    const bool endOfStroke = i + 1 == count || path.elementAt(i + 1).isMoveTo();
    if (element.isMoveTo())
      outline.moveTo(element);
    else if (i % stride == 0 || endOfStroke)
      outline.lineTo(element);
  }
  return outline;
}

QString outcomeName(const DrawingRecognition::Outcome& outcome)
{
  switch (outcome.kind)
  {
  case DrawingRecognition::Kind::Ladder:
    return QStringLiteral("ladder");
  case DrawingRecognition::Kind::Stairs:
    return QStringLiteral("stairs");
  case DrawingRecognition::Kind::Object:
    return outcome.object.name;
  case DrawingRecognition::Kind::Nothing:
    break;
  }
  return QStringLiteral("not recognised");
}
} // namespace

QTransform ObjectCreator::ToDefaultDirection(Direction drawn, Direction defaultDirection, bool& mirrored,
                                             double& rotationDegrees)
{
  QTransform transform;
  double a = Direction2Degrees(drawn);
  mirrored = drawn == Left || drawn == UpLeft || drawn == DownLeft;
  if (mirrored)
  {
    transform.scale(-1, 1);
    a = 180 - a;
  }
  const double b = Direction2Degrees(defaultDirection);
  rotationDegrees = 0;
  if (!qFuzzyCompare(a, b))
  {
    transform *= QTransform().rotate(a - b);
    rotationDegrees = b - a;
  }
  return transform;
}

ObjectCreator::ObjectCreator(QObject* parent)
  : QObject(parent)
  , m_imagesDb(std::make_unique<qel::MonochromeImagesDB>())
{
}

ObjectCreator::~ObjectCreator() = default;

void ObjectCreator::Init(Scene* scene, const Materials* materials, const Sound::NameTypeConverter* converter)
{
  m_scene = scene;
  LoadImagesDatabase(GetImagesDbPath());
  if (materials)
    m_fallbackInfo.material = materials->Get(QString());
  const QString path = GetObjectsPath();
  if (!loadObjectDescriptions(path, materials, converter))
    qCDebug(lcCreator) << "Failed to load object descriptions from" << path << ": file is corrupted or does not exist";
}

bool ObjectCreator::loadObjectDescriptions(const QString& fileName, const Materials* materials,
                                           const Sound::NameTypeConverter* converter)
{
  m_descriptions.clear();
  TiXmlDocument document;
  QString problem;
  if (!xml::LoadDocument(fileName, document, problem))
  {
    qCDebug(lcCreator).noquote() << fileName + ": " + problem;
    return false;
  }
  const TiXmlElement* root = document.FirstChildElement("objects");
  if (!root)
    return false;
  const QString defaultBounce = xml::LoadString(root, "default-bounce-sound");
  const int defaultBounceSound = converter && !defaultBounce.isNull() ? converter->Name2Type(defaultBounce) : -1;
  m_fallbackInfo.sounds = ObjectSoundsInfo(defaultBounceSound, -1, -1, 1.0);
  for (const TiXmlElement* object = root->FirstChildElement("object"); object;
       object = object->NextSiblingElement("object"))
  {
    const QString id = xml::LoadString(object, "id");
    m_descriptions.insert(id.isNull() ? QString("") : id,
                          readDescription(object, materials, converter, defaultBounceSound));
  }
  return true;
}

ObjectCreator::ObjectInfo ObjectCreator::getObjectInfo(const QString& name) const
{
  return m_descriptions.value(name, m_fallbackInfo);
}

const QMap<QString, ObjectCreator::ObjectInfo>& ObjectCreator::GetObjectDescriptions() const
{
  return m_descriptions;
}

bool ObjectCreator::LoadImagesDatabase(const QString& fileName)
{
  if (m_imagesDb->Load(fileName) && m_imagesDb->GetCount() > 0)
    return true;
  qCWarning(lcCreator) << "failed to load images DB" << fileName << "(missing or empty): no drawing can be recognised";
  return false;
}

qel::MonochromeImagesDB& ObjectCreator::GetImagesDatabase()
{
  return *m_imagesDb;
}

void ObjectCreator::Start()
{
  if (m_drawing || !m_scene)
    return;
  m_scene->Pause();
  m_scene->Blur();
  m_drawing = new ArtisticDrawing();
  m_drawing->setPen(DrawingPen);
  m_drawing->setZValue(bv::DrawingZValue);
  m_scene->addItem(m_drawing);
}

void ObjectCreator::MovePenTo(QPointF point)
{
  if (m_drawing)
    m_drawing->moveTo(point);
}

void ObjectCreator::DrawLineTo(QPointF point)
{
  if (m_drawing)
    m_drawing->lineTo(point);
}

void ObjectCreator::RemoveLastStroke()
{
  if (m_drawing)
    m_drawing->removeLastStroke();
}

void ObjectCreator::Abort()
{
  if (!m_drawing)
    return;
  delete m_drawing;
  finalize();
}

void ObjectCreator::Finish()
{
  if (!m_drawing)
    return;
  if (m_drawing->path().isEmpty())
  {
    qCDebug(lcCreator) << "drawing: empty";
    delete m_drawing;
    finalize();
    return;
  }

  ArtisticDrawing* drawing = m_drawing;
  drawing->setZValue(bv::ObjectsZValue);
  const QPointF c = drawing->boundingRect().center();
  drawing->translateContents(-c);
  drawing->setPos(c);

  const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*drawing, *m_imagesDb);
  qCDebug(lcCreator).noquote() << "drawing:" << outcomeName(outcome);
  switch (outcome.kind)
  {
  case DrawingRecognition::Kind::Ladder: {
    m_lastObjectPath = drawing->path();
    m_lastObjectName = QStringLiteral("ladder");
    m_scene->DisplayObjectComment(m_lastObjectName);
    const ObjectInfo info = getObjectInfo(m_lastObjectName);
    auto* ladder = new Ladder();
    ladder->Init(outcome.leftPlank, outcome.rightPlank, outcome.cleats, drawing, m_scene, info.material,
                 info.sounds);
    break;
  }
  case DrawingRecognition::Kind::Stairs:
    m_lastObjectPath = drawing->path();
    m_lastObjectName = QStringLiteral("stairs");
    m_scene->DisplayComment(m_lastObjectName);
    CreateStairs(outcome.treads, outcome.risers, outcome.stairsDirection, drawing,
                 getObjectInfo(m_lastObjectName).material, m_scene);
    break;
  case DrawingRecognition::Kind::Object:
    addObjectToScene(outcome.object, drawing);
    m_lastObjectPath = drawing->path();
    m_lastObjectName = outcome.object.name;
    break;
  case DrawingRecognition::Kind::Nothing:
    m_scene->VanishItem(drawing);
    m_scene->DisplayComment(m_imagesDb->GetCount() == 0
                              ? tr("I can't recognise drawings: images.db is missing or empty.")
                              : QString(NotRecognisedThoughts[std::rand() % std::size(NotRecognisedThoughts)]));
    break;
  }
  finalize();
}

void ObjectCreator::finalize()
{
  m_drawing = nullptr;
  m_scene->Unblur();
  m_scene->Resume();
}

Object* ObjectCreator::addObjectToScene(const DrawingRecognition::ParsedId& parsed, ArtisticDrawing* drawing) const
{
  const ObjectInfo info = getObjectInfo(parsed.name);
  double width = info.maximumSize.width();
  double height = info.maximumSize.height();
  Orientation drawnOrientation = info.orientation;
  double rotation = 0;
  bool mirrored = false;

  const Direction drawnDirection =
      parsed.hasDirection ? parsed.direction : (info.grabable.grabable ? info.grabable.defaultDirection : Right);
  if (info.grabable.grabable)
  {
    // Held objects keep one pose of their own: the stroke is turned into it, and
    // the item turned back so that the player still sees what was drawn.
    const QTransform transform =
        ToDefaultDirection(drawnDirection, info.grabable.defaultDirection, mirrored, rotation);
    QPainterPath path = transform.map(drawing->path());
    // Rotations about the origin leave the picture off centre; the item turns
    // about its centre and the body about its origin, so they must agree.
    const QPointF c = path.boundingRect().center();
    path.translate(-c);
    drawing->moveBy(c.x(), c.y());
    drawing->setPath(path);
    drawnOrientation = Direction2Orientation(info.grabable.defaultDirection);
  }
  else if (parsed.hasDirection)
  {
    drawnOrientation = Direction2Orientation(drawnDirection);
  }

  const double d = std::abs(Orientation2Degrees(info.orientation) - Orientation2Degrees(drawnOrientation));
  if (qFuzzyCompare(d, 90.0))
  {
    std::swap(width, height);
  }
  else if (qFuzzyCompare(d, 45.0))
  {
    width = height = (width + height) / 1.4142135623730951;
  }

  Object* object = Object::Create(parsed.name);
  object->Init(m_scene, drawing, new PathFixtureCreator(bodyOutline(drawing->path())), info.material, info.grabable,
               info.usable, QSizeF(width, height), info.sounds, info.lightSource, info.tangible);
  m_scene->AddObject(object, true);
  if (!qFuzzyIsNull(rotation) || mirrored)
  {
    drawing->setRotation(rotation);
    if (mirrored)
      object->SetFacingDirection(Left);
    // A body made before the turn would turn the picture back on the next tick.
    if (object->GetBody())
    {
      object->stopPhysicsSimulation();
      object->startPhysicsSimulation();
    }
  }
  m_scene->DisplayObjectComment(parsed.name);
  return object;
}

bool ObjectCreator::SaveObject(const QString& fileName, const QPainterPath& path, const QString& name) const
{
  // Written beside the old file and renamed over it: a failed save keeps the old object.
  QSaveFile file(fileName);
  if (file.open(QIODevice::WriteOnly))
  {
    QDataStream stream(&file);
    stream << name << path;
    if (stream.status() == QDataStream::Ok && file.commit())
      return true;
  }
  qCWarning(lcCreator) << "cannot write the object file" << fileName << ":" << file.errorString();
  return false;
}

bool ObjectCreator::SaveLastObject(const QString& fileName) const
{
  return m_lastObjectPath.isEmpty() || SaveObject(fileName, m_lastObjectPath, m_lastObjectName);
}

Object* ObjectCreator::LoadObject(const QString& fileName, QPointF position)
{
  // Devices and pipes are never read: /dev/urandom has no end, a pipe may never open.
  if (!QFileInfo(fileName).isFile())
  {
    if (QFileInfo::exists(fileName))
      qCDebug(lcCreator) << "object file" << fileName << "is not a regular file";
    return nullptr;
  }
  QFile file(fileName);
  if (!m_scene || !file.open(QIODevice::ReadOnly))
    return nullptr;
  if (file.size() > MaxObjectFileBytes)
  {
    qCDebug(lcCreator) << "object file" << fileName << "is too large";
    return nullptr;
  }
  QDataStream stream(&file);
  QString name;
  stream >> name;
  QPainterPath path;
  if (stream.status() != QDataStream::Ok || name.size() > MaxObjectNameLength || !readPath(stream, path) ||
      path.isEmpty())
  {
    qCDebug(lcCreator) << "object file" << fileName << "is not a valid object";
    return nullptr;
  }

  QList<QPolygonF> leftPlank;
  QList<QPolygonF> rightPlank;
  shapewise::LadderCleats cleats;
  if (shapewise::DetectLadder(path, leftPlank, rightPlank, cleats))
  {
    m_scene->DisplayObjectComment(QStringLiteral("ladder"));
    QGraphicsPathItem* item = m_scene->addPath(path, DrawingPen, Qt::NoBrush);
    item->setPos(position);
    item->setZValue(bv::ObjectsZValue);
    const ObjectInfo info = getObjectInfo(QStringLiteral("ladder"));
    auto* ladder = new Ladder();
    ladder->Init(leftPlank, rightPlank, cleats, item, m_scene, info.material, info.sounds);
    return ladder->GetObject();
  }

  auto* drawing = new ArtisticDrawing();
  drawing->setPen(DrawingPen);
  drawing->setPos(position);
  drawing->setZValue(bv::ObjectsZValue);
  drawing->setPath(path);
  m_scene->addItem(drawing);
  // The file holds the object's whole name and its picture in the object's own
  // pose: read as a database id, "assault_rifle" would name an "assault".
  DrawingRecognition::ParsedId object;
  object.name = name;
  return addObjectToScene(object, drawing);
}
