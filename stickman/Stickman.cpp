#include "stickman/Stickman.h"

#include "common/Angles.h"
#include "common/GlobalConstants.h"
#include "common/XmlUtils.h"
#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Grabable.h"
#include "stickman/JumpManager.h"
#include "stickman/MoveConstraints.h"
#include "stickman/Posture.h"
#include "stickman/Usable.h"

#include <QFile>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QXmlStreamWriter>

#include <box2d/b2_world.h>
#include <tinyxml.h>

#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcStickman, "bv.stickman")

namespace PostureNames
{
const QString Standing = QStringLiteral("standing");
const QString Climbing = QStringLiteral("climbing");
} // namespace PostureNames

namespace AnimationNames
{
const QString Step = QStringLiteral("step");
const QString ClimbUp = QStringLiteral("climbup");
const QString ClimbDown = QStringLiteral("climbdown");
const QString WholeJump = QStringLiteral("whole_jump");
const QString JumpStart = QStringLiteral("jump");
const QString Land = QStringLiteral("land");
const QString FallingDown = QStringLiteral("falling_down");
} // namespace AnimationNames

namespace
{
const QString StandingRight = QStringLiteral("standing-right");
const QString StandingLeft = QStringLiteral("standing-left");
const QString ClimbingRight = QStringLiteral("climbing-right");
const QString ClimbingLeft = QStringLiteral("climbing-left");

constexpr double MinOffset = 0.001;

MoveConstraints* sharedNoMoveConstraints()
{
  static NoMoveConstraints constraints;
  return &constraints;
}

QString number(double value)
{
  return QString::number(value, 'g', 6);
}

double doubleAttribute(const TiXmlElement* element, const char* name, double defaultValue)
{
  double value = defaultValue;
  element->QueryDoubleAttribute(name, &value);
  return value;
}

bool isMoving(const QPointF& offset)
{
  return std::abs(offset.x()) > MinOffset || std::abs(offset.y()) > MinOffset;
}

// "joint" children of a posture element, relative to its "left" and "top".
Posture* loadPosture(const TiXmlElement* element, const QMap<QString, Joint*>& joints)
{
  const QPointF origin(doubleAttribute(element, "left", 0), doubleAttribute(element, "top", 0));
  auto* posture = new Posture;
  for (const TiXmlElement* joint = element->FirstChildElement("joint"); joint;
       joint = joint->NextSiblingElement("joint"))
  {
    Joint* target = joints.value(xml::LoadString(joint, "name"), nullptr);
    if (target)
      posture->AddJointPosition(target, xml::LoadPointF(joint) - origin);
  }
  return posture;
}
} // namespace

Stickman::Stickman(QGraphicsItem* parent, QGraphicsScene* scene, MoveConstraints* constraints)
  : QGraphicsItemGroup(parent)
  , m_constraints(constraints ? constraints : sharedNoMoveConstraints())
{
  // The signals carry animations, also across queued connections.
  qRegisterMetaType<Animation*>();
  if (scene)
    scene->addItem(this);
}

Stickman::~Stickman()
{
  delete m_jumpManager;
  qDeleteAll(m_drawing);
  qDeleteAll(m_staticPostures);
  qDeleteAll(m_animations);
  qDeleteAll(m_joints);
}

