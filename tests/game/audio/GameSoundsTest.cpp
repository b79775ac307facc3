#include "audio/SoundManager.h"

#include "common/FilePaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <tinyxml.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
QString sourceDataPath(const QString& name)
{
  return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().absoluteFilePath("../../../data/" + name);
}

// Sound names in level and object files: the footsteps, splash and default
// bounce attributes, and every attribute of a "sounds" element but its gain.
void collectSoundNames(const TiXmlElement* element, QStringList& names)
{
  for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next())
  {
    const QString name = attribute->Name();
    if (name == "footsteps-sound" || name == "splash-sound" || name == "default-bounce-sound" ||
        (element->ValueStr() == "sounds" && name != "bounce-gain"))
      names << QString::fromUtf8(attribute->Value());
  }
  for (const TiXmlElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
    collectSoundNames(child, names);
}
} // namespace

TEST(GameSounds, EverySoundTheGameNamesIsThere)
{
  const QStringList files = QDir(GetSoundsPath()).entryList({SoundManager::fileFilter}, QDir::Files);
  ASSERT_FALSE(files.isEmpty()) << GetSoundsPath().toStdString();
  SoundManager manager;
  manager.Init(GetSoundsPath());
  EXPECT_TRUE(manager.Type2Name(files.size() - 1) != QString() && manager.Type2Name(files.size()).isEmpty())
      << "every file loads";

  QStringList used{"page_turn", "axe_versus_tree", "saw_versus_tree"};
  QStringList dataFiles{sourceDataPath("objects.xml")};
  for (QDirIterator it(sourceDataPath("levels"), {"*.xml"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    dataFiles << it.next();
  for (const QString& path : dataFiles)
  {
    TiXmlDocument document;
    if (QFileInfo::exists(path) && document.LoadFile(QFile::encodeName(path).constData()))
      collectSoundNames(document.RootElement(), used);
  }
  for (const QString& name : used)
    EXPECT_TRUE(name.isEmpty() || manager.Name2Type(name) >= 0) << name.toStdString();
}

// Short, not clipped, centred on zero and starting and ending in silence (no click).
TEST(GameSounds, SoundsAreShortCleanAndQuietAtTheEdges)
{
  const QFileInfoList files = QDir(GetSoundsPath()).entryInfoList({SoundManager::fileFilter}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QFileInfo& info : files)
  {
    SCOPED_TRACE(info.fileName().toStdString());
    QFile file(info.absoluteFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Sound::WaveData wave;
    QString error;
    ASSERT_TRUE(Sound::ReadWave(file, wave, error)) << error.toStdString();
    ASSERT_EQ(wave.channels, 1);
    ASSERT_EQ(wave.bitsPerSample, 16);
    const int count = wave.samples.size() / 2;
    ASSERT_GT(count, 0);
    const double seconds = double(count) / wave.sampleRate;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 2.5);

    double sum = 0, peak = 0;
    for (int i = 0; i < count; ++i)
    {
      const double sample = qFromLittleEndian<qint16>(wave.samples.constData() + 2 * i) / 32768.0;
      sum += sample;
      peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_LT(peak, 0.95);
    EXPECT_GT(peak, 0.2);
    EXPECT_LT(std::fabs(sum / count), 0.001);
    EXPECT_LT(std::abs(qFromLittleEndian<qint16>(wave.samples.constData())), 330);
    EXPECT_LT(std::abs(qFromLittleEndian<qint16>(wave.samples.constData() + 2 * (count - 1))), 330);
  }
}
