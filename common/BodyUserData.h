#pragma once

class b2Body;
class Object;
class Ragdoll;
class Liquid;
class Stickman;
class DrawingPrimitive;
class Door;

/// Back-pointers of a Box2D body, kept in the body's user data. Created by the
/// first Assign call on a body; the body's owner calls DestroyBodyUserData
/// before destroying the body.
struct BodyUserData
{
  Object* object = nullptr;
  Ragdoll* ragdoll = nullptr;
  Liquid* liquid = nullptr;
  Stickman* stickman = nullptr;
  DrawingPrimitive* stickmanPart = nullptr;
  Door* door = nullptr;
};

void AssignObjectToBody(Object* object, b2Body* body);
void AssignRagdollToBody(Ragdoll* ragdoll, b2Body* body);
void AssignLiquidToBody(Liquid* liquid, b2Body* body);
void AssignStickmanToBody(Stickman* stickman, b2Body* body);
void AssignStickmanPartToBody(DrawingPrimitive* part, b2Body* body);
void AssignDoorToBody(Door* door, b2Body* body);

// Null when the body carries no user data or not this back-pointer.
Object* ExtractObjectFromBody(const b2Body* body);
Ragdoll* ExtractRagdollFromBody(const b2Body* body);
Liquid* ExtractLiquidFromBody(const b2Body* body);
Stickman* ExtractStickmanFromBody(const b2Body* body);
DrawingPrimitive* ExtractStickmanPartFromBody(const b2Body* body);
Door* ExtractDoorFromBody(const b2Body* body);

void DestroyBodyUserData(b2Body* body);