bool Stickman::Load(const QString& fileName)
{
  TiXmlDocument document;
  if (!document.LoadFile(QFile::encodeName(fileName).constData(), TIXML_ENCODING_UTF8))
  {
    qCWarning(lcStickman) << fileName << "cannot be read:" << document.ErrorDesc();
    return false;
  }
  const TiXmlElement* root = document.RootElement();
  const TiXmlElement* jointsElement = root ? root->FirstChildElement("joints") : nullptr;
  const TiXmlElement* keyPoints = jointsElement ? jointsElement->FirstChildElement("key-points") : nullptr;
  const TiXmlElement* drawing = root ? root->FirstChildElement("drawing") : nullptr;
  const TiXmlElement* postures = root ? root->FirstChildElement("static-postures") : nullptr;
  const TiXmlElement* animations = root ? root->FirstChildElement("animations") : nullptr;
  if (!keyPoints || !drawing || !postures || !animations)
  {
    qCWarning(lcStickman) << fileName
                          << "lacks one of \"joints\", \"key-points\", \"drawing\", \"static-postures\", \"animations\"";
    return false;
  }

  QMap<QString, Joint*> joints;
  for (const TiXmlElement* element = jointsElement->FirstChildElement("joint"); element;
       element = element->NextSiblingElement("joint"))
  {
    const QString name = xml::LoadString(element, "name");
    if (name.isNull())
      continue;
    Joint* joint = AddJoint(name);
    joints.insert(name, joint);
  }
  m_holder = joints.value(xml::LoadString(keyPoints, "holder"), nullptr);
  m_holderElbow = joints.value(xml::LoadString(keyPoints, "holder-elbow"), nullptr);

  for (const TiXmlElement* element = drawing->FirstChildElement(); element; element = element->NextSiblingElement())
  {
    const std::string kind = element->ValueStr();
    DrawingPrimitive* primitive = nullptr;
    if (kind == "line")
    {
      Joint* from = joints.value(xml::LoadString(element, "from"), nullptr);
      Joint* to = joints.value(xml::LoadString(element, "to"), nullptr);
      primitive = DrawingPrimitive::CreateLine(xml::LoadString(element, "name"), from, to,
                                               doubleAttribute(element, "width", 1.0), Qt::black, 0);
    }
    else if (kind == "circle")
    {
      Joint* center = joints.value(xml::LoadString(element, "center"), nullptr);
      double radius = 0;
      if (element->QueryDoubleAttribute("radius", &radius) == TIXML_SUCCESS)
        primitive = DrawingPrimitive::CreateCircle(xml::LoadString(element, "name"), center, radius, Qt::black, 0);
    }
    if (!primitive)
      continue;
    QColor color(Qt::black);
    const QString colorName = xml::LoadString(element, "color");
    if (!colorName.isNull())
    {
      color.setNamedColor(colorName);
      if (!color.isValid())
        color = Qt::black;
    }
    primitive->SetColor(color);
    primitive->SetZValue(doubleAttribute(element, "zValue", 0));
    AddDrawingPrimitive(primitive);
  }

  for (const TiXmlElement* element = postures->FirstChildElement("posture"); element;
       element = element->NextSiblingElement("posture"))
  {
    const QString name = xml::LoadString(element, "name");
    Posture* posture = loadPosture(element, joints);
    Posture* previous = m_staticPostures.value(name, nullptr);
    m_staticPostures.insert(name, posture);
    if (previous)
    {
      for (Animation* animation : qAsConst(m_animations))
        if (animation->GetEndPosture() == previous)
          animation->SetEndPosture(posture);
      delete previous;
    }
  }
  updateSpecialPostures();

  for (const TiXmlElement* element = animations->FirstChildElement("animation"); element;
       element = element->NextSiblingElement("animation"))
  {
    const QString name = xml::LoadString(element, "name");
    RemoveAnimation(name);
    Animation* animation = AddAnimation(name);
    for (const TiXmlElement* postureElement = element->FirstChildElement("posture"); postureElement;
         postureElement = postureElement->NextSiblingElement("posture"))
    {
      const std::unique_ptr<Posture> posture(loadPosture(postureElement, joints));
      animation->AddPosture(*posture);
    }
    if (const TiXmlElement* finished = element->FirstChildElement("when-finished"))
    {
      const QString endName = xml::LoadString(finished, "static-posture");
      animation->SetEndPosture(endName.isEmpty() ? nullptr : GetStaticPosture(endName));
      if (const TiXmlElement* offset = finished->FirstChildElement("offset"))
        animation->SetOffset(doubleAttribute(offset, "dx", 0), doubleAttribute(offset, "dy", 0));
    }
    double keyMoment = 0;
    int keyFrame = 0;
    if (element->QueryDoubleAttribute("key-moment", &keyMoment) == TIXML_SUCCESS)
    {
      const double frame = std::trunc(animation->GetPostures().size() * keyMoment);
      // A frame index only; a moment that yields no representable frame is ignored.
      if (std::isfinite(frame) && std::abs(frame) <= std::numeric_limits<int>::max())
        animation->SetKeyFrame(int(frame));
      else
        qCWarning(lcStickman) << fileName << ": animation" << name << "has an unusable key moment";
    }
    else if (element->QueryIntAttribute("key-frame", &keyFrame) == TIXML_SUCCESS)
      animation->SetKeyFrame(keyFrame);
  }

  if (const TiXmlElement* ragdoll = root->FirstChildElement("ragdoll"))
  {
    for (const TiXmlElement* element = ragdoll->FirstChildElement("joint"); element;
         element = element->NextSiblingElement("joint"))
    {
      double from = 0;
      double to = 0;
      if (element->QueryDoubleAttribute("from-angle", &from) != TIXML_SUCCESS ||
          element->QueryDoubleAttribute("to-angle", &to) != TIXML_SUCCESS || !std::isfinite(from) ||
          !std::isfinite(to))
        continue;
      Ragdoll::JointInfo joint;
      joint.elementA = xml::LoadString(element, "elementA");
      joint.elementB = xml::LoadString(element, "elementB");
      joint.anchor = xml::LoadString(element, "anchor");
      joint.lowerLimit = Degrees2Radians(from);
      joint.upperLimit = Degrees2Radians(to);
      m_ragdollJoints.append(joint);
    }
  }

  postLoadInitialization();
  return true;
}

