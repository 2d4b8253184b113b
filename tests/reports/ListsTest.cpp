#include "tests/support/TestDatabase.h"

#include "reference/Nomenclatures.h"
#include "reports/NomenclatureLists.h"
#include "reports/ReportRun.h"
#include "reports/Selections.h"
#include "reports/engine/FontMetrics.h"
#include "reports/engine/Snapshot.h"
#include "storage/fb/Statement.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plavex;
using namespace plavex::reports;

namespace {

const Op *textOp(const Document &doc, const QString &text, int page = -1)
{
    for (int p = 0; p < doc.pageCount(); ++p)
        if (page < 0 || p == page)
            for (const Op &op : doc.pages[p].ops)
                if (op.kind == Op::Kind::Text && op.text == text)
                    return &op;
    return nullptr;
}

double rightEnd(const Op &op) { return op.x + FontMetrics::width(op.font, op.text); }
double centre(const Op &op) { return op.x + FontMetrics::width(op.font, op.text) / 2; }

class ListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.open());
        fb::Statement::run(db.data->transaction(),
                           QStringLiteral("UPDATE %1 SET FIRMA_IME=?").arg(db.data->table(u"FIRMA")),
                           {QStringLiteral("Плавекс ООД")});
        db.data->commitRetaining();
    }
    test::TestDatabase db;
};

// Remembers what the run changes and how it ends.
class RecordingHost : public ReportHost {
public:
    Orientation printerOrientation() const override { return orientation; }
    void setPrinterOrientation(Orientation o) override
    {
        orientation = o;
        orientations.push_back(o);
    }
    int currentEmployee() const override { return employee; }
    void selectEmployee(int id) override
    {
        if (failSelect)
            throw std::runtime_error("служителят не може да бъде избран");
        employee = id;
    }
    void setScreenRefresh(bool on) override { refresh = on; }
    bool setupOutput(Document &) override { return acceptSetup; }
    void status(const QString &text) override { statuses << text; }
    bool cancelled() override { return cancel; }
    void output(Document &document) override
    {
        // The main window moves on while the run goes.
        employee = 99;
        if (failOutput)
            throw std::runtime_error("принтерът не отговаря");
        produced = document;
    }
    void message(const QString &text) override
    {
        messages << text;
        if (failMessage)
            throw std::runtime_error("съобщението не може да се покаже");
    }

    bool failMessage = false;
    bool failSelect = false;
    Orientation orientation = Orientation::Portrait;
    std::vector<Orientation> orientations;
    int employee = 7;
    bool refresh = true;
    bool acceptSetup = true;
    bool cancel = false;
    bool failOutput = false;
    QStringList statuses, messages;
    Document produced;
};

