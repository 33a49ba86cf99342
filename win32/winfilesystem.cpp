#include "win32/winfilesystem.h"

#include "win32/ownedhandle.h"
#include "win32/widetext.h"

#include <aclapi.h>
#include <algorithm>
#include <atomic>
#include <future>
#include <optional>
#include <sddl.h>
#include <string>
#include <string_view>
#include <vector>
#include <winternl.h>

namespace resipa {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ERROR_DISK_QUOTA_EXCEEDED, which MinGW-w64's headers lack.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

struct KnownCause {
    DWORD code;
    FileCause cause;
};

constexpr KnownCause kKnownCauses[] = {
    {ERROR_ACCESS_DENIED, FileCause::AccessDenied},
    {ERROR_WRITE_PROTECT, FileCause::ReadOnlyFileSystem},
    {ERROR_DISK_FULL, FileCause::DiskFull},
    {ERROR_HANDLE_DISK_FULL, FileCause::DiskFull},
    {kErrorDiskQuotaExceeded, FileCause::QuotaExhausted},
    {ERROR_FILE_NOT_FOUND, FileCause::Missing},
    {ERROR_PATH_NOT_FOUND, FileCause::Missing},
    {ERROR_DIRECTORY, FileCause::PathThroughAFile},
    {ERROR_SHARING_VIOLATION, FileCause::InUse},
    {ERROR_LOCK_VIOLATION, FileCause::InUse},
    {ERROR_USER_MAPPED_FILE, FileCause::InUse},
    {ERROR_TOO_MANY_OPEN_FILES, FileCause::TooManyOpen},
    {ERROR_CRC, FileCause::DeviceError},
    {ERROR_IO_DEVICE, FileCause::DeviceError},
    {ERROR_NOT_READY, FileCause::DeviceError},
    {ERROR_FILE_TOO_LARGE, FileCause::TooLarge},
    {ERROR_FILENAME_EXCED_RANGE, FileCause::NameTooLong},
    {ERROR_NOT_ENOUGH_MEMORY, FileCause::OutOfResources},
    {ERROR_NO_SYSTEM_RESOURCES, FileCause::OutOfResources},
    {ERROR_FILE_EXISTS, FileCause::NameTaken},
    {ERROR_ALREADY_EXISTS, FileCause::NameTaken},
};

/// The path of the file or folder a handle has open, links followed, in the "\\?\" form; empty
/// when Windows cannot tell.
std::wstring finalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    // A file system that cannot normalise names (some network shares) names them as opened.
    for (DWORD form = FILE_NAME_NORMALIZED;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), form);
        if (length == 0 && form == FILE_NAME_OPENED)
            return {};
        if (length == 0) {
            form = FILE_NAME_OPENED;
            continue;
        }
        const bool fits = length < path.size();
        path.resize(length);
        if (fits)
            return path;
    }
}

/// What lies at the path itself: a link or junction there is opened, never followed.
OwnedHandle openInPlace(const std::filesystem::path& path, DWORD access, DWORD share) {
    return OwnedHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
}

/// Where an entry named @p name of the folder at @p folderFinalPath is, when it is no link.
std::wstring entryPath(std::wstring folderFinalPath, std::wstring_view name) {
    if (folderFinalPath.empty())
        return {};
    if (folderFinalPath.back() != L'\\')
        folderFinalPath += L'\\';
    return folderFinalPath += name;
}

/// Where @p path is, the links above it followed but not one at the path itself; empty when
/// its folder cannot be opened.
std::wstring placeOf(const std::filesystem::path& path) {
    const OwnedHandle folder(CreateFileW(path.parent_path().c_str(), FILE_READ_ATTRIBUTES,
                                         kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder ? entryPath(finalPathOf(folder.get()), path.filename().native()) : L"";
}

enum class Kind { File, Folder, Link, Other };

/// What the open @p handle holds, expected at @p place. A reparse point (a junction, a symbolic
/// link) is a link, and so is anything that turns out to be elsewhere: Wine opens the target of
/// a Unix link even when asked for the link itself.
Kind kindOf(HANDLE handle, std::wstring_view place) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return Kind::Other;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        CompareStringOrdinal(finalPathOf(handle).c_str(), -1, std::wstring(place).c_str(), -1,
                             TRUE) != CSTR_EQUAL)
        return Kind::Link;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Kind::Folder;
    return GetFileType(handle) == FILE_TYPE_DISK ? Kind::File : Kind::Other;
}

