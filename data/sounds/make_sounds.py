#!/usr/bin/env python3
"""Makes the suite's sounds: the click "snd_se001.wav" and the clock's 65
character voices (60 hourly chimes, 5 alarm calls).

    make_sounds.py click OUTDIR
    make_sounds.py voices OUTDIR

Every file is 16-bit PCM mono RIFF WAVE at 22050 Hz. A voice is the
character's own little bell motif, synthesised here, followed by the
character speaking (espeak-ng, Mandarin, with the character's variant,
pitch and speed). An alarm call is a longer wake-up melody and the call
said three times, at least 8 seconds in all. Every file is brought to the
same loudness (RMS) and kept below full scale, so nothing clips.
Only files older than this script are made again.
"""

import array
import math
import os
import random
import subprocess
import sys
import tempfile
import wave

RATE = 22050
TARGET_RMS_DB = -19.0   # loudness every voice is brought to
PEAK_LIMIT = 0.89       # about -1 dBFS
ALARM_MIN_SECONDS = 8.5

HOURS = ["十二", "一", "两", "三", "四", "五", "六", "七", "八", "九", "十", "十一"]

# name: (espeak-ng voice, pitch 0-99, words per minute, bell, chime line, alarm line, alarm file number)
CHARACTERS = {
    "pell": ("cmn+f3", 78, 165, "bright", "{h}点了哦！", "早上好！快起床啦！", 50),
    "dara": ("cmn+f4", 52, 135, "soft", "现在{h}点了，休息一下吧。", "该起床了，新的一天开始啦。", 50),
    "sorn": ("cmn+m3", 68, 180, "march", "报告！{h}点了！", "起床！起床！太阳晒屁股啦！", 52),
    "hanet": ("cmn+m7", 32, 120, "deep", "嗯，已经{h}点了。", "时间到了，请起床吧。", 49),
    "brisa": ("cmn+f5", 60, 190, "sparkle", "{h}点了，加油！", "闹钟响啦，快醒醒！", 47),
}

# Bell motifs: (MIDI note, start beat) with a beat length in seconds, and the
# partials of the bell (ratio, level, decay per second).
BELLS = {
    "bright": (0.16, [(84, 0), (88, 1), (91, 2)], [(1, 1.0, 4.0), (2.0, 0.35, 7.0), (3.01, 0.15, 10.0)]),
    "soft": (0.24, [(79, 0), (76, 1), (72, 2)], [(1, 1.0, 3.0), (2.0, 0.2, 6.0), (2.76, 0.08, 9.0)]),
    "march": (0.13, [(79, 0), (79, 1), (84, 2)], [(1, 1.0, 6.0), (2.0, 0.45, 9.0), (3.0, 0.2, 12.0)]),
    "deep": (0.32, [(67, 0), (60, 1.2)], [(1, 1.0, 2.0), (2.0, 0.4, 3.5), (2.4, 0.25, 4.5), (3.0, 0.2, 6.0)]),
    "sparkle": (0.11, [(88, 0), (91, 1), (96, 2), (91, 3)], [(1, 1.0, 6.0), (3.0, 0.25, 12.0), (4.2, 0.1, 16.0)]),
}
# Wake-up melodies: notes as (MIDI note, beats) played by the character's bell.
MELODIES = {
    "bright": [(72, 1), (76, 1), (79, 1), (84, 2), (79, 1), (84, 3)],
    "soft": [(67, 2), (72, 2), (76, 2), (74, 2), (72, 4)],
    "march": [(67, 1), (67, 1), (72, 1), (72, 1), (76, 2), (72, 2), (79, 4)],
    "deep": [(60, 2), (64, 2), (67, 2), (72, 4), (67, 2), (60, 4)],
    "sparkle": [(84, 1), (88, 1), (91, 1), (96, 1), (91, 1), (88, 1), (91, 4)],
}


def note_hz(midi):
    return 440.0 * 2 ** ((midi - 69) / 12)


def bell_note(hz, partials, seconds):
    n = int(seconds * RATE)
    out = [0.0] * n
    for ratio, level, decay in partials:
        f = hz * ratio
        if f >= RATE / 2:
            continue
        w = 2 * math.pi * f / RATE
        k = math.exp(-decay / RATE)
        amp = level
        attack = int(0.004 * RATE)
        for i in range(n):
            env = amp * (i / attack if i < attack else 1.0)
            out[i] += env * math.sin(w * i)
            amp *= k
    return out


def mix_into(target, source, at):
    end = at + len(source)
    if end > len(target):
        target.extend([0.0] * (end - len(target)))
    for i, v in enumerate(source):
        target[at + i] += v


def motif(style):
    beat, notes, partials = BELLS[style]
    out = []
    for midi, start in notes:
        mix_into(out, bell_note(note_hz(midi), partials, 1.2), int(start * beat * RATE))
    return out


