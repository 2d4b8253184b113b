#pragma once

#include <QMainWindow>

namespace plavex::storage {
class DataModule;
class Settings;
}

namespace plavex::app {

// TSDIAppForm: the program's frame. It opens the company database of the
// settings file, makes the stored period current and shows the title.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(storage::Settings &settings, storage::DataModule &data, QWidget *parent = nullptr);
    ~MainWindow() override;

    void showTitle();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startUp();
    void saveSettings();

    storage::Settings &settings_;
    storage::DataModule &data_;
    bool saved_ = false;
};

} // namespace plavex::app
