#pragma once

#include <QDialog>

class QProgressBar;

namespace plavex::app {

// TfProgress: a stay-on-top window with one bar for long work; the cursor
// is the hourglass while it exists.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const QString &caption, int step, QWidget *parent = nullptr);
    ~ProgressWindow() override;

    // With a step the bar advances by it; otherwise it shows done / total.
    void stepProgress(int total, int done);
    int position() const;

private:
    QProgressBar *bar_;
    int step_;
};

} // namespace plavex::app
