#include "Preview.h"

#include "stickman/Animation.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <QDir>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>

namespace
{
constexpr int Label = 18;

struct Frame
{
  const Posture* posture;
  QPointF position;
  QString label;
  bool key = false;
};

class Renderer
{
public:
  Renderer()
    : m_stickman(nullptr, &m_scene, nullptr)
  {
  }

  bool load(const QString& fileName) { return m_stickman.Load(fileName); }
  Stickman& stickman() { return m_stickman; }

  // The figure in posture \a frame, drawn into \a target showing \a source of the scene.
  void draw(QPainter& painter, const Frame& frame, const QRectF& source, const QRectF& target)
  {
    m_stickman.setPos(frame.position);
    frame.posture->Apply();
    m_stickman.UpdateCurrentPosture();
    painter.fillRect(target, Qt::white);
    const double scale = target.width() / source.width();
    const auto map = [&](const QPointF& p) { return target.topLeft() + (p - source.topLeft()) * scale; };
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawLine(map(QPointF(source.left(), 0)), map(QPointF(source.right(), 0)));
    painter.setPen(QPen(QColor(220, 220, 220), 1, Qt::DashLine));
    painter.drawLine(map(QPointF(0, source.top())), map(QPointF(0, source.bottom())));
    m_scene.render(&painter, target, source);
    if (const Joint* holder = m_stickman.GetHolderJoint())
    {
      painter.setPen(QPen(Qt::red, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(map(m_stickman.mapToScene(holder->position)), 5, 5);
    }
    painter.setPen(frame.key ? Qt::red : Qt::black);
    painter.drawText(QRectF(target.left(), target.bottom(), target.width(), Label), Qt::AlignCenter, frame.label);
    if (frame.key)
    {
      painter.setPen(QPen(Qt::red, 3));
      painter.drawRect(target.adjusted(1, 1, -1, -1));
    }
  }

  // The scene rectangle that shows every frame, with a margin.
  QRectF bounds(const QList<Frame>& frames)
  {
    QRectF r;
    for (const Frame& frame : frames)
    {
      m_stickman.setPos(frame.position);
      frame.posture->Apply();
      m_stickman.UpdateCurrentPosture();
      r |= m_stickman.mapRectToScene(m_stickman.childrenBoundingRect());
    }
    r |= QRectF(-60, -200, 120, 210);
    return r.adjusted(-10, -10, 10, 10);
  }

  // The frames in a grid, then the paths of \a paths when there are any.
  QImage sheet(const QList<Frame>& frames, const QString& title, const QList<Frame>& paths)
  {
    const bool withPaths = !paths.isEmpty();
    const QRectF source = bounds(frames + paths);
    const double cellWidth = source.width();
    const double cellHeight = source.height() + Label;
    const int cells = frames.size() + (withPaths ? 1 : 0);
    const int columns = std::min(cells, 8);
    const int rows = (cells + columns - 1) / columns;
    QImage image(int(columns * cellWidth), int(rows * cellHeight) + Label, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawText(QRectF(0, 0, image.width(), Label), Qt::AlignCenter, title);
    for (int i = 0; i < frames.size(); ++i)
      draw(painter, frames[i], source, cellRect(i, columns, cellWidth, cellHeight, source));
    if (withPaths)
      drawPaths(painter, paths, source, cellRect(frames.size(), columns, cellWidth, cellHeight, source));
    return image;
  }

private:
  static QRectF cellRect(int index, int columns, double width, double height, const QRectF& source)
  {
    return QRectF((index % columns) * width, Label + (index / columns) * height, width, source.height()).adjusted(
        2, 2, -2, -2);
  }

  // Where the hands, feet and head go over all frames: a smooth motion draws smooth curves.
  void drawPaths(QPainter& painter, const QList<Frame>& frames, const QRectF& source, const QRectF& target)
  {
    painter.fillRect(target, Qt::white);
    const double scale = target.width() / source.width();
    const auto map = [&](const QPointF& p) { return target.topLeft() + (p - source.topLeft()) * scale; };
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawLine(map(QPointF(source.left(), 0)), map(QPointF(source.right(), 0)));
    const QList<QPair<QString, QColor>> joints{{"head", Qt::darkGreen},      {"left_hand", Qt::cyan},
                                               {"right_hand", Qt::red},      {"left_foot", Qt::magenta},
                                               {"right_foot", Qt::darkBlue}, {"pelvis", Qt::darkYellow}};
    for (const auto& joint : joints)
    {
      const Joint* j = m_stickman.FindJoint(joint.first);
      if (!j)
        continue;
      QPainterPath path;
      for (int i = 0; i < frames.size(); ++i)
      {
        m_stickman.setPos(frames[i].position);
        frames[i].posture->Apply();
        const QPointF p = map(m_stickman.mapToScene(j->position));
        if (i == 0)
          path.moveTo(p);
        else
          path.lineTo(p);
        painter.setPen(QPen(joint.second, 1));
        painter.drawEllipse(p, 1.5, 1.5);
      }
      painter.setPen(QPen(joint.second, 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawPath(path);
    }
    painter.setPen(Qt::black);
    painter.drawText(QRectF(target.left(), target.bottom(), target.width(), Label), Qt::AlignCenter, "paths");
  }

  QGraphicsScene m_scene;
  Stickman m_stickman;
};
} // namespace

bool RenderPreview(const QString& dataFile, const QString& outputDir)
{
  QTextStream err(stderr);
  Renderer renderer;
  if (!renderer.load(dataFile))
  {
    err << dataFile << ": not a stickman file\n";
    return false;
  }
  if (!QDir().mkpath(outputDir))
  {
    err << outputDir << ": cannot be created\n";
    return false;
  }
  Stickman& stickman = renderer.stickman();
  const auto save = [&](const QImage& image, const QString& name) {
    const QString path = QDir(outputDir).filePath(name + ".png");
    if (!image.save(path))
    {
      err << path << ": cannot be written\n";
      return false;
    }
    return true;
  };

  QList<Frame> postures;
  for (const QString& name : stickman.GetStaticPostureNames())
    postures.append({stickman.GetStaticPosture(name), QPointF(), name});
  if (!save(renderer.sheet(postures, "static postures", {}), "postures"))
    return false;

  for (const QString& name : stickman.GetAnimationNames())
  {
    const Animation* animation = stickman.GetAnimation(name);
    const QList<Posture>& all = animation->GetPostures();
    if (all.isEmpty())
      continue;
    // Every frame for the paths; every few frames, the key frame and the end for the strip.
    QList<Frame> every;
    QList<Frame> strip;
    const int stride = std::max(1, int(std::ceil(all.size() / 11.0)));
    for (int i = 0; i < all.size(); ++i)
    {
      const bool key = animation->HasKeyFrame() && animation->GetKeyFrame() == i;
      const Frame frame{&all[i], QPointF(), QString::number(i), key};
      every.append(frame);
      if (i % stride == 0 || key || i == all.size() - 1)
        strip.append(frame);
    }
    if (const Posture* end = animation->GetEndPosture())
    {
      const Frame last{end, animation->GetOffset(), "end", false};
      every.append(last);
      strip.append(last);
    }
    const QString title = QString("%1: %2 frames, offset (%3, %4)%5")
                              .arg(name)
                              .arg(all.size())
                              .arg(animation->GetOffset().x())
                              .arg(animation->GetOffset().y())
                              .arg(animation->HasKeyFrame() ? QString(", key frame %1").arg(animation->GetKeyFrame())
                                                            : QString());
    if (!save(renderer.sheet(strip, title, every), name))
      return false;
  }
  return true;
}
