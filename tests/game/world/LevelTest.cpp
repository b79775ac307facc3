#include "LevelTestSupport.h"
#include "LogCapture.h"
#include "NumericLocale.h"

#include "common/FilePaths.h"
#include "common/GlobalConstants.h"
#include "flow/Cue.h"
#include "flow/SimpleCutscene.h"
#include "flow/cutscenes/EagleAbductionCutscene.h"
#include "stickman/Grabable.h"
#include "world/Level.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <tinyxml.h>

#include <gtest/gtest.h>

namespace
{
class LevelTest : public testing::Test
{
protected:
  /// Loads \a content as "level.xml" into the record.
  bool load(const QByteArray& content) { return level.Load(directory.Write(QStringLiteral("level.xml"), content)); }

  LevelDirectory directory;
  Level level{QSizeF(100, 100)};
};

class NamedItem : public Grabable
{
public:
  explicit NamedItem(const QString& name)
    : m_name(name)
  {
  }

  QString GetName() const override { return m_name; }
  void OnGrab(Stickman*) override {}
  void OnRelease() override {}
  void SetHandPosition(QPointF) override {}
  void SetArmAngle(double) override {}
  void SetFacingDirection(Direction) override {}
  Usable* GetUsable() override { return nullptr; }

private:
  QString m_name;
};

const SimpleCutscene* simple(const Cutscene* cutscene)
{
  return dynamic_cast<const SimpleCutscene*>(cutscene);
}

QImage argb(const QImage& image)
{
  return image.convertToFormat(QImage::Format_ARGB32);
}

// Everything the record holds, field by field.
void expectSameLevel(const Level& a, const Level& b)
{
  EXPECT_EQ(a.GetSize(), b.GetSize());
  EXPECT_EQ(a.GetTitle(), b.GetTitle());
  EXPECT_EQ(argb(a.GetBackgroundImage()), argb(b.GetBackgroundImage()));
  ASSERT_EQ(a.GetForegroundRegions().size(), b.GetForegroundRegions().size());
  for (int i = 0; i < a.GetForegroundRegions().size(); ++i)
  {
    EXPECT_EQ(argb(a.GetForegroundRegions()[i].image), argb(b.GetForegroundRegions()[i].image));
    EXPECT_EQ(a.GetForegroundRegions()[i].position, b.GetForegroundRegions()[i].position);
  }
  ASSERT_EQ(a.GetGroundRegions().size(), b.GetGroundRegions().size());
  for (int i = 0; i < a.GetGroundRegions().size(); ++i)
  {
    EXPECT_EQ(a.GetGroundRegions()[i].area, b.GetGroundRegions()[i].area);
    EXPECT_EQ(a.GetGroundRegions()[i].footstepsSound, b.GetGroundRegions()[i].footstepsSound);
    EXPECT_EQ(a.GetGroundRegions()[i].materialName, b.GetGroundRegions()[i].materialName);
  }
  ASSERT_EQ(a.GetStaticObjects().size(), b.GetStaticObjects().size());
  for (int i = 0; i < a.GetStaticObjects().size(); ++i)
  {
    EXPECT_EQ(a.GetStaticObjects()[i].polygon, b.GetStaticObjects()[i].polygon);
    EXPECT_EQ(a.GetStaticObjects()[i].materialName, b.GetStaticObjects()[i].materialName);
  }
  ASSERT_EQ(a.GetLiquidRegions().size(), b.GetLiquidRegions().size());
  for (int i = 0; i < a.GetLiquidRegions().size(); ++i)
  {
    const Level::LiquidRegion& x = a.GetLiquidRegions()[i];
    const Level::LiquidRegion& y = b.GetLiquidRegions()[i];
    EXPECT_EQ(x.area, y.area);
    EXPECT_EQ(x.materialName, y.materialName);
    EXPECT_EQ(x.splashSound, y.splashSound);
    EXPECT_EQ(x.transparentHeight, y.transparentHeight);
    EXPECT_EQ(x.initialTransparency, y.initialTransparency);
  }
  ASSERT_EQ(a.GetNpcs().size(), b.GetNpcs().size());
  for (int i = 0; i < a.GetNpcs().size(); ++i)
  {
    const Level::NpcInfo& x = a.GetNpcs()[i];
    const Level::NpcInfo& y = b.GetNpcs()[i];
    EXPECT_EQ(x.position, y.position);
    EXPECT_EQ(x.direction, y.direction);
    EXPECT_EQ(x.grabbedObjectPath, y.grabbedObjectPath);
    EXPECT_EQ(x.name, y.name);
    EXPECT_EQ(x.color, y.color);
    EXPECT_EQ(x.isFriend, y.isFriend);
    EXPECT_EQ(x.vip, y.vip);
  }
  EXPECT_EQ(a.GetStartPosition(), b.GetStartPosition());
  EXPECT_EQ(a.GetStartGrabbedObject(), b.GetStartGrabbedObject());
  ASSERT_EQ(a.GetStartCutscene() != nullptr, b.GetStartCutscene() != nullptr);
  if (a.GetStartCutscene())
  {
    EXPECT_EQ(simple(a.GetStartCutscene())->GetCues(), simple(b.GetStartCutscene())->GetCues());
  }
  ASSERT_EQ(a.GetIntermezzoCutscenes().size(), b.GetIntermezzoCutscenes().size());
  for (int i = 0; i < a.GetIntermezzoCutscenes().size(); ++i)
  {
    const Level::IntermezzoCutscene& x = a.GetIntermezzoCutscenes()[i];
    const Level::IntermezzoCutscene& y = b.GetIntermezzoCutscenes()[i];
    EXPECT_EQ(typeid(*x.cutscene), typeid(*y.cutscene));
    if (simple(x.cutscene))
    {
      EXPECT_EQ(simple(x.cutscene)->GetCues(), simple(y.cutscene)->GetCues());
    }
    EXPECT_EQ(x.conditions.GetObjectName(), y.conditions.GetObjectName());
  }
  ASSERT_EQ(a.GetFinishAreas().size(), b.GetFinishAreas().size());
  for (int i = 0; i < a.GetFinishAreas().size(); ++i)
  {
    const Level::FinishArea& x = a.GetFinishAreas()[i];
    const Level::FinishArea& y = b.GetFinishAreas()[i];
    EXPECT_EQ(x.area, y.area);
    EXPECT_EQ(x.darknessPoint, y.darknessPoint);
    EXPECT_EQ(x.darknessMin, y.darknessMin);
    EXPECT_EQ(x.darknessMax, y.darknessMax);
    EXPECT_EQ(x.faceDirectionRequired, y.faceDirectionRequired);
    EXPECT_EQ(x.faceDirection, y.faceDirection);
    EXPECT_EQ(x.grabbedObject.objectName, y.grabbedObject.objectName);
    ASSERT_EQ(x.objectsInArea.objects.size(), y.objectsInArea.objects.size());
    for (int j = 0; j < x.objectsInArea.objects.size(); ++j)
    {
      EXPECT_EQ(x.objectsInArea.objects[j].objectName, y.objectsInArea.objects[j].objectName);
      EXPECT_EQ(x.objectsInArea.objects[j].area, y.objectsInArea.objects[j].area);
    }
    EXPECT_EQ(x.message, y.message);
    EXPECT_EQ(x.nextLevel, y.nextLevel);
    ASSERT_EQ(x.cutscene != nullptr, y.cutscene != nullptr);
    if (x.cutscene)
    {
      EXPECT_EQ(simple(x.cutscene)->GetCues(), simple(y.cutscene)->GetCues());
    }
  }
  ASSERT_EQ(a.GetDoors().size(), b.GetDoors().size());
  for (int i = 0; i < a.GetDoors().size(); ++i)
  {
    const Level::Door& x = a.GetDoors()[i];
    const Level::Door& y = b.GetDoors()[i];
    EXPECT_EQ(x.position, y.position);
    EXPECT_EQ(x.materialName, y.materialName);
    EXPECT_EQ(x.openedImagePath, y.openedImagePath);
    EXPECT_EQ(x.closedImagePath, y.closedImagePath);
    EXPECT_EQ(QStringList({x.openSound, x.closeSound, x.hitSound, x.smashSound}),
              QStringList({y.openSound, y.closeSound, y.hitSound, y.smashSound}));
  }
  EXPECT_EQ(a.IsDark(), b.IsDark());
  EXPECT_EQ(a.GetDarknessLevel(), b.GetDarknessLevel());
  ASSERT_EQ(a.GetStaticLightSources().size(), b.GetStaticLightSources().size());
  for (int i = 0; i < a.GetStaticLightSources().size(); ++i)
  {
    EXPECT_EQ(a.GetStaticLightSources()[i].position, b.GetStaticLightSources()[i].position);
    EXPECT_EQ(a.GetStaticLightSources()[i].radius, b.GetStaticLightSources()[i].radius);
  }
  ASSERT_EQ(a.GetInteractiveItems().size(), b.GetInteractiveItems().size());
  for (int i = 0; i < a.GetInteractiveItems().size(); ++i)
  {
    const Level::InteractiveItem& x = a.GetInteractiveItems()[i];
    const Level::InteractiveItem& y = b.GetInteractiveItems()[i];
    EXPECT_EQ(x.type, y.type);
    EXPECT_EQ(x.position, y.position);
    EXPECT_EQ(argb(x.image), argb(y.image));
    EXPECT_EQ(x.zValue, y.zValue);
    EXPECT_STREQ(x.element->Attribute("message"), y.element->Attribute("message"));
  }
  ASSERT_EQ(a.GetMusicTracks().size(), b.GetMusicTracks().size());
  for (int i = 0; i < a.GetMusicTracks().size(); ++i)
  {
    EXPECT_EQ(a.GetMusicTracks()[i].name, b.GetMusicTracks()[i].name);
    EXPECT_EQ(a.GetMusicTracks()[i].path, b.GetMusicTracks()[i].path);
  }
}
} // namespace

