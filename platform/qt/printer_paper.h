// The bill's paper on a real printer. Many dot-matrix drivers ignore a size
// they do not list and fall back to a paper of their own, so the page is
// handed over as the printer's own form where it has one of the same size,
// and the size the printer will really take is known before anything is
// printed.
#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <optional>

class QPrinter;

namespace cubrix {

// Sets `layout` on the printer: by the printer's own form (its name and
// size) when it lists one within a millimetre of ours, else at our exact
// size.
void setPaperOnPrinter(QPrinter& printer, const QPageLayout& layout);

// The paper size, in millimetres and portrait, that the printer will put the
// page on as it is set up now; nothing when the printer is gone.
std::optional<QSizeF> paperTakenMm(const QPrinter& printer);

// Whether the printer named in `printer` is still there (a queue deleted or
// a printer removed since it was chosen is not). A file is always there.
bool printerPresent(const QPrinter& printer);

}  // namespace cubrix
