#pragma once

#include <QDialog>

class QTextBrowser;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// The program's help pages (help/ in the program folder) in a window of
// their own, so that help needs no browser and stays beside the work it
// explains.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // False, with nothing shown, when the page cannot be read.
    bool open(const QString &path);
    QTextBrowser *browser() const { return browser_; }

    // The page of a window: help/<its object name>.html, else the page of the
    // window it was opened from, and at last the contents page plavex.html.
    static QString pageFor(const QWidget *window, const QString &helpFolder);
    // Shows that page beside the window (a modal dialog keeps its help usable);
    // a page that cannot be read is said through the prompter.
    static HelpWindow *showFor(QWidget *window, const QString &helpFolder, util::Prompter &prompter);
    // F1 anywhere in the program: the help of the window that has the focus.
    // Lives as long as `owner`.
    static void installKey(QObject *owner, const QString &helpFolder, util::Prompter &prompter);

private:
    QTextBrowser *browser_;
};

} // namespace plavex::app
