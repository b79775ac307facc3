#include "world/DrawingRecognition.h"
#include "world/Materials.h"
#include "world/ObjectCreator.h"

#include "SketchFile.h"
#include "audio/SoundManager.h"
#include "common/Angles.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImagesDB.h"
#include "stickman/Stickman.h"

#include <QFile>
#include <tinyxml.h>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
const QString ObjectsFile = QStringLiteral(BV_DATA_DIR "/objects.xml");

QByteArray contents(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Resolves a fixed list of names to their positions.
class FakeSounds : public Sound::NameTypeConverter
{
public:
  Sound::Type Name2Type(const QString& name) const override { return names.indexOf(name); }
  QString Type2Name(Sound::Type type) const override { return names.value(type); }

  QStringList names{"bounce", "thud", "bang", "hum"};
};

class DescriptionsFileTest : public ::testing::Test
{
protected:
  /// Loads \a xml written to a file; the creator's descriptions afterwards.
  bool load(const QByteArray& xml)
  {
    const QString path = dir.filePath("objects.xml");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    return creator.loadObjectDescriptions(path, &materials, &sounds);
  }

  QTemporaryDir dir;
  Materials materials;
  FakeSounds sounds;
  ObjectCreator creator;
};

double distanceToStrokes(const QList<QPolygonF>& strokes, const QPointF& point)
{
  double best = std::numeric_limits<double>::max();
  for (const QPolygonF& stroke : strokes)
  {
    for (int i = 0; i < stroke.size(); ++i)
    {
      const QPointF a = stroke[i];
      const QPointF b = stroke[std::min(i + 1, int(stroke.size()) - 1)];
      const QPointF ab = b - a;
      const double length2 = QPointF::dotProduct(ab, ab);
      const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(point - a, ab) / length2, 0.0, 1.0) : 0.0;
      best = std::min(best, QLineF(point, a + ab * t).length());
    }
  }
  return best;
}
} // namespace

TEST(ObjectsDataTest, IsWhatItsGeneratorWrites)
{
  QTemporaryDir dir;
  const QString generated = dir.filePath("objects.xml");
  ASSERT_EQ(QProcess::execute(BV_OBJECTS_TOOL, {"generate", generated}), 0);
  EXPECT_EQ(contents(generated), contents(ObjectsFile))
      << "data/objects.xml differs from its generator: run brisvel-objects generate data/objects.xml";
}

class ShippedObjectsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(materials.Load(BV_DATA_DIR "/materials.xml"));
    ASSERT_TRUE(creator.loadObjectDescriptions(ObjectsFile, &materials, nullptr));
  }

  Materials materials;
  ObjectCreator creator;
};

TEST_F(ShippedObjectsTest, DescribesEveryNameOfTheRecognitionDatabase)
{
  qel::MonochromeImagesDB database;
  ASSERT_TRUE(database.Load(GetImagesDbPath()));
  QSet<QString> missing;
  for (int i = 0; i < database.GetCount(); ++i)
  {
    const QString name = DrawingRecognition::ParseId(database.GetEntry(i).GetId()).name;
    if (!creator.GetObjectDescriptions().contains(name))
      missing.insert(name);
  }
  EXPECT_TRUE(missing.isEmpty()) << QStringList(missing.values()).join(", ").toStdString();
  for (const char* shape : {"ladder", "stairs"})
    EXPECT_TRUE(creator.GetObjectDescriptions().contains(shape)) << shape;
}

TEST_F(ShippedObjectsTest, NamesOnlyMaterialsAndAnimationsThatExist)
{
  Stickman figure(nullptr, nullptr, nullptr);
  ASSERT_TRUE(figure.Load(BV_DATA_DIR "/stickman.xml"));
  const QStringList materialNames = materials.GetNames();
  TiXmlDocument document;
  ASSERT_TRUE(document.LoadFile(QFile::encodeName(ObjectsFile).constData()));
  for (const TiXmlElement* object = document.RootElement()->FirstChildElement("object"); object;
       object = object->NextSiblingElement("object"))
  {
    const QString id = object->Attribute("id");
    EXPECT_TRUE(materialNames.contains(object->Attribute("material"))) << id.toStdString();
    if (const TiXmlElement* usable = object->FirstChildElement("usable"))
    {
      const QString animation = usable->Attribute("animation");
      EXPECT_FALSE(animation.isEmpty()) << id.toStdString();
      EXPECT_NE(figure.GetAnimation(animation + "-right"), nullptr) << id.toStdString() << ": " << animation.toStdString();
      EXPECT_NE(figure.GetAnimation(animation + "-left"), nullptr) << id.toStdString() << ": " << animation.toStdString();
    }
  }
}

