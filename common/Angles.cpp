#include "common/Angles.h"

namespace
{
constexpr double Pi = 3.141592653589793;
}

double Degrees2Radians(double degrees)
{
  return degrees * Pi / 180.0;
}

double Radians2Degrees(double radians)
{
  return radians * 180.0 / Pi;
}
