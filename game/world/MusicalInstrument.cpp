#include "world/MusicalInstrument.h"

#include "world/Scene.h"

#include "stickman/Stickman.h"

#include <QGraphicsItem>

MusicalInstrument::MusicalInstrument(const QString& name, QObject* parent)
  : Object(name, ObjectCategory::MusicalInstrument, parent)
{
}

void MusicalInstrument::SetHandPosition(QPointF position)
{
  if (!m_playing)
    Object::SetHandPosition(position);
}

void MusicalInstrument::SetArmAngle(double angle)
{
  if (!m_playing)
    Object::SetArmAngle(angle);
}

void MusicalInstrument::OnRelease()
{
  Object::OnRelease();
  m_playing = false;
}

void MusicalInstrument::onStickmanAnimationStarted(const QString& animationName, Animation*)
{
  if (animationName == m_usable.animation)
    m_playing = true;
}

void MusicalInstrument::onStickmanAnimationKeyMoment(const QString& animationName, Animation*)
{
  if (animationName == m_usable.animation)
    m_scene->PlaySound(m_sounds.specialSound, m_item->pos(), 1, false);
}

void MusicalInstrument::onStickmanAnimationFinished(const QString& animationName, Animation*)
{
  if (animationName != m_usable.animation || !m_playing)
    return;
  m_playing = false;
  // Back into the hand that the figure's last posture placed without it.
  if (m_holder)
    m_holder->UpdateCurrentPosture();
  m_scene->MakeNpcsPeaceful(true);
}
