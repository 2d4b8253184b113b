#include "app/MainWindow.h"

#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/Title.h"
#include "storage/fb/Error.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

namespace plavex::app {

MainWindow::MainWindow(storage::Settings &settings, storage::DataModule &data, QWidget *parent)
    : QMainWindow(parent), settings_(settings), data_(data)
{
    setObjectName(QStringLiteral("SDIAppForm"));
    resize(settings_.ini().intValue(QStringLiteral("MAINFORM"), QStringLiteral("WIDTH"), 1000),
           settings_.ini().intValue(QStringLiteral("MAINFORM"), QStringLiteral("HEIGHT"), 700));
    setCentralWidget(new QWidget(this));
    startUp();
}

MainWindow::~MainWindow() { saveSettings(); }

void MainWindow::startUp()
{
    data_.setPeriod(settings_.lastDate);
    if (data_.connectToDatabase(settings_.database, settings_.user, settings_.password)) {
        try {
            data_.openPeriod(data_.period());
        } catch (const fb::Error &e) {
            QMessageBox::critical(this, QStringLiteral("Plavex"), QStringLiteral("%1 %2").arg(e.message()).arg(e.code()));
        }
    }
    showTitle();
}

void MainWindow::showTitle()
{
    setWindowTitle(storage::mainTitle(data_));
    statusBar()->showMessage(QStringLiteral("Файл: ") + settings_.database);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    event->accept();
}

void MainWindow::saveSettings()
{
    if (saved_)
        return;
    saved_ = true;
    if (data_.period().isValid())
        settings_.lastDate = data_.period();
    settings_.ini().setInt(QStringLiteral("MAINFORM"), QStringLiteral("WIDTH"), width());
    settings_.ini().setInt(QStringLiteral("MAINFORM"), QStringLiteral("HEIGHT"), height());
    settings_.save();
    try {
        data_.close();
    } catch (const fb::Error &) {
        // The work is committed step by step; nothing is lost at this point.
    }
}

} // namespace plavex::app