/// Why a document may not replace what lies at @p target: a link or junction (whatever it
/// leads to), a folder, a device. None for a plain file or nothing at all.
std::optional<FileCause> unfitTarget(const std::filesystem::path& target) {
    const OwnedHandle found = openInPlace(target, FILE_READ_ATTRIBUTES, kShareAll);
    if (!found)
        return std::nullopt; // nothing there, or the replacement names the cause
    switch (kindOf(found.get(), placeOf(target))) {
    case Kind::File:
        return std::nullopt;
    case Kind::Folder:
        return FileCause::IsAFolder;
    case Kind::Link:
        return FileCause::IsALink;
    case Kind::Other:
        break;
    }
    return FileCause::NotARegularFile;
}

/// True when another program holds @p path open without letting it be deleted, as a viewer
/// holding the previous document does: Windows then only says "access denied" to a replacement.
bool heldByAnother(const std::filesystem::path& path) {
    return !openInPlace(path, DELETE, kShareAll) && GetLastError() == ERROR_SHARING_VIOLATION;
}

/// Opens @p name inside the folder @p folder, as the folder is now, whatever lies at its path:
/// the counterpart of openat(). @p error is the Windows error code of a failure.
OwnedHandle openInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                         ULONG disposition, ULONG options, DWORD& error) {
    UNICODE_STRING text;
    RtlInitUnicodeString(&text, name.c_str());
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.RootDirectory = folder;
    attributes.ObjectName = &text;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    const NTSTATUS status = NtCreateFile(
        &handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
        disposition, options | FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    error = status < 0 ? RtlNtStatusToDosError(status) : ERROR_SUCCESS;
    return OwnedHandle(status < 0 ? nullptr : handle);
}

/// Marks an open file to go when its last handle closes.
bool removeWhenClosed(HANDLE file) {
    FILE_DISPOSITION_INFO remove{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
}

/// Removes the file @p name of @p folder; a link there is removed as a link.
void removeFromFolder(HANDLE folder, const std::wstring& name) {
    DWORD error = 0;
    const OwnedHandle file =
        openInFolder(folder, name, DELETE, kShareAll, FILE_OPEN, FILE_OPEN_REPARSE_POINT, error);
    if (file)
        removeWhenClosed(file.get());
}

/// Writes all @p size bytes: 0, or the Windows error code that stopped it. A write that takes
/// nothing and names no error means the disk takes nothing more.
DWORD writeAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_DISK_FULL;
        data += written;
        size -= written;
    }
    return ERROR_SUCCESS;
}

/// A FILETIME's count of 100 ns since 1601, as the directory listing gives it.
LONGLONG ticksOf(std::chrono::system_clock::time_point moment) {
    constexpr LONGLONG kFrom1601To1970 = 116'444'736'000'000'000;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(moment.time_since_epoch()).count() /
               100 +
           kFrom1601To1970;
}

LONGLONG ticksOf(const FILETIME& time) {
    return static_cast<LONGLONG>((ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}

/// What the token of this program says of its user; empty when it cannot be read.
std::vector<BYTE> tokenInformation(TOKEN_INFORMATION_CLASS which) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const OwnedHandle held(token);
    DWORD size = 0;
    GetTokenInformation(token, which, nullptr, 0, &size);
    std::vector<BYTE> information(size);
    if (size == 0 || !GetTokenInformation(token, which, information.data(), size, &size))
        return {};
    return information;
}

PSID userSid(const std::vector<BYTE>& user) {
    return user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
}

/// True when the folder belongs to this program's user: the user, or the owner the user's
/// token gives what it creates (the Administrators of an elevated program). A volume that
/// keeps no owners (FAT) has no other user's folders.
bool ownedByThisUser(HANDLE folder) {
    DWORD flags = 0;
    if (GetVolumeInformationByHandleW(folder, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_PERSISTENT_ACLS) == 0)
        return true;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const std::vector<BYTE> user = tokenInformation(TokenUser);
    const std::vector<BYTE> creator = tokenInformation(TokenOwner);
    const bool ours =
        owner && ((userSid(user) && EqualSid(owner, userSid(user))) ||
                  (!creator.empty() &&
                   EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(creator.data())->Owner)));
    LocalFree(descriptor);
    return ours;
}

