#include "StickmanTestSupport.h"

#include "stickman/Animation.h"
#include "stickman/DrawingPrimitive.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include "LogCapture.h"
#include "NumericLocale.h"

#include <QFile>
#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QPen>

#include <gtest/gtest.h>

#include <cmath>

using namespace stickmantest;

namespace
{
struct Sections
{
  QString joints = R"(<joint name="a"/><joint name="b"/><joint name="c"/>)";
  QString keyPoints = R"(<key-points holder="b" holder-elbow="a"/>)";
  QString drawing = R"(<line from="a" to="b" name="ab"/><circle center="c" radius="5" name="head"/>)";
  QString postures = R"(<posture name="standing-left"><joint name="a" x="0" y="-50"/><joint name="b" x="0" y="0"/>
                          <joint name="c" x="0" y="-60"/></posture>
                        <posture name="standing-right"><joint name="a" x="0" y="-50"/><joint name="b" x="0" y="0"/>
                          <joint name="c" x="0" y="-60"/></posture>)";
  QString animations;
  QString ragdoll;
  bool withJoints = true;
  bool withDrawing = true;
  bool withPostures = true;
  bool withAnimations = true;
};

QString document(const Sections& s)
{
  QString text = "<?xml version=\"1.0\"?>\n<stickman>";
  if (s.withJoints)
    text += "<joints>" + s.joints + s.keyPoints + "</joints>";
  if (s.withDrawing)
    text += "<drawing>" + s.drawing + "</drawing>";
  if (!s.ragdoll.isEmpty())
    text += "<ragdoll>" + s.ragdoll + "</ragdoll>";
  if (s.withPostures)
    text += "<static-postures>" + s.postures + "</static-postures>";
  if (s.withAnimations)
    text += "<animations>" + s.animations + "</animations>";
  return text + "</stickman>\n";
}

class StickmanFileTest : public ::testing::Test
{
protected:
  bool load(Stickman& stickman, const Sections& sections)
  {
    return stickman.Load(WriteFile(m_dir, QString("f%1.xml").arg(m_count++), document(sections)));
  }

  QTemporaryDir m_dir;
  int m_count = 0;
};

QString postureOf(const QString& name, const QString& joints)
{
  return QString(R"(<posture name="%1">%2</posture>)").arg(name, joints);
}

QString animationOf(const QString& attributes, int postures, const QString& finished = QString())
{
  QString text = "<animation " + attributes + ">";
  for (int i = 0; i < postures; ++i)
    text += QString(R"(<posture><joint name="a" x="%1" y="0"/></posture>)").arg(i);
  return text + finished + "</animation>";
}

double penWidth(const DrawingPrimitive* primitive)
{
  return static_cast<const QGraphicsLineItem*>(primitive->GetGraphicsItems().first())->pen().widthF();
}
} // namespace

TEST_F(StickmanFileTest, FailsWithoutARequiredElementAndChangesNothing)
{
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, Sections()));
  const int joints = stickman.GetJoints().size();
  const int primitives = stickman.GetDrawingPrimitives().size();
  const QStringList postures = stickman.GetStaticPostureNames();

  for (int missing = 0; missing < 5; ++missing)
  {
    Sections sections;
    sections.withJoints = missing != 0;
    sections.withDrawing = missing != 1;
    sections.withPostures = missing != 2;
    sections.withAnimations = missing != 3;
    if (missing == 4)
      sections.keyPoints.clear();
    sections.animations = animationOf(R"(name="x")", 2);
    EXPECT_FALSE(load(stickman, sections)) << "missing section " << missing;
  }
  EXPECT_FALSE(stickman.Load(m_dir.filePath("does-not-exist.xml")));
  EXPECT_FALSE(stickman.Load(WriteFile(m_dir, "broken.xml", "<stickman><joints></stickman>")));
  EXPECT_FALSE(stickman.Load(WriteFile(m_dir, "empty.xml", "")));

  EXPECT_EQ(stickman.GetJoints().size(), joints);
  EXPECT_EQ(stickman.GetDrawingPrimitives().size(), primitives);
  EXPECT_EQ(stickman.GetStaticPostureNames(), postures);
  EXPECT_TRUE(stickman.GetAnimationNames().isEmpty());
}

