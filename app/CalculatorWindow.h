#pragma once

#include "util/DeskCalculator.h"

#include <QDialog>

#include <functional>
#include <map>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// "Калкулатор": a tool window that stays on top beside the payroll windows.
// Closing only hides it; showing it again starts afresh but for the display.
class CalculatorWindow : public QDialog {
    Q_OBJECT
public:
    CalculatorWindow(storage::IniFile &ini, QWidget *parent = nullptr);

    QAbstractButton *button(util::DeskCalculator::Button tag) const { return buttons_.at(tag); }
    QLineEdit *display() const { return display_; }
    QLabel *memoryMarker() const { return marker_; }
    // Where the calculator's messages go; a message box unless replaced.
    void setMessageHandler(std::function<void(const util::CalculatorMessage &)> handler) { tell_ = std::move(handler); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void settle(const util::CalculatorOutcome &outcome);
    void roundButtons();

    util::DeskCalculator calculator_;
    QLineEdit *display_;
    QLabel *marker_;
    std::map<util::DeskCalculator::Button, QAbstractButton *> buttons_;
    QAbstractButton *pressed_ = nullptr;
    std::function<void(const util::CalculatorMessage &)> tell_;
};

} // namespace plavex::app