/// Creates the folder open to this user alone, as mode 0700 does on Linux: nobody else reads
/// the receipts handed to the viewer.
bool createPrivateFolder(const std::filesystem::path& path) {
    LPWSTR user = nullptr;
    if (!ConvertSidToStringSidW(userSid(tokenInformation(TokenUser)), &user))
        return false;
    const std::wstring ownerOnly = L"D:P(A;OICI;FA;;;" + std::wstring(user) + L")";
    LocalFree(user);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(ownerOnly.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const BOOL created = CreateDirectoryW(path.c_str(), &attributes);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return created;
}

/// Hidden, as a folder whose name starts with a dot is on Linux.
void hide(HANDLE folder) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(folder, FileBasicInfo, &basic, sizeof basic) ||
        (basic.FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0)
        return;
    const DWORD attributes = basic.FileAttributes | FILE_ATTRIBUTE_HIDDEN;
    basic = {}; // times of zero stay as they are
    basic.FileAttributes = attributes;
    SetFileInformationByHandle(folder, FileBasicInfo, &basic, sizeof basic);
}

/// The viewing folder, open as one handle.
class FolderHandle final : public PrivateFolder {
public:
    FolderHandle(OwnedHandle handle, std::filesystem::path path)
        : m_handle(std::move(handle))
        , m_path(std::move(path))
        , m_finalPath(finalPathOf(m_handle.get())) {}

    HANDLE handle() const { return m_handle.get(); }
    const std::filesystem::path& path() const override { return m_path; }

    void removeFilesWrittenBefore(const NameTest& chosen,
                                  std::chrono::system_clock::time_point before) const override {
        const LONGLONG beforeTicks = ticksOf(before);
        std::vector<std::wstring> old;
        alignas(LONGLONG) char listing[64 * 1024];
        for (auto part = FileIdBothDirectoryRestartInfo;
             GetFileInformationByHandleEx(m_handle.get(), part, listing, sizeof listing);
             part = FileIdBothDirectoryInfo) {
            for (std::size_t at = 0;;) {
                const auto& entry = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(listing + at);
                const std::wstring_view name(entry.FileName,
                                             entry.FileNameLength / sizeof(wchar_t));
                const std::optional<std::string> utf8 = toUtf8(name);
                if (entry.LastWriteTime.QuadPart < beforeTicks && utf8 && chosen(*utf8))
                    old.emplace_back(name);
                if (entry.NextEntryOffset == 0)
                    break;
                at += entry.NextEntryOffset;
            }
        }
        for (const std::wstring& name : old) {
            // A viewer holding the file without sharing deletes (Word does) keeps it.
            DWORD error = 0;
            const OwnedHandle file =
                openInFolder(m_handle.get(), name, DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                             FILE_OPEN, FILE_OPEN_REPARSE_POINT, error);
            BY_HANDLE_FILE_INFORMATION info{};
            // Files only: no link, folder or device, whatever its name.
            if (file && kindOf(file.get(), entryPath(m_finalPath, name)) == Kind::File &&
                GetFileInformationByHandle(file.get(), &info) &&
                ticksOf(info.ftLastWriteTime) < beforeTicks)
                removeWhenClosed(file.get());
        }
    }

private:
    OwnedHandle m_handle;
    std::filesystem::path m_path;
    std::wstring m_finalPath;
};

// Folders come from this file system, as the documents copied into them.
HANDLE handleOf(const PrivateFolder& folder) {
    return static_cast<const FolderHandle&>(folder).handle();
}

class WinInputFile final : public InputFile {
public:
    explicit WinInputFile(const std::filesystem::path& path)
        : m_path(path) {}

