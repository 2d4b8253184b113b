#include "app/NomenclatureEditor.h"
#include "app/reports/GuiReports.h"

#include "app/FieldFilter.h"
#include "app/FormPlacement.h"
#include "app/TableModel.h"
#include "app/TableWindow.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "reference/TaxScale.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/TableData.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QApplication>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

struct EditorField {
    const char *column;
    const char *caption;
    util::KeyFilterKind kind;
};

struct EditorInfo {
    const char *name;
    const char *caption;
    const char *base;
    const char *key;
    std::vector<EditorField> fields;
};

EditorInfo editorInfo(employees::ChooserKind kind)
{
    using K = util::KeyFilterKind;
    switch (kind) {
    case employees::ChooserKind::Towns:
        return {"fGrad", "Данни за град", "GRAD", "GRAD_COD",
                {{"GRAD_COD", "Номер", K::Digits}, {"GRAD_IME", "Име", K::EnterOnly}, {"GRAD_OBSCOD", "Област", K::Digits}}};
    case employees::ChooserKind::Units:
        return {"fZvena", "Звена", "ZVENA", "ZVENO_COD",
                {{"ZVENO_COD", "Номер", K::Digits}, {"ZVENO_IME", "Име", K::EnterOnly}}};
    case employees::ChooserKind::Positions:
        return {"fDlajnost", "Длъжност", "DL", "DL_COD",
                {{"DL_COD", "Код", K::Digits},
                 {"DL_IME", "Име", K::EnterOnly},
                 {"DL_KSTEPEN", "Квал. ст.", K::Digits},
                 {"DL_SHIFAR", "Шифър код икономическа дейност", K::Digits},
                 {"DL_PORNOMER", "Пореден номер на основната икономическа дейност", K::Digits}}};
    case employees::ChooserKind::TaxScale:
        return {"fDod", "Редакция ДОД", "DOD", "DOD_MINLIMIT",
                {{"DOD_MINLIMIT", "Долна граница", K::Decimal}, {"DOD_SUMA", "Сума", K::Decimal},
                 {"DOD_PROC", "Процент (%)", K::Decimal}}};
    case employees::ChooserKind::Employees:
        break;
    }
    return {"", "", "", "", {}};
}

double number(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    return t.toDouble();
}

} // namespace

