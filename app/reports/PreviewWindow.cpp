#include "app/reports/PreviewWindow.h"

#include "reports/engine/Render.h"
#include "reports/engine/Snapshot.h"
#include "util/Separators.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QPainter>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace plavex::app {

namespace {

constexpr std::array<double, 12> kZoomSteps = {10, 25, 50, 75, 100, 125, 150, 200, 250, 300, 400, 500};
constexpr int kLineStep = 20;  // pixels per arrow key and per wheel notch
constexpr int kEdge = 45;      // how far past a page's end the wheel must go, per 100 % of zoom

// The engine's words of the status bar.
QString translated(const char *word)
{
    if (qstrcmp(word, "Page") == 0)
        return QStringLiteral("Страница");
    if (qstrcmp(word, "of") == 0)
        return QStringLiteral("от");
    return QString::fromUtf8(word);
}

// A centimetre scale along one edge of the page, following its scrolling.
class Ruler : public QWidget {
public:
    Ruler(Qt::Orientation orientation, QWidget *page, std::function<double()> pixelsPerCm, QWidget *parent)
        : QWidget(parent), orientation_(orientation), page_(page), pixelsPerCm_(std::move(pixelsPerCm))
    {
        const int thickness = fontMetrics().height() + 6;
        if (orientation == Qt::Horizontal)
            setFixedHeight(thickness);
        else
            setFixedWidth(thickness);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const QPoint origin = page_->mapTo(window(), QPoint(0, 0)) - mapTo(window(), QPoint(0, 0));
        const double k = pixelsPerCm_();
        if (k <= 0)
            return;
        const bool h = orientation_ == Qt::Horizontal;
        const int start = h ? origin.x() : origin.y();
        const int length = h ? page_->width() : page_->height();
        const int thick = h ? height() : width();
        p.setPen(palette().windowText().color());
        for (int mm = 0; mm * k / 10 <= length; mm += 5) {
            const int at = start + qRound(mm * k / 10);
            const int tick = mm % 10 == 0 ? thick / 2 : thick / 4;
            if (h)
                p.drawLine(at, thick - tick, at, thick);
            else
                p.drawLine(thick - tick, at, thick, at);
            // Every centimetre is numbered while there is room for it.
            if (mm % 10 == 0 && mm > 0 && (k >= 18 || mm % 50 == 0)) {
                const QString n = QString::number(mm / 10);
                if (h)
                    p.drawText(at + 2, fontMetrics().ascent() + 1, n);
                else
                    p.drawText(1, at - 2, n);
            }
        }
    }

private:
    Qt::Orientation orientation_;
    QWidget *page_;
    std::function<double()> pixelsPerCm_;
};

} // namespace