TEST_F(StickmanFileTest, SkipsIncompletePrimitivesAndReadsColoursWidthsAndZValues)
{
  Sections sections;
  sections.joints += R"(<joint/><joint name="d"/>)";
  sections.drawing = R"(
      <line from="a" to="nowhere" name="bad-joint"/>
      <line from="a" name="no-to"/>
      <circle center="c" name="no-radius"/>
      <circle center="nowhere" radius="3" name="bad-center"/>
      <square from="a" to="b" name="unknown-kind"/>
      <line from="a" to="b" name="plain"/>
      <line from="b" to="d" name="red" color="#ff0000" width="0.5" zValue="-2"/>
      <line from="a" to="d" name="named" color="green"/>
      <circle center="c" radius="4" name="bad-colour" color="no-such-colour" zValue="3.5"/>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));

  EXPECT_EQ(stickman.GetJoints().size(), 4);
  const QList<DrawingPrimitive*>& drawing = stickman.GetDrawingPrimitives();
  ASSERT_EQ(drawing.size(), 4);
  EXPECT_EQ(drawing[0]->GetName(), "plain");
  EXPECT_EQ(drawing[0]->GetColor(), QColor(Qt::black));
  EXPECT_EQ(drawing[0]->GetZValue(), 0.0);
  EXPECT_DOUBLE_EQ(penWidth(drawing[0]), 20.0);
  EXPECT_EQ(drawing[1]->GetColor(), QColor(255, 0, 0));
  EXPECT_EQ(drawing[1]->GetZValue(), -2.0);
  EXPECT_DOUBLE_EQ(penWidth(drawing[1]), 10.0);
  EXPECT_EQ(drawing[2]->GetColor(), QColor(0, 128, 0));
  EXPECT_EQ(drawing[3]->GetColor(), QColor(Qt::black));
  EXPECT_EQ(drawing[3]->GetZValue(), 3.5);
  EXPECT_EQ(stickman.GetColor(), QColor(Qt::black));

  stickman.SetColor(Qt::blue);
  for (const DrawingPrimitive* primitive : drawing)
    EXPECT_EQ(primitive->GetColor(), QColor(Qt::blue));
}

TEST_F(StickmanFileTest, KeyPointsNamingNoJointStayNull)
{
  Sections sections;
  sections.keyPoints = R"(<key-points holder="nowhere"/>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  EXPECT_EQ(stickman.GetHolderJoint(), nullptr);
  EXPECT_EQ(stickman.GetHolderElbowJoint(), nullptr);

  Stickman other(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(other, Sections()));
  EXPECT_EQ(other.GetHolderJoint(), other.FindJoint("b"));
  EXPECT_EQ(other.GetHolderElbowJoint(), other.FindJoint("a"));
}

TEST_F(StickmanFileTest, PosturesAreRelativeToTheirCornerAndSkipUnknownJoints)
{
  Sections sections;
  sections.postures += postureOf("shifted", R"(<joint name="a" x="15" y="7"/><joint name="zz" x="1" y="1"/>)")
                       // Attributes default to 0.
                       + R"(<posture name="corner" left="10" top="-3"><joint name="a" x="15" y="7"/></posture>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  const Joint* a = stickman.FindJoint("a");
  const Posture* shifted = stickman.GetStaticPosture("shifted");
  const Posture* corner = stickman.GetStaticPosture("corner");
  ASSERT_TRUE(shifted && corner);
  EXPECT_EQ(shifted->GetElements().size(), 1);
  // Every posture moved by the same amount when the figure was centred, so
  // compare the two: "left" 10 and "top" -3 subtract from x and y.
  EXPECT_EQ(corner->GetJointPosition(a) - shifted->GetJointPosition(a), QPointF(-10, 3));
}

TEST_F(StickmanFileTest, KeyMomentWinsOverKeyFrameAndTruncates)
{
  Sections sections;
  sections.animations = animationOf(R"(name="moment" key-moment="0.5")", 7) +
                        animationOf(R"(name="both" key-moment="0.5" key-frame="6")", 7) +
                        animationOf(R"(name="frame" key-frame="2")", 7) + animationOf(R"(name="none")", 7) +
                        animationOf(R"(name="huge" key-moment="1e300")", 7) +
                        animationOf(R"(name="nan" key-moment="nan")", 7);
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  EXPECT_EQ(stickman.GetAnimationNames(), QStringList({"both", "frame", "huge", "moment", "nan", "none"}));
  EXPECT_EQ(stickman.GetAnimation("moment")->GetKeyFrame(), 3);
  EXPECT_EQ(stickman.GetAnimation("both")->GetKeyFrame(), 3);
  EXPECT_EQ(stickman.GetAnimation("frame")->GetKeyFrame(), 2);
  EXPECT_TRUE(stickman.GetAnimation("frame")->HasKeyFrame());
  EXPECT_FALSE(stickman.GetAnimation("none")->HasKeyFrame());
  // A moment that gives no usable frame index is ignored.
  EXPECT_FALSE(stickman.GetAnimation("huge")->HasKeyFrame());
  EXPECT_FALSE(stickman.GetAnimation("nan")->HasKeyFrame());
  EXPECT_EQ(stickman.GetAnimation("none")->GetPostures().size(), 7);
}