NomenclatureEditor::NomenclatureEditor(storage::DataModule &data, util::Prompter &prompter,
                                       employees::ChooserKind kind, const QVariant &code, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), kind_(kind), code_(code)
{
    const EditorInfo info = editorInfo(kind);
    setObjectName(QString::fromLatin1(info.name));
    setWindowTitle(QString::fromUtf8(info.caption));
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const bool bound = kind != employees::ChooserKind::TaxScale;
    if (bound) {
        model_ = new TableModel(data_,
                                {QString::fromLatin1(info.base), {}, {QString::fromLatin1(info.key)},
                                 QString::fromLatin1(info.key) + QStringLiteral("=?"), {code}, {}},
                                prompter_, this);
        model_->reload();
        mapper_ = new QDataWidgetMapper(this);
        mapper_->setModel(model_);
        mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    }
    // Regions and categories are also chosen by name; the code field follows the list.
    std::vector<std::pair<int, QString>> choices;
    const char *choiceColumn = nullptr;
    if (kind == employees::ChooserKind::Towns) {
        choiceColumn = "GRAD_OBSCOD";
        storage::TableData regions(data_, {QStringLiteral("OBS"), {QStringLiteral("OBS_COD"), QStringLiteral("OBS_IME")},
                                           {QStringLiteral("OBS_COD")}, {}, {}, QStringLiteral("OBS_IME")});
        regions.reload();
        for (int r = 0; r < regions.rowCount(); ++r)
            choices.emplace_back(regions.value(r, 0).toInt(), regions.value(r, 1).toString().trimmed());
    } else if (kind == employees::ChooserKind::Positions) {
        choiceColumn = "DL_KSTEPEN";
        for (const reference::Category &c : reference::loadCategories(data_))
            choices.emplace_back(c.code, QStringLiteral("%1 %2").arg(c.code).arg(c.name.trimmed()));
    }
    for (const EditorField &f : info.fields) {
        auto *edit = new QLineEdit(this);
        edit->setMinimumWidth(260);
        if (bound)
            mapper_->addMapping(edit, model_->section(QString::fromLatin1(f.column)));
        FieldFilter::install(edit, f.kind, prompter_);
        fields_ << edit;
        if (choiceColumn && qstrcmp(f.column, choiceColumn) == 0) {
            edit->setMinimumWidth(50);
            edit->setMaximumWidth(60);
            auto *list = new QComboBox(this);
            list->addItem(QString(), QVariant());
            for (const auto &[code, name] : choices)
                list->addItem(name, code);
            auto *row = new QHBoxLayout;
            row->addWidget(edit);
            row->addWidget(list, 1);
            if (kind == employees::ChooserKind::Positions) {
                // TfKategorii: the limits can be corrected where the category is chosen.
                auto *categories = new QPushButton(QStringLiteral("..."), this);
                categories->setFixedWidth(32);
                categories->setToolTip(QStringLiteral("Категории"));
                row->addWidget(categories);
                connect(categories, &QPushButton::clicked, this, [this, edit] {
                    TableWindow dialog(data_, prompter_, QStringLiteral("fKategorii"), QStringLiteral("Категории"),
                                       {QStringLiteral("KAT"),
                                        {QStringLiteral("KAT_COD"), QStringLiteral("KAT_IME"), QStringLiteral("KAT_LIMIT")},
                                        {QStringLiteral("KAT_COD")}, {}, {}, QStringLiteral("KAT_COD")},
                                       {{QStringLiteral("KAT_COD"), QStringLiteral("Код")},
                                        {QStringLiteral("KAT_IME"), QStringLiteral("Наименование")},
                                        {QStringLiteral("KAT_LIMIT"), QStringLiteral("Лимит")}},
                                       {QStringLiteral("KAT_LIMIT")}, true, this);
                    dialog.grid()->setColumnWidth(1, 360);
                    connect(dialog.addButton(QStringLiteral("Печат")), &QPushButton::clicked, &dialog, [this, &dialog] {
                        startReport(&dialog, data_, prompter_, reports::ReportKind::CategoryList);
                    });
                    if (dialog.exec() == QDialog::Accepted && dialog.chosenKey().isValid())
                        edit->setText(dialog.chosenKey().toString());
                });
            }
            form->addRow(QString::fromUtf8(f.caption), row);
            connect(list, &QComboBox::activated, this, [edit, list](int i) {
                edit->setText(list->itemData(i).isValid() ? list->itemData(i).toString() : QString());
            });
            connect(edit, &QLineEdit::textChanged, this, [list](const QString &text) {
                const int i = text.trimmed().isEmpty() ? 0 : list->findData(text.trimmed().toInt());
                list->setCurrentIndex(std::max(0, i));
            });
            continue;
        }
        form->addRow(QString::fromUtf8(f.caption), edit);
    }
    if (bound) {
        mapper_->toFirst();
        if (kind == employees::ChooserKind::Towns)
            fields_[0]->setReadOnly(true);
    } else if (code.isValid()) {
        // A bracket is named by its lower limit: fill it from the year's table.
        for (const reference::TaxBracket &b : reference::loadTaxScale(data_, data_.table(u"DOD"))) {
            if (qFuzzyCompare(b.limit + 1.0, code.toDouble() + 1.0)) {
                // In the separator the key filter lets the user type.
                const QChar decimal = util::Separators::current().decimal;
                fields_[0]->setText(QString::number(b.limit, 'f', 2).replace(u'.', decimal));
                fields_[1]->setText(QString::number(b.sum, 'f', 2).replace(u'.', decimal));
                // The rate is kept as a fraction (0.10) and typed as a percentage (10).
                fields_[2]->setText(QString::number(b.rate * 100, 'f', 2).replace(u'.', decimal));
            }
        }
    }
    originalCode_ = fields_.value(0) ? fields_[0]->text().trimmed() : QString();
    if (kind == employees::ChooserKind::Units || kind == employees::ChooserKind::Positions)
        fields_[0]->installEventFilter(this);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setProperty("pressOnFocus", true);
    cancel_ = new QPushButton(kind == employees::ChooserKind::Units ? QStringLiteral("ОТКАЗ") : QStringLiteral("Отказ"),
                              this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    if (bound)
        model_->fitMappedFields(*mapper_);
    new FormPlacement(this, data_.settings().ini(), objectName());
    connect(ok, &QPushButton::clicked, this, &NomenclatureEditor::tryAccept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QVariant NomenclatureEditor::code() const
{
    if (kind_ == employees::ChooserKind::TaxScale)
        return number(fields_[0]->text());
    return fields_[0]->text().trimmed().toInt();
}

bool NomenclatureEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fields_.value(0) && leftForAnotherField(event) && isVisible()
        && QApplication::focusWidget() != cancel_) {
        const QString typed = fields_[0]->text().trimmed();
        QString problem;
        if (kind_ == employees::ChooserKind::Units && !typed.isEmpty() && typed != originalCode_)
            problem = reference::checkUnitCode(data_, typed);
        else if (kind_ == employees::ChooserKind::Positions)
            problem = reference::checkPositionCode(data_, typed, originalCode_);
        if (!problem.isEmpty()) {
            QTimer::singleShot(0, this, [this, problem] {
                prompter_.message(problem);
                fields_[0]->setFocus();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString NomenclatureEditor::check() const
{
    auto text = [this](int i) { return fields_.value(i) ? fields_[i]->text() : QString(); };
    switch (kind_) {
    case employees::ChooserKind::Towns:
        return reference::checkTown(text(1));
    case employees::ChooserKind::Units: {
        QString problem = reference::checkUnit(text(0), text(1));
        if (problem.isEmpty() && text(0).trimmed() != originalCode_)
            problem = reference::checkUnitCode(data_, text(0).trimmed());
        return problem;
    }
    case employees::ChooserKind::Positions: {
        QString problem = reference::checkPosition(text(0), text(1), text(2), text(3), text(4));
        if (problem.isEmpty())
            problem = reference::checkPositionCode(data_, text(0).trimmed(), originalCode_);
        return problem;
    }
    case employees::ChooserKind::TaxScale:
        if (text(0).trimmed().isEmpty() || text(1).trimmed().isEmpty() || text(2).trimmed().isEmpty())
            return QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\".");
        return {};
    case employees::ChooserKind::Employees:
        break;
    }
    return {};
}

void NomenclatureEditor::tryAccept()
{
    const QString problem = check();
    if (!problem.isEmpty()) {
        prompter_.message(problem);
        fields_.value(kind_ == employees::ChooserKind::Towns ? 1 : 0)->setFocus();
        return;
    }
    try {
        if (mapper_) {
            if (!mapper_->submit())
                return;
            data_.tableChanged(model_->table().base());
        } else {
            const reference::TaxBracket b{number(fields_[0]->text()), number(fields_[1]->text()),
                                          number(fields_[2]->text()) / 100};
            if (code_.isValid())
                reference::editTaxBracket(data_, code_.toDouble(), b);
            else
                reference::addTaxBracket(data_, b);
        }
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
        return;
    }
    accept();
}

} // namespace plavex::app
