#include "Preview.h"

#include "HeldObjects.h"

#include "world/ArtisticDrawing.h"
#include "world/DrawingPen.h"
#include "world/DrawingRecognition.h"
#include "world/Object.h"
#include "world/ObjectCreator.h"

#include "common/GlobalConstants.h"
#include "stickman/Posture.h"
#include "stickman/Stickman.h"

#include <QDir>
#include <QGraphicsScene>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTextStream>

#include <memory>

namespace
{
constexpr int CellWidth = 420;
constexpr int CellHeight = 400;
constexpr int Label = 18;

/// The reference as the game makes it into an object, in the object's own pose.
ArtisticDrawing* drawingOf(const QPainterPath& path)
{
  auto* drawing = new ArtisticDrawing();
  drawing->setPen(DrawingPen);
  drawing->setZValue(bv::ObjectsZValue);
  drawing->setPath(path);
  return drawing;
}

class Renderer
{
public:
  Renderer()
    : m_figure(nullptr, &m_scene, nullptr)
  {
    m_figure.setZValue(bv::StickmanZValue);
  }

  bool load(const QString& stickmanFile) { return m_figure.Load(stickmanFile); }

  /// The figure with \a object in its hand (or beside it) facing \a direction.
  void draw(QPainter& painter, Object* object, bool held, Direction direction, const QRectF& target)
  {
    if (m_figure.GetFacingDirection() != direction)
      m_figure.TurnAround();
    if (held)
      m_figure.GrabItem(object);
    else
      object->GetItem()->setPos(direction == Right ? 120 : -120, -object->GetItem()->sceneBoundingRect().height() / 2);
    m_figure.UpdateCurrentPosture();

    const QRectF source(-CellWidth / 2.0, -CellHeight + Label + 20, CellWidth, CellHeight - Label);
    painter.fillRect(target, Qt::white);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawLine(QPointF(target.left(), target.top() - source.top()),
                     QPointF(target.right(), target.top() - source.top()));
    m_scene.render(&painter, target, source);
    if (held)
    {
      const QPointF hand = m_figure.mapToScene(m_figure.GetHolderJoint()->position);
      painter.setPen(QPen(Qt::red, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(target.topLeft() + (hand - source.topLeft()), 5, 5);
      m_figure.ReleaseItem();
    }
  }

  QGraphicsScene& scene() { return m_scene; }

private:
  QGraphicsScene m_scene;
  Stickman m_figure;
};
} // namespace

bool RenderPreview(const QString& objectsFile, const QString& stickmanFile, const QString& outputDir)
{
  QTextStream err(stderr);
  ObjectCreator creator;
  if (!creator.loadObjectDescriptions(objectsFile, nullptr, nullptr))
  {
    err << objectsFile << ": not an objects file\n";
    return false;
  }
  Renderer renderer;
  if (!renderer.load(stickmanFile))
  {
    err << stickmanFile << ": not a stickman file\n";
    return false;
  }
  if (!QDir().mkpath(outputDir))
  {
    err << outputDir << ": cannot be created\n";
    return false;
  }

  QList<QImage> cells;
  for (auto it = creator.GetObjectDescriptions().cbegin(); it != creator.GetObjectDescriptions().cend(); ++it)
  {
    const ObjectCreator::ObjectInfo& info = it.value();
    const QPainterPath reference = ReferencePath(it.key(), info, DrawnSizePx);
    if (reference.isEmpty())
      continue;
    ArtisticDrawing* drawing = drawingOf(reference);
    renderer.scene().addItem(drawing);
    std::unique_ptr<Object> object(Object::Create(it.key()));
    object->Init(nullptr, drawing, nullptr, info.material, info.grabable, info.usable, info.maximumSize, info.sounds,
                 info.lightSource, false);
    object->ShrinkToMaximumSize();

    QImage cell(2 * CellWidth, CellHeight, QImage::Format_RGB32);
    cell.fill(QColor(235, 235, 235));
    QPainter painter(&cell);
    painter.setRenderHint(QPainter::Antialiasing);
    // A vehicle is boarded, its rider hidden: it stands beside the figure.
    const bool boarded = object->GetCategory() == ObjectCategory::Vehicle;
    const bool held = info.grabable.grabable && !boarded;
    painter.drawText(QRectF(0, 0, cell.width(), Label), Qt::AlignCenter,
                     QString("%1 (%2)").arg(it.key(), boarded ? "boarded" : held ? "held" : "not carried"));
    for (const Direction direction : {Right, Left})
    {
      const QRectF target(direction == Right ? 2 : CellWidth + 2, Label, CellWidth - 4, CellHeight - Label - 2);
      renderer.draw(painter, object.get(), held, direction, target);
    }
    painter.end();
    object.reset();
    delete drawing;
    const QString path = QDir(outputDir).filePath(it.key() + ".png");
    if (!cell.save(path))
    {
      err << path << ": cannot be written\n";
      return false;
    }
    cells.append(cell);
  }

  const int columns = 4;
  const int rows = (cells.size() + columns - 1) / columns;
  QImage sheet(columns * 2 * CellWidth / 2, rows * CellHeight / 2, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (int i = 0; i < cells.size(); ++i)
    painter.drawImage(QRectF((i % columns) * CellWidth, (i / columns) * CellHeight / 2, CellWidth, CellHeight / 2),
                      cells[i]);
  painter.end();
  const QString path = QDir(outputDir).filePath("all.png");
  if (!sheet.save(path))
  {
    err << path << ": cannot be written\n";
    return false;
  }
  return true;
}
