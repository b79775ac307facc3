#include "stickman/JumpManager.h"

JumpManager::~JumpManager() = default;
