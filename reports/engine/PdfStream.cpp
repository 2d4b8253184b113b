#include "reports/engine/PdfStream.h"

#include "reports/engine/Render.h"
#include "util/FileError.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace plavex::reports {

namespace {

// Pages painted but not yet written wait here; beyond this the maker waits.
constexpr size_t kMaxWaiting = 32;

bool waitsForPageCount(const Page &page)
{
    return std::any_of(page.ops.begin(), page.ops.end(),
                       [](const Op &op) { return op.kind == Op::Kind::Text && op.text.contains(kTotalPagesMark); });
}

} // namespace

PdfStream::PdfStream(const QString &path) : path_(path) {}

PdfStream::~PdfStream() { stop(true); }

void PdfStream::start(const Document &document)
{
    setup_.title = document.title;
    setup_.setup = document.setup;
    thread_ = std::thread([this] { write(); });
}

void PdfStream::hand(const Document &document, int index)
{
    Job job;
    job.page = document.pages[static_cast<size_t>(index)];
    for (; imagesHanded_ < document.images.size(); ++imagesHanded_)
        job.images.push_back(document.images[imagesHanded_]);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.size() < kMaxWaiting || failed_; });
    if (failed_)
        return; // the file could not be opened: finish() says why
    jobs_.push_back(std::move(job));
    changed_.notify_all();
}

void PdfStream::pagesFinished(const Document &document, int count)
{
    if (broken_ || held_)
        return;
    if (count < handed_) {
        broken_ = true;
        return;
    }
    for (; handed_ < count; ++handed_) {
        if (waitsForPageCount(document.pages[static_cast<size_t>(handed_)])) {
            held_ = true;
            return;
        }
        if (!thread_.joinable())
            start(document);
        hand(document, handed_);
    }
}

bool PdfStream::finish(const Document &document, QString *error)
{
    if (!thread_.joinable() || broken_ || document.pageCount() < handed_) {
        stop(true);
        return writePdf(document, path_, error);
    }
    for (; handed_ < document.pageCount(); ++handed_)
        hand(document, handed_);
    stop(false);
    if (failed_ && error)
        *error = error_;
    return !failed_;
}

void PdfStream::stop(bool abandon)
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        abandoned_ = abandon;
    }
    changed_.notify_all();
    thread_.join();
}

void PdfStream::write()
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        std::lock_guard lock(mutex_);
        failed_ = true;
        error_ = util::fileErrorText(file);
        changed_.notify_all();
        return;
    }
    bool abandoned = false;
    {
        QPdfWriter pdf(&file);
        setUpPdf(pdf, setup_);
        QPainter painter;
        Document one = setup_; // the page being painted, with every image so far
        one.pages.resize(1);
        double dpi = 0;
        QPointF offset;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !jobs_.empty() || closing_; });
                if (abandoned_ || jobs_.empty()) {
                    abandoned = abandoned_;
                    break;
                }
                job = std::move(jobs_.front());
                jobs_.pop_front();
                changed_.notify_all();
            }
            for (QByteArray &image : job.images)
                one.images.push_back(std::move(image));
            one.pages.front() = std::move(job.page);
            if (!painter.isActive()) {
                painter.begin(&pdf);
                dpi = pdf.logicalDpiX();
                offset = paperOffset(pdf);
            } else {
                pdf.newPage();
            }
            paintPage(painter, one, 0, dpi, offset);
        }
        if (painter.isActive())
            painter.end();
    }
    if (abandoned)
        return; // the save file, not committed, leaves no file and an older one as it was
    if (!file.commit()) {
        std::lock_guard lock(mutex_);
        failed_ = true;
        error_ = util::fileErrorText(file);
    }
}

} // namespace plavex::reports
