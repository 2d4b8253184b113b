#include "app/BoxPrompter.h"

#include "app/ProgressWindow.h"

#include <QMessageBox>

namespace plavex::app {

BoxPrompter::BoxPrompter(QWidget *parent) : parent_(parent) {}
BoxPrompter::~BoxPrompter() = default;

void BoxPrompter::message(const QString &text) { QMessageBox::information(parent_, QStringLiteral("Plavex"), text); }

bool BoxPrompter::confirm(const QString &question)
{
    return QMessageBox::question(parent_, QStringLiteral("Plavex"), question, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

bool BoxPrompter::confirmDefaultNo(const QString &question)
{
    return QMessageBox::question(parent_, QStringLiteral("Plavex"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

void BoxPrompter::progressStart(const QString &caption)
{
    progress_ = std::make_unique<ProgressWindow>(caption, 0, parent_);
    progress_->show();
}

void BoxPrompter::progressStep(int done, int total)
{
    if (progress_)
        progress_->stepProgress(total, done);
}

void BoxPrompter::progressEnd() { progress_.reset(); }

} // namespace plavex::app
