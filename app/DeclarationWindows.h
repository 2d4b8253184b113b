#pragma once

#include <QDialog>
#include <QList>

class QButtonGroup;
class QComboBox;
class QDataWidgetMapper;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::app {

class TableModel;

// "Образец 1" (with or without the records) and "Образец 6 нов": the folder
// is chosen in a save dialog; the file always gets its own name.
void runDeclaration1(QWidget *parent, storage::DataModule &data, calc::Parameters &params, bool store,
                     util::Prompter &prompter);
void runDeclaration6(QWidget *parent, storage::DataModule &data, calc::Parameters &params, util::Prompter &prompter);

// "Декларация - данни за осигуреното лице - образец 1": an employee's stored
// declarations of a month, the numbered boxes of the current one (editable
// only for a correction), and the correction commands.
class CorrectionForm : public QDialog {
    Q_OBJECT
public:
    CorrectionForm(storage::DataModule &data, util::Prompter &prompter, int personId, QWidget *parent = nullptr);

    void correct();
    void cancelCorrection();
    void deleteCorrection();
    // Exports to the folder (the windows ask for it); empty: ask.
    void exportCorrections(const QString &folder = {});

    QTableView *rows() const { return rows_; }
    TableModel *model() const { return model_; }
    QLineEdit *box(const QString &column) const;
    QPushButton *correctButton() const { return correct_; }
    QPushButton *cancelButton() const { return cancel_; }
    QPushButton *deleteButton() const { return delete_; }
    QComboBox *yearBox() const { return year_; }
    QComboBox *monthBox() const { return month_; }

private:
    void reload();
    void currentChanged();
    int currentRecord() const;

    storage::DataModule &data_;
    util::Prompter &prompter_;
    int personId_;
    QComboBox *person_;
    QComboBox *year_;
    QComboBox *month_;
    QTableView *rows_;
    TableModel *model_;
    QDataWidgetMapper *mapper_;
    QList<QPair<QString, QLineEdit *>> boxes_;
    QPushButton *ok_;
    QPushButton *correct_;
    QPushButton *cancel_;
    QPushButton *delete_;
    QPushButton *export_;
};

// "Експорт на корекции": which employees, and this month or every month.
class CorrectionExportDialog : public QDialog {
    Q_OBJECT
public:
    CorrectionExportDialog(storage::DataModule &data, int currentPersonId, QWidget *parent = nullptr);
    QList<int> ticked() const;
    bool allMonths() const;
    QListWidget *list() const { return list_; }

private:
    QListWidget *list_;
    QButtonGroup *scope_;
};

} // namespace plavex::app