void Stickman::Load(const Stickman* other)
{
  QMap<const Joint*, Joint*> joints;
  for (const Joint* joint : other->m_joints)
    joints.insert(joint, AddJoint(joint->name));
  m_holder = joints.value(other->m_holder, nullptr);
  m_holderElbow = joints.value(other->m_holderElbow, nullptr);

  for (const DrawingPrimitive* primitive : other->m_drawing)
    AddDrawingPrimitive(primitive->Translate(joints));

  QMap<const Posture*, Posture*> postures;
  for (auto it = other->m_staticPostures.constBegin(); it != other->m_staticPostures.constEnd(); ++it)
  {
    Posture* posture = it.value()->Translate(joints);
    delete m_staticPostures.value(it.key(), nullptr);
    m_staticPostures.insert(it.key(), posture);
    postures.insert(it.value(), posture);
  }
  m_standingRight = postures.value(other->m_standingRight, nullptr);
  m_standingLeft = postures.value(other->m_standingLeft, nullptr);
  m_climbingRight = postures.value(other->m_climbingRight, nullptr);
  m_climbingLeft = postures.value(other->m_climbingLeft, nullptr);

  for (auto it = other->m_animations.constBegin(); it != other->m_animations.constEnd(); ++it)
  {
    RemoveAnimation(it.key());
    m_animations.insert(it.key(), it.value()->Translate(joints, postures));
  }
  m_ragdollJoints = other->m_ragdollJoints;
  postLoadInitialization();
}

