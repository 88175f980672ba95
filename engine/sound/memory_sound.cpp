#include "memory_sound.h"

#include "wave_source.h"

#include "data/mg_file.h"
#include "platform/platform.h"

#include <vector>

namespace {

// Whether the image opens as a source of PCM.
bool Decodes(const std::uint8_t* image, DWORD size) {
    WaveSource source;
    source.SetMemoryImage(image, size);
    return source.Open(nullptr, WaveSource::kModeMemory) != 0;
}

} // namespace

CMemorySound::CMemorySound(std::unique_ptr<std::uint8_t[]> data, DWORD size)
    : data_(std::move(data)), size_(size) {}

CMemorySound* CMemorySound::Create(const char16_t* name) {
    CMGFile* files = CMGFile::Service();
    if (files == nullptr) {
        return nullptr;
    }
    DWORD size = 0;
    std::unique_ptr<std::uint8_t[]> data(files->LoadFile(name, &size));
    if (data == nullptr || !Decodes(data.get(), size)) {
        return nullptr;
    }
    return new CMemorySound(std::move(data), size);
}

int CMemorySound::Play(int /*priority*/, DWORD flags) {
    looping_ = flags == 1 ? 1 : 0;
    // The voice takes PCM: the image is decoded here, all of it, so an
    // estimate of the decoded length never cuts the sound short.
    WaveSource source;
    source.SetMemoryImage(data_.get(), size_);
    if (!source.Open(nullptr, WaveSource::kModeMemory)) {
        return 0;
    }
    constexpr DWORD kStep = 64 * 1024;
    std::vector<std::uint8_t> pcm;
    for (DWORD got = kStep; got == kStep;) {
        std::size_t at = pcm.size();
        pcm.resize(at + kStep);
        got = source.Read(pcm.data() + at, kStep);
        pcm.resize(at + got);
    }
    DWORD options = SND_MEMORY | SND_NODEFAULT | SND_ASYNC | (looping_ ? SND_LOOP : 0);
    return Sys().Audio().PlaySound(source.PcmFormat(), pcm, options) ? 1 : 0;
}

void CMemorySound::Stop() {
    Sys().Audio().StopSounds();
    looping_ = 0;
}
