#include "app/WheelToArrows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace plavex::app {

WheelToArrows::WheelToArrows(QAbstractItemView *view) : QObject(view), view_(view)
{
    view->viewport()->installEventFilter(this);
}

bool WheelToArrows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
    QKeyEvent key(QEvent::KeyPress, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(view_, &key);
    return true;
}

} // namespace plavex::app
