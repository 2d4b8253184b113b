#pragma once

#include "items/Definitions.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// TfCasePero, "Избор на перо": a code typed or chosen among the named
// definitions of one type (0: any but the totals).
class CasePeroDialog : public QDialog {
    Q_OBJECT
public:
    CasePeroDialog(storage::DataModule &data, util::Prompter &prompter, int type, QWidget *parent = nullptr);

    // Empty code when cancelled.
    QString code() const { return chosenCode_; }
    QString name() const { return chosenName_; }
    int type() const { return chosenType_; }

    QLineEdit *codeEdit() const { return code_; }
    QComboBox *list() const { return list_; }
    QPushButton *okButton() const { return ok_; }

private:
    void codeTyped();
    void tryAccept();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    std::vector<items::Definition> definitions_;
    QLineEdit *code_;
    QComboBox *list_;
    QPushButton *ok_;
    QString chosenCode_;
    QString chosenName_;
    int chosenType_ = 0;
};

} // namespace plavex::app
