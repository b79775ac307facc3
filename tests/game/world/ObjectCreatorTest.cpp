#include "ObjectTestSupport.h"

#include "world/ArtisticDrawing.h"
#include "world/DrawingRecognition.h"
#include "world/Ladder.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"

#include "InputProtocol.h"
#include "LogCapture.h"
#include "SketchFile.h"
#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/GraphicsItemUserData.h"
#include "qel/MonochromeImagesDB.h"

#include <box2d/b2_body.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QFile>
#include <QGraphicsItem>
#include <QPointer>
#include <QTemporaryDir>

#include <csignal>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>

namespace
{
QList<Sketch> quickDrawings(const QString& name)
{
  QList<Sketch> sketches;
  QString error;
  if (!ReadSketches(BV_SHARED_SKETCHES "/quickdraw/positive/" + name + ".ndjson", sketches, error))
    ADD_FAILURE() << error.toStdString();
  return sketches;
}

QList<QPolygonF> line(QPointF from, QPointF to)
{
  QPolygonF stroke;
  const int steps = std::max(1, int(QLineF(from, to).length() / 8));
  for (int i = 0; i <= steps; ++i)
    stroke << from + (to - from) * (double(i) / steps);
  return {stroke};
}

QList<QPolygonF> ladderStrokes(QPointF bottomLeft, double width, double height)
{
  QList<QPolygonF> strokes = line(bottomLeft, bottomLeft + QPointF(0, -height));
  strokes += line(bottomLeft + QPointF(width, 0), bottomLeft + QPointF(width, -height));
  for (int i = 1; i <= 3; ++i)
    strokes += line(bottomLeft + QPointF(0, -i * height / 4), bottomLeft + QPointF(width, -i * height / 4));
  return strokes;
}

QList<Ladder*> ladders(const Scene& scene)
{
  QList<Ladder*> found;
  for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
  {
    if (Ladder* ladder = ExtractLadderFromGraphicsItem(item))
      found << ladder;
  }
  return found;
}

/// Scene y of the lowest point of the object's stroke.
double lowestPoint(const Object* object)
{
  const auto* item = static_cast<const QGraphicsPathItem*>(object->GetItem());
  return item->sceneTransform().map(item->path()).boundingRect().bottom();
}

ArtisticDrawing* drawingIn(const Scene& scene)
{
  for (QGraphicsItem* item : scene.items())
  {
    if (auto* drawing = dynamic_cast<ArtisticDrawing*>(item))
      return drawing;
  }
  return nullptr;
}
} // namespace

class ObjectCreatorTest : public SceneTest
{
protected:
  void SetUp() override
  {
    SceneTest::SetUp();
    creator.Init(scene, scene->GetMaterials(), &fixture.sounds());
    ASSERT_GT(creator.GetImagesDatabase().GetCount(), 0);
    ASSERT_FALSE(creator.GetObjectDescriptions().isEmpty());
  }

  /// The object drawn last, null when the drawing made none.
  Object* drawObject(const QList<QPolygonF>& strokes)
  {
    const int before = scene->GetObjects().size();
    draw(creator, strokes);
    return scene->GetObjects().size() > before ? scene->GetObjects().last() : nullptr;
  }

  ObjectCreator creator;
};

TEST_F(ObjectCreatorTest, ADrawnReferenceBecomesItsObjectShrinksAndRestsOnTheGround)
{
  double x = 600;
  for (const auto& [name, direction] : {std::pair("sword", "right"), {"apple", ""}, {"key", "left"}})
  {
    const std::string id = std::string(name) + " " + direction;
    const QList<QPolygonF> strokes = PlaceStrokes(Reference(name, direction, 400), QPointF(x += 500, 300));
    LogCapture log("bv.objects");
    Object* object = drawObject(strokes);
    EXPECT_EQ(log.lines().filter("drawing:"), QStringList(QString("drawing: ") + name)) << id;
    ASSERT_NE(object, nullptr) << id;
    EXPECT_EQ(object->GetName(), name) << id;
    EXPECT_FALSE(scene->IsPaused());
    EXPECT_FALSE(scene->IsBlurred());
    const ObjectCreator::ObjectInfo info = creator.getObjectInfo(object->GetName());
    EXPECT_TRUE(object->IsShrinking()) << id;
    tick(63);
    EXPECT_FALSE(object->IsShrinking()) << id << ": at most a second";
    const QRectF shrunk = object->GetItem()->sceneBoundingRect();
    EXPECT_LE(std::min(shrunk.width(), shrunk.height()),
              std::max(info.maximumSize.width(), info.maximumSize.height()) + 8)
        << id;
    tick(400);
    ASSERT_NE(object->GetBody(), nullptr) << id;
    EXPECT_NEAR(lowestPoint(object), GroundTopPx, 6) << id;
    EXPECT_LT(object->GetBody()->GetLinearVelocity().Length(), 0.05) << id;
  }
}

