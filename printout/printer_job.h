// What the print dialog's OK does with the page: painted onto the printer as
// the operator set it up, with text that reads back as it was typed.
#pragma once

#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace cubrix {

// Paints the pages onto a device; false when it cannot be painted on.
using PagePainter = std::function<bool(QPagedPaintDevice&)>;

// Paints onto `printer` and hands the job over. Qt's CUPS printer writes a PDF
// of its own with the radicals' text (see pdf_text_maps.h): for a CUPS queue
// the pages are drawn into a PDF here, mended, and sent to the queue with the
// printer's settings; a printer that writes a PDF file gets its file mended.
// A preview or any other printer is painted on as it is. False when the pages
// could not be painted or the queue refused the job.
bool printPages(QPrinter& printer, const PagePainter& paint);

}  // namespace cubrix
