#pragma once

#include "platform/filesystem.h"

namespace resipa {

/// Files on disk: QFile for reading, QSaveFile for writing, so that an output document is
/// replaced in one step or not at all.
class QtFileSystem : public FileSystem {
public:
    bool isFile(const QString& path) const override;
    Result<std::unique_ptr<InputFile>> openForReading(const QString& path) override;
    Result<std::unique_ptr<OutputFile>> openForWriting(const QString& path) override;
    Result<> makePrivateFolder(const QString& path) override;
    void removeFilesWrittenBefore(const QString& folder, const QString& pattern,
                                  const QDateTime& before) override;
};

} // namespace resipa
