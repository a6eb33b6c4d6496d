// A shown, active Form1 with a recording spreadsheet and launcher, and
// helpers to type, press keys and let the recalculation timer run.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "../export/fake_spreadsheet.h"
#include <QSettings>

#include "app/form1.h"

namespace cubrix::testing {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeSpreadsheet>();
        spreadsheet = fake.get();
        form = std::make_unique<Form1>(FormServices{std::move(fake),
                                                    [this](const QUrl& url) {
                                                        launched.push_back(url);
                                                        return launcherWorks;
                                                    },
                                                    "/tmp/Tarnel账单.xls", settings()});
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kPatience));
    }
    // Where the form keeps its printout choices; none: this run only.
    virtual std::unique_ptr<QSettings> settings() { return nullptr; }
    void TearDown() override {
        closeMessages();
        form.reset();
    }

    QLineEdit* edit(const QString& name) { return qobject_cast<QLineEdit*>(form->control(name)); }
    QString text(const QString& name) { return edit(name)->text(); }
    QString focused() {
        QWidget* w = QApplication::focusWidget();
        // The line edit inside a combo box stands for the combo box.
        while (w && w->objectName().isEmpty()) w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
    void type(const QString& name, const QString& keys) {
        form->control(name)->setFocus(Qt::OtherFocusReason);
        typeInto(form->control(name), keys);
    }
    // Key clicks for ASCII; Chinese arrives as an input method's commit.
    static void typeInto(QWidget* w, const QString& keys) {
        bool ascii = true;
        for (QChar c : keys) ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(w, keys);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(keys);
        QApplication::sendEvent(w, &commit);
    }
    // Lets Timer1 tick about `ms` / 10 times. Counted, not timed: a loaded
    // machine may deliver a whole spell's ticks late.
    void ticks(int ms = 60) {
        if (!form->timer1().isActive()) {
            QTest::qWait(ms);
            return;
        }
        QSignalSpy ticked(&form->timer1(), &QTimer::timeout);
        const int wanted = std::max(1, ms / form->timer1().interval());
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticked.count() >= wanted; }, kPatience))
            << "Timer1 ticked " << ticked.count() << " of " << wanted << " times";
    }
    static constexpr int kPatience = 10000;  // ms; only a failing test waits this long

    // Message boxes open now.
    static QList<QMessageBox*> messages() {
        QList<QMessageBox*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) boxes << box;
        return boxes;
    }
    static void closeMessages() {
        for (QMessageBox* box : messages()) box->done(QMessageBox::Ok);
        QApplication::processEvents();
    }
    // Dismisses each modal box that opens from now on, recording its text.
    void answerMessages() {
        auto* watcher = new QTimer(form.get());
        QObject::connect(watcher, &QTimer::timeout, [this] {
            for (QMessageBox* box : messages()) {
                seenMessages << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        watcher->start(20);
    }

    std::unique_ptr<Form1> form;
    FakeSpreadsheet* spreadsheet = nullptr;
    std::vector<QUrl> launched;
    bool launcherWorks = true;
    QStringList seenMessages;
};

}  // namespace cubrix::testing
