// brisvel-sounds OUTPUT_DIRECTORY: synthesises the game's sound effects into
// OUTPUT_DIRECTORY/<name>.wav (16-bit mono PCM, 44.1 kHz), replacing the WAV
// files already there. The same program always writes the same files. Levels
// and objects.xml refer to the sounds by these names; the game itself plays
// "page_turn", "axe_versus_tree" and "saw_versus_tree" by name. Names are lower
// case with underscores, the kind of sound first and then what makes it:
// footsteps_<ground> for every ground a level uses (a landing plays its ground's
// footsteps too), bounce_<material>, door_<event>, <thing>_<event>.

#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace synth;

namespace
{
constexpr double Pi = 3.14159265358979323846;

// A bell-shaped swell over the whole duration: rises and falls back to silence.
auto swell(double seconds)
{
  return [seconds](double t) { return std::pow(std::sin(Pi * std::min(t / seconds, 1.0)), 2); };
}

// --- Footsteps: soft, short, a little different for each ground. ---

Signal footstepsGrass()
{
  Signal s = silence(0.18);
  add(s, decaying(bandPass(noise(0.15, 11), 1800, 1400, 0.8), 0.006, 0.030));
  add(s, decaying(bandPass(noise(0.12, 12), 2600, 2000, 1.0), 0.004, 0.020), 0.5, 0.035);
  s = lowPass(std::move(s), 4000, 4000);
  add(s, decaying(sine(0.10, 95, 60), 0.003, 0.025), 0.6);
  finish(s, 0.30);
  return s;
}

// Sand gives under the foot: a soft, dull crunch with a little hiss of grains.
Signal footstepsSand()
{
  Signal s = silence(0.22);
  add(s, decaying(lowPass(noise(0.2, 15), 1200, 700, 0.7), 0.012, 0.045));
  add(s, decaying(bandPass(noise(0.16, 16), 3800, 3000, 0.9), 0.010, 0.030), 0.35, 0.02);
  add(s, decaying(sine(0.12, 80, 55), 0.006, 0.030), 0.4);
  finish(s, 0.28);
  return s;
}

Signal footstepsStone()
{
  Signal s = silence(0.15);
  add(s, decaying(sine(0.12, 130, 70), 0.002, 0.022), 0.8);
  add(s, decaying(lowPass(noise(0.10, 21), 700, 500), 0.002, 0.018), 0.5);
  add(s, decaying(highPass(noise(0.03, 22), 2500), 0.0005, 0.005), 0.25);
  finish(s, 0.35);
  return s;
}

Signal footstepsWood()
{
  Signal s = partials(0.20, {{180, 1.0, 0.045}, {410, 0.5, 0.025}, {830, 0.15, 0.012}});
  add(s, decaying(bandPass(noise(0.05, 31), 900, 900, 1.2), 0.001, 0.010), 0.4);
  finish(s, 0.35);
  return s;
}

// --- Water, bounces and impacts. ---

Signal splash()
{
  Signal s = silence(0.9);
  add(s, decaying(lowPass(noise(0.9, 41), 5000, 600, 0.9), 0.010, 0.220));
  add(s, decaying(highPass(noise(0.9, 42), 3000), 0.004, 0.060), 0.3);
  // Bubbles: short sines rising in pitch, here and there.
  const double bubbles[][3] = {{0.12, 380, 0.7}, {0.20, 520, 0.5}, {0.27, 450, 0.6}, {0.36, 640, 0.4},
                               {0.45, 560, 0.35}, {0.57, 720, 0.25}};
  for (const auto& bubble : bubbles)
    add(s, decaying(sine(0.06, bubble[1], bubble[1] * 1.6), 0.003, 0.015), bubble[2] * 0.4, bubble[0]);
  finish(s, 0.55);
  return s;
}

Signal bounce()
{
  Signal s = decaying(sine(0.25, 140, 60), 0.002, 0.050);
  add(s, decaying(lowPass(noise(0.15, 51), 450, 300), 0.001, 0.025), 0.6);
  finish(s, 0.45);
  return s;
}

Signal bounceSoft()
{
  Signal s = decaying(sine(0.18, 90, 70), 0.004, 0.035);
  add(s, decaying(lowPass(noise(0.15, 61), 280, 200), 0.003, 0.030), 0.8);
  finish(s, 0.35);
  return s;
}

Signal bounceWood()
{
  Signal s = partials(0.30, {{320, 1.0, 0.070}, {760, 0.55, 0.040}, {1510, 0.25, 0.020}});
  add(s, decaying(bandPass(noise(0.05, 71), 2000, 2000, 1.0), 0.0005, 0.006), 0.5);
  finish(s, 0.45);
  return s;
}

Signal bounceMetal()
{
  // Inharmonic partials: a clank rather than a note.
  Signal s = partials(0.9, {{587, 0.9, 0.35}, {1389, 0.7, 0.22}, {2210, 0.5, 0.16}, {3471, 0.35, 0.10}, {4620, 0.2, 0.07}});
  add(s, decaying(highPass(noise(0.03, 81), 3000), 0.0005, 0.004), 0.6);
  finish(s, 0.40);
  return s;
}

// --- Weapons. ---

Signal swing()
{
  Signal s = shaped(bandPass(noise(0.35, 91), 600, 2400, 2.0), swell(0.35));
  add(s, shaped(bandPass(noise(0.35, 92), 1200, 3600, 3.0), swell(0.30)), 0.4);
  finish(s, 0.40);
  return s;
}

Signal heavySwing()
{
  Signal s = shaped(bandPass(noise(0.55, 101), 300, 1100, 1.6), swell(0.55));
  add(s, shaped(lowPass(noise(0.55, 102), 400, 250), swell(0.5)), 0.5);
  finish(s, 0.45);
  return s;
}

// A gunshot: a sharp crack, the bang's body, a low boom and a short room tail.
Signal shot(double seconds, double boomHz, double bodyDecay, double tailDecay, std::uint32_t seed)
{
  Signal s = silence(seconds);
  add(s, decaying(highPass(noise(0.05, seed), 1500), 0.0003, 0.006), 1.0);
  add(s, decaying(lowPass(noise(seconds, seed + 1), 2800, 900), 0.0005, bodyDecay), 0.9);
  add(s, decaying(sine(seconds, boomHz, boomHz * 0.55), 0.001, bodyDecay * 1.4), 0.8);
  add(s, decaying(lowPass(noise(seconds, seed + 2), 900, 500), 0.015, tailDecay), 0.12);
  return s;
}

Signal pistolShot()
{
  Signal s = shot(0.6, 85, 0.050, 0.180, 111);
  finish(s, 0.85);
  return s;
}

Signal rifleShot()
{
  Signal s = shot(1.0, 62, 0.080, 0.350, 121);
  finish(s, 0.90);
  return s;
}

Signal burst()
{
  Signal s = silence(0.75);
  for (int i = 0; i < 4; ++i)
    add(s, shot(0.45, 95 - 4 * i, 0.035, 0.120, 131 + 10 * i), 1.0 - 0.08 * i, 0.075 * i);
  finish(s, 0.85);
  return s;
}

Signal explosion()
{
  Signal s = silence(2.0);
  add(s, decaying(lowPass(noise(2.0, 141), 3500, 120, 0.9), 0.004, 0.45));
  add(s, decaying(sine(1.2, 58, 26), 0.003, 0.35), 1.2);
  // Crackling debris.
  Signal crackle = noise(1.2, 142);
  const Signal dust = noise(1.2, 143);
  for (std::size_t i = 0; i < crackle.size(); ++i)
    crackle[i] *= dust[i] > 0.985 ? 1.0 : 0.0;
  add(s, decaying(bandPass(crackle, 2500, 1200, 0.8), 0.05, 0.30), 0.6, 0.08);
  finish(s, 0.90);
  return s;
}

// --- Other items. ---

Signal eating()
{
  Signal s = silence(0.65);
  const double bites[][2] = {{0.00, 1.0}, {0.11, 0.7}, {0.26, 0.9}, {0.37, 0.55}, {0.50, 0.4}};
  std::uint32_t seed = 151;
  for (const auto& bite : bites)
  {
    // A crunch: a burst of grainy, band-limited noise.
    Signal grains = noise(0.09, seed++);
    const Signal keep = noise(0.09, seed++);
    for (std::size_t i = 0; i < grains.size(); ++i)
      grains[i] *= keep[i] > 0.6 ? 1.0 : 0.15;
    add(s, decaying(bandPass(grains, 2400, 1600, 0.7), 0.002, 0.025), bite[1], bite[0]);
    add(s, decaying(sine(0.06, 160, 110), 0.003, 0.015), 0.3 * bite[1], bite[0]);
  }
  finish(s, 0.40);
  return s;
}

Signal guitar()
{
  // A downward strum of G major, string by string.
  const double strings[] = {98.00, 123.47, 146.83, 196.00, 246.94, 392.00};
  Signal s = silence(1.6);
  for (int i = 0; i < 6; ++i)
    add(s, pluck(1.6, strings[i], 0.998, 161 + i), 1.0 - 0.06 * i, 0.014 * i);
  s = shaped(lowPass(std::move(s), 4500, 4500), [](double t) { return t < 1.0 ? 1.0 : std::exp(-(t - 1.0) / 0.12); });
  finish(s, 0.55);
  return s;
}

// Rotor blades chopping the air over a drone; chopHz glides. For the loop, one
// second holds whole numbers of chops and drone periods, so it repeats seamlessly.
Signal rotor(double seconds, double startChopHz, double endChopHz, double droneHz, std::uint32_t seed)
{
  Signal air = lowPass(noise(seconds, seed), 500, 500, 0.9);
  Signal blade = bandPass(noise(seconds, seed + 1), 1600, 1600, 2.0);
  Signal s = silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i)
  {
    const double t = static_cast<double>(i) / SampleRate;
    const double chopHz = startChopHz * std::pow(endChopHz / startChopHz, t / seconds);
    const double chop = std::pow(std::sin(phase), 4);
    phase += Pi * chopHz / SampleRate;
    s[i] = chop * (air[i] + 0.25 * blade[i]);
  }
  add(s, sine(seconds, droneHz, droneHz), 0.25);
  add(s, sine(seconds, 2 * droneHz, 2 * droneHz), 0.12);
  return s;
}