TEST_F(ShippedObjectsTest, EveryGripLiesOnItsObjectsPicture)
{
  QList<Sketch> references;
  QString error;
  ASSERT_TRUE(ReadSketches(BV_BUILT_REFERENCES, references, error)) << error.toStdString();
  QMap<QString, int> checked;
  for (const Sketch& sketch : references)
  {
    const DrawingRecognition::ParsedId id = DrawingRecognition::ParseId(sketch.word);
    const ObjectCreator::ObjectInfo info = creator.getObjectInfo(id.name);
    if (!info.grabable.grabable)
      continue;
    // The grip is given for the picture turned to point its default way.
    bool mirrored = false;
    double rotation = 0;
    const QTransform pose = ObjectCreator::ToDefaultDirection(
        id.hasDirection ? id.direction : info.grabable.defaultDirection, info.grabable.defaultDirection, mirrored,
        rotation);
    QList<QPolygonF> strokes;
    QRectF r;
    for (const QPolygonF& stroke : sketch.strokes)
    {
      strokes << pose.map(stroke);
      r |= strokes.last().boundingRect();
    }
    const HoldingPointLocation& grip = info.grabable.holdingPoint;
    const QPointF point(r.x() + grip.x * (grip.xUnit == HoldingPointLocation::Height ? r.height() : r.width()),
                        r.y() + grip.y * (grip.yUnit == HoldingPointLocation::Height ? r.height() : r.width()));
    EXPECT_TRUE(r.adjusted(-1, -1, 1, 1).contains(point)) << sketch.word.toStdString();
    // On or near a line of the drawing, or within an outline: a hand holds
    // something, not the air.
    QPainterPath outlines;
    outlines.setFillRule(Qt::WindingFill);
    for (const QPolygonF& stroke : strokes)
      outlines.addPolygon(stroke);
    const double tolerance = 0.2 * std::max(r.width(), r.height());
    if (distanceToStrokes(strokes, point) > tolerance && !outlines.contains(point))
      ++checked[id.name + " (off the picture)"];
    ++checked[id.name];
  }
  int grabbable = 0;
  for (auto it = creator.GetObjectDescriptions().cbegin(); it != creator.GetObjectDescriptions().cend(); ++it)
  {
    if (!it.value().grabable.grabable || it.key() == "ladder" || it.key() == "stairs")
      continue;
    ++grabbable;
    const int all = checked.value(it.key());
    EXPECT_GT(all, 0) << it.key().toStdString() << ": no reference";
    // A grip may miss an odd drawing, never a typical one.
    EXPECT_LE(checked.value(it.key() + " (off the picture)"), all / 4) << it.key().toStdString() << " of " << all;
  }
  EXPECT_GT(grabbable, 30);
}

