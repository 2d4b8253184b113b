#pragma once

#include "util/Period.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// A month and a year, starting at the given period.
class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    PeriodDialog(const QString &caption, const util::Period &start, QWidget *parent = nullptr,
                 storage::IniFile *ini = nullptr);

    util::Period period() const;
    void setPeriod(const util::Period &period);

private:
    QComboBox *month_;
    QSpinBox *year_;
};

} // namespace plavex::app
