#include "LogCapture.h"
#include "audio/SoundManager.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace
{
struct WaveLayout
{
  int channels = 1;
  int bits = 16;
  quint32 sampleRate = 22050;
  int frames = 100;
  int extraFormatBytes = 0; // an "fmt " chunk of 16 + this many bytes
  bool listBeforeData = false;
  qint64 declaredDataSize = -1; // the real size when negative
};

void append16(QByteArray& bytes, quint16 value)
{
  char le[2];
  qToLittleEndian(value, le);
  bytes.append(le, 2);
}

void append32(QByteArray& bytes, quint32 value)
{
  char le[4];
  qToLittleEndian(value, le);
  bytes.append(le, 4);
}

QByteArray makeWave(const WaveLayout& layout)
{
  const int frameSize = layout.channels * layout.bits / 8;
  QByteArray samples;
  for (int i = 0; i < layout.frames * frameSize; ++i)
    samples.append(char(i * 37));

  QByteArray body = "WAVE";
  body += "fmt ";
  append32(body, quint32(16 + layout.extraFormatBytes));
  append16(body, 1);
  append16(body, quint16(layout.channels));
  append32(body, layout.sampleRate);
  append32(body, layout.sampleRate * quint32(frameSize));
  append16(body, quint16(frameSize));
  append16(body, quint16(layout.bits));
  body += QByteArray(layout.extraFormatBytes, '\0');
  if (layout.listBeforeData)
  {
    body += "LIST";
    append32(body, 4);
    body += "INFO";
  }
  body += "data";
  append32(body, quint32(layout.declaredDataSize < 0 ? samples.size() : layout.declaredDataSize));
  body += samples;

  QByteArray wave = "RIFF";
  append32(wave, quint32(body.size()));
  return wave + body;
}

bool readWave(const QByteArray& bytes, Sound::WaveData& wave, QString& error)
{
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return Sound::ReadWave(buffer, wave, error);
}

QString readError(const QByteArray& bytes)
{
  Sound::WaveData wave;
  QString error;
  return readWave(bytes, wave, error) ? QString() : error;
}

void writeFile(const QString& path, const QByteArray& content)
{
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(content);
}

// Collects the messages logged while it lives.
ALint bufferProperty(Sound::SourceId source, ALenum property)
{
  ALint buffer = 0;
  alGetSourcei(source, AL_BUFFER, &buffer);
  ALint value = 0;
  alGetBufferi(static_cast<ALuint>(buffer), property, &value);
  return value;
}

ALint sourceState(Sound::SourceId source)
{
  ALint state = 0;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

class SoundManagerTest : public testing::Test
{
protected:
  void addFile(const QString& name, const QByteArray& content) { writeFile(m_directory.filePath(name), content); }

  QTemporaryDir m_directory;
};
} // namespace

TEST(WaveReader, ReadsCanonicalFilesAndSkipsFormatExtensions)
{
  Sound::WaveData wave;
  QString error;
  ASSERT_TRUE(readWave(makeWave({2, 16, 44100, 10, 0}), wave, error)) << error.toStdString();
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.bitsPerSample, 16);
  EXPECT_EQ(wave.sampleRate, 44100);
  ASSERT_EQ(wave.samples.size(), 40);
  EXPECT_EQ(wave.samples[39], char(39 * 37));

  // An 18-byte "fmt " chunk (cbSize = 0) and samples of 8 bits.
  ASSERT_TRUE(readWave(makeWave({1, 8, 8000, 7, 2}), wave, error)) << error.toStdString();
  EXPECT_EQ(wave.samples.size(), 7);
  EXPECT_EQ(wave.samples[0], char(0));

  // Nothing to play is still a sound, and chunks after "data" do not matter.
  EXPECT_EQ(readError(makeWave({1, 16, 22050, 0})), QString());
  EXPECT_EQ(readError(makeWave({1, 16, 22050, 5}) + "LIST\4\0\0\0INFO"), QString());
}

