// Removes what `cmake --install build --prefix DIR` put into DIR: the program, its link in
// DIR/bin, the menu entry and the icons. The operator's files in DIR/lib/resipa stay unless
// --all is given: a profile or template changed since the install, the last receipt Resipa.rtf
// and the receipts handed to the viewer in .kwitansi/. A file is ours only while its contents
// are what the install wrote (the checksums in DIR/lib/resipa/.installed).
//
// Root may run this on a folder another user controls, so nothing here follows a link: DIR and
// every folder under it are opened without following one and must belong to DIR's owner, all
// of them before anything is removed, and every removal is made relative to the folder's
// handle, so that no link or rename made meanwhile can lead it into someone else's files.
#include "uninstall/sha256.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int iconSizes[] = {RESIPA_ICON_SIZES};
constexpr off_t largestList = 1 << 20;

// Why nothing is removed.
struct Refusal {
    std::string reason;
};

class Handle {
public:
    Handle() = default;
    explicit Handle(int fd)
        : m_fd(fd) {}
    Handle(Handle&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Handle() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A folder held open, or none when it does not exist.
struct Folder {
    Handle handle;
    std::string path;

    explicit operator bool() const { return bool(handle); }
    std::string pathOf(const std::string& name) const { return path + "/" + name; }
};

std::string errorText(int code) {
    return std::strerror(code);
}

uid_t ownerOf(const Folder& folder) {
    struct stat found {};
    if (::fstat(folder.handle.fd(), &found) != 0)
        throw Refusal{folder.path + " cannot be examined: " + errorText(errno)};
    return found.st_uid;
}

// Why a name that could not be opened as a folder is refused.
Refusal notAFolder(int parent, const std::string& name, const std::string& path, int code) {
    struct stat found {};
    if (::fstatat(parent, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(found.st_mode))
        return {path + " is a link"};
    if (code == ENOTDIR || code == ELOOP)
        return {path + " is not a folder"};
    return {path + " cannot be opened: " + errorText(code)};
}

// The folder NAME inside PARENT, opened without following a link and refused unless OWNER owns
// it; none when PARENT is none or holds no such name.
Folder openInside(const Folder& parent, const std::string& name, uid_t owner) {
    if (!parent)
        return {};
    Folder folder{Handle(::openat(parent.handle.fd(), name.c_str(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)),
                  parent.pathOf(name)};
    if (!folder) {
        if (errno == ENOENT)
            return {};
        throw notAFolder(parent.handle.fd(), name, folder.path, errno);
    }
    if (ownerOf(folder) != owner)
        throw Refusal{folder.path + " belongs to another user than the prefix"};
    return folder;
}

Folder openPrefix(std::string path) {
    // A trailing slash would make the last link followed after all.
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    Folder top{Handle(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)), path};
    if (top)
        return top;
    const int code = errno;
    char* real = ::realpath(path.c_str(), nullptr);
    const std::string hint = real ? "; name the folder itself: " + std::string(real) : "";
    std::free(real);
    throw Refusal{notAFolder(AT_FDCWD, path, path, code).reason + hint};
}

// A regular file NAME inside FOLDER, opened for reading without following a link or waiting on
// a pipe; none when there is no such file.
Handle openRegular(const Folder& folder, const char* name) {
    Handle file(::openat(folder.handle.fd(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat found {};
    if (!file || ::fstat(file.fd(), &found) != 0 || !S_ISREG(found.st_mode))
        return {};
    return file;
}

std::optional<std::string> checksum(const Handle& file) {
    Sha256 sum;
    unsigned char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got == 0)
            return sum.hex();
        if (got < 0 && errno != EINTR)
            return std::nullopt;
        if (got > 0)
            sum.add(buffer, static_cast<std::size_t>(got));
    }
}

// The install's list: each file's checksum by its path under the prefix, "SUM  PATH" a line.
std::optional<std::map<std::string, std::string>> readList(const Folder& folder) {
    const Handle file = openRegular(folder, ".installed");
    struct stat found {};
    if (!file || ::fstat(file.fd(), &found) != 0 || found.st_size > largestList)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(found.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = ::read(file.fd(), text.data() + done, text.size() - done);
        if (got <= 0 && !(got < 0 && errno == EINTR))
            break;
        done += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    text.resize(done);
    std::map<std::string, std::string> sums;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (const std::size_t gap = line.find("  "); gap != std::string::npos)
            sums[line.substr(gap + 2)] = line.substr(0, gap);
        start = end + 1;
    }
    return sums;
}

class Uninstall {
public:
    Uninstall(const std::string& prefix, bool all)
        : m_all(all) {
        m_top = openPrefix(prefix);
        const uid_t owner = ownerOf(m_top);
        m_lib = openInside(m_top, "lib", owner);
        m_folder = openInside(m_lib, "resipa", owner);
        if (const auto list = m_folder ? readList(m_folder) : std::nullopt)
            m_sums = *list;
        else
            throw Refusal{m_top.path + " holds no installed Resipa Elektronik (no " +
                          m_top.pathOf("lib/resipa/.installed") + ")"};
        m_bin = openInside(m_top, "bin", owner);
        const Folder share = openInside(m_top, "share", owner);
        m_applications = openInside(share, "applications", owner);
        const Folder hicolor = openInside(openInside(share, "icons", owner), "hicolor", owner);
        for (const int size : iconSizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size);
            m_icons.push_back(openInside(openInside(hicolor, name, owner), "apps", owner));
        }
        if (m_all)
            openReceipts(owner);
    }

    // Removes what is ours; true unless a removal failed.
    bool run() {
        for (const char* name :
             {"resipa", "rspdefault.rtf", "rspdefault.rtf.baru", "informasi.inf"})
            removeIfOurs(m_folder, name, "lib/resipa/");
        removeIfOurs(m_applications, "resipa.desktop", "share/applications/");
        for (std::size_t i = 0; i < m_icons.size(); ++i) {
            const std::string size = std::to_string(iconSizes[i]);
            removeIfOurs(m_icons[i], "resipa.png",
                         "share/icons/hicolor/" + size + "x" + size + "/apps/");
        }
        char target[PATH_MAX];
        const ssize_t size =
            m_bin ? ::readlinkat(m_bin.handle.fd(), "resipa", target, sizeof target) : -1;
        if (size > 0 &&
            std::string(target, static_cast<std::size_t>(size)) == "../lib/resipa/resipa")
            remove(m_bin, "resipa", 0);
        removeOperatorsOwn();
        if (!m_kept.empty()) {
            // The list stays, so that --all can still remove them later.
            std::cout << "Kept, as the operator's own (remove them with --all):\n";
            for (const std::string& path : m_kept)
                std::cout << "  " << path << '\n';
            return m_succeeded;
        }
        if (!m_succeeded || !remove(m_folder, ".installed", 0))
            return false;
        if (::unlinkat(m_lib.handle.fd(), "resipa", AT_REMOVEDIR) == 0)
            std::cout << "removed " << m_folder.path << '\n';
        else
            std::cout << "Kept " << m_folder.path
                      << ": it holds files the install did not put there.\n";
        return true;
    }

private:
    // The viewing folder as a folder of the owner's, or as a name to remove when it is none.
    void openReceipts(uid_t owner) {
        struct stat found {};
        if (::fstatat(m_folder.handle.fd(), ".kwitansi", &found, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        m_receiptsFound = true;
        if (S_ISDIR(found.st_mode))
            m_receipts = openInside(m_folder, ".kwitansi", owner);
    }

    bool remove(const Folder& folder, const std::string& name, int flags) {
        if (::unlinkat(folder.handle.fd(), name.c_str(), flags) == 0) {
            std::cout << "removed " << folder.pathOf(name) << '\n';
            return true;
        }
        std::cerr << "Could not remove " << folder.pathOf(name) << ": " << errorText(errno) << '\n';
        m_succeeded = false;
        return false;
    }

    void removeIfOurs(const Folder& folder, const char* name, const std::string& under) {
        if (!folder)
            return;
        // A link, or anything but a file, the install never wrote.
        const Handle file = openRegular(folder, name);
        if (!file)
            return;
        const auto listed = m_sums.find(under + name);
        if (m_all || (listed != m_sums.end() && checksum(file) == listed->second))
            remove(folder, name, 0);
        else
            m_kept.push_back(folder.pathOf(name));
    }

    void removeOperatorsOwn() {
        struct stat found {};
        if (::fstatat(m_folder.handle.fd(), "Resipa.rtf", &found, AT_SYMLINK_NOFOLLOW) == 0) {
            if (m_all && !S_ISDIR(found.st_mode))
                remove(m_folder, "Resipa.rtf", 0);
            else
                m_kept.push_back(m_folder.pathOf("Resipa.rtf"));
        }
        if (!m_all) {
            if (::fstatat(m_folder.handle.fd(), ".kwitansi", &found, AT_SYMLINK_NOFOLLOW) == 0)
                m_kept.push_back(m_folder.pathOf(".kwitansi"));
            return;
        }
        if (!m_receiptsFound)
            return;
        if (!m_receipts) {
            // A link or a file of that name goes as itself; what it points at stays.
            remove(m_folder, ".kwitansi", 0);
            return;
        }
        // The receipts through the folder's own handle; a folder inside it is none of ours.
        std::vector<std::string> names;
        const int listing =
            ::openat(m_receipts.handle.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing)) {
            while (const dirent* entry = ::readdir(entries))
                names.emplace_back(entry->d_name);
            ::closedir(entries);
        } else if (listing >= 0) {
            ::close(listing);
        }
        for (const std::string& name : names)
            if (::fstatat(m_receipts.handle.fd(), name.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0 &&
                !S_ISDIR(found.st_mode))
                remove(m_receipts, name, 0);
        remove(m_folder, ".kwitansi", AT_REMOVEDIR);
    }

    bool m_all;
    Folder m_top, m_lib, m_folder, m_bin, m_applications, m_receipts;
    std::vector<Folder> m_icons;
    std::map<std::string, std::string> m_sums;
    std::vector<std::string> m_kept;
    bool m_receiptsFound = false;
    bool m_succeeded = true;
};

} // namespace

int main(int argc, char** argv) {
    const bool all = argc == 3 && std::string(argv[2]) == "--all";
    if (argc < 2 || argc > 3 || (argc == 3 && !all)) {
        std::cerr << "Usage: scripts/uninstall.sh DIR [--all]\n";
        return 2;
    }
    try {
        Uninstall uninstall(argv[1], all);
        return uninstall.run() ? 0 : 1;
    } catch (const Refusal& refusal) {
        std::cerr << "Nothing removed: " << refusal.reason << ".\n";
        return 1;
    }
}