bool Stickman::Save(const QString& fileName) const
{
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
  {
    qCWarning(lcStickman) << fileName << "cannot be written:" << file.errorString();
    return false;
  }
  QXmlStreamWriter writer(&file);
  writer.setAutoFormatting(true);
  writer.writeStartDocument(QStringLiteral("1.0"), true);
  writer.writeStartElement(QStringLiteral("stickman"));

  writer.writeStartElement(QStringLiteral("joints"));
  for (const Joint* joint : m_joints)
  {
    writer.writeEmptyElement(QStringLiteral("joint"));
    writer.writeAttribute(QStringLiteral("name"), joint->name);
  }
  writer.writeEmptyElement(QStringLiteral("key-points"));
  writer.writeAttribute(QStringLiteral("holder"), m_holder ? m_holder->name : QString());
  writer.writeAttribute(QStringLiteral("holder-elbow"), m_holderElbow ? m_holderElbow->name : QString());
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("drawing"));
  for (const DrawingPrimitive* primitive : m_drawing)
    primitive->Save(writer);
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("ragdoll"));
  for (const Ragdoll::JointInfo& joint : m_ragdollJoints)
  {
    writer.writeEmptyElement(QStringLiteral("joint"));
    writer.writeAttribute(QStringLiteral("elementA"), joint.elementA);
    writer.writeAttribute(QStringLiteral("elementB"), joint.elementB);
    writer.writeAttribute(QStringLiteral("anchor"), joint.anchor);
    writer.writeAttribute(QStringLiteral("from-angle"), number(Radians2Degrees(joint.lowerLimit)));
    writer.writeAttribute(QStringLiteral("to-angle"), number(Radians2Degrees(joint.upperLimit)));
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("static-postures"));
  for (auto it = m_staticPostures.constBegin(); it != m_staticPostures.constEnd(); ++it)
  {
    writer.writeStartElement(QStringLiteral("posture"));
    if (!it.key().isEmpty())
      writer.writeAttribute(QStringLiteral("name"), it.key());
    writer.writeAttribute(QStringLiteral("left"), QStringLiteral("0"));
    writer.writeAttribute(QStringLiteral("top"), QStringLiteral("0"));
    it.value()->WriteJointPositions(writer);
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeStartElement(QStringLiteral("animations"));
  for (auto it = m_animations.constBegin(); it != m_animations.constEnd(); ++it)
  {
    const Animation* animation = it.value();
    writer.writeStartElement(QStringLiteral("animation"));
    writer.writeAttribute(QStringLiteral("name"), it.key());
    if (animation->HasKeyFrame())
      writer.writeAttribute(QStringLiteral("key-frame"), QString::number(animation->GetKeyFrame()));
    for (const Posture& posture : animation->GetPostures())
    {
      writer.writeStartElement(QStringLiteral("posture"));
      posture.WriteJointPositions(writer);
      writer.writeEndElement();
    }
    writer.writeStartElement(QStringLiteral("when-finished"));
    writer.writeAttribute(QStringLiteral("static-posture"), m_staticPostures.key(animation->GetEndPosture()));
    writer.writeEmptyElement(QStringLiteral("offset"));
    writer.writeAttribute(QStringLiteral("dx"), number(animation->GetOffset().x()));
    writer.writeAttribute(QStringLiteral("dy"), number(animation->GetOffset().y()));
    writer.writeEndElement();
    writer.writeEndElement();
  }
  writer.writeEndElement();

  writer.writeEndElement();
  writer.writeEndDocument();
  file.close();
  if (file.error() != QFileDevice::NoError)
  {
    qCWarning(lcStickman) << fileName << "cannot be written:" << file.errorString();
    return false;
  }
  return true;
}

Animation* Stickman::AddAnimation(const QString& name)
{
  if (m_animations.contains(name))
    return nullptr;
  auto* animation = new Animation;
  m_animations.insert(name, animation);
  return animation;
}

bool Stickman::RemoveAnimation(const QString& name)
{
  Animation* animation = m_animations.take(name);
  if (!animation)
    return false;
  if (m_currentAnimation == animation)
  {
    m_currentAnimation = nullptr;
    m_currentAnimationName.clear();
  }
  delete animation;
  return true;
}

bool Stickman::RenameAnimation(const QString& from, const QString& to)
{
  if (!m_animations.contains(from) || m_animations.contains(to))
    return false;
  m_animations.insert(to, m_animations.take(from));
  return true;
}

QStringList Stickman::GetAnimationNames() const
{
  return m_animations.keys();
}

