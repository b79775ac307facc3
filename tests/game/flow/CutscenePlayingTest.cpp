#include "../world/SceneTestSupport.h"

#include "flow/Bubble.h"
#include "flow/DisappearingThinkBubble.h"
#include "flow/FadeCutscene.h"
#include "flow/HUD.h"
#include "flow/SayBubble.h"
#include "flow/SimpleCutscene.h"
#include "flow/ThinkBubble.h"

#include <QGraphicsSimpleTextItem>
#include <boost/make_shared.hpp>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace
{
const QByteArray TwoStickmen = SceneLevel(R"(
  <start x="2" y="9"/>
  <ground><region x="0" y="9" width="30" height="1"/></ground>
  <npc><friend x="6" y="9" name="Ann"/></npc>
)");

Cue cue(const QString& from, const QString& text, double delay, Cue::Type type = Cue::Say)
{
  Cue c;
  c.SetFrom(from);
  c.SetText(text);
  c.SetDelay(delay);
  c.SetType(type);
  return c;
}

int bubbles(Scene& scene)
{
  int count = 0;
  for (QGraphicsItem* item : scene.items())
    count += dynamic_cast<Bubble*>(item) != nullptr;
  return count;
}

class CountedChanges : public ObscuredSceneChanges
{
public:
  void Run() override { ++runs; }
  int runs = 0;
};
} // namespace

TEST(CutscenePlayingTest, ACueWithADelayWaitsForThePlayerToSkipIt)
{
  SceneFixture f;
  f.Build(TwoStickmen);
  SimpleCutscene conversation({cue("player", "Hello?", 3), cue("Ann", "Hi!", 3, Cue::Think)});
  QSignalSpy started(&f.scene(), &Scene::cutsceneStarted);
  QSignalSpy finished(&f.scene(), &Scene::cutsceneFinished);
  f.scene().PlayCutscene(&conversation);
  EXPECT_FALSE(conversation.IsStarted());
  f.Tick();
  EXPECT_EQ(started.count(), 1);
  EXPECT_EQ(bubbles(f.scene()), 1);
  // Ten seconds later it still waits.
  f.Tick(625);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_EQ(bubbles(f.scene()), 1);
  f.scene().SkipCutsceneCue();
  f.Tick();
  int thoughts = 0;
  for (QGraphicsItem* item : f.scene().items())
    thoughts += dynamic_cast<ThinkBubble*>(item) != nullptr;
  EXPECT_EQ(thoughts, 1);
  f.scene().SkipCutsceneCue();
  f.Tick();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(bubbles(f.scene()), 0);
}

TEST(CutscenePlayingTest, CuesWithoutDelayLastOneTickAndAnEmptyCutsceneEndsAsItStarts)
{
  SceneFixture f;
  f.Build(TwoStickmen);
  QStringList events;
  QObject::connect(&f.scene(), &Scene::cutsceneStarted, [&] { events << "started"; });
  QObject::connect(&f.scene(), &Scene::cutsceneFinished, [&] { events << "finished"; });
  SimpleCutscene empty({});
  f.scene().PlayCutscene(&empty);
  f.Tick();
  EXPECT_EQ(events, QStringList({"started", "finished"}));

  events.clear();
  SimpleCutscene quick({cue("player", "One", 0), cue("nobody", "Two", 0)});
  f.scene().PlayCutscene(&quick);
  f.Tick();
  EXPECT_EQ(bubbles(f.scene()), 1);
  f.Tick();
  // The second cue has no speaker in the level: it goes to the HUD.
  EXPECT_EQ(f.scene().GetHUD()->GetMessageItem()->text(), "Two");
  EXPECT_EQ(events, QStringList({"started"}));
  f.Tick();
  EXPECT_EQ(events, QStringList({"started", "finished"}));
  EXPECT_EQ(bubbles(f.scene()), 0);
}

TEST(CutscenePlayingTest, AFadeDarkensShowsItsMessageRunsTheChangesAndBrightensAgain)
{
  SceneFixture f;
  f.Build(TwoStickmen);
  auto changes = boost::make_shared<CountedChanges>();
  FadeCutscene fade("Later that day", 0.1, changes, "What a day.");
  std::unique_ptr<Cutscene> playing(fade.Clone());
  playing->Start(&f.scene());
  QGraphicsSimpleTextItem* message = f.scene().GetHUD()->GetMessageItem();
  int ticks = 0;
  while (!message->isVisible() && ticks < 100)
  {
    playing->Advance();
    ++ticks;
  }
  EXPECT_EQ(ticks, 20);
  EXPECT_EQ(message->text(), "Later that day");
  EXPECT_EQ(changes->runs, 1);
  // 0.1 s of message: 7 ticks.
  for (int tick = 0; tick < 6; ++tick)
    playing->Advance();
  EXPECT_TRUE(message->isVisible());
  playing->Advance();
  EXPECT_FALSE(message->isVisible());
  ticks = 0;
  while (!playing->IsFinished() && ticks < 100)
  {
    playing->Advance();
    ++ticks;
  }
  EXPECT_EQ(ticks, 20);
  EXPECT_EQ(changes->runs, 1);
  int comments = 0;
  for (QGraphicsItem* item : f.scene().items())
    comments += dynamic_cast<DisappearingThinkBubble*>(item) != nullptr;
  EXPECT_EQ(comments, 1);
}
