#include "shapewise/SpecialObjectsDetection.h"

#include "shapewise/LineOrientation.h"

#include <QLoggingCategory>
#include <QPainterPath>

#include <algorithm>
#include <optional>
#include <vector>

namespace shapewise
{
namespace
{
Q_LOGGING_CATEGORY(lcShapewise, "bv.shapewise")

// Lengths are scene pixels; shares are of the drawing's bounding rectangle.
constexpr double MinStairLineLength = 10.0;
constexpr double MaxStairLineShare = 0.65;
constexpr double LeftPlankZone = 0.35;
constexpr double RightPlankZone = 0.65;
constexpr double MinCleatWidthShare = 0.4;
constexpr double MinCleatSpacingShare = 0.2;
constexpr double MaxCleatSpacingShare = 2.0;

// Consecutive segments of one orientation: the points first..last of a subpath.
struct Run
{
  int first;
  int last;
  Orientation orientation;

  int segments() const { return last - first; }
};

std::vector<Run> segmentRuns(const QPolygonF& polygon)
{
  std::vector<Run> runs;
  for (int i = 0; i + 1 < polygon.size(); ++i)
  {
    const Orientation orientation = GetLineOrientation(polygon[i], polygon[i + 1]);
    if (!runs.empty() && runs.back().orientation == orientation)
      runs.back().last = i + 1;
    else
      runs.push_back(Run{i, i + 1, orientation});
  }
  return runs;
}

// Mouse jitter makes short runs: a run of exactly \a segments segments goes.
// At either end its neighbour takes its points over; in the middle it is
// dropped, and neighbours of one orientation become one run again.
void removeRuns(std::vector<Run>& runs, int segments)
{
  // One pass, as erasing run by run made a long stroke's jitter cost
  // quadratic time: runs[0, kept) are kept, runs[next, end) still to be seen.
  size_t kept = 0;
  size_t next = 0;
  while (next < runs.size() && kept + runs.size() - next > 1)
  {
    const Run run = runs[next];
    if (run.segments() != segments)
    {
      runs[kept++] = run;
      ++next;
    }
    else if (kept == 0)
    {
      runs[next + 1].first = run.first;
      ++next;
    }
    else if (next + 1 == runs.size())
    {
      runs[kept - 1].last = run.last;
      ++next;
    }
    else if (runs[kept - 1].orientation == runs[next + 1].orientation)
    {
      runs[kept - 1].last = runs[next + 1].last;
      next += 2;
    }
    else
    {
      ++next;
    }
  }
  runs.erase(std::move(runs.begin() + next, runs.end(), runs.begin() + kept), runs.end());
}

// The straight pieces of one stroke.
QList<QPolygonF> splitIntoLines(const QPolygonF& polygon)
{
  if (polygon.size() < 3)
    return {polygon};
  std::vector<Run> runs = segmentRuns(polygon);
  removeRuns(runs, 1);
  removeRuns(runs, 2);
  if (runs.size() <= 1)
    return {polygon};
  QList<QPolygonF> lines;
  for (const Run& run : runs)
    lines.append(polygon.mid(run.first, run.last - run.first + 1));
  return lines;
}

enum class DrawingOrder
{
  BottomUp,
  TopDown
};

double meanX(const QPolygonF& line)
{
  double sum = 0;
  for (const QPointF& point : line)
    sum += point.x();
  return sum / line.size();
}

double meanY(const QPolygonF& line)
{
  double sum = 0;
  for (const QPointF& point : line)
    sum += point.y();
  return sum / line.size();
}

bool cleatSpacingFits(double distance, double min, double max)
{
  return min <= distance && distance <= max;
}
} // namespace

bool DetectStairs(const QPainterPath& path, QList<QPolygonF>& horizontalLines, QList<QPolygonF>& verticalLines,
                  Direction& direction)
{
  const QList<QPolygonF> polygons = path.toSubpathPolygons();
  if (polygons.isEmpty())
  {
    qCDebug(lcShapewise) << "Stairs detection: Too little polylines for detection";
    return false;
  }
  const QRectF bounds = path.boundingRect();
  const double maxWidth = MaxStairLineShare * bounds.width();
  const double maxHeight = MaxStairLineShare * bounds.height();
  if (maxWidth < MinStairLineLength || maxHeight < MinStairLineLength)
  {
    qCDebug(lcShapewise) << "Stairs detection: The drawing is too small for stairs";
    return false;
  }

  QList<QPolygonF> treads;
  QList<QPolygonF> risers;
  Orientation expected = Diagonal; // undetermined until the first line
  std::optional<QPointF> previousCenter;
  std::optional<DrawingOrder> order;
  Direction stairsDirection = Right;
  for (const QPolygonF& polygon : polygons)
  {
    for (const QPolygonF& line : splitIntoLines(polygon))
    {
      if (line.size() < 2)
      {
        qCDebug(lcShapewise) << "Stairs detection: Too few points in a polyline" << line.size();
        return false;
      }
      const Orientation orientation = GetPolylineOrientation(line);
      if (expected != Diagonal && orientation != expected)
      {
        qCDebug(lcShapewise) << "Stairs detection: Line orientation does not match the expected one";
        return false;
      }
      const QRectF rect = line.boundingRect();
      switch (orientation)
      {
      case Vertical:
        if (rect.height() < MinStairLineLength || rect.height() > maxHeight)
        {
          qCDebug(lcShapewise) << "Stairs detection: Vertical line has incorrect length =" << rect.height();
          return false;
        }
        risers.append(line);
        expected = Horizontal;
        break;
      case Horizontal:
        if (rect.width() < MinStairLineLength || rect.width() > maxWidth)
        {
          qCDebug(lcShapewise) << "Stairs detection: Horizontail line has incorrect length =" << rect.width();
          return false;
        }
        treads.append(line);
        expected = Vertical;
        break;
      case Diagonal:
        qCDebug(lcShapewise) << "Stairs detection: Found a line of undetermined orientation";
        return false;
      }

      const QPointF center = rect.center();
      if (previousCenter)
      {
        const QPointF previous = *previousCenter;
        // Each line steps up (drawn from the bottom) or down (from the top);
        // either way the stairs rise to the side the steps go when climbing.
        const DrawingOrder pairOrder = center.y() < previous.y() ? DrawingOrder::BottomUp : DrawingOrder::TopDown;
        const bool risesRight =
          pairOrder == DrawingOrder::BottomUp ? previous.x() < center.x() : center.x() < previous.x();
        const Direction pairDirection = risesRight ? Right : Left;
        if (!order)
        {
          order = pairOrder;
          stairsDirection = pairDirection;
          direction = pairDirection;
        }
        else if (pairOrder != *order || pairDirection != stairsDirection)
        {
          qCDebug(lcShapewise)
            << "Stairs detection: Line position violates the expected lines order or stairs direction; line center ="
            << center << "previous line center =" << previous;
          return false;
        }
      }
      previousCenter = center;
    }
  }

  if (treads.isEmpty())
  {
    qCDebug(lcShapewise) << "Stairs detection: No horizontal lines were found";
    return false;
  }
  if (risers.isEmpty())
  {
    qCDebug(lcShapewise) << "Stairs detection: No vertical lines were found";
    return false;
  }
  // Both kinds of line were seen, so at least one pair set the order.
  if (order == DrawingOrder::TopDown)
  {
    std::reverse(treads.begin(), treads.end());
    std::reverse(risers.begin(), risers.end());
  }
  horizontalLines = treads;
  verticalLines = risers;
  return true;
}

bool DetectLadder(const QPainterPath& path, QList<QPolygonF>& leftPlank, QList<QPolygonF>& rightPlank,
                  LadderCleats& cleats)
{
  const QList<QPolygonF> polygons = path.toSubpathPolygons();
  if (polygons.size() <= 3)
    return false;
  const QRectF bounds = path.boundingRect();
  const double width = bounds.width();

  QList<QPolygonF> left;
  QList<QPolygonF> right;
  LadderCleats found;
  for (const QPolygonF& polygon : polygons)
  {
    switch (GetPolylineOrientation(polygon))
    {
    case Horizontal:
      if (polygon.boundingRect().width() / width >= MinCleatWidthShare)
        found.emplace(meanY(polygon), polygon);
      else
        qCDebug(lcShapewise) << "Ladder detection: skipping a horizontal line that is too small for a cleat";
      break;
    case Vertical:
    {
      const double x = meanX(polygon) - bounds.x();
      if (x / width <= LeftPlankZone)
      {
        left.append(polygon);
      }
      else if (x / width < RightPlankZone)
      {
        qCDebug(lcShapewise) << "Ladder detection: vertical plank x =" << x
                             << "is not positioned to left nor to right of the ladder";
        return false;
      }
      else
      {
        right.append(polygon);
      }
      break;
    }
    case Diagonal:
      qCDebug(lcShapewise) << "Ladder detection: found a line of undetermined orientation";
      return false;
    }
  }
  if (left.isEmpty())
  {
    qCDebug(lcShapewise) << "Ladder detection: Could not find lines for the left plank";
    return false;
  }
  if (right.isEmpty())
  {
    qCDebug(lcShapewise) << "Ladder detection: Could not find lines for the right plank";
    return false;
  }
  if (found.empty())
  {
    qCDebug(lcShapewise) << "Ladder detection: Could not find lines for ladder cleats";
    return false;
  }

  const double min = MinCleatSpacingShare * width;
  const double max = MaxCleatSpacingShare * width;
  const double firstY = found.begin()->first;
  if (!cleatSpacingFits(firstY - bounds.y(), min, max))
  {
    qCDebug(lcShapewise) << "Ladder detection: first cleat with y =" << firstY
                         << "is positioned invalid: min allowed distance is" << min << "max allowed distance is"
                         << max;
    return false;
  }
  for (auto upper = found.begin(), lower = std::next(upper); lower != found.end(); ++upper, ++lower)
  {
    if (!cleatSpacingFits(lower->first - upper->first, min, max))
    {
      qCDebug(lcShapewise) << "Ladder detection: cleats y =" << upper->first << "and y =" << lower->first
                           << "are positioned invalid: min allowed distance is" << min << "max allowed distance is"
                           << max;
      return false;
    }
  }
  const double lastY = found.rbegin()->first;
  if (!cleatSpacingFits(bounds.y() + bounds.height() - lastY, min, max))
  {
    qCDebug(lcShapewise) << "Ladder detection: last cleat with y =" << lastY
                         << "is positioned invalid: min allowed distance is" << min << "max allowed distance is"
                         << max << "while ladder height is" << bounds.height();
    return false;
  }

  leftPlank = left;
  rightPlank = right;
  cleats = found;
  return true;
}
} // namespace shapewise
