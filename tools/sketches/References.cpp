#include "References.h"

#include "Drawings.h"
#include "Pencil.h"
#include "Random.h"

#include "InputProtocol.h"

#include "common/Direction.h"
#include "common/ImageOperations.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/SignatureScreen.h"

#include <QGraphicsPathItem>

#include <QVector>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
struct Pose
{
  Direction direction;
  double weight;
};

struct Recipe
{
  const char* name;
  void (*draw)(Pencil&);
  int count;
  /// Directions the drawing is made to point in; none for upright objects.
  QVector<Pose> poses;
  bool gameplay = true;
  /// How far, in degrees, a drawing may turn away from its direction.
  double tilt = 12;
  /// Drawn in no set shape, so its references are chosen as varied as a prop's.
  bool shapeless = false;
};

/// Candidates drawn per reference kept.
constexpr int Pool = 3;
/// How far a hand bends a drawing, as a share of its extent each way.
constexpr double Bend = 0.05;

// How often people draw each object pointing each way.
const QVector<Pose> Blades = {{Up, 6}, {UpRight, 1.5}, {UpLeft, 1.5}, {Right, 0.5}, {Left, 0.3}, {Down, 0.7}};
const QVector<Pose> Hafted = {{Up, 6}, {UpRight, 1}, {UpLeft, 1}, {Right, 0.3}};
const QVector<Pose> Firearms = {{Right, 4}, {Left, 3}, {UpRight, 0.5}, {DownRight, 0.3}, {UpLeft, 0.3}};
const QVector<Pose> Keys = {{Right, 2}, {Left, 1.5}, {Up, 2.5}, {Down, 2.5}, {UpRight, 0.7}, {DownRight, 0.7}, {UpLeft, 0.5}, {DownLeft, 0.5}};
const QVector<Pose> Necks = {{Up, 2}, {UpRight, 2}, {UpLeft, 1.5}, {Right, 2}, {Left, 1.5}};
const QVector<Pose> Tools = {{Right, 4}, {Left, 3}, {UpRight, 0.7}, {DownRight, 0.7}};
const QVector<Pose> Legs = {{UpRight, 2}, {Right, 1.5}, {UpLeft, 1.5}, {Left, 1}, {Up, 1}, {DownRight, 0.5}};
const QVector<Pose> Aircraft = {{Right, 1}, {Left, 1}};

const QVector<Recipe>& recipes()
{
  using namespace drawings;
  static const QVector<Recipe> all = {
    {"spear", Spear, 45, {{Up, 2}, {UpRight, 2}, {Right, 2}, {Left, 1}, {UpLeft, 1}}},
    {"axe", Axe, 60, Hafted},
    {"pollaxe", Pollaxe, 30, Hafted},
    {"sabre", Sabre, 30, Blades},
    {"sword", Sword, 60, Blades},
    {"submachine_gun", SubmachineGun, 45, Firearms, true, 10}, // held level
    {"assault_rifle", AssaultRifle, 60, Firearms, true, 10},
    {"pistol", Pistol, 45, Firearms, true, 10},
    {"teddybear", Teddybear, 60, {}},
    {"flower", Flower, 60, {}},
    {"mushroom", Mushroom, 60, {}},
    {"meat", Meat, 60, {}, true, 12, true}, // every steak is a different slab
    {"ham", Ham, 36, Legs},
    {"apple", Apple, 60, {}},
    {"guitar", Guitar, 60, Necks},
    {"shield", Shield, 45, {}},
    {"key", Key, 60, Keys, true, 10},
    {"sun", Sun, 60, {}},
    {"parachute", Parachute, 60, {}},
    {"bomb", Bomb, 45, {}},
    {"saw", Saw, 60, Tools, true, 10},
    {"helicopter", Helicopter, 60, Aircraft, true, 8}, // drawn level
    {"box", Box, 36, {}, false},
    {"ball", Ball, 36, {}, false},
    {"plank", Plank, 36, {}, false},
    {"rock", Rock, 36, {}, false},
    {"wheel", Wheel, 36, {}, false},
    {"house", House, 45, {}, false},
    {"tree", Tree, 21, {}, false},
    {"car", Car, 36, {}, false},
    {"fish", Fish, 36, {}, false},
    {"star", Star, 36, {}, false},
    {"heart", Heart, 36, {}, false},
    {"cloud", Cloud, 36, {}, false},
    {"face", Face, 36, {}, false},
    {"bird", Bird, 36, {}, false},
    {"boat", Boat, 36, {}, false},
    {"cup", Cup, 36, {}, false},
    {"screen", Screen, 36, {}, false},
    {"glass", Glass, 36, {}, false},
    {"octopus", Octopus, 36, {}, false},
    {"ear", Ear, 36, {{Right, 1}, {Left, 1}}, false, 10},
    {"bottle", Bottle, 45, {}, false},
    {"cat", Cat, 36, {}, false},
    {"snake", Snake, 36, {}, false},
    {"airplane", Airplane, 36, {}, false},
    {"clock", Clock, 21, {}, false},
    {"chair", Chair, 21, {}, false},
    {"lamp", Lamp, 36, {}, false},
    {"hat", Hat, 45, {}, false},
    {"shirt", Shirt, 21, {}, false},
    {"glasses", Glasses, 36, {}, false},
    {"phone", Phone, 36, {}, false},
    {"book", Book, 36, {}, false},
    {"bed", Bed, 21, {}, false},
    {"bicycle", Bicycle, 36, {}, false},
    {"envelope", Envelope, 45, {}, false},
    {"mountain", Mountain, 36, {}, false},
    {"waves", Waves, 36, {}, false},
    {"spiral", Spiral, 36, {}, false},
    {"truck", Truck, 45, {}, false},
    {"bus", Bus, 36, {}, false},
    {"train", Train, 36, {}, false},
    {"animal", Animal, 36, {}, false},
    {"duck", Duck, 45, {}, false},
    {"flute", Flute, 36, {{Right, 2}, {Left, 1}, {Up, 1}, {Down, 2}, {UpRight, 2}, {UpLeft, 2}, {DownRight, 1}, {DownLeft, 1}}, false},
    {"boomerang", Boomerang, 36, {{Right, 3}, {Left, 2}, {Up, 1}, {Down, 1}, {UpRight, 1}, {UpLeft, 1}, {DownRight, 1}, {DownLeft, 1}}, false},
    {"windmill", Windmill, 36, {}, false},
  };
  return all;
}