Animation* Stickman::GetAnimation(const QString& name, bool& itemSpecific) const
{
  itemSpecific = false;
  if (Animation* animation = m_animations.value(name, nullptr))
    return animation;
  const QString suffix = variantSuffix();
  if (m_item)
  {
    if (Animation* animation =
            m_animations.value(QStringLiteral("%1_%2-%3").arg(m_item->GetName(), name, suffix), nullptr))
    {
      itemSpecific = true;
      return animation;
    }
  }
  return m_animations.value(QStringLiteral("%1-%2").arg(name, suffix), nullptr);
}

Animation* Stickman::GetAnimation(const QString& name) const
{
  bool itemSpecific = false;
  return GetAnimation(name, itemSpecific);
}

Joint* Stickman::AddJoint(const QString& name)
{
  auto* joint = new Joint{name, QPointF()};
  m_joints.append(joint);
  return joint;
}

Joint* Stickman::FindJoint(const QString& name) const
{
  for (Joint* joint : m_joints)
    if (joint->name == name)
      return joint;
  return nullptr;
}

void Stickman::AddDrawingPrimitive(DrawingPrimitive* primitive)
{
  if (primitive)
    m_drawing.append(primitive);
}

Posture* Stickman::AddStaticPosture(const QString& name)
{
  if (m_staticPostures.contains(name))
    return nullptr;
  auto* posture = new Posture;
  m_staticPostures.insert(name, posture);
  updateSpecialPostures();
  return posture;
}

Posture* Stickman::GetStaticPosture(const QString& name) const
{
  return m_staticPostures.value(name, nullptr);
}

QStringList Stickman::GetStaticPostureNames() const
{
  return m_staticPostures.keys();
}

void Stickman::SetKeyPoints(Joint* holder, Joint* holderElbow)
{
  m_holder = holder;
  m_holderElbow = holderElbow;
}

void Stickman::AddRagdollJoint(const Ragdoll::JointInfo& joint)
{
  m_ragdollJoints.append(joint);
}

QColor Stickman::GetColor() const
{
  return m_drawing.isEmpty() ? QColor() : m_drawing.first()->GetColor();
}

void Stickman::SetColor(const QColor& color)
{
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->SetColor(color);
}

QRectF Stickman::boundingRect() const
{
  return m_figureRect;
}

void Stickman::SetJumpManager(JumpManager* jumpManager)
{
  if (jumpManager == m_jumpManager)
    return;
  delete m_jumpManager;
  m_jumpManager = jumpManager;
}

void Stickman::StartCollisionsDetection(b2World* world)
{
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->StartCollisionsDetection(world, this);
}

void Stickman::StopCollisionsDetection()
{
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->StopCollisionsDetection();
}

Ragdoll* Stickman::CreateRagdoll(const Material& material, b2World* world) const
{
  QMap<QString, Ragdoll::Element> elements;
  for (const DrawingPrimitive* primitive : m_drawing)
  {
    const QString name = primitive->GetName();
    const auto previous = elements.constFind(name);
    // A later primitive of the same name replaces the element; the earlier
    // body and pictures must not be left behind in the world and the scene.
    if (previous != elements.constEnd())
    {
      qDeleteAll(previous->graphicsItems);
      world->DestroyBody(previous->body);
    }
    elements.insert(name, primitive->CreateRagdollElement(material, world, m_direction));
  }
  auto* ragdoll = new Ragdoll(nullptr);
  ragdoll->Init(elements, m_ragdollJoints, m_direction, world);
  return ragdoll;
}

void Stickman::Move(Direction direction)
{
  if (m_onLadder || IsJumpStartInProgress() || IsFallingDownFromJump())
    return;
  if (direction == m_direction)
    RunAnimation(AnimationNames::Step);
  else if (!m_currentAnimation)
    TurnAround();
}

void Stickman::Jump()
{
  if (m_onLadder || IsJumpStartInProgress() || IsFallingDownFromJump())
    return;
  RunAnimation(AnimationNames::JumpStart);
}

