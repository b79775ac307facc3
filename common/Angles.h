#pragma once

double Degrees2Radians(double degrees);
double Radians2Degrees(double radians);
