#include "QelTestSupport.h"

#include "qel/Exceptions.h"
#include "qel/ImageConversions.h"
#include "qel/MonochromeImageInfoExtractor.h"
#include "qel/Stretchness.h"
#include "qel/TrimImage.h"

#include <gtest/gtest.h>

#include <random>

using namespace qel;
using qeltest::whiteImage;

namespace
{
bool isInk(const QImage& image, int x, int y)
{
  return image.pixelIndex(x, y) != 0;
}

QImage monoImage(int width, int height, QImage::Format format)
{
  QImage image(width, height, format);
  image.setColorCount(2);
  image.setColor(0, 0xFFFFFFFF);
  image.setColor(1, 0xFF000000);
  image.fill(0);
  return image;
}
} // namespace

TEST(ConvertToMonochrome, OnlyExactlyOpaqueWhiteIsBackground)
{
  QImage image = whiteImage(4, 1);
  image.setPixel(1, 0, qRgba(255, 255, 255, 254));
  image.setPixel(2, 0, qRgb(254, 255, 255));
  image.setPixel(3, 0, qRgb(0, 0, 0));

  const QImage mono = ConvertToMonochrome(image);

  EXPECT_EQ(mono.format(), QImage::Format_MonoLSB);
  EXPECT_EQ(mono.size(), image.size());
  EXPECT_FALSE(isInk(mono, 0, 0));
  EXPECT_TRUE(isInk(mono, 1, 0));
  EXPECT_TRUE(isInk(mono, 2, 0));
  EXPECT_TRUE(isInk(mono, 3, 0));
  EXPECT_EQ(mono.color(0), 0xFFFFFFFFu);
  EXPECT_EQ(mono.color(1), 0xFF000000u);
}

TEST(ConvertToMonochrome, GivesTheMaskQtMakesOfEveryNonWhitePixel)
{
  std::mt19937 random(11);
  for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied,
                                      QImage::Format_RGBA8888, QImage::Format_RGB888, QImage::Format_Indexed8})
  {
    for (const int width : {1, 7, 8, 9, 35})
    {
      QImage image(width, 3, format);
      if (format == QImage::Format_Indexed8)
        image.setColorTable({0xFFFFFFFF, 0xFFFFFFFE, 0x00FFFFFF, 0xFF000000});
      for (int y = 0; y < image.height(); ++y)
      {
        for (int x = 0; x < width; ++x)
        {
          const QRgb shades[] = {0xFFFFFFFF, 0xFFFFFFFE, 0xFEFFFFFF, 0xFF000000, 0x00FFFFFF};
          if (format == QImage::Format_Indexed8)
            image.setPixel(x, y, random() % 4);
          else
            image.setPixel(x, y, shades[random() % 5]);
        }
      }
      QImage expected = image.createMaskFromColor(0xFFFFFFFF, Qt::MaskOutColor);
      expected.setColorTable({0xFFFFFFFF, 0xFF000000});

      const QImage mono = ConvertToMonochrome(image);

      EXPECT_EQ(mono, expected) << format << " " << width;
      EXPECT_EQ(mono.colorTable(), expected.colorTable());
    }
  }
  EXPECT_TRUE(ConvertToMonochrome(QImage()).isNull());
}

TEST(TrimMonochromeImage, CropsToTheInkInBothBitOrders)
{
  for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_MonoLSB})
  {
    // Widths around a byte boundary, so that padding bits would show.
    QImage image = monoImage(21, 9, format);
    image.setPixel(3, 2, 1);
    image.setPixel(17, 6, 1);
    image.setPixel(9, 4, 1);

    const QImage trimmed = TrimMonochromeImage(image);

    ASSERT_EQ(trimmed.size(), QSize(15, 5)) << format;
    EXPECT_EQ(trimmed.format(), format);
    EXPECT_TRUE(isInk(trimmed, 0, 0));
    EXPECT_TRUE(isInk(trimmed, 14, 4));
    EXPECT_TRUE(isInk(trimmed, 6, 2));
    EXPECT_FALSE(isInk(trimmed, 14, 0));
  }
}

TEST(TrimMonochromeImage, KeepsEveryPixelOfTheInkRectangle)
{
  // Random ink at every bit offset: the result must be QImage::copy of the
  // rectangle between the outermost ink pixels.
  std::mt19937 random(5);
  for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_MonoLSB})
  {
    for (int trial = 0; trial < 200; ++trial)
    {
      QImage image = monoImage(1 + int(random() % 70), 1 + int(random() % 6), format);
      const int left = int(random() % image.width());
      const int right = left + int(random() % (image.width() - left));
      const int top = int(random() % image.height());
      const int bottom = top + int(random() % (image.height() - top));
      image.setPixel(left, top + int(random() % (bottom - top + 1)), 1);
      image.setPixel(right, top + int(random() % (bottom - top + 1)), 1);
      image.setPixel(left + int(random() % (right - left + 1)), top, 1);
      image.setPixel(left + int(random() % (right - left + 1)), bottom, 1);
      for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
          if (random() % 3 == 0)
            image.setPixel(x, y, 1);

      const QImage expected = image.copy(QRect(QPoint(left, top), QPoint(right, bottom)));
      const QImage trimmed = TrimMonochromeImage(image);

      ASSERT_EQ(trimmed, expected) << format << " " << image.width() << " " << left << ".." << right;
      EXPECT_EQ(trimmed.colorTable(), image.colorTable());
    }
  }
}

