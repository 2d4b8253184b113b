#pragma once

#include "items/ItemRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Period;
}

namespace plavex::fb {
class Statement;
}

namespace plavex::items {

// The columns every item query reads, in the order readItem expects them.
QString itemColumns();
ItemRecord readItem(const fb::Statement &query);

// An employee's items of the current month, by type and code (the main grid).
std::vector<ItemRecord> employeeItems(storage::DataModule &data, int personId);
// The same without zero amounts, except absences, type 29 and the totals (payslips).
std::vector<ItemRecord> payslipItems(storage::DataModule &data, int personId);
// The same rule on an item in memory (its amount as it is stored, to the cent).
bool printsOnPayslip(const ItemRecord &item);
std::optional<ItemRecord> itemById(storage::DataModule &data, int itemId);

// Types whose entries the item form edits; totals are never deleted.
bool isEditableType(int type);
bool isDeletableType(int type);
// Types whose entry dialog shows a page of fields.
bool dialogShowsPage(int type);

// A typed code: the message to show (empty when accepted) and its type.
QString checkItemCode(storage::DataModule &data, const QString &code, int *type = nullptr);

// One field of the item page: the column it fills, its caption and what it takes.
struct PageField {
    enum class Kind { Amount, Integer, Date, Text, Check };
    QString column;
    QString caption;
    Kind kind = Kind::Amount;
};
enum class PageMode { EditForm, Dialog };
// The fields of the page for a type. The pay system names the second field
// of type 1; the period's year adds the sick-leave certificate from 2007.
std::vector<PageField> pageLayout(int type, int paySystem, const util::Period &period, PageMode mode);

// The columns a type's page cannot leave empty (the amount, both dates of a leave).
QStringList requiredFields(int type);

// What the entry dialog collects: the record's fields from the page's texts
// (by column), or the message when a required field is empty.
QString collectDialog(int type, int code, const QStringList &texts, const std::vector<PageField> &layout,
                      ItemRecord &record);

// Whether the record's values fit their columns (finite amounts within
// NUMERIC(12,3), whole days within INTEGER, texts no longer than their
// columns): the message naming the first field that does not, or empty.
QString checkItemValues(const ItemRecord &record);

// Stores a record as a new item with the columns its type uses; types that
// have none insert nothing (0). A record without an id takes the largest + 1.
int insertItem(storage::DataModule &data, ItemRecord record);

// The totals 201, 200 and 100 and, when the month defines it, the income
// tax the employee lacks, then his contribution items. Returns the number
// of items added.
int addStandardItems(storage::DataModule &data, int personId);

// One item for each contribution definition (type 139) of the month that the
// employee owes and lacks, in code order, with the percentage of his
// insurance type and birth group by the bulk correction's rule. A definition
// whose fund has no rate for him (0 or empty), or that his group does not
// owe, is left out; so is everything when the month has no rates. Does not
// commit. Returns the number of items added.
int addContributionItems(storage::DataModule &data, int personId);

// The item form: "Добави перо" stores every entry column of a new item and
// remembers the code for the next one; "Редакция перо" rewrites the entry
// columns; "Изтриване" asks first. Totals are never deleted and only the
// editable types are edited. Each returns whether the month changed.
class ItemEntry {
public:
    explicit ItemEntry(storage::DataModule &data) : data_(data) {}

    int lastCode() const { return lastCode_; }
    // The record's code must be accepted (checkItemCode); returns the new id.
    // Without commit the caller makes it durable (with what follows).
    int add(int personId, ItemRecord record, bool commit = true);
    bool edit(const ItemRecord &record);
    bool remove(int itemId, util::Prompter &prompter);

private:
    void writeEntryColumns(const ItemRecord &record);

    storage::DataModule &data_;
    int lastCode_ = 0;
};

} // namespace plavex::items