TEST_F(LevelTest, ConstructedRecordIsEmpty)
{
  EXPECT_EQ(level.GetSize(), QSizeF(100, 100));
  EXPECT_TRUE(level.GetTitle().isEmpty());
  EXPECT_TRUE(level.GetBackgroundImage().isNull());
  EXPECT_EQ(level.GetStartPosition(), QPointF(0, 0));
  EXPECT_EQ(level.GetStartCutscene(), nullptr);
  EXPECT_FALSE(level.IsDark());
  EXPECT_EQ(level.GetDarknessLevel(), 0);
  EXPECT_TRUE(level.GetGroundRegions().isEmpty());
  EXPECT_TRUE(level.GetFinishAreas().isEmpty());
}

TEST_F(LevelTest, GeometryStartAndEmptyForegroundMakeAValidLevel)
{
  ASSERT_TRUE(load("<level><start x=\"2.5\" y=\"-1\" grabbed-object=\"sword\"/><foreground/>"
                   "<geometry width=\"30\" height=\"12.5\"/></level>"));
  EXPECT_TRUE(level.GetTitle().isEmpty());
  EXPECT_EQ(level.GetSize(), QSizeF(30, 12.5));
  EXPECT_EQ(level.GetStartPosition(), QPointF(2.5, -1));
  EXPECT_EQ(level.GetStartGrabbedObject(), directory.Path(QStringLiteral("sword.obj")));
  EXPECT_TRUE(level.GetGroundRegions().isEmpty());
  EXPECT_TRUE(level.GetStaticObjects().isEmpty());
  EXPECT_TRUE(level.GetForegroundRegions().isEmpty());
  EXPECT_TRUE(level.GetBackgroundImage().isNull());
  EXPECT_EQ(level.GetStartCutscene(), nullptr);
  EXPECT_FALSE(level.IsDark());
  EXPECT_TRUE(level.GetMusicTracks().isEmpty());
}

