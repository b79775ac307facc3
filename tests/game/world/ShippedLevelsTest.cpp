#include "audio/SoundManager.h"
#include "common/ConvertUtils.h"
#include "common/FilePaths.h"
#include "stickman/Stickman.h"
#include "world/Level.h"
#include "world/Materials.h"
#include "world/Scene.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A shipped level built as the game builds it, from the files beside the program.
class ShippedLevel
{
public:
  explicit ShippedLevel(const QString& name)
  {
    m_sounds.Init(GetSoundsPath());
    EXPECT_TRUE(m_materials.Load(GetMaterialsPath()));
    EXPECT_TRUE(m_template.Load(GetStickmanPath()));
    m_loaded = m_level.Load(GetLevelsPath() + "/" + name + ".xml");
    if (m_loaded)
      m_scene.Init(m_level, &m_materials, &m_sounds, &m_template);
  }

  bool loaded() const { return m_loaded; }
  Level& level() { return m_level; }
  Scene& scene() { return m_scene; }
  Stickman* player() const { return m_scene.GetPlayer(); }
  void tick(int count = 1)
  {
    for (int i = 0; i < count; ++i)
      m_scene.advance();
  }
  // Walks until the figure stops moving (an edge, a wall) or the ticks run out.
  void walk(Direction direction, int maxTicks = 3000)
  {
    double last = player()->pos().x();
    int still = 0;
    for (int i = 0; i < maxTicks && player() && still < 60; ++i)
    {
      player()->Move(direction);
      tick();
      still = player() && qFuzzyCompare(player()->pos().x(), last) ? still + 1 : 0;
      if (player())
        last = player()->pos().x();
    }
  }
  // The view the game shows, 1920 x 1080 around the point (scene pixels), saved for looking.
  QImage shot(const QPointF& centre, const QString& name)
  {
    const QSizeF screen(1920, 1080);
    QRectF view(centre - QPointF(screen.width() / 2, screen.height() * 0.6), screen);
    view.moveLeft(qBound(0.0, view.left(), m_scene.sceneRect().width() - screen.width()));
    view.moveTop(qBound(0.0, view.top(), m_scene.sceneRect().height() - screen.height()));
    QImage picture(screen.toSize(), QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    m_scene.render(&painter, QRectF(QPointF(), screen), view);
    painter.end();
    QDir().mkpath(GetDataRootPath() + "/../level-shots");
    picture.save(GetDataRootPath() + "/../level-shots/" + name + ".png");
    return picture;
  }

private:
  SoundManager m_sounds;
  Materials m_materials;
  Stickman m_template{nullptr, nullptr, nullptr};
  Level m_level{QSizeF(0, 0)};
  Scene m_scene{nullptr};
  bool m_loaded = false;
};

QString startLevel()
{
  QFile file(GetStartLevelConfigPath());
  return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QTextStream(&file).readLine() : QString();
}

// The chapter in playing order, from the start level along the finish areas.
QStringList chapter()
{
  QStringList names;
  for (QString name = startLevel(); !name.isEmpty() && !names.contains(name);)
  {
    names << name;
    Level level(QSizeF(0, 0));
    if (!level.Load(GetLevelsPath() + "/" + name + ".xml") || level.GetFinishAreas().isEmpty())
      break;
    name = level.GetFinishAreas().first().nextLevel;
  }
  return names;
}
} // namespace

TEST(ShippedLevels, TheChapterRunsFromTheStartLevelToItsEnd)
{
  EXPECT_EQ(startLevel(), "sea_shore");
  const QStringList names = chapter();
  EXPECT_EQ(names, QStringList({"sea_shore", "cliff_path", "high_ledge", "friends_meadow", "windy_gap"}));
  const QStringList files = QDir(GetLevelsPath()).entryList({"*.xml"}, QDir::Files);
  EXPECT_EQ(files.size(), names.size()) << "every shipped level is part of the chapter";
  for (const QString& name : names)
  {
    SCOPED_TRACE(name.toStdString());
    Level level(QSizeF(0, 0));
    ASSERT_TRUE(level.Load(GetLevelsPath() + "/" + name + ".xml"));
    EXPECT_FALSE(level.GetTitle().isEmpty());
    EXPECT_NE(level.GetStartCutscene(), nullptr);
    EXPECT_FALSE(level.GetMusicTracks().isEmpty()) << "its music is there";
    ASSERT_FALSE(level.GetFinishAreas().isEmpty());
    for (const Level::FinishArea& area : level.GetFinishAreas())
      EXPECT_TRUE(area.nextLevel.isEmpty() || names.contains(area.nextLevel));
  }
  Level last(QSizeF(0, 0));
  ASSERT_TRUE(last.Load(GetLevelsPath() + "/" + names.last() + ".xml"));
  EXPECT_TRUE(last.GetFinishAreas().first().nextLevel.isEmpty()) << "the chapter ends";
}

