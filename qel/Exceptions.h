#pragma once

namespace qel
{
// Thrown by value; they carry no data.
class ImageIsEmpty
{
};

class ImageIsNotMonochrome
{
};

class ImageIsNotSquare
{
};

class OutOfRange
{
};
} // namespace qel
