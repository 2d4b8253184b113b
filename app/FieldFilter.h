#pragma once

#include "util/KeyFilter.h"

#include <QObject>

class QEvent;
class QLineEdit;
class QWidget;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// Puts the program's key filter on an entry field: characters the filter
// refuses beep and show its message, Enter moves the focus to the next
// field (and presses "OK" when that is where it lands, if one is given).
class FieldFilter : public QObject {
    Q_OBJECT
public:
    // Without `enterMovesFocus` Enter reaches the field itself (search boxes start their search).
    FieldFilter(QWidget *field, util::KeyFilterKind kind, util::Prompter &prompter, bool enterMovesFocus = true);

    static FieldFilter *install(QWidget *field, util::KeyFilterKind kind, util::Prompter &prompter,
                                bool enterMovesFocus = true)
    {
        return new FieldFilter(field, kind, prompter, enterMovesFocus);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    util::KeyFilterKind kind_;
    util::Prompter &prompter_;
    bool enterMovesFocus_;
};

// The focus left a field for another control of the same window (not for
// a message box, a menu or another window): the moment a field is checked.
bool leftForAnotherField(const QEvent *event);

// Enter moves the focus on in any widget (check boxes, lists).
class EnterMovesFocus : public QObject {
    Q_OBJECT
public:
    explicit EnterMovesFocus(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace plavex::app
