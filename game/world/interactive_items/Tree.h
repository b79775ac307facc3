#pragma once

#include "common/Material.h"
#include "world/InteractiveItem.h"

#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QString>

namespace interactive_items
{
/// A tree an axe or a saw cuts: with a "raft" it becomes that raft behind a
/// fade; otherwise, with a "cut-physics" outline, it falls as a physical object.
class Tree : public InteractiveItem
{
public:
  void Init(Scene* scene, const Level::InteractiveItem& info) override;
  /// The cutter's sound; with a raft, the fade that builds it.
  void OnTouchStarted(Object* object) override;
  /// Felling, when there is no raft.
  void OnTouchFinished(Object* object) override;

private:
  /// Pixels: the centre of the raft picture and the size of its body.
  QPointF m_raftPos;
  QSizeF m_raftSize;
  /// Null when the tree makes no raft.
  QImage m_raftImage;
  Material m_raftMaterial;
  QString m_message;
  /// Seconds.
  double m_messageDelay = 1.0;
  QString m_stickmanComment;
  /// The felled tree's outline where the standing tree is, scene pixels; empty: it does not fall.
  QPolygonF m_cutPolygon;
  QString m_cutMaterialName;
  /// Physics units: kg m/s, applied at a world point in metres.
  QPointF m_fallImpulse;
  QPointF m_fallImpulsePoint;
};
} // namespace interactive_items