TEST_F(LevelTest, RequiredElementsAndGeometry)
{
  const QByteArray geometry = "<geometry width=\"20\" height=\"10\"/>";
  const QByteArray start = "<start/>";
  const QByteArray foreground = "<foreground/>";
  EXPECT_TRUE(load("<level>" + geometry + start + foreground + "</level>"));
  EXPECT_FALSE(load("<level>" + geometry + start + "</level>"));
  EXPECT_FALSE(load("<level>" + start + foreground + "</level>"));
  EXPECT_FALSE(load("<level>" + geometry + foreground + "</level>"));
  EXPECT_FALSE(load("<levels>" + geometry + start + foreground + "</levels>"));
  EXPECT_FALSE(load("<level><geometry width=\"0\" height=\"10\"/>" + start + foreground + "</level>"));
  EXPECT_FALSE(load("<level><geometry width=\"20\" height=\"-3\"/>" + start + foreground + "</level>"));
  EXPECT_FALSE(load("<level><geometry width=\"20\"/>" + start + foreground + "</level>"));
  EXPECT_FALSE(load("<level>" + geometry + start + foreground));
  EXPECT_FALSE(load(""));
  EXPECT_FALSE(level.Load(directory.Path(QStringLiteral("missing.xml"))));
  EXPECT_FALSE(level.Load(directory.Path(QString())));
  // Names are case-sensitive.
  EXPECT_FALSE(load("<level><Geometry width=\"20\" height=\"10\"/>" + start + foreground + "</level>"));
}

TEST_F(LevelTest, NumbersThatAreNotFiniteRefuseTheFile)
{
  EXPECT_FALSE(load("<level><geometry width=\"inf\" height=\"10\"/><start/><foreground/></level>"));
  EXPECT_FALSE(load(MinimalLevel("<ground><region x=\"nan\" y=\"1\" width=\"2\" height=\"3\"/></ground>")));
  EXPECT_FALSE(load(MinimalLevel("<illumination darkness-level=\"1e999\"/>")));
  // Text that is no number at all reads as 0, as a missing value does.
  ASSERT_TRUE(load(MinimalLevel("<ground><region x=\"one\" y=\"1\" width=\"2\" height=\"3\"/></ground>")));
  EXPECT_EQ(level.GetGroundRegions().at(0).area, QRectF(0, 1, 2, 3));
}

TEST_F(LevelTest, FailedLoadLeavesTheRecordAsItWas)
{
  ASSERT_TRUE(load(RichLevel()));
  Cutscene* startCutscene = level.GetStartCutscene();
  const auto intermezzo = level.GetIntermezzoCutscenes();
  EXPECT_FALSE(load("<level><geometry width=\"0\" height=\"1\"/><start/><foreground/></level>"));
  EXPECT_FALSE(load("<level><geometry width=\"5\" height=\"1\"/><start/></level>"));
  EXPECT_EQ(level.GetStartCutscene(), startCutscene);
  ASSERT_EQ(level.GetIntermezzoCutscenes().size(), intermezzo.size());
  EXPECT_EQ(level.GetIntermezzoCutscenes()[0].cutscene, intermezzo[0].cutscene);
  EXPECT_EQ(level.GetTitle(), QString::fromUtf8("Caf\xc3\xa9 at the river"));
  EXPECT_EQ(level.GetNpcs().size(), 2);
}

TEST_F(LevelTest, LoadingTwiceReplacesEverything)
{
  ASSERT_TRUE(load(RichLevel()));
  ASSERT_TRUE(load(RichLevel()));
  EXPECT_EQ(level.GetForegroundRegions().size(), 2);
  EXPECT_EQ(level.GetGroundRegions().size(), 2);
  EXPECT_EQ(level.GetStaticObjects().size(), 1);
  EXPECT_EQ(level.GetLiquidRegions().size(), 1);
  EXPECT_EQ(level.GetNpcs().size(), 2);
  EXPECT_EQ(level.GetIntermezzoCutscenes().size(), 2);
  EXPECT_EQ(level.GetFinishAreas().size(), 2);
  EXPECT_EQ(level.GetDoors().size(), 1);
  EXPECT_EQ(level.GetStaticLightSources().size(), 1);
  EXPECT_EQ(level.GetInteractiveItems().size(), 2);

  // A plainer level leaves nothing of the rich one behind (the sanitizer
  // build checks that the cutscenes and elements were freed).
  ASSERT_TRUE(load(MinimalLevel()));
  EXPECT_EQ(level.GetTitle(), QStringLiteral("Test"));
  EXPECT_EQ(level.GetStartCutscene(), nullptr);
  EXPECT_TRUE(level.GetStartGrabbedObject().isEmpty());
  EXPECT_TRUE(level.GetBackgroundImage().isNull());
  EXPECT_TRUE(level.GetForegroundRegions().isEmpty());
  EXPECT_TRUE(level.GetIntermezzoCutscenes().isEmpty());
  EXPECT_TRUE(level.GetFinishAreas().isEmpty());
  EXPECT_TRUE(level.GetNpcs().isEmpty());
  EXPECT_TRUE(level.GetDoors().isEmpty());
  EXPECT_TRUE(level.GetInteractiveItems().isEmpty());
  EXPECT_TRUE(level.GetStaticLightSources().isEmpty());
  EXPECT_FALSE(level.IsDark());
  EXPECT_EQ(level.GetDarknessLevel(), 0);
}

