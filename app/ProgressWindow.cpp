#include "app/ProgressWindow.h"

#include <QApplication>
#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

namespace plavex::app {

ProgressWindow::ProgressWindow(const QString &caption, int step, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), bar_(new QProgressBar(this)), step_(step)
{
    setObjectName(QStringLiteral("fProgress"));
    setWindowTitle(caption);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    resize(360, 60);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

ProgressWindow::~ProgressWindow() { QApplication::restoreOverrideCursor(); }

void ProgressWindow::stepProgress(int total, int done)
{
    if (step_ != 0)
        bar_->setValue(std::min(100, bar_->value() + step_));
    else if (total > 0)
        bar_->setValue(static_cast<int>(std::lround(double(done) / total * 100.0)));
    QApplication::processEvents();
}

int ProgressWindow::position() const { return bar_->value(); }

} // namespace plavex::app
