#!/usr/bin/env python3
"""Writes the demo sounds into data/sound/: short samples and two music tracks made of tones and
chords, 22050 Hz mono 16-bit WAV. The output is the same on every run."""

import math
import os
import struct
import sys
import wave

RATE = 22050


def envelope(i, n, attack, release):
    """Linear attack and release in samples, so nothing clicks at the ends."""
    a = min(1.0, i / attack) if attack else 1.0
    r = min(1.0, (n - 1 - i) / release) if release else 1.0
    return max(0.0, min(a, r))


def tone(freqs, seconds, level=0.5, attack=0.005, release=0.02, decay=0.0):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        v = sum(math.sin(2 * math.pi * f * t) for f in freqs) / len(freqs)
        v *= level * envelope(i, n, int(attack * RATE), int(release * RATE))
        if decay:
            v *= math.exp(-decay * t)
        out.append(v)
    return out


def sweep(f0, f1, seconds, level=0.5):
    n = int(RATE * seconds)
    out = []
    phase = 0.0
    for i in range(n):
        f = f0 + (f1 - f0) * i / n
        phase += 2 * math.pi * f / RATE
        out.append(level * math.sin(phase) * envelope(i, n, int(0.005 * RATE), int(0.03 * RATE)))
    return out


def noise(seconds, level=0.3, seed=12345):
    """Decaying noise from a small linear congruential generator."""
    n = int(RATE * seconds)
    out = []
    state = seed
    smooth = 0.0
    for i in range(n):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        smooth = 0.7 * smooth + 0.3 * ((state / 0x3FFFFFFF) - 1.0)
        out.append(level * smooth * math.exp(-8.0 * i / RATE) * envelope(i, n, 40, 200))
    return out


def hum(seconds, level=0.12):
    """A low motor hum of whole cycles, so that it loops without a click."""
    n = int(RATE * seconds)
    return [level * (0.7 * math.sin(2 * math.pi * 100 * i / RATE) + 0.3 * math.sin(2 * math.pi * 200 * i / RATE))
            * (0.85 + 0.15 * math.sin(2 * math.pi * 4 * i / RATE)) for i in range(n)]


def bubbling(seconds, level=0.15, seed=777):
    """Short rising blips at uneven times over a faint rush; silent at both ends, so it loops."""
    n = int(RATE * seconds)
    out = [0.0] * n
    state = seed
    start = 200
    while start < n - 2000:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        length = 600 + state % 900
        f0 = 500 + state % 700
        phase = 0.0
        for i in range(length):
            phase += 2 * math.pi * (f0 + 1.5 * i) / RATE
            out[start + i] += level * math.sin(phase) * math.sin(math.pi * i / length)
        start += length + (state >> 8) % 2500
    return out


def concat(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def chords(progression, beat, level=0.35):
    """One chord per beat; each chord fades in and out a little so that the loop point is smooth."""
    return concat(*[tone(c, beat, level, attack=0.02, release=0.05) for c in progression])


def note(name):
    names = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    octave = int(name[-1])
    return 440.0 * 2 ** ((names[name[0]] + 12 * (octave - 4)) / 12)


def chord(*names):
    return [note(n) for n in names]


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sound")
    if len(sys.argv) > 1:
        root = sys.argv[1]
    os.makedirs(root, exist_ok=True)
    sounds = {
        "click.wav": tone([1200], 0.05, 0.5, attack=0.001, release=0.03, decay=40),
        "pop.wav": sweep(300, 900, 0.12),
        "chime.wav": tone([880, 1320, 1760], 0.6, 0.5, attack=0.002, release=0.2, decay=5),
        "splash.wav": noise(0.4),
        "coin.wav": concat(tone([988], 0.07, 0.4, release=0.01), tone([1319], 0.25, 0.4, decay=8)),
        "menu.wav": chords([chord("C4", "E4", "G4"), chord("A3", "C4", "E4"),
                            chord("F3", "A3", "C4"), chord("G3", "B3", "D4")], 0.75),
        "compressor_work.wav": hum(1.0),
        "filter_work.wav": bubbling(1.5),
        "game.wav": chords([chord("D4", "F4", "A4"), chord("G3", "B3", "D4"),
                            chord("C4", "E4", "G4"), chord("A3", "C4", "E4")], 0.6),
    }
    for name, samples in sounds.items():
        write(os.path.join(root, name), samples)


if __name__ == "__main__":
    main()
