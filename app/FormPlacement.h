#pragma once

#include <QObject>
#include <QString>

class QWidget;
class QTabWidget;

namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// A dialog's position, size and state in the settings file, under a
// section named after the dialog: applied when it is created, captured
// when it closes. A maximised or minimised dialog keeps its earlier normal
// bounds; a record never saved (no positive width) leaves the design bounds.
class FormPlacement : public QObject {
    Q_OBJECT
public:
    FormPlacement(QWidget *form, storage::IniFile &ini, const QString &section, QTabWidget *tabs = nullptr);
    ~FormPlacement() override;

    void capture();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *form_;
    storage::IniFile &ini_;
    QString section_;
    QTabWidget *tabs_;
    bool captured_ = false;
};

} // namespace plavex::app