TEST_F(ObjectCreatorTest, ADrawingPointingLeftIsShownAsDrawn)
{
  const QList<QPolygonF> strokes = PlaceStrokes(Reference("assault_rifle", "left", 200), QPointF(1200, 300));
  QRectF drawn;
  for (const QPolygonF& stroke : strokes)
    drawn |= stroke.boundingRect();
  Object* object = drawObject(strokes);
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->GetName(), "assault_rifle");
  EXPECT_EQ(object->GetFacingDirection(), Left);
  EXPECT_DOUBLE_EQ(object->GetItem()->rotation(), 0);
  const QRectF shown = object->GetItem()->sceneBoundingRect();
  EXPECT_NEAR(shown.center().x(), drawn.center().x(), 3);
  EXPECT_NEAR(shown.width(), drawn.width(), 8);
  // Its body is the one drawn too, not its mirror image.
  tick(70);
  EXPECT_LT(BodyOffPicturePx(object), 4);
}

TEST_F(ObjectCreatorTest, PeoplesDrawingsBecomeObjectsThatFall)
{
  // Recognition of people's drawings is measured elsewhere; here whatever the
  // game makes of them must be in the world and land on the ground.
  int made = 0;
  for (const char* name : {"apple", "sword", "key", "guitar"})
  {
    const QList<Sketch> sketches = quickDrawings(name);
    for (int i = 0; i < std::min<int>(3, sketches.size()); ++i)
    {
      const QList<QPolygonF> strokes =
          PlaceStrokes(Resample(ScaleToLongerSide(sketches[i].strokes, 200), 8), QPointF(700 + 500 * (made % 2), 300));
      const int before = scene->GetObjects().size();
      draw(creator, strokes);
      if (scene->GetObjects().size() == before)
        continue;
      Object* object = scene->GetObjects().last();
      // A bomb does not rest: it explodes and is gone.
      if (object->GetCategory() == ObjectCategory::Bomb)
      {
        object->Vanish();
        continue;
      }
      tick(300);
      EXPECT_NE(object->GetBody(), nullptr) << name;
      // Curves rest on the chords of their bodies: a little lower than drawn.
      EXPECT_NEAR(lowestPoint(object), GroundTopPx, 10)
          << name << " " << i << " became " << object->GetName().toStdString();
      object->Vanish();
      ++made;
    }
  }
  EXPECT_GE(made, 6);
}

TEST_F(ObjectCreatorTest, AnUnrecognisedScribbleFadesAwayWithinASecond)
{
  // Nearly every drawing looks like something: four specks far apart do not.
  QList<QPolygonF> scribble;
  for (const QPointF& corner : {QPointF(900, 100), QPointF(1100, 100), QPointF(900, 300), QPointF(1100, 300)})
    scribble += line(corner, corner + QPointF(3, 0));
  const std::unique_ptr<QGraphicsPathItem> drawing = MakeDrawing(scribble);
  ASSERT_EQ(DrawingRecognition::Recognize(*drawing, creator.GetImagesDatabase()).kind,
            DrawingRecognition::Kind::Nothing);
  LogCapture log("bv.objects");
  draw(creator, scribble);
  EXPECT_EQ(log.lines().filter("drawing:"), QStringList("drawing: not recognised"));
  EXPECT_TRUE(scene->GetObjects().isEmpty());
  ASSERT_NE(drawingIn(*scene), nullptr) << "fading";
  EXPECT_FALSE(scene->IsPaused());
  tick(63);
  EXPECT_EQ(drawingIn(*scene), nullptr);
}

