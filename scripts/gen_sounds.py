#!/usr/bin/python3
"""Synthesise Kelvaro's built-in sounds into res/sounds/*.wav.

Every sound is built from sine partials, glides and a little seeded noise,
shaped by smooth envelopes that start and end at silence (no clicks), then
scaled to a fixed peak below full scale (no clipping). The output is
byte-for-byte reproducible:
    /usr/bin/python3 scripts/gen_sounds.py
"""

import math
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(HERE, "..", "res", "sounds")

PEAK_DBFS = -3.5
NOISE_SEED = 20240601
TWO_PI = 2.0 * math.pi


# ---------------------------------------------------------------- output

def frameCount(seconds, rate, sampleBytes):
    """Frames for a length; 8-bit mono is kept even so the data chunk needs
    no RIFF pad byte and the header stays the plain 44 bytes."""
    frames = int(round(seconds * rate))
    if sampleBytes == 1 and frames % 2:
        frames += 1
    return frames


def normalise(channels, peakDbfs=PEAK_DBFS):
    peak = max(abs(x) for channel in channels for x in channel)
    gain = 10.0 ** (peakDbfs / 20.0) / peak
    return [[x * gain for x in channel] for channel in channels]


def encodeSample(x, bits):
    if bits == 8:  # unsigned, silence at 128
        return min(255, max(0, int(math.floor(x * 128.0 + 128.5))))
    return min(32767, max(-32768, int(round(x * 32767.0))))


def pcmBytes(channels, bits):
    interleaved = [encodeSample(x, bits)
                   for frame in zip(*channels) for x in frame]
    code = "B" if bits == 8 else "h"
    return struct.pack("<%d%s" % (len(interleaved), code), *interleaved)


def writeWave(path, channels, rate, bits):
    """RIFF header, 16-byte fmt chunk, data chunk; nothing else."""
    data = pcmBytes(channels, bits)
    count = len(channels)
    blockAlign = count * bits // 8
    header = struct.pack("<4sI4s4sIHHIIHH4sI",
                         b"RIFF", 36 + len(data), b"WAVE",
                         b"fmt ", 16, 1, count, rate, rate * blockAlign,
                         blockAlign, bits,
                         b"data", len(data))
    with open(path, "wb") as stream:
        stream.write(header + data)


# ------------------------------------------------------------- envelopes

def rampUp(t, length):
    """Raised-cosine fade-in: 0 at t=0, 1 from t=length on."""
    if t >= length:
        return 1.0
    if t <= 0.0:
        return 0.0
    return 0.5 - 0.5 * math.cos(math.pi * t / length)


def fadeEdges(buffer, rate, fadeIn=0.002, fadeOut=0.05):
    """Guarantee the first and last samples are silent whatever the voices
    left there."""
    count = len(buffer)
    for i in range(count):
        t = i / rate
        tail = (count - 1 - i) / rate
        if t >= fadeIn and tail >= fadeOut:
            continue
        buffer[i] *= rampUp(t, fadeIn) * rampUp(tail, fadeOut)


# ---------------------------------------------------------------- voices

def addNote(buffer, rate, start, freq, amp, partials, decay, attack=0.004,
            pan=None, right=None):
    """A struck, decaying note. partials: (frequency ratio, level, decay
    speed-up). Partials at or above 45 % of the rate are left out so
    nothing aliases. With a right buffer, pan(t) gives the right-channel
    share for the note's start time (equal-power)."""
    usable = [(TWO_PI * freq * ratio, level, speed)
              for ratio, level, speed in partials
              if freq * ratio < 0.45 * rate]
    first = int(round(start * rate))
    last = min(len(buffer), first + int(decay * 7.0 * rate))
    leftGain, rightGain = 1.0, 0.0
    if right is not None:
        angle = pan(start) * math.pi / 2.0
        leftGain, rightGain = math.cos(angle), math.sin(angle)
    for i in range(max(0, first), last):
        t = (i - first) / rate
        value = 0.0
        for omega, level, speed in usable:
            value += level * math.exp(-t * speed / decay) * math.sin(omega * t)
        value *= amp * rampUp(t, attack)
        buffer[i] += value * leftGain
        if right is not None:
            right[i] += value * rightGain


