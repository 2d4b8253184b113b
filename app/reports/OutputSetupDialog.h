#pragma once

#include "reports/OutputOptions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace plavex::app {

// TBGSetup: where a run's pages go (run mode) or which pages of the preview
// are printed (preview-print mode), with copies, collate and duplex.
class OutputSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Run, PreviewPrint };
    // printerName empty: no printer is installed.
    OutputSetupDialog(Mode mode, reports::OutputOptions &options, const QString &printerName, int pageCount,
                      QWidget *parent = nullptr);

    // The printer label's text for a printer and its port.
    static QString printerText(const QString &name, const QString &port, bool installed);

    void accept() override;

    QRadioButton *printerButton() const { return toPrinter_; }
    QRadioButton *screenButton() const { return toScreen_; }
    QRadioButton *fileButton() const { return toFile_; }
    QLineEdit *fileEdit() const { return file_; }
    QComboBox *formatList() const { return format_; }
    QLineEdit *copiesEdit() const { return copies_; }
    QLineEdit *pageEdit() const { return pageList_; }
    QPushButton *okButton() const { return ok_; }
    QLabel *printerLabel() const { return printer_; }

signals:
    void printerSetupRequested();

private:
    void destinationChanged();
    void browse();

    Mode mode_;
    reports::OutputOptions &options_;
    bool hasPrinter_;
    QLabel *printer_;
    QLineEdit *copies_;
    QCheckBox *collate_, *duplex_;
    QRadioButton *toPrinter_ = nullptr, *toScreen_ = nullptr, *toFile_ = nullptr;
    QComboBox *format_ = nullptr;
    QLineEdit *file_ = nullptr;
    QPushButton *browse_ = nullptr;
    QRadioButton *all_ = nullptr, *pages_ = nullptr, *range_ = nullptr;
    QLineEdit *pageList_ = nullptr, *from_ = nullptr, *to_ = nullptr;
    QPushButton *ok_, *setup_;
};

} // namespace plavex::app
