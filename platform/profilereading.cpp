#include "platform/profilereading.h"

#include <string>

namespace resipa {

namespace {

constexpr int kProfileSlot = 1;
// A profile is a few hundred bytes; a stray huge file must not stall the start.
constexpr std::size_t kMostBytesRead = 1 << 20;

std::string readPrefix(InputFile& file) {
    std::string bytes;
    char chunk[16 * 1024];
    while (bytes.size() < kMostBytesRead) {
        const Result<std::size_t> count = file.read(chunk, sizeof chunk);
        if (!count || *count == 0)
            return bytes;
        bytes.append(chunk, *count);
    }
    // Cut at a line end so that no character is split, which would change the decoding.
    const std::size_t lineEnd = bytes.find_last_of("\r\n", kMostBytesRead);
    bytes.resize(lineEnd == std::string::npos ? 0 : lineEnd);
    return bytes;
}

} // namespace

ProfilPerusahaan readProfileFile(FileSlots& fileSlots, const std::filesystem::path& path) {
    if (!fileSlots.openForReading(kProfileSlot, path))
        return {};
    const std::string bytes = readPrefix(*fileSlots.input(kProfileSlot));
    fileSlots.close(kProfileSlot);
    return readProfile(decodeProfileBytes(bytes));
}

} // namespace resipa
