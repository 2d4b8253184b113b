// The generic table model behind the grids.
#include "app/TableModel.h"
#include "storage/TableData.h"
#include "util/Separators.h"

#include <QDate>
#include <QLocale>

#include <gtest/gtest.h>

using namespace plavex;

TEST(TableModelTyping, TypedTextBecomesTheColumnsValue)
{
    using Kind = storage::TableData::Kind;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const QChar d = util::Separators::current().date;
    struct Case {
        QString text;
        Kind kind;
        bool ok;
        QVariant value;
    };
    const Case cases[] = {
        {QStringLiteral("12"), Kind::Integer, true, qlonglong(12)},
        {QStringLiteral(""), Kind::Integer, true, QVariant()}, // emptied: no value, not 0
        {QStringLiteral("1x"), Kind::Integer, false, {}},
        {QStringLiteral("12,5"), Kind::Number, true, 12.5},
        {QStringLiteral("12.5"), Kind::Number, true, 12.5},
        {QStringLiteral("15") + d + QStringLiteral("03") + d + QStringLiteral("2007"), Kind::Date, true, QDate(2007, 3, 15)},
        {QStringLiteral("31") + d + QStringLiteral("02") + d + QStringLiteral("2007"), Kind::Date, false, {}},
        {QStringLiteral(" "), Kind::Date, true, QVariant()},
        {QStringLiteral(" Иван "), Kind::Text, true, QStringLiteral("Иван")},
    };
    for (const Case &c : cases) {
        QVariant value;
        EXPECT_EQ(app::TableModel::parseTyped(c.text, c.kind, value), c.ok) << c.text.toStdString();
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text.toStdString();
        }
    }
    QLocale::setDefault(before);
}
