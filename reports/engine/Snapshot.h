#pragma once

#include "reports/engine/Document.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace plavex::reports {

// The ".ndr" snapshot: a versioned, checksummed copy of a document's pages
// that the preview saves and opens again. The same document always gives
// the same bytes.
QByteArray snapshotBytes(const Document &document);
// Nothing, with the Bulgarian reason in `error`, for a damaged or foreign file.
std::optional<Document> documentFromSnapshot(const QByteArray &bytes, QString *error = nullptr);

bool writeSnapshot(const QByteArray &bytes, const QString &path, QString *error = nullptr);
std::optional<Document> readSnapshot(const QString &path, QString *error = nullptr);

} // namespace plavex::reports
