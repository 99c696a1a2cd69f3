#pragma once

namespace pq {

// Writing past the file size limit (ulimit -f) raises SIGXFSZ, whose default action ends the
// process at once and without a word, in the middle of a save. Ignored, the write fails with EFBIG
// instead and the save reports it and leaves the old file, as on a full disk. Called first thing in
// main().
void ignoreFileSizeSignal();

}  // namespace pq
