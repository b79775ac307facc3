#include "References.h"

#include "Drawings.h"
#include "Pencil.h"
#include "Random.h"

#include "InputProtocol.h"

#include "common/Direction.h"
#include "common/ImageOperations.h"
#include "qel/MonochromeImageInfo.h"
#include "qel/MonochromeImageInfoExtractor.h"

#include <QGraphicsPathItem>

#include <QVector>

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
};

constexpr quint64 Seed = 20240611;

// How often people draw each object pointing each way.
const QVector<Pose> Blades = {{Up, 3}, {UpRight, 2}, {UpLeft, 1.5}, {Right, 1.5}, {Left, 0.7}, {Down, 0.5}, {DownRight, 0.4}};
const QVector<Pose> Hafted = {{Up, 4}, {UpRight, 1.5}, {UpLeft, 1.5}, {Right, 0.7}, {Left, 0.4}};
const QVector<Pose> Firearms = {{Right, 4}, {Left, 3}, {UpRight, 0.5}, {DownRight, 0.3}, {UpLeft, 0.3}};
const QVector<Pose> Keys = {{Right, 2.5}, {Left, 1.5}, {UpRight, 1.5}, {DownRight, 1}, {Up, 1.5}, {Down, 1.5}, {UpLeft, 0.7}, {DownLeft, 0.7}};
const QVector<Pose> Necks = {{Up, 2}, {UpRight, 2.5}, {UpLeft, 1.5}, {Right, 1.5}, {Left, 1}};
const QVector<Pose> Tools = {{Right, 4}, {Left, 3}, {UpRight, 0.7}, {DownRight, 0.7}};
const QVector<Pose> Legs = {{UpRight, 2}, {Right, 1.5}, {UpLeft, 1.5}, {Left, 1}, {Up, 1}, {DownRight, 0.5}};
const QVector<Pose> Aircraft = {{Right, 1}, {Left, 1}};

const QVector<Recipe>& recipes()
{
  using namespace drawings;
  static const QVector<Recipe> all = {
    {"spear", Spear, 30, {{Up, 2}, {UpRight, 2}, {Right, 2}, {Left, 1}, {UpLeft, 1}}},
    {"axe", Axe, 30, Hafted},
    {"pollaxe", Pollaxe, 30, Hafted},
    {"sabre", Sabre, 30, Blades},
    {"sword", Sword, 30, Blades},
    {"submachine_gun", SubmachineGun, 30, Firearms},
    {"assault_rifle", AssaultRifle, 30, Firearms},
    {"pistol", Pistol, 30, Firearms},
    {"teddybear", Teddybear, 30, {}},
    {"flower", Flower, 30, {}},
    {"mushroom", Mushroom, 30, {}},
    {"meat", Meat, 30, {}},
    {"ham", Ham, 30, Legs},
    {"apple", Apple, 30, {}},
    {"guitar", Guitar, 30, Necks},
    {"shield", Shield, 30, {}},
    {"key", Key, 30, Keys},
    {"sun", Sun, 30, {}},
    {"parachute", Parachute, 30, {}},
    {"bomb", Bomb, 30, {}},
    {"saw", Saw, 30, Tools},
    {"helicopter", Helicopter, 30, Aircraft},
    {"box", Box, 8, {}, false},
    {"ball", Ball, 8, {}, false},
    {"plank", Plank, 8, {}, false},
    {"rock", Rock, 8, {}, false},
    {"wheel", Wheel, 8, {}, false},
    {"house", House, 8, {}, false},
    {"tree", Tree, 8, {}, false},
    {"car", Car, 8, {}, false},
    {"fish", Fish, 8, {}, false},
    {"star", Star, 8, {}, false},
    {"heart", Heart, 8, {}, false},
    {"cloud", Cloud, 8, {}, false},
    {"face", Face, 8, {}, false},
    {"bird", Bird, 8, {}, false},
    {"boat", Boat, 8, {}, false},
    {"cup", Cup, 8, {}, false},
    {"table", Table, 8, {}, false},
    {"screen", Screen, 8, {}, false},
    {"bottle", Bottle, 8, {}, false},
    {"cat", Cat, 8, {}, false},
    {"snake", Snake, 8, {}, false},
    {"airplane", Airplane, 8, {}, false},
    {"clock", Clock, 8, {}, false},
    {"chair", Chair, 8, {}, false},
    {"lamp", Lamp, 8, {}, false},
    {"hat", Hat, 8, {}, false},
    {"shirt", Shirt, 8, {}, false},
    {"glasses", Glasses, 8, {}, false},
    {"phone", Phone, 8, {}, false},
    {"book", Book, 8, {}, false},
    {"bed", Bed, 8, {}, false},
    {"bicycle", Bicycle, 8, {}, false},
    {"envelope", Envelope, 8, {}, false},
    {"mountain", Mountain, 8, {}, false},
    {"waves", Waves, 8, {}, false},
    {"spiral", Spiral, 8, {}, false},
  };
  return all;
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
  Pencil pencil(random);
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
    degrees = Direction2Degrees(direction) + random.Uniform(-12, 12);
    // Keep the object's upper side up; straight up or down either side may show.
    const double x = std::cos(Direction2Angle(direction));
    flipped = x < -0.1 || (std::abs(x) < 0.1 && random.Chance(0.5));
  }
  const double size = random.Uniform(150, 260);
  const double aspect = random.Uniform(0.88, 1.12);
  candidate.strokes = pencil.Finish(size, aspect, flipped, degrees);
  const auto drawing = MakeDrawing(candidate.strokes);
  candidate.signature.reset(qel::CalculateMonochromeImageInfo(PathItemToImage(drawing.get(), 1.0)));
  return candidate;
}

/// For each candidate with a signature, the index of the most alike other one (-1 if none).
QVector<int> nearestNeighbours(const std::vector<Candidate>& candidates)
{
  QVector<int> nearest(static_cast<int>(candidates.size()), -1);
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i)
  {
    if (!candidates[i].signature)
      continue;
    double best = qel::NoCommonGridDifference;
    for (int j = 0; j < static_cast<int>(candidates.size()); ++j)
    {
      if (j == i || !candidates[j].signature)
        continue;
      const double d = qel::MonochromeImagesDifference(*candidates[i].signature, *candidates[j].signature, best);
      if (d < best)
      {
        best = d;
        nearest[i] = j;
      }
    }
  }
  return nearest;
}
} // namespace

QList<Sketch> GenerateReferences()
{
  // Three times as many candidates as needed; those that look more like another
  // object's candidate than like their own are dropped.
  Random random(Seed);
  std::vector<Candidate> candidates;
  for (int r = 0; r < recipes().size(); ++r)
  {
    const Recipe& recipe = recipes()[r];
    for (int i = 0; i < 3 * recipe.count; ++i)
      candidates.push_back(drawCandidate(recipe, r, random));
  }

  const QVector<int> nearest = nearestNeighbours(candidates);
  QVector<int> kept(recipes().size(), 0);
  QList<Sketch> references;
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i)
  {
    const Candidate& candidate = candidates[i];
    const Recipe& recipe = recipes()[candidate.recipe];
    if (nearest[i] < 0 || candidates[nearest[i]].recipe != candidate.recipe || kept[candidate.recipe] == recipe.count)
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
