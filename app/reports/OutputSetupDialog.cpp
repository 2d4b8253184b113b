#include "app/reports/OutputSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace plavex::app {

namespace {
QValidator *only(const char *pattern, QObject *parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), parent);
}
} // namespace

QString OutputSetupDialog::printerText(const QString &name, const QString &port, bool installed)
{
    if (!installed)
        return QStringLiteral("Липсва инсталиран принтер!");
    if (name.isEmpty())
        return QStringLiteral("(не е избран)");
    return port.isEmpty() ? name : QStringLiteral("%1 от %2").arg(name, port);
}

OutputSetupDialog::OutputSetupDialog(Mode mode, reports::OutputOptions &options, const QString &printerName,
                                     int pageCount, QWidget *parent)
    : QDialog(parent), mode_(mode), options_(options), hasPrinter_(!printerName.isEmpty())
{
    setObjectName(QStringLiteral("BGSetup"));
    auto *printerBox = new QGroupBox(QStringLiteral("Избор на принтер"), this);
    printer_ = new QLabel(printerText(printerName, {}, hasPrinter_), printerBox);
    printer_->setMinimumWidth(260);
    (new QVBoxLayout(printerBox))->addWidget(printer_);

    auto *optionsBox = new QGroupBox(QStringLiteral("Опции"), this);
    copies_ = new QLineEdit(QString::number(options.copies), optionsBox);
    copies_->setValidator(only("[0-9]*", copies_));
    copies_->setMaximumWidth(60);
    collate_ = new QCheckBox(QStringLiteral("Подреждане"), optionsBox);
    duplex_ = new QCheckBox(QStringLiteral("Двустранно"), optionsBox);
    collate_->setChecked(options.collate);
    duplex_->setChecked(options.duplex);
    auto *optionsLayout = new QGridLayout(optionsBox);
    optionsLayout->addWidget(new QLabel(QStringLiteral("Бр.копия"), optionsBox), 0, 0);
    optionsLayout->addWidget(copies_, 0, 1);
    optionsLayout->addWidget(collate_, 1, 0, 1, 2);
    optionsLayout->addWidget(duplex_, 2, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(printerBox, 1);
    top->addWidget(optionsBox);
    layout->addLayout(top);

    if (mode == Mode::Run) {
        auto *box = new QGroupBox(QStringLiteral("Изход за отчета"), this);
        toPrinter_ = new QRadioButton(QStringLiteral("На принтер"), box);
        toScreen_ = new QRadioButton(QStringLiteral("На екран"), box);
        toFile_ = new QRadioButton(QStringLiteral("Файл"), box);
        format_ = new QComboBox(box);
        for (const auto &f : reports::fileFormats())
            format_->addItem(f.caption, static_cast<int>(f.format));
        format_->setCurrentIndex(format_->findData(static_cast<int>(options.format)));
        file_ = new QLineEdit(options.fileName, box);
        file_->setMinimumWidth(240);
        browse_ = new QPushButton(QStringLiteral("..."), box);
        browse_->setFixedWidth(32);
        auto *g = new QGridLayout(box);
        g->addWidget(toPrinter_, 0, 0);
        g->addWidget(toScreen_, 1, 0);
        g->addWidget(toFile_, 2, 0);
        g->addWidget(new QLabel(QStringLiteral("Формат:"), box), 0, 1);
        g->addWidget(format_, 0, 2, 1, 2);
        g->addWidget(file_, 2, 1, 1, 2);
        g->addWidget(browse_, 2, 3);
        layout->addWidget(box);
        toPrinter_->setEnabled(options.printerAllowed && hasPrinter_);
        toScreen_->setEnabled(options.previewAllowed);
        toFile_->setEnabled(options.fileAllowed && hasPrinter_);
        QRadioButton *checked = options.destination == reports::Destination::Printer ? toPrinter_
                                : options.destination == reports::Destination::File  ? toFile_
                                                                                     : toScreen_;
        if (!checked->isEnabled())
            checked = toScreen_;
        checked->setChecked(true);
        for (QRadioButton *b : {toPrinter_, toScreen_, toFile_})
            connect(b, &QRadioButton::toggled, this, &OutputSetupDialog::destinationChanged);
        connect(file_, &QLineEdit::textChanged, this, &OutputSetupDialog::destinationChanged);
        connect(browse_, &QPushButton::clicked, this, &OutputSetupDialog::browse);
    } else {
        auto *box = new QGroupBox(QStringLiteral("Избор на страница"), this);
        all_ = new QRadioButton(QStringLiteral("Всички"), box);
        pages_ = new QRadioButton(QStringLiteral("Страница"), box);
        range_ = new QRadioButton(QStringLiteral("От..до.."), box);
        pageList_ = new QLineEdit(QStringLiteral("1-%1").arg(pageCount), box);
        pageList_->setValidator(only("[0-9,\\-]*", pageList_));
        from_ = new QLineEdit(QStringLiteral("1"), box);
        to_ = new QLineEdit(QString::number(pageCount), box);
        for (QLineEdit *e : {from_, to_}) {
            e->setValidator(only("[0-9]*", e));
            e->setMaximumWidth(60);
        }
        all_->setChecked(true);
        auto *g = new QGridLayout(box);
        g->addWidget(all_, 0, 0);
        g->addWidget(pages_, 1, 0);
        g->addWidget(pageList_, 1, 1, 1, 3);
        g->addWidget(range_, 2, 0);
        g->addWidget(from_, 2, 1);
        g->addWidget(new QLabel(QStringLiteral("до"), box), 2, 2);
        g->addWidget(to_, 2, 3);
        layout->addWidget(box);
    }

    ok_ = new QPushButton(QStringLiteral("Печат"), this);
    ok_->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    setup_ = new QPushButton(QStringLiteral("Настройка"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(setup_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setup_, &QPushButton::clicked, this, &OutputSetupDialog::printerSetupRequested);

    copies_->setEnabled(hasPrinter_ && options.copiesSettable);
    collate_->setEnabled(hasPrinter_ && options.collateSettable);
    duplex_->setEnabled(hasPrinter_ && options.duplexSettable);
    setup_->setEnabled(hasPrinter_ && options.printerSetupAllowed);
    if (mode == Mode::Run)
        destinationChanged();
}

void OutputSetupDialog::destinationChanged()
{
    const bool file = toFile_->isChecked();
    const bool printer = toPrinter_->isChecked();
    file_->setEnabled(file);
    browse_->setEnabled(file);
    format_->setEnabled(file);
    ok_->setEnabled(!file || !file_->text().trimmed().isEmpty());
    setup_->setEnabled(!file && hasPrinter_ && options_.printerSetupAllowed);
    copies_->setEnabled(printer && options_.copiesSettable);
    collate_->setEnabled(printer && options_.collateSettable);
    duplex_->setEnabled(printer && options_.duplexSettable);
}

void OutputSetupDialog::browse()
{
    QString filter;
    const QString name = QFileDialog::getSaveFileName(this, QString(), file_->text(), reports::fileFilter(), &filter);
    if (name.isEmpty())
        return;
    file_->setText(name);
    const auto &formats = reports::fileFormats();
    for (size_t i = 0; i < formats.size(); ++i)
        if (formats[i].filter == filter)
            format_->setCurrentIndex(static_cast<int>(i));
}

void OutputSetupDialog::accept()
{
    if (mode_ == Mode::Run) {
        if (toPrinter_->isChecked()) {
            options_.destination = reports::Destination::Printer;
            options_.fileName.clear();
        } else if (toScreen_->isChecked()) {
            options_.destination = reports::Destination::Screen;
        } else {
            if (file_->text().trimmed().isEmpty())
                return;
            options_.destination = reports::Destination::File;
            options_.format = static_cast<reports::FileFormat>(format_->currentData().toInt());
            options_.fileName = reports::outputFileName(file_->text(), options_.format);
        }
    } else {
        options_.pageList.clear();
        options_.firstPage = 1;
        options_.lastPage = 9999;
        if (pages_->isChecked()) {
            options_.pageList = pageList_->text();
        } else if (range_->isChecked()) {
            options_.firstPage = from_->text().toInt();
            options_.lastPage = to_->text().toInt();
        }
        options_.collate = collate_->isChecked();
        options_.duplex = duplex_->isChecked();
    }
    bool ok = false;
    const int copies = copies_->text().toInt(&ok);
    // A copies text that is not a number leaves the copies as they were.
    if (options_.copiesSettable && ok && copies > 0)
        options_.copies = copies;
    if (mode_ == Mode::Run) {
        options_.collate = collate_->isChecked();
        options_.duplex = duplex_->isChecked();
    }
    QDialog::accept();
}

} // namespace plavex::app