TEST_F(StickmanFileTest, WhenFinishedNamesTheEndPostureAndTheOffset)
{
  Sections sections;
  sections.animations =
      animationOf(R"(name="full")", 1,
                  R"(<when-finished static-posture="standing-left"><offset dx="40" dy="-2"/></when-finished>)") +
      animationOf(R"(name="unknown")", 1, R"(<when-finished static-posture="nope"><offset dy="5"/></when-finished>)") +
      animationOf(R"(name="bare")", 1);
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  EXPECT_EQ(stickman.GetAnimation("full")->GetEndPosture(), stickman.GetStaticPosture("standing-left"));
  EXPECT_EQ(stickman.GetAnimation("full")->GetOffset(), QPointF(40, -2));
  EXPECT_EQ(stickman.GetAnimation("unknown")->GetEndPosture(), nullptr);
  EXPECT_EQ(stickman.GetAnimation("unknown")->GetOffset(), QPointF(0, 5));
  EXPECT_EQ(stickman.GetAnimation("bare")->GetEndPosture(), nullptr);
  EXPECT_EQ(stickman.GetAnimation("bare")->GetOffset(), QPointF());
}

TEST_F(StickmanFileTest, LaterNamesReplaceEarlierOnes)
{
  Sections sections;
  // A second joint "a": later references to "a" mean the new one.
  sections.joints = R"(<joint name="a"/><joint name="b"/><joint name="c"/><joint name="a"/>)";
  sections.postures += postureOf("twice", R"(<joint name="b" x="1" y="1"/>)") +
                       postureOf("twice", R"(<joint name="b" x="1" y="1"/><joint name="c" x="1" y="1"/>)");
  sections.animations = animationOf(R"(name="twice")", 2) + animationOf(R"(name="twice")", 5);
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  ASSERT_EQ(stickman.GetJoints().size(), 4);
  const Joint* secondA = stickman.GetJoints()[3];
  EXPECT_EQ(stickman.GetStaticPosture("twice")->GetElements().size(), 2);
  EXPECT_EQ(stickman.GetAnimation("twice")->GetPostures().size(), 5);
  EXPECT_EQ(stickman.GetAnimation("twice")->GetPostureAt(0)->GetElements()[0].first, secondA);
  EXPECT_EQ(stickman.GetHolderElbowJoint(), secondA);
}

TEST_F(StickmanFileTest, RagdollJointsNeedBothAnglesAndAreStoredInRadians)
{
  Sections sections;
  sections.ragdoll = R"(<joint elementA="ab" elementB="head" anchor="a" from-angle="-30" to-angle="90"/>
                        <joint elementA="ab" elementB="head" anchor="a" from-angle="-30"/>
                        <joint elementA="x" elementB="y" anchor="z" from-angle="0" to-angle="180"/>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  const QList<Ragdoll::JointInfo>& joints = stickman.GetRagdollJoints();
  ASSERT_EQ(joints.size(), 2);
  EXPECT_EQ(joints[0].elementA, "ab");
  EXPECT_EQ(joints[0].elementB, "head");
  EXPECT_EQ(joints[0].anchor, "a");
  EXPECT_NEAR(joints[0].lowerLimit, -M_PI / 6, 1e-12);
  EXPECT_NEAR(joints[0].upperLimit, M_PI / 2, 1e-12);
  EXPECT_NEAR(joints[1].upperLimit, M_PI, 1e-12);
}

TEST_F(StickmanFileTest, TheStandingFigureIsCentredOnItsFeet)
{
  QGraphicsScene scene;
  const std::unique_ptr<Stickman> stickman = MakeFigure(&scene);
  const QRectF r = stickman->boundingRect();
  EXPECT_GT(r.height(), 150);
  EXPECT_NEAR(r.center().x(), 0, 1e-6);
  EXPECT_NEAR(r.bottom(), 0, 1e-6);
  EXPECT_EQ(stickman->childrenBoundingRect(), r);
  // Its pictures belong to the stickman's group and scene.
  const QGraphicsItem* item = stickman->GetDrawingPrimitives().first()->GetGraphicsItems().first();
  EXPECT_EQ(item->parentItem(), stickman.get());
  EXPECT_EQ(item->scene(), &scene);
}

