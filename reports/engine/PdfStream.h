#pragma once

#include "reports/engine/Document.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace plavex::reports {

// A PDF written while its document is still being made: the pages handed
// over as they are finished are painted on a thread of their own, so a
// long run makes its pages and writes them at the same time. finish() takes
// the rest and commits the file; destroyed without finish(), it writes
// nothing (an older file stays). The file is the one writePdf() makes.
class PdfStream {
public:
    explicit PdfStream(const QString &path);
    ~PdfStream();
    PdfStream(const PdfStream &) = delete;
    PdfStream &operator=(const PdfStream &) = delete;

    // The first `count` pages of the document are finished: nothing more is
    // drawn on them. A page waiting for the page count (and every page after
    // it) is kept for finish(). Waits while the writer is far behind.
    void pagesFinished(const Document &document, int count);
    // The finished document: its remaining pages are written and the file
    // committed. False with the reason in `error` when it cannot be written.
    bool finish(const Document &document, QString *error = nullptr);

private:
    struct Job {
        Page page;
        std::vector<QByteArray> images; // added to the document since the last page
    };
    void start(const Document &document);
    void hand(const Document &document, int index);
    void write(); // the writer's thread
    void stop(bool abandon);

    QString path_;
    Document setup_; // the title and page setup, no pages
    int handed_ = 0;
    size_t imagesHanded_ = 0;
    bool held_ = false;   // a page waits for the page count
    bool broken_ = false; // the pages were begun again: the file is written whole at the end
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool closing_ = false;
    bool abandoned_ = false;
    bool failed_ = false;
    QString error_;
};

} // namespace plavex::reports
