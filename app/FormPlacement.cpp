#include "app/FormPlacement.h"

#include "storage/IniFile.h"

#include <QEvent>
#include <QTabWidget>
#include <QWidget>

namespace plavex::app {

namespace {
const QString kLeft = QStringLiteral("left");
const QString kTop = QStringLiteral("top");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kState = QStringLiteral("state");
const QString kTab = QStringLiteral("tab");

// The saved state numbers: 0 normal, 1 minimised, 2 maximised.
int stateNumber(Qt::WindowStates s)
{
    if (s & Qt::WindowMaximized)
        return 2;
    if (s & Qt::WindowMinimized)
        return 1;
    return 0;
}
} // namespace

FormPlacement::FormPlacement(QWidget *form, storage::IniFile &ini, const QString &section, QTabWidget *tabs)
    : QObject(form), form_(form), ini_(ini), section_(section), tabs_(tabs)
{
    apply();
    form_->installEventFilter(this);
}

FormPlacement::~FormPlacement() = default;

void FormPlacement::apply()
{
    const int width = ini_.intValue(section_, kWidth, -492);
    if (width > 0) {
        const int height = ini_.intValue(section_, kHeight, 378);
        form_->setGeometry(ini_.intValue(section_, kLeft, form_->x()), ini_.intValue(section_, kTop, form_->y()), width,
                           height);
    }
    const int state = ini_.intValue(section_, kState, 0);
    if (state == 2)
        form_->setWindowState(form_->windowState() | Qt::WindowMaximized);
    if (tabs_) {
        const int tab = ini_.intValue(section_, kTab, -1);
        if (tab >= 0 && tab < tabs_->count())
            tabs_->setCurrentIndex(tab);
    }
}

void FormPlacement::capture()
{
    const int state = stateNumber(form_->windowState());
    ini_.setInt(section_, kState, state);
    if (state == 0) {
        const QRect g = form_->geometry();
        ini_.setInt(section_, kLeft, g.x());
        ini_.setInt(section_, kTop, g.y());
        ini_.setInt(section_, kWidth, g.width());
        ini_.setInt(section_, kHeight, g.height());
    }
    if (tabs_)
        ini_.setInt(section_, kTab, tabs_->currentIndex());
}

bool FormPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == form_ && event->type() == QEvent::Hide && form_->isWindow())
        capture();
    return false;
}

} // namespace plavex::app