TEST_F(ObjectCreatorTest, WithoutReferenceDrawingsThePlayerIsToldWhyNothingIsRecognised)
{
  QTemporaryDir dir;
  QFile empty(dir.filePath("images.db"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  LogCapture log("bv.objects");
  EXPECT_FALSE(creator.LoadImagesDatabase(empty.fileName()));
  EXPECT_FALSE(creator.LoadImagesDatabase(dir.filePath("missing.db")));
  EXPECT_EQ(log.lines().filter("failed to load images DB").size(), 2);

  EXPECT_EQ(drawObject(PlaceStrokes(Reference("sword", "right", 300), QPointF(1200, 300))), nullptr);
  EXPECT_EQ(ShownComment(*scene), "I can't recognise drawings: images.db is missing or empty.");
  EXPECT_EQ(log.lines().filter("failed to load images DB").size(), 2) << "logged once, not at every drawing";
  draw(creator, ladderStrokes(QPointF(1000, GroundTopPx + 2), 60, 240));
  EXPECT_EQ(ladders(*scene).size(), 1) << "ladders need no reference drawings";
}

TEST_F(ObjectCreatorTest, ALadderOnTheGroundStandsAndOneInTheAirFalls)
{
  LogCapture log("bv.objects");
  draw(creator, ladderStrokes(QPointF(1000, GroundTopPx + 2), 60, 240));
  EXPECT_EQ(log.lines().filter("drawing:"), QStringList("drawing: ladder"));
  ASSERT_EQ(ladders(*scene).size(), 1);
  Ladder* fixed = ladders(*scene).last();
  EXPECT_EQ(fixed->GetObject(), nullptr);
  EXPECT_TRUE(fixed->IsUp());
  EXPECT_GE(fixed->GetCleatCount(), 6);
  EXPECT_NEAR(fixed->GetCleatY(0), fixed->GetItem()->sceneBoundingRect().bottom() - bv::LadderCleatsDistance, 1e-9);
  EXPECT_EQ(fixed->GetClosestCleatIndex(fixed->GetItem()->sceneBoundingRect().bottom()), -1);

  draw(creator, ladderStrokes(QPointF(1400, 300), 60, 240));
  ASSERT_EQ(ladders(*scene).size(), 2);
  Ladder* falling = ladders(*scene).last();
  ASSERT_NE(falling->GetObject(), nullptr);
  EXPECT_EQ(falling->GetObject()->GetCategory(), ObjectCategory::Other);
  const double top = falling->GetItem()->sceneBoundingRect().top();
  tick(200);
  EXPECT_GT(falling->GetItem()->sceneBoundingRect().top(), top + 100);
  EXPECT_NEAR(falling->GetItem()->sceneBoundingRect().bottom(), GroundTopPx, 40);
}

TEST_F(ObjectCreatorTest, DrawnStairsAreWalkedUp)
{
  // Three steps of 60 px rising to the right, drawn in the air so that only
  // the stairs are under the stickman's feet.
  const double x0 = 1000;
  const double bottom = 300;
  QPolygonF stroke;
  stroke << QPointF(x0, bottom);
  for (int i = 0; i < 3; ++i)
  {
    const QPointF at = stroke.last();
    for (const QPointF& to : {at + QPointF(0, -60), at + QPointF(100, -60)})
      stroke += line(stroke.last(), to).first().mid(1);
  }
  LogCapture log("bv.objects");
  draw(creator, {stroke});
  EXPECT_EQ(log.lines().filter("drawing:"), QStringList("drawing: stairs"));
  EXPECT_TRUE(scene->GetObjects().isEmpty());
  EXPECT_EQ(ladders(*scene).size(), 0);

  // Standing on the first step, the stickman steps up onto the second one.
  Stickman* player = scene->GetPlayer();
  if (player->GetFacingDirection() != Right)
    player->TurnAround();
  const double treadTop = bottom - 60 + m2px(bv::ApproximationBoxHeight / 2);
  player->MoveTo(QPointF(x0 + 150, treadTop));
  QPointF offset;
  ASSERT_TRUE(scene->CanStickmanStep(player, 40, offset));
  // Steps are a third of the drawing's height, its pen included.
  EXPECT_NEAR(offset.y(), -61, 1);
  EXPECT_DOUBLE_EQ(offset.x(), 0);
}

TEST_F(ObjectCreatorTest, TheLastObjectIsSavedAndLoadedBack)
{
  QTemporaryDir dir;
  const QString file = dir.filePath("last.obj");
  creator.SaveLastObject(file);
  EXPECT_FALSE(QFile::exists(file)) << "nothing made yet";

  Object* drawn = drawObject(PlaceStrokes(Reference("sword", "right", 300), QPointF(1200, 300)));
  ASSERT_NE(drawn, nullptr);
  creator.SaveLastObject(file);
  ASSERT_TRUE(QFile::exists(file));

  Object* loaded = creator.LoadObject(file, QPointF(600, 200));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetName(), "sword");
  EXPECT_EQ(static_cast<QGraphicsPathItem*>(loaded->GetItem())->path(),
            static_cast<QGraphicsPathItem*>(drawn->GetItem())->path());
  EXPECT_EQ(loaded->GetItem()->pos(), QPointF(600, 200));
  EXPECT_TRUE(scene->GetObjects().contains(loaded));

  EXPECT_EQ(creator.LoadObject(dir.filePath("missing.obj"), QPointF()), nullptr);
}

TEST_F(ObjectCreatorTest, BrokenObjectFilesGiveNoObject)
{
  QTemporaryDir dir;
  const auto write = [&](const QString& name, const std::function<void(QDataStream&)>& fill) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    QDataStream stream(&file);
    fill(stream);
    return file.fileName();
  };
  QPainterPath path;
  path.moveTo(0, 0);
  path.lineTo(100, 0);
  QByteArray valid;
  {
    QDataStream stream(&valid, QIODevice::WriteOnly);
    stream << QString("box") << path;
  }
  const QStringList files{
    write("empty.obj", [](QDataStream&) {}),
    write("truncated.obj", [&](QDataStream& s) { s.writeRawData(valid.constData(), valid.size() - 9); }),
    write("huge-count.obj", [](QDataStream& s) { s << QString("box") << qint32(0x7fffffff) << qint32(0) << 1.0 << 1.0; }),
    write("negative-count.obj", [](QDataStream& s) { s << QString("box") << qint32(-5); }),
    write("nan.obj", [](QDataStream& s) { s << QString("box") << qint32(2) << qint32(0) << std::nan("") << 0.0 << qint32(1) << 1.0 << 1.0 << qint32(0) << qint32(0); }),
    write("far.obj", [](QDataStream& s) { s << QString("box") << qint32(2) << qint32(0) << 0.0 << 0.0 << qint32(1) << 1e12 << 1.0 << qint32(0) << qint32(0); }),
    write("bad-type.obj", [](QDataStream& s) { s << QString("box") << qint32(2) << qint32(0) << 0.0 << 0.0 << qint32(77) << 1.0 << 1.0 << qint32(0) << qint32(0); }),
    write("long-name.obj", [](QDataStream& s) { s << QString(100000, 'a') << QPainterPath(); }),
    write("odd-name-length.obj", [](QDataStream& s) { s << quint32(0xfffffff1); }),
  };
  for (const QString& file : files)
    EXPECT_EQ(creator.LoadObject(file, QPointF(500, 300)), nullptr) << file.toStdString();
  EXPECT_TRUE(scene->GetObjects().isEmpty());
}

