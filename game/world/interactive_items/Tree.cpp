#include "world/interactive_items/Tree.h"

#include "common/ConvertUtils.h"
#include "common/GlobalConstants.h"
#include "common/XmlUtils.h"
#include "flow/FadeCutscene.h"
#include "world/FixtureCreators.h"
#include "world/Materials.h"
#include "world/Object.h"
#include "world/Scene.h"

#include <box2d/b2_body.h>

#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QLoggingCategory>
#include <tinyxml.h>

namespace
{
Q_LOGGING_CATEGORY(lcTree, "bv.world")

bool cutsWood(const Object* object)
{
  return object->GetName() == QLatin1String("axe") || object->GetName() == QLatin1String("saw");
}

// A picture named by a level: devices and directories are never read.
QImage loadPicture(const QString& path)
{
  const QFileInfo info(path);
  QImage image;
  if (info.isFile())
    image.load(path);
  return image;
}

// A picture item centred on \a centre, scene pixels.
QGraphicsPixmapItem* addCentredPicture(Scene* scene, const QPixmap& picture, const QPointF& centre, double z)
{
  QGraphicsPixmapItem* item = scene->addPixmap(picture);
  item->setOffset(-(picture.width() / 2), -(picture.height() / 2));
  item->setPos(centre);
  item->setZValue(z);
  return item;
}

// Adds a simulated object of \a name pictured by \a item, with no sounds, grip or use of its own.
Object* addSceneryObject(Scene* scene, const QString& name, QGraphicsItem* item, FixtureCreator* fixtures,
                         const Material& material)
{
  Object* object = Object::Create(name);
  object->Init(scene, item, fixtures, material, GrabableInfo(), UsableInfo(), QSizeF(-1, -1), ObjectSoundsInfo(),
               LightSourceInfo(), true);
  scene->AddObject(object, true);
  return object;
}

// Replaces the tree by its raft while the fade has the screen black.
class BuildRaftSceneChanges : public ObscuredSceneChanges
{
public:
  BuildRaftSceneChanges(Scene* scene, int treeId, const QPointF& raftPos, const QSizeF& raftSize,
                        const QImage& raftImage, const Material& raftMaterial)
    : m_scene(scene)
    , m_treeId(treeId)
    , m_raftPos(raftPos)
    , m_raftSize(raftSize)
    , m_raftImage(raftImage)
    , m_raftMaterial(raftMaterial)
  {
  }

  void Run() override
  {
    // The tree is looked up rather than held: a second cut may have made a
    // second fade, and only the first one finds the tree to turn into a raft.
    InteractiveItem* tree = m_scene->FindInteractiveItemById(m_treeId);
    if (!tree)
      return;
    m_scene->RemoveInteractiveItem(tree);
    delete tree;
    QGraphicsPixmapItem* item =
      addCentredPicture(m_scene, QPixmap::fromImage(m_raftImage), m_raftPos, bv::ObjectsZValue);
    addSceneryObject(m_scene, QStringLiteral("raft"), item,
                     new RectFixtureCreator(m_raftSize.width(), m_raftSize.height()), m_raftMaterial);
  }

private:
  Scene* m_scene;
  int m_treeId;
  QPointF m_raftPos;
  QSizeF m_raftSize;
  QImage m_raftImage;
  Material m_raftMaterial;
};
} // namespace