def melody(style, repeats=2):
    beat = {"bright": 0.18, "soft": 0.22, "march": 0.16, "deep": 0.24, "sparkle": 0.14}[style]
    partials = BELLS[style][2]
    out = []
    t = 0.0
    for _ in range(repeats):
        for midi, beats in MELODIES[style]:
            mix_into(out, bell_note(note_hz(midi), partials, 1.4), int(t * RATE))
            t += beats * beat
        t += 2 * beat
    return out


def speak(voice, pitch, speed, line):
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "say.wav")
        subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", path, line],
                       check=True)
        with wave.open(path, "rb") as w:
            if w.getframerate() != RATE or w.getnchannels() != 1 or w.getsampwidth() != 2:
                raise RuntimeError("espeak-ng did not write 22050 Hz mono 16-bit audio")
            samples = array.array("h", w.readframes(w.getnframes()))
    values = [s / 32768.0 for s in samples]
    # trim the silence espeak-ng leaves around the speech
    loud = [i for i, v in enumerate(values) if abs(v) > 0.01]
    if not loud:
        raise RuntimeError(f"espeak-ng said nothing for {line!r}")
    return values[max(0, loud[0] - 200):loud[-1] + 400]


def fade(samples, seconds=0.01):
    n = min(len(samples) // 2, int(seconds * RATE))
    for i in range(n):
        samples[i] *= i / n
        samples[-1 - i] *= i / n
    return samples


def normalise(samples):
    rms = math.sqrt(sum(v * v for v in samples) / len(samples))
    gain = 10 ** (TARGET_RMS_DB / 20) / rms
    peak = max(abs(v) for v in samples)
    gain = min(gain, PEAK_LIMIT / peak)
    return [v * gain for v in samples]


def write_wav(path, samples):
    pcm = array.array("h", (max(-32767, min(32767, int(round(v * 32767)))) for v in samples))
    tmp = path + ".tmp"
    with wave.open(tmp, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    os.replace(tmp, path)


def chime(name, hour_index):
    voice, pitch, speed, bell, line, _, _ = CHARACTERS[name]
    bell_part = [v * 0.5 for v in motif(bell)]
    said = speak(voice, pitch, speed, line.format(h=HOURS[hour_index]))
    out = list(bell_part)
    mix_into(out, said, int(BELLS[bell][0] * len(BELLS[bell][1]) * RATE + 0.25 * RATE))
    out.extend([0.0] * int(0.2 * RATE))
    return fade(normalise(out))


def alarm(name):
    voice, pitch, speed, bell, _, line, _ = CHARACTERS[name]
    out = [v * 0.5 for v in melody(bell, repeats=1)]
    said = speak(voice, pitch, speed, line)
    at = len(out) + int(0.2 * RATE)
    calls = 3 if len(out) + 3 * (len(said) + 0.5 * RATE) < 11 * RATE else 2
    for _ in range(calls):
        mix_into(out, said, at)
        at += len(said) + int(0.5 * RATE)
    if len(out) < ALARM_MIN_SECONDS * RATE:
        mix_into(out, [v * 0.5 for v in motif(bell)], at)
    if len(out) < ALARM_MIN_SECONDS * RATE:
        out.extend([0.0] * (int(ALARM_MIN_SECONDS * RATE) - len(out)))
    return fade(normalise(out))


def click():
    """A short, soft wooden tick: a damped tone with a breath of noise."""
    rng = random.Random(7)
    n = int(0.06 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * 90)
        tone = math.sin(2 * math.pi * 1320 * t) * 0.6 + math.sin(2 * math.pi * 2650 * t) * 0.2
        noise = (rng.random() * 2 - 1) * math.exp(-t * 400) * 0.3
        out.append((tone + noise) * env * (min(1.0, i / 30)))
    peak = max(abs(v) for v in out)
    return fade([v * 0.5 / peak for v in out], 0.004)


def voice_files():
    for name, voice in CHARACTERS.items():
        for k in range(12):
            yield f"{name}-{23 if k == 0 else 11 + k}.wav", (lambda n=name, k=k: chime(n, k))
        yield f"{name}-{voice[6]}.wav", (lambda n=name: alarm(n))


def main(argv):
    if len(argv) != 2 or argv[0] not in ("click", "voices"):
        print(__doc__, file=sys.stderr)
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    script_time = os.stat(__file__).st_mtime_ns
    jobs = [("snd_se001.wav", click)] if argv[0] == "click" else list(voice_files())
    for file_name, make in jobs:
        target = os.path.join(outdir, file_name)
        if os.path.exists(target) and os.stat(target).st_mtime_ns > script_time:
            continue
        write_wav(target, make())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