TEST_F(LevelTest, RichLevelReadsEveryElement)
{
  ASSERT_TRUE(load(RichLevel()));
  EXPECT_EQ(level.GetTitle(), QString::fromUtf8("Caf\xc3\xa9 at the river"));
  EXPECT_EQ(level.GetSize(), QSizeF(40.5, 12));
  EXPECT_TRUE(level.GetMusicTracks().isEmpty()); // its only track has no file
  EXPECT_EQ(level.GetBackgroundImage().size(), QSize(8, 4));

  ASSERT_EQ(level.GetForegroundRegions().size(), 2);
  EXPECT_EQ(level.GetForegroundRegions()[1].position, QPointF(12.5, 10.5));
  EXPECT_EQ(level.GetForegroundRegions()[1].image.size(), QSize(3, 2));

  EXPECT_EQ(level.GetGroundRegions()[1].area, QRectF(22, 11, 18.5, 1));
  EXPECT_EQ(level.GetGroundRegions()[1].footstepsSound, QStringLiteral("stone"));
  EXPECT_TRUE(level.GetGroundRegions()[1].materialName.isEmpty());
  EXPECT_EQ(level.GetStaticObjects()[0].polygon, QPolygonF({QPointF(5, 11), QPointF(7, 9.5), QPointF(9, 11)}));
  EXPECT_EQ(level.GetStaticObjects()[0].materialName, QStringLiteral("rock"));

  const Level::LiquidRegion& liquid = level.GetLiquidRegions()[0];
  EXPECT_EQ(liquid.area, QRectF(20, 10, 2, 2));
  EXPECT_EQ(liquid.materialName, QStringLiteral("water"));
  EXPECT_EQ(liquid.splashSound, QStringLiteral("splash"));
  EXPECT_EQ(liquid.transparentHeight, 0.5);
  EXPECT_EQ(liquid.initialTransparency, 0.3);

  const Level::Door& door = level.GetDoors()[0];
  EXPECT_EQ(door.position, QPointF(33, 9));
  EXPECT_EQ(door.materialName, QStringLiteral("wood"));
  EXPECT_EQ(door.openedImagePath, directory.Path(QStringLiteral("door-open.png")));
  EXPECT_EQ(door.closedImagePath, directory.Path(QStringLiteral("door-closed.png")));
  EXPECT_EQ(QStringList({door.openSound, door.closeSound, door.hitSound, door.smashSound}),
            QStringList({"door_open", "door_close", "door_hit", "door_smash"}));

  const auto& items = level.GetInteractiveItems();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0].type, QStringLiteral("tree"));
  EXPECT_EQ(items[0].position, QPointF(17, 6));
  EXPECT_EQ(items[0].image.size(), QSize(2, 5)); // "tree" found as tree.png
  EXPECT_EQ(items[0].zValue, bv::ForegroundLayersZValue);
  EXPECT_EQ(items[1].zValue, 0);
  // The item class reads its own settings from its element later.
  ASSERT_NE(items[0].element->FirstChildElement("raft"), nullptr);
  EXPECT_STREQ(items[0].element->FirstChildElement("raft")->Attribute("material"), "wood");
  EXPECT_STREQ(items[0].element->Attribute("message-delay"), "1.5");

  const SimpleCutscene* start = simple(level.GetStartCutscene());
  ASSERT_NE(start, nullptr);
  ASSERT_EQ(start->GetCues().size(), 3);
  EXPECT_EQ(start->GetCues()[1].GetType(), Cue::Think);
  EXPECT_EQ(start->GetCues()[1].GetFrom(), QStringLiteral("guard"));

  const auto& intermezzo = level.GetIntermezzoCutscenes();
  ASSERT_EQ(intermezzo.size(), 2);
  EXPECT_EQ(intermezzo[0].conditions.GetObjectName(), QStringLiteral("apple"));
  EXPECT_NE(dynamic_cast<EagleAbductionCutscene*>(intermezzo[1].cutscene), nullptr);
  EXPECT_EQ(intermezzo[1].conditions.GetObjectName(), QStringLiteral("helicopter"));
}

TEST_F(LevelTest, SkippedEntries)
{
  ASSERT_TRUE(load(MinimalLevel("<foreground><region image=\"bush.png\"/></foreground>"
                                "<foreground><region image=\"bush.png\"/><region image=\"bush.png\"/></foreground>")))
    << "only the first foreground counts";
  EXPECT_EQ(level.GetForegroundRegions().size(), 0);

  ASSERT_TRUE(load("<level><geometry width=\"20\" height=\"10\"/><start/>"
                   "<foreground><region image=\"missing.png\" x=\"1\"/><region image=\"bush.png\" x=\"2\"/>"
                   "<region x=\"3\"/></foreground>"
                   "<background image=\"missing.png\"/>"
                   "<ground><region x=\"1\" width=\"0\" height=\"1\"/><region width=\"2\" height=\"-1\"/>"
                   "<region width=\"2\" height=\"1\"/><polygon-region material=\"rock\"/>"
                   "<polygon-region><point x=\"1\" y=\"2\"/></polygon-region>"
                   "<polygon-region><point x=\"1\" y=\"2\"/><point x=\"2\" y=\"2\"/><point x=\"1\" y=\"3\"/>"
                   "</polygon-region></ground>"
                   "<liquid><region width=\"0\" height=\"1\"/><region width=\"3\" height=\"1\"/></liquid>"
                   "<interactive-items><tree image=\"missing\"/><tree image=\"tree.png\" x=\"4\"/></interactive-items>"
                   "<intermezzo>"
                   "<cutscene><cue text=\"no conditions\"/></cutscene>"
                   "<cutscene><conditions><object-drawn/></conditions></cutscene>"
                   "<cutscene special=\"dragon\"><conditions><object-drawn name=\"sword\"/></conditions></cutscene>"
                   "<cutscene><conditions><object-drawn name=\"axe\"/></conditions></cutscene>"
                   "</intermezzo></level>"));
  ASSERT_EQ(level.GetForegroundRegions().size(), 1);
  EXPECT_EQ(level.GetForegroundRegions()[0].position, QPointF(2, 0));
  EXPECT_TRUE(level.GetBackgroundImage().isNull());
  ASSERT_EQ(level.GetGroundRegions().size(), 1);
  EXPECT_EQ(level.GetGroundRegions()[0].area, QRectF(0, 0, 2, 1));
  ASSERT_EQ(level.GetStaticObjects().size(), 1);
  EXPECT_EQ(level.GetStaticObjects()[0].polygon, QPolygonF({QPointF(1, 2), QPointF(2, 2), QPointF(1, 3)}));
  ASSERT_EQ(level.GetLiquidRegions().size(), 1);
  EXPECT_EQ(level.GetLiquidRegions()[0].area.width(), 3);
  EXPECT_EQ(level.GetLiquidRegions()[0].transparentHeight, 0);
  EXPECT_EQ(level.GetLiquidRegions()[0].initialTransparency, 0);
  ASSERT_EQ(level.GetInteractiveItems().size(), 1);
  EXPECT_EQ(level.GetInteractiveItems()[0].position, QPointF(4, 0));
  EXPECT_EQ(level.GetInteractiveItems()[0].zValue, 0);
  ASSERT_EQ(level.GetIntermezzoCutscenes().size(), 1);
  EXPECT_EQ(level.GetIntermezzoCutscenes()[0].conditions.GetObjectName(), QStringLiteral("axe"));
}