quint64 nameHash(const char* name)
{
  quint64 hash = 14695981039346656037ull; // FNV-1a
  for (; *name; ++name)
    hash = (hash ^ static_cast<unsigned char>(*name)) * 1099511628211ull;
  return hash;
}

Direction pickDirection(const QVector<Pose>& poses, Random& random)
{
  double total = 0;
  for (const Pose& pose : poses)
    total += pose.weight;
  double at = random.Uniform(0, total);
  for (const Pose& pose : poses)
  {
    at -= pose.weight;
    if (at < 0)
      return pose.direction;
  }
  return poses.last().direction;
}
struct Candidate
{
  int recipe;
  QString suffix;
  QList<QPolygonF> strokes;
  std::unique_ptr<qel::MonochromeImageInfo> signature;
};

Candidate drawCandidate(const Recipe& recipe, int index, Random& random)
{
  Pencil pencil(random, Bend);
  recipe.draw(pencil);
  Candidate candidate{index, QString(), {}, nullptr};
  double degrees = 0.0;
  bool flipped = false;
  if (recipe.poses.isEmpty())
  {
    degrees = random.Uniform(-7, 7);
    if (random.Chance(0.5)) // seen from the other side
    {
      flipped = true;
      degrees += 180;
    }
  }
  else
  {
    const Direction direction = pickDirection(recipe.poses, random);
    candidate.suffix = '_' + Direction2String(direction);
    degrees = Direction2Degrees(direction) + random.Uniform(-recipe.tilt, recipe.tilt);
    // Keep the object's upper side up; straight up or down either side may show.
    const double x = std::cos(Direction2Angle(direction));
    flipped = x < -0.1 || (std::abs(x) < 0.1 && random.Chance(0.5));
  }
  const double size = random.Uniform(150, 260);
  const double aspect = random.Uniform(0.8, 1.25);
  // Judged as the reference file will hold it: in whole pixels (rounding can
  // turn a thin drawing into one that has no signature).
  for (QPolygonF& stroke : pencil.Finish(size, aspect, flipped, degrees))
  {
    for (QPointF& point : stroke)
      point = QPointF(qRound(point.x()), qRound(point.y()));
    candidate.strokes << stroke;
  }
  const auto drawing = MakeDrawing(candidate.strokes);
  candidate.signature.reset(qel::CalculateMonochromeImageInfo(PathItemToImage(drawing.get(), 1.0)));
  return candidate;
}

