#include "app/HelpWindow.h"

#include "util/Prompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace plavex::app {

namespace {

const QString kContents = QStringLiteral("plavex.html");

// F1 in a dialog reaches no shortcut of the main window: it arrives here as
// a key press and opens the help of the window that has the focus.
class HelpKey : public QObject {
public:
    HelpKey(QObject *owner, QString folder, util::Prompter &prompter)
        : QObject(owner), folder_(std::move(folder)), prompter_(prompter)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1
            || static_cast<QKeyEvent *>(event)->modifiers() != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        QWidget *window = QApplication::activeModalWidget();
        if (!window)
            window = QApplication::activeWindow();
        if (!window) {
            if (auto *w = qobject_cast<QWidget *>(watched))
                window = w->window();
        }
        if (!window || qobject_cast<HelpWindow *>(window))
            return QObject::eventFilter(watched, event);
        HelpWindow::showFor(window, folder_, prompter_);
        return true;
    }

private:
    QString folder_;
    util::Prompter &prompter_;
};

} // namespace

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

QString HelpWindow::pageFor(const QWidget *window, const QString &helpFolder)
{
    const QDir folder(helpFolder);
    for (const QWidget *w = window ? window->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QString name = w->objectName();
        if (!name.isEmpty() && QFileInfo(folder.filePath(name + QStringLiteral(".html"))).isReadable())
            return folder.filePath(name + QStringLiteral(".html"));
    }
    return folder.filePath(kContents);
}

HelpWindow *HelpWindow::showFor(QWidget *window, const QString &helpFolder, util::Prompter &prompter)
{
    const QString path = pageFor(window, helpFolder);
    QWidget *owner = window ? window->window() : nullptr;
    // One help window per window, showing its page.
    HelpWindow *help = owner ? owner->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!help)
        help = new HelpWindow(owner);
    if (!help->open(path)) {
        prompter.message(QStringLiteral("Файлът с помощта \"%1\" не може да бъде отворен.").arg(path));
        return nullptr;
    }
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void HelpWindow::installKey(QObject *owner, const QString &helpFolder, util::Prompter &prompter)
{
    new HelpKey(owner, helpFolder, prompter);
}

} // namespace plavex::app
