#include "audio_device.h"

bool IsPlayablePcm(const WaveFormat& format) {
    return format.formatTag == WAVE_FORMAT_PCM && (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.samplesPerSec > 0 &&
           format.samplesPerSec <= 384000 &&
           format.blockAlign == format.channels * format.bitsPerSample / 8;
}

WaveFormat MakePcmFormat(WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    WaveFormat format;
    format.formatTag = WAVE_FORMAT_PCM;
    format.channels = channels;
    format.samplesPerSec = samplesPerSec;
    format.bitsPerSample = bitsPerSample;
    format.blockAlign = static_cast<WORD>(channels * bitsPerSample / 8);
    format.avgBytesPerSec = samplesPerSec * format.blockAlign;
    return format;
}
