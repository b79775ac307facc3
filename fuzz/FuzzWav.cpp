// Feeds arbitrary bytes to the WAV reader as if they were a sound file.

#include "audio/SoundManager.h"

#include <QBuffer>

#include <climits>
#include <cstdlib>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size > INT_MAX)
    return 0;
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<int>(size));
  QBuffer device;
  device.setData(bytes);
  device.open(QIODevice::ReadOnly);
  Sound::WaveData wave;
  QString error;
  if (Sound::ReadWave(device, wave, error) && wave.samples.size() > device.size())
    std::abort();
  return 0;
}
