#include "tests/support/GuiTest.h"
#include "tests/support/TestDatabase.h"

#include "app/CasePeroDialog.h"
#include "app/ItemsPage.h"
#include "app/PeroDefsWindow.h"

#include "app/reports/GuiReports.h"
#include "app/reports/OutputSetupDialog.h"
#include "app/reports/PreviewWindow.h"
#include "app/reports/ReportDialogs.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "reports/OutputOptions.h"
#include "reports/engine/Canvas.h"
#include "util/Prompter.h"

#include <QAction>
#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QDir>
#include <QKeySequence>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::app;

namespace {

reports::Document pages(int count)
{
    reports::Document doc;
    reports::Canvas c(doc);
    c.begin();
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            c.newPage();
        c.println(QStringLiteral("Страница %1").arg(i));
    }
    c.finish();
    return doc;
}

} // namespace

TEST(OutputOptions, FileNamesAndPageLists)
{
    using reports::FileFormat;
    struct Name {
        const char *typed;
        FileFormat format;
        const char *result;
    };
    for (const Name &n : {Name{"fish", FileFormat::Snapshot, "fish.ndr"}, Name{"fish", FileFormat::Native, "fish.prn"},
                          Name{"fish", FileFormat::Pdf, "fish.pdf"}, Name{" fish.txt ", FileFormat::Snapshot, "fish.txt"},
                          Name{"a.b/fish", FileFormat::Native, "a.b/fish"}})
        EXPECT_EQ(reports::outputFileName(QString::fromUtf8(n.typed), n.format), QString::fromUtf8(n.result)) << n.typed;

    EXPECT_EQ(reports::pagesOfList(QStringLiteral("1-3,5"), 9), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(reports::pagesOfList(QStringLiteral("4-"), 6), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(reports::pagesOfList(QStringLiteral("2,12"), 3), (std::vector<int>{2}));
    EXPECT_TRUE(reports::pagesOfList(QStringLiteral("7-9,x"), 3).empty());
}

TEST(OutputSetup, WithoutAPrinterOnlyTheScreenRemains)
{
    test::application();
    reports::OutputOptions options;
    options.destination = reports::Destination::Printer;
    options.copies = 2;
    OutputSetupDialog dialog(OutputSetupDialog::Mode::Run, options, QString(), 0);
    EXPECT_EQ(dialog.printerLabel()->text(), QStringLiteral("Липсва инсталиран принтер!"));
    EXPECT_FALSE(dialog.printerButton()->isEnabled());
    EXPECT_FALSE(dialog.fileButton()->isEnabled());
    EXPECT_TRUE(dialog.screenButton()->isChecked());
    EXPECT_FALSE(dialog.copiesEdit()->isEnabled());
    EXPECT_EQ(dialog.copiesEdit()->text(), QStringLiteral("2"));
    dialog.accept();
    EXPECT_EQ(options.destination, reports::Destination::Screen);
}

TEST(OutputSetup, FileDestinationNeedsANameAndGetsTheFormatsExtension)
{
    test::application();
    reports::OutputOptions options;
    OutputSetupDialog dialog(OutputSetupDialog::Mode::Run, options, QStringLiteral("HP"), 0);
    EXPECT_EQ(OutputSetupDialog::printerText(QStringLiteral("HP"), QStringLiteral("LPT1"), true), QStringLiteral("HP от LPT1"));
    dialog.fileButton()->setChecked(true);
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.fileEdit()->setText(QStringLiteral("   "));
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.fileEdit()->setText(QStringLiteral(" fish "));
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    EXPECT_FALSE(dialog.copiesEdit()->isEnabled());
    dialog.formatList()->setCurrentIndex(1);
    dialog.copiesEdit()->setText(QStringLiteral("x"));
    dialog.accept();
    EXPECT_EQ(options.destination, reports::Destination::File);
    EXPECT_EQ(options.fileName, QStringLiteral("fish.prn"));
    EXPECT_EQ(options.copies, 1);
}

TEST(OutputSetup, PreviewPrintPresetsThePageList)
{
    test::application();
    reports::OutputOptions options;
    OutputSetupDialog dialog(OutputSetupDialog::Mode::PreviewPrint, options, QStringLiteral("HP"), 7);
    EXPECT_EQ(dialog.pageEdit()->text(), QStringLiteral("1-7"));
    dialog.accept();
    EXPECT_EQ(options.firstPage, 1);
    EXPECT_EQ(options.lastPage, 9999);
}

TEST(Preview, PagesZoomKeysAndSnapshots)
{
    test::application();
    PreviewWindow preview(pages(3));
    preview.show();
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(preview.countLabel()->text(), QStringLiteral("от 3"));
    EXPECT_EQ(preview.statusText(), QStringLiteral("Страница 1 от 3"));
    EXPECT_FALSE(preview.action(QStringLiteral("Първа"))->isEnabled());
    EXPECT_TRUE(preview.action(QStringLiteral("Последна"))->isEnabled());

    QTest::keyClick(&preview, Qt::Key_E);
    EXPECT_EQ(preview.currentPage(), 3);
    EXPECT_FALSE(preview.action(QStringLiteral("Следваща"))->isEnabled());
    QTest::keyClick(&preview, Qt::Key_P);
    EXPECT_EQ(preview.currentPage(), 2);
    QTest::keyClick(&preview, Qt::Key_B);
    EXPECT_EQ(preview.currentPage(), 1);
    preview.setZoom(100);
    QTest::keyClick(preview.pageEdit(), Qt::Key_Plus);
    EXPECT_EQ(preview.zoom(), 125);
    EXPECT_EQ(preview.zoomEdit()->text(), QStringLiteral("125.0"));

    // A page typed beyond the count shows the last one.
    preview.pageEdit()->setText(QStringLiteral("9"));
    emit preview.pageEdit()->editingFinished();
    EXPECT_EQ(preview.currentPage(), 3);
    // A full stop never reaches the page number.
    QTest::keyClick(preview.pageEdit(), Qt::Key_Period);
    EXPECT_FALSE(preview.pageEdit()->text().contains(QLatin1Char('.')));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.ndr"));
    ASSERT_TRUE(preview.saveTo(path));
    PreviewWindow reopened(pages(1));
    QString error;
    ASSERT_TRUE(reopened.openFile(path, &error)) << error.toStdString();
    EXPECT_EQ(reopened.pageCount(), 3);
    EXPECT_EQ(reopened.stream(), preview.stream());
    EXPECT_TRUE(reopened.windowTitle().endsWith(QStringLiteral(" - [ ") + path + QStringLiteral(" ]")));
    QTest::keyClick(&preview, Qt::Key_X);
    EXPECT_FALSE(preview.isVisible());
}

// The page keys act while the page number has the focus (as it may, having
// been clicked), the window opens with the page focused, and a saved file
// is said to be saved.
TEST(Preview, PageKeysWorkWhileThePageNumberHasTheFocus)
{
    test::application();
    PreviewWindow preview(pages(4));
    preview.show();
    QApplication::setActiveWindow(&preview);
    EXPECT_FALSE(preview.pageEdit()->hasFocus());
    preview.pageEdit()->setFocus();
    ASSERT_TRUE(preview.pageEdit()->hasFocus());
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    } keys[] = {
        {Qt::Key_End, Qt::ControlModifier, 4},     {Qt::Key_Home, Qt::ControlModifier, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 2}, {Qt::Key_PageUp, Qt::ControlModifier, 1},
        {Qt::Key_N, Qt::NoModifier, 2},            {Qt::Key_E, Qt::NoModifier, 4},
        {Qt::Key_P, Qt::NoModifier, 3},            {Qt::Key_B, Qt::NoModifier, 1},
    };
    for (const auto &k : keys) {
        QTest::keyClick(preview.pageEdit(), k.key, k.modifiers);
        EXPECT_EQ(preview.currentPage(), k.page) << QKeySequence(k.key | k.modifiers).toString().toStdString();
    }
    EXPECT_EQ(preview.pageEdit()->text(), QStringLiteral("1"));
    EXPECT_NE(preview.action(QStringLiteral("Цял")), nullptr);
    EXPECT_NE(preview.action(QStringLiteral("Ширина")), nullptr);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.pdf"));
    QStringList told;
    preview.told = [&told](const QString &text) { told << text; };
    test::onModal<QFileDialog>([path](QFileDialog *d) {
        d->selectFile(path);
        static_cast<QDialog *>(d)->accept();
    });
    preview.save();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(told, QStringList{QStringLiteral("Отчетът е записан във файла\n%1").arg(QDir::toNativeSeparators(path))});
    preview.close();
}

TEST(ReportDialogs, RangeAndRecapitulationChecks)
{
    test::application();
    util::RecordingPrompter prompter;
    RangeDialog empty({}, prompter);
    EXPECT_EQ(empty.fromEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(empty.toEdit()->text(), QStringLiteral("0"));
    RangeDialog range({{3, QStringLiteral("Иван")}, {8, QStringLiteral("Мария")}}, prompter);
    EXPECT_EQ(range.from(), 3);
    EXPECT_EQ(range.to(), 8);
    range.toEdit()->clear();
    range.accept();
    EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("Моля въведете начален и краен номер!")});
    EXPECT_NE(range.result(), QDialog::Accepted);

    RecapTypeDialog recap({{4, QStringLiteral("Цех")}}, prompter);
    EXPECT_EQ(recap.type(), reports::RecapType::General); // one that prints
    EXPECT_FALSE(recap.unitEdit()->isEnabled());
    recap.types()->button(3)->click();
    EXPECT_TRUE(recap.unitEdit()->isEnabled());
    recap.unitEdit()->clear();
    recap.accept();
    EXPECT_TRUE(prompter.messages.last().startsWith(QStringLiteral("Моля попълнете полето номер на звено")));
    recap.unitEdit()->setText(QStringLiteral("4"));
    recap.accept();
    EXPECT_EQ(recap.unitCode(), 4);
    recap.types()->button(2)->click();
    EXPECT_EQ(recap.unitEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(recap.unitCode(), 0);
}

TEST(ReportWindows, ThePrintButtonOfTheDefinitionsRunsSetupThenPreview)
{
    test::application();
    test::TestDatabase db;
    ASSERT_TRUE(db.open());
    util::RecordingPrompter prompter;
    PeroDefsWindow window(*db.data, prompter, PeroDefsWindow::Mode::Management);
    QPushButton *print = nullptr;
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("Печат"))
            print = b;
    ASSERT_NE(print, nullptr);
    ASSERT_TRUE(print->isEnabled());

    // "Не" in the setup window: nothing is shown.
    QString setupCaption;
    test::onModal<OutputSetupDialog>([&](OutputSetupDialog *d) {
        setupCaption = d->windowTitle();
        d->reject();
    });
    print->click();
    EXPECT_EQ(setupCaption, QStringLiteral("Настройки за печата"));

    // "   Да  " on the screen: the preview holds the list.
    int pagesShown = 0;
    QString previewCaption, firstRow;
    test::onModal<OutputSetupDialog>([&](OutputSetupDialog *d) {
        test::onModal<PreviewWindow>([&](PreviewWindow *p) {
            pagesShown = p->pageCount();
            previewCaption = p->windowTitle();
            for (const auto &op : p->document().pages[0].ops)
                if (op.text.startsWith(QStringLiteral("Списък")))
                    firstRow = op.text;
            p->close();
        });
        d->screenButton()->setChecked(true);
        d->accept();
    });
    print->click();
    EXPECT_EQ(pagesShown, 1);
    EXPECT_TRUE(previewCaption.startsWith(QStringLiteral("Преглед на печата"))) << previewCaption.toStdString();
    EXPECT_TRUE(firstRow.startsWith(QStringLiteral("Списък на дефинираните пера за"))) << firstRow.toStdString();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(u'|').toStdString();
}