// The painted pictures cover the level, and the pencil line of every piece of
// ground lies where the figure's feet will stand on it.
TEST(ShippedLevels, PicturesCoverTheLevelAndGroundIsDrawnWhereItIs)
{
  for (const QString& name : chapter())
  {
    SCOPED_TRACE(name.toStdString());
    Level level(QSizeF(0, 0));
    ASSERT_TRUE(level.Load(GetLevelsPath() + "/" + name + ".xml"));
    const QSize size = m2px(level.GetSize()).toSize();
    const QImage& background = level.GetBackgroundImage();
    EXPECT_EQ(background.size(), size);
    ASSERT_EQ(level.GetForegroundRegions().size(), 1);
    EXPECT_EQ(level.GetForegroundRegions().first().image.size(), size);
    for (const Level::GroundRegion& region : level.GetGroundRegions())
    {
      const QRectF area = m2px(region.area);
      int misplaced = 0, columns = 0;
      for (int x = int(area.left()) + 12; x < area.right() - 12; x += 40, ++columns)
      {
        int darkest = 256;
        for (int y = int(area.top()) - 2; y <= area.top() + 2; ++y)
          darkest = std::min(darkest, qGray(background.pixel(x, y)));
        misplaced += darkest > 120;
      }
      EXPECT_EQ(misplaced, 0) << "of " << columns << " columns of the ground at y " << area.top();
    }
  }
}

// In every level the player starts on the ground and the camera's first view
// is saved as level-shots/NAME.png in the build folder (look at them).
TEST(ShippedLevels, ThePlayerStartsStandingOnTheGround)
{
  for (const QString& name : chapter())
  {
    SCOPED_TRACE(name.toStdString());
    ShippedLevel level(name);
    ASSERT_TRUE(level.loaded());
    ASSERT_NE(level.player(), nullptr);
    level.tick(30);
    const QPointF feet = level.player()->pos();
    EXPECT_FALSE(level.scene().GetGroundAtPos(feet).isNull()) << feet.x() << ", " << feet.y();
    level.shot(feet, name);
  }
}

// The sea shore is played as its file describes: up the rocks, a jump down, on to the sign.
TEST(ShippedLevels, SeaShoreIsSolvedByWalkingAndOneJump)
{
  ShippedLevel level("sea_shore");
  ASSERT_TRUE(level.loaded());
  QSignalSpy finished(&level.scene(), &Scene::levelFinished);
  level.walk(Right);
  ASSERT_NE(level.player(), nullptr);
  EXPECT_NEAR(level.player()->pos().y(), m2px(7.4), 1) << "stopped on the last rock";
  EXPECT_TRUE(finished.isEmpty());
  level.shot(level.player()->pos(), "sea_shore-edge");
  level.player()->Jump();
  level.tick(120);
  ASSERT_NE(level.player(), nullptr) << "the jump down is safe";
  EXPECT_NEAR(level.player()->pos().y(), m2px(9.0), 1);
  for (int i = 0; i < 2000 && finished.isEmpty() && level.player(); ++i)
  {
    level.player()->Move(Right);
    level.tick();
  }
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.first().first().toString(), "cliff_path");
}

// Tilda's finish area waits for a flower: walking to her with empty hands does not end the level.
TEST(ShippedLevels, TildaWantsAFlowerBeforeTheLevelEnds)
{
  ShippedLevel level("friends_meadow");
  ASSERT_TRUE(level.loaded());
  QSignalSpy finished(&level.scene(), &Scene::levelFinished);
  QSignalSpy cutscene(&level.scene(), &Scene::cutsceneStarted);
  for (int i = 0; i < 1200 && level.player(); ++i)
  {
    level.player()->Move(Right);
    level.tick();
  }
  ASSERT_NE(level.player(), nullptr);
  EXPECT_GT(level.player()->pos().x(), m2px(18.0)) << "the player reached her";
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_TRUE(cutscene.isEmpty());
  level.shot(level.player()->pos(), "friends_meadow-tilda");
}

// The gorge kills a player who jumps down without help.
TEST(ShippedLevels, TheGorgeIsADeadlyDrop)
{
  ShippedLevel level("windy_gap");
  ASSERT_TRUE(level.loaded());
  // Put the player on the wall near its far edge, as stairs up would.
  level.player()->MoveTo(QPointF(m2px(13.0), m2px(6.8)));
  QSignalSpy killed(&level.scene(), &Scene::playerKilled);
  level.walk(Right, 600);
  ASSERT_NE(level.player(), nullptr);
  EXPECT_NEAR(level.player()->pos().y(), m2px(6.8), 1) << "the figure stops at the edge";
  level.player()->Jump();
  level.tick(200);
  EXPECT_EQ(killed.size(), 1);
}
