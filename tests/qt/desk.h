#pragma once

// The stand-in desktop of the window tests and benchmarks: real files, a fixed clock, comma
// grouping, and a shell, message box and program end that record what they are asked.

#include "platform/platform.h"
#include "qt/qtplatform.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QCoreApplication>
#include <QStringList>

namespace resipa::testing {

using namespace Qt::Literals::StringLiterals;

/// The desktop, recording what the window asks of it. Files are real, except for the faults
/// a test plants: writing fails as on a full disk once a write budget is spent, hard links are
/// refused as on FAT, the opener is missing or fails after the Preview returned.
struct Desk : QtFileSystem, Clock, NumberRules, Shell, MessageBox, EventLoop {
    struct Faults {
        std::optional<std::size_t> writeBudget;
        bool linksRefused = false;
        QString openerMissing; ///< the cause the shell gives at once
        QString openerFails;   ///< the cause the shell gives once the Preview has returned
    };
    QDate day{2025, 5, 9};
    QTime time{14, 5, 9};
    NumberFormat format{",", "."};
    Faults faults;
    QStringList opened;                ///< documents the shell was asked to open
    std::vector<LaterFailure> openers; ///< those asked, to fail later
    QStringList shown;                 ///< message boxes, as "title: text"
    int endRequests = 0;

    Platform platform() { return {*this, *this, *this, *this, *this, *this}; }
    Date today() const override { return dateOf(day); }
    LocalTime now() const override { return localTimeOf({day, time}); }
    NumberFormat numberFormat() const override { return format; }
    Result<> openDocument(const std::filesystem::path& path, LaterFailure failed) override {
        opened << qtPath(path);
        openers.push_back(std::move(failed));
        if (!faults.openerMissing.isEmpty())
            return failure(faults.openerMissing);
        return {};
    }
    std::string viewerAdvice() const override { return std::string(kViewerAdvice); }
    void inform(const std::string& title, const std::string& text) override {
        shown << QString::fromStdString(title + ": " + text);
    }
    void runPendingEvents() override { QCoreApplication::processEvents(); }
    void endProgram() override { ++endRequests; }
    Result<std::unique_ptr<OutputFile>> openForWriting(const std::filesystem::path& path) override {
        Result<std::unique_ptr<OutputFile>> opened = QtFileSystem::openForWriting(path);
        if (opened && (faults.writeBudget || faults.linksRefused))
            *opened = std::make_unique<Faulty>(std::move(*opened), faults, path);
        return opened;
    }

    struct Faulty final : OutputFile {
        Faulty(std::unique_ptr<OutputFile> file, const Faults& faults,
               const std::filesystem::path& path)
            : real(std::move(file))
            , budget(faults.writeBudget.value_or(SIZE_MAX))
            , linksRefused(faults.linksRefused)
            , full(fileFailure(FileStep::Write, path, FileCause::DiskFull)) {}
        Result<> write(const char* data, std::size_t size) override {
            const std::size_t fits = std::min(size, budget);
            budget -= fits;
            if (Result<> written = real->write(data, fits); !written || fits == size)
                return written;
            return full;
        }
        Result<Kept> linkWritten(const PrivateFolder& folder, const std::string& name) override {
            if (linksRefused)
                return Kept::LinkRefused;
            return real->linkWritten(folder, name);
        }
        Result<Kept> copyWritten(const PrivateFolder& at, const std::string& name) override {
            return real->copyWritten(at, name);
        }
        std::future<void> syncInBackground() override { return real->syncInBackground(); }
        Result<> commit() override { return real->commit(); }
        std::unique_ptr<OutputFile> real;
        std::size_t budget;
        bool linksRefused;
        Failure full;
    };
};

} // namespace resipa::testing