void Stickman::Land()
{
  // The fall's pose gives way to the landing at once: queued behind it, a
  // landing in the first half of the fall would be lost.
  if (m_currentAnimationName == AnimationNames::FallingDown)
    dropAnimation();
  RunAnimation(AnimationNames::Land);
}

void Stickman::StartFallingDown(double horizontalVelocity)
{
  if (m_jumpManager)
    m_jumpManager->StartFallingDown(horizontalVelocity, m_item ? m_item->GetName() : QString());
  RunAnimation(AnimationNames::FallingDown);
}

void Stickman::ClimbUp()
{
  if (m_onLadder)
    RunAnimation(AnimationNames::ClimbUp);
}

void Stickman::ClimbDown()
{
  if (m_onLadder)
    RunAnimation(AnimationNames::ClimbDown);
}

void Stickman::GrabLadder()
{
  if (IsJumpInProgress())
    return;
  DropItem();
  // A half-played step or climb would move the figure off the rung when it ends.
  dropAnimation();
  m_onLadder = true;
  m_rightHandLeads = true;
  flattenDrawingLayers();
  if (Posture* posture = m_rightHandLeads ? m_climbingRight : m_climbingLeft)
    posture->Apply();
  UpdateCurrentPosture();
}

void Stickman::LeaveLadder()
{
  dropAnimation();
  m_onLadder = false;
  restoreDrawingLayers();
  makeStandingPosture();
}

void Stickman::TurnAround()
{
  setTransform(QTransform::fromScale(-1, 1), true);
  m_direction = InvertDirection(m_direction);
  if (m_item)
  {
    m_item->SetFacingDirection(m_direction);
    updateGrabbedItem();
  }
}

void Stickman::MoveTo(const QPointF& position)
{
  setPos(position);
  updateGrabbedItem();
  emit moved(position);
}

void Stickman::RunAnimation(const QString& name)
{
  if (!m_currentAnimation)
    startAnimation(name);
  else if (m_currentFrame > m_currentAnimation->GetPostures().size() / 2)
    m_nextAnimationName = name;
}

void Stickman::RevertCurrentAnimation()
{
  if (!m_currentAnimation)
    return;
  auto reverted = std::make_unique<Animation>();
  for (int frame = m_currentFrame - 1; frame >= 0; --frame)
    if (const Posture* posture = m_currentAnimation->GetPostureAt(frame))
      reverted->AddPosture(*posture);
  m_revertedAnimation = std::move(reverted);
  m_currentAnimation = m_revertedAnimation.get();
  m_currentFrame = 0;
}

void Stickman::GrabItem(Grabable* item)
{
  if (m_item)
    m_item->OnRelease();
  m_item = item;
  if (m_item)
  {
    m_item->OnGrab(this);
    m_item->SetFacingDirection(m_direction);
  }
  if (m_currentAnimation)
    updateGrabbedItem();
  else
    makeStandingPosture();
}

void Stickman::DropItem()
{
  GrabItem(nullptr);
}

void Stickman::ReleaseItem()
{
  if (m_item)
    m_item->OnRelease();
  m_item = nullptr;
}

bool Stickman::IsStepInProgress() const
{
  return m_currentAnimationName == AnimationNames::Step;
}

bool Stickman::IsJumpStartInProgress() const
{
  return m_currentAnimationName == AnimationNames::JumpStart;
}

bool Stickman::IsLandingInProgress() const
{
  return m_currentAnimationName == AnimationNames::Land;
}

bool Stickman::IsClimbUpInProgress() const
{
  return m_currentAnimationName == AnimationNames::ClimbUp;
}

bool Stickman::IsClimbDownInProgress() const
{
  return m_currentAnimationName == AnimationNames::ClimbDown;
}

bool Stickman::IsFallingDownFromJump() const
{
  return m_jumpManager && m_jumpManager->IsFallingDown();
}

bool Stickman::IsJumpInProgress() const
{
  return IsFallingDownFromJump() || IsJumpStartInProgress() || IsLandingInProgress();
}

QPointF Stickman::GetActualPos() const
{
  return pos() + m_actualOffset;
}

