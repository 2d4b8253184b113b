#pragma once

#include "reports/engine/Document.h"

#include <QString>

namespace plavex::reports {

// Text measures in centimetres for the one face of every document
// (DejaVu Sans), taken without hinting so that they hold at any resolution.
// Needs the application's font system (QGuiApplication).
class FontMetrics {
public:
    static double width(const Font &font, const QString &text);
    static double ascent(const Font &font);
    static double descent(const Font &font);
    static double height(const Font &font) { return ascent(font) + descent(font); }
};

// The face by name, as the renderers ask for it.
QString faceName();

} // namespace plavex::reports