TEST_F(ObjectCreatorTest, OnlyRegularFilesAreReadAsObjects)
{
  // A pipe would block the game on opening, a device feed it without end.
  QTemporaryDir dir;
  const QString pipe = dir.filePath("pipe.obj");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const QString& file : {pipe, dir.path(), QString("/dev/urandom"), QString("/dev/zero")})
    EXPECT_EQ(creator.LoadObject(file, QPointF(500, 300)), nullptr) << file.toStdString();
  EXPECT_TRUE(scene->GetObjects().isEmpty());
}

TEST_F(ObjectCreatorTest, ASaveThatFailsKeepsTheOldObject)
{
  QTemporaryDir dir;
  const QString file = dir.filePath("kept.obj");
  QPainterPath stick;
  stick.moveTo(0, 0);
  stick.lineTo(100, 0);
  ASSERT_TRUE(creator.SaveObject(file, stick, "sword"));

  // A long path written while the process may write only a few kilobytes to
  // a file: the disk fills up in the middle of the save.
  QPainterPath scribble;
  for (int i = 0; i < 5000; ++i)
    scribble.lineTo(i % 100, i / 50);
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{4096, limit.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = creator.SaveObject(file, scribble, "sword");
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);

  Object* loaded = creator.LoadObject(file, QPointF(600, 200));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(static_cast<QGraphicsPathItem*>(loaded->GetItem())->path().elementCount(), 2) << "the old stick";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("kept.obj")) << "no half-written file left";
  EXPECT_FALSE(creator.SaveObject(dir.filePath("no-such-folder/x.obj"), stick, "sword"));
}

