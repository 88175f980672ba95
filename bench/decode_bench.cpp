// Loading the largest pictures: the calendar's 369 x 222 month picture in
// the colour methods the artwork uses. When LUMI_BENCH_PICTURES names a
// folder, its three largest .mg files are timed too.
#include "imaging/surface.h"
#include "mg01_encode.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Painted areas with soft gradients, some detail, and an alpha frame.
Picture MonthPicture() {
    Picture p{369, 222, {}};
    std::mt19937 random(8);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            std::uint32_t band = std::uint32_t((x / 23 + y / 17) % 5) * 40;
            std::uint32_t shade = std::uint32_t(100 + 60 * std::sin(x / 30.0) * std::cos(y / 25.0));
            std::uint32_t c = band | shade << 8 | (band ^ shade) << 16;
            if (random() % 19 == 0) {
                c ^= random() & 0x070707;
            }
            std::uint32_t a = x < 4 || y < 4 || x >= p.width - 4 || y >= p.height - 4 ? 0 : 255;
            p.pixels.push_back(a << 24 | (c & 0xFFFFFF));
        }
    }
    return p;
}

void DecodeBytes(benchmark::State& state, const Bytes& file) {
    CSurface surface;
    for (auto _ : state) {
        benchmark::DoNotOptimize(surface.LoadFromMemory(file.data(), file.size()));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(surface.width) * surface.height * 4);
    state.counters["file bytes"] = double(file.size());
}

void RegisterSynthetic() {
    static const Picture picture = MonthPicture();
    for (const char* method : {"rle", "rle+v", "palette", "palette+h", "lz3", "planar2", ""}) {
        std::string error;
        Bytes file = EncodeMg01(picture, {method, ""}, error);
        std::string name = std::string("Decode/369x222 ") + (*method ? method : "smallest");
        benchmark::RegisterBenchmark(name.c_str(),
                                     [file](benchmark::State& state) { DecodeBytes(state, file); });
    }
}

void RegisterFolder() {
    const char* folder = std::getenv("LUMI_BENCH_PICTURES");
    if (folder == nullptr || !std::filesystem::is_directory(folder)) {
        return;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".mg") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return std::filesystem::file_size(a) > std::filesystem::file_size(b);
    });
    files.resize(std::min<std::size_t>(files.size(), 3));
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string name = "Decode/" + path.filename().string();
        benchmark::RegisterBenchmark(name.c_str(),
                                     [file](benchmark::State& state) { DecodeBytes(state, file); });
    }
}

const bool kRegistered = (RegisterSynthetic(), RegisterFolder(), true);

} // namespace
