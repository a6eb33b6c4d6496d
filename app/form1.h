// The calculator's only window: the whole bill on a painted background, kept
// up to date by a 10 ms recalculation timer. It has no frame of its own; its
// buttons minimise and end it and its background drags it.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <array>
#include <bitset>
#include <functional>
#include <memory>

#include "app/overflow_report.h"
#include "app/pictures.h"
#include "app/printout_commands.h"
#include "app/window_commands.h"
#include "bill/bill_sheet.h"
#include "bill/settled_pass.h"
#include "entry/field_controls.h"
#include "export/bill_export.h"
#include "export/spreadsheet.h"
#include "platform/qt/caret_rest.h"
#include "platform/qt/url_launcher.h"

class QAction;
class QComboBox;

namespace cubrix {

struct FormServices {
    std::unique_ptr<Spreadsheet> spreadsheet;
    UrlLauncher launcher;
    QString workbookPath;
    // Where the printout's choices are kept between runs; none: this run only.
    std::unique_ptr<QSettings> settings = nullptr;
};

class Form1 : public QWidget, private FieldControls {
public:
    explicit Form1(FormServices services, QWidget* parent = nullptr);
    ~Form1() override;

    BillSheet& sheet() { return sheet_; }
    // The control of that name ("Text5(3)", "Combo2", "Label1(0)", "Command4").
    QWidget* control(const QString& name) const { return controls_.value(name); }
    QTimer& timer1() { return timer1_; }
    ExportCounter exportCounter() const { return exportDesk_.counter; }
    PrintoutDesk& printoutDesk() { return printoutDesk_; }
    // 打印预览…, 保存为 PDF…, 复制为图片: with their keys, in the print
    // button's menu.
    QAction* printoutAction(PrintoutWay way) const {
        return printoutActions_[static_cast<std::size_t>(way)];
    }

    // The fixed outer size, in pixels.
    static QSize fixedSize();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void bindFields();
    void wireEntryRules();
    void wireButtons();
    void wirePrintout();
    void exportBill();
    void printout(PrintoutWay way);
    void fieldChanged(FieldRef field);
    void showChangedFields();
    static void showCaption(QComboBox* combo, const QString& caption);
    void tick();

    // FieldControls
    void setSelection(FieldRef field, int start, int length) override;
    void setFocus(FieldRef field) override;

    BillSheet sheet_;
    FormServices services_;
    ExportDesk exportDesk_;
    PrintoutDesk printoutDesk_;
    std::array<QAction*, 3> printoutActions_{};
    QTimer timer1_;
    SettledPass pass_;  // Timer1_Timer, left out while the sheet rests
    OverflowReport overflowReport_;
    CaretRest caretRest_;
    Picture background_;
    QHash<QString, QWidget*> controls_;
    std::array<QWidget*, kFieldCount> fieldWidgets_{};
    // Fields changed since the boxes were last brought up to date. A pass may
    // change a field twice (a zero, then empty); the box shows only the last.
    std::bitset<kFieldCount> changed_;
    // The text each box shows, so that a field that changed and came back (a
    // zero result, blanked) costs no look at the box.
    std::array<std::u16string, kFieldCount> shown_;
    bool inTick_ = false;
    bool showQueued_ = false;
    // A drag moved by hand where the platform offers no system move.
    bool draggingByHand_ = false;
    QPoint dragOffset_;
};

}  // namespace cubrix
