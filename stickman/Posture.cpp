#include "stickman/Posture.h"

#include "stickman/Stickman.h"

#include <QXmlStreamWriter>

#include <cmath>

namespace
{
int findElement(const QList<Posture::Element>& elements, const Joint* joint)
{
  for (int i = 0; i < elements.size(); ++i)
    if (elements[i].first == joint)
      return i;
  return -1;
}

int findElementByName(const QList<Posture::Element>& elements, const QString& name)
{
  for (int i = 0; i < elements.size(); ++i)
    if (elements[i].first && elements[i].first->name == name)
      return i;
  return -1;
}

QString number(double value)
{
  return QString::number(value, 'g', 6);
}
} // namespace

void Posture::AddJointPosition(Joint* joint, const QPointF& position)
{
  m_elements.append(Element(joint, position));
}

void Posture::SetJointPosition(Joint* joint, const QPointF& position)
{
  const int index = findElement(m_elements, joint);
  if (index >= 0)
    m_elements[index].second = position;
}

QPointF Posture::GetJointPosition(const Joint* joint) const
{
  const int index = findElement(m_elements, joint);
  return index >= 0 ? m_elements[index].second : QPointF();
}

void Posture::Apply() const
{
  for (const Element& element : m_elements)
    if (element.first)
      element.first->position = element.second;
}

void Posture::Offset(double dx, double dy)
{
  for (Element& element : m_elements)
    element.second += QPointF(dx, dy);
}

void Posture::Clear()
{
  m_elements.clear();
}

void Posture::SwapLimbs(LimbsSwapType type)
{
  QList<QPair<QString, QString>> pairs;
  if (type == SwapArms || type == SwapArmsAndLegs)
  {
    pairs.append({QStringLiteral("left_hand"), QStringLiteral("right_hand")});
    pairs.append({QStringLiteral("left_elbow"), QStringLiteral("right_elbow")});
  }
  if (type == SwapLegs || type == SwapArmsAndLegs)
  {
    pairs.append({QStringLiteral("left_knee"), QStringLiteral("right_knee")});
    pairs.append({QStringLiteral("left_foot"), QStringLiteral("right_foot")});
  }
  for (const auto& pair : pairs)
  {
    const int a = findElementByName(m_elements, pair.first);
    const int b = findElementByName(m_elements, pair.second);
    if (a >= 0 && b >= 0)
      std::swap(m_elements[a].second, m_elements[b].second);
  }
}

bool Posture::operator==(const Posture& other) const
{
  if (m_elements.size() != other.m_elements.size())
    return false;
  for (int i = 0; i < m_elements.size(); ++i)
  {
    const Element& a = m_elements[i];
    const Element& b = other.m_elements[i];
    if (a.first != b.first || std::abs(a.second.x() - b.second.x()) > 1e-12 ||
        std::abs(a.second.y() - b.second.y()) > 1e-12)
      return false;
  }
  return true;
}

Posture* Posture::Translate(const QMap<const Joint*, Joint*>& joints) const
{
  auto* result = new Posture;
  for (const Element& element : m_elements)
    result->AddJointPosition(joints.value(element.first, nullptr), element.second);
  return result;
}

Posture* Posture::Translate(const Stickman& stickman) const
{
  auto* result = new Posture;
  for (const Element& element : m_elements)
    if (element.first)
      if (Joint* joint = stickman.FindJoint(element.first->name))
        result->AddJointPosition(joint, element.second);
  return result;
}

void Posture::WriteJointPositions(QXmlStreamWriter& writer) const
{
  for (const Element& element : m_elements)
  {
    writer.writeEmptyElement(QStringLiteral("joint"));
    writer.writeAttribute(QStringLiteral("name"), element.first ? element.first->name : QString());
    writer.writeAttribute(QStringLiteral("x"), number(element.second.x()));
    writer.writeAttribute(QStringLiteral("y"), number(element.second.y()));
  }
}

QList<Posture> CalculateIntermediatePostures(const Posture& from, const Posture& to, int count)
{
  QList<Posture> result;
  for (int k = 1; k <= count; ++k)
  {
    const double t = double(k) / (count + 1);
    Posture posture;
    for (const Posture::Element& element : from.GetElements())
    {
      const QPointF& p = element.second;
      const QPointF q = to.GetJointPosition(element.first);
      posture.AddJointPosition(element.first, (q - p) * t + p);
    }
    result.append(posture);
  }
  return result;
}

Posture CalculateIntermediatePosture(const Posture& from, const Posture& to)
{
  return CalculateIntermediatePostures(from, to, 1).first();
}
