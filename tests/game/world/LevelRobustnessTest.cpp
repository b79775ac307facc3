#include "LevelTestSupport.h"

#include "world/Level.h"

#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

// Broken level files must be refused or read, never crash; the sanitizer
// build turns any memory error on the way into a failure.
namespace
{
class LevelRobustnessTest : public testing::Test
{
protected:
  void SetUp() override
  {
    // Thousands of broken files would fill the log.
    QLoggingCategory::setFilterRules(QStringLiteral("bv.*=false"));
    referencePath = directory.Write(QStringLiteral("reference.xml"), RichLevel());
    ASSERT_TRUE(reference.Load(referencePath));
    ASSERT_TRUE(level.Load(referencePath));
  }

  void TearDown() override { QLoggingCategory::setFilterRules(QString()); }

  /// Loads \a content into the record, which holds the reference level:
  /// either it loads, and what it saves (control characters in its texts
  /// cannot be saved) loads back, or the record is left as it was.
  void expectCleanLoad(const QByteArray& content)
  {
    Cutscene* startCutscene = level.GetStartCutscene();
    if (level.Load(directory.Write(QStringLiteral("broken.xml"), content)))
    {
      ++loaded;
      // Saved into a new directory each time, for speed (see LevelDirectory::Write).
      QTemporaryDir saveDirectory;
      const QString savedPath = saveDirectory.filePath(QStringLiteral("saved.xml"));
      if (level.Save(savedPath))
      {
        ++saved;
        Level reloaded(QSizeF(1, 1));
        EXPECT_TRUE(reloaded.Load(savedPath)) << content.constData();
      }
      ASSERT_TRUE(level.Load(referencePath));
    }
    else
    {
      EXPECT_EQ(level.GetStartCutscene(), startCutscene);
      EXPECT_EQ(level.GetTitle(), reference.GetTitle());
      EXPECT_EQ(level.GetNpcs().size(), reference.GetNpcs().size());
      EXPECT_EQ(level.GetInteractiveItems().size(), reference.GetInteractiveItems().size());
    }
  }

  LevelDirectory directory;
  QString referencePath;
  Level reference{QSizeF(1, 1)};
  Level level{QSizeF(1, 1)};
  int loaded = 0;
  int saved = 0;
};
} // namespace

TEST_F(LevelRobustnessTest, EveryPrefixLoadsOrFailsCleanly)
{
  const QByteArray file = RichLevel();
  ASSERT_GT(file.size(), 1000);
  for (int length = 0; length <= file.size(); ++length)
  {
    expectCleanLoad(file.left(length));
    if (HasFatalFailure())
      return;
  }
  EXPECT_GE(loaded, 1);
}

TEST_F(LevelRobustnessTest, RandomMutationsLoadOrFailCleanly)
{
  static const char* const Tokens[] = {"<", ">", "/>", "\"", "'", "=", "&", "&#0;", "&amp;", "<!--", "]]>", "-1", "0",
                                       "1e308", "inf", "nan", "\\n", "\xff", "\xc3", "<a>", "</level>", " "};
  const QByteArray file = RichLevel();
  std::mt19937 random(20240611);
  auto below = [&random](int limit) { return static_cast<int>(random() % static_cast<unsigned>(limit)); };
  for (int round = 0; round < 3000; ++round)
  {
    QByteArray mutated = file;
    const int edits = 1 + below(4);
    for (int edit = 0; edit < edits && !mutated.isEmpty(); ++edit)
    {
      const int at = below(mutated.size());
      switch (below(5))
      {
      case 0:
        mutated[at] = static_cast<char>(random());
        break;
      case 1:
        mutated.remove(at, 1 + below(16));
        break;
      case 2:
        mutated.insert(at, Tokens[below(sizeof(Tokens) / sizeof(Tokens[0]))]);
        break;
      case 3:
        mutated.insert(at, file.mid(below(file.size()), 1 + below(200)));
        break;
      default:
      {
        // Replace a number's digits, where the edit lands in one.
        int end = at;
        while (end < mutated.size() && (QChar::fromLatin1(mutated[end]).isDigit() || mutated[end] == '.'))
          ++end;
        mutated.replace(at, end - at, QByteArray::number(static_cast<int>(random()) % 100000 - 50000));
        break;
      }
      }
    }
    expectCleanLoad(mutated);
    if (HasFatalFailure())
      return;
  }
  // The mutations must not all break the file, or the loading paths after
  // parsing would go untested.
  EXPECT_GE(loaded, 300);
  EXPECT_GE(saved, loaded * 9 / 10);
}
