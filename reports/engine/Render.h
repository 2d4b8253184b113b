#pragma once

#include "reports/engine/Document.h"

#include <QImage>
#include <QString>

class QPainter;
class QPagedPaintDevice;
class QPdfWriter;

namespace plavex::reports {

// Paints one page onto a painter whose device has `dpi` dots per inch, the
// paper's top left corner at the device's origin (shifted by the offset,
// in cm, for a device whose origin is inside the printable area).
void paintPage(QPainter &painter, const Document &document, int page, double dpi, QPointF offsetCm = {});

// The page as an image, `dpi` dots per inch, on white.
QImage pageImage(const Document &document, int page, double dpi);

// Writes the document as PDF, the face embedded and every text kept as
// text. False with the reason in `error` when the file cannot be written.
bool writePdf(const Document &document, const QString &path, QString *error = nullptr);

// Pages one after another onto a paged device (a printer, a PDF writer)
// whose page size is already set; `first` and `last` are 1-based and
// clamped to the document.
void paintPages(QPagedPaintDevice &device, const Document &document, int first, int last);

// Where the paper's corner lies from the device's origin (cm).
QPointF paperOffset(const QPagedPaintDevice &device);
// A PDF writer set for the document: title, creator, resolution, paper.
void setUpPdf(QPdfWriter &pdf, const Document &document);

} // namespace plavex::reports
