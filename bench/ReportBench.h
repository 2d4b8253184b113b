#pragma once

namespace plavex::bench {

// 1 000 table-heavy pages: the page description, the snapshot and the PDF.
void reportBench();

} // namespace plavex::bench