namespace
{
void expectSameFigure(const Stickman& a, const Stickman& b)
{
  ASSERT_EQ(a.GetJoints().size(), b.GetJoints().size());
  for (int i = 0; i < a.GetJoints().size(); ++i)
    EXPECT_EQ(a.GetJoints()[i]->name, b.GetJoints()[i]->name);
  EXPECT_EQ(a.GetHolderJoint()->name, b.GetHolderJoint()->name);
  EXPECT_EQ(a.GetHolderElbowJoint()->name, b.GetHolderElbowJoint()->name);

  ASSERT_EQ(a.GetDrawingPrimitives().size(), b.GetDrawingPrimitives().size());
  for (int i = 0; i < a.GetDrawingPrimitives().size(); ++i)
  {
    const DrawingPrimitive* p = a.GetDrawingPrimitives()[i];
    const DrawingPrimitive* q = b.GetDrawingPrimitives()[i];
    EXPECT_EQ(p->GetName(), q->GetName());
    EXPECT_EQ(p->GetColor(), q->GetColor());
    EXPECT_EQ(p->GetZValue(), q->GetZValue()) << p->GetName().toStdString();
  }

  const auto samePositions = [&a, &b](const Posture& p, const Posture& q) {
    ASSERT_EQ(p.GetElements().size(), q.GetElements().size());
    for (int i = 0; i < p.GetElements().size(); ++i)
    {
      EXPECT_EQ(p.GetElements()[i].first->name, q.GetElements()[i].first->name);
      EXPECT_NEAR(p.GetElements()[i].second.x(), q.GetElements()[i].second.x(), 1e-3);
      EXPECT_NEAR(p.GetElements()[i].second.y(), q.GetElements()[i].second.y(), 1e-3);
    }
  };
  ASSERT_EQ(a.GetStaticPostureNames(), b.GetStaticPostureNames());
  for (const QString& name : a.GetStaticPostureNames())
    samePositions(*a.GetStaticPosture(name), *b.GetStaticPosture(name));

  ASSERT_EQ(a.GetAnimationNames(), b.GetAnimationNames());
  for (const QString& name : a.GetAnimationNames())
  {
    const Animation* p = a.GetAnimation(name);
    const Animation* q = b.GetAnimation(name);
    ASSERT_EQ(p->GetPostures().size(), q->GetPostures().size());
    for (int i = 0; i < p->GetPostures().size(); ++i)
      samePositions(p->GetPostures()[i], q->GetPostures()[i]);
    EXPECT_EQ(p->HasKeyFrame(), q->HasKeyFrame());
    EXPECT_EQ(p->GetKeyFrame(), q->GetKeyFrame());
    EXPECT_EQ(p->GetOffset(), q->GetOffset());
    ASSERT_NE(p->GetEndPosture(), nullptr) << name.toStdString();
    samePositions(*p->GetEndPosture(), *q->GetEndPosture());
  }

  ASSERT_EQ(a.GetRagdollJoints().size(), b.GetRagdollJoints().size());
  for (int i = 0; i < a.GetRagdollJoints().size(); ++i)
  {
    EXPECT_EQ(a.GetRagdollJoints()[i].anchor, b.GetRagdollJoints()[i].anchor);
    EXPECT_NEAR(a.GetRagdollJoints()[i].lowerLimit, b.GetRagdollJoints()[i].lowerLimit, 1e-6);
    EXPECT_NEAR(a.GetRagdollJoints()[i].upperLimit, b.GetRagdollJoints()[i].upperLimit, 1e-6);
  }
}

QByteArray contents(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST_F(StickmanFileTest, SaveThenLoadReproducesTheFigure)
{
  const std::unique_ptr<Stickman> original = MakeFigure();
  const QString first = m_dir.filePath("first.xml");
  ASSERT_TRUE(original->Save(first));
  Stickman loaded(nullptr, nullptr, nullptr);
  ASSERT_TRUE(loaded.Load(first));
  expectSameFigure(*original, loaded);
  EXPECT_EQ(loaded.GetAnimation("step-left")->GetEndPosture(), loaded.GetStaticPosture("standing-right"));

  EXPECT_TRUE(contents(first).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"));

  EXPECT_FALSE(original->Save(m_dir.filePath("no-such-folder/file.xml")));
}

TEST_F(StickmanFileTest, CopyingMakesAnIndependentFigure)
{
  const std::unique_ptr<Stickman> prototype = MakeFigure();
  Stickman copy(nullptr, nullptr, nullptr);
  copy.Load(prototype.get());
  expectSameFigure(*prototype, copy);
  EXPECT_EQ(copy.GetAnimation("climbup-right")->GetEndPosture(), copy.GetStaticPosture("climbing-left"));
  EXPECT_EQ(copy.boundingRect(), prototype->boundingRect());

  for (const Joint* joint : copy.GetJoints())
    EXPECT_EQ(prototype->FindJoint(joint->name)->position, joint->position);
  copy.GetStaticPosture("climbing-right")->Apply();
  EXPECT_NE(prototype->FindJoint("right_hand")->position, copy.FindJoint("right_hand")->position);
}

TEST_F(StickmanFileTest, AnimationsCanBeAddedRenamedAndRemoved)
{
  Stickman stickman(nullptr, nullptr, nullptr);
  Animation* walk = stickman.AddAnimation("walk");
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(stickman.AddAnimation("walk"), nullptr);
  ASSERT_NE(stickman.AddAnimation("run"), nullptr);
  EXPECT_EQ(stickman.GetAnimationNames(), QStringList({"run", "walk"}));

  EXPECT_FALSE(stickman.RenameAnimation("walk", "run"));
  EXPECT_FALSE(stickman.RenameAnimation("swim", "dive"));
  EXPECT_EQ(stickman.GetAnimationNames(), QStringList({"run", "walk"}));
  EXPECT_TRUE(stickman.RenameAnimation("walk", "stroll"));
  EXPECT_EQ(stickman.GetAnimation("stroll"), walk);

  EXPECT_TRUE(stickman.RemoveAnimation("stroll"));
  EXPECT_FALSE(stickman.RemoveAnimation("stroll"));
  EXPECT_EQ(stickman.GetAnimationNames(), QStringList({"run"}));
}

TEST_F(StickmanFileTest, NonFiniteOrHugeNumbersSkipWhatTheySizeOrPlace)
{
  Sections sections;
  sections.drawing = R"(<line from="a" to="b" name="ab"/><circle center="c" radius="5" name="head"/>
      <line from="a" to="c" name="nan-width" width="nan"/>
      <line from="a" to="c" name="inf-z" zValue="inf"/>
      <circle center="c" radius="inf" name="inf-radius"/>
      <circle center="c" radius="1e300" name="huge-radius"/>)";
  sections.postures += postureOf("bad", R"(<joint name="a" x="nan" y="0"/><joint name="b" x="1" y="2"/>)") +
                       R"(<posture name="bad-corner" left="inf"><joint name="a" x="1" y="1"/></posture>)";
  sections.animations = animationOf(R"(name="moved" key-moment="nan")", 3,
                                    R"(<when-finished><offset dx="inf" dy="3"/></when-finished>)");
  sections.ragdoll = R"(<joint elementA="ab" elementB="head" anchor="a" from-angle="nan" to-angle="90"/>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  const LogCapture log("bv.stickman");
  ASSERT_TRUE(load(stickman, sections));
  EXPECT_EQ(stickman.GetDrawingPrimitives().size(), 2);
  const Posture* bad = stickman.GetStaticPosture("bad");
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->GetElements().size(), 1);
  EXPECT_EQ(stickman.GetStaticPosture("bad-corner"), nullptr);
  EXPECT_EQ(stickman.GetAnimation("moved")->GetOffset(), QPointF(0, 0));
  EXPECT_EQ(stickman.GetAnimation("moved")->GetKeyFrame(), 0);
  EXPECT_TRUE(stickman.GetRagdollJoints().isEmpty());
  EXPECT_EQ(log.lines().size(), 9) << log.lines().join('\n').toStdString();
  for (const QString& line : log.lines())
    EXPECT_TRUE(line.contains("skipped")) << line.toStdString();
  const QRectF figure = stickman.boundingRect();
  EXPECT_TRUE(std::isfinite(figure.width()) && std::isfinite(figure.height()) && figure.height() > 0);
}

TEST_F(StickmanFileTest, ARagdollJointOfAnElementWithItselfIsSkipped)
{
  Sections sections;
  sections.ragdoll = R"(<joint elementA="ab" elementB="ab" anchor="a" from-angle="-30" to-angle="90"/>
                        <joint elementA="ab" elementB="head" anchor="a" from-angle="90" to-angle="-30"/>
                        <joint elementA="ab" elementB="head" anchor="a" from-angle="-30" to-angle="90"/>)";
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  ASSERT_EQ(stickman.GetRagdollJoints().size(), 1);
  EXPECT_EQ(stickman.GetRagdollJoints()[0].elementB, "head");

