#include "app/FieldFilter.h"

#include "util/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace plavex::app {

namespace {

void moveOn(QWidget *from)
{
    // A Tab to the widget walks the window's own focus chain.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(from, &tab);
    // Landing on a default button presses it, as the forms expect.
    if (auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget())) {
        if (button->property("pressOnFocus").toBool())
            button->click();
    }
}

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

} // namespace

FieldFilter::FieldFilter(QWidget *field, util::KeyFilterKind kind, util::Prompter &prompter, bool enterMovesFocus)
    : QObject(field), kind_(kind), prompter_(prompter), enterMovesFocus_(enterMovesFocus)
{
    field->installEventFilter(this);
}

bool FieldFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (isEnter(key)) {
        if (!enterMovesFocus_)
            return false;
        moveOn(static_cast<QWidget *>(watched));
        return true;
    }
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() || !edit)
        return false; // navigation, editing keys and shortcuts pass
    // What is selected will be replaced, so it does not count as typed before.
    QString before = edit->text();
    if (edit->hasSelectedText())
        before.remove(edit->selectionStart(), edit->selectedText().size());
    const util::KeyVerdict verdict = util::filterKey(kind_, before, text[0]);
    switch (verdict.action) {
    case util::KeyVerdict::Accept:
        return false;
    case util::KeyVerdict::Reject:
        QApplication::beep();
        if (!verdict.message.isEmpty())
            prompter_.message(verdict.message);
        return true;
    case util::KeyVerdict::Drop:
        return true;
    case util::KeyVerdict::NextField:
        moveOn(edit);
        return true;
    }
    return false;
}

bool leftForAnotherField(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason;
}

EnterMovesFocus::EnterMovesFocus(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }

bool EnterMovesFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        moveOn(static_cast<QWidget *>(watched));
        return true;
    }
    return false;
}

} // namespace plavex::app