TEST(Preview, ScrollingPastAPageEndShowsTheNextOrPreviousPage)
{
    test::application();
    PreviewWindow preview(pages(2));
    preview.resize(500, 400);
    preview.show();
    preview.setZoom(100);
    QScrollBar *bar = preview.scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    preview.scrollArea()->setFocus();
    QTest::keyClick(preview.scrollArea(), Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(preview.scrollArea(), Qt::Key_PageDown);
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(preview.scrollArea(), Qt::Key_Up);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(bar->value(), bar->maximum());
    // Left and Right without Ctrl leave the view where it is.
    const int h = preview.scrollArea()->horizontalScrollBar()->value();
    QTest::keyClick(preview.scrollArea(), Qt::Key_Right);
    EXPECT_EQ(preview.scrollArea()->horizontalScrollBar()->value(), h);

    auto wheel = [&](int notches) {
        QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(preview.scrollArea()->viewport(), &e);
    };
    // Down at the bottom of page 1: a few notches, then page 2 at its top.
    for (int i = 0; i < 10 && preview.currentPage() == 1; ++i)
        wheel(-1);
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(bar->value(), 0);
    for (int i = 0; i < 10; ++i)
        wheel(-1);
    EXPECT_EQ(preview.currentPage(), 2); // the last page stays
    bar->setValue(0);
    wheel(1);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(bar->value(), std::max(0, bar->maximum() / 2 - 70));
}

TEST(ReportWindows, ThePayslipButtonsOfTheItemPagePrintTheShownEmployee)
{
    test::application();
    test::TestDatabase db;
    ASSERT_TRUE(db.open());
    storage::DataModule &d = *db.data;
    for (int id : {1, 2})
        d.insertRow(d.table(u"PERSONS"),
                    QStringLiteral("(PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN,PERSON_ACT,PERSON_KALENDAR,PERSON_SYSZ,"
                                   "PERSON_NOS,PERSON_NOSN)"),
                    {id, 10 + id, QStringLiteral("Служител %1").arg(id), QStringLiteral("750101000%1").arg(id), 1, 1, 1,
                     QStringLiteral("01"), 1});
    for (const auto &[id, person, code, type] : {std::tuple{1, 2, 1000, 100}, {2, 2, 2000, 200}, {3, 2, 2010, 201}})
        d.insertRow(d.table(u"PERA"), QStringLiteral("(PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE)"), {id, person, code, type});
    d.commitRetaining();
    util::RecordingPrompter prompter;
    items::ItemEntry entry(d);
    const std::vector<items::Definition> definitions = items::loadDefinitions(d);
    ItemsPage page(d, prompter, entry, definitions);
    page.showEmployee(2, 1);

    for (const QString &caption : {QStringLiteral("Печат на фиш тип 1"), QStringLiteral("Печат на фиш тип 2")}) {
        SCOPED_TRACE(caption.toStdString());
        QPushButton *button = nullptr;
        for (QPushButton *b : page.findChildren<QPushButton *>())
            if (b->text() == caption)
                button = b;
        ASSERT_NE(button, nullptr);
        bool inPopup = false;
        for (QAction *a : page.popup()->actions())
            inPopup = inPopup || (a->text() == caption && a->isEnabled());
        EXPECT_TRUE(inPopup);

        // No range dialog: the setup window comes first, then the preview of employee 12 alone.
        QStringList egns;
        test::onModal<OutputSetupDialog>([&](OutputSetupDialog *setup) {
            test::onModal<PreviewWindow>([&](PreviewWindow *p) {
                for (const auto &pg : p->document().pages)
                    for (const auto &op : pg.ops)
                        if (op.text.startsWith(QStringLiteral("ЕГН: ")))
                            egns << op.text;
                p->close();
            });
            setup->screenButton()->setChecked(true);
            setup->accept();
        });
        button->click();
        EXPECT_EQ(egns, QStringList{QStringLiteral("ЕГН: 7501010002")});
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(u'|').toStdString();
    }
}

TEST(ReportWindows, TheListByItemAsksTheItemThenShowsItsList)
{
    test::application();
    test::TestDatabase db;
    ASSERT_TRUE(db.open());
    items::addDefinition(*db.data, items::makeDefinition(130, 30, QStringLiteral("Премия"), QStringLiteral("1")));
    db.data->commitRetaining();
    util::RecordingPrompter prompter;

    // "Отказ" in the item dialog: no output setup follows.
    test::onModal<CasePeroDialog>([](CasePeroDialog *d) { d->reject(); });
    app::startReport(nullptr, *db.data, prompter, reports::ReportKind::ItemList);

    QString caption, heading;
    test::onModal<CasePeroDialog>([&](CasePeroDialog *d) {
        caption = d->windowTitle();
        test::onModal<OutputSetupDialog>([&](OutputSetupDialog *s) {
            test::onModal<PreviewWindow>([&](PreviewWindow *p) {
                for (const auto &op : p->document().pages[0].ops)
                    if (op.text.startsWith(QStringLiteral("130 ")))
                        heading = op.text;
                p->close();
            });
            s->screenButton()->setChecked(true);
            s->accept();
        });
        d->codeEdit()->setText(QStringLiteral("130"));
        d->okButton()->click();
    });
    app::startReport(nullptr, *db.data, prompter, reports::ReportKind::ItemList);
    EXPECT_EQ(caption, QStringLiteral("Избор на перо"));
    EXPECT_EQ(heading, QStringLiteral("130 Премия"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(u'|').toStdString();
}
