// The core's hot routines: the amount in words, the grouping rule and line filling.

#include "bench/receiptvalues.h"
#include "bench/templategen.h"
#include "document/linefiller.h"
#include "document/templatecopy.h"
#include "konversi/amount.h"
#include "konversi/amountfield.h"
#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using resipa::Amount;

constexpr std::int64_t kLargestSpelledRupiah = 999'999'999'999;
constexpr std::int64_t kTenThousandthsPerRupiah = 10'000;

// A fixed set, so every run measures the same amounts; a power of two to index cheaply.
std::vector<Amount> randomAmounts() {
    std::mt19937_64 generator(20250509);
    std::uniform_int_distribution<std::int64_t> rupiah(0, kLargestSpelledRupiah);
    std::vector<Amount> amounts(4096);
    for (Amount& amount : amounts)
        amount = Amount::fromTenThousandths(rupiah(generator) * kTenThousandthsPerRupiah);
    return amounts;
}

// What the amount field holds while an operator types: grouped as the field regroups it,
// a pasted ungrouped number, and texts that are not (yet) numbers.
const std::vector<std::string> kFieldTexts{
    "0",       "7",         "25",         "150",         "1,500",           "15,000",
    "250,000", "1,500,000", "12,345,678", "750,000,000", "999,999,999,999", "1234567",
    "12.5",    "-",         "5%"};

void BM_KonversiTerbilang(benchmark::State& state) {
    const std::vector<Amount> amounts = randomAmounts();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string words = resipa::KonversiTerbilang(amounts[i++ & (amounts.size() - 1)]);
        benchmark::DoNotOptimize(words);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KonversiTerbilang);

template <typename Routine>
void runOnFieldTexts(benchmark::State& state, Routine routine) {
    const resipa::NumberFormat format = resipa::bench::commaGrouping();
    std::size_t i = 0;
    for (auto _ : state) {
        auto result = routine(kFieldTexts[i], format);
        benchmark::DoNotOptimize(result);
        i = i + 1 == kFieldTexts.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Regroup(benchmark::State& state) {
    runOnFieldTexts(state, resipa::regroup);
}
BENCHMARK(BM_Regroup);

void BM_ReadAmount(benchmark::State& state) {
    runOnFieldTexts(state, resipa::readAmount);
}
BENCHMARK(BM_ReadAmount);

// Everything the amount field computes for one change, without the widgets.
void BM_AmountFieldChange(benchmark::State& state) {
    runOnFieldTexts(state, [](std::string_view text, const resipa::NumberFormat& format) {
        const std::string grouped = resipa::regroup(text, format);
        return resipa::wordsForAmountText(grouped, format);
    });
}
BENCHMARK(BM_AmountFieldChange);

void fillLines(benchmark::State& state, const std::vector<std::string>& lines) {
    const resipa::LineFiller filler(resipa::bench::sampleReceiptValues());
    std::int64_t bytesPerPass = 0;
    for (const std::string& line : lines)
        bytesPerPass += static_cast<std::int64_t>(line.size());
    std::string out;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            filler.fill(line, out);
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytesPerPass);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void BM_LineFill_WithPlaceholders(benchmark::State& state) {
    fillLines(state, resipa::bench::sampleTemplateLines().withPlaceholders);
}
BENCHMARK(BM_LineFill_WithPlaceholders);

void BM_LineFill_WithoutPlaceholders(benchmark::State& state) {
    fillLines(state, resipa::bench::sampleTemplateLines().withoutPlaceholders);
}
BENCHMARK(BM_LineFill_WithoutPlaceholders);

// A generated template held in memory, handed out as a file would be.
struct MemorySource : resipa::ByteSource {
    explicit MemorySource(const std::string& bytes)
        : bytes(bytes) {}
    resipa::Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min(capacity, bytes.size() - pos);
        std::memcpy(buffer, bytes.data() + pos, count);
        pos += count;
        return count;
    }
    const std::string& bytes;
    std::size_t pos = 0;
};

// Counts what it is given: the disk is not what is measured here.
struct CountingSink : resipa::ByteSink {
    resipa::Result<> write(const char*, std::size_t size) override {
        bytes += size;
        return {};
    }
    std::size_t bytes = 0;
};

// The Preview's work on a 50 MB template without the window and the disk: joined, cut into
// pieces, filled and written.
void BM_FillTemplate(benchmark::State& state, resipa::bench::TemplateShape shape) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("resipa-bench-" + std::to_string(static_cast<int>(shape)) + ".rtf");
    if (!resipa::bench::writeReceiptTemplate(path.string(), 50'000'000, shape)) {
        state.SkipWithError("cannot write the template");
        return;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string templ{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    const resipa::ReceiptValues values = resipa::bench::sampleReceiptValues();
    for (auto _ : state) {
        MemorySource source(templ);
        CountingSink sink;
        resipa::TemplateCopy copy(source, sink, values);
        for (resipa::Result<bool> more = true; (more = copy.copyNext()) && *more;) {
        }
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(templ.size()));
}
BENCHMARK_CAPTURE(BM_FillTemplate, logo_50MB, resipa::bench::TemplateShape::Logo)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillTemplate, dense_50MB, resipa::bench::TemplateShape::Dense)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillTemplate, brackets_50MB, resipa::bench::TemplateShape::Brackets)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillTemplate, names_50MB, resipa::bench::TemplateShape::Names)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
