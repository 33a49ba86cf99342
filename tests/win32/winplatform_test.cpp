// The Windows desktop under Wine, in a prefix of its own (privateprefix.sh): a Preview's
// document replaced in one step or kept with the cause named when it is held open, the folder
// is write-protected, the disk fills, or a link or another user's folder stands in its way;
// the cleanup of old receipts; the shell with and without an application; the message loop.

#include "form/preview.h"
#include "win32/ownedhandle.h"
#include "win32/winplatform.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace resipa::testing {
namespace {

namespace fs = std::filesystem;
using Guard = std::shared_ptr<void>;

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    EXPECT_TRUE(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
        << path;
}

std::set<std::wstring> entries(const fs::path& folder) {
    std::set<std::wstring> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().native());
    return names;
}

/// Held open by another program, which lets others do what @p share says meanwhile.
Guard hold(const fs::path& path, DWORD share) {
    auto held = std::make_shared<OwnedHandle>(
        CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(*held) << path;
    return held;
}

/// Last written two days ago, as an old receipt.
void age(const fs::path& path) {
    const OwnedHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG then =
        ((ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime) - 49ULL * 3600 * 10'000'000;
    const FILETIME written{static_cast<DWORD>(then), static_cast<DWORD>(then >> 32)};
    EXPECT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written)) << path;
}

/// A template and a previous receipt beside the program.
Guard place(const fs::path& folder, std::string_view templ = "[NOMOR_RESIPA]\r\n") {
    write(folder / "rspdefault.rtf", templ);
    write(folder / "Resipa.rtf", "previous receipt");
    return {};
}

