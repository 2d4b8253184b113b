#pragma once

#include "items/Definitions.h"

#include <QDialog>

#include <array>

class QCheckBox;
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

// Tfeditpero, "Редакция на перо": code, name, type and the ten flags of
// one definition. It only collects them; the list window stores them.
class EditPeroDialog : public QDialog {
    Q_OBJECT
public:
    // A new definition has its code typed; an existing one keeps it.
    EditPeroDialog(storage::DataModule &data, util::Prompter &prompter, const items::Definition &definition,
                   bool isNew, QWidget *parent = nullptr);

    items::Definition definition() const;

    QLineEdit *codeEdit() const { return code_; }
    QLineEdit *nameEdit() const { return name_; }
    QLineEdit *typeEdit() const { return type_; }
    QComboBox *typeBox() const { return types_; }
    QCheckBox *flagBox(int position) const { return flags_[static_cast<size_t>(position - 1)]; }
    QPushButton *okButton() const { return ok_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void typeTyped();
    void typeChosen(int index);
    void setCaptions(int type);
    QString checkCode();
    void tryAccept();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    bool isNew_;
    QLineEdit *code_;
    QLineEdit *name_;
    QLineEdit *type_;
    QComboBox *types_;
    std::array<QCheckBox *, 10> flags_{};
    QPushButton *ok_;
    QPushButton *cancel_;
};

} // namespace plavex::app
