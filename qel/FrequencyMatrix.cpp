#include "qel/FrequencyMatrix.h"

#include "qel/Exceptions.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace qel
{
FrequencyMatrix::FrequencyMatrix(Size size)
  : m_size(size)
  , m_values(static_cast<size_t>(size.width) * static_cast<size_t>(size.height), 0.0)
{
}

FrequencyMatrix::FrequencyMatrix(int width, int height)
  : FrequencyMatrix(Size{width, height})
{
}

int FrequencyMatrix::index(int column, int row) const
{
  if (column < 0 || row < 0 || column >= m_size.width || row >= m_size.height)
    throw OutOfRange();
  return column + row * m_size.width;
}

double FrequencyMatrix::GetValue(int column, int row) const
{
  return m_values[index(column, row)];
}

void FrequencyMatrix::SetValue(int column, int row, double value)
{
  m_values[index(column, row)] = value;
}

void FrequencyMatrix::Reset()
{
  std::fill(m_values.begin(), m_values.end(), 0.0);
}

void FrequencyMatrix::operator*=(double factor)
{
  for (double& value : m_values)
    value *= factor;
}

void FrequencyMatrix::operator/=(double divisor)
{
  for (double& value : m_values)
    value /= divisor;
}

bool FrequencyMatrix::operator==(const FrequencyMatrix& other) const
{
  return m_size == other.m_size && m_values == other.m_values;
}

bool FrequencyMatrix::operator!=(const FrequencyMatrix& other) const
{
  return !(*this == other);
}

void FrequencyMatrix::SaveAsImage(const QString& fileName, int cellSize) const
{
  QImage image(m_size.width * cellSize, m_size.height * cellSize, QImage::Format_ARGB32);
  image.fill(0xFFFFFFFF);
  if (!m_values.empty())
  {
    const double max = *std::max_element(m_values.begin(), m_values.end());
    const double low = std::min(0.0, *std::min_element(m_values.begin(), m_values.end()));
    const double range = max - low;
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int row = 0; row < m_size.height; ++row)
    {
      for (int column = 0; column < m_size.width; ++column)
      {
        // A matrix without spread (range 0) or with NaN values is drawn white
        // rather than with an undefined shade.
        const double darkness = range > 0 ? (GetValue(column, row) - low) / range : 0.0;
        const int grey = static_cast<int>(255 * (1 - qBound(0.0, darkness, 1.0)));
        painter.setBrush(QColor(grey, grey, grey, 255));
        painter.drawRect(QRect(QPoint(column * cellSize, row * cellSize),
                               QPoint(column * cellSize + cellSize - 1, row * cellSize + cellSize - 1)));
      }
    }
  }
  image.save(fileName, "PNG");
}
} // namespace qel