  // Given one all the same, the ragdoll leaves it out rather than abort.
  Ragdoll::JointInfo self = stickman.GetRagdollJoints()[0];
  self.elementB = self.elementA;
  QList<Ragdoll::JointInfo> joints{self};
  b2World world(b2Vec2(0, 9.8f));
  Ragdoll ragdoll(nullptr);
  QMap<QString, Ragdoll::Element> elements;
  b2BodyDef definition;
  definition.type = b2_dynamicBody;
  elements["ab"].body = world.CreateBody(&definition);
  elements["ab"].anchors["a"] = QPointF(0, 0);
  ragdoll.Init(elements, joints, Right, &world);
  EXPECT_EQ(world.GetJointCount(), 0);
}

TEST_F(StickmanFileTest, AFileWithoutBothStandingPosturesIsRefused)
{
  for (const char* kept : {"standing-left", "standing-right"})
  {
    Sections sections;
    sections.postures = postureOf(kept, R"(<joint name="a" x="0" y="-50"/><joint name="b" x="0" y="0"/>)");
    Stickman stickman(nullptr, nullptr, nullptr);
    const LogCapture log("bv.stickman");
    EXPECT_FALSE(load(stickman, sections)) << kept;
    EXPECT_TRUE(stickman.GetJoints().isEmpty());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].contains("has no \"standing-")) << log.lines()[0].toStdString();
  }
}

