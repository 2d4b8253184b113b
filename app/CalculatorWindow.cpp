#include "app/CalculatorWindow.h"

#include "app/FormPlacement.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QVBoxLayout>

namespace plavex::app {

using Button = util::DeskCalculator::Button;

namespace {
struct Key {
    Button tag;
    const char *caption;
    int row;
    int column;
};
// The keys in the familiar desk order.
const Key kKeys[] = {
    {Button::DeleteLast, "<----", 0, 1}, {Button::ClearAll, "CE", 0, 2},  {Button::ClearEntry, "C", 0, 3},
    {Button::MemoryClear, "MC", 1, 0},   {Button::Digit7, "7", 1, 1},     {Button::Digit8, "8", 1, 2},
    {Button::Digit9, "9", 1, 3},         {Button::Divide, "/", 1, 4},     {Button::SquareRoot, "sqrt", 1, 5},
    {Button::MemoryRecall, "MR", 2, 0},  {Button::Digit4, "4", 2, 1},     {Button::Digit5, "5", 2, 2},
    {Button::Digit6, "6", 2, 3},         {Button::Multiply, "*", 2, 4},   {Button::Reciprocal, "1/x", 2, 5},
    {Button::MemoryStore, "MS", 3, 0},   {Button::Digit1, "1", 3, 1},     {Button::Digit2, "2", 3, 2},
    {Button::Digit3, "3", 3, 3},         {Button::Subtract, "-", 3, 4},   {Button::Equals, "=", 3, 5},
    {Button::MemoryAdd, "M+", 4, 0},     {Button::Digit0, "0", 4, 1},     {Button::ChangeSign, "+/-", 4, 2},
    {Button::Separator, ".", 4, 3},      {Button::Add, "+", 4, 4},
};
} // namespace

CalculatorWindow::CalculatorWindow(storage::IniFile &ini, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fCalculator"));
    setWindowTitle(QStringLiteral("Калкулатор"));
    display_ = new QLineEdit(this);
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    display_->setFocusPolicy(Qt::NoFocus);
    // The display starts empty; the greyed 0 says what an empty display means.
    display_->setPlaceholderText(QStringLiteral("0"));
    // No child takes the focus: the window itself does, so that typed keys reach it.
    setFocusPolicy(Qt::StrongFocus);
    QFont big = display_->font();
    big.setPointSize(big.pointSize() + 3);
    display_->setFont(big);
    marker_ = new QLabel(this);
    marker_->setMinimumWidth(30);
    auto *grid = new QGridLayout;
    grid->setSpacing(4);
    grid->addWidget(marker_, 0, 0);
    for (const Key &k : kKeys) {
        auto *b = new QPushButton(QString::fromLatin1(k.caption), this);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(54, 34);
        b->setProperty("tag", static_cast<int>(k.tag));
        b->installEventFilter(this);
        buttons_[k.tag] = b;
        grid->addWidget(b, k.row, k.column);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(display_);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tell_ = [this](const util::CalculatorMessage &m) { QMessageBox::warning(this, m.caption, m.text); };
    new FormPlacement(this, ini, objectName());
}

bool CalculatorWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (button && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = button;
            return false;
        }
        // The key counts where it was pressed, wherever the pointer is let go.
        if (pressed_ == button) {
            pressed_ = nullptr;
            button->setDown(false);
            settle(calculator_.click(static_cast<Button>(button->property("tag").toInt())));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CalculatorWindow::keyPressEvent(QKeyEvent *event)
{
    QChar key;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = QLatin1Char('\r'); break;
    case Qt::Key_Backspace: key = QLatin1Char('\b'); break;
    case Qt::Key_T:
        if (event->modifiers() & Qt::ControlModifier)
            key = QChar(0x14);
        break;
    case Qt::Key_Escape: QDialog::keyPressEvent(event); return;
    default:
        if (!event->text().isEmpty())
            key = event->text().at(0);
    }
    if (!key.isNull())
        settle(calculator_.type(key));
}

void CalculatorWindow::settle(const util::CalculatorOutcome &outcome)
{
    display_->setText(calculator_.display());
    marker_->setText(calculator_.memoryMarker());
    if (outcome && tell_)
        tell_(*outcome);
}

void CalculatorWindow::showEvent(QShowEvent *event)
{
    calculator_.reset();
    settle({});
    QDialog::showEvent(event);
    roundButtons();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void CalculatorWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    roundButtons();
}

void CalculatorWindow::roundButtons()
{
    for (const auto &[tag, b] : buttons_) {
        QPainterPath path;
        path.addRoundedRect(QRectF(b->rect()), 10, 10);
        b->setMask(QRegion(path.toFillPolygon().toPolygon()));
    }
}

} // namespace plavex::app
