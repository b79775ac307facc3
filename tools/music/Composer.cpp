#include "Composer.h"

#include "Loudness.h"

#include <algorithm>
#include <cmath>

using synth::Signal;

namespace music
{
namespace
{
constexpr double Pi = 3.14159265358979323846;

// xorshift: the same numbers on every platform.
class Random
{
public:
  explicit Random(std::uint32_t seed) : m_state(seed ? seed : 1) {}
  std::uint32_t next()
  {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  double uniform() { return next() / 4294967296.0; }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
  std::uint32_t m_state;
};

double midiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// A pitch is a scale index: 0 the tonic, 7 the tonic an octave up, -7 one down.
double pitchMidi(const TrackSpec& spec, int index)
{
  const int size = static_cast<int>(spec.mode.size());
  const int octave = index >= 0 ? index / size : -((-index + size - 1) / size);
  return spec.tonicMidi + 12 * octave + spec.mode[index - octave * size];
}

bool isChordTone(int index, int root)
{
  const int degree = ((index - root) % 7 + 7) % 7;
  return degree == 0 || degree == 2 || degree == 4;
}

struct Note
{
  double beat;   // from the start of the track
  double beats;  // sounding length
  int pitch;     // scale index
  double velocity;
};

struct Section
{
  char kind;
  int bars;
  double firstBeat;
  std::vector<int> chords;
};

// --- The score. ---

std::vector<Section> arrange(const TrackSpec& spec)
{
  std::vector<Section> sections;
  double beat = 0;
  for (char kind : spec.form)
  {
    Section section{kind, 8, beat, {}};
    switch (kind)
    {
    case 'I':
      section.bars = 4;
      section.chords.assign(spec.verse.begin(), spec.verse.begin() + 4);
      break;
    case 'A': section.chords = spec.verse; break;
    case 'B': section.chords = spec.bridge; break;
    default: // the outro comes home to the tonic and lets it ring for a bar more
      section.bars = 4;
      section.chords = {spec.verse[5], spec.verse[6], 0, 0};
      break;
    }
    sections.push_back(section);
    beat += section.bars * spec.beatsPerBar;
  }
  return sections;
}

// Rhythm cells of one bar, in beats; the last one of each list closes a phrase.
std::vector<std::vector<double>> cells(int beatsPerBar)
{
  if (beatsPerBar == 3)
    return {{2, 1}, {1, 1, 1}, {1.5, 0.5, 1}, {1, 2}, {0.5, 0.5, 1, 1}, {3}};
  return {{2, 1, 1}, {1, 1, 2}, {1, 1, 1, 1}, {1.5, 0.5, 2}, {1, 0.5, 0.5, 2}, {3, 1}, {4}};
}

// One four-bar phrase of the melody over the chords, starting near pitch and
// ending on a chord tone (on the tonic when it closes a section).
std::vector<Note> phrase(const TrackSpec& spec, const std::vector<int>& chords, int& pitch, bool closes, Random& random)
{
  const auto barCells = cells(spec.beatsPerBar);
  std::vector<Note> notes;
  int direction = random.below(2) ? 1 : -1;
  for (int bar = 0; bar < 4; ++bar)
  {
    const int root = chords[bar];
    const bool last = bar == 3;
    const std::vector<double>& cell = last ? barCells.back() : barCells[random.below(int(barCells.size()) - 1)];
    double at = bar * spec.beatsPerBar;
    for (std::size_t i = 0; i < cell.size(); ++i)
    {
      if (i == 0 || (last && i + 1 == cell.size()))
      {
        // Strong beats take the nearest chord tone, the phrase end the tonic.
        int best = pitch;
        for (int distance = 0; distance < 7; ++distance)
        {
          const int up = pitch + distance, down = pitch - distance;
          const bool upFits = closes && last ? (up % 7 == 0) : isChordTone(up, root);
          const bool downFits = closes && last ? (down % 7 == 0) : isChordTone(down, root);
          if (upFits || downFits)
          {
            best = upFits && downFits ? (random.below(2) ? up : down) : (upFits ? up : down);
            break;
          }
        }
        pitch = best;
      }
      else
      {
        // Between them the tune walks by steps, turning back at the edges of its range.
        if (pitch > 10 || (pitch > 4 && random.uniform() < 0.25))
          direction = -1;
        else if (pitch < 2 || random.uniform() < 0.25)
          direction = 1;
        pitch += direction * (random.uniform() < 0.75 ? 1 : 2);
      }
      const bool rest = i > 0 && !last && random.uniform() < 0.12;
      if (!rest)
        notes.push_back({at, cell[i], pitch, (i == 0 ? 0.9 : 0.7) + 0.1 * random.uniform()});
      at += cell[i];
    }
  }
  return notes;
}

std::vector<Note> melody(const TrackSpec& spec, const std::vector<Section>& sections)
{
  std::vector<Note> notes;
  for (const Section& section : sections)
  {
    if (section.kind != 'A' && section.kind != 'B')
      continue;
    // A section is the same tune every time it comes back: its own seed.
    Random random(spec.seed * 31 + static_cast<std::uint32_t>(section.kind));
    int pitch = section.kind == 'A' ? 4 : 6;
    const std::vector<int> first(section.chords.begin(), section.chords.begin() + 4);
    const std::vector<int> second(section.chords.begin() + 4, section.chords.end());
    std::vector<Note> question = phrase(spec, first, pitch, false, random);
    std::vector<Note> answer = phrase(spec, second, pitch, true, random);
    // The answer begins like the question where the chords allow, then finds its own way home.
    for (Note& note : answer)
      if (note.beat < 2 * spec.beatsPerBar)
        for (const Note& model : question)
          if (model.beat == note.beat && isChordTone(model.pitch, second[int(note.beat) / spec.beatsPerBar]))
            note.pitch = model.pitch;
    for (Note& note : question)
      notes.push_back({section.firstBeat + note.beat, note.beats, note.pitch, note.velocity});
    for (Note& note : answer)
      notes.push_back({section.firstBeat + 4 * spec.beatsPerBar + note.beat, note.beats, note.pitch, note.velocity});
  }
  return notes;
}

// Three chord tones close to the previous chord's (smooth voice leading).
std::vector<int> voicing(int root, const std::vector<int>& previous)
{
  std::vector<int> voices;
  for (int degree : {0, 2, 4})
  {
    int best = root + degree - 7;
    const int target = previous.empty() ? -3 + degree : previous[voices.size()];
    for (int candidate = root + degree - 14; candidate <= root + degree + 7; candidate += 7)
      if (std::abs(candidate - target) < std::abs(best - target))
        best = candidate;
    voices.push_back(best);
  }
  std::sort(voices.begin(), voices.end());
  return voices;
}

// --- The instruments: each note is a mono signal. ---

// A release of a few milliseconds at the end of every note keeps it from clicking.
Signal enveloped(Signal signal, double attack, double hold, double release)
{
  const std::size_t attackEnd = std::min(signal.size(), std::size_t(synth::samplesFor(attack)));
  const std::size_t holdEnd = std::min(signal.size(), std::size_t(synth::samplesFor(hold)));
  const std::size_t releaseEnd = std::min(signal.size(), std::size_t(synth::samplesFor(hold + release)));
  for (std::size_t i = 0; i < attackEnd; ++i)
    signal[i] *= 0.5 - 0.5 * std::cos(Pi * i / attackEnd);
  for (std::size_t i = std::max(holdEnd, attackEnd); i < releaseEnd; ++i)
    signal[i] *= 0.5 + 0.5 * std::cos(Pi * (i - holdEnd) / (releaseEnd - holdEnd));
  std::fill(signal.begin() + std::max(releaseEnd, attackEnd), signal.end(), 0.0);
  return signal;
}

// Harmonics of hz with the given gains, a vibrato that grows in after a moment.
Signal tone(double seconds, double hz, std::initializer_list<double> harmonics, double vibrato)
{
  Signal signal = synth::silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < signal.size(); ++i)
  {
    const double t = static_cast<double>(i) / synth::SampleRate;
    const double depth = vibrato > 0 ? vibrato * std::min(1.0, std::max(0.0, (t - 0.25) / 0.4)) : 0.0;
    phase += 2 * Pi * hz * (depth > 0 ? 1.0 + depth * std::sin(2 * Pi * 5.2 * t) : 1.0) / synth::SampleRate;
    // sin(n x) for every n from two sines: sin(n x) = 2 cos(x) sin((n - 1) x) - sin((n - 2) x).
    const double twiceCos = 2 * std::cos(phase);
    double previous = 0, current = std::sin(phase), sample = 0;
    for (double gain : harmonics)
    {
      sample += gain * current;
      const double next = twiceCos * current - previous;
      previous = current;
      current = next;
    }
    signal[i] = sample;
  }
  return signal;
}

Signal leadNote(Lead lead, double hz, double seconds, std::uint32_t seed)
{
  switch (lead)
  {
  case Lead::Flute:
  {
    Signal s = tone(seconds + 0.2, hz, {1.0, 0.22, 0.07}, 0.004);
    synth::add(s, synth::bandPass(synth::noise(seconds + 0.2, seed), hz * 2, hz * 2, 2.0), 0.05);
    return enveloped(std::move(s), 0.07, seconds, 0.2);
  }
  case Lead::Bells:
  {
    const double ring = std::max(seconds, 0.6) + 0.9;
    Signal s = synth::partials(ring, {{hz, 1.0, 0.9}, {hz * 2, 0.35, 0.45}, {hz * 3.01, 0.12, 0.25}, {hz * 4.2, 0.08, 0.12}});
    return enveloped(std::move(s), 0.004, ring - 0.3, 0.3);
  }
  case Lead::Reed:
  default:
  {
    Signal s = tone(seconds + 0.2, hz, {1.0, 0.0, 0.35, 0.0, 0.15, 0.0, 0.05}, 0.003);
    s = synth::lowPass(std::move(s), 2500, 2500);
    return enveloped(std::move(s), 0.05, seconds, 0.2);
  }
  }
}

Signal padNote(double hz, double seconds)
{
  Signal s = tone(seconds + 1.0, hz * 0.9985, {1.0, 0.5, 0.3, 0.2, 0.12}, 0.0);
  synth::add(s, tone(seconds + 1.0, hz * 1.0015, {1.0, 0.5, 0.3, 0.2, 0.12}, 0.0));
  s = synth::lowPass(std::move(s), 1100, 1100);
  return enveloped(std::move(s), 0.5, seconds, 1.0);
}

Signal pluckNote(double hz, double seconds, std::uint32_t seed)
{
  Signal s = synth::pluck(seconds + 0.6, hz, 0.997, seed);
  s = synth::lowPass(std::move(s), 3000, 3000);
  return enveloped(std::move(s), 0.003, seconds + 0.3, 0.3);
}

Signal bassNote(double hz, double seconds)
{
  Signal s = tone(seconds + 0.3, hz, {1.0, 0.35, 0.1}, 0.0);
  s = synth::decaying(std::move(s), 0.01, 1.2);
  return enveloped(std::move(s), 0.01, seconds, 0.3);
}

Signal kick()
{
  return enveloped(synth::decaying(synth::sine(0.35, 105, 45), 0.002, 0.11), 0.002, 0.3, 0.05);
}

Signal shaker(std::uint32_t seed)
{
  Signal s = synth::bandPass(synth::highPass(synth::noise(0.09, seed), 5000), 8000, 7000, 0.8);
  return enveloped(synth::decaying(std::move(s), 0.006, 0.022), 0.003, 0.08, 0.01);
}

Signal brush(std::uint32_t seed)
{
  Signal s = synth::bandPass(synth::noise(0.25, seed), 2500, 1800, 0.7);
  return enveloped(synth::decaying(std::move(s), 0.01, 0.07), 0.005, 0.22, 0.03);
}

// --- Mixing. ---

struct Mix
{
  Signal left, right;

