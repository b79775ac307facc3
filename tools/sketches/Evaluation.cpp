#include "Evaluation.h"

#include "InputProtocol.h"
#include "References.h"
#include "SketchFile.h"

#include "world/DrawingRecognition.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGraphicsPathItem>
#include <QMap>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace
{
constexpr double MouseSpacingPx = 8.0;

QString outcomeName(const DrawingRecognition::Outcome& outcome)
{
  switch (outcome.kind)
  {
  case DrawingRecognition::Kind::Ladder:
    return "ladder";
  case DrawingRecognition::Kind::Stairs:
    return "stairs";
  case DrawingRecognition::Kind::Object:
    return outcome.object.name;
  case DrawingRecognition::Kind::Nothing:
    break;
  }
  return "nothing";
}

/// Which outcomes count as right for a class of the shared sketches.
bool isExpected(const QString& className, const QString& outcome)
{
  static const QSet<QString> Firearms = {"submachine_gun", "assault_rifle", "pistol"};
  static const QSet<QString> Food = {"mushroom", "meat", "ham", "apple"};
  if (className == "assault_rifle")
    return Firearms.contains(outcome);
  if (className == "meat")
    return Food.contains(outcome);
  return className == outcome;
}

struct Tally
{
  int total = 0;
  int hits = 0; // correct for positives, gameplay objects for negatives
  QMap<QString, int> others;

  QString mostFrequent() const
  {
    QString best = "-";
    int count = 0;
    for (auto it = others.cbegin(); it != others.cend(); ++it)
    {
      if (it.value() > count)
      {
        best = it.key();
        count = it.value();
      }
    }
    return count > 0 ? QString("%1 (%2)").arg(best).arg(count) : best;
  }
};

struct Run
{
  const qel::MonochromeImagesDB& database;
  double sizePx;
  std::vector<qint64> nanoseconds;

  QString recognize(const Sketch& sketch, QString* id = nullptr)
  {
    const auto drawing = MakeDrawing(Resample(ScaleToLongerSide(sketch.strokes, sizePx), MouseSpacingPx));
    QElapsedTimer timer;
    timer.start();
    const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*drawing, database);
    nanoseconds.push_back(timer.nsecsElapsed());
    if (id)
      *id = outcome.id;
    return outcomeName(outcome);
  }
};

bool readFolder(const QString& folder, QMap<QString, QList<Sketch>>& classes, QString& error)
{
  const QDir dir(folder);
  const QStringList files = dir.entryList({"*.ndjson"}, QDir::Files, QDir::Name);
  if (!dir.exists() || files.isEmpty())
  {
    error = folder + ": no .ndjson files";
    return false;
  }
  for (const QString& file : files)
  {
    QList<Sketch> sketches;
    if (!ReadSketches(dir.filePath(file), sketches, error))
      return false;
    classes.insert(QFileInfo(file).completeBaseName(), sketches);
  }
  return true;
}

/// One line of the misses listing: "positive/key.ndjson:3 phone7".
void listMiss(QTextStream* misses, const char* folder, const QString& className, int line, const QString& outcome)
{
  if (misses)
    *misses << folder << '/' << className << ".ndjson:" << line << ' ' << outcome << "\n";
}

QString percent(int part, int whole)
{
  return QString::number(whole > 0 ? 100.0 * part / whole : 0.0, 'f', 1);
}
} // namespace

bool EvaluateSketches(const QString& folder, const qel::MonochromeImagesDB& database, double sizePx, QTextStream& out,
                      QString& error, QTextStream* misses)
{
  QMap<QString, QList<Sketch>> positives, negatives;
  if (!readFolder(folder + "/positive", positives, error) || !readFolder(folder + "/negative", negatives, error))
    return false;

  QSet<QString> gameplay;
  for (const QString& name : GameplayObjectNames())
    gameplay << name;
  gameplay << "ladder" << "stairs";

  Run run{database, sizePx, {}};
  int positiveCount = 0, correct = 0;
  out << QString("%1 %2 %3  %4\n").arg("class", -16).arg("total", 5).arg("correct", 7).arg("most frequent wrong outcome");
  for (auto it = positives.cbegin(); it != positives.cend(); ++it)
  {
    Tally tally;
    for (int line = 1; line <= it.value().size(); ++line)
    {
      QString id;
      const QString outcome = run.recognize(it.value()[line - 1], &id);
      ++tally.total;
      if (isExpected(it.key(), outcome))
        ++tally.hits;
      else
      {
        ++tally.others[outcome];
        listMiss(misses, "positive", it.key(), line, id.isEmpty() ? outcome : id);
      }
    }
    positiveCount += tally.total;
    correct += tally.hits;
    out << QString("%1 %2 %3  %4\n").arg(it.key(), -16).arg(tally.total, 5).arg(tally.hits, 7).arg(tally.mostFrequent());
  }

  int negativeCount = 0, accepted = 0;
  out << QString("%1 %2 %3  %4\n").arg("negative", -16).arg("total", 5).arg("gameplay", 8).arg("most frequent outcome");
  for (auto it = negatives.cbegin(); it != negatives.cend(); ++it)
  {
    Tally tally;
    for (int line = 1; line <= it.value().size(); ++line)
    {
      QString id;
      const QString outcome = run.recognize(it.value()[line - 1], &id);
      ++tally.total;
      if (gameplay.contains(outcome))
      {
        ++tally.hits;
        listMiss(misses, "negative", it.key(), line, id.isEmpty() ? outcome : id);
      }
      ++tally.others[outcome];
    }
    negativeCount += tally.total;
    accepted += tally.hits;
    out << QString("%1 %2 %3  %4\n").arg(it.key(), -16).arg(tally.total, 5).arg(tally.hits, 8).arg(tally.mostFrequent());
  }

  std::vector<qint64>& times = run.nanoseconds;
  qint64 median = 0;
  if (!times.empty())
  {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    median = times[times.size() / 2];
  }
  out << "positives " << positiveCount << " correct " << correct << " (" << percent(correct, positiveCount) << "%) negatives "
      << negativeCount << " gameplay-objects " << accepted << " (" << percent(accepted, negativeCount) << "%) median-us "
      << QString::number(median / 1000.0, 'f', 0) << "\n";
  return true;
}