PreviewWindow::PreviewWindow(reports::Document document, QWidget *parent)
    : QDialog(parent), doc_(std::move(document)), stream_(reports::snapshotBytes(doc_))
{
    setObjectName(QStringLiteral("MyPreview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    auto make = [this](const QString &caption, const QKeySequence &keys, auto slot) {
        auto *a = new QAction(caption, this);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        actions_ << a;
        return a;
    };
    QAction *open = make(QStringLiteral("Отвори"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { this->open(); });
    QAction *save = make(QStringLiteral("Запиши като"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { this->save(); });
    QAction *print = make(QStringLiteral("Печат"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] {
        if (printer)
            printer(*this);
    });
    export_ = make(QStringLiteral("Експорт…"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] {
        if (exporter_)
            exporter_(*this);
    });
    export_->setEnabled(false);
    QAction *exit = make(QStringLiteral("Изход"), QKeySequence(Qt::Key_Escape), [this] { close(); });
    QAction *first = make(QStringLiteral("Първа"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(1); });
    QAction *prev = make(QStringLiteral("Предишна"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { showPage(page_ - 1); });
    QAction *next = make(QStringLiteral("Следваща"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { showPage(page_ + 1); });
    QAction *last = make(QStringLiteral("Последна"), QKeySequence(Qt::CTRL | Qt::Key_End), [this] { showPage(pageCount()); });
    QAction *go = make(QStringLiteral("Скочи на стр. #"), QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
        bool ok = false;
        const int p = QInputDialog::getInt(this, windowTitle(), QStringLiteral("Страница:"), page_, 0, 999999, 1, &ok);
        if (ok && p >= 0 && p != page_)
            showPage(p);
    });
    QAction *in = make(QStringLiteral("Приближаване (+)"), QKeySequence(Qt::Key_Plus), [this] { zoomIn(); });
    QAction *out = make(QStringLiteral("Отдалечаване (-)"), QKeySequence(Qt::Key_Minus), [this] { zoomOut(); });
    QAction *whole = make(QStringLiteral("Цял"), QKeySequence(Qt::CTRL | Qt::Key_F), [this] { zoomToWholePage(); });
    QAction *width = make(QStringLiteral("Ширина"), QKeySequence(Qt::CTRL | Qt::Key_W), [this] { zoomToPageWidth(); });
    // The toolbar is narrower than the menu: short captions there.
    const std::pair<QAction *, const char *> shortCaptions[] = {
        {save, "Запиши"}, {first, "|<"}, {prev, "<"}, {next, ">"}, {last, ">|"},
        {in, "+"},        {out, "-"},    {whole, "Цял"}, {width, "Ширина"}};
    for (const auto &[a, text] : shortCaptions) {
        a->setIconText(QString::fromUtf8(text));
        a->setToolTip(a->text());
    }
    whole->setToolTip(QStringLiteral("Цяла страница"));
    width->setToolTip(QStringLiteral("Ширина на страницата"));
    print->setEnabled(false);

    auto *menu = new QMenuBar(this);
    QMenu *file = menu->addMenu(QStringLiteral("Файл"));
    file->addActions({open, save, print, export_});
    file->addSeparator();
    file->addAction(exit);
    menu->addMenu(QStringLiteral("Страница"))->addActions({first, prev, next, last, go});
    menu->addMenu(QStringLiteral("Лупа"))->addActions({in, out, whole, width});

    auto *tools = new QToolBar(this);
    tools->addActions({open, save, print, export_});
    tools->addSeparator();
    tools->addActions({first, prev});
    tools->addWidget(new QLabel(QStringLiteral(" Стр. "), tools));
    pageEdit_ = new QLineEdit(tools);
    pageEdit_->setMaximumWidth(50);
    pageEdit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pageEdit_));
    tools->addWidget(pageEdit_);
    count_ = new QLabel(tools);
    tools->addWidget(count_);
    tools->addActions({next, last});
    tools->addSeparator();
    tools->addWidget(new QLabel(QStringLiteral(" Лупа "), tools));
    zoomEdit_ = new QLineEdit(tools);
    zoomEdit_->setMaximumWidth(60);
    zoomEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*([.,][0-9]?)?")), zoomEdit_));
    tools->addWidget(zoomEdit_);
    tools->addWidget(new QLabel(QStringLiteral("% "), tools));
    tools->addActions({in, out, whole, width});
    tools->addSeparator();
    tools->addAction(exit);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    image_ = new QLabel(scroll_);
    image_->setContextMenuPolicy(Qt::ActionsContextMenu);
    image_->addActions({in, out});
    scroll_->setWidget(image_);
    scroll_->viewport()->installEventFilter(this);
    // The scroll area would page on its own; the window's rules cross pages.
    scroll_->installEventFilter(this);
    status_ = new QStatusBar(this);
    auto scale = [this] { return logicalDpiX() * zoom_ / 100.0 / 2.54; };
    topRuler_ = new Ruler(Qt::Horizontal, image_, scale, this);
    leftRuler_ = new Ruler(Qt::Vertical, image_, scale, this);
    for (QScrollBar *bar : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            topRuler_->update();
            leftRuler_->update();
        });
    auto *pageArea = new QGridLayout;
    pageArea->setSpacing(0);
    pageArea->addWidget(topRuler_, 0, 1);
    pageArea->addWidget(leftRuler_, 1, 0);
    pageArea->addWidget(scroll_, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menu);
    layout->addWidget(tools);
    layout->addLayout(pageArea, 1);
    layout->addWidget(status_);

    auto apply = [this](QLineEdit *edit, auto use) {
        connect(edit, &QLineEdit::editingFinished, this, [edit, use] {
            use(edit->text());
            edit->selectAll();
        });
    };
    apply(pageEdit_, [this](const QString &t) {
        bool ok = false;
        const int p = t.toInt(&ok);
        if (ok && p != page_)
            showPage(p);
    });
    apply(zoomEdit_, [this](const QString &t) {
        bool ok = false;
        const double z = QString(t).replace(u',', u'.').toDouble(&ok);
        if (ok && z > 0 && qAbs(z - zoom_) > 0.05)
            setZoom(z);
    });
    for (QObject *o : {static_cast<QObject *>(pageEdit_), static_cast<QObject *>(zoomEdit_)})
        o->installEventFilter(this);
    resize(900, 700);
    // The page, not the page number, takes the keys when the window opens.
    scroll_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(scroll_);
    scroll_->setFocus();
    zoom_ = doc_.setup.zoom;
    pageChanged();
    render();
}

QAction *PreviewWindow::action(const QString &caption) const
{
    for (QAction *a : actions_)
        if (a->text() == caption)
            return a;
    return nullptr;
}

QString PreviewWindow::statusText() const
{
    return translated("Page") + QLatin1Char(' ') + QString::number(page_) + QLatin1Char(' ') + translated("of") +
           QLatin1Char(' ') + QString::number(pageCount());
}

void PreviewWindow::showPage(int page)
{
    page_ = std::clamp(page, 1, std::max(1, pageCount()));
    overscroll_ = 0;
    pageChanged();
    render();
}

void PreviewWindow::pageChanged()
{
    pageEdit_->setText(QString::number(page_));
    count_->setText(QStringLiteral("от") + QLatin1Char(' ') + QString::number(pageCount()));
    count_->setFixedWidth(count_->fontMetrics().horizontalAdvance(count_->text()) + 8);
    status_->showMessage(statusText());
    action(QStringLiteral("Първа"))->setEnabled(page_ > 1);
    action(QStringLiteral("Предишна"))->setEnabled(page_ > 1);
    action(QStringLiteral("Следваща"))->setEnabled(page_ < pageCount());
    action(QStringLiteral("Последна"))->setEnabled(page_ < pageCount());
    if (QAction *p = action(QStringLiteral("Печат")))
        p->setEnabled(static_cast<bool>(printer) && pageCount() > 0);
}

void PreviewWindow::setZoom(double percent)
{
    zoom_ = std::clamp(percent, 5.0, 800.0);
    zoomEdit_->setText(QString::number(zoom_, 'f', 1).replace(u'.', util::Separators::current().decimal));
    render();
}

void PreviewWindow::zoomIn()
{
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_ + 0.05);
    setZoom(next == kZoomSteps.end() ? kZoomSteps.back() : *next);
}

