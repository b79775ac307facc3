#pragma once

/// Look-up-table trigonometry in degrees, 0.1 degree resolution.
/// InitFastTrigonometry must have run first; it may run again harmlessly.
void InitFastTrigonometry();

/// \a degrees must lie in [0, 360]; no check is made.
double FastSin(double degrees);
double FastCos(double degrees);
double FastTan(double degrees);

/// Any finite angle: it is first brought into [0, 360] (a positive multiple of
/// 360 gives 360, a negative one 0). An infinite or NaN angle gives NaN, as the
/// math library's functions do.
double FastSafeSin(double degrees);
double FastSafeCos(double degrees);
double FastSafeTan(double degrees);
