// brisvel-music OUTPUT_DIRECTORY [--wav]: composes the game's music tracks and
// encodes each as OUTPUT_DIRECTORY/<name>.aac (AAC in ADTS, the files the game
// plays) with ffmpeg; --wav writes the 16-bit stereo WAV files instead. The same
// program always writes the same music.

#include "Loudness.h"
#include "Tracks.h"

#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace
{
// About the level of other games' and streamed music, with room for the encoder's overshoot.
constexpr double LoudnessLufs = -16.0;
constexpr double PeakLevel = 0.85;

bool encode(const std::string& wave, const std::string& aac)
{
  std::vector<std::string> arguments{"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", wave, "-c:a", "aac",
                                     "-b:a", "160k", "-bitexact", "-map_metadata", "-1", "-f", "adts", aac};
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

int main(int argc, char** argv)
{
  const bool wavOnly = argc == 3 && std::string(argv[2]) == "--wav";
  if (argc != 2 && !wavOnly)
  {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY [--wav]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error)
  {
    std::fprintf(stderr, "%s: cannot create %s: %s\n", argv[0], argv[1], error.message().c_str());
    return 1;
  }
  for (const music::TrackSpec& spec : music::Tracks())
  {
    music::Stereo track = music::Compose(spec);
    music::Master(track, LoudnessLufs, PeakLevel);
    const std::string wave = (directory / (spec.name + ".wav")).string();
    if (!synth::writeWave(wave, {track.left, track.right}))
    {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], wave.c_str());
      return 1;
    }
    if (wavOnly)
      continue;
    const std::string aac = (directory / (spec.name + ".aac")).string();
    const bool encoded = encode(wave, aac);
    std::filesystem::remove(wave, error);
    if (!encoded)
    {
      std::fprintf(stderr, "%s: ffmpeg could not encode %s\n", argv[0], aac.c_str());
      return 1;
    }
  }
  return 0;
}
