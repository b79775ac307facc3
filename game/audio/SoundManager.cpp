#include "audio/SoundManager.h"

#include "common/GlobalConstants.h"

#include <AL/al.h>

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace
{
Q_LOGGING_CATEGORY(lcAudio, "bv.audio")

bool readExactly(QIODevice& device, char* data, qint64 size) { return device.read(data, size) == size; }

bool hasId(const char* chunk, const char* id) { return std::memcmp(chunk, id, 4) == 0; }

ALenum openAlFormat(const Sound::WaveData& wave)
{
  if (wave.channels == 1)
    return wave.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  return wave.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}
} // namespace

bool Sound::ReadWave(QIODevice& device, WaveData& wave, QString& error)
{
  char riff[12];
  if (!readExactly(device, riff, sizeof riff) || !hasId(riff, "RIFF") || !hasId(riff + 8, "WAVE"))
  {
    error = "Invalid RIFF or WAVE Header";
    return false;
  }
  char format[24];
  if (!readExactly(device, format, sizeof format) || !hasId(format, "fmt "))
  {
    error = "Invalid Wave Format";
    return false;
  }
  const quint32 formatSize = qFromLittleEndian<quint32>(format + 4);
  const int channels = qFromLittleEndian<quint16>(format + 10);
  const quint32 sampleRate = qFromLittleEndian<quint32>(format + 12);
  const int bitsPerSample = qFromLittleEndian<quint16>(format + 22);
  if (formatSize > 16)
    device.skip(formatSize - 16);

  char data[8];
  if (!readExactly(device, data, sizeof data) || !hasId(data, "data"))
  {
    error = "Invalid data header";
    return false;
  }
  const quint32 dataSize = qFromLittleEndian<quint32>(data + 4);
  if ((channels != 1 && channels != 2) || (bitsPerSample != 8 && bitsPerSample != 16))
  {
    error = QString("Unsupported sample format: %1 channels of %2 bits (1 or 2 channels of 8 or 16 bits expected)")
                .arg(channels)
                .arg(bitsPerSample);
    return false;
  }
  if (sampleRate == 0 || sampleRate > quint32(std::numeric_limits<int>::max()))
  {
    error = QString("Invalid sample rate %1").arg(sampleRate);
    return false;
  }
  const int frameSize = channels * bitsPerSample / 8;
  if (dataSize % frameSize != 0)
  {
    error = QString("Data size %1 is not a whole number of %2-byte sample frames").arg(dataSize).arg(frameSize);
    return false;
  }
  // The size comes from the file: check it against what the file holds before allocating.
  if (qint64(dataSize) > device.bytesAvailable() || dataSize > quint32(std::numeric_limits<int>::max()))
  {
    error = QString("Data chunk of %1 bytes runs past the end of the file").arg(dataSize);
    return false;
  }
  wave.samples.resize(int(dataSize));
  if (!readExactly(device, wave.samples.data(), dataSize))
  {
    wave.samples.clear();
    error = "error loading WAVE data into struct!";
    return false;
  }
  wave.channels = channels;
  wave.bitsPerSample = bitsPerSample;
  wave.sampleRate = int(sampleRate);
  return true;
}

const QString SoundManager::fileFilter = "*.wav";

SoundManager::SoundManager(QObject* parent) : QObject(parent) {}

SoundManager::~SoundManager()
{
  if (m_device.context && alcMakeContextCurrent(m_device.context))
  {
    // OpenAL refuses to delete a buffer that a source still plays.
    const QVector<ALuint> sources(m_playingSources.begin(), m_playingSources.end());
    alSourceStopv(sources.size(), sources.constData());
    alDeleteSources(sources.size(), sources.constData());
    alDeleteBuffers(m_buffers.size(), m_buffers.constData());
    alcMakeContextCurrent(nullptr);
  }
  if (m_device.context)
    alcDestroyContext(m_device.context);
  if (m_device.device)
    alcCloseDevice(m_device.device);
}

