#include "app/RatesWindow.h"

#include "app/FormPlacement.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace plavex::app {

namespace {
// One fund: its columns for employer and employee before 1960, then after
// 1959; an empty name is a share the regime does not have.
struct Fund {
    const char *caption;
    const char *columns[4];
};
const Fund kFunds[] = {
    {"Общо ДОО", {"NOI_PROC_FI", "NOI_PROC_LI", "NOI_PROC_FI60", "NOI_PROC_LI60"}},
    {"Пенсии", {"NOI_PENSI_FI", "NOI_PENSI_LI", "NOI_PENSI_FI60", "NOI_PENSI_LI60"}},
    {"Общо заболяване и майчинство", {"NOI_ZAB_FI", "NOI_ZAB_LI", "NOI_ZAB_FI60", "NOI_ZAB_LI60"}},
    {"Безработица", {"NOI_PKB_FI", "NOI_PKB_LI", "NOI_PKB_FI60", "NOI_PKB_LI60"}},
    {"ДЗПО", {"", "", "NOI_DZPO_FI60", "NOI_DZPO_LI60"}},
    {"Социални", {"NOI_SOC_FI", "NOI_SOC_LI", "NOI_SOC_FI60", "NOI_SOC_LI60"}},
    {"Социални с ДЗПО", {"", "", "NOI_SOC_DZPO_FI60", "NOI_SOC_DZPO_LI60"}},
    {"Здравно осигуряване", {"NOI_ZDR", "NOI_ZDL", "NOI_ZDR", "NOI_ZDL"}},
    {"Гарантирани вземания", {"NOI_GRVZ", "", "NOI_GRVZ", ""}},
};
} // namespace

RatesWindow::RatesWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fNoiProc"));
    setWindowTitle(QStringLiteral("Проценти соц. и здравни осигуровки"));
    noi_ = std::make_unique<storage::TableData>(
        data, storage::TableData::Query{QStringLiteral("NOI"), {}, {}, {}, {}, QStringLiteral("NOI_TYPE,NOI_TYPEN")});
    try {
        noi_->reload();
    } catch (const fb::Error &e) {
        prompter.message(storage::errorText(e));
    }

    types_ = new QTableWidget(noi_->rowCount(), 3, this);
    types_->setHorizontalHeaderLabels({QStringLiteral("Вид осиг."), QStringLiteral("Пореден номер"), QStringLiteral("Наименование")});
    for (int r = 0; r < noi_->rowCount(); ++r) {
        types_->setItem(r, 0, new QTableWidgetItem(noi_->value(r, QStringLiteral("NOI_TYPE")).toString()));
        types_->setItem(r, 1, new QTableWidgetItem(noi_->value(r, QStringLiteral("NOI_TYPEN")).toString()));
        types_->setItem(r, 2, new QTableWidgetItem(noi_->value(r, QStringLiteral("NOI_TYPE_NAME")).toString().trimmed()));
    }
    percents_ = new QTableWidget(static_cast<int>(std::size(kFunds)), 4, this);
    percents_->setHorizontalHeaderLabels({QStringLiteral("Работодател\nроден преди 1960"), QStringLiteral("Работник\nроден преди 1960"),
                                          QStringLiteral("Работодател\nроден след 1959"), QStringLiteral("Работник\nроден след 1959")});
    for (int f = 0; f < percents_->rowCount(); ++f)
        percents_->setVerticalHeaderItem(f, new QTableWidgetItem(QString::fromUtf8(kFunds[f].caption)));
    for (QTableWidget *t : {types_, percents_}) {
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
        t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    }
    for (QTableWidget *t : {types_, percents_}) {
        // A bold current section would no longer fit its header.
        t->horizontalHeader()->setHighlightSections(false);
        t->verticalHeader()->setHighlightSections(false);
    }
    percents_->horizontalHeader()->setMinimumHeight(2 * percents_->fontMetrics().height() + 14);
    types_->verticalHeader()->hide();
    types_->resizeColumnsToContents();
    types_->setColumnWidth(0, std::max(types_->columnWidth(0), 80));
    types_->setColumnWidth(1, std::max(types_->columnWidth(1), 120));
    types_->horizontalHeader()->setStretchLastSection(true);
    percents_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(types_);
    splitter->addWidget(percents_);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    // Which year's table this is: the rates change from year to year.
    auto *year = new QLabel(QStringLiteral("Проценти за %1 г. (таблица %2)")
                                .arg(data.period().year())
                                .arg(data.table(u"NOI")),
                            this);
    year->setObjectName(QStringLiteral("RatesYear"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(year);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(760, 620);
    new FormPlacement(this, data.settings().ini(), objectName());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(types_, &QTableWidget::currentCellChanged, this, [this](int row) { showType(row); });
    if (noi_->rowCount() > 0)
        types_->setCurrentCell(0, 0);
    showType(types_->currentRow());
}

void RatesWindow::showType(int row)
{
    const QChar decimal = util::Separators::current().decimal;
    for (int f = 0; f < percents_->rowCount(); ++f) {
        for (int c = 0; c < 4; ++c) {
            const QString column = QString::fromLatin1(kFunds[f].columns[c]);
            // A share the regime lacks, or the shipped table leaves out, reads as a dash.
            QString text = QStringLiteral("—");
            if (row >= 0 && row < noi_->rowCount() && !column.isEmpty()) {
                const QVariant v = noi_->value(row, column);
                if (!v.isNull())
                    text = QString::number(v.toDouble(), 'f', 3).replace(u'.', decimal);
            }
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            percents_->setItem(f, c, item);
        }
    }
}

} // namespace plavex::app
