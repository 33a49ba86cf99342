// The platform layer over real files in a temporary directory: slots, the regular-file test,
// the operator's descriptions of failures, the profile reader.

#include "platform/fileslots.h"
#include "platform/profilereading.h"
#include "platform/qtfilesystem.h"
#include "tests/app/tempdir.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace Qt::Literals::StringLiterals;

class PlatformTest : public ::testing::Test, protected testing::TempDir {
protected:
    QtFileSystem files;
    FileSlots fileSlots{files};
};

TEST_F(PlatformTest, OnlyARegularFileIsAFile) {
    writeFile(u"plain"_s, "x");
    QDir(dir.path()).mkdir(u"folder"_s);
    ASSERT_EQ(mkfifo(pathOf(u"fifo"_s).toLocal8Bit().constData(), 0600), 0);
    QFile::link(pathOf(u"plain"_s), pathOf(u"link"_s));
    const std::pair<const char16_t*, bool> cases[] = {{u"plain", true},
                                                      {u"link", true},
                                                      {u"folder", false},
                                                      {u"fifo", false},
                                                      {u"missing", false}};
    for (const auto& [name, isFile] : cases)
        EXPECT_EQ(files.isFile(pathOf(QString::fromUtf16(name))), isFile)
            << QString::fromUtf16(name).toStdString();
}

TEST_F(PlatformTest, SlotInUseCannotBeOpenedAgain) {
    writeFile(u"template"_s, "t");
    ASSERT_EQ(fileSlots.openForReading(1, pathOf(u"template"_s)), QString());
    const QString failure = fileSlots.openForWriting(1, pathOf(u"out"_s));
    EXPECT_TRUE(failure.contains(u"slot berkas 1"_s)) << failure.toStdString();
    EXPECT_FALSE(fileSlots.openForReading(3, pathOf(u"template"_s)).isEmpty());
    EXPECT_FALSE(fileSlots.inUse(2));
    fileSlots.closeAll();
    EXPECT_FALSE(fileSlots.inUse(1));
    EXPECT_EQ(fileSlots.openForReading(1, pathOf(u"template"_s)), QString());
}

TEST_F(PlatformTest, OutputReplacesItsTargetOnlyWhenCommitted) {
    writeFile(u"doc"_s, "old");
    for (const bool commit : {false, true}) {
        ASSERT_EQ(fileSlots.openForWriting(2, pathOf(u"doc"_s)), QString());
        ASSERT_TRUE(fileSlots.output(2)->write("new", 3));
        EXPECT_EQ(readFile(u"doc"_s), "old");
        if (commit) {
            EXPECT_EQ(fileSlots.commit(2), QString());
        } else {
            fileSlots.close(2);
        }
        EXPECT_FALSE(fileSlots.inUse(2));
        EXPECT_EQ(readFile(u"doc"_s), commit ? "new" : "old");
        EXPECT_EQ(entries(), QStringList{u"doc"_s});
    }
}

TEST_F(PlatformTest, FailuresNameThePathAndTheCause) {
    QDir(dir.path()).mkdir(u"folder"_s);
    const QString missing = pathOf(u"missing/doc"_s);
    const std::pair<QString, const char16_t*> cases[] = {
        {files.openForReading(pathOf(u"absent"_s)).error, u"tidak ada"},
        {files.openForWriting(missing).error, u"tidak ada"},
        {files.openForWriting(pathOf(u"folder"_s)).error, u"direktori"},
    };
    for (const auto& [error, cause] : cases) {
        EXPECT_TRUE(error.contains(QString::fromUtf16(cause))) << error.toStdString();
        EXPECT_TRUE(error.contains(dir.path())) << error.toStdString();
    }
}

TEST_F(PlatformTest, ProfileIsReadThroughSlotOneAndFreesIt) {
    QByteArray profile = "Kota,Solo\r\nNama,CV Contoh\r\n";
    // Whatever follows the items is never needed, however much of it there is.
    profile += QByteArray(3 << 20, 'x');
    writeFile(u"informasi.inf"_s, profile);
    const ProfilPerusahaan values = readProfileFile(fileSlots, pathOf(u"informasi.inf"_s));
    EXPECT_EQ(values[0], "Solo");
    EXPECT_EQ(values[1], "CV Contoh");
    EXPECT_FALSE(fileSlots.inUse(1));
    EXPECT_EQ(readProfileFile(fileSlots, pathOf(u"absent"_s)), ProfilPerusahaan{});
    EXPECT_FALSE(fileSlots.inUse(1));
}

} // namespace
} // namespace resipa
