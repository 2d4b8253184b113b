#pragma once

#include "reports/Sheets.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// TfGetAvansPeroDate: the advance item and the month it is paid for.
class AdvanceDialog : public QDialog {
    Q_OBJECT
public:
    AdvanceDialog(const std::vector<reports::AdvanceItem> &items, const util::Period &period, bool monthChoice = true,
                  storage::IniFile *placement = nullptr, QWidget *parent = nullptr);
    QString itemText() const; // the code, trimmed; empty without an advance item
    int monthIndex() const;   // 0 the current period, 1 the next

    QComboBox *items() const { return items_; }
    QComboBox *months() const { return months_; }
    QLineEdit *codeEdit() const { return code_; }

private:
    QComboBox *items_;
    QComboBox *months_;
    QLineEdit *code_;
};

} // namespace plavex::app
