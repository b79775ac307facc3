#include "ManagerTestSupport.h"

#include "flow/GameMenuScene.h"
#include "flow/GraphicsButton.h"
#include "flow/View.h"
#include "world/Scene.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSettings>

void ManagerTest::SetUp()
{
  ASSERT_TRUE(settingsDir.isValid());
  QCoreApplication::setOrganizationName("brisvel-tests");
  QCoreApplication::setApplicationName("manager");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  window.resize(1280, 720);
}

GeneralManager& ManagerTest::manager()
{
  if (!m_manager)
  {
    m_manager.reset(new GeneralManager(&window, nullptr));
    m_manager->SetManualTicks();
    m_manager->SetLevelErrorHandler([this](const QString& message) { errors << message; });
    m_manager->SetLevelsPath(BV_TEST_LEVELS_DIR);
  }
  return *m_manager;
}

void ManagerTest::restartProgram()
{
  m_manager.reset();
  manager();
}

void ManagerTest::tick(int count)
{
  for (int i = 0; i < count; ++i)
    manager().Tick();
}

void ManagerTest::finishOverview()
{
  for (int i = 0; i < 3750 && manager().IsLevelOverviewRunning(); ++i)
    tick();
  ASSERT_FALSE(manager().IsLevelOverviewRunning());
}

void ManagerTest::key(int key, Qt::KeyboardModifiers modifiers)
{
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  manager().keyPressEvent(&press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  manager().keyReleaseEvent(&release);
}

void ManagerTest::draw(const QList<QPolygonF>& strokes)
{
  QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  manager().keyPressEvent(&control);
  for (const QPolygonF& stroke : strokes)
  {
    for (int i = 0; i < stroke.size(); ++i)
    {
      const QPoint at = manager().GetView()->mapFromScene(stroke[i]);
      const bool first = i == 0, last = i + 1 == stroke.size();
      QMouseEvent event(first ? QEvent::MouseButtonPress : last ? QEvent::MouseButtonRelease : QEvent::MouseMove, at,
                        first || last ? Qt::LeftButton : Qt::NoButton, last ? Qt::NoButton : Qt::LeftButton,
                        Qt::ControlModifier);
      if (first)
        manager().mousePressEvent(&event);
      else if (last)
        manager().mouseReleaseEvent(&event);
      else
        manager().mouseMoveEvent(&event);
    }
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
  manager().keyReleaseEvent(&release);
}

QStringList ManagerTest::visibleButtons()
{
  QStringList labels;
  for (QGraphicsItem* item : manager().GetMenuScene()->items())
    if (auto* button = dynamic_cast<GraphicsButton*>(item); button && button->isVisible())
      labels << button->GetText();
  labels.sort();
  return labels;
}

void ManagerTest::clickButton(const QString& label)
{
  for (QGraphicsItem* item : manager().GetMenuScene()->items())
    if (auto* button = dynamic_cast<GraphicsButton*>(item); button && button->GetText() == label)
    {
      const QPoint at = manager().GetView()->mapFromScene(button->sceneBoundingRect().center());
      QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      manager().mousePressEvent(&press);
      return;
    }
  FAIL() << "no button " << label.toStdString();
}

bool ManagerTest::showsLevel()
{
  return manager().GetView()->scene() == manager().GetScene();
}

bool ManagerTest::showsMenu()
{
  return manager().GetView()->scene() == manager().GetMenuScene();
}
