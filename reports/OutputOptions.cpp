#include "reports/OutputOptions.h"

#include <QStringList>

#include <algorithm>

namespace plavex::reports {

const std::vector<FormatInfo> &fileFormats()
{
    static const std::vector<FormatInfo> formats = {
        {FileFormat::Snapshot, QStringLiteral("Запис на отчет (*.ndr)"), QStringLiteral("ndr"),
         QStringLiteral("Запис на отчет (*.ndr *.NDR)")},
        {FileFormat::Native, QStringLiteral("Изход за принтер (*.prn)"), QStringLiteral("prn"),
         QStringLiteral("Изход за принтер (*.prn *.PRN)")},
        {FileFormat::Pdf, QStringLiteral("PDF документ (*.pdf)"), QStringLiteral("pdf"),
         QStringLiteral("PDF документ (*.pdf *.PDF)")},
    };
    return formats;
}

QString fileFilter()
{
    QStringList filters;
    for (const FormatInfo &f : fileFormats())
        filters << f.filter;
    return filters.join(QStringLiteral(";;"));
}

QString outputFileName(const QString &typed, FileFormat format)
{
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return name;
    for (const FormatInfo &f : fileFormats())
        if (f.format == format)
            return name + QLatin1Char('.') + f.extension;
    return name;
}

std::vector<int> pagesOfList(const QString &text, int count)
{
    std::vector<int> pages;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool ok1 = false, ok2 = false;
        int a = ends.value(0).trimmed().toInt(&ok1);
        // "3-" runs to the last page, "-3" from the first.
        int b = ends.size() > 1 ? (ends[1].trimmed().isEmpty() ? count : ends[1].trimmed().toInt(&ok2)) : a;
        if (ends.size() > 1 && ends[1].trimmed().isEmpty())
            ok2 = true;
        if (ends.value(0).trimmed().isEmpty() && ends.size() > 1) {
            a = 1;
            ok1 = true;
        }
        if (ends.size() == 1)
            ok2 = ok1;
        if (!ok1 || !ok2 || ends.size() > 2)
            continue;
        for (int p = std::max(a, 1); p <= std::min(b, count); ++p)
            pages.push_back(p);
    }
    return pages;
}

} // namespace plavex::reports
