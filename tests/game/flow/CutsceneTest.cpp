#include "flow/Cue.h"
#include "flow/Cutscene.h"
#include "flow/CutsceneConditions.h"
#include "flow/FadeCutscene.h"
#include "flow/SimpleCutscene.h"
#include "flow/cutscenes/EagleAbductionCutscene.h"

#include <QXmlStreamWriter>
#include <tinyxml.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{
class CutsceneXml : public testing::Test
{
protected:
  const TiXmlElement* parse(const QByteArray& xml)
  {
    document.Clear();
    document.Parse(xml.constData(), nullptr, TIXML_ENCODING_UTF8);
    return document.RootElement();
  }

  std::unique_ptr<Cutscene> load(const QByteArray& xml) { return std::unique_ptr<Cutscene>(Cutscene::Load(parse(xml))); }

  /// The "cutscene" element that \a cutscene writes.
  static QByteArray save(const Cutscene& cutscene)
  {
    QByteArray text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement(QStringLiteral("cutscene"));
    cutscene.Save(writer);
    writer.writeEndElement();
    return text;
  }

  static QList<Cue> cues(const Cutscene* cutscene)
  {
    const SimpleCutscene* simple = dynamic_cast<const SimpleCutscene*>(cutscene);
    return simple ? simple->GetCues() : QList<Cue>();
  }

  TiXmlDocument document;
};
} // namespace

TEST_F(CutsceneXml, CuesInOrderWithTheirDefaults)
{
  const auto cutscene = load("<cutscene>"
                             "<cue type=\"think\" from=\"player\" text=\"Hmm\" delay=\"2.5\"/>"
                             "<cue type=\"Think\" from=\"guard\" text=\"Halt!\"/>"
                             "<line text=\"not a cue\"/>"
                             "<cue/>"
                             "</cutscene>");
  ASSERT_NE(dynamic_cast<SimpleCutscene*>(cutscene.get()), nullptr);
  const QList<Cue> list = cues(cutscene.get());
  ASSERT_EQ(list.size(), 3);
  EXPECT_EQ(list[0].GetType(), Cue::Think);
  EXPECT_EQ(list[0].GetFrom(), QStringLiteral("player"));
  EXPECT_EQ(list[0].GetText(), QStringLiteral("Hmm"));
  EXPECT_EQ(list[0].GetDelay(), 2.5);
  EXPECT_EQ(list[1].GetType(), Cue::Say); // "think" is case-sensitive
  EXPECT_EQ(list[1].GetFrom(), QStringLiteral("guard"));
  EXPECT_EQ(list[1].GetDelay(), 0);
  EXPECT_EQ(list[2].GetType(), Cue::Say);
  EXPECT_TRUE(list[2].GetFrom().isEmpty());
  EXPECT_TRUE(list[2].GetText().isEmpty());
  EXPECT_FALSE(cutscene->IsStarted());
  EXPECT_FALSE(cutscene->IsFinished());
}

TEST_F(CutsceneXml, CueLoadResetsEveryField)
{
  Cue cue;
  cue.SetType(Cue::Think);
  cue.SetFrom(QStringLiteral("x"));
  cue.SetText(QStringLiteral("y"));
  cue.SetDelay(4);
  cue.Load(parse("<cue/>"));
  EXPECT_EQ(cue, Cue());
}

TEST_F(CutsceneXml, EmptyCutsceneIsValid)
{
  const auto cutscene = load("<cutscene/>");
  ASSERT_NE(cutscene, nullptr);
  EXPECT_TRUE(cues(cutscene.get()).isEmpty());
}

TEST_F(CutsceneXml, SpecialKinds)
{
  const auto eagle = load("<cutscene special=\"eagle_abduction\"><cue text=\"ignored\"/></cutscene>");
  ASSERT_NE(dynamic_cast<EagleAbductionCutscene*>(eagle.get()), nullptr);
  EXPECT_EQ(save(*eagle), QByteArray("<cutscene special=\"eagle_abduction\"/>"));
  EXPECT_EQ(load("<cutscene special=\"Eagle_Abduction\"/>"), nullptr);
  EXPECT_EQ(load("<cutscene special=\"\"/>"), nullptr);
}

