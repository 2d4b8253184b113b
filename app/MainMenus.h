#pragma once

#include "app/Command.h"

#include <QAction>
#include <QList>
#include <QObject>

#include <array>

class QKeySequence;
class QMainWindow;
class QMenu;
class QString;

namespace plavex::app {

// The main window's menu bar, toolbar and list popup, built once with every
// caption and shortcut, and each entry kept under its command. An entry
// shows disabled until its command is connected, so that a part of the
// program not in a build is seen but does nothing.
class MainMenus {
public:
    explicit MainMenus(QMainWindow &window);

    // Every entry of the command, in the order the menus were built.
    const QList<QAction *> &actions(Command command) const;
    // The first of them; null when the command has no entry.
    QAction *action(Command command) const;
    void setEnabled(Command command, bool on);

    // Runs `slot` on any entry of the command, and enables them all.
    template <typename Receiver, typename Slot>
    void connect(Command command, const Receiver *context, Slot slot)
    {
        for (QAction *a : actions(command)) {
            a->setEnabled(true);
            QObject::connect(a, &QAction::triggered, context, slot);
        }
    }

    QMenu *serviceMenu() const { return service_; }
    QMenu *listPopup() const { return listPopup_; }

private:
    QAction *add(QMenu *menu, Command command, const QString &caption, const QKeySequence &keys);
    QAction *add(QMenu *menu, Command command, const QString &caption);
    QAction *keep(Command command, QAction *action);
    QString reportCaption(Command command) const;

    std::array<QList<QAction *>, static_cast<size_t>(Command::Count)> entries_;
    QMenu *service_ = nullptr;
    QMenu *listPopup_ = nullptr;
};

} // namespace plavex::app
