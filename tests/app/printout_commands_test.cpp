// The bill on paper without an office, from the window: the print button's
// menu, the keys anywhere in the window, and a failed export's 直接打印.
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "app/print_preview.h"
#include "app/printout_choices.h"
#include "printout/paper.h"
#include "form_fixture.h"

namespace cubrix::testing {
namespace {

// What a way out left behind.
struct Outcome {
    QString pdfAskedAt;  // the path suggested to the operator, "" when not asked
    bool pdfWritten = false;
    QSize picture;  // on the clipboard, as an image and as PNG
    QSize png;
    int previews = 0;
};

class PrintoutTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        QGuiApplication::clipboard()->clear();
        form->printoutDesk().askPdfPath = [this](QWidget*, const QString& suggested) {
            outcome.pdfAskedAt = suggested;
            return folder.filePath("bill");  // without its suffix, as typed
        };
        // Each preview that opens is counted and closed.
        auto* watcher = new QTimer(form.get());
        QObject::connect(watcher, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* preview = dynamic_cast<PrintPreview*>(w);
                    preview && preview->isVisible()) {
                    ++outcome.previews;
                    if (onPreview) onPreview(*preview);
                    preview->reject();
                }
        });
        watcher->start(20);
    }

    std::unique_ptr<QSettings> settings() override {
        return std::make_unique<QSettings>(folder.filePath("Cubrix.conf"), QSettings::IniFormat);
    }

    // The window active again, as after a dialog the operator closed.
    void backToTheWindow() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kPatience));
    }

    void finish() {
        outcome.pdfWritten = QFile::exists(folder.filePath("bill.pdf"));
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            data && data->hasImage())
            outcome.picture = qvariant_cast<QImage>(data->imageData()).size();
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            data && data->hasFormat("image/png"))
            outcome.png = QImage::fromData(data->data("image/png"), "PNG").size();
    }

    // Picks `item` from the print button's menu once it is open.
    void chooseFromMenu(const QString& item) {
        QTimer::singleShot(50, [item] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "no menu";
            for (QAction* a : menu->actions())
                if (a->text() == item) menu->setActiveAction(a);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QWidget* print = form->control("Command4");
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                print->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(print, &event);
    }

    QTemporaryDir folder;
    Outcome outcome;
    std::function<void(PrintPreview&)> onPreview;
};

// A4 at 200 dpi.
const QSize kA4Picture(1653, 2339);

struct WayCase {
    const char* name;
    std::function<void()> use;
    bool pdf;
    QSize picture;
    int previews;
};