/// Whether the candidate most alike each candidate shows the same object.
QVector<bool> likeTheirOwn(const std::vector<Candidate>& candidates)
{
  const int count = static_cast<int>(candidates.size());
  // The screen rules out most candidates at once; differences are symmetric,
  // so it can tell for either side.
  qel::SignatureScreen screen;
  QVector<int> screened(count, -1);
  for (int j = 0; j < count; ++j)
  {
    if (candidates[j].signature)
    {
      screened[j] = screen.GetCount();
      screen.Add(*candidates[j].signature);
    }
  }
  QVector<bool> result(count, false);
  for (int i = 0; i < count; ++i)
  {
    if (!candidates[i].signature)
      continue;
    const qel::SignatureScreen::Probe probe = screen.Prepare(*candidates[i].signature);
    double best = qel::NoCommonGridDifference;
    int nearest = -1;
    for (int j = 0; j < count; ++j)
    {
      if (j == i || screened[j] < 0 || screen.Exceeds(screened[j], probe, best))
        continue;
      const double d = qel::MonochromeImagesDifference(*candidates[i].signature, *candidates[j].signature, best);
      if (d < best)
      {
        best = d;
        nearest = j;
      }
    }
    result[i] = nearest >= 0 && candidates[nearest].recipe == candidates[i].recipe;
  }
  return result;
}

/// \a order regrouped object by object, the candidates of each prop and each
/// shapeless object ordered so that every next one is the least like those
/// before it.
QVector<int> spreadOut(const std::vector<Candidate>& candidates, const QVector<int>& order)
{
  QVector<int> spread;
  for (int recipe = 0; recipe < recipes().size(); ++recipe)
  {
    QVector<int> pool;
    for (int i : order)
    {
      if (candidates[i].recipe == recipe)
        pool << i;
    }
    if (pool.isEmpty())
      continue;
    // Props and shapeless objects spread out to catch whatever people draw; the
    // other gameplay objects keep the generator's mix, as the outliers of a
    // spread would be what nobody draws.
    if (recipes()[recipe].gameplay && !recipes()[recipe].shapeless)
    {
      spread << pool;
      continue;
    }
    QVector<double> distance(pool.size(), qel::NoCommonGridDifference);
    int next = 0;
    while (next >= 0)
    {
      const int chosen = pool[next];
      spread << chosen;
      distance[next] = -1; // taken
      next = -1;
      for (int k = 0; k < pool.size(); ++k)
      {
        if (distance[k] < 0)
          continue;
        distance[k] = std::min(distance[k], qel::MonochromeImagesDifference(*candidates[pool[k]].signature, *candidates[chosen].signature));
        if (next < 0 || distance[k] > distance[next])
          next = k;
      }
    }
  }
  return spread;
}
} // namespace

QList<Sketch> GenerateReferences(quint64 seed)
{
  // Pool times as many candidates as needed. Those that look more like another
  // object's candidate than like their own are dropped; of the others, each
  // object keeps the most varied.
  std::vector<Candidate> candidates;
  for (int r = 0; r < recipes().size(); ++r)
  {
    const Recipe& recipe = recipes()[r];
    // Each object its own numbers, so that changing one leaves the others be.
    Random random(seed ^ nameHash(recipe.name));
    for (int i = 0; i < Pool * recipe.count; ++i)
      candidates.push_back(drawCandidate(recipe, r, random));
  }

  const QVector<bool> typical = likeTheirOwn(candidates);
  QVector<int> order;
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i)
  {
    if (typical[i])
      order << i;
  }
  order = spreadOut(candidates, order);
  QVector<int> kept(recipes().size(), 0);
  QList<Sketch> references;
  for (int i : order)
  {
    const Candidate& candidate = candidates[i];
    const Recipe& recipe = recipes()[candidate.recipe];
    if (kept[candidate.recipe] == recipe.count)
      continue;
    ++kept[candidate.recipe];
    Sketch sketch;
    sketch.word = QString::fromLatin1(recipe.name) + QString::number(kept[candidate.recipe]) + candidate.suffix;
    sketch.strokes = candidate.strokes;
    references << sketch;
  }
  return references;
}

QStringList GameplayObjectNames()
{
  QStringList names;
  for (const Recipe& recipe : recipes())
  {
    if (recipe.gameplay)
      names << QString::fromLatin1(recipe.name);
  }
  return names;
}
