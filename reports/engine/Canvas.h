#pragma once

#include "reports/engine/Document.h"

#include <QImage>
#include <QMarginsF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace plavex::reports {

// Which sides of a tab cell get a line.
enum BoxLine : quint8 { BoxNone = 0, BoxLeft = 1, BoxRight = 2, BoxTop = 4, BoxBottom = 8, BoxAll = 15 };

struct TabStop {
    double left = 0;  // cm from the paper's left edge
    double width = 0; // cm
    Justify justify = Justify::Left;
    double margin = 0; // inner margin, percent of the font height
    quint8 boxes = BoxNone;
    int shade = 0; // percent of black
};

// One cell's own line widths (cm, 0 = no line) and shade, instead of its stop's.
struct CellOverride {
    double left = 0, right = 0, top = 0, bottom = 0;
    int shade = 0;
};

// Writes pages into a Document through the operations every report uses:
// page settings, a cursor with lines, fonts, text with tab stops, drawing,
// page numbers. The cursor's Y is the top of the current line; a line's text
// sits centred in the line height.
class Canvas {
public:
    explicit Canvas(Document &document);

    // Page settings (before begin()).
    void setOrientation(Orientation orientation) { doc_.setup.orientation = orientation; }
    Orientation orientation() const { return doc_.setup.orientation; }
    void setMargins(double left, double top, double right, double bottom);
    double marginLeft() const { return doc_.setup.marginLeft; }
    double marginTop() const { return doc_.setup.marginTop; }
    double marginRight() const { return doc_.setup.marginRight; }
    double marginBottom() const { return doc_.setup.marginBottom; }
    void setCopies(int copies) { doc_.setup.copies = copies; }
    void setZoom(int percent) { doc_.setup.zoom = percent; }
    // The printer's unprintable margins; zero without a printer.
    void setPrinterMargins(const QMarginsF &cm) { printerMargins_ = cm; }
    QMarginsF printerMargins() const { return printerMargins_; }
    void raiseMarginsToPrinter(); // each margin at least the printer's
    double pageWidth() const { return doc_.setup.width(); }
    double pageHeight() const { return doc_.setup.height(); }

    // Called at the top of every page, the first included.
    std::function<void(Canvas &)> onNewPage;
    void begin(); // the first page
    void finish(); // page totals completed
    void newPage();
    int pageNumber() const { return doc_.pageCount(); }
    const Document &document() const { return doc_; }
    QString pageNumberText() const { return QString::number(pageNumber()); }
    static QString totalPagesText() { return QString(kTotalPagesMark); }

    // Cursor.
    double xPos() const { return x_; }
    double yPos() const { return y_; }
    void setXPos(double x) { x_ = x; }
    void setYPos(double y) { y_ = y; }
    void gotoXY(double x, double y) { x_ = x; y_ = y; }
    double lineHeight() const;
    void setLineHeight(double cm) { lineHeight_ = cm; } // 0: from the font
    int linesLeft() const; // whole lines between the cursor and the bottom margin
    void newLine();        // the next line at the left margin, first tab stop
    double baseline() const; // of the current line

    // Fonts.
    const Font &font() const { return font_; }
    void setFont(const Font &font) { font_ = font; }
    void setFontSize(double points) { font_.size = points; }
    void setBold(bool on) { font_.bold = on; }
    void setItalic(bool on) { font_.italic = on; }
    void setFontColor(QRgb color) { font_.color = color; }
    double textWidth(const QString &text) const;

    // Text. A tab character moves to the next tab stop; the text after it is
    // placed in that cell as the stop justifies it.
    void print(const QString &text);
    void println(const QString &text);
    void printCenter(const QString &text, double x); // centred on x
    void printRight(const QString &text, double x);  // right end at x
    // Text at an explicit baseline, justified on x.
    void textAt(const QString &text, double x, double baseline, Justify justify = Justify::Left);

    // Tab stops.
    void clearTabs() { tabs_.clear(); tabIndex_ = 0; }
    // A negative left places the stop right after the previous one.
    void setTab(double left, Justify justify, double width, double marginPercent = 0, quint8 boxes = BoxNone,
                int shade = 0);
    const std::vector<TabStop> &tabs() const { return tabs_; }
    void tab(const std::optional<CellOverride> &cell = std::nullopt); // to the next stop, drawing its cell
    double boxLineWidth = 0.02;

    // Drawing.
    void setPen(const Pen &pen) { pen_ = pen; }
    const Pen &pen() const { return pen_; }
    void setBrush(const Brush &brush) { brush_ = brush; }
    void moveTo(double x, double y) { penX_ = x; penY_ = y; }
    void lineTo(double x, double y);
    void line(double x1, double y1, double x2, double y2);
    void rectangle(double x1, double y1, double x2, double y2); // outline in the pen, filled by the brush
    void fillRect(double x1, double y1, double x2, double y2, QRgb color);
    void stretchDraw(const QRectF &cm, const QImage &image);

    Document &document() { return doc_; }

private:
    Page &page();
    void cell(const TabStop &stop, const CellOverride &lines);
    void printSegment(const QString &text);

    Document &doc_;
    QMarginsF printerMargins_;
    Font font_;
    Pen pen_;
    Brush brush_;
    double x_ = 0, y_ = 0;
    double penX_ = 0, penY_ = 0;
    double lineHeight_ = 0;
    std::vector<TabStop> tabs_;
    int tabIndex_ = 0;
    std::optional<TabStop> openCell_; // the cell the next text goes into
    bool inPageEvent_ = false;
};

// Shade percent as the grey it fills with.
QRgb shadeColor(int percent);

} // namespace plavex::reports
