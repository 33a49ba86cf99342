#include "platform/fileslots.h"

namespace resipa {

FileSlots::FileSlots(FileSystem& files)
    : m_files(files) {}

FileSlots::Slot* FileSlots::find(int slot) {
    return slot >= 1 && slot <= kCount ? &m_slots[static_cast<std::size_t>(slot - 1)] : nullptr;
}

const FileSlots::Slot* FileSlots::find(int slot) const {
    return const_cast<FileSlots*>(this)->find(slot);
}

FileSlots::Slot* FileSlots::claim(int slot, QString& error) {
    Slot* held = find(slot);
    if (!held)
        error = QStringLiteral("Nomor slot berkas tidak sah: %1.").arg(slot);
    else if (held->inUse())
        error = QStringLiteral("Berkas sudah terbuka: slot berkas %1 sedang dipakai oleh %2.")
                    .arg(slot)
                    .arg(held->path);
    return error.isEmpty() ? held : nullptr;
}

template <typename File>
QString FileSlots::place(int slot, const QString& path,
                         Opened<File> (FileSystem::*open)(const QString&),
                         std::unique_ptr<File> Slot::*holder) {
    QString error;
    Slot* free = claim(slot, error);
    if (!free)
        return error;
    Opened<File> opened = (m_files.*open)(path);
    if (!opened.file)
        return opened.error;
    free->path = path;
    free->*holder = std::move(opened.file);
    return {};
}

QString FileSlots::openForReading(int slot, const QString& path) {
    return place(slot, path, &FileSystem::openForReading, &Slot::input);
}

QString FileSlots::openForWriting(int slot, const QString& path) {
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

QString FileSlots::commit(int slot) {
    OutputFile* document = output(slot);
    if (!document)
        return QStringLiteral("Slot berkas %1 tidak memegang dokumen keluaran.").arg(slot);
    QString error;
    if (!document->commit()) {
        error = QString::fromStdString(document->errorText());
        if (error.isEmpty())
            error = QStringLiteral("Berkas gagal disimpan: %1.").arg(find(slot)->path);
    }
    close(slot);
    return error;
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
