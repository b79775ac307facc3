#include "References.h"

#include "InputProtocol.h"
#include "SketchFile.h"

#include "common/FilePaths.h"
#include "qel/MonochromeImagesDB.h"
#include "world/DrawingRecognition.h"

#include <QFile>
#include <QGraphicsPathItem>
#include <QMap>

#include <gtest/gtest.h>

namespace
{
QList<Sketch> builtReferences()
{
  QList<Sketch> references;
  QString error;
  EXPECT_TRUE(ReadSketches(BV_BUILT_REFERENCES, references, error)) << qPrintable(error);
  return references;
}
} // namespace

TEST(ReferencesTest, GeneratingGivesTheSameBytesAsTheBuild)
{
  QFile built(BV_BUILT_REFERENCES);
  ASSERT_TRUE(built.open(QIODevice::ReadOnly));
  EXPECT_TRUE(FormatSketches(GenerateReferences()) == built.readAll());
}

TEST(ReferencesTest, EveryObjectHasManyReferencesAndPointingOnesSayWhere)
{
  QMap<QString, int> counts;
  for (const Sketch& reference : builtReferences())
  {
    const DrawingRecognition::ParsedId id = DrawingRecognition::ParseId(reference.word);
    ++counts[id.name];
    // An object named with an underscore can only be recognised with a suffix.
    if (id.name.contains('_') || id.hasDirection)
    {
      const QString suffix = reference.word.mid(reference.word.lastIndexOf('_') + 1);
      EXPECT_EQ(Direction2String(id.direction), suffix) << qPrintable(reference.word);
    }
  }
  const QStringList gameplay = GameplayObjectNames();
  EXPECT_EQ(gameplay.size(), 22);
  for (const QString& name : gameplay)
    EXPECT_GE(counts.value(name), 20) << qPrintable(name);
  // Props: whatever is not a gameplay object.
  int props = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    props += gameplay.contains(it.key()) ? 0 : 1;
  EXPECT_GE(props, 17);
}

TEST(ReferencesTest, TheBuiltDatabaseRecognisesEveryReferenceAsItself)
{
  qel::MonochromeImagesDB database;
  ASSERT_TRUE(database.Load(GetImagesDbPath()));
  const QList<Sketch> references = builtReferences();
  ASSERT_EQ(database.GetCount(), references.size());
  for (const Sketch& reference : references)
  {
    const auto drawing = MakeDrawing(reference.strokes);
    const DrawingRecognition::Outcome outcome = DrawingRecognition::Recognize(*drawing, database);
    EXPECT_EQ(outcome.kind, DrawingRecognition::Kind::Object) << qPrintable(reference.word);
    EXPECT_EQ(outcome.id, reference.word);
  }
}
