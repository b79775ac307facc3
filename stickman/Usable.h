#pragma once

class Stickman;

/// An item whose action a stickman can trigger while holding it.
class Usable
{
public:
  virtual ~Usable();

  virtual void Use(Stickman* stickman) = 0;
};