TEST_F(StickmanFileTest, AMissingJointNameBindsToNoJoint)
{
  Sections sections;
  sections.joints += R"(<joint name=""/>)";
  sections.keyPoints = R"(<key-points holder-elbow="a"/>)";
  sections.drawing += R"(<line from="a" name="no-to"/><circle radius="3" name="no-center"/>)";
  sections.postures += postureOf("unnamed", R"(<joint x="3" y="4"/><joint name="a" x="1" y="1"/>)");
  Stickman stickman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(stickman, sections));
  EXPECT_EQ(stickman.GetJoints().size(), 3);
  EXPECT_EQ(stickman.GetHolderJoint(), nullptr);
  EXPECT_EQ(stickman.GetDrawingPrimitives().size(), 2);
  EXPECT_EQ(stickman.GetStaticPosture("unnamed")->GetElements().size(), 1);
}

TEST_F(StickmanFileTest, NumbersReadTheSameUnderADecimalComma)
{
  Sections sections;
  sections.drawing = R"(<line from="a" to="b" name="ab" width="0.5" zValue="1.5"/>)";
  sections.postures += postureOf("fine", R"(<joint name="a" x="2.5" y="-0.25"/><joint name="b" x="0.5" y="0"/>)");
  sections.ragdoll = R"(<joint elementA="ab" elementB="head" anchor="a" from-angle="-22.5" to-angle="45.5"/>)";
  Stickman inC(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(inC, sections));
  const NumericLocale german(GermanLocale);
  ASSERT_TRUE(german.IsActive()) << "scripts/install-deps generates " << GermanLocale;
  Stickman inGerman(nullptr, nullptr, nullptr);
  ASSERT_TRUE(load(inGerman, sections));
  EXPECT_EQ(inGerman.GetDrawingPrimitives()[0]->GetZValue(), 1.5);
  EXPECT_DOUBLE_EQ(penWidth(inGerman.GetDrawingPrimitives()[0]), penWidth(inC.GetDrawingPrimitives()[0]));
  const Posture* a = inC.GetStaticPosture("fine");
  const Posture* b = inGerman.GetStaticPosture("fine");
  EXPECT_EQ(a->GetJointPosition(inC.FindJoint("a")), b->GetJointPosition(inGerman.FindJoint("a")));
  EXPECT_EQ(b->GetJointPosition(inGerman.FindJoint("a")) - b->GetJointPosition(inGerman.FindJoint("b")), QPointF(2, -0.25));
  ASSERT_EQ(inGerman.GetRagdollJoints().size(), 1);
  EXPECT_NEAR(inGerman.GetRagdollJoints()[0].lowerLimit, -22.5 * M_PI / 180, 1e-12);
}
