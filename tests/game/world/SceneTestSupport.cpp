#include "SceneTestSupport.h"

#include "common/ConvertUtils.h"
#include "flow/DisappearingThinkBubble.h"

#include <AL/al.h>
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// A second of 8-bit mono silence as a canonical PCM WAV file.
QByteArray silentWave()
{
  const quint32 rate = 8000;
  QByteArray data(int(rate), char(0x80));
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + data.size());
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
  out.writeRawData("data", 4);
  out << quint32(data.size());
  out.writeRawData(data.constData(), data.size());
  return bytes;
}
} // namespace

SceneFixture::SceneFixture()
{
  for (const char* name : {"steps.wav", "grass.wav", "page_turn.wav", "swing.wav", "heavy_swing.wav", "pistol_shot.wav",
                           "bounce_metal.wav", "guitar.wav", "door_open.wav", "door_hit.wav", "door_smash.wav",
                           "eating.wav", "helicopter_engine.wav", "helicopter_stop.wav", "explosion.wav", "splash.wav",
                           "axe_versus_tree.wav", "saw_versus_tree.wav"})
  {
    QFile file(m_soundsDirectory.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(silentWave());
  }
  m_sounds.Init(m_soundsDirectory.path());
  EXPECT_TRUE(m_materials.Load(BV_DATA_DIR "/materials.xml"));
  m_template = std::make_unique<Stickman>(nullptr, nullptr, nullptr);
  EXPECT_TRUE(m_template->Load(BV_DATA_DIR "/stickman.xml"));
  m_scene = std::make_unique<Scene>(nullptr);
}

SceneFixture::~SceneFixture() = default;

void SceneFixture::Build(const QByteArray& levelXml)
{
  const QString path = m_levelDirectory.Write("level.xml", levelXml);
  ASSERT_TRUE(m_level.Load(path));
  m_scene->Init(m_level, &m_materials, &m_sounds, m_template.get());
}

void SceneFixture::Tick(int count)
{
  for (int i = 0; i < count; ++i)
    m_scene->advance();
}

// OpenAL Soft names its sources with small consecutive numbers.
int SceneFixture::SourcesPlayingAt(const QPointF& posPx)
{
  const QPointF m = px2m(posPx);
  int count = 0;
  for (ALuint source = 1; source < 512; ++source)
  {
    if (!alIsSource(source))
      continue;
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING && std::abs(x - m.x()) < 1e-4 && std::abs(y - m.y()) < 1e-4)
      ++count;
  }
  return count;
}

int SceneFixture::SourcesPlaying()
{
  int count = 0;
  for (ALuint source = 1; source < 512; ++source)
  {
    ALint state = 0;
    if (alIsSource(source))
      alGetSourcei(source, AL_SOURCE_STATE, &state);
    count += state == AL_PLAYING ? 1 : 0;
  }
  return count;
}

void SceneFixture::SilenceSounds()
{
  for (ALuint source = 1; source < 512; ++source)
    if (alIsSource(source))
      alSourceStop(source);
}

QByteArray SceneLevel(const QByteArray& body, double width, double height)
{
  return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level title=\"Test\">\n  <geometry width=\"") +
         QByteArray::number(width) + "\" height=\"" + QByteArray::number(height) + "\"/>\n  <foreground/>\n" + body +
         "</level>\n";
}

QString BubbleText(const Bubble* bubble)
{
  for (QGraphicsItem* child : bubble->childItems())
    if (auto* text = dynamic_cast<QGraphicsTextItem*>(child))
      return text->toPlainText();
  return QString();
}

QString ShownComment(const QGraphicsScene& scene)
{
  for (QGraphicsItem* item : scene.items())
    if (auto* comment = dynamic_cast<DisappearingThinkBubble*>(item))
      return BubbleText(comment);
  return QString();
}

bool SceneFixture::WriteLevelPicture(const QString& name, const QImage& picture)
{
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
    return false;
  WriteLevelFile(name, png);
  return true;
}
