// The busy pointer of an export. It goes on at the click and stays after the
// export's call has returned, while the spreadsheet brings up its window:
// until a window of another program takes the focus from the form (the
// bill's, as a rule), or for at most a bound, so that a window that never
// comes, or never gets the focus, cannot leave it on for good.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>

class QWidget;

namespace cubrix {

// Longer than the bill's window takes once the export has returned, even
// with Calc still starting.
inline constexpr std::chrono::milliseconds kBillWindowWait{6000};

class BusyPointer : public QObject {
public:
    explicit BusyPointer(std::chrono::milliseconds bound = kBillWindowWait);
    ~BusyPointer() override;

    void begin();  // on, if it is not already
    void end();    // off now
    // Off once `form` loses the focus to another program, or at the bound.
    void endWhenShown(QWidget& form);
    bool on() const { return on_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void unwatch();

    std::chrono::milliseconds bound_;
    QTimer limit_;
    QPointer<QWidget> watched_;
    bool on_ = false;
};

}  // namespace cubrix
