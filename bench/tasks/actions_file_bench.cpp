// Speed of the actions file on a 100,000-row table, against a plain read of the same file.
//
// The counter x_plain_read of BM_ReadDelimited is the time of ReadDelimited divided by the
// time of a plain read of the same bytes into a buffer, both taken in the same iterations as
// the thread's CPU time (user and kernel), which other busy processes on the machine do not
// inflate the way they inflate wall-clock time; read_ms and plain_read_ms are the two times
// per iteration.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/text.h"
#include "file_system_posix.h"
#include "tasks/actions_file.h"

namespace quorvel {
namespace {

constexpr int kRows = 100'000;

struct Sample {
    const char16_t* actionName;
    const char16_t* hotKeyText;
    const char16_t* dest;
    const char16_t* runType;
};

// Tasks as users keep them: program paths, parameters with commas, web addresses, empty
// destinations and the odd non-ASCII name.
const Sample kSamples[] = {
    {u"Run Notepad", u"Ctrl+Alt+N", u"", u"Normal"},
    {u"Run Program", u"Ctrl+Shift+F1", u"C:\\Program Files\\Mozilla Firefox\\firefox.exe",
     u"Maximize"},
    {u"Run Program", u"Ctrl+Alt+E", u"C:\\Tools\\editor.exe -n, \"C:\\Notes\\todo.txt\"",
     u"Normal"},
    {u"Open Web Site", u"Alt+Win+W", u"https://example.org/wiki/Hauptseite?lang=de", u"Normal"},
    {u"Close Program", u"Ctrl+Shift+Alt+Q", u"C:\\Programme\\B\u00fcro\\z\u00e4hler.exe",
     u"Minimze"},
    {u"Open CD Drive", u"Ctrl+Alt+O", u"D:", u"Hide"},
};

TaskTable MakeTable() {
    TaskTable table;
    for (int row = 0; row < kRows; ++row) {
        const Sample& sample = kSamples[row % std::size(kSamples)];
        table.AppendTask({std::u16string(sample.actionName), std::u16string(sample.hotKeyText),
                          std::u16string(sample.dest), std::u16string(sample.runType), row % 17,
                          row % 5 != 0});
    }
    return table;
}

const TaskTable& Table() {
    static const TaskTable table = MakeTable();
    return table;
}

std::u16string FilePath() {
    return (std::filesystem::temp_directory_path() / "quorvel-bench-actions.cfg").u16string();
}

// The file every reading benchmark reads, written on first use.
const std::vector<std::uint8_t>& FileBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        auto files = CreatePosixFileSystem();
        WriteDelimited(Table(), *files, FilePath(), u',', u'|', kUtf16LittleEndianEncoding);
        return files->ReadFile(FilePath());
    }();
    return bytes;
}

// The baseline: the file's bytes into a buffer, nothing more.
std::vector<std::uint8_t> PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    struct stat info {};
    ::fstat(fd, &info);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + total, bytes.size() - total);
        if (got <= 0) break;
        total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes.resize(total);
    return bytes;
}

void SetFileBytesProcessed(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(FileBytes().size()));
}

void BM_PlainRead(benchmark::State& state) {
    FileBytes();
    const std::string path = ToUtf8(FilePath());
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(path));
    SetFileBytesProcessed(state);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_ReadDelimited(benchmark::State& state) {
    FileBytes();
    auto files = CreatePosixFileSystem();
    const std::u16string path = FilePath();
    const std::string plainPath = ToUtf8(path);
    TaskTable table;
    ReadOutcome outcome;
    double reading = 0;
    double plain = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double plainStart = ThreadSeconds();
        benchmark::DoNotOptimize(PlainRead(plainPath));
        plain += ThreadSeconds() - plainStart;
        state.ResumeTiming();

        const double readStart = ThreadSeconds();
        outcome = ReadDelimited(table, *files, path, u',', u'|');
        reading += ThreadSeconds() - readStart;
    }
    if (table.RowCount() != kRows) state.SkipWithError("the table did not come back whole");
    // The reading checks the writer's form all the way only for a file in that form.
    if (!outcome.ownForm) state.SkipWithError("the writer's own file did not read as its own");
    SetFileBytesProcessed(state);
    state.counters["x_plain_read"] = reading / plain;
    const auto perIteration = static_cast<double>(state.iterations()) / 1e3;
    state.counters["read_ms"] = reading / perIteration;
    state.counters["plain_read_ms"] = plain / perIteration;
}
BENCHMARK(BM_ReadDelimited)->Unit(benchmark::kMillisecond);

void BM_DecodeDelimited(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = FileBytes();
    for (auto _ : state) {
        TaskTable table;
        DecodeDelimited(table, bytes, u',', u'|');
        benchmark::DoNotOptimize(table.RowCount());
    }
    SetFileBytesProcessed(state);
}
BENCHMARK(BM_DecodeDelimited)->Unit(benchmark::kMillisecond);

void BM_EncodeDelimited(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeDelimited(Table(), u',', u'|', kUtf16LittleEndianEncoding));
    }
    SetFileBytesProcessed(state);
}
BENCHMARK(BM_EncodeDelimited)->Unit(benchmark::kMillisecond);

// A whole save: the bytes, a temporary file flushed to the disk, and the rename.
void BM_WriteDelimited(benchmark::State& state) {
    auto files = CreatePosixFileSystem();
    const std::u16string path = FilePath() + u".write";
    for (auto _ : state) {
        WriteDelimited(Table(), *files, path, u',', u'|', kUtf16LittleEndianEncoding);
    }
    SetFileBytesProcessed(state);
    std::filesystem::remove(std::filesystem::path(path));
}
BENCHMARK(BM_WriteDelimited)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
