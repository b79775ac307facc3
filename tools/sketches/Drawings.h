#pragma once

class Pencil;

/// How people typically draw each object, one function per object. Each draws
/// one reference with the pencil, choosing proportions, parts and strokes at
/// random; objects that point are drawn pointing to +x (right), the rest upright.
namespace drawings
{
// Gameplay objects.
void Spear(Pencil& pencil);
void Axe(Pencil& pencil);
void Pollaxe(Pencil& pencil);
void Sabre(Pencil& pencil);
void Sword(Pencil& pencil);
void SubmachineGun(Pencil& pencil);
void AssaultRifle(Pencil& pencil);
void Pistol(Pencil& pencil);
void Teddybear(Pencil& pencil);
void Flower(Pencil& pencil);
void Mushroom(Pencil& pencil);
void Meat(Pencil& pencil);
void Ham(Pencil& pencil);
void Apple(Pencil& pencil);
void Guitar(Pencil& pencil);
void Shield(Pencil& pencil);
void Key(Pencil& pencil);
void Sun(Pencil& pencil);
void Parachute(Pencil& pencil);
void Bomb(Pencil& pencil);
void Saw(Pencil& pencil);
void Helicopter(Pencil& pencil);

// Props: plain things of the world, and common drawings that are no gameplay object.
void Box(Pencil& pencil);
void Ball(Pencil& pencil);
void Plank(Pencil& pencil);
void Rock(Pencil& pencil);
void Wheel(Pencil& pencil);
void House(Pencil& pencil);
void Tree(Pencil& pencil);
void Car(Pencil& pencil);
void Fish(Pencil& pencil);
void Star(Pencil& pencil);
void Heart(Pencil& pencil);
void Cloud(Pencil& pencil);
void Face(Pencil& pencil);
void Bird(Pencil& pencil);
void Boat(Pencil& pencil);
void Cup(Pencil& pencil);
void Screen(Pencil& pencil);
void Glass(Pencil& pencil);
void Ear(Pencil& pencil);
void Octopus(Pencil& pencil);
void Bottle(Pencil& pencil);
void Cat(Pencil& pencil);
void Snake(Pencil& pencil);
void Airplane(Pencil& pencil);
void Clock(Pencil& pencil);
void Chair(Pencil& pencil);
void Lamp(Pencil& pencil);
void Hat(Pencil& pencil);
void Shirt(Pencil& pencil);
void Glasses(Pencil& pencil);
void Phone(Pencil& pencil);
void Book(Pencil& pencil);
void Bed(Pencil& pencil);
void Bicycle(Pencil& pencil);
void Envelope(Pencil& pencil);
void Mountain(Pencil& pencil);
void Waves(Pencil& pencil);
void Spiral(Pencil& pencil);
void Truck(Pencil& pencil);
void Bus(Pencil& pencil);
void Train(Pencil& pencil);
void Animal(Pencil& pencil);
void Duck(Pencil& pencil);
void Flute(Pencil& pencil);
void Boomerang(Pencil& pencil);
void Windmill(Pencil& pencil);
} // namespace drawings
