#pragma once

#include <QDialog>

namespace plavex::app {

// "За програмата": the product's name and version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace plavex::app
