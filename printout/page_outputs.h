// The page as a file or a picture: a PDF with its fonts embedded and its
// text searchable, and an image at a given density for the clipboard.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>

#include "printout/page_texts.h"

namespace cubrix {

// The density of the picture put on the clipboard: sharp enough to read
// every figure in a chat window, small enough to send.
inline constexpr int kPictureDpi = 200;

// Writes the page into a PDF at `path`; false when the file cannot be
// written.
bool writePdf(const QString& path, const PageTexts& page, const QPageLayout& layout);

// The whole sheet of paper, white, with the page inside its margins, in
// shades of grey.
QImage pagePicture(const PageTexts& page, const QPageLayout& layout, int dpi = kPictureDpi);

// The picture as PNG, compressed lightly: quick to make, still small for a
// page that is mostly white (about 70 kB for A4).
QByteArray pngOf(const QImage& picture);

}  // namespace cubrix
