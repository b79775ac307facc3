#include "CombatTestSupport.h"

#include "world/ComputerControlledStickman.h"
#include "world/Object.h"
#include "world/ObjectCategories.h"

#include "stickman/Stickman.h"

#include <QGraphicsItem>

#include <gtest/gtest.h>

void CombatFixture::Build(const QByteArray& levelXml)
{
  SceneFixture::Build(levelXml);
  creator.Init(&scene(), scene().GetMaterials(), &sounds());
}

Object* CombatFixture::Add(const QString& name, QPointF pos, double sizePx)
{
  if (sizePx <= 0)
  {
    const QSizeF limit = creator.getObjectInfo(name).maximumSize;
    sizePx = 0.9 * std::max(limit.width(), limit.height());
  }
  // Through an object file, as a level gives its stickmen their objects.
  const QString file = m_objectFiles.filePath(name + ".obj");
  creator.SaveObject(file, ObjectPicture(name, sizePx), name);
  Object* object = creator.LoadObject(file, pos);
  EXPECT_NE(object, nullptr) << name.toStdString();
  return object;
}

Object* CombatFixture::Give(Stickman* stickman, const QString& name, double sizePx)
{
  Object* object = Add(name, stickman->pos() + QPointF(0, -100), sizePx);
  object->ShrinkToMaximumSize();
  stickman->GrabItem(object);
  return object;
}

ComputerControlledStickman* CombatFixture::Npc(const QString& name)
{
  for (ComputerControlledStickman* npc : scene().GetNpcs())
  {
    if (npc->GetName() == name)
      return npc;
  }
  return nullptr;
}

bool CombatFixture::TickUntilIdle(const Stickman* stickman, int limit)
{
  for (int i = 0; i < limit; ++i)
  {
    Tick();
    if (!stickman->GetCurrentAnimation())
      return true;
  }
  return false;
}

QPainterPath ObjectPicture(const QString& name, double sizePx)
{
  const double l = sizePx;
  QPainterPath path;
  switch (ObjectCategory::FromObjectName(name))
  {
  case ObjectCategory::ColdWeapon:
    // A blade with a guard near the grip.
    path.moveTo(-l / 2, 0);
    path.lineTo(l / 2, 0);
    path.moveTo(-0.38 * l, -0.1 * l);
    path.lineTo(-0.38 * l, 0.1 * l);
    break;
  case ObjectCategory::Firearm:
    // A barrel over a grip.
    path.moveTo(-l / 2, -l / 4);
    path.lineTo(l / 2, -l / 4);
    path.moveTo(-0.3 * l, -l / 4);
    path.lineTo(-0.3 * l, l / 4);
    break;
  case ObjectCategory::MusicalInstrument:
    // A neck and a round body.
    path.moveTo(-l / 2, 0);
    path.lineTo(0, 0);
    path.addEllipse(QRectF(0, -l / 5, l / 2, 2 * l / 5));
    break;
  case ObjectCategory::Shield:
    path.addEllipse(QRectF(-l / 3, -l / 2, 2 * l / 3, l));
    break;
  default:
    path.addEllipse(QRectF(-l / 2, -l / 2, l, l));
    break;
  }
  return path;
}
