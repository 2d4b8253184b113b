#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace plavex::app {

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("fHelp"));
    setWindowTitle(QStringLiteral("Помощ"));
    browser_->setOpenExternalLinks(true);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Затвори"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(820, 700);
}

bool HelpWindow::open(const QString &path)
{
    if (!QFileInfo(path).isReadable())
        return false;
    browser_->setSource(QUrl::fromLocalFile(path));
    return !browser_->document()->isEmpty();
}

} // namespace plavex::app
