#include "reports/engine/Canvas.h"

#include "reports/engine/FontMetrics.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>

namespace plavex::reports {

namespace {
// A line that ends a hair below the margin still fits.
constexpr double kEpsilon = 1e-6;
} // namespace

QRgb shadeColor(int percent)
{
    const int level = std::clamp(255 - percent * 255 / 100, 0, 255);
    return qRgb(level, level, level);
}

Canvas::Canvas(Document &document) : doc_(document) {}

void Canvas::setMargins(double left, double top, double right, double bottom)
{
    doc_.setup.marginLeft = left;
    doc_.setup.marginTop = top;
    doc_.setup.marginRight = right;
    doc_.setup.marginBottom = bottom;
}

void Canvas::raiseMarginsToPrinter()
{
    auto &s = doc_.setup;
    s.marginLeft = std::max(s.marginLeft, printerMargins_.left());
    s.marginTop = std::max(s.marginTop, printerMargins_.top());
    s.marginRight = std::max(s.marginRight, printerMargins_.right());
    s.marginBottom = std::max(s.marginBottom, printerMargins_.bottom());
}

void Canvas::begin()
{
    doc_.pages.clear();
    doc_.finished = false;
    newPage();
}

void Canvas::finish() { finishDocument(doc_); }

void Canvas::newPage()
{
    doc_.pages.emplace_back();
    x_ = marginLeft();
    y_ = marginTop();
    tabIndex_ = 0;
    openCell_.reset();
    // A header that fills the page must not start another one from inside.
    if (onNewPage && !inPageEvent_) {
        inPageEvent_ = true;
        onNewPage(*this);
        inPageEvent_ = false;
    }
}

Page &Canvas::page()
{
    if (doc_.pages.empty())
        doc_.pages.emplace_back();
    return doc_.pages.back();
}

double Canvas::lineHeight() const
{
    return lineHeight_ > 0 ? lineHeight_ : font_.size * 1.2 / 72.0 * 2.54;
}

int Canvas::linesLeft() const
{
    const double room = pageHeight() - marginBottom() - y_;
    return std::max(0, static_cast<int>(std::floor(room / lineHeight() + kEpsilon)));
}

void Canvas::newLine()
{
    y_ += lineHeight();
    x_ = marginLeft();
    tabIndex_ = 0;
    openCell_.reset();
}

double Canvas::baseline() const
{
    const double a = FontMetrics::ascent(font_);
    const double d = FontMetrics::descent(font_);
    return y_ + (lineHeight() - a - d) / 2 + a;
}

double Canvas::textWidth(const QString &text) const { return FontMetrics::width(font_, text); }

void Canvas::textAt(const QString &text, double x, double baselineY, Justify justify)
{
    if (text.isEmpty())
        return;
    Op op;
    op.kind = Op::Kind::Text;
    op.text = text;
    op.font = font_;
    op.align = justify;
    op.anchor = x;
    const double w = FontMetrics::width(font_, text);
    op.x = justify == Justify::Left ? x : justify == Justify::Right ? x - w : x - w / 2;
    op.y = baselineY;
    page().ops.push_back(std::move(op));
}

void Canvas::printSegment(const QString &text)
{
    if (openCell_) {
        const TabStop &c = *openCell_;
        const double m = c.margin / 100.0 * FontMetrics::height(font_);
        switch (c.justify) {
        case Justify::Left:
            textAt(text, c.left + m, baseline(), Justify::Left);
            break;
        case Justify::Right:
            textAt(text, c.left + c.width - m, baseline(), Justify::Right);
            break;
        case Justify::Center:
            textAt(text, c.left + c.width / 2, baseline(), Justify::Center);
            break;
        }
        x_ = c.left + c.width;
        openCell_.reset();
        return;
    }
    textAt(text, x_, baseline(), Justify::Left);
    x_ += FontMetrics::width(font_, text);
}

void Canvas::print(const QString &text)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype t = text.indexOf(QLatin1Char('\t'), start);
        const QString part = text.mid(start, t < 0 ? -1 : t - start);
        if (!part.isEmpty())
            printSegment(part);
        if (t < 0)
            break;
        tab();
        start = t + 1;
    }
}

