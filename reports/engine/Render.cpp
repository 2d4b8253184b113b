#include "reports/engine/Render.h"

#include "reports/engine/FontMetrics.h"
#include "util/FileError.h"

#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <map>
#include <optional>

namespace plavex::reports {

namespace {

QFont qtFont(const Font &f)
{
    QFont font(faceName());
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false); // as the measures take it
    // One face covers every letter of a document; plain Cyrillic and Latin
    // need no shaping, which is most of the cost of a text on a PDF page.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
    return font;
}

} // namespace

void paintPage(QPainter &p, const Document &doc, int index, double dpi, QPointF offsetCm)
{
    if (index < 0 || index >= doc.pageCount())
        return;
    const double k = dpi / 2.54;
    const QPointF origin = -offsetCm * k;
    auto pt = [&](double x, double y) { return origin + QPointF(x * k, y * k); };
    auto rect = [&](const Op &op) { return QRectF(pt(op.x, op.y), pt(op.x2, op.y2)).normalized(); };
    // Fonts and pens repeat from op to op; switching only on a change keeps
    // table-heavy pages cheap.
    Font font;
    Pen pen;
    bool fontSet = false, penSet = false;
    std::map<int, QImage> images;
    // Raster operations exist on images only.
    const bool raster = p.device() && p.device()->devType() == QInternal::Image;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Op &op : doc.pages[static_cast<size_t>(index)].ops) {
        switch (op.kind) {
        case Op::Kind::Text:
            if (raster)
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (!fontSet || !(font == op.font)) {
                font = op.font;
                fontSet = true;
                p.setFont(qtFont(op.font));
                p.setPen(QColor::fromRgba(op.font.color));
                penSet = false;
            }
            p.drawText(pt(op.x, op.y), op.text);
            break;
        case Op::Kind::Line:
        case Op::Kind::Rect:
            if (!penSet || !(pen == op.pen)) {
                pen = op.pen;
                penSet = true;
                QPen qp(QColor::fromRgba(op.pen.color), std::max(op.pen.width * k, 0.5),
                        static_cast<Qt::PenStyle>(op.pen.style));
                qp.setCapStyle(Qt::SquareCap);
                p.setPen(qp);
                if (raster)
                    p.setCompositionMode(op.pen.mode == PenMode::Xor       ? QPainter::RasterOp_SourceXorDestination
                                         : op.pen.mode == PenMode::NotCopy ? QPainter::RasterOp_NotSource
                                                                           : QPainter::CompositionMode_SourceOver);
                fontSet = false;
            }
            if (op.kind == Op::Kind::Line) {
                p.drawLine(pt(op.x, op.y), pt(op.x2, op.y2));
            } else {
                p.setBrush(QBrush(QColor::fromRgba(op.brush.color), static_cast<Qt::BrushStyle>(op.brush.style)));
                p.drawRect(rect(op));
            }
            break;
        case Op::Kind::FillRect:
            if (raster)
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.fillRect(rect(op), QColor::fromRgba(op.brush.color));
            break;
        case Op::Kind::Image:
            if (op.image >= 0 && op.image < static_cast<int>(doc.images.size())) {
                auto it = images.find(op.image);
                if (it == images.end())
                    it = images.emplace(op.image, QImage::fromData(doc.images[static_cast<size_t>(op.image)], "PNG")).first;
                p.drawImage(rect(op), it->second);
            }
            break;
        }
    }
    p.restore();
}

QImage pageImage(const Document &doc, int page, double dpi)
{
    const QSize size(qRound(doc.setup.width() / 2.54 * dpi), qRound(doc.setup.height() / 2.54 * dpi));
    QImage image(size, QImage::Format_RGB32);
    const int dpm = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter p(&image);
    paintPage(p, doc, page, dpi);
    return image;
}

QPointF paperOffset(const QPagedPaintDevice &device)
{
    // The printer's origin may sit at its printable area, not the paper's corner.
    const QRectF paint = device.pageLayout().paintRect(QPageLayout::Millimeter);
    return QPointF(paint.left() / 10.0, paint.top() / 10.0);
}

void setUpPdf(QPdfWriter &pdf, const Document &doc)
{
    pdf.setTitle(doc.title);
    pdf.setCreator(QStringLiteral("Plavex"));
    pdf.setResolution(1200);
    const QPageSize size(QSizeF(doc.setup.paperWidth * 10, doc.setup.paperHeight * 10), QPageSize::Millimeter);
    pdf.setPageLayout(QPageLayout(size, doc.setup.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void paintPages(QPagedPaintDevice &device, const Document &doc, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, doc.pageCount());
    QPainter p(&device);
    const double dpi = device.logicalDpiX();
    const QPointF offset = paperOffset(device);
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        paintPage(p, doc, i - 1, dpi, offset);
    }
}

bool writePdf(const Document &doc, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = util::fileErrorText(file);
        return false;
    }
    {
        QPdfWriter pdf(&file);
        setUpPdf(pdf, doc);
        if (doc.pageCount() == 0) {
            // An empty selection still gives a readable (blank) document.
            QPainter p(&pdf);
        } else {
            paintPages(pdf, doc, 1, doc.pageCount());
        }
    }
    if (!file.commit()) {
        if (error)
            *error = util::fileErrorText(file);
        return false;
    }
    return true;
}

} // namespace plavex::reports