TEST_F(DescriptionsFileTest, ReadsEveryElementOfADescription)
{
  materials.Add("steel", Material{0.3, 0.2, 7.8});
  ASSERT_TRUE(load(R"(<objects default-bounce-sound="bounce">
    <object id="sword" material="steel" tangible="FALSE">
      <maximum-size width="1.2" height="0.4" orientation="vertical"/>
      <maximum-size width="9"/>
      <grabable x="0.1" y="0.5" angle="-90" x-measurement-unit="height" y-measurement-unit="width" default-direction="up"/>
      <usable animation="swing"/>
      <sounds bounce="thud" special="bang" engine="nothing" bounce-gain="0.25"/>
      <light-source radius="150"/>
    </object>
  </objects>)"));
  const ObjectCreator::ObjectInfo sword = creator.getObjectInfo("sword");
  EXPECT_DOUBLE_EQ(sword.material.density, 7.8);
  EXPECT_FALSE(sword.tangible);
  EXPECT_EQ(sword.maximumSize, QSizeF(m2px(1.2), m2px(0.4))) << "the first element counts";
  EXPECT_EQ(sword.orientation, Vertical);
  EXPECT_TRUE(sword.grabable.grabable);
  EXPECT_DOUBLE_EQ(sword.grabable.holdingPoint.x, 0.1);
  EXPECT_EQ(sword.grabable.holdingPoint.xUnit, HoldingPointLocation::Height);
  EXPECT_EQ(sword.grabable.holdingPoint.yUnit, HoldingPointLocation::Width);
  EXPECT_DOUBLE_EQ(sword.grabable.angle, Degrees2Radians(-90));
  EXPECT_EQ(sword.grabable.defaultDirection, Up);
  EXPECT_TRUE(sword.usable.usable);
  EXPECT_EQ(sword.usable.animation, "swing");
  EXPECT_EQ(sword.sounds.bounceSound, 1);
  EXPECT_EQ(sword.sounds.specialSound, 2);
  EXPECT_EQ(sword.sounds.engineSound, -1);
  EXPECT_DOUBLE_EQ(sword.sounds.bounceGain, 0.25);
  EXPECT_TRUE(sword.lightSource.lightSource);
  EXPECT_DOUBLE_EQ(sword.lightSource.radius, 150);
}

TEST_F(DescriptionsFileTest, FillsWhatIsMissingWithTheDefaults)
{
  ASSERT_TRUE(load(R"(<objects default-bounce-sound="thud">
    <object id="rock" material="nothing-like-it">
      <maximum-size height="0.5"/>
      <grabable/>
    </object>
    <object id="rock" material="nothing-like-it"/>
    <object id="leaf"><grabable/><maximum-size height="0.5"/></object>
  </objects>)"));
  const ObjectCreator::ObjectInfo rock = creator.getObjectInfo("rock");
  EXPECT_FALSE(rock.grabable.grabable) << "a later object replaces the earlier one";
  EXPECT_EQ(rock.maximumSize, QSizeF(-1, -1));
  EXPECT_TRUE(rock.tangible);
  EXPECT_EQ(rock.sounds.bounceSound, 1) << "the default bounce sound";
  EXPECT_EQ(rock.sounds.specialSound, -1);

  const ObjectCreator::ObjectInfo leaf = creator.getObjectInfo("leaf");
  EXPECT_EQ(leaf.maximumSize, QSizeF(0, m2px(0.5)));
  EXPECT_EQ(leaf.orientation, Horizontal);
  EXPECT_TRUE(leaf.grabable.grabable);
  EXPECT_EQ(leaf.grabable.holdingPoint.x, 0);
  EXPECT_EQ(leaf.grabable.holdingPoint.xUnit, HoldingPointLocation::Width);
  EXPECT_EQ(leaf.grabable.holdingPoint.yUnit, HoldingPointLocation::Height);
  EXPECT_EQ(leaf.grabable.defaultDirection, Right);

  const ObjectCreator::ObjectInfo unknown = creator.getObjectInfo("unicorn");
  EXPECT_FALSE(unknown.grabable.grabable);
  EXPECT_EQ(unknown.sounds.bounceSound, 1);
}

TEST_F(DescriptionsFileTest, BadNumbersFallBackAndBrokenFilesFail)
{
  ASSERT_TRUE(load(R"(<objects>
    <object id="odd">
      <maximum-size width="nan" height="-3"/>
      <grabable x="1e308" y="0,5" angle="inf"/>
      <sounds bounce-gain="huge"/>
      <light-source radius="-10"/>
    </object>
  </objects>)"));
  const ObjectCreator::ObjectInfo odd = creator.getObjectInfo("odd");
  EXPECT_EQ(odd.maximumSize, QSizeF(0, 0));
  EXPECT_EQ(odd.grabable.holdingPoint.x, 0);
  EXPECT_EQ(odd.grabable.holdingPoint.y, 0);
  EXPECT_EQ(odd.grabable.angle, 0);
  EXPECT_EQ(odd.sounds.bounceGain, 1.0);
  EXPECT_FALSE(odd.lightSource.lightSource);

  EXPECT_FALSE(load("<objects><object id=\"x\">"));
  EXPECT_TRUE(creator.GetObjectDescriptions().isEmpty());
  EXPECT_FALSE(load("<things/>"));
  EXPECT_FALSE(load(QByteArray(5000, '\xff')));
  EXPECT_FALSE(creator.loadObjectDescriptions(dir.filePath("missing.xml"), &materials, &sounds));
}
