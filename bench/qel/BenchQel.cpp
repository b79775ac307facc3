// Times what the game does with a finished drawing that is not a ladder or
// stairs: signature extraction plus classification against the database.
//
//   bench_qel [IMAGES_DB]
//
// prints the median time of one classification of a 300 x 300 drawing against
// synthetic databases of 100, 1,000 and 5,000 entries (and against IMAGES_DB
// when given), next to the time of computing every difference in full, and
// the time of loading a crafted images.db whose every record has a grid size
// of its own.

#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/MonochromeImagesDB.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace
{
constexpr double Threshold = 1.5; // the game's recognition tolerance
constexpr int Runs = 101;

/// A sketch of a few wobbly strokes on a white width x height canvas, drawn
/// like the game draws (black, 3 px, no antialiasing).
QImage sketch(std::mt19937& random, int width, int height)
{
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(0xFFFFFFFF);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  std::uniform_real_distribution<double> x(5, width - 5);
  std::uniform_real_distribution<double> y(5, height - 5);
  const int strokes = 2 + int(random() % 4);
  for (int stroke = 0; stroke < strokes; ++stroke)
  {
    QPainterPath path(QPointF(x(random), y(random)));
    for (int point = 0; point < 4; ++point)
      path.quadTo(QPointF(x(random), y(random)), QPointF(x(random), y(random)));
    painter.drawPath(path);
  }
  return image;
}

/// References drawn on canvases of assorted proportions, as a real database holds.
std::unique_ptr<qel::MonochromeImagesDB> syntheticDatabase(int entries)
{
  std::mt19937 random(entries);
  std::uniform_int_distribution<int> side(60, 300);
  auto db = std::make_unique<qel::MonochromeImagesDB>();
  while (db->GetCount() < entries)
  {
    qel::MonochromeImageInfo* info = qel::CalculateMonochromeImageInfo(sketch(random, side(random), side(random)));
    if (!info)
      continue;
    info->SetId(QStringLiteral("object%1").arg(db->GetCount() % 40));
    db->Append(info);
  }
  return db;
}

double medianMicroseconds(const std::function<void()>& operation)
{
  std::vector<double> times;
  for (int run = 0; run < Runs; ++run)
  {
    QElapsedTimer timer;
    timer.start();
    operation();
    times.push_back(timer.nsecsElapsed() / 1000.0);
  }
  std::nth_element(times.begin(), times.begin() + Runs / 2, times.end());
  return times[Runs / 2];
}

void report(const char* name, const qel::MonochromeImagesDB& db, const QImage& drawing)
{
  QString result;
  const double classify = medianMicroseconds([&] { result = db.ClassifyImage(drawing, Threshold); });
  const double differences = medianMicroseconds([&] { db.CalculateImageDifferences(drawing); });
  std::printf("%-12s %8d %14.1f %18.1f   %s\n", name, db.GetCount(), classify, differences,
              result.isNull() ? "(none)" : qPrintable(result));
}
/// Milliseconds to load an images.db of \a sizes records, each with one grid
/// of a size no other record has, the smallest sizes first.
double craftedLoadMilliseconds(int sizes)
{
  QTemporaryDir directory;
  const QString path = directory.filePath(QStringLiteral("crafted.db"));
  {
    qel::MonochromeImagesDB crafted;
    for (int cells = 1; crafted.GetCount() < sizes; ++cells)
    {
      for (int width = 1; width <= cells && crafted.GetCount() < sizes; ++width)
      {
        if (cells % width != 0)
          continue;
        auto* info = new qel::MonochromeImageInfo(QStringLiteral("grid"));
        info->AddFrequencyMatrix(width, cells / width)->SetValue(0, 0, 1.0);
        crafted.Append(info);
      }
    }
    if (!crafted.Save(path))
      return -1;
  }
  qel::MonochromeImagesDB db;
  QElapsedTimer timer;
  timer.start();
  if (!db.Load(path) || db.GetCount() != sizes)
    return -1;
  return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
  std::mt19937 random(2024);
  const QImage drawing = sketch(random, 300, 300);

  const double extraction = medianMicroseconds([&] { delete qel::CalculateMonochromeImageInfo(drawing); });
  std::printf("Median of %d runs, 300 x 300 drawing; signature extraction alone: %.1f us\n", Runs, extraction);
  std::printf("%-12s %8s %14s %18s   %s\n", "database", "entries", "classify-us", "all-differences-us", "result");
  for (const int entries : {100, 1000, 5000})
  {
    const auto db = syntheticDatabase(entries);
    report("synthetic", *db, drawing);
  }
  std::printf("Loading a crafted images.db of 20,000 grid sizes: %.0f ms\n", craftedLoadMilliseconds(20000));
  if (argc > 1)
  {
    qel::MonochromeImagesDB db;
    if (!db.Load(QString::fromLocal8Bit(argv[1])))
      return 1;
    report("file", db, drawing);
  }
  return 0;
}
