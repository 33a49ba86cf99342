#pragma once

#include "platform/filesystem.h"

#include <array>
#include <filesystem>
#include <memory>

namespace resipa {

/// The program's numbered file slots, 1 and 2, shared by everything that opens a file: slot 1
/// holds the profile at start-up and the template during a Preview, slot 2 the output document.
/// A slot holds one file at a time; opening a slot in use fails.
class FileSlots {
public:
    static constexpr int kCount = 2;

    explicit FileSlots(FileSystem& files);

    Result<> openForReading(int slot, const std::filesystem::path& path);
    Result<> openForWriting(int slot, const std::filesystem::path& path);

    bool inUse(int slot) const;
    /// The file open for reading in the slot, or null.
    InputFile* input(int slot);
    /// The output document open in the slot, or null.
    OutputFile* output(int slot);

    /// Replaces the target of the slot's output document with what was written, and frees the
    /// slot whatever the outcome.
    Result<> commit(int slot);
    /// Frees the slot. An output document not committed is abandoned: its target stays as it was.
    void close(int slot);
    void closeAll();

private:
    struct Slot {
        std::filesystem::path path;
        std::unique_ptr<InputFile> input;
        std::unique_ptr<OutputFile> output;
        bool inUse() const { return input || output; }
    };

    Slot* find(int slot);
    const Slot* find(int slot) const;
    /// The free slot, or why it cannot be used.
    Result<Slot*> claim(int slot);
    template <typename File>
    Result<> place(int slot, const std::filesystem::path& path,
                   Result<std::unique_ptr<File>> (FileSystem::*open)(const std::filesystem::path&),
                   std::unique_ptr<File> Slot::*holder);

    FileSystem& m_files;
    std::array<Slot, kCount> m_slots;
};

} // namespace resipa
