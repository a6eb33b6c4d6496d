#include "app/form1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <limits>

#include "app/caption_label.h"
#include "app/field_edit.h"
#include "app/form1_layout.h"
#include "app/picture_button.h"
#include "app/pictures.h"
#include "app/window_commands.h"
#include "app/window_messages.h"
#include "bill/zero_blanking.h"
#include "entry/clear_bill.h"
#include "entry/field_focus.h"
#include "platform/qt/failure_road.h"
#include "platform/qt/message_box.h"

namespace cubrix {
namespace {

constexpr int kTimerIntervalMs = 10;
constexpr double kTextBoxPointSize = 10.5;
const char* const kTextBoxFamily = "宋体";

bool centred(Field f) {
    return f <= Field::Text9 || f == Field::Text14;
}

bool computed(Field f) {
    return f == Field::Text5 || f == Field::Text7 || f == Field::Text8 || f == Field::Text9;
}

}  // namespace

Form1::Form1(FormServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      services_(std::move(services)),
      exportDesk_{{*services_.spreadsheet, services_.workbookPath.toStdString()}},
      printoutDesk_(printoutDeskFrom(std::move(services_.settings))) {
    registerPictures();
    setWindowTitle(QStringLiteral("Cubrix"));
    QIcon icon;
    for (const char* size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/assets/icon-%1.png").arg(size));
    setWindowIcon(icon);
    background_ = Picture(QStringLiteral(":/assets/background.png"));
    resize(fixedSize());

    connectZeroBlanking(sheet_);
    buildControls();
    bindFields();
    wireEntryRules();
    wireButtons();
    wirePrintout();

    timer1_.setInterval(kTimerIntervalMs);
    connect(&timer1_, &QTimer::timeout, this, &Form1::tick);
    timer1_.start();
    fieldWidgets_[slotOf({Field::Text1, 0})]->setFocus();
}

Form1::~Form1() = default;

// A caption from the list is made the current item, so that Up and Down and
// the opened list start from it; any other caption is only shown.
void Form1::showCaption(QComboBox* combo, const QString& caption) {
    const int item = combo->findText(caption, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0)
        combo->setCurrentIndex(item);
    else
        combo->setCurrentText(caption);
}

QSize Form1::fixedSize() {
    return toPixels(kFormTwips).size();
}

void Form1::buildControls() {
    QFont textFont(QString::fromUtf8(kTextBoxFamily));
    textFont.setPointSizeF(kTextBoxPointSize);
    textFont.setWeight(QFont::Normal);

    for (const ControlSpec& item : controlsBottomUp()) {
        QWidget* w = nullptr;
        switch (item.kind) {
            case ControlKind::TextBox: {
                auto* edit = new FieldEdit(this);
                edit->setFont(textFont);
                edit->setAlignment(centred(item.field.field) ? Qt::AlignCenter
                                                             : Qt::AlignLeft | Qt::AlignVCenter);
                // A figure drawn smaller is read right; one scrolled to its tail
                // (":645.4100" for 24645.41) is read wrong.
                edit->setShrinkToFit(computed(item.field.field));
                w = edit;
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = new QComboBox(this);
                combo->setEditable(true);
                combo->setInsertPolicy(
                    QComboBox::NoInsert);  // a typed caption stays out of the list
                // Completion would turn a typed caption that begins a list
                // item ("联系") into that item.
                combo->setCompleter(nullptr);
                combo->addItems(item.items);
                showCaption(combo, QString::fromStdU16String(sheet_.text(item.field)));
                combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
                combo->setCursor(Qt::BusyCursor);
                combo->lineEdit()->setCursor(Qt::BusyCursor);
                w = combo;
                break;
            }
            case ControlKind::Label: {
                auto* label = new CaptionLabel(item.caption, this);
                label->setAttribute(Qt::WA_TranslucentBackground);
                label->setAutoFillBackground(false);
                label->setAlignment(item.name == "Label3" ? Qt::AlignCenter
                                                          : Qt::AlignLeft | Qt::AlignTop);
                label->setCursor(Qt::IBeamCursor);
                w = label;
                break;
            }
            case ControlKind::Button: {
                for (const ButtonLook& look : buttonLooks()) {
                    if (look.name != item.name) continue;
                    w = new PictureButton(
                        Picture(look.face),
                        look.pressedFace.isEmpty() ? Picture() : Picture(look.pressedFace),
                        look.background, this);
                }
                w->setCursor(Qt::BusyCursor);
                break;
            }
        }
        w->setObjectName(item.name);
        w->setGeometry(toPixels(item.rect));
        w->raise();  // each control lies above those listed before it
        controls_.insert(item.name, w);
        if (item.kind == ControlKind::TextBox || item.kind == ControlKind::ComboBox) {
            fieldWidgets_[slotOf(item.field)] = w;
            shown_[slotOf(item.field)] = sheet_.text(item.field);
        }
    }

    const auto& cycle = tabCycle();
    for (std::size_t i = 0; i + 1 < cycle.size(); ++i)
        QWidget::setTabOrder(controls_.value(cycle[i]), controls_.value(cycle[i + 1]));
}

void Form1::bindFields() {
    // Operator edits go into the sheet; every change of the sheet shows in
    // the control of the same name.
    for (int slot = 0; slot < kFieldCount; ++slot) {
        const FieldRef field = fieldAt(slot);
        // The blanking may answer an edit at once (a first 0 in an amount).
        auto edited = [this, field, slot](const QString& t) {
            shown_[slot] = t.toStdU16String();  // the box already shows it
            sheet_.set(field, shown_[slot]);
            showChangedFields();
        };
        QWidget* w = fieldWidgets_[slot];
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textEdited, this, edited);
            caretRest_.watch(edit);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            connect(combo, &QComboBox::currentTextChanged, this, edited);
            caretRest_.watch(combo);
            caretRest_.watch(combo->lineEdit());
        }
    }
    for (int f = 0; f <= static_cast<int>(Field::Combo4); ++f) {
        const auto field = static_cast<Field>(f);
        sheet_.subscribe(field, [this, field](int index) { fieldChanged({field, index}); });
    }
}

void Form1::fieldChanged(FieldRef field) {
    changed_.set(slotOf(field));
    // Inside a tick the boxes are brought up to date once the pass is done;
    // any other change (an edit, a button) right after the current event.
    if (!inTick_ && !showQueued_) {
        showQueued_ = true;
        QMetaObject::invokeMethod(this, &Form1::showChangedFields, Qt::QueuedConnection);
    }
}

void Form1::showChangedFields() {
    showQueued_ = false;
    if (changed_.none()) return;
    for (int slot = 0; slot < kFieldCount; ++slot) {
        if (!changed_.test(slot)) continue;
        const std::u16string& now = sheet_.text(fieldAt(slot));
        if (now == shown_[slot]) continue;
        shown_[slot] = now;
        const QString text = QString::fromStdU16String(now);
        if (auto* edit = dynamic_cast<FieldEdit*>(fieldWidgets_[slot]))
            edit->showText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(fieldWidgets_[slot]))
            showCaption(combo, text);
    }
    changed_.reset();
}