TEST_F(PrintoutTest, EachWayFromTheMenuAndItsKey) {
    const WayCase cases[] = {
        {"Ctrl+S",
         [this] { QTest::keyClick(edit("Text1(0)"), Qt::Key_S, Qt::ControlModifier); },
         true,
         {},
         0},
        {"menu 保存为 PDF…", [this] { chooseFromMenu("保存为 PDF…"); }, true, {}, 0},
        {"Ctrl+Shift+C",
         [this] {
             QTest::keyClick(edit("Text10"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
         },
         false, kA4Picture, 0},
        {"menu 复制为图片", [this] { chooseFromMenu("复制为图片"); }, false, kA4Picture, 0},
        {"Ctrl+P",
         [this] { QTest::keyClick(edit("Text6(3)"), Qt::Key_P, Qt::ControlModifier); },
         false,
         {},
         1},
        {"menu 打印预览…", [this] { chooseFromMenu("打印预览…"); }, false, {}, 1},
    };
    type("Text1(0)", "4.2");
    for (const WayCase& c : cases) {
        SCOPED_TRACE(c.name);
        outcome = {};
        QFile::remove(folder.filePath("bill.pdf"));
        QGuiApplication::clipboard()->clear();
        backToTheWindow();
        c.use();
        QTest::qWait(150);
        finish();
        EXPECT_EQ(outcome.pdfWritten, c.pdf);
        if (c.pdf) {
            const QString day = QDate::currentDate().toString(Qt::ISODate);
            EXPECT_TRUE(outcome.pdfAskedAt.endsWith("/木材销售清单-" + day + ".pdf"))
                << outcome.pdfAskedAt.toStdString();
        }
        EXPECT_EQ(outcome.picture, c.picture);
        EXPECT_EQ(outcome.png, c.picture);
        EXPECT_EQ(outcome.previews, c.previews);
        EXPECT_EQ(form->exportCounter(), 0) << "no export";
        EXPECT_EQ(text("Text1(0)"), "4.2");  // the bill stays
    }
}

TEST_F(PrintoutTest, TheMenuStillExports) {
    answerMessages();
    chooseFromMenu("导出表格");
    EXPECT_EQ(form->exportCounter(), 1);
    EXPECT_EQ(spreadsheet->count('E'), 65);
}

TEST_F(PrintoutTest, AFailedExportOffersToPrintDirectly) {
    spreadsheet->failAt('A', 1, SpreadsheetError::CannotStart, true);
    bool offered = false;
    bool reminded = false;
    auto* answer = new QTimer(form.get());
    QObject::connect(answer, &QTimer::timeout, [&] {
        for (QMessageBox* box : messages()) {
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "直接打印") {
                    offered = true;
                    b->click();
                    return;
                }
            reminded = true;  // the reminder has OK alone
            box->done(QMessageBox::Ok);
        }
    });
    answer->start(20);
    QTest::mouseClick(form->control("Command4"), Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_TRUE(reminded);
    EXPECT_TRUE(offered);
    EXPECT_EQ(outcome.previews, 1);
}

// A line too large to compute: no way out draws the bill without it, and the
// export's refusal offers no 直接打印 that would only be refused again.
TEST_F(PrintoutTest, ABillThatCannotBeComputedIsNeitherDrawnNorOffered) {
    type("Text1(0)", "4.2");
    type("Text1(1)", "1E200");
    type("Text2(1)", "1E200");
    ticks();
    closeMessages();
    QStringList told;
    bool offered = false;
    auto* answer = new QTimer(form.get());
    QObject::connect(answer, &QTimer::timeout, [&] {
        for (QMessageBox* box : messages()) {
            for (QAbstractButton* b : box->buttons()) offered = offered || b->text() == "直接打印";
            told << box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answer->start(20);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_S, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_P, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys) {
        backToTheWindow();
        QTest::keyClick(edit("Text1(0)"), key, modifiers);
        QTest::qWait(150);
    }
    QTest::mouseClick(form->control("Command4"), Qt::LeftButton);
    QTest::qWait(150);
    finish();
    EXPECT_FALSE(outcome.pdfWritten);
    EXPECT_EQ(outcome.picture, QSize());
    EXPECT_EQ(outcome.previews, 0);
    ASSERT_EQ(told.size(), 4);  // three ways and the export, no reminder
    for (const QString& text : told) EXPECT_TRUE(text.contains("第 2 行")) << text.toStdString();
    EXPECT_FALSE(offered);
    EXPECT_EQ(form->exportCounter(), 0);
}

TEST_F(PrintoutTest, AnUnwritablePdfIsToldAndNothingElseHappens) {
    answerMessages();
    form->printoutDesk().askPdfPath = [](QWidget*, const QString&) {
        return QStringLiteral("/proc/no-such-folder/bill.pdf");
    };
    QTest::keyClick(edit("Text1(0)"), Qt::Key_S, Qt::ControlModifier);
    QTest::qWait(100);
    ASSERT_EQ(seenMessages.size(), 1);
    EXPECT_TRUE(seenMessages[0].contains("无法保存 PDF")) << seenMessages[0].toStdString();
}

TEST_F(PrintoutTest, ThePaperChosenInThePreviewServesTheNextWaysOfTheRun) {
    QString shown;
    onPreview = [&shown](PrintPreview& preview) {
        auto* paper = preview.findChild<QComboBox*>("paper");
        ASSERT_NE(paper, nullptr);
        shown = paper->currentText();
        paper->setCurrentIndex(3);
        emit paper->activated(3);
    };
    QTest::keyClick(edit("Text1(0)"), Qt::Key_P, Qt::ControlModifier);
    QTest::qWait(100);
    EXPECT_EQ(shown, "A4 纵向");
    shown.clear();
    onPreview = [&shown](PrintPreview& preview) {
        shown = preview.findChild<QComboBox*>("paper")->currentText();
    };
    // From the menu: a key right after a dialog closed may reach the window
    // before the desktop has made it active again.
    chooseFromMenu("打印预览…");
    QTest::qWait(100);
    EXPECT_EQ(outcome.previews, 2);
    EXPECT_EQ(shown, "241-2 二等分（241×140 mm）");
    chooseFromMenu("复制为图片");
    QTest::qWait(100);
    finish();
    EXPECT_EQ(outcome.picture, QSize(1900, 1100));  // 9.5 x 5.5 in at 200 dpi
    // And the next run starts on it.
    EXPECT_EQ(QSettings(folder.filePath("Cubrix.conf"), QSettings::IniFormat)
                  .value("printout/paper")
                  .toString(),
              "241-2");
    Form1 next({std::make_unique<FakeSpreadsheet>(), {}, "/tmp/Tarnel账单.xls", settings()});
    EXPECT_EQ(paperOf(next.printoutDesk().choices.paper), Paper::Form241_2);
}

// What the preview prints, read back from a PDF printer through pdftotext.
QString previewText(PrintPreview& preview, const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    emit preview.findChild<QPrintPreviewWidget*>("view")->paintRequested(&printer);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
}

TEST_F(PrintoutTest, ALaterPreviewShowsTheBillAsItStandsThen) {
    QStringList seen;
    int drawn = 0;  // from the first read-back on
    onPreview = [&](PrintPreview& preview) {
        if (seen.isEmpty())
            QObject::connect(preview.findChild<QPrintPreviewWidget*>("view"),
                             &QPrintPreviewWidget::paintRequested,
                             [&](QPrinter* p) { drawn += p != nullptr; });
        seen << previewText(preview, folder.filePath("preview.pdf"));
    };
    type("Text1(0)", "4.2");
    ticks();
    // The window's own action, as its key and its menu item use it: a key
    // right after a dialog closed may reach a window not yet active again.
    form->printoutAction(PrintoutWay::Preview)->trigger();
    form->sheet().set(Field::Text1, 0, u"9.9");
    ticks();
    form->printoutAction(PrintoutWay::Preview)->trigger();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(drawn, 3) << "the two read-backs, and once more on the screen";
    EXPECT_TRUE(seen[0].contains("4.2")) << seen[0].toStdString();
    EXPECT_FALSE(seen[1].contains("4.2")) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].contains("9.9")) << seen[1].toStdString();
}

// What a run keeps for the next: each kept value read back, and nonsense or
// an unreadable file back at the defaults without a word.
struct KeptCase {
    const char* name;
    QByteArray file;  // the settings file as found at start
    QString paper;    // the paper's name as the preview shows it
    PageOffset offset;
    QString printer;
};

TEST(KeptChoices, ReadBackOrDefaults) {
    const KeptCase cases[] = {
        {"kept", "[printout]\npaper=241-3\noffsetDown=-2.5\noffsetRight=1\nprinter=LQ-630K\n",
         "241-3 三等分（241×93 mm）", {-2.5, 1}, "LQ-630K"},
        {"none", "", "A4 纵向", {}, ""},
        {"unknown paper, huge offset", "[printout]\npaper=form\noffsetDown=1e9\n", "A4 纵向", {},
         ""},
        {"not numbers", "[printout]\noffsetDown=nan\noffsetRight=abc\npaper=\n", "A4 纵向", {},
         ""},
        {"between steps", "[printout]\noffsetDown=-7.3\noffsetRight=19.99\n", "A4 纵向",
         {-7.5, 20}, ""},
        {"garbage", QByteArray("\x00\xff[[\n=\x01", 8) + QByteArray(3000, '\xfe'), "A4 纵向", {},
         ""},
    };
    for (const KeptCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString path = folder.filePath("Cubrix.conf");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.file);
        file.close();
        QSettings settings(path, QSettings::IniFormat);
        const PrintoutChoices read = readChoices(settings);
        const auto paper = paperOf(read.paper);
        ASSERT_TRUE(paper.has_value());
        EXPECT_EQ(paperName(*paper), c.paper);
        EXPECT_EQ(read.offset, c.offset);
        EXPECT_EQ(read.printer, c.printer);
        // Kept again, read the same.
        QSettings again(folder.filePath("again.conf"), QSettings::IniFormat);
        writeChoices(again, read);
        const PrintoutChoices reread = readChoices(again);
        EXPECT_EQ(reread.offset, read.offset);
        EXPECT_EQ(paperOf(reread.paper), paper);
        EXPECT_EQ(again.childGroups(), QStringList{"printout"}) << "nothing but the printout";
    }
}

TEST(SuggestedPdfPath, ANumberIsAddedWhenTheNameIsTaken) {
    QTemporaryDir folder;
    const QDate day(2026, 12, 8);
    EXPECT_EQ(suggestedPdfPath(folder.path(), day), folder.filePath("木材销售清单-2026-12-08.pdf"));
    for (const char* taken : {"木材销售清单-2026-12-08.pdf", "木材销售清单-2026-12-08-2.pdf"}) {
        QFile f(folder.filePath(QString::fromUtf8(taken)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(suggestedPdfPath(folder.path(), day),
              folder.filePath("木材销售清单-2026-12-08-3.pdf"));
}

}  // namespace
}  // namespace cubrix::testing
