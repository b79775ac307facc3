#include "world/Materials.h"

#include "LogCapture.h"
#include "NumericLocale.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <tinyxml.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
QString sourceDataPath(const QString& name)
{
  return QStringLiteral(BV_SOURCE_DATA "/") + name;
}

class MaterialsFile : public testing::Test
{
protected:
  QString write(const QByteArray& content)
  {
    const QString path = m_directory.filePath("materials.xml");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
  }

  bool load(const QByteArray& content) { return m_materials.Load(write(content)); }

  QTemporaryDir m_directory;
  Materials m_materials;
};

bool sameMaterial(const Material& a, const Material& b)
{
  return a.friction == b.friction && a.restitution == b.restitution && a.density == b.density;
}

bool isPhysical(const Material& material)
{
  for (double value : {material.friction, material.restitution, material.density})
    if (!std::isfinite(value) || value < 0)
      return false;
  return true;
}

// Every "material" attribute of the element and its descendants.
void collectMaterialNames(const TiXmlElement* element, QStringList& names)
{
  if (const char* name = element->Attribute("material"))
    names << QString::fromUtf8(name);
  for (const TiXmlElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
    collectMaterialNames(child, names);
}
} // namespace

TEST_F(MaterialsFile, LoadsNamedMaterialsAndFallsBackToTheDefault)
{
  ASSERT_TRUE(load("<materials>"
                   "<default-material friction='0.5' restitution='0.1' density='2'/>"
                   "<material id='wood' friction='0.4' restitution='0.2' density='0.6'/>"
                   "<material id='body' friction='0.7' restitution='0' density='1.5'/>"
                   "<material id='Wood' friction='0.9' restitution='0.9' density='9'/>"
                   "</materials>"));
  EXPECT_TRUE(sameMaterial(m_materials.Get("wood"), Material{0.4, 0.2, 0.6}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("Wood"), Material{0.9, 0.9, 9}));
  EXPECT_TRUE(sameMaterial(m_materials.GetBodyMaterial(), Material{0.7, 0, 1.5}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("WOOD"), Material{0.5, 0.1, 2}));
  EXPECT_TRUE(sameMaterial(m_materials.Get(""), Material{0.5, 0.1, 2}));
  EXPECT_EQ(m_materials.GetNames(), QStringList({"Wood", "body", "wood"}));
}

TEST_F(MaterialsFile, SkipsIncompleteOrInvalidEntriesAndTheLaterDuplicateWins)
{
  ASSERT_TRUE(load("<materials>"
                   "<default-material friction='0.5' restitution='0.1' density='2'/>"
                   "<material id='stone' friction='0.7' restitution='0' density='2.5'/>"
                   "<material id='stone' friction='0.8' restitution='0.05' density='2.4'/>"
                   "<material friction='0.1' restitution='0.1' density='0.1'/>"
                   "<material id='' friction='0.1' restitution='0.1' density='0.1'/>"
                   "<material id='no-density' friction='0.1' restitution='0.1'/>"
                   "<material id='no-friction' restitution='0.1' density='0.1'/>"
                   "<material id='word' friction='slippery' restitution='0.1' density='0.1'/>"
                   "<material id='nan' friction='0.1' restitution='nan' density='0.1'/>"
                   "<material id='infinite' friction='0.1' restitution='0.1' density='inf'/>"
                   "<material id='negative' friction='0.1' restitution='0.1' density='-1'/>"
                   "<material id='huge' friction='0.1' restitution='0.1' density='1e39'/>"
                   "<material id='spaced' friction=' 0.25 ' restitution='1e-1' density='3'/>"
                   "</materials>"));
  EXPECT_EQ(m_materials.GetNames(), QStringList({"spaced", "stone"}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("stone"), Material{0.8, 0.05, 2.4}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("spaced"), Material{0.25, 0.1, 3}));
}

TEST_F(MaterialsFile, BrokenFilesFailAndLeaveTheTableAsItWas)
{
  m_materials.Add("kept", Material{0.3, 0.3, 0.3});
  m_materials.SetDefaultMaterial(Material{0.1, 0.2, 0.3});
  const Material before{0.1, 0.2, 0.3};

  EXPECT_FALSE(m_materials.Load(m_directory.filePath("missing.xml")));
  EXPECT_FALSE(m_materials.Load(m_directory.path()));
  EXPECT_FALSE(load(""));
  EXPECT_FALSE(load("<materials><default-material friction='1' restitution='1' density='1'/>"));
  EXPECT_FALSE(load("<stuff><default-material friction='1' restitution='1' density='1'/></stuff>"));
  EXPECT_FALSE(load("<materials><material id='a' friction='1' restitution='1' density='1'/></materials>"));
  EXPECT_FALSE(load("<materials><default-material friction='0.9' density='1'/></materials>"));
  EXPECT_FALSE(load("<materials><default-material friction='0.9' restitution='0.9'/></materials>"));
  EXPECT_FALSE(load("<materials><default-material friction='0.9' restitution='x' density='1'/></materials>"));

  EXPECT_EQ(m_materials.GetNames(), QStringList({"kept"}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("other"), before));
}

