#pragma once

#include "util/Period.h"

#include <QObject>

class QWidget;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// Keeps a closed month from being changed unawares. Whether the month is
// closed is the core's answer (operations::isMonthClosed); the first change
// made on the employee's pages or with "Нов" in such a month asks once
// whether to go on, and "no" drops the key or click. Browsing and printing
// ask nothing.
class ClosedMonthGuard : public QObject {
    Q_OBJECT
public:
    // Watches the application's keys and clicks that reach `pages` or
    // `newButton` inside `window`.
    ClosedMonthGuard(storage::DataModule &data, util::Prompter &prompter, QWidget &window, QWidget &pages,
                     QWidget &newButton);

    // Asks the core once per month shown; after forget() the next refresh asks again.
    void refresh();
    void forget() { statusFor_ = util::Period(); }
    bool closed() const { return closed_; }
    // Before the first change in a closed month the user is asked once; false when he declines.
    bool mayChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    storage::DataModule &data_;
    util::Prompter &prompter_;
    QWidget &window_;
    QWidget &pages_;
    QWidget &newButton_;
    bool closed_ = false;
    util::Period changeConfirmed_; // the closed month the user agreed to change
    util::Period statusFor_;       // the month closed_ was looked up for
};

} // namespace plavex::app