TEST(TrimMonochromeImage, InkIsAnyNonZeroIndexWhateverItsColour)
{
  // Index 1 painted white is still ink; index 0 painted black is not.
  QImage image = monoImage(10, 10, QImage::Format_MonoLSB);
  image.setColor(0, 0xFF000000);
  image.setColor(1, 0xFFFFFFFF);
  image.setPixel(5, 5, 1);
  EXPECT_EQ(TrimMonochromeImage(image).size(), QSize(1, 1));
}

TEST(TrimMonochromeImage, InkInTheLastColumnAndRowIsKept)
{
  QImage image = monoImage(17, 3, QImage::Format_Mono);
  image.setPixel(16, 2, 1);
  image.setPixel(8, 0, 1);
  EXPECT_EQ(TrimMonochromeImage(image).size(), QSize(9, 3));
}

TEST(TrimMonochromeImage, NoInkGivesANullImage)
{
  const QImage trimmed = TrimMonochromeImage(monoImage(12, 7, QImage::Format_Mono));
  EXPECT_TRUE(trimmed.isNull());
}

TEST(TrimMonochromeImage, RejectsEmptyAndColourImages)
{
  EXPECT_THROW(TrimMonochromeImage(QImage()), ImageIsEmpty);
  EXPECT_THROW(TrimMonochromeImage(whiteImage(3, 3)), ImageIsNotMonochrome);
}

TEST(PrepareImage, ConvertsAndTrimsColourPictures)
{
  QImage image = whiteImage(50, 40);
  QPainter painter(&image);
  painter.fillRect(10, 5, 20, 8, Qt::black);
  painter.end();

  const MonochromeImageInfoExtractor extractor;
  const QImage prepared = extractor.PrepareImage(image);

  EXPECT_EQ(prepared.size(), QSize(20, 8));
  EXPECT_TRUE(prepared.format() == QImage::Format_Mono || prepared.format() == QImage::Format_MonoLSB);
}

TEST(PrepareImage, MonoLsbPicturesAreReadThroughTheirColours)
{
  // Only Format_Mono is taken as it is; here index 0 is black ink and index 1
  // the white background, which the conversion sorts out.
  QImage image = monoImage(8, 8, QImage::Format_MonoLSB);
  image.setColor(0, 0xFF000000);
  image.setColor(1, 0xFFFFFFFF);
  image.fill(1);
  image.setPixel(2, 3, 0);
  image.setPixel(4, 3, 0);

  EXPECT_EQ(MonochromeImageInfoExtractor().PrepareImage(image).size(), QSize(3, 1));
}

TEST(PrepareImage, WhitePictureGivesANullImageAndANullPictureThrows)
{
  const MonochromeImageInfoExtractor extractor;
  EXPECT_TRUE(extractor.PrepareImage(whiteImage(10, 10)).isNull());
  EXPECT_THROW(extractor.PrepareImage(QImage()), ImageIsEmpty);
}

TEST(AlphaChannel, AddAlphaChannelMakesAnOpaqueCopy)
{
  QImage rgb(2, 1, QImage::Format_RGB32);
  rgb.setPixel(0, 0, qRgb(10, 20, 30));
  rgb.setPixel(1, 0, qRgb(255, 255, 255));
  const QImage withAlpha = AddAlphaChannel(rgb);
  EXPECT_EQ(withAlpha.format(), QImage::Format_ARGB32);
  EXPECT_EQ(withAlpha.pixel(0, 0), qRgba(10, 20, 30, 255));

  QImage argb = whiteImage(1, 1);
  argb.setPixel(0, 0, qRgba(1, 2, 3, 4));
  const QImage copy = AddAlphaChannel(argb);
  EXPECT_EQ(copy.pixel(0, 0), qRgba(1, 2, 3, 4));
}

TEST(AlphaChannel, CorrectionLaysThePictureOverWhite)
{
  QImage image = whiteImage(3, 1);
  image.setPixel(0, 0, qRgba(0, 100, 200, 0));
  image.setPixel(1, 0, qRgba(0, 100, 200, 51));
  image.setPixel(2, 0, qRgba(0, 100, 200, 255));

  EXPECT_TRUE(CorrectImageAlphaChannel(image));

  EXPECT_EQ(image.pixel(0, 0), qRgba(255, 255, 255, 255));
  // k = 1 - 51 / 255 = 0.8: 0 + 255 * 0.8 = 204, 100 + 155 * 0.8 = 224, 200 + 55 * 0.8 = 244.
  EXPECT_EQ(image.pixel(1, 0), qRgba(204, 224, 244, 255));
  EXPECT_EQ(image.pixel(2, 0), qRgba(0, 100, 200, 255));

  QImage opaque(1, 1, QImage::Format_RGB32);
  opaque.setPixel(0, 0, qRgb(1, 2, 3));
  EXPECT_TRUE(CorrectImageAlphaChannel(opaque));
  EXPECT_EQ(opaque.pixel(0, 0), qRgb(1, 2, 3));
}

TEST(Stretchness, IsTheBinaryLogarithmOfWidthOverHeight)
{
  EXPECT_EQ(CalculateStretchness(7, 7), 0.0);
  EXPECT_EQ(CalculateStretchness(64, 1), 6.0);
  EXPECT_EQ(CalculateStretchness(1, 4), -2.0);
  EXPECT_EQ(CalculateStretchness(whiteImage(8, 2)), 2.0);
  EXPECT_EQ(CalculateStretchness(FrequencyMatrix::Size{2, 8}), -2.0);
}