TEST_F(MaterialsFile, HostileFilesAreRefusedWithoutReadingThem)
{
  const LogCapture log("bv.world");
  // Read whole, /dev/zero exhausts memory; parsed, deep nesting overflows the stack.
  EXPECT_FALSE(m_materials.Load("/dev/zero"));
  EXPECT_FALSE(load(QByteArray("<materials>") + QByteArray("<a>").repeated(40000)));
  ASSERT_EQ(log.lines().size(), 2);
  EXPECT_TRUE(log.lines()[0].contains("not a regular file")) << log.lines()[0].toStdString();
  EXPECT_TRUE(log.lines()[1].contains("nested deeper")) << log.lines()[1].toStdString();
}

TEST_F(MaterialsFile, NumbersReadTheSameUnderADecimalComma)
{
  const NumericLocale german(GermanLocale);
  ASSERT_TRUE(german.IsActive()) << "scripts/install-deps generates " << GermanLocale;
  ASSERT_TRUE(load("<materials><default-material friction='0.5' restitution='0.25' density='1.5'/>"
                   "<material id='ice' friction='0.05' restitution='0.1' density='0.9'/>"
                   "<material id='comma' friction='0,5' restitution='0' density='1'/></materials>"));
  EXPECT_TRUE(sameMaterial(m_materials.Get(""), Material{0.5, 0.25, 1.5}));
  EXPECT_TRUE(sameMaterial(m_materials.Get("ice"), Material{0.05, 0.1, 0.9}));
  EXPECT_EQ(m_materials.GetNames(), QStringList({"ice"}));
}

TEST_F(MaterialsFile, LoadAddsToTheTableAndClearKeepsTheDefault)
{
  m_materials.Add("old", Material{0.3, 0.3, 0.3});
  ASSERT_TRUE(load("<materials><default-material friction='1' restitution='0' density='4'/>"
                   "<material id='new' friction='0' restitution='0' density='1'/></materials>"));
  EXPECT_EQ(m_materials.GetNames(), QStringList({"new", "old"}));
  m_materials.Clear();
  EXPECT_TRUE(m_materials.GetNames().isEmpty());
  EXPECT_TRUE(sameMaterial(m_materials.Get("new"), Material{1, 0, 4}));
}

TEST_F(MaterialsFile, GameDataHasEveryMaterialTheGameNames)
{
  ASSERT_TRUE(m_materials.Load(sourceDataPath("materials.xml")));
  QStringList used{"body"};
  QStringList files{sourceDataPath("objects.xml")};
  for (QDirIterator it(sourceDataPath("levels"), {"*.xml"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    files << it.next();
  for (const QString& path : files)
  {
    TiXmlDocument document;
    if (QFileInfo::exists(path) && document.LoadFile(QFile::encodeName(path).constData()))
      collectMaterialNames(document.RootElement(), used);
  }
  for (const QString& name : used)
    EXPECT_TRUE(name.isEmpty() || m_materials.GetNames().contains(name)) << name.toStdString();
  for (const QString& name : m_materials.GetNames())
    EXPECT_TRUE(isPhysical(m_materials.Get(name))) << name.toStdString();
}

// Every prefix of the game's file and thousands of random corruptions of it
// load or fail cleanly, and whatever loads is physically sound.
TEST_F(MaterialsFile, TruncatedAndCorruptedFilesLoadOrFailCleanly)
{
  QFile original(sourceDataPath("materials.xml"));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray valid = original.readAll();

  // Thousands of rejected files would flood the log.
  QLoggingCategory::setFilterRules("bv.world.warning=false");
  int loaded = 0;
  auto check = [&](const QByteArray& content) {
    Materials materials;
    if (!materials.Load(write(content)))
      return;
    ++loaded;
    EXPECT_TRUE(isPhysical(materials.Get(QString())));
    for (const QString& name : materials.GetNames())
      EXPECT_TRUE(isPhysical(materials.Get(name))) << content.toStdString();
  };

  for (int length = 0; length <= valid.size(); ++length)
    check(valid.left(length));
  EXPECT_GT(loaded, 0);

  std::mt19937 random(20240611);
  const QByteArray alphabet = "<>/=\"' \n-.0123456789eEabcdefghijklmnopqrstuvwxyz\x80\xc3\xff";
  loaded = 0;
  for (int round = 0; round < 3000; ++round)
  {
    QByteArray content = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int edit = 0; edit < edits && !content.isEmpty(); ++edit)
    {
      const int at = static_cast<int>(random() % content.size());
      const char byte = alphabet[static_cast<int>(random() % alphabet.size())];
      switch (random() % 4)
      {
      case 0: content[at] = byte; break;
      case 1: content.insert(at, byte); break;
      case 2: content.remove(at, 1 + static_cast<int>(random() % 16)); break;
      default: content.insert(at, content.mid(static_cast<int>(random() % content.size()), 32)); break;
      }
    }
    check(content);
  }
  QLoggingCategory::setFilterRules(QString());
  EXPECT_GT(loaded, 0);
}
