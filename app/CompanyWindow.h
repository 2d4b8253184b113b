#pragma once

#include "storage/TableData.h"

#include <QDialog>
#include <QMap>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace plavex::storage {
class DataModule;
class Settings;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// TfFirma, "Данни за фирма": the period's company row on five pages. A field
// posts when it is left; "ОК" posts whatever is still pending and the
// unit-digit setting.
class CompanyWindow : public QDialog {
    Q_OBJECT
public:
    CompanyWindow(storage::DataModule &data, storage::Settings &settings, util::Prompter &prompter,
                  QWidget *parent = nullptr);

    QLineEdit *field(const QString &column) const { return edits_.value(column); }
    QTabWidget *pages() const { return pages_; }
    QComboBox *accidentPercent() const { return accident_; }
    QLineEdit *unitDigits() const { return unitDigits_; }
    void ok();

private:
    QWidget *addPage(const QString &caption);
    QLineEdit *edit(const QString &column, int filter, int maxLength = 0);
    QCheckBox *check(const QString &column, const QString &caption);
    void load();
    // The law's percentages still empty or 0 are marked, with a tooltip.
    void markMissingLawFigures();
    void show(const QString &column);
    bool post(const QString &column, const QVariant &value);
    bool postTyped(const QString &column);
    void chooseActivity();
    void chooseTown();
    void fillLists();

    storage::DataModule &data_;
    storage::Settings &settings_;
    util::Prompter &prompter_;
    std::unique_ptr<storage::TableData> row_;
    QTabWidget *pages_;
    QMap<QString, QLineEdit *> edits_;
    QMap<QString, QCheckBox *> checks_;
    QComboBox *accident_ = nullptr;
    QComboBox *activities_ = nullptr;
    QComboBox *towns_ = nullptr;
    QLineEdit *unitDigits_ = nullptr;
};

} // namespace plavex::app