TEST(WaveReader, RejectsMalformedAndUnsupportedFiles)
{
  QByteArray notRiff = makeWave({});
  notRiff.replace(0, 4, "RIFX");
  QByteArray notWave = makeWave({});
  notWave.replace(8, 4, "AVI ");
  QByteArray noFormat = makeWave({});
  noFormat.replace(12, 4, "fact");
  EXPECT_EQ(readError(notRiff), "Invalid RIFF or WAVE Header");
  EXPECT_EQ(readError(notWave), "Invalid RIFF or WAVE Header");
  EXPECT_EQ(readError(QByteArray("RIFF")), "Invalid RIFF or WAVE Header");
  EXPECT_EQ(readError(noFormat), "Invalid Wave Format");
  EXPECT_EQ(readError(makeWave({}).left(30)), "Invalid Wave Format");

  WaveLayout withList;
  withList.listBeforeData = true;
  EXPECT_EQ(readError(makeWave(withList)), "Invalid data header");
  QByteArray longFormat = makeWave({});
  longFormat[16] = char(100); // the "fmt " chunk claims to run into the samples
  EXPECT_EQ(readError(longFormat), "Invalid data header");

  for (const auto& [channels, bits] : {std::pair{3, 16}, {0, 16}, {6, 16}, {1, 24}, {2, 32}, {1, 12}, {1, 0}})
    EXPECT_EQ(readError(makeWave({channels, bits, 22050, 4})),
              QString("Unsupported sample format: %1 channels of %2 bits (1 or 2 channels of 8 or 16 bits expected)")
                  .arg(channels)
                  .arg(bits));
  EXPECT_EQ(readError(makeWave({1, 16, 0, 4})), "Invalid sample rate 0");
  EXPECT_EQ(readError(makeWave({1, 16, 0x80000000u, 4})), "Invalid sample rate 2147483648");

  WaveLayout halfFrame;
  halfFrame.channels = 2;
  halfFrame.declaredDataSize = 6;
  EXPECT_EQ(readError(makeWave(halfFrame)), "Data size 6 is not a whole number of 4-byte sample frames");
}

TEST(WaveReader, DataSizeBeyondTheFileAllocatesNothing)
{
  for (const qint64 declared : {201LL * 2, 0xFFFFFFFELL})
  {
    WaveLayout layout;
    layout.frames = 200;
    layout.declaredDataSize = declared;
    Sound::WaveData wave;
    QString error;
    EXPECT_FALSE(readWave(makeWave(layout), wave, error));
    EXPECT_EQ(error, QString("Data chunk of %1 bytes runs past the end of the file").arg(declared));
    EXPECT_EQ(wave.samples.capacity(), 0);
  }
}

// Every prefix of a valid file and thousands of random corruptions of it are
// read or refused cleanly, and what is read describes exactly what the file holds.
TEST(WaveReader, TruncatedAndCorruptedFilesLoadOrFailCleanly)
{
  const QByteArray valid = makeWave({1, 16, 22050, 150, 2});
  for (int length = 0; length < valid.size(); ++length)
    EXPECT_FALSE(readError(valid.left(length)).isEmpty()) << length;
  EXPECT_TRUE(readError(valid).isEmpty());

  std::mt19937 random(7);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round)
  {
    QByteArray bytes = valid;
    const int edits = 1 + static_cast<int>(random() % 3);
    for (int edit = 0; edit < edits; ++edit)
    {
      // Mostly in the headers, where the reader decides.
      const int at = static_cast<int>(random() % (random() % 2 ? 48 : bytes.size()));
      switch (random() % 3)
      {
      case 0: bytes[at] = char(random()); break;
      case 1: bytes.insert(at, char(random())); break;
      default: bytes.remove(at, 1 + static_cast<int>(random() % 8)); break;
      }
    }
    Sound::WaveData wave;
    QString error;
    if (!readWave(bytes, wave, error))
    {
      EXPECT_FALSE(error.isEmpty());
      continue;
    }
    ++accepted;
    EXPECT_TRUE(wave.channels == 1 || wave.channels == 2);
    EXPECT_TRUE(wave.bitsPerSample == 8 || wave.bitsPerSample == 16);
    EXPECT_GT(wave.sampleRate, 0);
    EXPECT_LE(wave.samples.size(), bytes.size() - 44);
    EXPECT_EQ(wave.samples.size() % (wave.channels * wave.bitsPerSample / 8), 0);
  }
  EXPECT_GT(accepted, 100);
}