void Form1::wireEntryRules() {
    for (const InputColumnHandlers& handlers : kInputColumnHandlers) {
        for (int i = 0; i < kLineRows; ++i) {
            auto* edit = static_cast<FieldEdit*>(fieldWidgets_[slotOf({handlers.column, i})]);
            const auto index = static_cast<std::int16_t>(i);
            edit->onGotFocus = [this, handlers, index] {
                runHandler(this, [&] { handlers.gotFocus(sheet_, *this, index); });
            };
            edit->onKeyDown = [this, handlers, index](std::int16_t& key, std::int16_t& shift) {
                runHandler(this, [&] { handlers.keyDown(*this, index, key, shift); });
            };
        }
    }
}

void Form1::wireButtons() {
    auto onClick = [this](const char* name, std::function<void()> handler) {
        connect(static_cast<QAbstractButton*>(controls_.value(name)), &QAbstractButton::clicked,
                this, [this, handler = std::move(handler)] { runHandler(this, handler); });
    };
    onClick("Command1", [this] { Command1_Click(sheet_); });
    onClick("Command4", [this] { exportBill(); });
    onClick("Command6", [this] { Command6_Click(*this); });
    onClick("Command5", [] { Command5_Click(); });
    onClick("Command2", [this] { Command2_Click(*this, services_.launcher); });
}

