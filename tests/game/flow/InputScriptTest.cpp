#include "flow/InputRecorder.h"
#include "flow/InputScript.h"

#include "LogCapture.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
InputScript parse(const QString& text)
{
  InputScript script;
  QString error;
  EXPECT_TRUE(script.Parse(text, &error)) << error.toStdString();
  return script;
}

QString parseError(const QString& text)
{
  InputScript script;
  QString error;
  EXPECT_FALSE(script.Parse(text, &error)) << text.toStdString();
  return error;
}
} // namespace

TEST(InputScript, ReadsEveryKindOfEvent)
{
  const InputScript script = parse("# a comment\n"
                                   "\n"
                                   "level ladder_climb\n"
                                   "  12 press Left\n"
                                   "40 release Left\n"
                                   "52 press 3 shift alt\n"
                                   "60 stroke 100,200 110.5,215 -3,4e2\n"
                                   "70 click 300,400 right\n"
                                   "70 click 1,2\n");
  ASSERT_EQ(script.GetSections().size(), 1);
  const QList<InputScript::Event> events = script.GetEvents("ladder_climb");
  ASSERT_EQ(events.size(), 6);
  EXPECT_EQ(events[0].tick, 12);
  EXPECT_EQ(events[0].type, InputScript::Event::Press);
  EXPECT_EQ(events[0].key, int(Qt::Key_Left));
  EXPECT_EQ(events[1].type, InputScript::Event::Release);
  EXPECT_EQ(events[2].key, int(Qt::Key_3));
  EXPECT_EQ(events[2].modifiers, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(events[3].type, InputScript::Event::Stroke);
  EXPECT_EQ(events[3].points, QPolygonF({QPointF(100, 200), QPointF(110.5, 215), QPointF(-3, 400)}));
  EXPECT_EQ(events[4].type, InputScript::Event::Click);
  EXPECT_EQ(events[4].button, Qt::RightButton);
  EXPECT_EQ(events[5].button, Qt::LeftButton);
}

TEST(InputScript, SectionsBelongToTheirLevels)
{
  const InputScript script = parse("1 press Up\n"
                                   "level a\n"
                                   "2 press Down\n"
                                   "level b\n"
                                   "0 press Return\n");
  EXPECT_EQ(script.GetEvents("a").value(0).key, int(Qt::Key_Down));
  EXPECT_EQ(script.GetEvents("b").value(0).key, int(Qt::Key_Return));
  EXPECT_EQ(script.GetEvents("c").value(0).key, int(Qt::Key_Up)); // the section without a level
  EXPECT_TRUE(parse("level a\n1 press Up\n").GetEvents("c").isEmpty());
}

TEST(InputScript, ErrorsNameTheLineAndKeepTheOldScript)
{
  EXPECT_EQ(parseError("1 press Left\n\nx press Left\n"), QString("line 3: bad tick \"x\""));
  EXPECT_TRUE(parseError("-1 press Left").contains("bad tick"));
  EXPECT_TRUE(parseError("99999999999 press Left").contains("bad tick"));
  EXPECT_TRUE(parseError("1 press Hyper").contains("unknown key"));
  EXPECT_TRUE(parseError("1 press Left meta").contains("unknown modifier"));
  EXPECT_TRUE(parseError("1 press").contains("no key"));
  EXPECT_TRUE(parseError("1").contains("no event"));
  EXPECT_TRUE(parseError("1 jump").contains("unknown event"));
  EXPECT_TRUE(parseError("1 stroke 1,2").contains("two points"));
  EXPECT_TRUE(parseError("1 stroke 1,2 3").contains("bad point"));
  EXPECT_TRUE(parseError("1 stroke 1,2 nan,3").contains("bad point"));
  EXPECT_TRUE(parseError("1 stroke 1,2 1,2,3").contains("bad point"));
  EXPECT_TRUE(parseError("1 click").contains("one point"));
  EXPECT_TRUE(parseError("1 click 1,2 middle").contains("unexpected"));
  EXPECT_TRUE(parseError("level").contains("one name"));
  EXPECT_EQ(parseError("5 press Up\n4 press Up"), QString("line 2: tick 4 comes before the tick of the line above"));

  InputScript script = parse("3 press Up\n");
  QString error;
  EXPECT_FALSE(script.Parse("oops", &error));
  EXPECT_EQ(script.GetEvents(QString()).size(), 1);
}

TEST(InputScript, FormattedLinesReadBackTheSame)
{
  InputScript::Event key;
  key.tick = 7;
  key.key = Qt::Key_Escape;
  key.modifiers = Qt::ControlModifier;
  InputScript::Event stroke;
  stroke.tick = 9;
  stroke.type = InputScript::Event::Stroke;
  stroke.points << QPointF(0.25, 1e-3) << QPointF(1234.5678, -20);
  InputScript::Event click;
  click.tick = 9;
  click.type = InputScript::Event::Click;
  click.points << QPointF(3, 4);
  click.button = Qt::RightButton;
  InputScript::Event odd;
  odd.tick = 10;
  odd.type = InputScript::Event::Release;
  odd.key = Qt::Key_F5;

  QString text;
  for (const InputScript::Event& event : {key, stroke, click, odd})
    text += InputScript::Format(event) + '\n';
  EXPECT_TRUE(text.startsWith("7 press Escape control\n9 stroke 0.25,0.001 1234.5678,-20\n9 click 3,4 right\n"));
  const QList<InputScript::Event> events = parse(text).GetEvents(QString());
  EXPECT_EQ(events, (QList<InputScript::Event>{key, stroke, click, odd}));
}

TEST(InputScript, KeyNamesBothWays)
{
  for (int key : {int(Qt::Key_Left), int(Qt::Key_Control), int(Qt::Key_5), int(Qt::Key_Q), int(Qt::Key_Tab)})
    EXPECT_EQ(InputScript::KeyFromName(InputScript::KeyName(key)), key);
  EXPECT_EQ(InputScript::KeyFromName("left"), 0);
  EXPECT_EQ(InputScript::KeyFromName("0xzz"), 0);
  EXPECT_EQ(InputScript::KeyFromName(""), 0);
}

TEST(InputRecorder, WritesWhatTheGameHandlerSawAsAScript)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("record.txt");
  {
    InputRecorder recorder(path);
    ASSERT_TRUE(recorder.IsOpen());
    recorder.StartLevel("first");
    recorder.Tick();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    recorder.KeyPress(&left);
    recorder.KeyPress(&repeated);
    recorder.Tick();
    QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    recorder.KeyPress(&control);
    const auto mouse = [](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
      return QMouseEvent(type, QPointF(), button, buttons, Qt::ControlModifier);
    };
    QMouseEvent down = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    QMouseEvent move = mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    QMouseEvent up = mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    recorder.MousePress(&down, QPointF(10, 20));
    recorder.Tick();
    recorder.MouseMove(&move, QPointF(30, 40));
    recorder.MouseRelease(&up, QPointF(50, 60));
    // A drag that Control's release ends.
    recorder.MousePress(&down, QPointF(1, 1));
    QKeyEvent controlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    recorder.KeyRelease(&controlUp);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    recorder.MousePress(&click, QPointF(5, 6));
    recorder.StartLevel("second");
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_4, Qt::AltModifier | Qt::KeypadModifier);
    recorder.KeyPress(&digit);
  }
  InputScript script;
  QString error;
  ASSERT_TRUE(script.Load(path, &error)) << error.toStdString();
  QStringList first;
  for (const InputScript::Event& event : script.GetEvents("first"))
    first << InputScript::Format(event);
  EXPECT_EQ(first, (QStringList{"1 press Left", "2 press Control", "2 stroke 10,20 30,40 50,60",
                                "3 stroke 1,1 1,1", "3 release Control", "3 click 5,6 right"}));
  ASSERT_EQ(script.GetEvents("second").size(), 1);
  EXPECT_EQ(InputScript::Format(script.GetEvents("second")[0]), QString("0 press 4 alt"));
}

TEST(InputRecorder, AnUnwritablePathIsReportedAndIgnored)
{
  InputRecorder recorder("/nonexistent-folder/record.txt");
  EXPECT_FALSE(recorder.IsOpen());
  recorder.StartLevel("x");
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  recorder.KeyPress(&left);
}

TEST(InputRecorder, AWriteThatFailsEndsTheRecordingWithOneWarning)
{
  LogCapture log("bv.flow.recorder");
  InputRecorder recorder("/dev/full");
  recorder.StartLevel("x");
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  recorder.KeyPress(&left);
  EXPECT_FALSE(recorder.IsOpen());
  ASSERT_EQ(log.lines().size(), 1);
  EXPECT_TRUE(log.lines()[0].contains("/dev/full")) << log.lines()[0].toStdString();
}
