#include "common/FastTrigonometry.h"

#include "common/Angles.h"

#include <cmath>
#include <limits>
#include <vector>

namespace
{
constexpr int TableSize = 3601;
constexpr double StepDegrees = 0.1;

std::vector<double> sinTable, cosTable, tanTable;

unsigned tableIndex(double degrees)
{
  return static_cast<unsigned>(degrees / StepDegrees);
}

// As adding or subtracting 360 until the angle lies in [0, 360] would, but in
// one step whatever the angle's size.
double normalized(double degrees)
{
  const double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0)
    return reduced + 360.0;
  return reduced == 0 && degrees > 0 ? 360.0 : reduced;
}

template <double (*lookUp)(double)>
double safely(double degrees)
{
  return std::isfinite(degrees) ? lookUp(normalized(degrees)) : std::numeric_limits<double>::quiet_NaN();
}
} // namespace

void InitFastTrigonometry()
{
  if (!sinTable.empty())
    return;
  sinTable.resize(TableSize);
  cosTable.resize(TableSize);
  tanTable.resize(TableSize);
  sinTable[0] = 0;
  cosTable[0] = 1;
  tanTable[0] = 0;
  // The angle is accumulated step by step, as the tables have always been built.
  const double step = Degrees2Radians(StepDegrees);
  double angle = 0;
  for (int i = 1; i < TableSize; ++i)
  {
    angle += step;
    sinTable[i] = std::sin(angle);
    cosTable[i] = std::cos(angle);
    tanTable[i] = std::tan(angle);
  }
}

double FastSin(double degrees) { return sinTable[tableIndex(degrees)]; }
double FastCos(double degrees) { return cosTable[tableIndex(degrees)]; }
double FastTan(double degrees) { return tanTable[tableIndex(degrees)]; }

double FastSafeSin(double degrees) { return safely<FastSin>(degrees); }
double FastSafeCos(double degrees) { return safely<FastCos>(degrees); }
double FastSafeTan(double degrees) { return safely<FastTan>(degrees); }
