#pragma once

class QApplication;

namespace plavex::app {

// Qt's own dialogs (questions, file dialogs, the editing menu of a field)
// speak Bulgarian and numbers and dates follow the Bulgarian locale.
// Returns false when Qt's Bulgarian translations are not installed.
bool useBulgarian(QApplication &app);

} // namespace plavex::app
