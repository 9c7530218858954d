#!/usr/bin/env python3
"""Writes the bundled sample tune twice: as a mono 16-bit WAV (soft bell-like notes over a
I-V-vi-IV chord walk, to be encoded to MP3) and as a format-0 MIDI file (the same tune).
Standard library only; every sample and byte follows from the score below, so a run rewrites
the same files.

    sample-music.py WAV_OUT MID_OUT
"""
import math
import struct
import sys
import wave

RATE = 22050
BEAT = 0.5  # seconds: 120 beats a minute, 4 beats a bar

# (MIDI note, start beat, length in beats). Eight bars: C G Am F | C G F-G C.
CHORDS = [
    ((48, 60, 64, 67), 0, 4), ((43, 59, 62, 67), 4, 4), ((45, 60, 64, 69), 8, 4), ((41, 60, 65, 69), 12, 4),
    ((48, 60, 64, 67), 16, 4), ((43, 59, 62, 67), 20, 4), ((41, 60, 65, 69), 24, 2), ((43, 59, 62, 67), 26, 2),
    ((48, 60, 64, 67), 28, 4),
]
MELODY = [
    (76, 0, 1), (79, 1, 1), (81, 2, 0.5), (79, 2.5, 0.5), (76, 3, 1),
    (74, 4, 1), (79, 5, 1), (83, 6, 1.5), (81, 7.5, 0.5),
    (81, 8, 1), (84, 9, 1), (83, 10, 0.5), (81, 10.5, 0.5), (79, 11, 1),
    (77, 12, 1), (76, 13, 0.5), (77, 13.5, 0.5), (81, 14, 2),
    (79, 16, 1), (76, 17, 1), (72, 18, 1), (76, 19, 1),
    (74, 20, 1.5), (71, 21.5, 0.5), (74, 22, 1), (79, 23, 1),
    (77, 24, 1), (81, 25, 1), (79, 26, 1), (74, 27, 1),
    (72, 28, 4),
]
TOTAL_BEATS = 32
TAIL_SECONDS = 1.0  # the last notes ring out


def frequency(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def add_note(buffer, note, start, seconds, level, partials, attack, decay):
    """Adds one note: a few harmonics under a short attack and an exponential decay, with a
    20 ms release at its end so that no note stops with a click."""
    first = int(start * RATE)
    count = min(int((seconds + 0.02) * RATE), len(buffer) - first)
    step = 2.0 * math.pi * frequency(note) / RATE
    for i in range(count):
        t = i / RATE
        envelope = min(1.0, t / attack) * math.exp(-t / decay)
        if t > seconds:
            envelope *= max(0.0, 1.0 - (t - seconds) / 0.02)
        value = 0.0
        for harmonic, amplitude in partials:
            value += amplitude * math.sin(step * harmonic * i)
        buffer[first + i] += level * envelope * value


def render():
    length = int((TOTAL_BEATS * BEAT + TAIL_SECONDS) * RATE)
    buffer = [0.0] * length
    bell = ((1, 1.0), (2, 0.35), (3, 0.12), (4, 0.05))
    pad = ((1, 1.0), (2, 0.2))
    for notes, beat, beats in CHORDS:
        for note in notes:
            level = 0.22 if note < 55 else 0.1
            add_note(buffer, note, beat * BEAT, beats * BEAT, level, pad, 0.06, 1.6)
    for note, beat, beats in MELODY:
        seconds = beats * BEAT + (TAIL_SECONDS if beat + beats >= TOTAL_BEATS else 0.0)
        add_note(buffer, note, beat * BEAT, seconds, 0.3, bell, 0.008, 0.45)
    peak = max(abs(v) for v in buffer) or 1.0
    scale = 0.8 * 32767 / peak
    return b"".join(struct.pack("<h", int(round(v * scale))) for v in buffer)


def write_wav(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(render())


def variable_length(value):
    """A MIDI variable-length quantity: seven bits a byte, most significant first, the high bit
    set on every byte but the last."""
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(groups))


def write_midi(path):
    ticks = 480  # per beat
    events = []  # (tick, order, bytes): note-offs (order 0) before note-ons at the same tick
    for note, beat, beats in MELODY:
        events.append((int(beat * ticks), 1, bytes((0x90, note, 96))))
        events.append((int((beat + beats) * ticks), 0, bytes((0x80, note, 0))))
    for notes, beat, beats in CHORDS:
        for note in notes:
            events.append((int(beat * ticks), 1, bytes((0x91, note, 56))))
            events.append((int((beat + beats) * ticks), 0, bytes((0x81, note, 0))))
    events.sort(key=lambda e: (e[0], e[1]))

    track = bytearray()
    track += b"\x00\xFF\x51\x03" + (500000).to_bytes(3, "big")  # microseconds a beat
    track += b"\x00\xFF\x58\x04\x04\x02\x18\x08"  # 4/4
    track += b"\x00\xC0\x0B"  # channel 1: vibraphone
    track += b"\x00\xC1\x58"  # channel 2: a warm pad
    now = 0
    for tick, _, data in events:
        track += variable_length(tick - now) + data
        now = tick
    track += variable_length(ticks) + b"\xFF\x2F\x00"  # a beat of rest, then the end
    with open(path, "wb") as out:
        out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks))
        out.write(b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: sample-music.py WAV_OUT MID_OUT")
    write_wav(sys.argv[1])
    write_midi(sys.argv[2])
