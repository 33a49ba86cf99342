#pragma once

// The stand-in desktop of the window tests and benchmarks: real files, a fixed clock, comma
// grouping, and a shell, message box and program end that record what they are asked.

#include "platform/platform.h"
#include "platform/qtfilesystem.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QStringList>

namespace resipa::testing {

using namespace Qt::Literals::StringLiterals;

/// The desktop, recording what the window asks of it. Files are real, except for the faults
/// a test plants: writing fails as on a full disk once a write budget is spent, hard links are
/// refused as on FAT, the opener is missing or fails after the Preview returned.
struct Desk : QtFileSystem, Clock, NumberRules, Shell, MessageBox, ProgramEnd {
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
    QDate today() const override { return day; }
    QDateTime now() const override { return {day, time}; }
    NumberFormat numberFormat() const override { return format; }
    Result<> openDocument(const QString& path, LaterFailure failed) override {
        opened << path;
        openers.push_back(std::move(failed));
        if (!faults.openerMissing.isEmpty())
            return failure(faults.openerMissing);
        return {};
    }
    void inform(QWidget*, const QString& title, const QString& text) override {
        shown << title + u": "_s + text;
    }
    void endProgram() override { ++endRequests; }
    Result<std::unique_ptr<OutputFile>> openForWriting(const QString& path) override {
        Result<std::unique_ptr<OutputFile>> opened = QtFileSystem::openForWriting(path);
        if (opened && (faults.writeBudget || faults.linksRefused))
            *opened = std::make_unique<Faulty>(std::move(*opened), faults, path);
        return opened;
    }

    struct Faulty final : OutputFile {
        Faulty(std::unique_ptr<OutputFile> file, const Faults& faults, const QString& path)
            : real(std::move(file))
            , budget(faults.writeBudget.value_or(SIZE_MAX))
            , linksRefused(faults.linksRefused)
            , full{"Berkas gagal ditulis: " + path.toStdString() + " (disk penuh)."} {}
        Result<> write(const char* data, std::size_t size) override {
            const std::size_t fits = std::min(size, budget);
            budget -= fits;
            if (Result<> written = real->write(data, fits); !written || fits == size)
                return written;
            return full;
        }
        Result<Kept> linkWritten(const PrivateFolder& folder, const QString& name) override {
            if (linksRefused)
                return Kept::LinkRefused;
            return real->linkWritten(folder, name);
        }
        Result<Kept> copyWritten(const PrivateFolder& at, const QString& name) override {
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