    Result<> open() {
        m_file = OwnedHandle(CreateFileW(m_path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (m_file)
            return {};
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(m_path.c_str());
        return fileFailure(FileStep::OpenForReading, m_path,
                           attributes != INVALID_FILE_ATTRIBUTES &&
                                   (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                               ? FileCause::IsAFolder
                               : causeOfError(error));
    }

    Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        DWORD got = 0;
        if (!ReadFile(m_file.get(), buffer,
                      static_cast<DWORD>(std::min<std::size_t>(capacity, 1U << 30)), &got, nullptr))
            return fileFailure(FileStep::Read, m_path, causeOfError(GetLastError()));
        return std::size_t{got};
    }

private:
    std::filesystem::path m_path;
    OwnedHandle m_file;
};

class WinOutputFile final : public OutputFile {
public:
    explicit WinOutputFile(const std::filesystem::path& path)
        : m_path(path) {}

    Result<> open() {
        // Moving a file over a link would leave what it leads to alone, but the program's own
        // document would then be a link no more: neither is for this program to decide.
        if (const std::optional<FileCause> unfit = unfitTarget(m_path))
            return fileFailure(FileStep::OpenForWriting, m_path, *unfit);
        static std::atomic<unsigned> made = 0;
        DWORD error = ERROR_SUCCESS;
        do {
            // Beside the target, so that the move is a rename on one volume.
            m_temporary = m_path.native() + L'.' + std::to_wstring(GetCurrentProcessId()) + L'-' +
                          std::to_wstring(++made) + L".tmp";
            m_file =
                OwnedHandle(CreateFileW(m_temporary.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (m_file)
                return {};
            error = GetLastError();
        } while (error == ERROR_FILE_EXISTS);
        return fileFailure(FileStep::OpenForWriting, m_path, causeOfError(error));
    }

    ~WinOutputFile() override {
        if (m_committed)
            return;
        if (m_file && !removeWhenClosed(m_file.get())) {
            m_file = {};
            DeleteFileW(m_temporary.c_str());
        }
        removeSecondNames();
    }
    WinOutputFile(const WinOutputFile&) = delete;
    WinOutputFile& operator=(const WinOutputFile&) = delete;

    Result<> write(const char* data, std::size_t size) override {
        if (m_writeFailure)
            return *m_writeFailure;
        if (const DWORD error = writeAll(m_file.get(), data, size); error != ERROR_SUCCESS)
            m_writeFailure = fileFailure(FileStep::Write, m_path, causeOfError(error));
        return m_writeFailure ? Result<>(*m_writeFailure) : Result<>();
    }

    Result<Kept> linkWritten(const PrivateFolder&, const std::string&) override {
        // Windows denies deleting a file while any of its names is held open without sharing
        // deletes, as Word holds the documents it shows: a viewer still showing a linked
        // receipt would stop every later Preview from replacing the target. A copy is free of it.
        return Kept::LinkRefused;
    }

    Result<Kept> copyWritten(const PrivateFolder& folder, const std::string& name) override {
        const std::wstring wideName = pathFromUtf8(name).native();
        DWORD error = ERROR_SUCCESS;
        const OwnedHandle copy =
            openInFolder(handleOf(folder), wideName, FILE_GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                         FILE_CREATE, 0, error);
        if (!copy)
            return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                       ? Result<Kept>(Kept::NameTaken)
                       : secondNameFailure(folder, name, error);
        // Read back through the open file: these bytes are this Preview's, whatever another
        // program instance does to the names meanwhile.
        char buffer[64 * 1024];
        for (ULONGLONG offset = 0; error == ERROR_SUCCESS;) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD got = 0;
            if (!ReadFile(m_file.get(), buffer, sizeof buffer, &got, &at)) {
                error = GetLastError();
                if (error == ERROR_HANDLE_EOF)
                    error = ERROR_SUCCESS;
                break;
            }
            if (got == 0)
                break;
            error = writeAll(copy.get(), buffer, got);
            offset += got;
        }
        if (error == ERROR_SUCCESS) {
            keepSecondName(folder, wideName);
            return Kept::Done;
        }
        removeWhenClosed(copy.get());
        return secondNameFailure(folder, name, error);
    }

    std::future<void> syncInBackground() override {
        // A handle of the thread's own: the file may be committed or discarded meanwhile.
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), m_file.get(), GetCurrentProcess(), &own, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            return {};
        return std::async(std::launch::async, [own] {
            FlushFileBuffers(own);
            CloseHandle(own);
        });
    }

    Result<> commit() override {
        Result<> saved = save();
        if (!saved)
            removeSecondNames();
        return saved;
    }

private:
    Result<> save() {
        // A failed write leaves a short document, which must never replace the previous one.
        if (m_writeFailure)
            return *m_writeFailure;
        if (!FlushFileBuffers(m_file.get()))
            return fileFailure(FileStep::Save, m_path, causeOfError(GetLastError()));
        // The target may have been made a link since it was opened.
        if (const std::optional<FileCause> unfit = unfitTarget(m_path))
            return fileFailure(FileStep::Save, m_path, *unfit);
        if (!MoveFileExW(m_temporary.c_str(), m_path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = GetLastError();
            return fileFailure(FileStep::Save, m_path,
                               error == ERROR_ACCESS_DENIED && heldByAnother(m_path)
                                   ? FileCause::InUse
                                   : causeOfError(error));
        }
        m_committed = true;
        m_file = {};
        return {};
    }

    static Failure secondNameFailure(const PrivateFolder& folder, const std::string& name,
                                     DWORD error) {
        return fileFailure(FileStep::KeepViewingCopy, folder.path() / pathFromUtf8(name),
                           causeOfError(error));
    }

    // Second names are removed through the folder they were given in, whatever lies at its
    // path by then.
    void keepSecondName(const PrivateFolder& folder, const std::wstring& name) {
        HANDLE own = nullptr;
        if (!m_folder && DuplicateHandle(GetCurrentProcess(), handleOf(folder), GetCurrentProcess(),
                                         &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
            m_folder = OwnedHandle(own);
        m_secondNames.push_back(name);
    }

    void removeSecondNames() {
        for (const std::wstring& name : std::exchange(m_secondNames, {}))
            removeFromFolder(m_folder.get(), name);
    }

    std::filesystem::path m_path;
    std::wstring m_temporary;
    OwnedHandle m_file;
    std::optional<Failure> m_writeFailure;
    OwnedHandle m_folder;
    std::vector<std::wstring> m_secondNames;
    bool m_committed = false;
};

} // namespace

bool WinFileSystem::isFile(const std::filesystem::path& path) const {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

Result<std::unique_ptr<InputFile>>
WinFileSystem::openForReading(const std::filesystem::path& path) {
    return openFileAs<InputFile, WinInputFile>(path);
}

Result<std::unique_ptr<OutputFile>>
WinFileSystem::openForWriting(const std::filesystem::path& path) {
    return openFileAs<OutputFile, WinOutputFile>(path);
}

Result<std::unique_ptr<PrivateFolder>>
WinFileSystem::openPrivateFolder(const std::filesystem::path& path) {
    if (!createPrivateFolder(path) && GetLastError() != ERROR_ALREADY_EXISTS)
        return fileFailure(FileStep::CreateFolder, path, causeOfError(GetLastError()));
    // Held without sharing deletes while it is used: nobody renames, removes or replaces it by
    // a link meanwhile.
    OwnedHandle handle =
        openInPlace(path,
                    FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES |
                        FILE_WRITE_ATTRIBUTES | READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!handle) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return fileFailure(FileStep::OpenFolder, path, causeOfError(error));
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return folderRefused(path, FolderRefusal::Link);
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return folderRefused(path, FolderRefusal::File);
        return fileFailure(FileStep::OpenFolder, path, causeOfError(error));
    }
    switch (kindOf(handle.get(), placeOf(path))) {
    case Kind::Folder:
        break;
    case Kind::Link:
        return folderRefused(path, FolderRefusal::Link);
    case Kind::File:
    case Kind::Other:
        return folderRefused(path, FolderRefusal::File);
    }
    // Another user could read or swap the receipts handed to the viewer.
    if (!ownedByThisUser(handle.get()))
        return folderRefused(path, FolderRefusal::OthersFolder);
    hide(handle.get());
    return Result<std::unique_ptr<PrivateFolder>>(
        std::make_unique<FolderHandle>(std::move(handle), path));
}

FileCause causeOfError(DWORD code) {
    for (const KnownCause& known : kKnownCauses) {
        if (known.code == code)
            return known.cause;
    }
    return FileCause::Unknown;
}

} // namespace resipa