TEST_F(LevelTest, StartAndFinishCutscenesThatFailToLoadAreLeftOut)
{
  ASSERT_TRUE(load(MinimalLevel("<start><cutscene special=\"x\"/></start>"
                                "<finish><area message=\"Bye\"><cutscene special=\"y\"/></area></finish>")));
  EXPECT_EQ(level.GetStartCutscene(), nullptr); // the second "start" does not count
  ASSERT_TRUE(load("<level><geometry width=\"20\" height=\"10\"/><foreground/><start><cutscene special=\"x\"/></start>"
                   "<finish><area message=\"Bye\"><cutscene special=\"y\"/></area></finish></level>"));
  EXPECT_EQ(level.GetStartCutscene(), nullptr);
  ASSERT_EQ(level.GetFinishAreas().size(), 1);
  EXPECT_EQ(level.GetFinishAreas()[0].cutscene, nullptr);
  EXPECT_EQ(level.GetFinishAreas()[0].message, QStringLiteral("Bye"));
}

TEST_F(LevelTest, FinishMessageLineBreaksAndDefaults)
{
  ASSERT_TRUE(load(MinimalLevel("<finish><area x=\"1\" y=\"2\" width=\"3\" height=\"4\" "
                                "message=\"Well done!\\nNext: the hills.\\n\" next-level=\"hills\"/>"
                                "<area/></finish>")));
  ASSERT_EQ(level.GetFinishAreas().size(), 2);
  const Level::FinishArea& area = level.GetFinishAreas()[0];
  EXPECT_EQ(area.area, QRectF(1, 2, 3, 4));
  EXPECT_EQ(area.message, QStringLiteral("Well done!\nNext: the hills.\n"));
  EXPECT_EQ(area.nextLevel, QStringLiteral("hills"));
  EXPECT_EQ(area.cutscene, nullptr);

  const Level::FinishArea& bare = level.GetFinishAreas()[1];
  EXPECT_TRUE(bare.message.isEmpty());
  EXPECT_TRUE(bare.nextLevel.isEmpty());
  EXPECT_FALSE(bare.HasDarknessCondition());
  EXPECT_EQ(bare.darknessMin, 0);
  EXPECT_EQ(bare.darknessMax, 1);
  EXPECT_FALSE(bare.faceDirectionRequired);
  EXPECT_EQ(bare.faceDirection, Right);
  EXPECT_TRUE(bare.grabbedObject.objectName.isEmpty());
  EXPECT_TRUE(bare.objectsInArea.objects.isEmpty());
}

TEST_F(LevelTest, FinishConditions)
{
  ASSERT_TRUE(load(MinimalLevel(
    "<finish>"
    "<area><conditions><face-direction/><darkness-level min=\"0\" max=\"1\"/></conditions></area>"
    "<area><conditions><face-direction direction=\"LEFT\"/><darkness-level x=\"3\" y=\"4\" min=\"0.5\"/>"
    "<grabbed-object name=\"Key\"/><grabbed-object name=\"apple\"/>"
    "<object-in-area name=\"bomb\" x=\"1\" y=\"2\" width=\"3\" height=\"4\"/><object-in-area name=\"apple\"/>"
    "</conditions></area>"
    "<area><conditions><face-direction direction=\"sideways\"/><darkness-level max=\"0.2\"/></conditions></area>"
    "</finish>")));
  const auto& areas = level.GetFinishAreas();
  ASSERT_EQ(areas.size(), 3);
  EXPECT_FALSE(areas[0].faceDirectionRequired);
  EXPECT_FALSE(areas[0].HasDarknessCondition());

  EXPECT_TRUE(areas[1].faceDirectionRequired);
  EXPECT_EQ(areas[1].faceDirection, Left);
  EXPECT_TRUE(areas[1].HasDarknessCondition());
  EXPECT_EQ(areas[1].darknessPoint, QPointF(3, 4));
  EXPECT_EQ(areas[1].darknessMin, 0.5);
  EXPECT_EQ(areas[1].darknessMax, 1);
  EXPECT_EQ(areas[1].grabbedObject.objectName, QStringLiteral("Key"));
  ASSERT_EQ(areas[1].objectsInArea.objects.size(), 2);
  EXPECT_EQ(areas[1].objectsInArea.objects[0].objectName, QStringLiteral("bomb"));
  EXPECT_EQ(areas[1].objectsInArea.objects[0].area, QRectF(1, 2, 3, 4));
  EXPECT_EQ(areas[1].objectsInArea.objects[1].objectName, QStringLiteral("apple"));
  EXPECT_EQ(areas[1].objectsInArea.objects[1].area, QRectF());

  EXPECT_TRUE(areas[2].faceDirectionRequired);
  EXPECT_EQ(areas[2].faceDirection, Right);
  EXPECT_TRUE(areas[2].HasDarknessCondition());
  EXPECT_EQ(areas[2].darknessMin, 0);
  EXPECT_EQ(areas[2].darknessMax, 0.2);
}

