// brisvel-play: plays a level headless with scripted or random input.
//
//   brisvel-play LEVEL SCRIPT [--until-ticks N] [--png FILE] [--size WxH] [--seed S] [--levels DIR] [--no-render]
//   brisvel-play --monkey SECONDS [--seed S] [--levels DIR] [--no-render]
//
// A script replay prints as its last line
//   outcome WORD level NAME next NAME ticks N objects K
// with WORD finished, killed or timeout ("-" stands for no next level).
#include "Headless.h"
#include "Monkey.h"

#include "flow/FailbackMainWindow.h"
#include "flow/GeneralManager.h"
#include "flow/InputScript.h"
#include "flow/LevelPlayer.h"
#include "flow/MallocTuning.h"

#include "common/FastTrigonometry.h"
#include "common/FilePaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QResizeEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace
{
int usage()
{
  std::fprintf(stderr, "usage: brisvel-play LEVEL SCRIPT [--until-ticks N] [--png FILE] [--size WxH] [--seed S]\n"
                       "                    [--levels DIR] [--no-render]\n"
                       "       brisvel-play --monkey SECONDS [--seed S] [--levels DIR] [--no-render]\n");
  return 2;
}

struct Options
{
  QString level;
  QString script;
  QString png;
  /// The window, and so every frame and the last one written with --png.
  QSize size{1280, 720};
  int untilTicks = LevelPlayer::DefaultUntilTicks;
  int monkeySeconds = 0;
  unsigned seed = LevelPlayer::DefaultSeed;
  /// The game's own levels unless --levels names another folder.
  QString levels = GetLevelsPath();
  bool render = true;
};

// "WxH" in pixels, each side from 1 to 8192.
bool parseSize(const QString& text, QSize* size)
{
  const QStringList sides = text.split(QLatin1Char('x'));
  if (sides.size() != 2)
    return false;
  bool widthOk = false, heightOk = false;
  const int width = sides[0].toInt(&widthOk), height = sides[1].toInt(&heightOk);
  constexpr int MaxSidePx = 8192;
  if (!widthOk || !heightOk || width < 1 || height < 1 || width > MaxSidePx || height > MaxSidePx)
    return false;
  *size = QSize(width, height);
  return true;
}

bool parseOptions(const QStringList& arguments, Options* options)
{
  QStringList positional;
  for (int i = 1; i < arguments.size(); ++i)
  {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    bool ok = true;
    if (argument == QLatin1String("--until-ticks") && hasValue)
      options->untilTicks = arguments[++i].toInt(&ok);
    else if (argument == QLatin1String("--png") && hasValue)
      options->png = arguments[++i];
    else if (argument == QLatin1String("--size") && hasValue)
      ok = parseSize(arguments[++i], &options->size);
    else if (argument == QLatin1String("--seed") && hasValue)
      options->seed = arguments[++i].toUInt(&ok);
    else if (argument == QLatin1String("--monkey") && hasValue)
      options->monkeySeconds = arguments[++i].toInt(&ok);
    else if (argument == QLatin1String("--levels") && hasValue)
      options->levels = arguments[++i];
    else if (argument == QLatin1String("--no-render"))
      options->render = false;
    else if (argument.startsWith(QLatin1String("--")))
      return false;
    else
      positional << argument;
    if (!ok)
      return false;
  }
  if (options->monkeySeconds > 0)
    return positional.isEmpty();
  if (positional.size() != 2 || options->untilTicks < 0)
    return false;
  options->level = positional[0];
  options->script = positional[1];
  return true;
}

bool isSameFile(const QString& a, const QString& b)
{
  const QString canonical = QFileInfo(a).canonicalFilePath();
  return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

int replay(LevelPlayer& player, const Options& options)
{
  InputScript script;
  QString error;
  if (!script.Load(options.script, &error))
  {
    std::fprintf(stderr, "brisvel-play: %s\n", qPrintable(error));
    return 2;
  }
  if (!player.Start(options.level, &error))
  {
    std::fprintf(stderr, "brisvel-play: %s\n", qPrintable(error));
    return 1;
  }
  player.Replay(script.GetEvents(options.level), options.untilTicks);
  const bool pictureWritten = options.png.isEmpty() || player.GetFinalFrame().save(options.png);
  if (!pictureWritten)
    std::fprintf(stderr, "brisvel-play: cannot write %s\n", qPrintable(options.png));
  std::printf("%s\n", qPrintable(player.GetOutcomeLine()));
  return pictureWritten ? 0 : 1;
}

int monkey(LevelPlayer& player, const Options& options)
{
  QStringList levels;
  for (const QString& file : QDir(options.levels).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
    levels << file.chopped(4);
  std::printf("monkey levels %s\n", qPrintable(levels.join(QLatin1Char(' '))));
  Monkey::Report report = Monkey(&player, options.seed).Run(levels, options.monkeySeconds);
  std::printf("monkey ticks %lld levels-visited %d objects-created %d ladders-drawn %d ladders-built %d "
              "stairs-drawn %d rss-start %ld kB rss-end %ld kB\n",
              report.ticks, report.levelsVisited, report.objectsCreated, report.laddersDrawn, report.laddersBuilt,
              report.stairsDrawn, report.rssStartKb, report.rssEndKb);
  return 0;
}
} // namespace

int main(int argc, char* argv[])
{
  TuneMalloc();
  RunHeadless();
  QApplication application(argc, argv);
  // Its own settings and saved objects, in a folder of its own: a replay
  // never touches a player's progress.
  QApplication::setApplicationName("brisvel-play");
  QApplication::setOrganizationDomain("brisvel.org");
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  qputenv("XDG_DATA_HOME", QFile::encodeName(settingsDir.path()));

  Options options;
  if (!parseOptions(QApplication::arguments(), &options))
    return usage();
  // The game records into BRISVEL_RECORD from its start, replacing the file.
  if (isSameFile(qEnvironmentVariable("BRISVEL_RECORD"), options.script))
  {
    std::fprintf(stderr, "brisvel-play: BRISVEL_RECORD names the script to replay, which recording would erase\n");
    return 2;
  }
  srand(options.seed);
  InitFastTrigonometry();
  setlocale(LC_NUMERIC, "C");

  try
  {
    // The software window, never shown: it takes the player's events as the
    // game's window does, and the player paints its frames.
    FailbackMainWindow window;
    window.resize(options.size);
    // A hidden window hears of its size only when shown: the game is told now.
    QResizeEvent resize(options.size, QSize());
    QApplication::sendEvent(&window, &resize);
    GeneralManager* manager = window.GetManager();
    manager->SetLevelsPath(options.levels);
    LevelPlayer player(&window, manager);
    player.SetRendering(options.render);
    return options.monkeySeconds > 0 ? monkey(player, options) : replay(player, options);
  }
  catch (const std::runtime_error& error)
  {
    std::fprintf(stderr, "brisvel-play: %s\n", error.what());
    return 1;
  }
}