TEST_F(SoundManagerTest, TypesFollowTheNameOrderOfTheFiles)
{
  addFile("jump.wav", makeWave({}));
  addFile("bird.wav", makeWave({}));
  addFile("step.wav", makeWave({}));
  addFile("Door.Open.WAV", makeWave({}));
  addFile("notes.txt", "not a sound");
  ASSERT_TRUE(QDir(m_directory.path()).mkdir("folder.wav"));

  SoundManager manager;
  manager.Init(m_directory.path());
  EXPECT_EQ(manager.Name2Type("door.open"), 0);
  EXPECT_EQ(manager.Name2Type("bird"), 1);
  EXPECT_EQ(manager.Name2Type("jump"), 2);
  EXPECT_EQ(manager.Name2Type("JUMP"), 2);
  EXPECT_EQ(manager.Name2Type("step"), 3);
  EXPECT_EQ(manager.Name2Type("notes"), -1);
  EXPECT_EQ(manager.Name2Type("folder"), -1);
  EXPECT_EQ(manager.Name2Type(""), -1);
  EXPECT_EQ(manager.Type2Name(1), "bird");
  EXPECT_EQ(manager.Type2Name(4), QString());
  EXPECT_EQ(manager.Type2Name(-1), QString());

  const Sound::NameTypeConverter& converter = manager;
  EXPECT_EQ(converter.Name2Type("Step"), 3);
}

TEST_F(SoundManagerTest, BrokenFilesAreSkippedAndLaterTypesMoveUp)
{
  WaveLayout withList;
  withList.listBeforeData = true;
  WaveLayout oddSize;
  oddSize.declaredDataSize = 3;
  addFile("a.wav", makeWave({}));
  addFile("b.wav", makeWave(withList));
  addFile("c.wav", makeWave({}));
  addFile("d.wav", makeWave(oddSize));
  addFile("e.wav", makeWave({}));
  addFile("f.wav", makeWave({4, 16, 22050, 10}));
  addFile("g.wav", "");

  LogCapture log;
  SoundManager manager;
  manager.Init(m_directory.path());
  EXPECT_EQ(manager.Name2Type("a"), 0);
  EXPECT_EQ(manager.Name2Type("b"), -1);
  EXPECT_EQ(manager.Name2Type("c"), 1);
  EXPECT_EQ(manager.Name2Type("e"), 2);
  EXPECT_EQ(manager.Type2Name(3), QString());
  const QString prefix = ": trying to load " + m_directory.path() + "/";
  EXPECT_TRUE(log.lines().contains("Invalid data header" + prefix + "b.wav")) << log.lines().join('\n').toStdString();
  EXPECT_TRUE(log.lines().contains("Data size 3 is not a whole number of 2-byte sample frames" + prefix + "d.wav"));
  EXPECT_TRUE(log.lines().contains(
      "Unsupported sample format: 4 channels of 16 bits (1 or 2 channels of 8 or 16 bits expected)" + prefix + "f.wav"));
  EXPECT_TRUE(log.lines().contains("Invalid RIFF or WAVE Header" + prefix + "g.wav"));
}

TEST_F(SoundManagerTest, EachSampleLayoutGetsItsOpenAlFormat)
{
  addFile("mono8.wav", makeWave({1, 8, 8000, 16}));
  addFile("mono16.wav", makeWave({1, 16, 22050, 16}));
  addFile("stereo8.wav", makeWave({2, 8, 11025, 16, 2}));
  addFile("stereo16.wav", makeWave({2, 16, 44100, 16}));
  SoundManager manager;
  manager.Init(m_directory.path());

  const struct
  {
    const char* name;
    ALint channels, bits, frequency;
  } expected[] = {{"mono8", 1, 8, 8000}, {"mono16", 1, 16, 22050}, {"stereo8", 2, 8, 11025}, {"stereo16", 2, 16, 44100}};
  for (const auto& sound : expected)
  {
    const Sound::SourceId source = manager.PlaySound(manager.Name2Type(sound.name), QPointF(), 1.0, true);
    ASSERT_NE(source, 0u) << sound.name;
    EXPECT_EQ(bufferProperty(source, AL_CHANNELS), sound.channels) << sound.name;
    EXPECT_EQ(bufferProperty(source, AL_BITS), sound.bits) << sound.name;
    EXPECT_EQ(bufferProperty(source, AL_FREQUENCY), sound.frequency) << sound.name;
    EXPECT_EQ(bufferProperty(source, AL_SIZE), 16 * sound.channels * sound.bits / 8) << sound.name;
    manager.StopSound(source);
  }
}