TEST_F(CutsceneXml, SavedCuesLoadBack)
{
  QList<Cue> original;
  const struct
  {
    Cue::Type type;
    const char* from;
    const char* text;
    double delay;
  } data[] = {{Cue::Say, "player", "Hello <there> & \"you\"", 3},
              {Cue::Think, "guard", "caf\xc3\xa9", 0.125},
              {Cue::Say, "", "", 0}};
  for (const auto& d : data)
  {
    Cue cue;
    cue.SetType(d.type);
    cue.SetFrom(QString::fromUtf8(d.from));
    cue.SetText(QString::fromUtf8(d.text));
    cue.SetDelay(d.delay);
    original.append(cue);
  }
  const SimpleCutscene cutscene(original);
  const QByteArray text = save(cutscene);
  EXPECT_TRUE(text.startsWith("<cutscene><cue type=\"say\" from=\"player\" text=\"Hello &lt;there&gt; &amp; &quot;you&quot;\" "
                              "delay=\"3\"/>"))
    << text.constData();
  EXPECT_EQ(cues(load(text).get()), original);

  // Delays keep six significant digits.
  Cue precise;
  precise.SetDelay(1.23456789);
  const QByteArray preciseText = save(SimpleCutscene({precise}));
  ASSERT_EQ(cues(load(preciseText).get()).size(), 1);
  EXPECT_EQ(cues(load(preciseText).get())[0].GetDelay(), 1.23457);
}

TEST_F(CutsceneXml, ClonesAreIndependentAndNotStarted)
{
  Cue cue;
  cue.SetText(QStringLiteral("one"));
  const SimpleCutscene original({cue});
  std::unique_ptr<Cutscene> clone(original.Clone());
  ASSERT_NE(dynamic_cast<SimpleCutscene*>(clone.get()), nullptr);
  EXPECT_EQ(cues(clone.get()), QList<Cue>({cue}));
  EXPECT_FALSE(clone->IsStarted());

  const EagleAbductionCutscene eagle{QImage()};
  std::unique_ptr<Cutscene> eagleClone(eagle.Clone());
  EXPECT_NE(dynamic_cast<EagleAbductionCutscene*>(eagleClone.get()), nullptr);
}

TEST_F(CutsceneXml, FadeCutscenesAreNotStored)
{
  const FadeCutscene fade(QStringLiteral("Later..."), 2, nullptr, QStringLiteral("Phew"));
  EXPECT_EQ(save(fade), QByteArray("<cutscene/>"));
}

TEST_F(CutsceneXml, ConditionsNeedADrawnObjectName)
{
  CutsceneConditions conditions;
  EXPECT_TRUE(conditions.Load(parse("<conditions><object-drawn name=\"apple\"/><object-drawn name=\"axe\"/></conditions>")));
  EXPECT_EQ(conditions.GetObjectName(), QStringLiteral("apple"));

  EXPECT_FALSE(conditions.Load(parse("<conditions><object-drawn/></conditions>")));
  EXPECT_TRUE(conditions.GetObjectName().isEmpty());
  conditions.SetObjectName(QStringLiteral("apple"));
  EXPECT_FALSE(conditions.Load(parse("<conditions><object-drawn name=\"\"/></conditions>")));
  EXPECT_FALSE(conditions.Load(parse("<conditions name=\"apple\"/>")));
  EXPECT_TRUE(conditions.GetObjectName().isEmpty());
}

TEST_F(CutsceneXml, SavedConditionsLoadBack)
{
  CutsceneConditions conditions;
  conditions.SetObjectName(QStringLiteral("submachine_gun"));
  QByteArray text;
  QXmlStreamWriter writer(&text);
  writer.writeStartElement(QStringLiteral("conditions"));
  conditions.Save(writer);
  writer.writeEndElement();
  EXPECT_EQ(text, QByteArray("<conditions><object-drawn name=\"submachine_gun\"/></conditions>"));
  CutsceneConditions loaded;
  ASSERT_TRUE(loaded.Load(parse(text)));
  EXPECT_EQ(loaded.GetObjectName(), conditions.GetObjectName());
}
