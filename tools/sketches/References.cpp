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
    {"spear", Spear, 30, {{Up, 2}, {UpRight, 2}, {Right, 2}, {Left, 1}, {UpLeft, 1}}},
    {"axe", Axe, 40, Hafted},
    {"pollaxe", Pollaxe, 20, Hafted},
    {"sabre", Sabre, 20, Blades},
    {"sword", Sword, 40, Blades},
    {"submachine_gun", SubmachineGun, 30, Firearms, true, 10}, // held level
    {"assault_rifle", AssaultRifle, 40, Firearms, true, 10},
    {"pistol", Pistol, 30, Firearms, true, 10},
    {"teddybear", Teddybear, 40, {}},
    {"flower", Flower, 40, {}},
    {"mushroom", Mushroom, 40, {}},
    {"meat", Meat, 40, {}, true, 12, true}, // every steak is a different slab
    {"ham", Ham, 24, Legs},
    {"apple", Apple, 40, {}},
    {"guitar", Guitar, 40, Necks},
    {"shield", Shield, 30, {}},
    {"key", Key, 40, Keys, true, 10},
    {"sun", Sun, 40, {}},
    {"parachute", Parachute, 40, {}},
    {"bomb", Bomb, 30, {}},
    {"saw", Saw, 40, Tools, true, 10},
    {"helicopter", Helicopter, 40, Aircraft, true, 8}, // drawn level
    {"box", Box, 24, {}, false},
    {"ball", Ball, 24, {}, false},
    {"plank", Plank, 24, {}, false},
    {"rock", Rock, 24, {}, false},
    {"wheel", Wheel, 24, {}, false},
    {"house", House, 30, {}, false},
    {"tree", Tree, 14, {}, false},
    {"car", Car, 24, {}, false},
    {"fish", Fish, 24, {}, false},
    {"star", Star, 24, {}, false},
    {"heart", Heart, 24, {}, false},
    {"cloud", Cloud, 24, {}, false},
    {"face", Face, 24, {}, false},
    {"bird", Bird, 24, {}, false},
    {"boat", Boat, 24, {}, false},
    {"cup", Cup, 24, {}, false},
    {"screen", Screen, 24, {}, false},
    {"glass", Glass, 24, {}, false},
    {"octopus", Octopus, 24, {}, false},
    {"ear", Ear, 24, {{Right, 1}, {Left, 1}}, false, 10},
    {"bottle", Bottle, 30, {}, false},
    {"cat", Cat, 24, {}, false},
    {"snake", Snake, 24, {}, false},
    {"airplane", Airplane, 24, {}, false},
    {"clock", Clock, 14, {}, false},
    {"chair", Chair, 14, {}, false},
    {"lamp", Lamp, 24, {}, false},
    {"hat", Hat, 30, {}, false},
    {"shirt", Shirt, 14, {}, false},
    {"glasses", Glasses, 24, {}, false},
    {"phone", Phone, 24, {}, false},
    {"book", Book, 24, {}, false},
    {"bed", Bed, 14, {}, false},
    {"bicycle", Bicycle, 24, {}, false},
    {"envelope", Envelope, 30, {}, false},
    {"mountain", Mountain, 24, {}, false},
    {"waves", Waves, 24, {}, false},
    {"spiral", Spiral, 24, {}, false},
    {"truck", Truck, 30, {}, false},
    {"bus", Bus, 24, {}, false},
    {"train", Train, 24, {}, false},
    {"animal", Animal, 24, {}, false},
    {"duck", Duck, 30, {}, false},
    {"flute", Flute, 24, {{Right, 2}, {Left, 1}, {Up, 1}, {Down, 2}, {UpRight, 2}, {UpLeft, 2}, {DownRight, 1}, {DownLeft, 1}}, false},
    {"boomerang", Boomerang, 24, {{Right, 3}, {Left, 2}, {Up, 1}, {Down, 1}, {UpRight, 1}, {UpLeft, 1}, {DownRight, 1}, {DownLeft, 1}}, false},
    {"windmill", Windmill, 24, {}, false},
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