TEST_F(LevelTest, NpcDirectionFriendshipAndVip)
{
  ASSERT_TRUE(load(MinimalLevel("<npc>"
                                "<enemy x=\"1\" y=\"2\" name=\"Bob\" color=\"red\"/>"
                                "<guard direction=\"up\" vip=\"YES\"/>"
                                "<friend direction=\"LEFT\" vip=\"yes\" grabbed-object=\"apple\"/>"
                                "<Friend direction=\"Right\"/>"
                                "</npc><npc><enemy/></npc>")));
  const auto& npcs = level.GetNpcs();
  ASSERT_EQ(npcs.size(), 4);
  EXPECT_EQ(npcs[0].position, QPointF(1, 2));
  EXPECT_EQ(npcs[0].name, QStringLiteral("Bob"));
  EXPECT_EQ(npcs[0].color, QStringLiteral("red"));
  EXPECT_EQ(npcs[0].direction, Right);
  EXPECT_FALSE(npcs[0].isFriend);
  EXPECT_FALSE(npcs[0].vip);
  EXPECT_TRUE(npcs[0].grabbedObjectPath.isEmpty());

  EXPECT_FALSE(npcs[1].isFriend); // any other element name is an enemy
  EXPECT_EQ(npcs[1].direction, Right);
  EXPECT_FALSE(npcs[1].vip);

  EXPECT_TRUE(npcs[2].isFriend);
  EXPECT_EQ(npcs[2].direction, Left);
  EXPECT_TRUE(npcs[2].vip);
  EXPECT_EQ(npcs[2].grabbedObjectPath, directory.Path(QStringLiteral("apple.obj")));

  EXPECT_FALSE(npcs[3].isFriend); // the name is case-sensitive
  EXPECT_EQ(npcs[3].direction, Right);
}

TEST_F(LevelTest, Illumination)
{
  ASSERT_TRUE(load(MinimalLevel()));
  EXPECT_FALSE(level.IsDark());

  ASSERT_TRUE(load(MinimalLevel("<illumination><light-source x=\"1\" y=\"2\" radius=\"3\"/></illumination>")));
  EXPECT_FALSE(level.IsDark());
  EXPECT_EQ(level.GetDarknessLevel(), 0);
  ASSERT_EQ(level.GetStaticLightSources().size(), 1); // read even in a lit level

  ASSERT_TRUE(load(MinimalLevel("<illumination darkness-level=\"0.8\">"
                                "<light-source x=\"1\" y=\"2\" radius=\"3\"/><light-source x=\"5\"/>"
                                "<light-source radius=\"-1\"/><light-source x=\"7\" radius=\"0.5\"/>"
                                "</illumination>")));
  EXPECT_TRUE(level.IsDark());
  EXPECT_EQ(level.GetDarknessLevel(), 0.8);
  const auto& lights = level.GetStaticLightSources();
  ASSERT_EQ(lights.size(), 2);
  EXPECT_EQ(lights[0].position, QPointF(1, 2));
  EXPECT_EQ(lights[0].radius, 3);
  EXPECT_EQ(lights[1].position, QPointF(7, 0));
  EXPECT_EQ(lights[1].radius, 0.5);
}

