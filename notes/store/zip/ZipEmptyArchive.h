#pragma once

#include <unzip.h>

#include <string>

namespace notes {

// minizip looks for the central directory's end record only at positions above 0, so it cannot
// open an archive without entries, which consists of that record alone (it writes such archives
// itself). This opens one from memory with a byte in front, which minizip takes for data
// preceding the archive. Null when the file is not an archive without entries.
unzFile openEmptyArchive(const std::string& path);

}  // namespace notes
