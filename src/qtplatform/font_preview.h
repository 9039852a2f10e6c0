#pragma once

#include "fontexport/text_layout.h"

#include <QImage>

#include <string>

namespace tesselor {

// A text as the device lays it out, its pixels scaled.
QImage textPicture(const FontModel& font, const TextLayout& layout, const TextStyle& style);

// Every character of the range in rows of 16, each under its code, in the whole cell with the part past
// its width tinted: a sheet of the font for a review.
QImage sheetPicture(const FontModel& font, const TextStyle& style);

// The PNG file of a picture. Throws Error when the picture would pass the limit of decoded images.
std::string pngBytes(const QImage& picture);

} // namespace tesselor