TEST_F(ObjectCreatorTest, BackspaceTakesBackTheLastStroke)
{
  creator.Start();
  creator.MovePenTo(QPointF(100, 100));
  creator.DrawLineTo(QPointF(200, 100));
  creator.MovePenTo(QPointF(100, 150));
  creator.DrawLineTo(QPointF(200, 180));
  ArtisticDrawing* drawing = drawingIn(*scene);
  ASSERT_NE(drawing, nullptr);
  creator.RemoveLastStroke();
  EXPECT_EQ(drawing->path().elementCount(), 2);
  EXPECT_EQ(drawing->path().boundingRect(), QRectF(100, 100, 100, 0));
  creator.RemoveLastStroke();
  EXPECT_TRUE(drawing->path().isEmpty());
  creator.RemoveLastStroke();
  creator.Finish();
  EXPECT_EQ(drawingIn(*scene), nullptr) << "an empty drawing is discarded";
  EXPECT_FALSE(scene->IsPaused());
}

TEST_F(ObjectCreatorTest, DrawingPausesAndBlursTheSceneAndIgnoresStrayCommands)
{
  creator.Finish();
  creator.DrawLineTo(QPointF(10, 10));
  EXPECT_EQ(drawingIn(*scene), nullptr);
  EXPECT_FALSE(scene->IsPaused());

  creator.Start();
  creator.Start();
  EXPECT_TRUE(scene->IsPaused());
  EXPECT_TRUE(scene->IsBlurred());
  int drawings = 0;
  for (QGraphicsItem* item : scene->items())
    drawings += dynamic_cast<ArtisticDrawing*>(item) ? 1 : 0;
  EXPECT_EQ(drawings, 1);
  creator.Abort();
  EXPECT_EQ(drawingIn(*scene), nullptr);
  EXPECT_FALSE(scene->IsPaused());
  EXPECT_FALSE(scene->IsBlurred());
}

TEST_F(ObjectCreatorTest, DegenerateStrokesDoNotBreakAnything)
{
  // A click, a zero-length stroke and a long scribble of 5,000 points.
  draw(creator, {QPolygonF(QVector<QPointF>{QPointF(800, 200)})});
  draw(creator, {QPolygonF(QVector<QPointF>{QPointF(800, 200), QPointF(800, 200)})});
  QPolygonF scribble;
  for (int i = 0; i < 5000; ++i)
    scribble << QPointF(900 + 150 * std::sin(i * 0.37), 250 + 100 * std::cos(i * 0.23));
  draw(creator, {scribble});
  tick(100);
  EXPECT_FALSE(scene->IsPaused());
}

// Draws a row of objects, lets them fall, and saves the resting scene with the
// outlines of their bodies in red as objects-at-rest.png in the build folder
// (look at it): the pictures must lie on the ground, over their bodies.
TEST_F(ObjectCreatorTest, DrawnObjectsRestOnTheGroundOverTheirBodies)
{
  const QList<std::pair<const char*, const char*>> drawings{
      {"sword", "right"}, {"apple", ""}, {"key", "left"}, {"guitar", "left"}, {"meat", ""},
      {"axe", "up"},      {"ball", ""},  {"box", ""},     {"teddybear", ""}};
  QList<Object*> objects;
  for (int i = 0; i < drawings.size(); ++i)
  {
    const QList<QPolygonF> strokes =
        PlaceStrokes(Reference(drawings[i].first, drawings[i].second, 200), QPointF(150 + 250 * i, 350));
    Object* object = drawObject(strokes);
    ASSERT_NE(object, nullptr) << drawings[i].first;
    objects << object;
  }
  tick(400);

  const QSize size(2400, 700);
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRectF(0, GroundTopPx, size.width(), size.height() - GroundTopPx), QColor(120, 90, 50));
  scene->render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
  for (Object* object : objects)
    PaintBody(painter, object);
  painter.end();
  ASSERT_TRUE(picture.save(QCoreApplication::applicationDirPath() + "/../objects-at-rest.png"));

  for (int i = 0; i < objects.size(); ++i)
  {
    EXPECT_NEAR(lowestPoint(objects[i]), GroundTopPx, 6) << drawings[i].first << " " << drawings[i].second;
    EXPECT_LT(objects[i]->GetBody()->GetLinearVelocity().Length(), 0.05) << drawings[i].first;
    EXPECT_LT(BodyOffPicturePx(objects[i]), 4) << drawings[i].first << " " << drawings[i].second;
  }
}
