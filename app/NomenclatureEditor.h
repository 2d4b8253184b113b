#pragma once

#include "employees/Chooser.h"

#include <QDialog>
#include <QVariant>

class QDataWidgetMapper;
class QLineEdit;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// The small editors the chooser opens: "Данни за град", "Звена",
// "Длъжност" (bound to the row through the grid model; "ОК" writes the
// fields) and "Редакция ДОД" (a bracket of the year's tax scale, stored
// through the tax-scale upkeep).
class NomenclatureEditor : public QDialog {
    Q_OBJECT
public:
    // `code`: the row's code (for the tax scale, its lower limit; invalid for a new bracket).
    NomenclatureEditor(storage::DataModule &data, util::Prompter &prompter, employees::ChooserKind kind,
                       const QVariant &code, QWidget *parent = nullptr);

    QLineEdit *field(int i) const { return fields_.value(i); }
    // The code the row has after "ОК".
    QVariant code() const;
    void tryAccept();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString check() const;

    storage::DataModule &data_;
    util::Prompter &prompter_;
    employees::ChooserKind kind_;
    QVariant code_;
    TableModel *model_ = nullptr;
    QDataWidgetMapper *mapper_ = nullptr;
    QList<QLineEdit *> fields_;
    QString originalCode_;
    class QPushButton *cancel_ = nullptr;
};

} // namespace plavex::app
