#pragma once

#include <QDialog>

class QTextBrowser;

namespace plavex::app {

// The program's help pages (help/plavex.html in the program folder) in a
// window of their own, so that help needs no browser and stays beside the
// work it explains.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // False, with nothing shown, when the page cannot be read.
    bool open(const QString &path);
    QTextBrowser *browser() const { return browser_; }

private:
    QTextBrowser *browser_;
};

} // namespace plavex::app
