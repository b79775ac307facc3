#include "world/UsableObject.h"

UsableObject::UsableObject(const QString& name, ObjectCategory::Type category, QObject* parent)
  : Object(name, category, parent)
{
}

bool UsableObject::IsInUse() const
{
  return m_inUse;
}

void UsableObject::OnRelease()
{
  Object::OnRelease();
  m_inUse = false;
}

void UsableObject::onStickmanAnimationKeyMoment(const QString& animationName, Animation*)
{
  if (animationName == m_usable.animation)
    m_inUse = true;
}

void UsableObject::onStickmanAnimationFinished(const QString&, Animation*)
{
  m_inUse = false;
}