def addGlide(buffer, rate, start, length, freqAt, ampAt, harmonics):
    """A continuous tone whose frequency and level follow functions of the
    time since its start; phase is accumulated so glides stay smooth."""
    first = int(round(start * rate))
    phase = 0.0
    for i in range(max(0, first), min(len(buffer), first +
                                      int(length * rate))):
        t = (i - first) / rate
        phase += TWO_PI * freqAt(t) / rate
        value = 0.0
        for number, level in harmonics:
            value += level * math.sin(number * phase)
        buffer[i] += ampAt(t) * value


def addFilteredNoise(buffer, rate, start, length, centreAt, ampAt, rng,
                     damping=0.5):
    """Noise through a state-variable band-pass whose centre follows
    centreAt(t); damping sets the width, the gain at the centre is 1."""
    first = int(round(start * rate))
    low = band = 0.0
    for i in range(max(0, first), min(len(buffer), first +
                                      int(length * rate))):
        t = (i - first) / rate
        coefficient = 2.0 * math.sin(math.pi * centreAt(t) / rate)
        high = (rng.random() * 2.0 - 1.0) - low - damping * band
        band += coefficient * high
        low += coefficient * band
        buffer[i] += ampAt(t) * damping * band


def envelope(attack, hold, release):
    """Rise, hold, then a raised-cosine fall to silence."""
    def level(t):
        if t < attack:
            return rampUp(t, attack)
        if t < attack + hold:
            return 1.0
        return 1.0 - rampUp(t - attack - hold, release)
    return level


