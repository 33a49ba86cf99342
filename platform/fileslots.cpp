#include "platform/fileslots.h"

#include <string>

namespace resipa {

FileSlots::FileSlots(FileSystem& files)
    : m_files(files) {}

FileSlots::Slot* FileSlots::find(int slot) {
    return slot >= 1 && slot <= kCount ? &m_slots[static_cast<std::size_t>(slot - 1)] : nullptr;
}

const FileSlots::Slot* FileSlots::find(int slot) const {
    return const_cast<FileSlots*>(this)->find(slot);
}

Result<FileSlots::Slot*> FileSlots::claim(int slot) {
    Slot* held = find(slot);
    if (!held)
        return Failure{"Nomor slot berkas tidak sah: " + std::to_string(slot) + "."};
    if (held->inUse())
        return Failure{"Berkas sudah terbuka: slot berkas " + std::to_string(slot) +
                       " sedang dipakai oleh " + utf8Of(held->path) + "."};
    return held;
}

template <typename File>
Result<>
FileSlots::place(int slot, const std::filesystem::path& path,
                 Result<std::unique_ptr<File>> (FileSystem::*open)(const std::filesystem::path&),
                 std::unique_ptr<File> Slot::*holder) {
    const Result<Slot*> free = claim(slot);
    if (!free)
        return free.failure();
    Result<std::unique_ptr<File>> opened = (m_files.*open)(path);
    if (!opened)
        return opened.failure();
    (*free)->path = path;
    (*free)->*holder = std::move(*opened);
    return {};
}

Result<> FileSlots::openForReading(int slot, const std::filesystem::path& path) {
    return place(slot, path, &FileSystem::openForReading, &Slot::input);
}

Result<> FileSlots::openForWriting(int slot, const std::filesystem::path& path) {
    return place(slot, path, &FileSystem::openForWriting, &Slot::output);
}

bool FileSlots::inUse(int slot) const {
    const Slot* held = find(slot);
    return held && held->inUse();
}

InputFile* FileSlots::input(int slot) {
    Slot* held = find(slot);
    return held ? held->input.get() : nullptr;
}

OutputFile* FileSlots::output(int slot) {
    Slot* held = find(slot);
    return held ? held->output.get() : nullptr;
}

Result<> FileSlots::commit(int slot) {
    OutputFile* document = output(slot);
    if (!document)
        return Failure{"Slot berkas " + std::to_string(slot) + " tidak memegang dokumen keluaran."};
    Result<> committed = document->commit();
    if (!committed && committed.failure().text.empty())
        committed = Failure{"Berkas gagal disimpan: " + utf8Of(find(slot)->path) + "."};
    close(slot);
    return committed;
}

void FileSlots::close(int slot) {
    if (Slot* held = find(slot))
        *held = Slot{};
}

void FileSlots::closeAll() {
    for (int slot = 1; slot <= kCount; ++slot)
        close(slot);
}

} // namespace resipa
