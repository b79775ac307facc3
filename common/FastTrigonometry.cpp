#include "common/FastTrigonometry.h"

#include "common/Angles.h"

#include <cmath>
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

double normalized(double degrees)
{
  while (degrees < 0)
    degrees += 360;
  while (degrees > 360)
    degrees -= 360;
  return degrees;
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

double FastSafeSin(double degrees) { return FastSin(normalized(degrees)); }
double FastSafeCos(double degrees) { return FastCos(normalized(degrees)); }
double FastSafeTan(double degrees) { return FastTan(normalized(degrees)); }
