#pragma once

namespace plavex::items {

// Hooks the items layer into storage: a new database takes the chart of
// "noms/DATA3.TXT" of the program folder. Call once at start, before any
// database is opened.
void install();

} // namespace plavex::items