void PreviewWindow::zoomOut()
{
    auto it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_ - 0.05);
    setZoom(it == kZoomSteps.begin() ? kZoomSteps.front() : *(it - 1));
}

void PreviewWindow::zoomToPageWidth()
{
    const double paper = doc_.setup.width() / 2.54 * logicalDpiX();
    const int room = scroll_->viewport()->width() - 24;
    setZoom(room > 0 ? room / paper * 100 : 100);
}

void PreviewWindow::zoomToWholePage()
{
    const double w = doc_.setup.width() / 2.54 * logicalDpiX();
    const double h = doc_.setup.height() / 2.54 * logicalDpiY();
    const int rw = scroll_->viewport()->width() - 24, rh = scroll_->viewport()->height() - 24;
    setZoom(rw > 0 && rh > 0 ? std::min(rw / w, rh / h) * 100 : 100);
}

void PreviewWindow::render()
{
    zoomEdit_->setText(QString::number(zoom_, 'f', 1).replace(u'.', util::Separators::current().decimal));
    if (pageCount() == 0) {
        image_->setPixmap({});
        image_->resize(1, 1);
        return;
    }
    const QImage page = reports::pageImage(doc_, page_ - 1, logicalDpiX() * zoom_ / 100.0);
    image_->setPixmap(QPixmap::fromImage(page));
    image_->resize(page.size());
    topRuler_->update();
    leftRuler_->update();
}

bool PreviewWindow::event(QEvent *e)
{
    // Back in the window, the page fills its width again.
    if (e->type() == QEvent::WindowActivate)
        zoomToPageWidth();
    return QDialog::event(e);
}

void PreviewWindow::scrollBy(int dy)
{
    QScrollBar *bar = scroll_->verticalScrollBar();
    const int target = bar->value() + dy;
    if (target < bar->minimum() && bar->value() == bar->minimum() && page_ > 1) {
        showPage(page_ - 1);
        bar->setValue(bar->maximum());
    } else if (target > bar->maximum() && bar->value() == bar->maximum() && page_ < pageCount()) {
        showPage(page_ + 1);
        bar->setValue(bar->minimum());
    } else {
        bar->setValue(target);
    }
}

void PreviewWindow::wheel(int notches)
{
    QScrollBar *bar = scroll_->verticalScrollBar();
    const int dy = -notches * kLineStep;
    if (dy > 0 && bar->value() >= bar->maximum()) {
        overscroll_ += dy;
        if (overscroll_ > kEdge * zoom_ / 100 && page_ < pageCount()) {
            showPage(page_ + 1);
            bar->setValue(bar->minimum());
        }
        return;
    }
    if (dy < 0 && bar->value() <= bar->minimum()) {
        if (page_ > 1) {
            showPage(page_ - 1);
            bar->setValue(std::max(bar->minimum(), bar->maximum() / 2 - 70));
        }
        return;
    }
    overscroll_ = 0;
    bar->setValue(bar->value() + dy);
}

