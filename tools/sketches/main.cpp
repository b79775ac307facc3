// brisvel-sketches: makes the recognition database from generated reference
// drawings and measures it on people's sketches.

#include "Evaluation.h"
#include "InputProtocol.h"
#include "ReferenceDatabase.h"
#include "References.h"
#include "SketchFile.h"

#include "common/FilePaths.h"
#include "common/ImageOperations.h"
#include "qel/MonochromeImagesDB.h"
#include "world/DrawingRecognition.h"

#include <QCommandLineParser>
#include <QGraphicsPathItem>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <memory>

namespace
{
const char* const Usage = R"(Usage:
  brisvel-sketches generate OUT.ndjson [--seed N]
      writes the reference drawings of every object (other seeds show how much
      of a figure is luck)
  brisvel-sketches build-db SOURCES.ndjson OUT.db
      renders the references as the game renders a drawing and writes the database
  brisvel-sketches eval DIR [--db FILE] [--size PX] [--misses]
      measures recognition on DIR/positive/*.ndjson and DIR/negative/*.ndjson;
      --misses also lists each wrong outcome (FILE:LINE ID) above its row
  brisvel-sketches diff DRAWINGS.ndjson[:LINE] [--db FILE] [--size PX] [--top N]
      how far one drawing (the first, or line LINE) is from the references
  brisvel-sketches render SOURCES.ndjson OUT.png [--from LINE] [--count N]
      draws the drawings side by side to look at them
--db defaults to images.db beside the program, --size to 200 pixels.
)";

QTextStream& out()
{
  static QTextStream stream(stdout);
  return stream;
}

int fail(const QString& message)
{
  QTextStream(stderr) << "brisvel-sketches: " << message << "\n";
  return 1;
}

bool loadDatabase(const QCommandLineParser& options, qel::MonochromeImagesDB& database, QString& error)
{
  const QString fileName = options.isSet("db") ? options.value("db") : GetImagesDbPath();
  if (!database.Load(fileName))
  {
    error = fileName + ": cannot load the database";
    return false;
  }
  return true;
}

double sizeOption(const QCommandLineParser& options)
{
  bool ok = false;
  const double size = options.value("size").toDouble(&ok);
  return ok && size >= 10 && size <= 2000 ? size : 0.0;
}

int generate(const QString& fileName, const QCommandLineParser& options)
{
  bool ok = false;
  const quint64 seed = options.value("seed").toULongLong(&ok);
  if (!ok)
    return fail("--seed must be a whole number");
  QString error;
  if (!WriteSketches(fileName, GenerateReferences(seed), error))
    return fail(error);
  return 0;
}

int buildDatabase(const QString& sources, const QString& fileName)
{
  QList<Sketch> references;
  QString error;
  if (!ReadSketches(sources, references, error))
    return fail(error);
  qel::MonochromeImagesDB database;
  if (!AddReferences(references, database, error))
    return fail(sources + ": " + error);
  if (!database.Save(fileName))
    return fail(fileName + ": cannot write the database");
  return 0;
}

int evaluate(const QString& folder, const QCommandLineParser& options)
{
  qel::MonochromeImagesDB database;
  QString error;
  if (!loadDatabase(options, database, error))
    return fail(error);
  const double size = sizeOption(options);
  if (size <= 0)
    return fail("--size must be between 10 and 2000 pixels");
  // The detectors explain every rejection; here only the outcomes matter.
  QLoggingCategory::setFilterRules("*.debug=false");
  if (!EvaluateSketches(folder, database, size, out(), error, options.isSet("misses") ? &out() : nullptr))
    return fail(error);
  return 0;
}

/// FILE or FILE:LINE, LINE counted from 1 among the drawings.
bool readOne(const QString& argument, Sketch& sketch, QString& error)
{
  QString fileName = argument;
  int line = 1;
  const int colon = argument.lastIndexOf(':');
  if (colon > 0)
  {
    bool ok = false;
    line = argument.mid(colon + 1).toInt(&ok);
    if (!ok || line < 1)
    {
      error = argument + ": LINE must be a positive number";
      return false;
    }
    fileName = argument.left(colon);
  }
  QList<Sketch> sketches;
  if (!ReadSketches(fileName, sketches, error))
    return false;
  if (line > sketches.size())
  {
    error = QString("%1: has %2 drawings").arg(fileName).arg(sketches.size());
    return false;
  }
  sketch = sketches[line - 1];
  return true;
}

int difference(const QString& argument, const QCommandLineParser& options)
{
  qel::MonochromeImagesDB database;
  QString error;
  Sketch sketch;
  if (!loadDatabase(options, database, error) || !readOne(argument, sketch, error))
    return fail(error);
  const double size = sizeOption(options);
  if (size <= 0)
    return fail("--size must be between 10 and 2000 pixels");
  const auto drawing = MakeDrawing(Resample(ScaleToLongerSide(sketch.strokes, size), 8.0));
  const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*drawing, database);
  const char* const kinds[] = {"nothing", "ladder", "stairs", "object"};
  out() << sketch.word << ": " << kinds[static_cast<int>(outcome.kind)] << ' ' << outcome.id << "\n";
  const int top = options.value("top").toInt();
  int shown = 0;
  for (const auto& entry : database.CalculateImageDifferences(PathItemToImage(drawing.get(), 1.0)))
  {
    if (shown++ >= top)
      break;
    out() << QString::number(entry.first, 'f', 4) << ' ' << entry.second << "\n";
  }
  return 0;
}

int render(const QString& sources, const QString& fileName, const QCommandLineParser& options)
{
  QList<Sketch> sketches;
  QString error;
  if (!ReadSketches(sources, sketches, error))
    return fail(error);
  const int from = qMax(1, options.value("from").toInt()) - 1;
  const int count = qBound(0, options.value("count").toInt(), qMax(0, sketches.size() - from));
  constexpr int Cell = 160, Columns = 8;
  const int rows = (count + Columns - 1) / Columns;
  QImage sheet(Cell * Columns, Cell * qMax(1, rows), QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (int i = 0; i < count; ++i)
  {
    const Sketch& sketch = sketches[from + i];
    const auto drawing = MakeDrawing(Resample(ScaleToLongerSide(sketch.strokes, Cell - 30), 8.0));
    const QPointF cell((i % Columns) * Cell, (i / Columns) * Cell);
    painter.drawImage(cell + QPointF(10, 22), PathItemToImage(drawing.get(), 1.0));
    painter.drawText(cell + QPointF(4, 14), sketch.word);
    painter.drawRect(QRectF(cell, QSizeF(Cell - 1, Cell - 1)));
  }
  painter.end();
  if (!sheet.save(fileName))
    return fail(fileName + ": cannot write the picture");
  return 0;
}
} // namespace

int main(int argc, char** argv)
{
  // Only labelling a picture needs fonts, hence a GUI application; painting
  // drawings into images does not.
  std::unique_ptr<QCoreApplication> application;
  if (argc > 1 && qstrcmp(argv[1], "render") == 0)
  {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  else
    application = std::make_unique<QCoreApplication>(argc, argv);
  QCommandLineParser options;
  options.addOption({"db", "recognition database", "FILE"});
  options.addOption({"size", "longer side of each drawing", "PX", "200"});
  options.addOption({"seed", "generator seed", "N", QString::number(ReferenceSeed)});
  options.addOption({"misses", "list every wrong outcome"});
  options.addOption({"top", "differences shown", "N", "20"});
  options.addOption({"from", "first drawing shown", "LINE", "1"});
  options.addOption({"count", "drawings shown", "N", "64"});
  options.addPositionalArgument("command", "generate, build-db, eval, diff or render");
  if (!options.parse(application->arguments()))
    return fail(options.errorText());
  const QStringList arguments = options.positionalArguments();
  const QString command = arguments.value(0);
  if (command == "generate" && arguments.size() == 2)
    return generate(arguments[1], options);
  if (command == "build-db" && arguments.size() == 3)
    return buildDatabase(arguments[1], arguments[2]);
  if (command == "eval" && arguments.size() == 2)
    return evaluate(arguments[1], options);
  if (command == "diff" && arguments.size() == 2)
    return difference(arguments[1], options);
  if (command == "render" && arguments.size() == 3)
    return render(arguments[1], arguments[2], options);
  QTextStream(stderr) << Usage;
  return 2;
}
