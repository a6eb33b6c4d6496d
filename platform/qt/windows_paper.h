// What a Windows printer driver makes of a page size: the paper of the
// device context it would print on.
#pragma once

#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <optional>

namespace cubrix {

// The paper, in millimetres and portrait, of a device context made for
// `printer` with `size` asked for (by its form when it is one of the
// printer's, else as a size of the user's own); nothing when the printer
// cannot be opened.
std::optional<QSizeF> windowsPaperTakenMm(const QString& printer, const QPageSize& size);

}  // namespace cubrix
