#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace plavex::test {

// The one application of a window test run; it is made on first use and
// gone before the process exits (a QApplication destroyed among the exit
// handlers outlives parts of Qt).
QApplication &application();

// Runs `act` on the next modal dialog of type T as soon as it is shown.
template <typename T>
void onModal(std::function<void(T *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
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
