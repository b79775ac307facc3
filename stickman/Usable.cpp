#include "stickman/Usable.h"

Usable::~Usable() = default;
