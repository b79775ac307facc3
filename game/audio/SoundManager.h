#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <AL/alc.h>

class QIODevice;

namespace Sound
{
/// Index of a loaded sound; -1 means no sound.
using Type = int;
/// An OpenAL source name; 0 means no source.
using SourceId = unsigned int;

/// Resolves the sound names found in data files to sound types.
class NameTypeConverter
{
public:
  virtual Type Name2Type(const QString& name) const = 0;
  virtual QString Type2Name(Type type) const = 0;

protected:
  ~NameTypeConverter() = default;
};

/// The samples of a PCM WAV file as OpenAL takes them.
struct WaveData
{
  int channels = 0;
  int bitsPerSample = 0;
  int sampleRate = 0;
  QByteArray samples;
};

/// Reads a canonical RIFF/WAVE file: the "fmt " chunk directly followed by the
/// "data" chunk, 1 or 2 channels of 8 or 16 bits. False, with the reason in
/// \a error, for anything else; nothing is allocated beyond what the device holds.
bool ReadWave(QIODevice& device, WaveData& wave, QString& error);
} // namespace Sound

/// Plays the game's sound effects through OpenAL. Every WAV file of the sounds
/// directory is decoded once into a buffer; its type is its position in the
/// name order of the files that loaded, its name the lower-case base name.
/// Positions are in metres, y pointing down. Without a sound device the game
/// goes on silently: no names are known and nothing plays.
class SoundManager : public QObject, public Sound::NameTypeConverter
{
  Q_OBJECT

public:
  static const QString fileFilter;

  explicit SoundManager(QObject* parent = nullptr);
  ~SoundManager() override;

  /// Opens the audio device and loads the directory's sounds; call it once.
  void Init(const QString& soundsDirectory);

  /// Starts the sound at the position with the gain (OpenAL's AL_GAIN); a
  /// looping sound plays until StopSound. 0 when nothing was started.
  Sound::SourceId PlaySound(Sound::Type type, const QPointF& position, double gain, bool loop);
  /// Stops the source if it still exists and reclaims every stopped source.
  void StopSound(Sound::SourceId source);
  void MoveSoundSource(Sound::SourceId source, const QPointF& position);
  /// Puts the listener a stickman height above the position (at the player's head).
  void SetListenerPosition(const QPointF& position);
  void SetMasterVolume(double gain);

  Sound::Type Name2Type(const QString& name) const override;
  QString Type2Name(Sound::Type type) const override;

private:
  struct Device
  {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
  };

  bool openDevice();
  bool loadFile(const QString& path, unsigned int& buffer) const;
  void removeStoppedSources();

  Device m_device;
  QStringList m_names;
  QVector<unsigned int> m_buffers;
  QList<unsigned int> m_playingSources;
};
