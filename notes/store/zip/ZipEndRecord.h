#pragma once

#include <string>

namespace notes {

// minizip reads the end-of-central-directory record through a reader that answers "success"
// with zeros past the end of the file, so an archive cut inside that record opens as an archive
// without entries. False when the last record signature the file holds is cut short; true
// otherwise, including when there is none at all (minizip refuses such a file itself).
bool endRecordIsComplete(const std::string& path);

}  // namespace notes
