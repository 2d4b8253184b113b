#include "reports/ReportRun.h"
#include "reports/engine/Canvas.h"
#include "reports/engine/FontMetrics.h"
#include "reports/engine/PdfStream.h"
#include "reports/engine/Render.h"
#include "reports/engine/Snapshot.h"
#include "reports/engine/TablePrinter.h"
#include "util/Currency.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plavex;
using namespace plavex::reports;

namespace {

std::vector<const Op *> opsOf(const Page &page, Op::Kind kind)
{
    std::vector<const Op *> list;
    for (const Op &op : page.ops)
        if (op.kind == kind)
            list.push_back(&op);
    return list;
}

const Op *textOp(const Document &doc, const QString &text, int page = -1)
{
    for (int p = 0; p < doc.pageCount(); ++p) {
        if (page >= 0 && p != page)
            continue;
        for (const Op &op : doc.pages[p].ops)
            if (op.kind == Op::Kind::Text && op.text == text)
                return &op;
    }
    return nullptr;
}

} // namespace

TEST(Engine, TabCellsDrawTheirBoxesShadeAndJustifiedText)
{
    Document doc;
    Canvas c(doc);
    c.begin();
    c.setLineHeight(0.5);
    c.setTab(2.0, Justify::Left, 3.0, 10, BoxAll, 20);
    c.setTab(-1, Justify::Right, 2.0, 0, BoxLeft | BoxBottom);
    c.setTab(-1, Justify::Center, 4.0);
    c.print(QStringLiteral("\tИме\t12.50\tсредата"));

    const Page &page = doc.pages[0];
    const auto fills = opsOf(page, Op::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_NEAR(fills[0]->x, 2.0, 0.005);
    EXPECT_NEAR(fills[0]->x2, 5.0, 0.005);
    EXPECT_NEAR(fills[0]->y, 1.0, 0.005);
    EXPECT_NEAR(fills[0]->y2, 1.5, 0.005);
    EXPECT_EQ(fills[0]->brush.color, shadeColor(20));
    // The first cell boxed all round, left and bottom of the second, none of the third.
    const auto boxes = opsOf(page, Op::Kind::Rect);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NEAR(boxes[0]->x, 2.0, 0.005);
    EXPECT_NEAR(boxes[0]->y2, 1.5, 0.005);
    EXPECT_EQ(boxes[0]->brush.style, 0);
    EXPECT_EQ(opsOf(page, Op::Kind::Line).size(), 2u);

    const Font f = c.font();
    const Op *name = textOp(doc, QStringLiteral("Име"));
    const Op *amount = textOp(doc, QStringLiteral("12.50"));
    const Op *middle = textOp(doc, QStringLiteral("средата"));
    ASSERT_TRUE(name && amount && middle);
    EXPECT_NEAR(name->x, 2.0 + 0.1 * FontMetrics::height(f), 0.005);
    EXPECT_NEAR(amount->x + FontMetrics::width(f, amount->text), 7.0, 0.005);
    EXPECT_NEAR(middle->x + FontMetrics::width(f, middle->text) / 2, 9.0, 0.005);
    // The text sits inside its line.
    EXPECT_GT(name->y, 1.0);
    EXPECT_LT(name->y, 1.5);
    EXPECT_NEAR(c.xPos(), 11.0, 0.005);

    // A cell's own lines and shade replace its stop's.
    c.newLine();
    c.tab(CellOverride{0, 0, 0, 0.05, 50});
    c.print(QStringLiteral("x"));
    const auto lines = opsOf(doc.pages[0], Op::Kind::Line);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_NEAR(lines.back()->pen.width, 0.05, 1e-9);
    EXPECT_NEAR(lines.back()->y, 2.0, 0.005);
    EXPECT_EQ(opsOf(doc.pages[0], Op::Kind::FillRect).back()->brush.color, shadeColor(50));
}

TEST(Engine, PageTotalsAreCompletedAtTheEndAndPlacedAgain)
{
    Document doc;
    Canvas c(doc);
    c.onNewPage = [](Canvas &canvas) {
        canvas.textAt(pageOfText(canvas), 20.0, 1.5, Justify::Right);
    };
    c.begin();
    c.setLineHeight(1.0);
    while (doc.pageCount() < 3) {
        if (c.linesLeft() < 1)
            c.newPage();
        c.println(QStringLiteral("ред"));
    }
    c.finish();
    ASSERT_EQ(doc.pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        const QString expected = QStringLiteral("Стр: %1  от  3").arg(p + 1);
        const Op *op = textOp(doc, expected, p);
        ASSERT_NE(op, nullptr) << expected.toStdString();
        EXPECT_NEAR(op->x + FontMetrics::width(op->font, op->text), 20.0, 0.005);
    }
    // 27.7 cm between the margins hold 27 lines of 1 cm a page.
    EXPECT_EQ(opsOf(doc.pages[0], Op::Kind::Text).size(), 28u);
}

TEST(Engine, TableRepeatsItsHeadingWrapsTextAndTotals)
{
    Document doc;
    Canvas c(doc);
    c.setLineHeight(0.5);
    c.begin();
    TablePrinter t;
    t.columns = {{QStringLiteral("n"), 2, QStringLiteral("Код"), Justify::Right, 0, false},
                 {QStringLiteral("s"), 3, QStringLiteral("Име"), Justify::Left, -1, false},
                 {QStringLiteral("a"), 3, QStringLiteral("Сума"), Justify::Right, 2, true}};
    int headings = 0;
    t.onNewPage = [&](Canvas &) { ++headings; };
    TableData data;
    data.fields = QStringList{QStringLiteral("a"), QStringLiteral("n"), QStringLiteral("s")};
    for (int i = 1; i <= 60; ++i)
        data.rows.push_back({i * 1.5, i, i == 2 ? QStringLiteral("много дълго име на ред две") : QStringLiteral("ред")});
    t.print(c, data);
    c.finish();

    // 27.7 cm: a heading and 54 lines a page; row 2 takes two lines.
    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(headings, 2);
    const Op *second = textOp(doc, QStringLiteral("Код"), 1);
    ASSERT_NE(second, nullptr);
    EXPECT_NEAR(second->y, textOp(doc, QStringLiteral("Код"), 0)->y, 1e-9);
    const Op *longFirst = textOp(doc, QStringLiteral("много дълго"));
    const Op *longRest = textOp(doc, QStringLiteral("име на ред"));
    ASSERT_TRUE(longFirst && longRest);
    EXPECT_NEAR(longRest->y - longFirst->y, 0.5, 1e-9);
    const Op *total = textOp(doc, QStringLiteral("2745.00"));
    ASSERT_NE(total, nullptr);
    EXPECT_NEAR(total->x + FontMetrics::width(total->font, total->text), 8.0 - 0.1 + 1.0, 0.005);
    EXPECT_NE(textOp(doc, QStringLiteral("Общо:")), nullptr);
    EXPECT_EQ(t.totals()[2], 2745.0);
}

namespace {

class RecordingHost : public ReportHost {
public:
    void processEvents() override { ++events; }
    bool cancelled() override { return cancelAfter >= 0 && events > cancelAfter; }
    int events = 0;
    int cancelAfter = -1;
};

} // namespace

TEST(RowProtocol, AFailingUnitPrintsItsErrorAndTheRunGoesOn)
{
    Document doc;
    Canvas c(doc);
    c.begin();
    RecordingHost host;
    QStringList errors;
    std::vector<int> printed;
    const bool done = printRows(
        c, 3,
        [&](Canvas &canvas, int i) {
            if (i == 1)
                throw std::runtime_error("няма данни за служител 7");
            printed.push_back(i);
            canvas.println(QStringLiteral("фиш %1").arg(i));
        },
        host, &errors);
    EXPECT_TRUE(done);
    EXPECT_EQ(printed, (std::vector<int>{0, 2}));
    EXPECT_EQ(errors, QStringList{QStringLiteral("Грешка няма данни за служител 7")});
    const Op *line = textOp(doc, QStringLiteral("Грешка няма данни за служител 7"));
    ASSERT_NE(line, nullptr);
    EXPECT_LT(textOp(doc, QStringLiteral("фиш 0"))->y, line->y);
    EXPECT_LT(line->y, textOp(doc, QStringLiteral("фиш 2"))->y);

    // A line that fills the page starts the next one, with its header.
    Document sheet;
    Canvas s(sheet);
    s.setLineHeight(1.0);
    s.onNewPage = [](Canvas &canvas) { printWithPageTurn(canvas, QStringLiteral("Рекапитулация"), true); };
    s.begin();
    for (int i = 0; i < 27; ++i) {
        printWithPageTurn(s, QStringLiteral("ред "), false);
        printWithPageTurn(s, QString::number(i), true);
    }
    ASSERT_EQ(sheet.pageCount(), 2);
    EXPECT_NE(textOp(sheet, QStringLiteral("Рекапитулация"), 1), nullptr);
    EXPECT_NE(textOp(sheet, QStringLiteral("25"), 0), nullptr);
    EXPECT_NE(textOp(sheet, QStringLiteral("26"), 1), nullptr);

    // "Отказ" in the status window stops before the next unit.
    RecordingHost cancelling;
    cancelling.cancelAfter = 2;
    printed.clear();
    EXPECT_FALSE(printRows(c, 5, [&](Canvas &, int i) { printed.push_back(i); }, cancelling));
    EXPECT_EQ(printed, (std::vector<int>{0}));
}

TEST(Snapshot, SavedReopenedAndSavedAgainIsTheSameByteForByte)
{
    Document doc;
    doc.title = QStringLiteral("Списък");
    Canvas c(doc);
    c.setOrientation(Orientation::Landscape);
    c.onNewPage = [](Canvas &canvas) { canvas.println(pageOfText(canvas)); };
    c.begin();
    c.setTab(1, Justify::Right, 3, 5, BoxAll, 20);
    c.setBold(true);
    c.print(QStringLiteral("\tБрутно 1 234.56"));
    c.newLine();
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    c.stretchDraw(QRectF(2, 3, 4, 2), image);
    c.newPage();
    c.setPen(Pen{0xff0000ff, 2, 0.05, PenMode::Xor});
    c.setBrush(Brush{0xffeeeeee, 1});
    c.rectangle(1, 1, 5, 5);
    c.finish();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ndr"));
    const QByteArray bytes = snapshotBytes(doc);
    ASSERT_TRUE(writeSnapshot(bytes, path));
    QString error;
    const auto again = readSnapshot(path, &error);
    ASSERT_TRUE(again) << error.toStdString();
    EXPECT_EQ(again->pageCount(), 2);
    EXPECT_EQ(again->setup.orientation, Orientation::Landscape);
    EXPECT_EQ(again->pages[0].ops, doc.pages[0].ops);
    EXPECT_EQ(again->pages[1].ops, doc.pages[1].ops);
    EXPECT_EQ(again->images, doc.images);
    EXPECT_EQ(snapshotBytes(*again), bytes);
}

TEST(Snapshot, ADamagedOrForeignFileIsRefusedWithAMessage)
{
    Document doc;
    Canvas c(doc);
    c.begin();
    c.println(QStringLiteral("текст"));
    c.finish();
    const QByteArray good = snapshotBytes(doc);

    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *message;
    };
    const Case cases[] = {
        {"flipped byte", flipped, "Файлът е повреден и не може да бъде отворен."},
        {"truncated", good.left(good.size() - 7), "Файлът е повреден и не може да бъде отворен."},
        {"foreign", QByteArrayLiteral("%PDF-1.4 ..."), "Файлът не е запис на отчет (.ndr) от тази програма."},
        {"empty", QByteArray(), "Файлът не е запис на отчет (.ndr) от тази програма."},
    };
    for (const Case &k : cases) {
        QString error;
        EXPECT_FALSE(documentFromSnapshot(k.bytes, &error)) << k.what;
        EXPECT_EQ(error, QString::fromUtf8(k.message)) << k.what;
    }
    QByteArray newer = good;
    newer[12] = 9; // the version after the signature
    QString error;
    EXPECT_FALSE(documentFromSnapshot(newer, &error));
    EXPECT_EQ(error, QStringLiteral("Файлът е записан от по-нова версия на програмата."));
}

