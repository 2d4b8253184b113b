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

// "Смяна на процент на перо ": one percentage of a code replaced by another
// in every item that holds it.
class PercentDialog : public QDialog {
    Q_OBJECT
public:
    PercentDialog(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *codeEdit() const { return code_; }
    QLineEdit *oldEdit() const { return old_; }
    QLineEdit *newEdit() const { return new_; }
    QPushButton *okButton() const { return ok_; }

private:
    void codeEntered();
    void tryAccept();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    std::vector<items::Definition> definitions_;
    QLineEdit *code_;
    QComboBox *list_;
    QLineEdit *old_;
    QLineEdit *new_;
    QPushButton *ok_;
};

} // namespace plavex::app
