#include "common/Material.h"
#include "common/XmlUtils.h"

#include <box2d/b2_fixture.h>

#include <QXmlStreamWriter>
#include <tinyxml.h>

#include <gtest/gtest.h>

namespace
{
TiXmlElement element(const char* xml)
{
  TiXmlDocument document;
  document.Parse(xml);
  return *document.RootElement();
}
} // namespace

TEST(XmlUtils, WritersUseSixSignificantDigits)
{
  QString text;
  QXmlStreamWriter writer(&text);
  writer.writeStartElement("r");
  xml::SaveRectF(QRectF(1.23456789, -2, 1000000, 0.5), writer);
  writer.writeEndElement();
  EXPECT_EQ(text, "<r x=\"1.23457\" y=\"-2\" width=\"1e+06\" height=\"0.5\"/>");
}

TEST(XmlUtils, ReadersDefaultMissingValues)
{
  const TiXmlElement e = element("<e x=\"3.5\" width=\"2\" name=\"caf\xc3\xa9\" on=\"True\" off=\"FALSE\" odd=\"yes\"/>");
  EXPECT_EQ(xml::LoadPointF(&e), QPointF(3.5, 0));
  EXPECT_EQ(xml::LoadSizeF(&e), QSizeF(2, 0));
  EXPECT_EQ(xml::LoadRectF(&e), QRectF(3.5, 0, 2, 0));
  EXPECT_EQ(xml::LoadString(&e, "name"), QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_TRUE(xml::LoadString(&e, "missing").isNull());
  EXPECT_TRUE(xml::LoadBool(&e, "on", false));
  EXPECT_FALSE(xml::LoadBool(&e, "off", true));
  EXPECT_TRUE(xml::LoadBool(&e, "odd", true));
  EXPECT_FALSE(xml::LoadBool(&e, "missing", false));
}

TEST(XmlUtils, SavedRectangleLoadsBack)
{
  QString text;
  QXmlStreamWriter writer(&text);
  writer.writeStartElement("r");
  xml::SaveRectF(QRectF(-10.5, 20.25, 300, 40), writer);
  writer.writeEndElement();
  const TiXmlElement e = element(text.toUtf8().constData());
  EXPECT_EQ(xml::LoadRectF(&e), QRectF(-10.5, 20.25, 300, 40));
}

TEST(Material, LoadStopsAtTheFirstMissingAttribute)
{
  Material material;
  const TiXmlElement partial = element("<m friction=\"0.4\" density=\"7\"/>");
  EXPECT_FALSE(material.Load(&partial));
  EXPECT_DOUBLE_EQ(material.friction, 0.4);
  EXPECT_DOUBLE_EQ(material.restitution, 0);
  EXPECT_DOUBLE_EQ(material.density, 1.0);

  const TiXmlElement full = element("<m friction=\"0.2\" restitution=\"0.5\" density=\"3\"/>");
  EXPECT_TRUE(material.Load(&full));
  b2FixtureDef def;
  material.ApplyTo(def);
  EXPECT_FLOAT_EQ(def.friction, 0.2f);
  EXPECT_FLOAT_EQ(def.restitution, 0.5f);
  EXPECT_FLOAT_EQ(def.density, 3.0f);
}
