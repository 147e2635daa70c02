// Runs a fuzz target once over each of its seeds, so that the seeds are an ordinary test: the
// target aborts on an input that breaks its rule. Arguments are files or folders of files.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Seeds(int argc, char** argv) {
    std::vector<std::filesystem::path> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        if (!std::filesystem::is_directory(given)) {
            seeds.push_back(given);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(given)) {
            if (entry.is_regular_file()) seeds.push_back(entry.path());
        }
    }
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    const auto seeds = Seeds(argc, argv);
    for (const auto& seed : seeds) {
        std::ifstream file(seed, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cout << seeds.size() << " seeds passed, 0 failed\n";
    return seeds.empty() ? 1 : 0;
}