Signal helicopterEngine()
{
  Signal s = rotor(1.0, 12, 12, 48, 171);
  finish(s, 0.45, Ending::Loop);
  return s;
}

Signal helicopterStop()
{
  Signal s = shaped(rotor(2.0, 12, 3, 48, 181), [](double t) { return std::exp(-t / 0.7); });
  finish(s, 0.40);
  return s;
}

// --- Doors. ---

Signal doorOpen()
{
  // A creak: a hinge sticking and slipping at an unsteady, rising rate, ringing in the wood.
  Signal pulses = silence(0.9);
  const Signal wobble = lowPass(noise(0.9, 191), 6, 6);
  double phase = 0;
  for (std::size_t i = 0; i < pulses.size(); ++i)
  {
    const double t = static_cast<double>(i) / SampleRate;
    phase += std::max(20.0, 70 + 60 * t + 1500 * wobble[i]) / SampleRate;
    if (phase >= 1)
    {
      phase -= 1;
      pulses[i] = 1;
    }
  }
  Signal s = shaped(bandPass(pulses, 1100, 1300, 4.0), swell(0.9));
  add(s, shaped(bandPass(pulses, 2500, 2900, 6.0), swell(0.8)), 0.5);
  add(s, decaying(highPass(noise(0.03, 192), 2000), 0.0005, 0.005), 0.02); // the latch
  finish(s, 0.40);
  return s;
}