void Canvas::println(const QString &text)
{
    print(text);
    newLine();
}

void Canvas::printCenter(const QString &text, double x) { textAt(text, x, baseline(), Justify::Center); }

void Canvas::printRight(const QString &text, double x) { textAt(text, x, baseline(), Justify::Right); }

void Canvas::setTab(double left, Justify justify, double width, double marginPercent, quint8 boxes, int shade)
{
    TabStop s;
    s.left = left >= 0 ? left : tabs_.empty() ? marginLeft() : tabs_.back().left + tabs_.back().width;
    s.width = width;
    s.justify = justify;
    s.margin = marginPercent;
    s.boxes = boxes;
    s.shade = shade;
    tabs_.push_back(s);
}

void Canvas::tab(const std::optional<CellOverride> &override)
{
    if (tabIndex_ >= static_cast<int>(tabs_.size())) {
        // Past the last stop the text simply goes on.
        openCell_.reset();
        return;
    }
    const TabStop &stop = tabs_[static_cast<size_t>(tabIndex_++)];
    CellOverride lines;
    if (override) {
        lines = *override;
    } else {
        const double w = boxLineWidth;
        lines = {stop.boxes & BoxLeft ? w : 0, stop.boxes & BoxRight ? w : 0, stop.boxes & BoxTop ? w : 0,
                 stop.boxes & BoxBottom ? w : 0, stop.shade};
    }
    cell(stop, lines);
    x_ = stop.left;
    openCell_ = stop;
}

void Canvas::cell(const TabStop &stop, const CellOverride &lines)
{
    const double x1 = stop.left, x2 = stop.left + stop.width;
    const double y1 = y_, y2 = y_ + lineHeight();
    if (lines.shade > 0)
        fillRect(x1, y1, x2, y2, shadeColor(lines.shade));
    const Pen saved = pen_;
    // A whole box is one outline: a quarter of the operations of a table.
    if (lines.left > 0 && lines.left == lines.right && lines.left == lines.top && lines.left == lines.bottom) {
        const Brush brush = brush_;
        pen_ = Pen{0xff000000, 1, lines.left};
        brush_ = Brush{};
        rectangle(x1, y1, x2, y2);
        pen_ = saved;
        brush_ = brush;
        return;
    }
    auto edge = [&](double width, double ax, double ay, double bx, double by) {
        if (width <= 0)
            return;
        pen_ = Pen{0xff000000, 1, width};
        line(ax, ay, bx, by);
    };
    edge(lines.left, x1, y1, x1, y2);
    edge(lines.right, x2, y1, x2, y2);
    edge(lines.top, x1, y1, x2, y1);
    edge(lines.bottom, x1, y2, x2, y2);
    pen_ = saved;
}

void Canvas::lineTo(double x, double y)
{
    line(penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
}

void Canvas::line(double x1, double y1, double x2, double y2)
{
    Op op;
    op.kind = Op::Kind::Line;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = pen_;
    page().ops.push_back(std::move(op));
}

void Canvas::rectangle(double x1, double y1, double x2, double y2)
{
    Op op;
    op.kind = Op::Kind::Rect;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = pen_;
    op.brush = brush_;
    page().ops.push_back(std::move(op));
}

void Canvas::fillRect(double x1, double y1, double x2, double y2, QRgb color)
{
    Op op;
    op.kind = Op::Kind::FillRect;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.brush = Brush{color, 1};
    page().ops.push_back(std::move(op));
}

void Canvas::stretchDraw(const QRectF &cm, const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    // A picture printed on every page is kept once.
    auto found = std::find(doc_.images.begin(), doc_.images.end(), png);
    const int index = found != doc_.images.end() ? static_cast<int>(found - doc_.images.begin())
                                                 : (doc_.images.push_back(png), static_cast<int>(doc_.images.size()) - 1);
    Op op;
    op.kind = Op::Kind::Image;
    op.x = cm.left();
    op.y = cm.top();
    op.x2 = cm.right();
    op.y2 = cm.bottom();
    op.image = index;
    page().ops.push_back(std::move(op));
}

} // namespace plavex::reports