def midiFreq(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


# Timbres: (ratio, level, decay speed-up)
CHIME = [(1.0, 1.0, 1.0), (2.0, 0.35, 1.8), (3.0, 0.12, 2.6),
         (4.2, 0.05, 4.0)]
SOFT_CHIME = [(1.0, 1.0, 1.0), (2.0, 0.18, 2.0), (3.0, 0.05, 3.0)]
BELL = [(1.0, 1.0, 1.0), (2.76, 0.28, 2.2), (5.4, 0.10, 3.5),
        (0.5, 0.12, 0.8)]
MUSIC_BOX = [(1.0, 1.0, 1.0), (2.0, 0.22, 2.0), (3.0, 0.10, 3.0),
             (5.95, 0.04, 5.0)]
SPARKLE = [(1.0, 1.0, 1.0), (2.0, 0.3, 2.0), (3.01, 0.1, 3.0)]
PIANO = [(1.0, 1.0, 1.0), (2.0, 0.4, 1.6), (3.0, 0.15, 2.4),
         (4.0, 0.06, 3.2)]


# ---------------------------------------------------------------- sounds
# Each builder returns a list of channels (lists of floats).

def makeStart(rate, frames):
    """Rising G5 -> D6: bright, the timer is off."""
    out = [0.0] * frames
    addNote(out, rate, 0.0, midiFreq(79), 0.8, CHIME, 0.12)
    addNote(out, rate, 0.13, midiFreq(86), 1.0, CHIME, 0.12)
    return [out]


def makeStop(rate, frames):
    """Falling A5 -> D5, rounder than the start chime."""
    out = [0.0] * frames
    addNote(out, rate, 0.0, midiFreq(81), 1.0, SOFT_CHIME, 0.12)
    addNote(out, rate, 0.15, midiFreq(74), 0.9, SOFT_CHIME, 0.12)
    return [out]


def makeError(rate, frames):
    """Two low, soft buzzes that sag in pitch: "uh-uh"."""
    out = [0.0] * frames
    buzz = [(n, 1.0 / (n * n)) for n in (1, 3, 5, 7, 9)]
    addGlide(out, rate, 0.0, 0.17, lambda t: 196.0 - 60.0 * t,
             envelope(0.012, 0.09, 0.06), buzz)
    addGlide(out, rate, 0.20, 0.25, lambda t: 147.0 - 50.0 * t,
             envelope(0.012, 0.12, 0.11), buzz)
    return [out]


def blip(rate, frames, fromHz, toHz):
    """A quick glide plus a quieter echo; only the direction differs
    between switching on and off."""
    out = [0.0] * frames
    sweep = 0.07

    def freq(t):
        return fromHz * (toHz / fromHz) ** min(1.0, t / sweep)

    def level(t):
        return rampUp(t, 0.005) * math.exp(-t / 0.045)

    tone = [(1, 1.0), (2, 0.15)]
    addGlide(out, rate, 0.0, 0.30, freq, level, tone)
    addGlide(out, rate, 0.14, 0.30, freq, lambda t: 0.3 * level(t), tone)
    return [out]


def makeSwitchOn(rate, frames):
    return blip(rate, frames, 620.0, 1240.0)


def makeSwitchOff(rate, frames):
    return blip(rate, frames, 1240.0, 620.0)


def makeExit(rate, frames):
    """A breathy slide whistle that swoops up a little, then slides all the
    way down, and a wobbly spring "boing" to finish."""
    out = [0.0] * frames
    rng = random.Random(NOISE_SEED)

    def whistleFreq(t):
        if t < 0.12:
            base = 1150.0 + 400.0 * rampUp(t, 0.12)
        else:
            progress = min(1.0, (t - 0.12) / 0.95)
            base = 1550.0 * (330.0 / 1550.0) ** (progress ** 1.3)
        vibrato = 0.012 + 0.035 * min(1.0, t / 1.07)
        return base * (1.0 + vibrato * math.sin(TWO_PI * 6.0 * t))

    whistleLevel = envelope(0.03, 0.9, 0.2)
    addGlide(out, rate, 0.0, 1.13, whistleFreq, whistleLevel,
             [(1, 1.0), (2, 0.06), (3, 0.02)])
    addFilteredNoise(out, rate, 0.0, 1.13, whistleFreq,
                     lambda t: 0.6 * whistleLevel(t), rng, damping=0.08)

    def boingFreq(t):
        return 180.0 * (1.0 + 0.22 * math.exp(-t / 0.2) *
                        math.sin(TWO_PI * 11.0 * t)) * (1.0 - 0.25 * t)

    def boingLevel(t):
        return 0.9 * rampUp(t, 0.008) * math.exp(-t / 0.12)

    addGlide(out, rate, 1.16, 0.48, boingFreq, boingLevel,
             [(1, 1.0), (2, 0.25), (3, 0.08)])
    return [out]


# Two answering phrases of the alarm tune, in eighth notes:
# (start, MIDI note). Phrase A ends open on D, B comes home to C.
PHRASE_A = [(0, 79), (1, 84), (2, 88), (3, 91), (4, 88), (5, 84), (6, 86),
            (8, 89), (9, 88), (10, 86), (11, 83), (12, 86)]
PHRASE_B = [(0, 81), (1, 84), (2, 89), (3, 93), (4, 91), (5, 88), (6, 86),
            (8, 79), (9, 83), (10, 86), (11, 89), (12, 88), (12, 84)]
BASS_A = [(0, 60), (6, 67), (8, 65), (12, 67)]
BASS_B = [(0, 65), (6, 67), (8, 67), (12, 60)]
EIGHTH = 0.175
PHRASE_EIGHTHS = 16
ALARM_PERIOD = 7.4   # both phrases, then a pause of about 1.8 s
PAN_PERIOD = 14.8


def makeEvent1(rate, frames):
    """A music-box tune that repeats with pauses; the melody drifts slowly
    between the speakers and the bass notes drift the other way."""
    left, right = [0.0] * frames, [0.0] * frames
    length = frames / rate

    def melodyPan(t):
        return 0.5 + 0.35 * math.sin(TWO_PI * t / PAN_PERIOD)

    def bassPan(t):
        return 1.0 - melodyPan(t)

    repeat = 0
    while (repeat + 1) * ALARM_PERIOD <= length + 1e-9:
        origin = repeat * ALARM_PERIOD
        for offset, melody, bass in ((0, PHRASE_A, BASS_A),
                                     (PHRASE_EIGHTHS, PHRASE_B, BASS_B)):
            for eighth, note in melody:
                start = origin + (offset + eighth) * EIGHTH
                freq = midiFreq(note)
                decay = 0.5 * math.sqrt(1046.5 / freq)
                addNote(left, rate, start, freq, 0.5, MUSIC_BOX, decay,
                        attack=0.003, pan=melodyPan, right=right)
            for eighth, note in bass:
                start = origin + (offset + eighth) * EIGHTH
                addNote(left, rate, start, midiFreq(note), 0.35, MUSIC_BOX,
                        0.45, attack=0.004, pan=bassPan, right=right)
        repeat += 1
    return [left, right]


def makeEvent2(rate, frames):
    """Ding-dong: E5 then C5 on a bell-like bar."""
    out = [0.0] * frames
    addNote(out, rate, 0.0, midiFreq(76), 0.9, BELL, 0.30)
    addNote(out, rate, 0.42, midiFreq(72), 1.0, BELL, 0.20)
    return [out]


def makeEvent3(rate, frames):
    """Three short beeps."""
    out = [0.0] * frames
    beep = envelope(0.006, 0.075, 0.012)
    for index in range(3):
        addGlide(out, rate, 0.02 + 0.16 * index, 0.095, lambda t: 1480.0,
                 beep, [(1, 1.0), (3, 0.08)])
    return [out]


def makeShortcutDone(rate, frames):
    """A bubble "pop" followed by a soft tap, as of something set down."""
    out = [0.0] * frames
    rng = random.Random(NOISE_SEED + 1)
    addGlide(out, rate, 0.0, 0.09,
             lambda t: 250.0 + 750.0 * math.exp(-t / 0.018),
             lambda t: rampUp(t, 0.003) * math.exp(-t / 0.028),
             [(1, 1.0), (2, 0.1)])
    addGlide(out, rate, 0.13, 0.15, lambda t: 170.0 - 100.0 * t,
             lambda t: 0.8 * rampUp(t, 0.002) * math.exp(-t / 0.03),
             [(1, 1.0)])
    addFilteredNoise(out, rate, 0.13, 0.06, lambda t: 1800.0,
                     lambda t: 0.8 * rampUp(t, 0.001) * math.exp(-t / 0.008),
                     rng, damping=0.7)
    return [out]


def makeSaved(rate, frames):
    """A gently strummed C major chord."""
    out = [0.0] * frames
    for index, note in enumerate((60, 64, 67, 72)):
        addNote(out, rate, 0.018 * index, midiFreq(note), 0.6, PIANO, 0.14,
                attack=0.006)
    return [out]


def makeReset(rate, frames):
    """A swish: noise through a band-pass sweeping from high to low."""
    out = [0.0] * frames
    rng = random.Random(NOISE_SEED + 2)
    addFilteredNoise(out, rate, 0.0, 0.48,
                     lambda t: 3500.0 * (0.12 ** min(1.0, t / 0.38)),
                     envelope(0.12, 0.05, 0.30), rng, damping=0.35)
    return [out]


def makeFilled(rate, frames):
    """A quick rising sparkle of C major notes, each doubled slightly
    out of tune for shimmer."""
    out = [0.0] * frames
    for index, note in enumerate((84, 88, 91, 96, 100)):
        start = 0.045 * index
        freq = midiFreq(note)
        addNote(out, rate, start, freq, 0.5, SPARKLE, 0.12, attack=0.002)
        addNote(out, rate, start + 0.003, freq * 1.004, 0.3, SPARKLE, 0.12,
                attack=0.002)
    return [out]


# file, builder, seconds, rate, bits
SOUNDS = [
    ("start.wav", makeStart, 0.55, 22050, 8),
    ("stop.wav", makeStop, 0.57, 22050, 8),
    ("error.wav", makeError, 0.45, 22050, 8),
    ("switch_on.wav", makeSwitchOn, 0.55, 22050, 8),
    ("switch_off.wav", makeSwitchOff, 0.57, 22050, 8),
    ("exit.wav", makeExit, 1.66, 22050, 16),
    ("event1.wav", makeEvent1, 51.8, 11025, 8),
    ("event2.wav", makeEvent2, 1.0, 22050, 16),
    ("event3.wav", makeEvent3, 0.7, 22050, 16),
    ("shortcut_done.wav", makeShortcutDone, 0.5, 22050, 8),
    ("saved.wav", makeSaved, 0.5, 22050, 8),
    ("reset.wav", makeReset, 0.5, 22050, 8),
    ("filled.wav", makeFilled, 0.5, 22050, 8),
]


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for name, build, seconds, rate, bits in SOUNDS:
        frames = frameCount(seconds, rate, bits // 8)
        channels = build(rate, frames)
        for channel in channels:
            fadeEdges(channel, rate)
        path = os.path.join(OUT_DIR, name)
        writeWave(path, normalise(channels), rate, bits)
        print("gen_sounds: %-18s %d ch %5d Hz %2d-bit %6.3f s" % (
            name, len(channels), rate, bits, frames / rate))


if __name__ == "__main__":
    main()