struct CliRun {
    int status;
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(PLAVEX_CLI_PATH), args);
    if (!p.waitForFinished(60000))
        return {-1, QStringLiteral("timeout")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST_F(ListsTest, DefinitionListPlacesTitleHeadingsAndCells)
{
    RecordingHost host;
    const Document doc = buildNomenclatureList(*db.data, ReportKind::DefinitionList, host);
    ASSERT_EQ(doc.pageCount(), 1);

    const Op *title = textOp(doc, QStringLiteral("Списък на дефинираните пера за Плавекс ООД"));
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(centre(*title), 10.5, 0.01);
    EXPECT_GT(title->y, 1.6);
    EXPECT_LT(title->y, 2.2);
    EXPECT_TRUE(title->font.bold);

    // Headings centred in their cells (2, 10 and 7 cm from the left margin).
    struct Cell {
        const char *text;
        double centre;
    };
    for (const Cell &h : {Cell{"Код", 2.0}, Cell{"Наименование на перото", 8.0}, Cell{"Тип", 16.5}}) {
        const Op *op = textOp(doc, QString::fromUtf8(h.text));
        ASSERT_NE(op, nullptr) << h.text;
        EXPECT_NEAR(centre(*op), h.centre, 0.01) << h.text;
    }
    // The first row under the heading: the code right, the texts left.
    const Op *code = textOp(doc, QStringLiteral("1000"));
    const Op *name = textOp(doc, QStringLiteral("Общо начисления"));
    ASSERT_TRUE(code && name);
    EXPECT_NEAR(rightEnd(*code), 2.9, 0.01);
    EXPECT_NEAR(name->x, 3.1, 0.01);
    EXPECT_NEAR(code->y - textOp(doc, QStringLiteral("Код"))->y, 0.5, 0.01);
    // Type 100 shows its name; the heading row is shaded.
    int shaded = 0;
    for (const Op &op : doc.pages[0].ops)
        shaded += op.kind == Op::Kind::FillRect && op.brush.color == shadeColor(20);
    EXPECT_EQ(shaded, 3);
    EXPECT_NE(textOp(doc, QStringLiteral("Стр: 1  от  1")), nullptr);
    EXPECT_EQ(host.statuses, QStringList{QStringLiteral("Генериране на 1 страница")});
}

TEST_F(ListsTest, LongListRepeatsTitleAndHeadingOnEveryPage)
{
    for (int i = 1; i <= 60; ++i)
        reference::addUnit(*db.data, QStringLiteral("Звено %1").arg(i), 0);
    RecordingHost host;
    const Document doc = buildNomenclatureList(*db.data, ReportKind::UnitList, host);
    // 27.7 cm less 1.2 for the title: heading + 52 rows of 0.5 cm a page.
    ASSERT_EQ(doc.pageCount(), 2);
    for (int p = 0; p < 2; ++p) {
        EXPECT_NE(textOp(doc, QStringLiteral("Списък на дефинираните звена за Плавекс ООД"), p), nullptr);
        EXPECT_NE(textOp(doc, QStringLiteral("Наименование"), p), nullptr);
        EXPECT_NE(textOp(doc, QStringLiteral("Стр: %1  от  2").arg(p + 1), p), nullptr);
    }
    const Op *first = textOp(doc, QStringLiteral("Звено 1"), 0);
    const Op *carried = textOp(doc, QStringLiteral("Звено 53"), 1);
    ASSERT_TRUE(first && carried);
    EXPECT_NEAR(carried->y, first->y, 0.01);
    const Op *last = textOp(doc, QStringLiteral("60"), 1);
    ASSERT_NE(last, nullptr);
    EXPECT_NEAR(rightEnd(*last), 2.9, 0.01);
}

TEST_F(ListsTest, PositionAndCategoryListsShowTheirNumbers)
{
    fb::Statement::run(db.data->transaction(),
                       QStringLiteral("UPDATE %1 SET KAT_LIMIT=? WHERE KAT_COD=?").arg(db.data->table(u"KAT")), {560.5, 2});
    reference::addPosition(*db.data, QStringLiteral("Счетоводител"), 2, QStringLiteral("7412"), 3);
    RecordingHost host;
    const Document positions = buildNomenclatureList(*db.data, ReportKind::PositionList, host);
    const Op *limit = textOp(positions, QStringLiteral("560.50"));
    ASSERT_NE(limit, nullptr);
    EXPECT_NEAR(rightEnd(*limit), 1.0 + 19.0 - 0.1, 0.01);
    for (const char *text : {"Счетоводител", "Кв. степен", "Шифър", "Пор. номер", "Мин. лимит"})
        EXPECT_NE(textOp(positions, QString::fromUtf8(text)), nullptr) << text;

    const Document categories = buildNomenclatureList(*db.data, ReportKind::CategoryList, host);
    EXPECT_NE(textOp(categories, QStringLiteral("Списък на категориите за Плавекс ООД  (Суми в лева)")), nullptr);
    const Op *categoryLimit = textOp(categories, QStringLiteral("560.50"));
    ASSERT_NE(categoryLimit, nullptr);
    EXPECT_NEAR(rightEnd(*categoryLimit), 1.0 + 16.2 - 0.1, 0.01);
}

TEST_F(ListsTest, TheRunRestoresEmployeeAndOrientationAfterErrorAndAbort)
{
    ReportRequest request;
    request.kind = ReportKind::UnitList;

    RecordingHost failing;
    failing.failOutput = true;
    EXPECT_THROW(startReport(*db.data, failing, request), std::runtime_error);
    EXPECT_EQ(failing.employee, 7);
    EXPECT_TRUE(failing.refresh);

    RecordingHost refused;
    refused.acceptSetup = false;
    EXPECT_EQ(startReport(*db.data, refused, request).outcome, RunOutcome::Aborted);
    EXPECT_EQ(refused.employee, 7);
    EXPECT_TRUE(refused.refresh);

    RecordingHost cancelled;
    cancelled.cancel = true;
    EXPECT_EQ(startReport(*db.data, cancelled, request).outcome, RunOutcome::Aborted);
    EXPECT_EQ(cancelled.produced.pageCount(), 0);

    // The landscape lists turn the printer and give it back.
    RecordingHost landscape;
    request.kind = ReportKind::PaymentList;
    const RunResult r = startReport(*db.data, landscape, request);
    EXPECT_EQ(r.outcome, RunOutcome::Done);
    EXPECT_EQ(landscape.orientations, (std::vector<Orientation>{Orientation::Landscape, Orientation::Portrait}));
    EXPECT_EQ(landscape.orientation, Orientation::Portrait);
    RecordingHost landscapeFailing;
    landscapeFailing.failOutput = true;
    EXPECT_THROW(startReport(*db.data, landscapeFailing, request), std::runtime_error);
    EXPECT_EQ(landscapeFailing.orientation, Orientation::Portrait);
    EXPECT_EQ(landscapeFailing.employee, 7);
    // A step of the restore that fails leaves the others done.
    RecordingHost stuck;
    stuck.failSelect = true;
    EXPECT_EQ(startReport(*db.data, stuck, request).outcome, RunOutcome::Done);
    EXPECT_EQ(stuck.orientation, Orientation::Portrait);
    EXPECT_TRUE(stuck.refresh);

    RecordingHost done;
    request.kind = ReportKind::CategoryList;
    EXPECT_EQ(startReport(*db.data, done, request).outcome, RunOutcome::Done);
    EXPECT_EQ(done.employee, 7);
    EXPECT_GT(done.produced.pageCount(), 0);
}

TEST_F(ListsTest, RecapitulationTypesOtherThanGeneralAndUnitPrintNothing)
{
    class Recap : public RecordingHost {
    public:
        bool askRecapType(ReportRequest &r) override
        {
            r.recapType = type;
            return accept;
        }
        RecapType type = RecapType::Full;
        bool accept = true;
    };
    ReportRequest request;
    request.kind = ReportKind::Recapitulation;
    for (RecapType type : {RecapType::Full, RecapType::Group, RecapType::FundRate, RecapType::Topics, RecapType::ForPeriod}) {
        Recap host;
        host.type = type;
        EXPECT_EQ(startReport(*db.data, host, request).outcome, RunOutcome::Cancelled);
        EXPECT_EQ(host.messages, QStringList{QStringLiteral("Не е направена.")});
    }
    Recap cancelled;
    cancelled.accept = false;
    EXPECT_EQ(startReport(*db.data, cancelled, request).outcome, RunOutcome::Cancelled);
    EXPECT_TRUE(cancelled.messages.isEmpty());

    EXPECT_EQ(checkRange(QStringLiteral(" "), QStringLiteral("5")), QStringLiteral("Моля въведете начален и краен номер!"));
    EXPECT_TRUE(checkRange(QStringLiteral("1"), QStringLiteral("5")).isEmpty());
    EXPECT_EQ(defaultRange(activeEmployees(*db.data)), std::make_pair(0, 0));
    EXPECT_FALSE(checkRecapType(RecapType::Unit, QString()).isEmpty());
    EXPECT_TRUE(checkRecapType(RecapType::General, QString()).isEmpty());
}

TEST_F(ListsTest, CommandLineWritesPdfWithTheTextInOrderAndRefusesWhatItCannotDo)
{
    reference::addUnit(*db.data, QStringLiteral("Счетоводство"), 0);
    reference::addUnit(*db.data, QStringLiteral("Производство"), 0);
    const QString dir = db.dir.path();
    const QStringList base{QStringLiteral("--program-dir"), dir, QStringLiteral("report")};

    const QString pdf = dir + QStringLiteral("units.pdf");
    CliRun r = cli(base + QStringList{QStringLiteral("units"), QStringLiteral("--out"), pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QProcess text;
    text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    qsizetype at = 0;
    for (const char *w : {"Списък на дефинираните звена за Плавекс ООД", "Код", "Наименование", "1", "Счетоводство", "2",
                          "Производство", "Стр: 1 от 1"}) {
        const qsizetype found = words.indexOf(QString::fromUtf8(w), at);
        ASSERT_GE(found, 0) << w << " in " << words.toStdString();
        at = found + 1;
    }

    const QString ndr = dir + QStringLiteral("units.ndr");
    r = cli(base + QStringList{QStringLiteral("units"), QStringLiteral("--out"), ndr});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QString error;
    const auto snapshot = readSnapshot(ndr, &error);
    ASSERT_TRUE(snapshot) << error.toStdString();
    EXPECT_NE(textOp(*snapshot, QStringLiteral("Производство")), nullptr);

    struct Refused {
        QStringList args;
        const char *message;
    };
    const QString out = dir + QStringLiteral("never.pdf");
    const Refused cases[] = {
        {{QStringLiteral("recap"), QStringLiteral("--out"), out, QStringLiteral("--type"), QStringLiteral("unit")},
         "Моля попълнете полето номер на звено"},
        {{QStringLiteral("units"), QStringLiteral("--out"), out, QStringLiteral("--from"), QStringLiteral("1")},
         "Непозната опция за units: --from 1"},
        {{QStringLiteral("payslip2"), QStringLiteral("--out"), out, QStringLiteral("--from"), QStringLiteral("x")},
         "--from иска цяло число: x"},
        {{QStringLiteral("recap"), QStringLiteral("--out"), out, QStringLiteral("--type"), QStringLiteral("full")},
         "--type иска general или unit: full"},
        {{QStringLiteral("units"), QStringLiteral("--out"), dir + QStringLiteral("units.txt")},
         "Файлът трябва да завършва на .pdf или .ndr"},
        {{QStringLiteral("salaries"), QStringLiteral("--out"), out}, "Непознат вид документ: salaries."},
        {{QStringLiteral("units"), QStringLiteral("--out"), dir + QStringLiteral("missing/units.pdf")},
         "не може да бъде записан"},
    };
    for (const Refused &k : cases) {
        r = cli(base + k.args);
        EXPECT_EQ(r.status, 1) << k.message;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(k.message))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}
