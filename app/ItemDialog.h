#pragma once

#include "app/ItemEditForm.h"

namespace plavex::app {

// TfAddPero, "Данни за перото": the same code panel and pages, filling an
// item record without touching the table (the bulk operations store it).
// "OK" needs the type's required fields.
class ItemDialog : public ItemEditForm {
    Q_OBJECT
public:
    ItemDialog(storage::DataModule &data, util::Prompter &prompter, const items::ItemRecord &record, int lastCode,
               QWidget *parent = nullptr);

protected:
    QString collect() override;
};

} // namespace plavex::app