TEST_F(SoundManagerTest, PlacesSourcesAndTheListenerInMetres)
{
  addFile("hum.wav", makeWave({}));
  SoundManager manager;
  manager.Init(m_directory.path());

  ALfloat orientation[6] = {};
  alGetListenerfv(AL_ORIENTATION, orientation);
  EXPECT_EQ(std::vector<ALfloat>(orientation, orientation + 6), std::vector<ALfloat>({1, 0, 0, 0, -1, 0}));

  const Sound::SourceId source = manager.PlaySound(0, QPointF(3, 4), 0.25, true);
  ASSERT_NE(source, 0u);
  ALfloat x = 0, y = 0, z = 1, gain = 0;
  ALint looping = AL_FALSE;
  alGetSource3f(source, AL_POSITION, &x, &y, &z);
  alGetSourcef(source, AL_GAIN, &gain);
  alGetSourcei(source, AL_LOOPING, &looping);
  EXPECT_EQ(std::vector<ALfloat>({x, y, z}), std::vector<ALfloat>({3, 4, 0}));
  EXPECT_FLOAT_EQ(gain, 0.25f);
  EXPECT_EQ(looping, AL_TRUE);
  EXPECT_EQ(sourceState(source), AL_PLAYING);

  manager.MoveSoundSource(source, QPointF(-1, 2.5));
  alGetSource3f(source, AL_POSITION, &x, &y, &z);
  EXPECT_EQ(std::vector<ALfloat>({x, y, z}), std::vector<ALfloat>({-1, 2.5, 0}));

  manager.SetListenerPosition(QPointF(1, 5));
  alGetListener3f(AL_POSITION, &x, &y, &z);
  EXPECT_FLOAT_EQ(x, 1);
  EXPECT_FLOAT_EQ(y, 3.2f);
  EXPECT_FLOAT_EQ(z, 0);
  manager.SetMasterVolume(0.5);
  alGetListenerf(AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.5f);

  manager.StopSound(source);
  EXPECT_FALSE(alIsSource(source));
  manager.StopSound(source); // no longer a source: nothing happens
  manager.MoveSoundSource(source, QPointF(7, 7));
}

TEST_F(SoundManagerTest, StoppedSourcesAreReclaimedAtTheNextPlay)
{
  addFile("blip.wav", makeWave({1, 16, 22050, 1100})); // 50 ms
  addFile("loop.wav", makeWave({}));
  SoundManager manager;
  manager.Init(m_directory.path());
  const Sound::Type blip = manager.Name2Type("blip");
  const Sound::SourceId looping = manager.PlaySound(manager.Name2Type("loop"), QPointF(), 1.0, true);

  QList<Sound::SourceId> sources;
  for (int i = 0; i < 100; ++i)
    sources << manager.PlaySound(blip, QPointF(i, 0), 1.0, false);
  ASSERT_FALSE(sources.contains(0u));
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 5000 && !std::all_of(sources.begin(), sources.end(), [](Sound::SourceId source) {
           return sourceState(source) == AL_STOPPED;
         }))
    QThread::msleep(10);
  for (Sound::SourceId source : sources)
    ASSERT_TRUE(alIsSource(source)) << "reclaimed before the next play";

  const Sound::SourceId next = manager.PlaySound(blip, QPointF(), 1.0, false);
  ASSERT_NE(next, 0u);
  for (Sound::SourceId source : sources)
    EXPECT_TRUE(source == next || !alIsSource(source)) << source;
  EXPECT_EQ(sourceState(looping), AL_PLAYING);

  manager.StopSound(looping);
  EXPECT_FALSE(alIsSource(looping));
}

