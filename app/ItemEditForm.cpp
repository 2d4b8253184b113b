#include "app/ItemEditForm.h"

#include "app/DatePicker.h"
#include "app/FieldFilter.h"
#include "app/FormPlacement.h"
#include "app/PeroDefsWindow.h"
#include "items/Definitions.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace plavex::app {

namespace {

// The core's messages send the user to a button "ОТКАЗ"; this form's
// button reads otherwise, and the message names the one on the screen.
QString withButton(QString text, const QAbstractButton *cancel)
{
    return text.replace(QStringLiteral("бутона \"ОТКАЗ\""), QStringLiteral("бутона \"%1\"").arg(cancel->text()));
}

using Kind = items::PageField::Kind;

util::KeyFilterKind filterOf(Kind kind)
{
    switch (kind) {
    case Kind::Amount: return util::KeyFilterKind::Decimal;
    case Kind::Integer: return util::KeyFilterKind::Digits;
    case Kind::Date: return util::KeyFilterKind::DigitsAndDateSeparator;
    default: return util::KeyFilterKind::EnterOnly;
    }
}

QString dateFormat() { return util::displayDateFormat(util::Separators::current().date); }

// In the user's decimal separator, the one the key filter lets him type: a
// field never holds two kinds of separator.
QString amountText(double v)
{
    return v == 0.0 ? QString() : QString::number(v, 'f', 2).replace(u'.', util::Separators::current().decimal);
}

double amountOf(const QString &text)
{
    QString t = text.trimmed();
    t.replace(util::Separators::current().decimal, u'.');
    t.replace(u',', u'.');
    return t.toDouble();
}

} // namespace

ItemEditForm::ItemEditForm(storage::DataModule &data, util::Prompter &prompter, Mode mode,
                           const items::ItemRecord &record, int paySystem, int lastCode, QWidget *parent,
                           items::PageMode pageMode)
    : QDialog(parent), data_(data), prompter_(prompter), record_(record), mode_(mode), paySystem_(paySystem),
      pageMode_(pageMode), code_(new QLineEdit(this)), definitions_(new QComboBox(this)),
      picker_(new QPushButton(QStringLiteral("..."), this)), page_(new QGroupBox(this)),
      pageLayout_(new QFormLayout(page_)), ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Изход"), this))
{
    const bool dialog = pageMode == items::PageMode::Dialog;
    setObjectName(dialog ? QStringLiteral("fAddPero") : QStringLiteral("fAddEditSchet"));
    setWindowTitle(dialog ? QStringLiteral("Данни за перото") : QStringLiteral("Въвеждане/редакция на перо"));

    auto *codeBox = new QGroupBox(QStringLiteral("№ на перо"), this);
    auto *codeRow = new QHBoxLayout(codeBox);
    code_->setMaximumWidth(70);
    codeRow->addWidget(code_);
    codeRow->addWidget(definitions_, 1);
    codeRow->addWidget(picker_);
    FieldFilter::install(code_, util::KeyFilterKind::Digits, prompter_);
    picker_->setFixedWidth(28);
    // Tab goes from the list straight to the fields; the picker is a mouse's way.
    picker_->setFocusPolicy(Qt::NoFocus);
    picker_->setToolTip(QStringLiteral("Пера"));
    definitions_->addItem(QString(), 0);
    for (const items::Definition &d : items::pickerDefinitions(data_, 0)) {
        if (items::shownInPicker(d))
            definitions_->addItem(QStringLiteral("%1  %2").arg(d.code).arg(d.name.trimmed()), d.code);
    }
    definitions_->setMinimumContentsLength(28);
    definitions_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    pageLayout_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    page_->setMinimumWidth(380);

    ok_->setProperty("pressOnFocus", true);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(codeBox);
    layout->addWidget(page_);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    new FormPlacement(this, data_.settings().ini(), objectName());

    code_->installEventFilter(this);
    // Enter in the list goes on to the fields, as Tab does.
    new EnterMovesFocus(definitions_);
    connect(ok_, &QPushButton::clicked, this, &ItemEditForm::okPressed);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(picker_, &QPushButton::clicked, this, [this] {
        PeroDefsWindow picker(data_, prompter_, PeroDefsWindow::Mode::Picker, this);
        if (picker.exec() != QDialog::Accepted || picker.chosenCode() <= 0)
            return;
        code_->setText(QString::number(picker.chosenCode()));
        if (acceptCode())
            focusFirstField(false);
    });
    connect(definitions_, &QComboBox::activated, this, [this](int index) {
        const int code = definitions_->itemData(index).toInt();
        if (code <= 0)
            return;
        code_->setText(QString::number(code));
        acceptCode();
    });

    page_->hide();
    if (mode == Mode::Edit) {
        code_->setText(QString::number(record_.code));
        definitions_->setCurrentIndex(std::max(0, definitions_->findData(record_.code)));
        for (QWidget *w : {static_cast<QWidget *>(code_), static_cast<QWidget *>(definitions_),
                           static_cast<QWidget *>(picker_)})
            w->setEnabled(false);
        codeAccepted_ = true;
        buildPage(record_.type);
        showValues();
    } else if (lastCode > 0) {
        code_->setText(QString::number(lastCode));
        acceptCode();
    }
}