Signal doorClose()
{
  Signal s = silence(0.5);
  add(s, decaying(highPass(noise(0.03, 201), 2500), 0.0005, 0.005), 0.5);
  add(s, decaying(sine(0.4, 95, 55), 0.002, 0.080), 1.0, 0.012);
  add(s, partials(0.4, {{210, 0.6, 0.060}, {470, 0.3, 0.035}}), 1.0, 0.012);
  finish(s, 0.55);
  return s;
}

Signal doorHit()
{
  Signal s = decaying(sine(0.45, 115, 80), 0.002, 0.090);
  add(s, partials(0.45, {{240, 0.8, 0.070}, {560, 0.4, 0.040}, {1130, 0.15, 0.020}}));
  add(s, decaying(lowPass(noise(0.2, 211), 1500, 800), 0.001, 0.030), 0.6);
  finish(s, 0.70);
  return s;
}

Signal doorSmash()
{
  Signal s = silence(1.3);
  add(s, decaying(highPass(noise(0.2, 221), 800), 0.0005, 0.040), 1.0);
  add(s, decaying(sine(0.8, 90, 45), 0.002, 0.150), 1.0);
  // Splinters and planks landing.
  const double pieces[][3] = {{0.05, 310, 0.7}, {0.14, 520, 0.5}, {0.22, 410, 0.6}, {0.35, 650, 0.35},
                              {0.47, 280, 0.4}, {0.62, 730, 0.2}};
  for (const auto& piece : pieces)
    add(s, partials(0.3, {{piece[1], 1.0, 0.05}, {piece[1] * 2.3, 0.4, 0.03}}), piece[2] * 0.6, piece[0]);
  add(s, decaying(bandPass(noise(1.0, 222), 2000, 1200, 0.8), 0.01, 0.25), 0.25, 0.03);
  finish(s, 0.80);
  return s;
}