TEST_F(SoundManagerTest, UnknownTypesAndExhaustedSourcesPlayNothing)
{
  addFile("hum.wav", makeWave({}));
  SoundManager manager;
  manager.Init(m_directory.path());
  EXPECT_EQ(manager.PlaySound(-1, QPointF(), 1.0, false), 0u);
  EXPECT_EQ(manager.PlaySound(1, QPointF(), 1.0, false), 0u);

  LogCapture log;
  QList<Sound::SourceId> sources;
  for (Sound::SourceId source = 1; source != 0 && sources.size() < 10000;)
    if ((source = manager.PlaySound(0, QPointF(), 1.0, true)) != 0)
      sources << source;
  EXPECT_LT(sources.size(), 10000);
  ASSERT_FALSE(log.lines().isEmpty());
  EXPECT_TRUE(log.lines().last().startsWith("Error creating sound source: ")) << log.lines().last().toStdString();

  manager.StopSound(sources.takeLast());
  EXPECT_NE(manager.PlaySound(0, QPointF(), 1.0, true), 0u);
}

TEST_F(SoundManagerTest, MissingDirectoryLoadsNothingAndOpensNoDevice)
{
  LogCapture log;
  SoundManager manager;
  manager.Init(m_directory.filePath("missing"));
  EXPECT_EQ(log.lines(), QStringList("Could not find sounds directory. No sounds will be loaded"));
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
  EXPECT_EQ(manager.Name2Type("hum"), -1);
  EXPECT_EQ(manager.PlaySound(0, QPointF(), 1.0, false), 0u);
  manager.StopSound(1);
  manager.SetListenerPosition(QPointF(1, 1));
}

// OpenAL reads its driver list once per process: a child process opens no device.
TEST(SoundManagerWithoutDevice, GameGoesOnSilently)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const QByteArray drivers = qgetenv("ALSOFT_DRIVERS");
  qputenv("ALSOFT_DRIVERS", "no-such-driver");
  EXPECT_EXIT(
      {
        bool silent = false;
        {
          QTemporaryDir directory;
          writeFile(directory.filePath("hum.wav"), makeWave({}));
          SoundManager manager;
          manager.Init(directory.path());
          silent = manager.Name2Type("hum") == -1 && manager.PlaySound(0, QPointF(), 1.0, false) == 0u;
          manager.SetListenerPosition(QPointF(1, 1));
          manager.StopSound(1);
        }
        std::exit(silent ? 0 : 1);
      },
      testing::ExitedWithCode(0), "Failed to init sound device");
  qputenv("ALSOFT_DRIVERS", drivers);
}

// OpenAL takes every file that the reader accepts: thousands of truncated and
// corrupted files load or are skipped, and the loaded ones are exactly those read.
TEST_F(SoundManagerTest, TruncatedAndCorruptedFilesLoadOrAreSkipped)
{
  const QByteArray valid = makeWave({2, 16, 44100, 60, 2});
  std::mt19937 random(11);
  QSet<QString> readable;
  auto add = [&](const QString& name, const QByteArray& bytes) {
    addFile(name + ".wav", bytes);
    if (readError(bytes).isEmpty())
      readable << name;
  };
  for (int length = 0; length <= valid.size(); ++length)
    add(QString("prefix%1").arg(length, 4, 10, QChar('0')), valid.left(length));
  for (int round = 0; round < 2000; ++round)
  {
    QByteArray bytes = valid;
    const int at = static_cast<int>(random() % 48);
    bytes[at] = char(random() % 2 ? random() : bytes[at] ^ (1 << (random() % 8)));
    add(QString("mutant%1").arg(round, 4, 10, QChar('0')), bytes);
  }

  QLoggingCategory::setFilterRules("bv.audio.warning=false");
  SoundManager manager;
  manager.Init(m_directory.path());
  QLoggingCategory::setFilterRules(QString());
  QSet<QString> loaded;
  for (Sound::Type type = 0; !manager.Type2Name(type).isEmpty(); ++type)
    loaded << manager.Type2Name(type);
  EXPECT_EQ(loaded, readable);
  EXPECT_GT(readable.size(), 100);
}
