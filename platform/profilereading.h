#pragma once

#include "platform/fileslots.h"
#include "profile/profilefile.h"

#include <filesystem>

namespace resipa {

/// Reads the company profile file through slot 1 and frees the slot again. A file that cannot
/// be opened or read gives empty values; a short one the values it holds.
ProfilPerusahaan readProfileFile(FileSlots& fileSlots, const std::filesystem::path& path);

} // namespace resipa