namespace interactive_items
{
void Tree::Init(Scene* scene, const Level::InteractiveItem& info)
{
  InteractiveItem::Init(scene, info);
  const TiXmlElement* element = info.element;
  if (const TiXmlElement* raft = element ? element->FirstChildElement("raft") : nullptr)
  {
    const QPointF raftAt = xml::LoadPointF(raft);
    const QSizeF raftSize = xml::LoadSizeF(raft);
    m_raftPos = m2px(raftAt);
    m_raftSize = m2px(raftSize);
    m_raftMaterial = scene->GetMaterials()->Get(xml::LoadString(raft, "material"));
    m_message = xml::LoadString(raft, "message");
    m_messageDelay = 1.0;
    xml::LoadNumber(raft, "message-delay", m_messageDelay);
    m_stickmanComment = xml::LoadString(raft, "stickman-comment");
    const QString path = info.directory + QLatin1Char('/') + xml::LoadString(raft, "image");
    m_raftImage = loadPicture(path);
    if (m_raftImage.isNull())
      qCDebug(lcTree).noquote() << "Could not load raft image from path" << QStringLiteral("\"%1\"").arg(path);
    else if (!Scene::FitsWorld(raftAt) || !Scene::FitsWorld(QPointF(raftSize.width(), raftSize.height())))
    {
      qCDebug(lcTree) << "A raft out of the world is left out:" << raftAt << raftSize;
      m_raftImage = QImage();
    }
  }
  m_cutPolygon.clear();
  const TiXmlElement* cut = element ? element->FirstChildElement("cut-physics") : nullptr;
  if (!cut)
    return;
  m_cutMaterialName = xml::LoadString(cut, "material");
  if (const TiXmlElement* polygon = cut->FirstChildElement("polygon"))
    for (const TiXmlElement* vertex = polygon->FirstChildElement("vertex"); vertex;
         vertex = vertex->NextSiblingElement("vertex"))
    {
      // A vertex out of the world leaves the tree standing rather than give Box2D a body it cannot hold.
      if (!Scene::FitsWorld(xml::LoadPointF(vertex)))
      {
        qCDebug(lcTree) << "A felled tree's outline out of the world is left out:" << xml::LoadPointF(vertex);
        m_cutPolygon.clear();
        break;
      }
      m_cutPolygon.append(m2px(xml::LoadPointF(vertex)));
    }
  m_fallImpulse = m_fallImpulsePoint = QPointF(0, 0);
  if (const TiXmlElement* impulse = cut->FirstChildElement("fall-impulse"))
  {
    if (const TiXmlElement* vector = impulse->FirstChildElement("vector"))
      m_fallImpulse = xml::LoadPointF(vector);
    if (const TiXmlElement* point = impulse->FirstChildElement("point"))
      m_fallImpulsePoint = xml::LoadPointF(point);
    if (!Scene::FitsWorld(m_fallImpulse) || !Scene::FitsWorld(m_fallImpulsePoint))
      m_fallImpulse = m_fallImpulsePoint = QPointF(0, 0);
  }
}

void Tree::OnTouchStarted(Object* object)
{
  if (!cutsWood(object))
    return;
  m_scene->PlaySound(object->GetName() + QStringLiteral("_versus_tree"), object->GetItem()->pos(), 1.0, false);
  if (m_raftImage.isNull())
    return;
  boost::shared_ptr<ObscuredSceneChanges> changes(
    new BuildRaftSceneChanges(m_scene, GetId(), m_raftPos, m_raftSize, m_raftImage, m_raftMaterial));
  FadeCutscene fade(m_message, m_messageDelay, changes, m_stickmanComment);
  m_scene->PlayCutscene(&fade);
}

void Tree::OnTouchFinished(Object* object)
{
  if (!cutsWood(object) || !m_raftImage.isNull() || m_cutPolygon.isEmpty())
    return;
  QGraphicsPixmapItem* item =
    addCentredPicture(m_scene, m_item->pixmap(), m_item->sceneBoundingRect().center(), m_item->zValue());
  Object* felled = addSceneryObject(m_scene, QStringLiteral("tree"), item, new PolygonFixtureCreator(m_cutPolygon),
                                    m_scene->GetMaterials()->Get(m_cutMaterialName));
  b2Body* body = felled->GetBody();
  if (!m_fallImpulse.isNull() && body && body->GetType() == b2_dynamicBody)
  {
    body->SetAwake(true);
    body->ApplyLinearImpulse(Point2Vec(m_fallImpulse), Point2Vec(m_fallImpulsePoint), true);
  }
  m_item->hide();
  Vanish();
}
} // namespace interactive_items