  // pan from -1 (left) to 1 (right), equal power.
  void add(const Signal& source, double gain, double pan, double seconds)
  {
    const double angle = (pan + 1.0) * Pi / 4.0;
    synth::add(left, source, gain * std::cos(angle), std::max(0.0, seconds));
    synth::add(right, source, gain * std::sin(angle), std::max(0.0, seconds));
  }
};

// A small room (Schroeder: parallel combs, then all-passes), one per channel.
Signal room(const Signal& in, int spread)
{
  Signal wet(in.size(), 0.0);
  for (int delay : {1116, 1188, 1277, 1356})
  {
    std::vector<double> line(delay + spread, 0.0);
    double damped = 0;
    for (std::size_t i = 0; i < in.size(); ++i)
    {
      const std::size_t at = i % line.size();
      const double out = line[at];
      damped = 0.7 * out + 0.3 * damped;
      line[at] = in[i] + 0.8 * damped;
      wet[i] += 0.25 * out;
    }
  }
  for (int delay : {556, 441})
  {
    std::vector<double> line(delay + spread, 0.0);
    for (std::size_t i = 0; i < wet.size(); ++i)
    {
      const std::size_t at = i % line.size();
      const double buffered = line[at];
      line[at] = wet[i] + 0.5 * buffered;
      wet[i] = buffered - 0.5 * line[at];
    }
  }
  return wet;
}
} // namespace

Stereo Compose(const TrackSpec& spec)
{
  const double beat = 60.0 / spec.beatsPerMinute;
  const std::vector<Section> sections = arrange(spec);
  Random feel(spec.seed);
  const auto jitter = [&feel]() { return (feel.uniform() - 0.5) * 0.012; };
  Mix mix;
  // Room for the last chord to ring and the room to die away.
  const double seconds = (sections.back().firstBeat + sections.back().bars * spec.beatsPerBar) * beat + 1.5;
  mix.left.assign(synth::samplesFor(seconds), 0.0);
  mix.right.assign(synth::samplesFor(seconds), 0.0);

  for (const Note& note : melody(spec, sections))
    mix.add(leadNote(spec.lead, midiHz(pitchMidi(spec, note.pitch)), note.beats * beat * 0.92, feel.next()),
            0.30 * note.velocity, 0.1, note.beat * beat + jitter());

  std::vector<int> voices;
  int sectionIndex = 0;
  for (const Section& section : sections)
  {
    // The rhythm comes in after the intro, softly at first.
    const bool drums = section.kind != 'I';
    const bool fullDrums = drums && sectionIndex > 1;
    for (int bar = 0; bar < section.bars; ++bar)
    {
      const int root = section.chords[bar];
      const bool lastBar = section.kind == 'O' && bar == section.bars - 1;
      const bool ringing = section.kind == 'O' && bar >= section.bars - 2;
      if (lastBar)
        continue; // the final chord of the bar before rings through it
      const double start = (section.firstBeat + bar * spec.beatsPerBar) * beat;
      const double barSeconds = spec.beatsPerBar * beat * (ringing ? 2 : 1);
      voices = voicing(root, voices);

      const double bassHz = midiHz(pitchMidi(spec, root - 14));
      switch (spec.accompaniment)
      {
      case Accompaniment::Pad:
        for (int voice : voices)
          mix.add(padNote(midiHz(pitchMidi(spec, voice)), barSeconds * 0.95), 0.07, -0.35, start);
        mix.add(bassNote(bassHz, barSeconds * (ringing ? 1.0 : 0.48)), 0.26, 0.0, start + jitter());
        if (!ringing)
          mix.add(bassNote(midiHz(pitchMidi(spec, root - 10)), barSeconds * 0.45), 0.20, 0.0,
                  start + 2 * beat + jitter());
        break;
      case Accompaniment::Arpeggio:
      {
        const int pattern[] = {voices[0] - 7, voices[0], voices[1], voices[2], voices[1] + 7, voices[2], voices[1],
                               voices[0]};
        const int steps = ringing ? 1 : 2 * spec.beatsPerBar;
        for (int step = 0; step < steps; ++step)
          mix.add(pluckNote(midiHz(pitchMidi(spec, pattern[step % 8])), ringing ? barSeconds : beat * 1.2,
                            feel.next()),
                  step == 0 ? 0.16 : 0.11, -0.3, start + step * beat / 2 + jitter());
        mix.add(bassNote(bassHz, barSeconds * 0.9), 0.24, 0.0, start + jitter());
        break;
      }
      case Accompaniment::Waltz:
        mix.add(bassNote(bassHz, ringing ? barSeconds : beat * 0.9), 0.28, 0.0, start + jitter());
        for (int b = 1; b < spec.beatsPerBar && !ringing; ++b)
          for (int voice : voices)
            mix.add(pluckNote(midiHz(pitchMidi(spec, voice)), beat * 0.7, feel.next()), 0.075, -0.3,
                    start + b * beat + jitter());
        if (ringing)
          for (int voice : voices)
            mix.add(pluckNote(midiHz(pitchMidi(spec, voice)), barSeconds, feel.next()), 0.09, -0.3, start + beat);
        break;
      }

      if (!drums || ringing)
        continue;
      for (int eighth = 0; eighth < 2 * spec.beatsPerBar; ++eighth)
      {
        const double at = start + eighth * beat / 2 + jitter();
        mix.add(shaker(feel.next()), (eighth % 2 ? 0.05 : 0.08) * (0.85 + 0.3 * feel.uniform()), 0.45, at);
        if (!fullDrums || eighth % 2)
          continue;
        const int onBeat = eighth / 2;
        if (onBeat == 0 || (spec.beatsPerBar == 4 && onBeat == 2))
          mix.add(kick(), onBeat == 0 ? 0.30 : 0.18, 0.0, at);
        else
          mix.add(brush(feel.next()), 0.06, -0.2, at);
      }
    }
    ++sectionIndex;
  }

  // The same length on both sides, room to ring out, no rumble, faded edges.
  const std::size_t length = std::max(mix.left.size(), mix.right.size());
  mix.left.resize(length, 0.0);
  mix.right.resize(length, 0.0);
  Stereo track{mix.left, mix.right};
  const Signal wetLeft = room(mix.left, 0), wetRight = room(mix.right, 23);
  const std::size_t fadeIn = synth::samplesFor(0.05), fadeOut = synth::samplesFor(3.0);
  for (Signal* channel : {&track.left, &track.right})
  {
    const Signal& wet = channel == &track.left ? wetLeft : wetRight;
    for (std::size_t i = 0; i < length; ++i)
      (*channel)[i] += 0.22 * wet[i];
    *channel = synth::highPass(std::move(*channel), 30);
    for (std::size_t i = 0; i < fadeIn; ++i)
      (*channel)[i] *= static_cast<double>(i) / fadeIn;
    for (std::size_t i = 0; i < fadeOut; ++i)
      (*channel)[length - 1 - i] *= 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / fadeOut);
  }
  return track;
}

void Master(Stereo& track, double loudness, double peak)
{
  // Gain to the loudness, soften what passes the knee, and measure again: the
  // softening lowers the loudness a little, so twice is close enough.
  const double knee = 0.6 * peak;
  for (int pass = 0; pass < 3; ++pass)
  {
    const double gain = std::pow(10.0, (loudness - IntegratedLoudness({track.left, track.right})) / 20.0);
    for (Signal* channel : {&track.left, &track.right})
      for (double& sample : *channel)
      {
        const double x = sample * gain;
        const double magnitude = std::fabs(x);
        sample = magnitude <= knee ? x
                                   : std::copysign(knee + (peak - knee) * std::tanh((magnitude - knee) / (peak - knee)), x);
      }
  }
}
} // namespace music
