#include "app/ClosedMonthGuard.h"

#include "operations/MonthClosing.h"
#include "storage/DataModule.h"
#include "storage/Title.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace plavex::app {

ClosedMonthGuard::ClosedMonthGuard(storage::DataModule &data, util::Prompter &prompter, QWidget &window, QWidget &pages,
                                   QWidget &newButton)
    : QObject(&window), data_(data), prompter_(prompter), window_(window), pages_(pages), newButton_(newButton)
{
    qApp->installEventFilter(this);
}

void ClosedMonthGuard::refresh()
{
    // The list's scrolling comes here too: one look-up per month.
    if (statusFor_ == data_.period() && data_.period().isValid())
        return;
    statusFor_ = data_.period();
    try {
        closed_ = operations::isMonthClosed(data_);
    } catch (const fb::Error &) {
        closed_ = false;
    }
}

bool ClosedMonthGuard::mayChange()
{
    if (!closed_ || changeConfirmed_ == data_.period())
        return true;
    const QString question =
        QStringLiteral("Месец %1 е приключен.\nПромените в него не се пренасят в %2 и следващите месеци.\n"
                       "Да продължа ли с промяната?")
            .arg(storage::periodCaption(data_.period()), storage::periodCaption(data_.period().next()));
    if (!prompter_.confirmDefaultNo(question))
        return false;
    changeConfirmed_ = data_.period();
    return true;
}

bool ClosedMonthGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!closed_ || changeConfirmed_ == data_.period()
        || (type != QEvent::KeyPress && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick))
        return QObject::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !widget->isEnabled() || widget->window() != &window_
        || !(pages_.isAncestorOf(widget) || widget == &newButton_))
        return QObject::eventFilter(watched, event);
    // What changes data: typing into a field, a button or box of the pages, a row opened or
    // added and removed by key in the item grid.
    bool change = false;
    QWidget *field = widget;
    while (field && !qobject_cast<QLineEdit *>(field) && !qobject_cast<QComboBox *>(field)
           && !qobject_cast<QAbstractButton *>(field) && !qobject_cast<QAbstractItemView *>(field))
        field = field->parentWidget();
    if (auto *button = qobject_cast<QAbstractButton *>(field)) {
        change = type == QEvent::MouseButtonPress && !button->text().startsWith(QStringLiteral("Печат"));
    } else if (auto *edit = qobject_cast<QLineEdit *>(field)) {
        if (type == QEvent::KeyPress && !edit->isReadOnly()) {
            const auto *key = static_cast<QKeyEvent *>(event);
            change = (!key->text().isEmpty() && key->text().at(0).isPrint()) || key->key() == Qt::Key_Delete
                     || key->key() == Qt::Key_Backspace || key->matches(QKeySequence::Paste)
                     || key->matches(QKeySequence::Cut);
        }
    } else if (qobject_cast<QComboBox *>(field)) {
        change = type == QEvent::MouseButtonPress
                 || (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() != Qt::Key_Tab
                     && static_cast<QKeyEvent *>(event)->key() != Qt::Key_Backtab);
    } else if (qobject_cast<QAbstractItemView *>(field)) {
        const int key = type == QEvent::KeyPress ? static_cast<QKeyEvent *>(event)->key() : 0;
        change = type == QEvent::MouseButtonDblClick || key == Qt::Key_Insert || key == Qt::Key_Delete
                 || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (change && !mayChange())
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace plavex::app
