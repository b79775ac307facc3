#include "common/BodyUserData.h"

#include <box2d/b2_body.h>

namespace
{
BodyUserData* userData(const b2Body* body)
{
  // Box2D offers the user data only through a non-const accessor.
  return reinterpret_cast<BodyUserData*>(const_cast<b2Body*>(body)->GetUserData().pointer);
}

BodyUserData& ensureUserData(b2Body* body)
{
  BodyUserData* data = userData(body);
  if (!data)
  {
    data = new BodyUserData;
    body->GetUserData().pointer = reinterpret_cast<uintptr_t>(data);
  }
  return *data;
}

template <typename T>
T* field(const b2Body* body, T* BodyUserData::*member)
{
  const BodyUserData* data = userData(body);
  return data ? data->*member : nullptr;
}
} // namespace

void AssignObjectToBody(Object* object, b2Body* body) { ensureUserData(body).object = object; }
void AssignRagdollToBody(Ragdoll* ragdoll, b2Body* body) { ensureUserData(body).ragdoll = ragdoll; }
void AssignLiquidToBody(Liquid* liquid, b2Body* body) { ensureUserData(body).liquid = liquid; }
void AssignStickmanToBody(Stickman* stickman, b2Body* body) { ensureUserData(body).stickman = stickman; }
void AssignStickmanPartToBody(DrawingPrimitive* part, b2Body* body) { ensureUserData(body).stickmanPart = part; }
void AssignDoorToBody(Door* door, b2Body* body) { ensureUserData(body).door = door; }

Object* ExtractObjectFromBody(const b2Body* body) { return field(body, &BodyUserData::object); }
Ragdoll* ExtractRagdollFromBody(const b2Body* body) { return field(body, &BodyUserData::ragdoll); }
Liquid* ExtractLiquidFromBody(const b2Body* body) { return field(body, &BodyUserData::liquid); }
Stickman* ExtractStickmanFromBody(const b2Body* body) { return field(body, &BodyUserData::stickman); }
DrawingPrimitive* ExtractStickmanPartFromBody(const b2Body* body) { return field(body, &BodyUserData::stickmanPart); }
Door* ExtractDoorFromBody(const b2Body* body) { return field(body, &BodyUserData::door); }

void DestroyBodyUserData(b2Body* body)
{
  delete userData(body);
  body->GetUserData().pointer = 0;
}
