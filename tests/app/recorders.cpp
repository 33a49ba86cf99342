#include "tests/app/recorders.h"

namespace resipa::testing {

bool RecordingShell::openDocument(const QString& path) {
    opened.append(path);
    return succeeds;
}

void RecordingMessageBox::inform(QWidget*, const QString& title, const QString& text) {
    shown.append({title, text});
    if (whileShown)
        whileShown();
}

namespace {

class BudgetedOutput final : public OutputFile {
public:
    BudgetedOutput(std::unique_ptr<OutputFile> real, std::size_t budget, QString path)
        : m_real(std::move(real))
        , m_budget(budget)
        , m_path(std::move(path)) {}

    bool write(const char* data, std::size_t size) override {
        if (size > m_budget) {
            m_failed = true;
            return false;
        }
        m_budget -= size;
        return m_real->write(data, size);
    }
    bool commit() override { return !m_failed && m_real->commit(); }
    std::string errorText() const override {
        return QStringLiteral("Berkas gagal ditulis: %1 (disk penuh).").arg(m_path).toStdString();
    }

private:
    std::unique_ptr<OutputFile> m_real;
    std::size_t m_budget;
    QString m_path;
    bool m_failed = false;
};

} // namespace

Opened<OutputFile> FullDiskFileSystem::openForWriting(const QString& path) {
    Opened<OutputFile> opened = m_real.openForWriting(path);
    if (!opened.file || !writeBudget)
        return opened;
    return {std::make_unique<BudgetedOutput>(std::move(opened.file), *writeBudget, path), {}};
}

} // namespace resipa::testing