TEST_F(LevelTest, MusicTracksKeepFileOrderAndSkipMissingFiles)
{
  QDir musicDirectory(GetMusicPath());
  const bool madeDirectory = !musicDirectory.exists();
  ASSERT_TRUE(QDir().mkpath(GetMusicPath()));
  const QString prefix = QStringLiteral("level-test-%1-").arg(QCoreApplication::applicationPid());
  const QStringList names = {prefix + "b", prefix + "a"};
  for (const QString& name : names)
  {
    QFile file(GetMusicTrackPath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  auto cleanUp = qScopeGuard([&] {
    for (const QString& name : names)
      QFile::remove(GetMusicTrackPath(name));
    if (madeDirectory)
      musicDirectory.rmdir(GetMusicPath());
  });

  ASSERT_TRUE(load(MinimalLevel("<music><track name=\"" + names[0].toUtf8() + "\"/><track name=\"" + prefix.toUtf8() +
                                "missing\"/><track name=\"" + names[1].toUtf8() + "\"/></music>"
                                "<music><track name=\"" + names[1].toUtf8() + "\"/></music>")));
  const auto& tracks = level.GetMusicTracks();
  ASSERT_EQ(tracks.size(), 2);
  EXPECT_EQ(tracks[0].name, names[0]);
  EXPECT_EQ(tracks[0].path, GetMusicTrackPath(names[0]));
  EXPECT_EQ(tracks[1].name, names[1]);

  // Saved and loaded back, the tracks stay.
  const QString saved = directory.Path(QStringLiteral("music.xml"));
  ASSERT_TRUE(level.Save(saved));
  Level reloaded(QSizeF(1, 1));
  ASSERT_TRUE(reloaded.Load(saved));
  expectSameLevel(level, reloaded);
}

TEST_F(LevelTest, SavedLevelLoadsBackTheSame)
{
  ASSERT_TRUE(load(RichLevel()));
  const QString saved = directory.Path(QStringLiteral("copy.xml"));
  ASSERT_TRUE(level.Save(saved));
  EXPECT_TRUE(QFileInfo::exists(directory.Path(QStringLiteral("copy.background.png"))));
  EXPECT_TRUE(QFileInfo::exists(directory.Path(QStringLiteral("copy.foreground1.png"))));
  Level reloaded(QSizeF(1, 1));
  ASSERT_TRUE(reloaded.Load(saved));
  expectSameLevel(level, reloaded);

  // And once more from the saved file, into another directory's file names.
  ASSERT_TRUE(reloaded.Save(saved));
  Level again(QSizeF(1, 1));
  ASSERT_TRUE(again.Load(saved));
  expectSameLevel(level, again);
}

TEST_F(LevelTest, SavingKeepsALoneGrabbedObjectCondition)
{
  ASSERT_TRUE(load(MinimalLevel("<finish><area width=\"2\" height=\"2\"><conditions><grabbed-object name=\"key\"/>"
                                "</conditions></area></finish>")));
  const QString saved = directory.Path(QStringLiteral("saved.xml"));
  ASSERT_TRUE(level.Save(saved));
  Level reloaded(QSizeF(1, 1));
  ASSERT_TRUE(reloaded.Load(saved));
  ASSERT_EQ(reloaded.GetFinishAreas().size(), 1);
  const Level::FinishArea& area = reloaded.GetFinishAreas()[0];
  EXPECT_EQ(area.grabbedObject.objectName, QStringLiteral("key"));
  EXPECT_FALSE(area.faceDirectionRequired);
  EXPECT_FALSE(area.HasDarknessCondition());
  EXPECT_TRUE(area.objectsInArea.objects.isEmpty());
}

TEST_F(LevelTest, SaveOfAConstructedLevel)
{
  Level made(QSizeF(12.5, 3));
  made.SetTitle(QStringLiteral("Made <by> \"hand\" & code"));
  QImage background(5, 2, QImage::Format_ARGB32);
  background.fill(Qt::yellow);
  made.SetBackgroundImage(background);
  const QString saved = directory.Path(QStringLiteral("made.level.xml"));
  ASSERT_TRUE(made.Save(saved));
  EXPECT_TRUE(QFileInfo::exists(directory.Path(QStringLiteral("made.level.background.png"))));
  ASSERT_TRUE(level.Load(saved));
  expectSameLevel(made, level);

  EXPECT_FALSE(made.Save(directory.Path(QStringLiteral("no-such-directory/level.xml"))));
}

TEST_F(LevelTest, DeepNestingIsRefusedBeforeParsing)
{
  QByteArray deep;
  for (int i = 0; i < 100000; ++i)
    deep += "<a>";
  EXPECT_FALSE(load(MinimalLevel(deep)));
  QByteArray quoted;
  for (int i = 0; i < 100000; ++i)
    quoted += "<a b='/'>";
  EXPECT_FALSE(load(MinimalLevel(quoted)));
  QByteArray shallow;
  for (int i = 0; i < 200; ++i)
    shallow += "<a>";
  for (int i = 0; i < 200; ++i)
    shallow += "</a>";
  EXPECT_TRUE(load(MinimalLevel("<!-- <a><a><a> -->" + shallow)));
}

TEST(LevelConditions, GrabbedObjectCondition)
{
  NamedItem key(QStringLiteral("key"));
  NamedItem apple(QStringLiteral("apple"));
  Level::GrabbedObjectCondition none;
  EXPECT_TRUE(none.IsTrue(nullptr));
  Level::GrabbedObjectCondition needsKey{QStringLiteral("key")};
  EXPECT_FALSE(needsKey.IsTrue(nullptr));
  EXPECT_TRUE(needsKey.IsTrue(&key));
  EXPECT_FALSE(needsKey.IsTrue(&apple));
  Level::GrabbedObjectCondition caseMatters{QStringLiteral("Key")};
  EXPECT_FALSE(caseMatters.IsTrue(&key));
}

TEST_F(LevelTest, RegionsThatBox2DCannotBuildAreSkippedWithTheirLine)
{
  QList<Level::Finding> findings;
  ASSERT_TRUE(level.Load(directory.Write(QStringLiteral("level.xml"),
                                         "<level><geometry width=\"20\" height=\"10\"/><start/><foreground/>\n"
                                         "<ground>\n"
                                         "<polygon-region><point x=\"1\" y=\"1\"/><point x=\"2\" y=\"1\"/></polygon-region>\n"
                                         "<polygon-region><point x=\"1\" y=\"1\"/><point x=\"2\" y=\"1\"/>"
                                         "<point x=\"2\" y=\"1\"/><point x=\"1\" y=\"2\"/></polygon-region>\n"
                                         "<polygon-region><point x=\"1\" y=\"1\"/><point x=\"2\" y=\"1\"/>"
                                         "<point x=\"1.001\" y=\"1\"/></polygon-region>\n"
                                         "<polygon-region><point x=\"1\" y=\"1\"/><point x=\"2\" y=\"1\"/>"
                                         "<point x=\"1.5\" y=\"0.98\"/></polygon-region>\n"
                                         "</ground>\n<liquid>\n"
                                         "<region x=\"1\" y=\"1\" width=\"0.004\" height=\"2\"/>\n"
                                         "<region x=\"1\" y=\"1\" width=\"2\" height=\"0.01\"/>\n"
                                         "<region x=\"1\" y=\"1\" width=\"0.02\" height=\"0.02\"/>\n"
                                         "</liquid></level>"),
                         &findings));
  // Three vertices, each at least a pixel from the next, make a loop.
  ASSERT_EQ(level.GetStaticObjects().size(), 1);
  EXPECT_EQ(level.GetStaticObjects()[0].polygon.size(), 3);
  ASSERT_EQ(level.GetLiquidRegions().size(), 1);
  EXPECT_EQ(level.GetLiquidRegions()[0].area.size(), QSizeF(0.02, 0.02));

  ASSERT_EQ(findings.size(), 5);
  const int lines[] = {3, 4, 5, 9, 10};
  for (int i = 0; i < findings.size(); ++i)
  {
    EXPECT_EQ(findings[i].severity, Level::Finding::Error) << i;
    EXPECT_EQ(findings[i].line, lines[i]) << findings[i].text.toStdString();
  }
  EXPECT_TRUE(findings[0].text.contains("2 points")) << findings[0].text.toStdString();
  EXPECT_TRUE(findings[1].text.contains("points 2 and 3")) << findings[1].text.toStdString();
  // The closing edge counts too.
  EXPECT_TRUE(findings[2].text.contains("points 3 and 1")) << findings[2].text.toStdString();
}

TEST_F(LevelTest, FindingsSeparateRefusedFromMisread)
{
  QList<Level::Finding> findings;
  ASSERT_TRUE(level.Load(directory.Write(QStringLiteral("level.xml"),
                                         "<level><geometry width=\"20\" height=\"10\"/>\n"
                                         "<start x=\"1,5\"/><foreground/>\n"
                                         "<illumination darkness-level=\"0.5\"><light-source x=\"1\"/></illumination>"
                                         "</level>"),
                         &findings));
  ASSERT_EQ(findings.size(), 2);
  EXPECT_EQ(findings[0].severity, Level::Finding::Warning);
  EXPECT_EQ(findings[0].line, 2);
  EXPECT_EQ(findings[0].text, QStringLiteral("\"x\" is not a number: \"1,5\" (read as 0)"));
  EXPECT_EQ(findings[1].severity, Level::Finding::Error);
  EXPECT_EQ(findings[1].line, 3);

  EXPECT_FALSE(level.Load(directory.Write(QStringLiteral("level.xml"), "<level>\n<geometry width=\"1e999\"/></level>"),
                          &findings));
  ASSERT_FALSE(findings.isEmpty());
  EXPECT_TRUE(findings[0].text.contains("not a finite number")) << findings[0].text.toStdString();
  EXPECT_EQ(findings[0].severity, Level::Finding::Error);
  EXPECT_EQ(findings[0].line, 2);
  EXPECT_FALSE(level.Load(directory.Path(QStringLiteral("missing.xml")), &findings));
  ASSERT_EQ(findings.size(), 1);
  EXPECT_EQ(findings[0].line, 0);
  EXPECT_TRUE(findings[0].text.startsWith("no such file")) << findings[0].text.toStdString();
}

TEST_F(LevelTest, NumbersReadTheSameUnderADecimalComma)
{
  Level inC(QSizeF(1, 1));
  ASSERT_TRUE(inC.Load(directory.Write(QStringLiteral("rich.xml"), RichLevel())));
  const NumericLocale german(GermanLocale);
  ASSERT_TRUE(german.IsActive()) << "scripts/install-deps generates " << GermanLocale;
  ASSERT_TRUE(load(RichLevel()));
  expectSameLevel(inC, level);
  EXPECT_EQ(level.GetDarknessLevel(), inC.GetDarknessLevel());
  EXPECT_EQ(level.GetSize(), QSizeF(40.5, 12));
}

TEST_F(LevelTest, SaveWritesPicturesOnlyIntoTheLevelFolder)
{
  QTemporaryDir outside;
  const QString escape = QDir(directory.Path(QString())).relativeFilePath(outside.filePath("escaped"));
  ASSERT_TRUE(escape.startsWith("../"));
  // The pictures load from outside (an absolute name is read below the
  // level's folder); saved, they must not go back there.
  const QString absoluteCopy = directory.Path(QString()) + outside.filePath("absolute.png");
  ASSERT_TRUE(QDir().mkpath(QFileInfo(absoluteCopy).absolutePath()));
  QFile::copy(directory.Path("tree.png"), absoluteCopy);
  QFile::copy(directory.Path("tree.png"), outside.filePath("escaped.png"));
  ASSERT_TRUE(load(MinimalLevel("<interactive-items>"
                                "<tree image=\"tree\" x=\"1\"/>"
                                "<tree image=\"" + outside.filePath("absolute").toUtf8() + "\" x=\"2\"/>"
                                "<tree image=\"" + escape.toUtf8() + "\" x=\"3\"/>"
                                "</interactive-items>")));
  ASSERT_EQ(level.GetInteractiveItems().size(), 3);
  QFile::remove(outside.filePath("escaped.png"));

  const QString saved = directory.Path(QStringLiteral("saved.xml"));
  ASSERT_TRUE(level.Save(saved));
  EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), QStringList());
  Level reloaded(QSizeF(1, 1));
  ASSERT_TRUE(reloaded.Load(saved));
  ASSERT_EQ(reloaded.GetInteractiveItems().size(), 3);
  for (const Level::InteractiveItem& item : reloaded.GetInteractiveItems())
  {
    EXPECT_FALSE(item.image.isNull());
    const QString name = QString::fromUtf8(item.element->Attribute("image"));
    EXPECT_FALSE(name.contains('/')) << name.toStdString();
  }
}

