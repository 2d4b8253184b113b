#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <vector>

namespace plavex::reports {

// Every position and size of a document is in centimetres from the top left
// corner of the paper; font sizes are in points.

enum class Orientation : quint8 { Portrait, Landscape };
enum class Justify : quint8 { Left, Center, Right };

struct Font {
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    QRgb color = 0xff000000;

    friend bool operator==(const Font &, const Font &) = default;
};

// Qt's pen and brush styles by number, so that the page model needs no
// painting types.
enum class PenMode : quint8 { Copy, Xor, NotCopy };

struct Pen {
    QRgb color = 0xff000000;
    quint8 style = 1; // Qt::SolidLine
    double width = 0.02;
    // Xor and NotCopy show on screen; a PDF or a printer draws every line as Copy.
    PenMode mode = PenMode::Copy;
    friend bool operator==(const Pen &, const Pen &) = default;
};

struct Brush {
    QRgb color = 0xffffffff;
    quint8 style = 0; // Qt::NoBrush
    friend bool operator==(const Brush &, const Brush &) = default;
};

// One drawing operation of a page.
struct Op {
    enum class Kind : quint8 { Text, Line, Rect, FillRect, Image };
    Kind kind = Kind::Text;
    // Text: x left end, y baseline. Line: from (x, y) to (x2, y2). Rect,
    // FillRect, Image: corners (x, y) and (x2, y2).
    double x = 0, y = 0, x2 = 0, y2 = 0;
    QString text;
    Font font;
    Pen pen;
    Brush brush;
    int image = -1; // index into Document::images
    // Where a text holding the total page count is anchored, so that its
    // left end can be placed again once the count is known.
    Justify align = Justify::Left;
    double anchor = 0;

    friend bool operator==(const Op &, const Op &) = default;
};

struct Page {
    std::vector<Op> ops;
};

struct PageSetup {
    double paperWidth = 21.0; // A4, portrait
    double paperHeight = 29.7;
    Orientation orientation = Orientation::Portrait;
    double marginLeft = 1.0, marginTop = 1.0, marginRight = 1.0, marginBottom = 1.0;
    int copies = 1;
    int zoom = 150; // preview zoom in percent
    bool landscape() const { return orientation == Orientation::Landscape; }
    double width() const { return landscape() ? paperHeight : paperWidth; }
    double height() const { return landscape() ? paperWidth : paperHeight; }
};

// The produced pages of one run: what the preview shows, the printer prints,
// the PDF and the snapshot hold.
struct Document {
    QString title;
    PageSetup setup;
    std::vector<Page> pages;
    std::vector<QByteArray> images; // PNG
    bool finished = false; // page totals completed

    int pageCount() const { return static_cast<int>(pages.size()); }
};

// Stands for the total page count inside a text until the document is
// finished (a private-use character no report prints).
inline constexpr QChar kTotalPagesMark = QChar(0xE000);

// Replaces every total-page mark with the count and places such texts again
// at their anchors.
void finishDocument(Document &document);

} // namespace plavex::reports