// --- Scenery and transitions. ---

Signal pageTurn()
{
  // Paper sliding (bright, fluttering noise), then the page landing.
  const Signal flutter = lowPass(noise(0.5, 231), 25, 25);
  Signal s = shaped(bandPass(highPass(noise(0.45, 232), 1500), 2500, 6000, 0.7), swell(0.42));
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] *= 0.6 + 8 * std::fabs(flutter[i]);
  add(s, decaying(lowPass(noise(0.12, 233), 600, 400), 0.003, 0.030), 0.35, 0.36);
  finish(s, 0.35);
  return s;
}

Signal axeVersusTree()
{
  Signal s = partials(0.5, {{180, 1.0, 0.090}, {420, 0.6, 0.050}, {870, 0.3, 0.025}});
  add(s, decaying(bandPass(noise(0.1, 241), 1200, 1000, 1.0), 0.001, 0.025), 0.7);
  add(s, decaying(highPass(noise(0.02, 242), 3000), 0.0003, 0.004), 0.5);
  finish(s, 0.70);
  return s;
}

Signal sawVersusTree()
{
  // Two strokes, forth and back; the teeth bite 90 times a second.
  const double stroke = 0.55;
  Signal s = silence(2 * stroke);
  for (int i = 0; i < 2; ++i)
  {
    Signal rasp = bandPass(noise(stroke, 251 + i), 3300, 3000, 1.5);
    add(rasp, bandPass(noise(stroke, 261 + i), 900, 800, 1.2), 0.5);
    rasp = shaped(std::move(rasp), [stroke](double t) {
      return std::pow(std::sin(Pi * t / stroke), 2) * (0.35 + 0.65 * std::fabs(std::sin(Pi * 90 * t)));
    });
    add(s, rasp, i == 0 ? 1.0 : 0.8, i * stroke);
  }
  finish(s, 0.45);
  return s;
}

struct SoundRecipe
{
  const char* name;
  Signal (*make)();
};

const SoundRecipe Sounds[] = {
    {"footsteps_grass", footstepsGrass},
    {"footsteps_sand", footstepsSand},
    {"footsteps_stone", footstepsStone},
    {"footsteps_wood", footstepsWood},
    {"splash", splash},
    {"bounce", bounce},
    {"bounce_soft", bounceSoft},
    {"bounce_wood", bounceWood},
    {"bounce_metal", bounceMetal},
    {"swing", swing},
    {"heavy_swing", heavySwing},
    {"pistol_shot", pistolShot},
    {"rifle_shot", rifleShot},
    {"burst", burst},
    {"explosion", explosion},
    {"eating", eating},
    {"guitar", guitar},
    {"helicopter_engine", helicopterEngine},
    {"helicopter_stop", helicopterStop},
    {"door_open", doorOpen},
    {"door_close", doorClose},
    {"door_hit", doorHit},
    {"door_smash", doorSmash},
    {"page_turn", pageTurn},
    {"axe_versus_tree", axeVersusTree},
    {"saw_versus_tree", sawVersusTree},
};
} // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
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
  // The directory holds exactly these sounds: a renamed one leaves no stale file behind.
  for (const auto& entry : std::filesystem::directory_iterator(directory, error))
    if (entry.path().extension() == ".wav")
      std::filesystem::remove(entry.path(), error);
  for (const SoundRecipe& sound : Sounds)
  {
    const std::string path = (directory / (std::string(sound.name) + ".wav")).string();
    if (!writeWave(path, sound.make()))
    {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}
