#include "platform/filefailure.h"

namespace resipa {

std::string_view causeText(FileCause cause) {
    switch (cause) {
    case FileCause::AccessDenied:
        return "akses ditolak";
    case FileCause::DiskFull:
        return "disk penuh";
    case FileCause::QuotaExhausted:
        return "kuota disk habis";
    case FileCause::ReadOnlyFileSystem:
        return "sistem berkas hanya dapat dibaca";
    case FileCause::Missing:
        return "berkas atau direktorinya tidak ada";
    case FileCause::PathThroughAFile:
        return "salah satu bagian jalurnya bukan direktori";
    case FileCause::IsAFolder:
        return "jalur itu sebuah direktori";
    case FileCause::InUse:
        return "berkas sedang dipakai program lain";
    case FileCause::TooManyOpen:
        return "terlalu banyak berkas yang terbuka";
    case FileCause::DeviceError:
        return "kesalahan perangkat penyimpanan";
    case FileCause::TooLarge:
        return "berkas terlalu besar";
    case FileCause::NameTooLong:
        return "nama berkas terlalu panjang";
    case FileCause::OutOfResources:
        return "sumber daya sistem habis";
    case FileCause::NotARegularFile:
        return "bukan berkas biasa";
    case FileCause::IsALink:
        return "itu tautan ke tempat lain";
    case FileCause::NameTaken:
        return "nama itu sudah terpakai";
    case FileCause::Unknown:
        break;
    }
    return "sebab tidak diketahui";
}

std::string_view viewerCauseText(ViewerCause cause) {
    switch (cause) {
    case ViewerCause::NoApplication:
        return "tidak ada aplikasi untuk membuka dokumen RTF";
    case ViewerCause::NotFound:
        return "berkas itu tidak ditemukan";
    case ViewerCause::ViewerFailed:
        break;
    }
    return "aplikasi penampil gagal membuka dokumen";
}

namespace {

std::string_view stepText(FileStep step) {
    switch (step) {
    case FileStep::OpenForReading:
        return "Berkas tidak dapat dibuka untuk dibaca";
    case FileStep::Read:
        return "Berkas gagal dibaca";
    case FileStep::OpenForWriting:
        return "Berkas tidak dapat dibuka untuk ditulis";
    case FileStep::Write:
        return "Berkas gagal ditulis";
    case FileStep::Save:
        return "Berkas gagal disimpan";
    case FileStep::KeepViewingCopy:
        return "Salinan kwitansi tidak dapat dibuat";
    case FileStep::CreateFolder:
        return "Folder kwitansi tidak dapat dibuat";
    case FileStep::OpenFolder:
        return "Folder kwitansi tidak dapat dibuka";
    case FileStep::MakeFolderPrivate:
        break;
    }
    return "Folder kwitansi tidak dapat dibuat pribadi";
}

std::string_view refusalText(FolderRefusal why) {
    switch (why) {
    case FolderRefusal::Link:
        return causeText(FileCause::IsALink);
    case FolderRefusal::File:
        return "itu berkas, bukan folder";
    case FolderRefusal::OthersFolder:
        break;
    }
    return "folder itu milik pengguna lain";
}

} // namespace

Failure fileFailure(FileStep step, const std::filesystem::path& path, FileCause cause) {
    return {std::string(stepText(step)) + ": " + utf8Of(path) + " (" +
            std::string(causeText(cause)) + ")."};
}

Failure folderRefused(const std::filesystem::path& path, FolderRefusal why) {
    const std::string folder = utf8Of(path);
    return {"Folder kwitansi tidak dapat dipakai: " + folder + " (" +
            std::string(refusalText(why)) + "). Pindahkan atau hapus " + folder +
            ", lalu tekan Preview lagi: folder baru dibuat sendiri."};
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::u8string(text.begin(), text.end());
}

} // namespace resipa
