#include "reports/engine/Document.h"

#include "reports/engine/FontMetrics.h"

namespace plavex::reports {

void finishDocument(Document &document)
{
    if (document.finished)
        return;
    const QString total = QString::number(document.pageCount());
    for (Page &page : document.pages) {
        for (Op &op : page.ops) {
            if (op.kind != Op::Kind::Text || !op.text.contains(kTotalPagesMark))
                continue;
            op.text.replace(kTotalPagesMark, total);
            const double w = FontMetrics::width(op.font, op.text);
            op.x = op.align == Justify::Left ? op.anchor : op.align == Justify::Right ? op.anchor - w : op.anchor - w / 2;
        }
    }
    document.finished = true;
}

} // namespace plavex::reports
