#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>
#include <typeinfo>

namespace plavex::test {

// The one application of a window test run; it is made on first use and
// gone before the process exits (a QApplication destroyed among the exit
// handlers outlives parts of Qt).
QApplication &application();

namespace detail {
// The dialogs a test waits for. One that has not opened when the test ends
// fails that test (its checks would silently never run) and its timer stops,
// so that it cannot act on a later test's dialog.
void expectModal(QTimer *timer, const char *type);
void modalOpened(QTimer *timer);
} // namespace detail

// Runs `act` on the next modal dialog of type T as soon as it is shown; the
// test fails when no such dialog opens before it ends.
template <typename T>
void onModal(std::function<void(T *)> act)
{
    application();
    auto *timer = new QTimer;
    timer->setInterval(10);
    detail::expectModal(timer, typeid(T).name());
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            detail::modalOpened(timer);
            timer->deleteLater();
            act(dialog);
            // A failed expectation must not leave the dialog waiting forever.
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    timer->start();
}

} // namespace plavex::test