bool ItemEditForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == code_ && event->type() == QEvent::KeyPress && code_->isEnabled()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool forward = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                             || (key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        // Without a code the keys go on to the list, to pick the item by its name.
        if (forward && !code_->text().trimmed().isEmpty()) {
            // A typed code is taken at once and the entry goes on with its first field.
            if (acceptCode())
                focusFirstField(true);
            return true;
        }
    }
    if (watched == code_ && leftForAnotherField(event) && isVisible() && code_->isEnabled()) {
        QWidget *next = QApplication::focusWidget();
        if (next != cancel_ && next != definitions_ && !(definitions_->view() && next == static_cast<QWidget *>(definitions_->view()))) {
            // After the focus change, so that the message can give the focus back.
            checkPending_ = true;
            QTimer::singleShot(0, this, [this] {
                checkPending_ = false;
                // "OK" checked the code itself already; one message is enough.
                if (std::exchange(okChecked_, false) || !isVisible())
                    return;
                if (!acceptCode())
                    code_->setFocus();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ItemEditForm::acceptCode()
{
    int type = 0;
    const QString problem = items::checkItemCode(data_, code_->text(), &type);
    if (!problem.isEmpty()) {
        prompter_.message(withButton(problem, cancel_));
        codeAccepted_ = false;
        return false;
    }
    const int code = code_->text().trimmed().toInt();
    if (codeAccepted_ && code == record_.code && type == record_.type)
        return true;
    record_.code = code;
    record_.type = type;
    codeAccepted_ = true;
    definitions_->setCurrentIndex(std::max(0, definitions_->findData(code)));
    buildPage(type);
    return true;
}

void ItemEditForm::buildPage(int type)
{
    while (pageLayout_->rowCount() > 0)
        pageLayout_->removeRow(0);
    inputs_.clear();
    layout_ = items::pageLayout(type, paySystem_, data_.period(), pageMode_);
    const bool showsPage = pageMode_ == items::PageMode::EditForm ? items::isEditableType(type)
                                                                   : items::dialogShowsPage(type);
    for (const items::PageField &f : layout_) {
        if (f.kind == Kind::Check) {
            auto *box = new QCheckBox(f.caption, page_);
            new EnterMovesFocus(box);
            inputs_ << box;
            pageLayout_->addRow(QString(), box);
            continue;
        }
        auto *edit = new QLineEdit(page_);
        FieldFilter::install(edit, filterOf(f.kind), prompter_);
        if (f.column == QLatin1String("PERO_PARTIDA"))
            edit->setMaxLength(20);
        inputs_ << edit;
        if (f.kind == Kind::Date) {
            auto *row = new QWidget(page_);
            auto *h = new QHBoxLayout(row);
            h->setContentsMargins(0, 0, 0, 0);
            auto *button = new QPushButton(QStringLiteral("…"), row);
            button->setFixedWidth(28);
            button->setFocusPolicy(Qt::NoFocus);
            h->addWidget(edit, 1);
            h->addWidget(button);
            connect(button, &QPushButton::clicked, this, [this, edit] {
                const QDate chosen = DatePicker::pick(QDate::fromString(edit->text(), dateFormat()),
                                                      data_.period().firstDay(), this, &data_.settings().ini());
                if (chosen.isValid())
                    edit->setText(chosen.toString(dateFormat()));
            });
            pageLayout_->addRow(f.caption, row);
        } else if (type == 198 && f.column == QLatin1String("PERO_D")) {
            // The item this correction belongs to, typed or picked by name.
            auto *row = new QWidget(page_);
            auto *h = new QHBoxLayout(row);
            h->setContentsMargins(0, 0, 0, 0);
            auto *list = new QComboBox(row);
            for (int i = 0; i < definitions_->count(); ++i)
                list->addItem(definitions_->itemText(i), definitions_->itemData(i));
            edit->setMaximumWidth(70);
            h->addWidget(edit);
            h->addWidget(list, 1);
            connect(list, &QComboBox::activated, this, [edit, list](int i) {
                const int code = list->itemData(i).toInt();
                edit->setText(code > 0 ? QString::number(code) : QString());
            });
            pageLayout_->addRow(f.caption, row);
        } else {
            pageLayout_->addRow(f.caption, edit);
        }
    }
    page_->setVisible(showsPage && !layout_.empty());
    // The fields come before "OK" in the focus chain, whatever their creation order.
    QWidget *previous = picker_;
    for (QWidget *w : std::as_const(inputs_)) {
        setTabOrder(previous, w);
        previous = w;
    }
    setTabOrder(previous, ok_);
    setTabOrder(ok_, cancel_);
    adjustSize();
}

void ItemEditForm::focusFirstField(bool pressWhenEmpty)
{
    for (QWidget *w : std::as_const(inputs_)) {
        if (page_->isVisible() && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->selectAll();
            return;
        }
    }
    // Nothing to fill in: the code alone is the entry.
    ok_->setFocus(Qt::TabFocusReason);
    if (pressWhenEmpty)
        okPressed();
}

void ItemEditForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The remembered code is offered selected: typing replaces it, Enter takes it.
    if (code_->isEnabled()) {
        code_->setFocus(Qt::OtherFocusReason);
        code_->selectAll();
    } else {
        focusFirstField(false);
    }
}

void ItemEditForm::showValues()
{
    for (size_t i = 0; i < layout_.size(); ++i) {
        const QString &c = layout_[i].column;
        if (auto *box = qobject_cast<QCheckBox *>(inputs_[static_cast<int>(i)])) {
            box->setChecked(record_.firstCertificate);
            continue;
        }
        auto *edit = qobject_cast<QLineEdit *>(inputs_[static_cast<int>(i)]);
        if (c == QLatin1String("PERO_SUMA1"))
            edit->setText(amountText(record_.amount1));
        else if (c == QLatin1String("PERO_SUMA2"))
            edit->setText(amountText(record_.amount2));
        else if (c == QLatin1String("PERO_D"))
            edit->setText(record_.d == 0 ? QString() : QString::number(record_.d));
        else if (c == QLatin1String("PERO_BEGINDATE"))
            edit->setText(record_.hasBegin() ? record_.begin.toString(dateFormat()) : QString());
        else if (c == QLatin1String("PERO_ENDDATE"))
            edit->setText(record_.hasEnd() ? record_.end.toString(dateFormat()) : QString());
        else if (c == QLatin1String("PERO_PARTIDA"))
            edit->setText(record_.partida);
        else if (c == QLatin1String("PERO_BOLNN"))
            edit->setText(record_.certificate);
        else if (c == QLatin1String("PERO_BOLNDOPDOC"))
            edit->setText(record_.documents);
    }
}

QWidget *ItemEditForm::pageField(const QString &column) const
{
    for (size_t i = 0; i < layout_.size(); ++i) {
        if (layout_[i].column == column)
            return inputs_.value(static_cast<int>(i));
    }
    return nullptr;
}

QString ItemEditForm::pageCaption(const QString &column) const
{
    for (const items::PageField &f : layout_) {
        if (f.column == column)
            return f.caption;
    }
    return {};
}

QString ItemEditForm::collect()
{
    for (size_t i = 0; i < layout_.size(); ++i) {
        const QString &c = layout_[i].column;
        QWidget *w = inputs_[static_cast<int>(i)];
        if (auto *box = qobject_cast<QCheckBox *>(w)) {
            record_.firstCertificate = box->isChecked();
            continue;
        }
        const QString text = static_cast<QLineEdit *>(w)->text().trimmed();
        if (layout_[i].kind == Kind::Date && !text.isEmpty() && !QDate::fromString(text, dateFormat()).isValid())
            return QStringLiteral("Невалидна дата: \"%1\".").arg(text);
        const QDate date = text.isEmpty() ? items::ItemRecord::sentinelDate() : QDate::fromString(text, dateFormat());
        if (c == QLatin1String("PERO_SUMA1"))
            record_.amount1 = amountOf(text);
        else if (c == QLatin1String("PERO_SUMA2"))
            record_.amount2 = amountOf(text);
        else if (c == QLatin1String("PERO_D"))
            record_.d = text.toInt();
        else if (c == QLatin1String("PERO_BEGINDATE"))
            record_.begin = date;
        else if (c == QLatin1String("PERO_ENDDATE"))
            record_.end = date;
        else if (c == QLatin1String("PERO_PARTIDA"))
            record_.partida = text;
        else if (c == QLatin1String("PERO_BOLNN"))
            record_.certificate = text;
        else if (c == QLatin1String("PERO_BOLNDOPDOC"))
            record_.documents = text;
    }
    return {};
}

void ItemEditForm::okPressed()
{
    // The code as it stands now counts, even if it was changed after the last check.
    if (code_->isEnabled()) {
        okChecked_ = checkPending_;
        if (!acceptCode()) {
            code_->setFocus();
            return;
        }
    }
    QString problem = collect();
    if (problem.isEmpty())
        problem = items::checkItemValues(record_);
    if (!problem.isEmpty()) {
        prompter_.message(withButton(problem, cancel_));
        return;
    }
    // A new item without its amount (or a leave without its dates) would be stored as nothing.
    if (mode_ == Mode::New && page_->isVisible()) {
        for (const QString &column : items::requiredFields(record_.type)) {
            auto *edit = qobject_cast<QLineEdit *>(pageField(column));
            if (edit && edit->text().trimmed().isEmpty()) {
                prompter_.message(withButton(QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\""), cancel_));
                edit->setFocus();
                return;
            }
        }
    }
    accept();
}

} // namespace plavex::app
