#include "stickman/Grabable.h"

Grabable::~Grabable() = default;
