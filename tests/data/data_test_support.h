// Shared set-up of the data layer tests: a headless platform with its own
// folder tree (program folder, data home) and small file helpers.
#pragma once

#include "base/text16.h"
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteFileText(const std::filesystem::path& path, std::string_view text) {
    WriteFileBytes(path, ToBytes(text));
}

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadFileText(const std::filesystem::path& path) {
    Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline std::u16string U16(const std::filesystem::path& path) {
    return Utf8ToUtf16(path.string());
}

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallPlatform(&platform);
        programFolder = std::filesystem::path(Utf16ToUtf8(platform.ExecutablePath())).parent_path();
        dataHome = Utf16ToUtf8(platform.DataHome());
        work = programFolder.parent_path() / "work";
        std::filesystem::create_directories(work);
    }
    void TearDown() override { InstallPlatform(nullptr); }

    HeadlessPlatform platform;
    std::filesystem::path programFolder; // holds the executable "LumiHeadless"
    std::filesystem::path dataHome;
    std::filesystem::path work; // scratch files of the test
};
