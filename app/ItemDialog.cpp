#include "app/ItemDialog.h"

#include <QCheckBox>
#include <QLineEdit>

namespace plavex::app {

ItemDialog::ItemDialog(storage::DataModule &data, util::Prompter &prompter, const items::ItemRecord &record,
                       int lastCode, QWidget *parent)
    : ItemEditForm(data, prompter, Mode::New, record, 1, lastCode, parent, items::PageMode::Dialog)
{
}

QString ItemDialog::collect()
{
    QStringList texts;
    for (QWidget *w : std::as_const(inputs_)) {
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            texts << edit->text();
        else if (auto *box = qobject_cast<QCheckBox *>(w))
            texts << (box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return items::collectDialog(record_.type, record_.code, texts, layout_, record_);
}

} // namespace plavex::app