QSizeF Stickman::GetActualSize() const
{
  return sceneBoundingRect().size();
}

QRectF Stickman::GetActualBoundingRect() const
{
  const QSizeF size = GetActualSize();
  const QPointF bottomCentre = GetActualPos();
  return QRectF(bottomCentre.x() - size.width() / 2, bottomCentre.y() - size.height(), size.width(),
                size.height());
}

double Stickman::GetLadderUpperHandY() const
{
  if (!m_holder)
    return 0;
  const double y = mapToScene(m_holder->position).y();
  return m_rightHandLeads ? y : y - bv::LadderCleatsDistance;
}

void Stickman::UpdateCurrentPosture()
{
  updateGrabbedItem();
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->Update();
}

void Stickman::advance(int phase)
{
  if (!phase)
    return;
  if (m_jumpManager)
  {
    bool finished = false;
    m_jumpManager->Advance(finished);
    if (finished)
      return;
  }
  if (!m_currentAnimation)
    return;

  const QString name = m_currentAnimationName;
  if (m_currentFrame == 0)
    emit animationStarted(name, m_currentAnimation);
  // The receivers may have reverted or ended the animation.
  if (m_currentAnimation && m_currentAnimation->HasKeyFrame() && m_currentAnimation->GetKeyFrame() == m_currentFrame)
    emit animationKeyMoment(name, m_currentAnimation);
  if (!m_currentAnimation)
    return;

  const Posture* posture = m_currentAnimation->GetPostureAt(m_currentFrame);
  if (!posture)
  {
    finishAnimation();
    const QString next = m_nextAnimationName;
    if (!next.isEmpty())
      startAnimation(next);
    return;
  }
  posture->Apply();
  UpdateCurrentPosture();
  QPointF offset = scaledOffset(m_currentAnimation);
  if (isMoving(offset))
  {
    if (m_direction == Left)
      offset.setX(-offset.x());
    const double progress = double(m_currentFrame) / m_currentAnimation->GetPostures().size();
    m_actualOffset = offset * progress;
    emit moved(pos() + m_actualOffset);
  }
  ++m_currentFrame;
}

void Stickman::Use()
{
  if (!m_item)
    return;
  if (Usable* usable = m_item->GetUsable())
    usable->Use(this);
}

void Stickman::postLoadInitialization()
{
  makeStandingPosture();
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    for (QGraphicsItem* item : primitive->GetGraphicsItems())
    {
      if (scene() && item->scene() != scene())
        scene()->addItem(item);
      addToGroup(item);
    }

  // The bottom centre of the standing figure becomes the local origin: a
  // stickman's position is the point on the ground between its feet.
  const QRectF r = childrenBoundingRect();
  const double dx = -(r.x() + r.width() / 2);
  const double dy = -(r.y() + r.height());
  for (Posture* posture : qAsConst(m_staticPostures))
    posture->Offset(dx, dy);
  for (Animation* animation : qAsConst(m_animations))
  {
    QList<Posture> postures = animation->GetPostures();
    for (Posture& posture : postures)
      posture.Offset(dx, dy);
    animation->SetPostures(postures);
  }
  makeStandingPosture();
  prepareGeometryChange();
  m_figureRect = childrenBoundingRect();
}

void Stickman::updateSpecialPostures()
{
  m_standingRight = GetStaticPosture(StandingRight);
  m_standingLeft = GetStaticPosture(StandingLeft);
  m_climbingRight = GetStaticPosture(ClimbingRight);
  m_climbingLeft = GetStaticPosture(ClimbingLeft);
}

QString Stickman::variantSuffix() const
{
  const bool right = m_onLadder ? m_rightHandLeads : m_rightLegLeads;
  return right ? QStringLiteral("right") : QStringLiteral("left");
}