void Form1::exportBill() {
    exportClicked(*this, sheet_, exportDesk_, [this] { printout(PrintoutWay::Preview); });
}

void Form1::printout(PrintoutWay way) {
    printoutClicked(*this, sheet_, printoutDesk_, way);
}

// No control of its own: a right click on the print button offers the ways
// out, and each has a key anywhere in the window; menu and key are one
// action.
void Form1::wirePrintout() {
    for (const PrintoutCommand& c : printoutCommands()) {
        auto* action = new QAction(QString::fromUtf8(c.item), this);
        action->setShortcut(c.key);
        action->setShortcutContext(Qt::WindowShortcut);
        const PrintoutWay way = c.way;
        connect(action, &QAction::triggered, this,
                [this, way] { runHandler(this, [this, way] { printout(way); }); });
        addAction(action);
        printoutActions_[static_cast<std::size_t>(way)] = action;
    }
    auto* print = controls_.value("Command4");
    print->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(print, &QWidget::customContextMenuRequested, this, [this, print](const QPoint& at) {
        QMenu menu(this);
        QAction* exportItem = menu.addAction(QStringLiteral("导出表格"));
        menu.addActions({printoutActions_.begin(), printoutActions_.end()});
        if (menu.exec(print->mapToGlobal(at)) == exportItem)
            runHandler(this, [this] { exportBill(); });
    });
}

void Form1::tick() {
    runHandler(this, [this] {
        inTick_ = true;
        const auto failure = pass_.run(sheet_);
        inTick_ = false;  // the pass reports failures by value, it never throws
        showChangedFields();
        // An overflow is the operator's to mend: say so once, keep computing.
        if (overflowReport_.passFinished(failure.has_value())) {
            Failure shown = *failure;
            shown.text = overflowMessage(*failure);
            showFailureWithoutWaiting(this, shown, [this] { overflowReport_.messageClosed(); });
        }
    });
}

void Form1::setSelection(FieldRef field, int start, int length) {
    static_cast<QLineEdit*>(fieldWidgets_[slotOf(field)])->setSelection(start, length);
}

void Form1::setFocus(FieldRef field) {
    fieldWidgets_[slotOf(field)]->setFocus(Qt::OtherFocusReason);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // a scale between 1 and 2
    // Unscaled; its last row and column fall outside.
    p.drawPixmap(0, 0, background_.forRatio(devicePixelRatioF()));
}

void Form1::mousePressEvent(QMouseEvent* event) {
    // Only a press on the window's own surface drags; a control that lets a
    // press pass (a right click on a button) still owns it.
    if (childAt(event->position().toPoint())) return;
    const QPoint press = event->globalPosition().toPoint();
    runHandler(this, [&] {
        if (Form_MouseDown(*this, press)) return;
        draggingByHand_ = true;
        dragOffset_ = press - frameGeometry().topLeft();
    });
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    if (draggingByHand_) move(event->globalPosition().toPoint() - dragOffset_);
}

void Form1::mouseReleaseEvent(QMouseEvent*) {
    draggingByHand_ = false;
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize(*this, fixedSize());
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize(*this, fixedSize());
}

}  // namespace cubrix