/// The same in a folder of nothing else.
Guard fresh(const fs::path& folder, std::string_view templ = "[NOMOR_RESIPA]\r\n") {
    fs::create_directories(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
    return place(folder, templ);
}

/// The Windows files and the advice of the Windows shell, beside a clock at 14.05.09 and a
/// shell that records what it is asked to open.
struct Desk final : WinShell, Clock, NumberRules, MessageBox, EventLoop {
    WinFileSystem files;
    std::vector<fs::path> opened;
    std::optional<Failure> openerFails;

    Date today() const override { return {2025, 5, 9}; }
    LocalTime now() const override { return {today(), 14, 5, 9, std::chrono::system_clock::now()}; }
    NumberFormat numberFormat() const override { return {",", "."}; }
    Result<> openDocument(const fs::path& path, LaterFailure) override {
        opened.push_back(path);
        return openerFails ? Result<>(*openerFails) : Result<>();
    }
    void inform(const std::string&, const std::string&) override {}
    void runPendingEvents() override {}
    void endProgram() override {}

    /// Previews receipt K-9 from @p folder; returns the box it shows, empty for none.
    std::string preview(const fs::path& folder) {
        const Platform platform{files, *this, *this, *this, *this, *this};
        FileSlots slots(files);
        ReceiptValues values;
        values.nomor = "K-9";
        values.keterangan = std::string(200, 'x');
        PreviewRun run(slots, platform, values, [](const Failure&) {});
        const Result<> done = run.run(folder);
        return done ? std::string() : done.failure().text;
    }
};

TEST(WinFileSystem, APreviewReplacesTheDocumentInOneStepOrKeepsThePreviousAndSaysWhy) {
    Desk desk;
    const fs::path kasus = L"C:\\kasus";
    const fs::path unix = L"C:\\unix";
    const auto lines = [](int count) {
        std::string templ;
        for (int i = 0; i < count; ++i)
            templ += "[KETERANGAN]\r\n";
        return templ;
    };
    const struct {
        const char* label;
        fs::path folder;
        std::function<Guard(const fs::path&)> make;
        const char* cause;    // in the box; null when the Preview works
        std::string document; // what Resipa.rtf then holds
    } cases[] = {
        {"plain", kasus, [](auto& at) { return fresh(at); }, nullptr, "K-9\r\n"},
        {"document held open without sharing", kasus,
         [](auto& at) { return fresh(at), hold(at / "Resipa.rtf", 0); }, "sedang dipakai",
         "previous receipt"},
        {"viewing folder a file", kasus,
         [](auto& at) { return fresh(at), write(at / ".kwitansi", "x"), Guard(); }, "bukan folder",
         "previous receipt"},
        {"no viewer", kasus,
         [&desk](auto& at) {
             desk.openerFails = Failure{"tidak ada aplikasi"};
             return fresh(at);
         },
         "Microsoft Word", "K-9\r\n"},
        {"folder write-protected", L"R:\\", [](auto&) { return Guard(); }, "akses ditolak",
         "previous receipt"},
        {"disk fills while writing", L"X:\\kasus", [&](auto& at) { return fresh(at, lines(8000)); },
         "disk penuh", "previous receipt"},
        {"disk fills while copying", L"X:\\kasus", [&](auto& at) { return fresh(at, lines(3000)); },
         "disk penuh", "previous receipt"},
        {"viewing folder a link", unix / "folder", [](auto& at) { return place(at); }, "tautan",
         "previous receipt"},
        {"document a link", unix / "dokumen",
         [](auto& at) { return write(at / "rspdefault.rtf", "[NOMOR_RESIPA]\r\n"), Guard(); },
         "tautan", "arsip"},
        {"viewing folder another user's", unix / "lain", [](auto& at) { return place(at); },
         "pengguna lain", "previous receipt"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.label);
        desk.opened.clear();
        desk.openerFails.reset();
        Guard guard = row.make(row.folder);
        const std::string box = desk.preview(row.folder);
        guard.reset();
        EXPECT_TRUE(row.cause ? box.find(row.cause) != std::string::npos &&
                                    box.find(utf8Of(row.folder)) != std::string::npos
                              : box.empty())
            << box;
        EXPECT_EQ(read(row.folder / "Resipa.rtf"), row.document);
        const bool previewed = row.document == "K-9\r\n";
        const fs::path viewing = row.folder / ".kwitansi" / "Kwitansi K-9 14.05.09.rtf";
        EXPECT_EQ(desk.opened, previewed ? std::vector{viewing} : std::vector<fs::path>());
        EXPECT_EQ(read(viewing), previewed ? row.document : "");
        // Nothing left behind: no temporary file, no part of a copy.
        std::set<std::wstring> left = entries(row.folder);
        for (const wchar_t* own : {L"rspdefault.rtf", L"Resipa.rtf", L".kwitansi"})
            left.erase(own);
        EXPECT_EQ(left, std::set<std::wstring>());
        if (fs::is_directory(row.folder / ".kwitansi") && row.folder != unix / "folder") {
            EXPECT_EQ(entries(row.folder / ".kwitansi"),
                      previewed ? std::set{viewing.filename().native()} : std::set<std::wstring>());
        }
    }
    // What the links lead to is as it was.
    EXPECT_EQ(entries(unix / "luar"),
              (std::set<std::wstring>{L"Kwitansi arsip.rtf", L"arsip.rtf"}));
    EXPECT_EQ(read(unix / "luar" / "arsip.rtf"), "arsip");
}

// Old regular files named exactly "Kwitansi *.rtf" go: no other name, no folder or link, and
// none that a viewer holds open, which stops no later Preview either.
TEST(WinViewingFolder, OnlyOldReceiptsGoAndOneAViewerHoldsStopsNothing) {
    const fs::path folder = L"C:\\unix\\bersih";
    const fs::path viewing = folder / ".kwitansi";
    write(folder / "rspdefault.rtf", "[NOMOR_RESIPA]\r\n");
    const std::tuple<const wchar_t*, char, bool> earlier[] = {
        {L"Kwitansi lama.rtf", 'f', true},    {L"Kwitansi dipegang.rtf", 'f', false},
        {L"Kwitansi baru.rtf", 'n', false},   {L"catatan.rtf", 'f', false},
        {L"KWITANSI arsip.Rtf", 'f', false},  {L"Kwitansi folder.rtf", 'd', false},
        {L"Kwitansi tautan.rtf", 'l', false}, // made a link to C:\unix\luar\arsip.rtf
    };
    for (const auto& [name, kind, removed] : earlier) {
        if (kind == 'd')
            fs::create_directory(viewing / name);
        else if (kind != 'l')
            write(viewing / name, "lama");
        if (kind == 'f' || kind == 'd')
            age(viewing / name);
    }
    Desk desk;
    {
        // Held as Word holds what it shows: others may read it, not delete it.
        const Guard viewer = hold(viewing / "Kwitansi dipegang.rtf", 0);
        EXPECT_EQ(desk.preview(folder), "");
        const Guard word = hold(viewing / "Kwitansi K-9 14.05.09.rtf", FILE_SHARE_READ);
        EXPECT_EQ(desk.preview(folder), "");
    }
    for (const auto& [name, kind, removed] : earlier)
        EXPECT_EQ(fs::exists(viewing / name), !removed) << fs::path(name);
    EXPECT_EQ(read(folder / ".." / "luar" / "arsip.rtf"), "arsip");
    EXPECT_EQ(read(folder / "Resipa.rtf"), "K-9\r\n");
    for (const wchar_t* shown : {L"Kwitansi K-9 14.05.09.rtf", L"Kwitansi K-9 14.05.09 (2).rtf"})
        EXPECT_EQ(read(viewing / shown), "K-9\r\n") << fs::path(shown);
}

// The shell is asked with wide paths: a document in a folder that no ANSI code page names opens
// in the application of its type; a type without one, or no document, is told as such.
TEST(WinShell, OpensByTypeWithWidePathsAndTellsWhatFailed) {
    const auto classes = [](const wchar_t* key, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    ASSERT_EQ(classes(L".resipauji", L"ResipaUji"), ERROR_SUCCESS);
    ASSERT_EQ(classes(L"ResipaUji\\shell\\open\\command",
                      L"\"C:\\windows\\system32\\cmd.exe\" /c echo.>\"%1.dibuka\""),
              ERROR_SUCCESS);
    const fs::path folder = L"C:\\Kas #1 100% caf\u00e9 \u6771\u4eac";
    fs::create_directories(folder);
    const std::tuple<const wchar_t*, bool, const char*> cases[] = {
        {L"Kwitansi \u20ac.resipauji", true, nullptr},
        {L"Kwitansi.tanpaaplikasi", true, "tidak ada aplikasi"},
        {L"tidak ada.resipauji", false, "tidak ditemukan"},
    };
    for (const auto& [name, there, cause] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
        const fs::path document = folder / name;
        if (there)
            write(document, "{\\rtf1 x}");
        const Result<> opened = WinShell().openDocument(document, {});
        EXPECT_TRUE(cause ? !opened && opened.failure().text.find(cause) != std::string::npos
                          : bool(opened))
            << (opened ? "" : opened.failure().text);
        // The application is started, not waited for.
        bool started = false;
        for (int i = 0; !cause && !started && i < 300; ++i, Sleep(50))
            started = fs::exists(fs::path(document) += ".dibuka");
        EXPECT_EQ(started, !cause);
    }
}

// A pause hands every waiting message to its window; once the program ends, none at all, and
// a modal loop is told to end too.
TEST(WinEventLoop, APauseDispatchesUntilTheProgramEnds) {
    static int handled = 0;
    WNDCLASSW type{};
    type.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        handled += message == WM_APP;
        return DefWindowProcW(window, message, w, l);
    };
    type.lpszClassName = L"ResipaUji";
    ASSERT_NE(RegisterClassW(&type), 0);
    const HWND window = CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WinEventLoop loop;
    PostMessageW(window, WM_APP, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    loop.runPendingEvents();
    EXPECT_EQ(handled, 2);
    PostMessageW(window, WM_APP, 0, 0);
    loop.endProgram();
    loop.runPendingEvents();
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(handled, 2);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DestroyWindow(window);
}

// The program's folder, not the one it was started from; a folder is no file.
TEST(ProgramFolder, HoldsTheProgramWhereverItIsStartedFrom) {
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    const WinFileSystem files;
    EXPECT_TRUE(files.isFile(programFolder() / "winplatform_tests.exe"));
    EXPECT_FALSE(files.isFile(programFolder()));
    EXPECT_FALSE(files.isFile(programFolder() / "tidak ada.exe"));
}

} // namespace
} // namespace resipa::testing
