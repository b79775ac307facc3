#include "stickman/Animation.h"

#include <algorithm>
#include <memory>

const Posture* Animation::GetPostureAt(int index) const
{
  return index >= 0 && index < m_postures.size() ? &m_postures[index] : nullptr;
}

int Animation::GetDurationMilliseconds(int tickIntervalMs) const
{
  return tickIntervalMs * m_postures.size();
}

void Animation::SetKeyFrame(int frame)
{
  m_keyFrame = frame;
  m_hasKeyFrame = true;
}

void Animation::PopPosture()
{
  if (!m_postures.isEmpty())
    m_postures.removeLast();
}

void Animation::Revert()
{
  std::reverse(m_postures.begin(), m_postures.end());
}

void Animation::SwapLimbs(LimbsSwapType type)
{
  for (Posture& posture : m_postures)
    posture.SwapLimbs(type);
}

void Animation::AddIntermediatePostures()
{
  if (m_postures.size() < 2)
    return;
  QList<Posture> source = m_postures;
  if (m_endPosture)
    source.prepend(*m_endPosture);
  QList<Posture> result;
  result.append(source.first());
  for (int i = 1; i < source.size(); ++i)
  {
    result.append(CalculateIntermediatePosture(source[i - 1], source[i]));
    result.append(source[i]);
  }
  if (m_endPosture)
    result.removeFirst();
  m_postures = result;
}

Animation* Animation::Translate(const QMap<const Joint*, Joint*>& joints,
                                const QMap<const Posture*, Posture*>& postures) const
{
  auto* result = new Animation;
  for (const Posture& posture : m_postures)
  {
    const std::unique_ptr<Posture> translated(posture.Translate(joints));
    result->m_postures.append(*translated);
  }
  result->m_endPosture = postures.value(m_endPosture, nullptr);
  result->m_offset = m_offset;
  result->m_keyFrame = m_keyFrame;
  result->m_hasKeyFrame = m_hasKeyFrame;
  return result;
}
