// Cubrix's print preview: the page as it will be printed, with a tool bar
// that holds, in this order, a large 打印 (the dialog's default button,
// always in sight on an 800 × 600 screen), the printer, the paper, the
// offsets down and across, and zoom.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <functional>

#include "app/printout_choices.h"
#include "printout/page_texts.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace cubrix {

class PrintPreview : public QDialog {
public:
    // Draws on `printer`, which it sets up from `choices` and keeps up to
    // date with what the operator picks; `chosen` runs after each change.
    PrintPreview(QPrinter& printer, PrintoutChoices& choices, std::function<void()> chosen,
                 QWidget* parent);

    // The bill as it stands now, shown on the next exec().
    void showBill(const PageTexts& page);

private:
    void addPrinters();
    void choosePrinter(const QString& name);
    void choosePaper(const QPageLayout& paper);
    void showChosenPaper();
    void warnOfMissingPaper();
    void print();

    QPrinter& printer_;
    PrintoutChoices& choices_;
    std::function<void()> chosen_;
    PageTexts page_;
    QPrintPreviewWidget* view_ = nullptr;
    QPushButton* print_ = nullptr;
    QLabel* warning_ = nullptr;
    QComboBox* printers_ = nullptr;
    QComboBox* papers_ = nullptr;
    QDoubleSpinBox* down_ = nullptr;
    QDoubleSpinBox* right_ = nullptr;
};

}  // namespace cubrix
