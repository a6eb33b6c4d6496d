// Every text the window itself puts in front of the operator. The bill's,
// the export's and the failure dialog's own texts live beside their code:
// bill/failure.h, export/export_messages.h, platform/qt/failure_texts.h.
#pragma once

#include <QSizeF>
#include <QString>
#include <string>

#include "bill/failure.h"

namespace cubrix {

// The overflow report: the pass's failure text, with where it arose and
// what the operator does about it.
std::string overflowMessage(const Failure& failure);

// A browser that could not be started for the home page.
QString homePageUnreachableMessage(const QString& url);

// A PDF of the bill that could not be written at `path`.
QString pdfNotWrittenMessage(const QString& path);

// The printer would put the bill on another paper than `paper` (`takenMm`,
// portrait): nothing printed, and how to add the paper as a form.
QString paperMissingMessage(const QString& printer, const QString& paper, const QSizeF& paperMm,
                            const QSizeF& takenMm);

// The same, shown in the preview before anything is printed.
QString paperMissingWarning(const QString& printer, const QString& paper, const QSizeF& paperMm,
                            const QSizeF& takenMm);

// The printer chosen is no longer there (its queue deleted, the printer
// removed).
QString printerGoneMessage(const QString& printer);

// The print system did not take the page.
QString printRefusedMessage(const QString& printer);

}  // namespace cubrix
