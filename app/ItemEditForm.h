#pragma once

#include "items/Items.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// TfAddEditSchet, "Въвеждане/редакция на перо": the code panel ("№ на
// перо": the code, the list of definitions) and the page of fields the
// item's type uses. New: the code is typed or chosen (the last code is
// offered and accepted at once); edit: the code is fixed. "OK" leaves the
// entered values in record(); storing them is the caller's.
class ItemEditForm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New = 1, Edit = 2 };

    ItemEditForm(storage::DataModule &data, util::Prompter &prompter, Mode mode, const items::ItemRecord &record,
                 int paySystem, int lastCode, QWidget *parent = nullptr,
                 items::PageMode pageMode = items::PageMode::EditForm);

    const items::ItemRecord &record() const { return record_; }
    QLineEdit *codeEdit() const { return code_; }
    QComboBox *definitionList() const { return definitions_; }
    QGroupBox *typePage() const { return page_; }
    // The field of a column on the page (nullptr when the type has none).
    QWidget *pageField(const QString &column) const;
    QString pageCaption(const QString &column) const;
    // Accepts the typed code: false (after the message) when it is refused.
    bool acceptCode();
    void okPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Fills the record from the page; the dialog variant checks required fields.
    virtual QString collect();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    items::ItemRecord record_;
    std::vector<items::PageField> layout_;
    QList<QWidget *> inputs_;

private:
    void buildPage(int type);
    void showValues();
    void focusFirstField(bool pressWhenEmpty);

    Mode mode_;
    int paySystem_;
    items::PageMode pageMode_;
    bool codeAccepted_ = false;
    bool okChecked_ = false;   // "OK" ran the check a leave of the code field had scheduled
    bool checkPending_ = false;
    QLineEdit *code_;
    QComboBox *definitions_;
    QPushButton *picker_;
    QGroupBox *page_;
    QFormLayout *pageLayout_;
    QPushButton *ok_;
    QPushButton *cancel_;
};

} // namespace plavex::app