TEST(Currency, ThePeriodChoosesTheWords)
{
    struct Case {
        util::Period period;
        const char *code, *abbreviation, *plural, *subunit;
    };
    const Case cases[] = {{util::Period(2008, 1), "BGN", "лв.", "лева", "ст."},
                          {util::Period(2025, 12), "BGN", "лв.", "лева", "ст."},
                          {util::Period(2026, 1), "EUR", "€", "евро", "ц."}};
    for (const Case &k : cases) {
        const util::Currency c = util::currencyOf(k.period);
        EXPECT_EQ(c.code, QString::fromUtf8(k.code)) << k.period.text().toStdString();
        EXPECT_EQ(c.abbreviation, QString::fromUtf8(k.abbreviation));
        EXPECT_EQ(c.plural, QString::fromUtf8(k.plural));
        EXPECT_EQ(c.subunit, QString::fromUtf8(k.subunit));
    }
}

TEST(Pdf, LandscapePagesKeepTheirPaperAndTheirText)
{
    Document doc;
    Canvas c(doc);
    c.setOrientation(Orientation::Landscape);
    c.begin();
    c.textAt(QStringLiteral("Списък на суми"), 28.7, 2.0, Justify::Right);
    c.newPage();
    c.println(QStringLiteral("втора"));
    c.finish();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("l.pdf"));
    ASSERT_TRUE(writePdf(doc, path));
    auto run = [](const QString &tool, const QStringList &args) {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString info = run(QStringLiteral(PLAVEX_PDFINFO), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595")))) << info.toStdString();
    // The right-aligned text ends inside the wide page, not cut at the portrait width.
    const QString text = run(QStringLiteral(PLAVEX_PDFTOTEXT), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                                QStringLiteral("1"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Списък на суми"))) << text.toStdString();
}

namespace {

// The file without its creation date, which is the moment it was written.
QByteArray withoutDate(QByteArray bytes)
{
    const qsizetype at = bytes.indexOf("/CreationDate");
    if (at >= 0)
        bytes.remove(at, bytes.indexOf(')', at) - at + 1);
    return bytes;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Forty pages, an image on the fifth, and — when asked — the page count
// in the footer of the twentieth on.
Document streamedDocument(bool countFrom20, const std::function<void(const Document &, int)> &finished)
{
    Document doc;
    Canvas c(doc);
    c.onNewPage = [&](Canvas &canvas) { finished(canvas.document(), canvas.pageNumber() - 1); };
    c.begin();
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int page = 1; page <= 40; ++page) {
        if (page > 1)
            c.newPage();
        c.println(QStringLiteral("Страница %1 — Служител Иван Петров").arg(page));
        if (page == 5)
            c.stretchDraw(QRectF(2, 5, 1, 1), image);
        if (countFrom20 && page >= 20)
            c.textAt(QStringLiteral("%1 от %2").arg(page).arg(Canvas::totalPagesText()), 19.0, 28.0, Justify::Right);
    }
    c.finish();
    return doc;
}

} // namespace

// A PDF written while its pages are made is the file written at the end:
// byte for byte but its date, with pages waiting for the count and with
// pages begun again; a run given up leaves an older file as it was.
TEST(Pdf, WrittenWhileThePagesAreMadeIsTheSameFile)
{
    QTemporaryDir dir;
    for (const bool countFrom20 : {false, true}) {
        const QString whole = dir.filePath(QStringLiteral("whole.pdf"));
        const QString streamed = dir.filePath(QStringLiteral("streamed.pdf"));
        PdfStream stream(streamed);
        const Document doc = streamedDocument(countFrom20, [&](const Document &d, int n) { stream.pagesFinished(d, n); });
        ASSERT_TRUE(writePdf(doc, whole));
        QString error;
        ASSERT_TRUE(stream.finish(doc, &error)) << error.toStdString();
        EXPECT_EQ(withoutDate(fileBytes(streamed)), withoutDate(fileBytes(whole))) << countFrom20;
    }
    {
        const QString again = dir.filePath(QStringLiteral("again.pdf"));
        PdfStream stream(again);
        const Document first = streamedDocument(false, [&](const Document &d, int n) { stream.pagesFinished(d, n); });
        stream.pagesFinished(first, 3); // begun again
        const Document doc = streamedDocument(true, [](const Document &, int) {});
        ASSERT_TRUE(stream.finish(doc));
        const QString whole = dir.filePath(QStringLiteral("whole2.pdf"));
        ASSERT_TRUE(writePdf(doc, whole));
        EXPECT_EQ(withoutDate(fileBytes(again)), withoutDate(fileBytes(whole)));
    }
    {
        const QString older = dir.filePath(QStringLiteral("older.pdf"));
        QFile f(older);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("older");
        f.close();
        {
            PdfStream stream(older);
            streamedDocument(false, [&](const Document &d, int n) { stream.pagesFinished(d, n); });
        }
        EXPECT_EQ(fileBytes(older), QByteArray("older"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("older")).size(), 1);
    }
    PdfStream nowhere(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
    const Document doc = streamedDocument(false, [&](const Document &d, int n) { nowhere.pagesFinished(d, n); });
    QString error;
    EXPECT_FALSE(nowhere.finish(doc, &error));
    EXPECT_FALSE(error.isEmpty());
}