bool PreviewWindow::handleKey(QKeyEvent *key)
{
    const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool plain = mods == Qt::NoModifier || mods == Qt::ControlModifier;
    QScrollBar *v = scroll_->verticalScrollBar();
    QScrollBar *h = scroll_->horizontalScrollBar();
    switch (key->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!plain)
            return true;
        scrollBy(key->key() == Qt::Key_PageUp ? -scroll_->viewport()->height() : scroll_->viewport()->height());
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (plain)
            scrollBy(key->key() == Qt::Key_Up ? -kLineStep : kLineStep);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (plain)
            v->setValue(key->key() == Qt::Key_Home ? v->minimum() : v->maximum());
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int sign = key->key() == Qt::Key_Left ? -1 : 1;
        if (mods == Qt::ControlModifier)
            h->setValue(h->value() + sign * kLineStep);
        else if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
            h->setValue(h->value() + sign * scroll_->viewport()->width());
        return true; // without Ctrl nothing happens
    }
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
        return false;
    default:
        break;
    }
    const QString t = key->text();
    if (t.isEmpty())
        return false; // modifiers alone, and the shortcuts
    if (mods & Qt::ControlModifier)
        return false;
    const QChar c = t.at(0).toLower();
    if (c == u'x') close();
    else if (c == u'b') showPage(1);
    else if (c == u'e') showPage(pageCount());
    else if (c == u'f') zoomToWholePage();
    else if (c == u'w') zoomToPageWidth();
    else if (c == u'n') showPage(page_ + 1);
    else if (c == u'p') showPage(page_ - 1);
    else if (c == u'+') zoomIn();
    else if (c == u'-') zoomOut();
    else if (c.isDigit() || c == u'.' || c == u',')
        return false; // typed into an edit
    return true;
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched == scroll_->viewport()) {
        auto *w = static_cast<QWheelEvent *>(event);
        wheel(w->angleDelta().y() / 120);
        return true;
    }
    // The page and zoom fields would take Ctrl+Home and Ctrl+End for their
    // cursor: the window's page keys win while they have the focus.
    if (event->type() == QEvent::ShortcutOverride && (watched == pageEdit_ || watched == zoomEdit_)) {
        auto *k = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(k->keyCombination());
        for (const QAction *a : actions_) {
            if (!a->shortcut().isEmpty() && a->shortcut() == pressed && (k->modifiers() & Qt::ControlModifier)) {
                event->ignore();
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        // The page number has no decimals.
        if (watched == pageEdit_ && k->text() == QLatin1String("."))
            return true;
        return handleKey(k);
    }
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::keyPressEvent(QKeyEvent *key)
{
    if (!handleKey(key))
        QDialog::keyPressEvent(key);
}

bool PreviewWindow::saveTo(const QString &path, QString *error)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool pdf = QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    const bool ok = pdf ? reports::writePdf(doc_, path, error) : reports::writeSnapshot(stream_, path, error);
    QApplication::restoreOverrideCursor();
    return ok;
}

bool PreviewWindow::openFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Файлът %1 не може да бъде отворен.").arg(QFileInfo(path).fileName());
        return false;
    }
    const QByteArray bytes = file.readAll();
    auto doc = reports::documentFromSnapshot(bytes, error);
    if (!doc)
        return false;
    doc_ = std::move(*doc);
    stream_ = bytes;
    setWindowTitle(QApplication::applicationDisplayName() + QStringLiteral(" - [ ") + path + QStringLiteral(" ]"));
    showPage(1);
    return true;
}

void PreviewWindow::save()
{
    const QString filter = QStringLiteral("Запис на отчет (*.ndr);;PDF документ (*.pdf)");
    QString chosen;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Запиши като"), QString(), filter, &chosen);
    if (path.isEmpty())
        return;
    if (!path.contains(QLatin1Char('.')))
        path += chosen.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf") : QStringLiteral(".ndr");
    QString error;
    if (!saveTo(path, &error)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Файлът не е записан: %1").arg(error));
        return;
    }
    const QString text =
        QStringLiteral("Отчетът е записан във файла\n%1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    if (told)
        told(text);
    else
        QMessageBox::information(this, windowTitle(), text);
}

void PreviewWindow::open()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Отвори"), QString(),
                                                      QStringLiteral("Запис на отчет (*.ndr);;Всички файлове (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!openFile(path, &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void PreviewWindow::setExporter(std::function<void(PreviewWindow &)> exporter)
{
    exporter_ = std::move(exporter);
    export_->setEnabled(static_cast<bool>(exporter_));
}

} // namespace plavex::app