void SoundManager::Init(const QString& soundsDirectory)
{
  const QDir directory(soundsDirectory, fileFilter, QDir::Name, QDir::Files | QDir::Readable);
  if (!directory.exists())
  {
    qCWarning(lcAudio) << "Could not find sounds directory. No sounds will be loaded";
    return;
  }
  if (!openDevice())
  {
    qCWarning(lcAudio) << "Failed to init sound device";
    return;
  }
  const QFileInfoList entries = directory.entryInfoList();
  m_names.reserve(entries.size());
  m_buffers.reserve(entries.size());
  for (const QFileInfo& entry : entries)
  {
    ALuint buffer = 0;
    if (loadFile(entry.absoluteFilePath(), buffer))
    {
      m_names << entry.completeBaseName().toLower();
      m_buffers << buffer;
    }
  }
  // "Up" points to smaller y: the world's y axis points down.
  const ALfloat orientation[] = {1, 0, 0, 0, -1, 0};
  alListenerfv(AL_ORIENTATION, orientation);
}

bool SoundManager::openDevice()
{
  m_device.device = alcOpenDevice(nullptr);
  if (!m_device.device)
    return false;
  m_device.context = alcCreateContext(m_device.device, nullptr);
  return m_device.context && alcMakeContextCurrent(m_device.context);
}

bool SoundManager::loadFile(const QString& path, unsigned int& buffer) const
{
  QFile file(path);
  Sound::WaveData wave;
  QString error;
  if (!file.open(QIODevice::ReadOnly))
    error = path;
  else if (Sound::ReadWave(file, wave, error))
  {
    alGetError();
    alGenBuffers(1, &buffer);
    alBufferData(buffer, openAlFormat(wave), wave.samples.constData(), wave.samples.size(), wave.sampleRate);
    const ALenum alError = alGetError();
    if (alError == AL_NO_ERROR)
      return true;
    alDeleteBuffers(1, &buffer);
    error = QString("OpenAL refused the samples (error 0x%1)").arg(alError, 0, 16);
  }
  qCWarning(lcAudio).noquote() << error + ": trying to load " + path;
  return false;
}

Sound::SourceId SoundManager::PlaySound(Sound::Type type, const QPointF& position, double gain, bool loop)
{
  removeStoppedSources();
  if (type < 0 || type >= m_buffers.size())
    return 0;
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (!alIsSource(source))
  {
    qCWarning(lcAudio) << "Error creating sound source:" << alGetError();
    return 0;
  }
  alSourcei(source, AL_BUFFER, static_cast<ALint>(m_buffers[type]));
  alSource3f(source, AL_POSITION, static_cast<ALfloat>(position.x()), static_cast<ALfloat>(position.y()), 0);
  alSourcef(source, AL_GAIN, static_cast<ALfloat>(gain));
  alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  m_playingSources << source;
  return source;
}

void SoundManager::StopSound(Sound::SourceId source)
{
  if (alIsSource(source))
    alSourceStop(source);
  removeStoppedSources();
}

void SoundManager::MoveSoundSource(Sound::SourceId source, const QPointF& position)
{
  if (alIsSource(source))
    alSource3f(source, AL_POSITION, static_cast<ALfloat>(position.x()), static_cast<ALfloat>(position.y()), 0);
}

void SoundManager::SetListenerPosition(const QPointF& position)
{
  alListener3f(AL_POSITION, static_cast<ALfloat>(position.x()),
               static_cast<ALfloat>(position.y() - bv::StickmanHeightM), 0);
}

void SoundManager::SetMasterVolume(double gain) { alListenerf(AL_GAIN, static_cast<ALfloat>(gain)); }

Sound::Type SoundManager::Name2Type(const QString& name) const { return m_names.indexOf(name.toLower()); }

QString SoundManager::Type2Name(Sound::Type type) const { return m_names.value(type); }

void SoundManager::removeStoppedSources()
{
  for (auto it = m_playingSources.begin(); it != m_playingSources.end();)
  {
    ALint state = 0;
    alGetSourcei(*it, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED)
    {
      alDeleteSources(1, &*it);
      it = m_playingSources.erase(it);
    }
    else
      ++it;
  }
}
