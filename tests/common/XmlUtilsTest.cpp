#include "common/Material.h"
#include "common/XmlUtils.h"

#include <box2d/b2_fixture.h>

#include "NumericLocale.h"

#include <QFile>
#include <QTemporaryDir>
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

QString writeFile(const QTemporaryDir& directory, const QByteArray& content)
{
  const QString path = directory.filePath("file.xml");
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
  return path;
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

TEST(XmlUtils, NumbersAreWholeFiniteCNotation)
{
  double value = -1;
  EXPECT_TRUE(xml::ParseNumber(" 0.5 ", value));
  EXPECT_EQ(value, 0.5);
  EXPECT_TRUE(xml::ParseNumber("-1e3", value));
  EXPECT_EQ(value, -1000);
  for (const char* text : {"1,5", "abc", "3abc", "", "nan", "inf", "-inf", "1e400"})
  {
    value = 7;
    EXPECT_FALSE(xml::ParseNumber(text, value)) << text;
    EXPECT_EQ(value, 7) << text;
  }
  EXPECT_FALSE(xml::ParseNumber(nullptr, value));

  const TiXmlElement e = element("<e x=\"nan\" y=\"inf\" width=\"1,5\" height=\"2.5\"/>");
  EXPECT_EQ(xml::LoadPointF(&e), QPointF(0, 0));
  EXPECT_EQ(xml::LoadSizeF(&e), QSizeF(0, 2.5));
}

TEST(XmlUtils, NumbersReadTheSameUnderADecimalComma)
{
  const NumericLocale german(GermanLocale);
  ASSERT_TRUE(german.IsActive()) << "scripts/install-deps generates " << GermanLocale;
  const TiXmlElement e = element("<e x=\"0.5\" y=\"-2.25\" width=\"1e-3\" height=\"0,5\"/>");
  EXPECT_EQ(xml::LoadPointF(&e), QPointF(0.5, -2.25));
  EXPECT_EQ(xml::LoadSizeF(&e), QSizeF(0.001, 0));

  Material material;
  const TiXmlElement m = element("<m friction=\"0.25\" restitution=\"0.5\" density=\"1.5\"/>");
  EXPECT_TRUE(material.Load(&m));
  EXPECT_EQ(material.friction, 0.25);
  EXPECT_EQ(material.restitution, 0.5);
  EXPECT_EQ(material.density, 1.5);

  QString text;
  QXmlStreamWriter writer(&text);
  writer.writeStartElement("p");
  xml::SavePointF(QPointF(0.5, 1.25), writer);
  writer.writeEndElement();
  EXPECT_EQ(text, "<p x=\"0.5\" y=\"1.25\"/>");
}

TEST(Material, AnAttributeThatIsNoNumberStopsTheLoad)
{
  Material material;
  const TiXmlElement e = element("<m friction=\"0.4\" restitution=\"nan\" density=\"7\"/>");
  EXPECT_FALSE(material.Load(&e));
  EXPECT_DOUBLE_EQ(material.friction, 0.4);
  EXPECT_DOUBLE_EQ(material.restitution, 0);
  EXPECT_DOUBLE_EQ(material.density, 1.0);
}

TEST(XmlDocument, LoadsAWellFormedFile)
{
  QTemporaryDir directory;
  TiXmlDocument document;
  QString problem;
  ASSERT_TRUE(xml::LoadDocument(writeFile(directory, "<a>\r\n<b x=\"1\"/></a>"), document, problem)) << problem.toStdString();
  ASSERT_NE(document.RootElement(), nullptr);
  EXPECT_EQ(document.RootElement()->FirstChildElement("b")->Row(), 2);
}

TEST(XmlDocument, RefusesWhatIsNoSmallWellFormedFile)
{
  QTemporaryDir directory;
  const auto refuses = [](const QString& path, const char* why) {
    TiXmlDocument document;
    QString problem;
    EXPECT_FALSE(xml::LoadDocument(path, document, problem)) << path.toStdString();
    EXPECT_TRUE(problem.contains(why)) << problem.toStdString();
  };
  // Neither endless nor a file: read as such, both would exhaust memory.
  refuses("/dev/zero", "not a regular file");
  refuses(directory.path(), "not a regular file");
  refuses(directory.filePath("missing.xml"), "no such file");
  refuses(writeFile(directory, QByteArray(xml::MaxDocumentBytes + 1, ' ')), "larger than");
  // The parser recurses once per level: 40,000 levels overflow its stack.
  refuses(writeFile(directory, QByteArray("<a>").repeated(40000)), "nested deeper");
  refuses(writeFile(directory, "<a><b></a>"), "not a well-formed XML file");
}

TEST(XmlDocument, CommentsQuotesAndEmptyElementsOpenNoLevel)
{
  QTemporaryDir directory;
  const int limit = xml::MaxNestingDepth;
  QByteArray content = QByteArray("<a>").repeated(limit - 1) + "<b x=\"<c>\"/><!-- <d> --><![CDATA[<e>]]>" +
                       QByteArray("</a>").repeated(limit - 1);
  TiXmlDocument document;
  QString problem;
  EXPECT_TRUE(xml::LoadDocument(writeFile(directory, content), document, problem)) << problem.toStdString();
  content = QByteArray("<a>").repeated(limit + 1) + QByteArray("</a>").repeated(limit + 1);
  EXPECT_FALSE(xml::LoadDocument(writeFile(directory, content), document, problem));
}
