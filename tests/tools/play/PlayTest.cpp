#include "flow/LevelPlayer.h"

#include "flow/FailbackMainWindow.h"
#include "flow/GeneralManager.h"
#include "flow/View.h"

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QResizeEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
/// brisvel-play's exit status, its output and its errors.
struct PlayRun
{
  int status = -1;
  QString out;
  QString err;
};

PlayRun play(const QStringList& arguments, const QString& record = QString())
{
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("BRISVEL_RECORD");
  if (!record.isEmpty())
    environment.insert("BRISVEL_RECORD", record);
  process.setProcessEnvironment(environment);
  process.start(BV_PLAY_TOOL, QStringList(arguments) << "--levels" << BV_TEST_LEVELS_DIR);
  EXPECT_TRUE(process.waitForFinished(120000));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

class Play : public testing::Test
{
protected:
  void SetUp() override
  {
    QCoreApplication::setOrganizationName("brisvel-tests");
    QCoreApplication::setApplicationName("play");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  }

  QTemporaryDir dir;
};

/// A mouse event at scene point \a at, with Control held, as the window sends it.
void mouse(LevelPlayer& player, QEvent::Type type, QPointF at)
{
  GeneralManager* manager = player.GetManager();
  const bool press = type == QEvent::MouseButtonPress, release = type == QEvent::MouseButtonRelease;
  QMouseEvent event(type, manager->GetView()->mapFromScene(at), press || release ? Qt::LeftButton : Qt::NoButton,
                    release ? Qt::NoButton : Qt::LeftButton, Qt::ControlModifier);
  if (press)
    manager->mousePressEvent(&event);
  else if (release)
    manager->mouseReleaseEvent(&event);
  else
    manager->mouseMoveEvent(&event);
}
} // namespace

// The scene stands still while the player draws, but ticks and keys go on: a
// recording of keys pressed in the middle of a drag must still replay, to the
// same end.
TEST_F(Play, ARecordingWithKeysPressedDuringAStrokeReplaysToTheSameOutcome)
{
  const QString record = dir.filePath("record.txt");
  qputenv("BRISVEL_RECORD", QFile::encodeName(record));
  std::srand(1);
  // The hidden window brisvel-play plays through, of its default size.
  FailbackMainWindow window;
  const QSize size(1280, 720);
  window.resize(size);
  QResizeEvent resize(size, QSize());
  QCoreApplication::sendEvent(&window, &resize);
  qunsetenv("BRISVEL_RECORD");
  window.GetManager()->SetLevelsPath(BV_TEST_LEVELS_DIR);
  LevelPlayer player(&window, window.GetManager());
  QString error;
  ASSERT_TRUE(player.Start("test_ladder", &error)) << error.toStdString();
  // As brisvel-play does, the ticks stop at the outcome.
  const auto ticks = [&player](int count) {
    for (int i = 0; i < count && player.GetOutcome() == LevelPlayer::Playing; ++i)
      player.Tick();
  };
  ticks(250);

  // The ladder of test_ladder.txt, drawn a point a tick; Right is pressed in
  // the middle of a rail and let go in the middle of a rung.
  QList<QPolygonF> strokes;
  for (double x : {870.0, 930.0})
  {
    QPolygonF rail;
    for (double y = 350; y <= 698; y += 34.8)
      rail << QPointF(x, y);
    strokes << rail;
  }
  for (double y = 400; y <= 650; y += 50)
    strokes << QPolygonF({QPointF(870, y), QPointF(900, y), QPointF(930, y)});
  player.PressKey(Qt::Key_Control);
  for (int s = 0; s < strokes.size(); ++s)
  {
    const QPolygonF& stroke = strokes[s];
    for (int i = 0; i < stroke.size(); ++i)
    {
      mouse(player, i == 0 ? QEvent::MouseButtonPress : i + 1 < stroke.size() ? QEvent::MouseMove
                                                                                : QEvent::MouseButtonRelease,
            stroke[i]);
      if (s == 1 && i == 4)
        player.PressKey(Qt::Key_Right);
      if (s == 3 && i == 1)
        player.ReleaseKey(Qt::Key_Right);
      ticks(1);
    }
  }
  player.ReleaseKey(Qt::Key_Control);
  ticks(50);
  for (const auto& [key, held] : {std::pair{Qt::Key_Right, 215}, std::pair{Qt::Key_Up, 880}, std::pair{Qt::Key_Right, 380}})
  {
    player.PressKey(key);
    ticks(held);
    player.ReleaseKey(key);
    ticks(20);
  }
  ticks(6000 - player.GetTicks());
  ASSERT_EQ(player.GetOutcome(), LevelPlayer::Finished);
  const QString expected = QStringLiteral("outcome finished level test_ladder next test_flat ticks %1 objects %2\n")
                             .arg(player.GetTicks())
                             .arg(player.GetFinalObjectCount());

  const PlayRun replay = play({"test_ladder", record, "--until-ticks", "6000"});
  EXPECT_EQ(replay.status, 0) << replay.err.toStdString();
  EXPECT_TRUE(replay.out.endsWith(expected)) << replay.out.toStdString() << "\nexpected " << expected.toStdString();
}

TEST_F(Play, ARecordingNeverWritesOverTheScriptBeingReplayed)
{
  const QString script = dir.filePath("solution.txt");
  ASSERT_TRUE(QFile::copy(BV_SCRIPTS_DIR "/test_flat.txt", script));
  ASSERT_TRUE(QFile::link(script, dir.filePath("link.txt")));
  QFile original(script);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray content = original.readAll();
  for (const QString& record : {script, dir.filePath("link.txt")})
  {
    const PlayRun run = play({"test_flat", script}, record);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("BRISVEL_RECORD")) << run.err.toStdString();
  }
  QFile after(script);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), content);
}

TEST_F(Play, APictureThatCannotBeWrittenFailsTheRun)
{
  const PlayRun run = play({"test_flat", BV_SCRIPTS_DIR "/test_flat.txt", "--until-ticks", "1", "--png",
                        dir.filePath("no-such-folder/frame.png")});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("cannot write")) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("outcome timeout level test_flat")) << run.out.toStdString();
}