TEST_F(LevelTest, AFailedSaveKeepsTheOldFile)
{
  ASSERT_TRUE(load(RichLevel()));
  const QString saved = directory.Path(QStringLiteral("saved.xml"));
  ASSERT_TRUE(level.Save(saved));
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  // A control character cannot be stored in XML: the save fails half-way.
  level.SetTitle(QStringLiteral("Bad \x01 title"));
  EXPECT_FALSE(level.Save(saved));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
}

TEST_F(LevelTest, EmptyDoorPicturePathsStayEmpty)
{
  ASSERT_TRUE(load(MinimalLevel("<doors><door x=\"1\" y=\"2\"/><door x=\"3\" y=\"2\"><images opened=\"door-open.png\"/>"
                                "</door></doors>")));
  ASSERT_EQ(level.GetDoors().size(), 2);
  EXPECT_TRUE(level.GetDoors()[0].openedImagePath.isEmpty());
  EXPECT_TRUE(level.GetDoors()[1].closedImagePath.isEmpty());
  const QString saved = directory.Path(QStringLiteral("saved.xml"));
  for (int round = 0; round < 2; ++round)
  {
    ASSERT_TRUE(level.Save(saved));
    ASSERT_TRUE(level.Load(saved));
  }
  ASSERT_EQ(level.GetDoors().size(), 2);
  EXPECT_TRUE(level.GetDoors()[0].openedImagePath.isEmpty());
  EXPECT_TRUE(level.GetDoors()[0].closedImagePath.isEmpty());
  EXPECT_EQ(level.GetDoors()[1].openedImagePath, directory.Path(QStringLiteral("door-open.png")));
  EXPECT_TRUE(level.GetDoors()[1].closedImagePath.isEmpty());
}

TEST_F(LevelTest, WhatTheLoaderLeavesOutIsLoggedByDefault)
{
  const LogCapture log;
  ASSERT_TRUE(load(MinimalLevel("<music><track name=\"no-such-track\"/></music>"
                                "<intermezzo><cutscene special=\"dragon\"/></intermezzo>")));
  const QString lines = log.lines().join('\n');
  EXPECT_TRUE(lines.contains("Music file does not exist")) << lines.toStdString();
  EXPECT_TRUE(lines.contains("dragon")) << lines.toStdString();
  EXPECT_TRUE(lines.contains("Could not load intermezzo cutscene!")) << lines.toStdString();
}
