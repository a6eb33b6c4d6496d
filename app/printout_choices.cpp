#include "app/printout_choices.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

#include "printout/paper.h"

namespace cubrix {
namespace {

const char* const kPrinterKey = "printout/printer";
const char* const kPaperKey = "printout/paper";
const char* const kDownKey = "printout/offsetDown";
const char* const kRightKey = "printout/offsetRight";
const char* const kPdfFolderKey = "printout/pdfFolder";

// A kept offset that is not a number on the scale is nonsense, not a
// correction to keep closer to the edge.
double offsetRead(const QSettings& settings, const char* key) {
    bool number = false;
    const double mm = settings.value(QLatin1String(key)).toString().toDouble(&number);
    if (!number || !std::isfinite(mm) || std::abs(mm) > kOffsetLimitMm) return 0;
    return offsetOnScale(mm);
}

}  // namespace

double offsetOnScale(double mm) {
    if (!std::isfinite(mm)) return 0;
    const double clamped = std::clamp(mm, -kOffsetLimitMm, kOffsetLimitMm);
    return std::round(clamped / kOffsetStepMm) * kOffsetStepMm;
}

PrintoutChoices defaultChoices() {
    return {QString(), pageLayoutFor(Paper::A4Portrait), {}, QString()};
}

PrintoutChoices readChoices(QSettings& settings) {
    PrintoutChoices choices = defaultChoices();
    if (settings.status() != QSettings::NoError) return choices;
    choices.printer = settings.value(QLatin1String(kPrinterKey)).toString();
    if (const auto paper =
            paperNamed(settings.value(QLatin1String(kPaperKey)).toString().toStdString()))
        choices.paper = pageLayoutFor(*paper);
    choices.offset = {offsetRead(settings, kDownKey), offsetRead(settings, kRightKey)};
    choices.pdfFolder = settings.value(QLatin1String(kPdfFolderKey)).toString();
    return choices;
}

void writeChoices(QSettings& settings, const PrintoutChoices& choices) {
    settings.setValue(QLatin1String(kPrinterKey), choices.printer);
    if (const auto paper = paperOf(choices.paper))
        settings.setValue(QLatin1String(kPaperKey), QLatin1String(paperKey(*paper)));
    // As text, so that the registry and the file hold the same.
    settings.setValue(QLatin1String(kDownKey), QString::number(choices.offset.downMm));
    settings.setValue(QLatin1String(kRightKey), QString::number(choices.offset.rightMm));
    settings.setValue(QLatin1String(kPdfFolderKey), choices.pdfFolder);
    settings.sync();
}

std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Cubrix"), QStringLiteral("Cubrix"));
}

}  // namespace cubrix
