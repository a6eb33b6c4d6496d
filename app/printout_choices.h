// What the operator chose for the page that Cubrix draws, kept between runs:
// the printer, the paper, how far the printer's first line sits from the
// form's top, and the folder of the last PDF. Nothing of the bill is kept.
#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>

#include "printout/page_drawing.h"

class QSettings;

namespace cubrix {

struct PrintoutChoices {
    QString printer;    // empty: the system's default printer
    QPageLayout paper;  // one of ours, or a printer's own picked in the print dialog
    PageOffset offset;
    QString pdfFolder;  // empty: the documents folder
};

PrintoutChoices defaultChoices();

// The choices as kept, each one that is missing, unreadable or nonsense (a
// paper we do not have, an offset off the scale) back at its default.
PrintoutChoices readChoices(QSettings& settings);

// Keeps them; a paper of a printer's own is not kept (the next run starts
// on the last of ours).
void writeChoices(QSettings& settings, const PrintoutChoices& choices);

// HKEY_CURRENT_USER\Software\Cubrix\Cubrix on Windows,
// ~/.config/Cubrix/Cubrix.conf on Linux.
std::unique_ptr<QSettings> userSettings();

// An offset as the tool bar takes it: within the scale, on its steps.
double offsetOnScale(double mm);

}  // namespace cubrix
