#pragma once

#include "reports/engine/Document.h"

#include <QByteArray>
#include <QDialog>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStatusBar;
class QWidget;

namespace plavex::app {

// TfMyPreview: the pages of a run (or of an opened snapshot) on screen,
// with page moves, zoom, printing, saving and opening.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(reports::Document document, QWidget *parent = nullptr);

    int currentPage() const { return page_; } // 1-based
    int pageCount() const { return doc_.pageCount(); }
    double zoom() const { return zoom_; }
    const reports::Document &document() const { return doc_; }
    const QByteArray &stream() const { return stream_; }

    void showPage(int page);  // clamped to the pages there are
    void setZoom(double percent);
    void zoomIn();
    void zoomOut();
    void zoomToPageWidth();
    void zoomToWholePage();
    bool saveTo(const QString &path, QString *error = nullptr); // by the extension: .ndr or .pdf
    bool openFile(const QString &path, QString *error = nullptr);

    // Printing from the preview, when a printer is there.
    std::function<void(PreviewWindow &)> printer;
    // "Експорт…" of a tabular document to a spreadsheet; off until set.
    void setExporter(std::function<void(PreviewWindow &)> exporter);
    // Where "saved to ..." goes after "Запиши като"; a message box unless set.
    std::function<void(const QString &)> told;
    void save();

    QAction *action(const QString &caption) const;
    QLineEdit *pageEdit() const { return pageEdit_; }
    QLineEdit *zoomEdit() const { return zoomEdit_; }
    QLabel *countLabel() const { return count_; }
    QScrollArea *scrollArea() const { return scroll_; }
    QString statusText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *key) override;

private:
    void render();
    void pageChanged();
    bool handleKey(QKeyEvent *key);
    void scrollBy(int dy);
    void wheel(int notches);
    void open();

    reports::Document doc_;
    QByteArray stream_;
    int page_ = 1;
    double zoom_ = 100;
    int overscroll_ = 0;
    QScrollArea *scroll_;
    QLabel *image_;
    QWidget *topRuler_, *leftRuler_;
    QLineEdit *pageEdit_, *zoomEdit_;
    QLabel *count_;
    QStatusBar *status_;
    QList<QAction *> actions_;
    QAction *export_ = nullptr;
    std::function<void(PreviewWindow &)> exporter_;
};

} // namespace plavex::app