Posture* Stickman::standingPosture() const
{
  if (m_item)
  {
    const QString name = QStringLiteral("%1_%2-%3").arg(m_item->GetName(), PostureNames::Standing,
                                                        m_rightLegLeads ? QStringLiteral("right") : QStringLiteral("left"));
    if (Posture* posture = GetStaticPosture(name))
      return posture;
  }
  return m_rightLegLeads ? m_standingRight : m_standingLeft;
}

void Stickman::makeStandingPosture()
{
  if (const Posture* posture = standingPosture())
    posture->Apply();
  UpdateCurrentPosture();
}

void Stickman::updateGrabbedItem()
{
  if (!m_item || !m_holder || !m_holderElbow)
    return;
  const QPointF hand = m_holder->position;
  const QPointF elbow = m_holderElbow->position;
  m_item->SetArmAngle(std::atan2(hand.y() - elbow.y(), hand.x() - elbow.x()));
  m_item->SetHandPosition(mapToScene(hand));
}

void Stickman::flattenDrawingLayers()
{
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->Flatten();
}

void Stickman::restoreDrawingLayers()
{
  for (DrawingPrimitive* primitive : qAsConst(m_drawing))
    primitive->RestoreZValue();
}

void Stickman::startAnimation(const QString& name)
{
  m_currentFrame = 0;
  m_nextAnimationName.clear();
  m_actualOffset = QPointF();

  bool itemSpecific = false;
  Animation* animation = GetAnimation(name, itemSpecific);
  if (!animation)
    return;
  const QPointF offset = scaledOffset(animation);
  if (name == AnimationNames::Step)
  {
    QPointF correction;
    if (!m_constraints->CanStickmanStep(this, std::abs(offset.x()), correction))
      return;
    if (isMoving(correction))
      MoveTo(pos() + correction);
  }
  else if (name == AnimationNames::JumpStart)
  {
    if (!m_constraints->CanStickmanJump(this, std::abs(2 * offset.x()), std::abs(offset.y())))
      return;
    // An item without a jump of its own is dropped before jumping.
    if (!itemSpecific)
      DropItem();
  }
  m_currentAnimation = animation;
  m_currentAnimationName = name;
}

void Stickman::finishAnimation()
{
  Animation* animation = m_currentAnimation;
  const QString name = m_currentAnimationName;
  if (name == AnimationNames::Step)
    m_rightLegLeads = !m_rightLegLeads;
  else if (name == AnimationNames::ClimbUp || name == AnimationNames::ClimbDown)
    m_rightHandLeads = !m_rightHandLeads;

  QPointF offset = scaledOffset(animation);
  if (m_direction == Left)
    offset.setX(-offset.x());
  setPos(pos() + offset);
  if (const Posture* endPosture = animation->GetEndPosture())
  {
    endPosture->Apply();
    UpdateCurrentPosture();
  }
  m_actualOffset = QPointF();
  emit animationFinished(name, animation);
  if (isMoving(animation->GetOffset()))
    emit moved(pos());

  if (name == AnimationNames::Step)
    emit stepMade(pos());
  else if (name == AnimationNames::JumpStart)
  {
    // The speed that covers 80 % of the animation's width in the frames after
    // the take-off (at least one frame, so a take-off on the last frame stays finite).
    const int keyFrame = animation->HasKeyFrame() ? animation->GetKeyFrame() : 0;
    const int airborneFrames = std::max(1, animation->GetPostures().size() - keyFrame);
    StartFallingDown(std::abs(offset.x()) * 0.8 * bv::MetersPerPixel / (airborneFrames * bv::TickIntervalSec));
  }
  else if (name == AnimationNames::Land)
    emit jumpMade(pos());

  m_currentAnimation = nullptr;
  m_currentAnimationName.clear();
}

void Stickman::dropAnimation()
{
  m_currentAnimation = nullptr;
  m_currentAnimationName.clear();
  m_nextAnimationName.clear();
  m_currentFrame = 0;
  m_actualOffset = QPointF();
}

QPointF Stickman::scaledOffset(const Animation* animation) const
{
  return animation->GetOffset() * scale();
}
