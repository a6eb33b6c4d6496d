// Every text the window itself puts in front of the operator. The bill's,
// the export's and the failure dialog's own texts live beside their code:
// bill/failure.h, export/export_messages.h, platform/qt/failure_texts.h.
#pragma once

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

}  // namespace cubrix
