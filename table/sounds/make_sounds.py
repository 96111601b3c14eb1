#!/usr/bin/env python3
"""Synthesises the game's sound effects as small WAV files.

Run from anywhere: python3 make_sounds.py [output folder]. The output is
deterministic (fixed random seeds), so re-running it leaves the committed
files unchanged. Only the standard library is used.
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050
TAU = 2.0 * math.pi
# Partials above this would fold back as false, off-key tones.
NYQUIST_LIMIT = 0.45 * RATE


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def mix(into, sound, start=0.0, gain=1.0):
    """Adds sound into the buffer at a start time, growing the buffer if needed."""
    offset = int(round(start * RATE))
    end = offset + len(sound)
    if end > len(into):
        into.extend([0.0] * (end - len(into)))
    for i, v in enumerate(sound):
        into[offset + i] += v * gain
    return into


def envelope(n, attack, decay_rate=None, release=0.01, hold=None):
    """Attack ramp, optional exponential decay, and a short release at the end."""
    env = []
    a = max(1, int(attack * RATE))
    r = max(1, int(release * RATE))
    for i in range(n):
        t = i / RATE
        e = min(1.0, i / a)
        if decay_rate is not None:
            e *= math.exp(-decay_rate * max(0.0, t - attack))
        if i > n - r:
            e *= (n - i) / r
        env.append(e)
    return env


def tone(freq, seconds, partials=((1, 1.0),), attack=0.01, decay=None, release=0.03,
         vibrato=0.0, vib_rate=5.5, glide_to=None):
    """Additive tone; partials are (multiple, amplitude); optional glide and vibrato."""
    n = int(round(seconds * RATE))
    env = envelope(n, attack, decay, release)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = freq
        if glide_to is not None:
            f = freq * (glide_to / freq) ** (i / max(1, n - 1))
        f *= 1.0 + vibrato * math.sin(TAU * vib_rate * t)
        phase += TAU * f / RATE
        v = 0.0
        for mult, amp in partials:
            if mult * f < NYQUIST_LIMIT:
                v += amp * math.sin(mult * phase)
        out.append(v * env[i])
    return out


def noise(seconds, rng, lowpass=0.3, highpass=0.0, decay=30.0, attack=0.001):
    """Filtered white noise with an exponential decay."""
    n = int(round(seconds * RATE))
    env = envelope(n, attack, decay, 0.005)
    out = []
    lp = 0.0
    hp_prev_in = 0.0
    hp = 0.0
    for i in range(n):
        x = rng.uniform(-1.0, 1.0)
        lp += lowpass * (x - lp)
        y = lp
        if highpass > 0.0:
            hp = highpass * (hp + y - hp_prev_in)
            hp_prev_in = y
            y = hp
        out.append(y * env[i])
    return out


def clink(freq, seconds, rng):
    """A small metallic strike: inharmonic partials with fast, unequal decays."""
    n = int(round(seconds * RATE))
    ratios = ((1.0, 1.0, 18.0), (2.76, 0.6, 26.0), (5.4, 0.35, 40.0), (8.93, 0.2, 55.0))
    out = [0.0] * n
    for ratio, amp, dec in ratios:
        f = freq * ratio * rng.uniform(0.995, 1.005)
        ph = rng.uniform(0.0, TAU)
        if f >= NYQUIST_LIMIT:
            continue
        for i in range(n):
            t = i / RATE
            out[i] += amp * math.sin(ph + TAU * f * t) * math.exp(-dec * t)
    click = noise(0.01, rng, lowpass=0.9, decay=400.0)
    mix(out, click, 0.0, 0.4)
    return out[:n]


def brass(freq, seconds, attack=0.04, vibrato=0.004):
    partials = ((1, 1.0), (2, 0.7), (3, 0.5), (4, 0.32), (5, 0.2), (6, 0.12), (7, 0.07))
    return tone(freq, seconds, partials, attack=attack, release=0.06, vibrato=vibrato,
                vib_rate=5.0)


def bell(freq, seconds, decay=5.0):
    partials = ((1, 1.0), (2.0, 0.45), (3.01, 0.25), (4.2, 0.12), (5.43, 0.06))
    return tone(freq, seconds, partials, attack=0.004, decay=decay, release=0.05)


def note(name):
    """Frequency of a note name such as 'C5' or 'F#4' (A4 = 440 Hz)."""
    names = {'C': -9, 'C#': -8, 'D': -7, 'D#': -6, 'E': -5, 'F': -4, 'F#': -3, 'G': -2,
             'G#': -1, 'A': 0, 'A#': 1, 'B': 2}
    pitch, octave = name[:-1], int(name[-1])
    return 440.0 * 2.0 ** ((names[pitch] + 12 * (octave - 4)) / 12.0)


def fit(samples, seconds, peak=0.7):
    """Trims or pads to the length, fades the ends and normalises to the peak."""
    n = int(round(seconds * RATE))
    samples = (samples + [0.0] * n)[:n]
    fade = int(0.004 * RATE)
    for i in range(fade):
        samples[i] *= i / fade
        samples[n - 1 - i] *= i / fade
    top = max(abs(v) for v in samples) or 1.0
    return [v * peak / top for v in samples]


# --- the sounds -------------------------------------------------------------

def wrong_card(rng):
    # Two short, soft low tones going down: "uh-uh".
    out = []
    hollow = ((1, 1.0), (3, 0.3), (5, 0.12))
    mix(out, tone(311.0, 0.085, hollow, attack=0.005, release=0.02), 0.0)
    mix(out, tone(233.0, 0.10, hollow, attack=0.005, release=0.04), 0.095)
    return fit(out, 0.2, 0.6)


def play_card(rng):
    # A card snapped onto the felt: a bright crack over a soft thump.
    out = noise(0.3, rng, lowpass=0.55, highpass=0.9, decay=45.0)
    mix(out, tone(110.0, 0.12, ((1, 1.0), (2, 0.3)), attack=0.002, decay=35.0), 0.0, 0.5)
    mix(out, noise(0.05, rng, lowpass=0.25, decay=80.0), 0.045, 0.35)
    return fit(out, 0.3, 0.65)


def pay_pot(rng):
    # A coin dropped onto a small pile: two clinks and a settling rattle.
    out = []
    mix(out, clink(2093.0, 0.5, rng), 0.0)
    mix(out, clink(2637.0, 0.45, rng), 0.16, 0.7)
    mix(out, clink(2349.0, 0.3, rng), 0.31, 0.4)
    mix(out, clink(2793.0, 0.25, rng), 0.40, 0.25)
    return fit(out, 0.7, 0.6)


def other_players(rng):
    # An opponent slides a card in: a short swish ending in a light tap.
    out = []
    n = int(0.22 * RATE)
    swish = noise(0.22, rng, lowpass=0.35, highpass=0.8, decay=None, attack=0.12)
    for i in range(n):
        swish[i] *= math.sin(math.pi * i / n)
    mix(out, swish, 0.0, 0.8)
    mix(out, noise(0.15, rng, lowpass=0.6, highpass=0.85, decay=50.0), 0.2)
    mix(out, tone(150.0, 0.1, ((1, 1.0),), attack=0.002, decay=40.0), 0.2, 0.4)
    return fit(out, 0.4, 0.55)


def user_won(rng):
    # A short brass fanfare: rising call, answer, and a held major chord.
    out = []
    seq = (('G4', 0.0, 0.16), ('G4', 0.18, 0.12), ('G4', 0.32, 0.12), ('C5', 0.46, 0.5),
           ('G4', 1.0, 0.2), ('C5', 1.22, 0.2), ('E5', 1.44, 0.35))
    for name, start, length in seq:
        mix(out, brass(note(name), length + 0.04), start, 0.5)
    for name in ('C4', 'G4', 'C5', 'E5', 'G5'):
        mix(out, brass(note(name), 1.65, attack=0.08, vibrato=0.006), 1.82, 0.32)
    mix(out, noise(1.2, rng, lowpass=0.5, highpass=0.95, decay=3.5), 1.82, 0.15)
    return fit(out, 3.5, 0.7)


def others_won(rng):
    # The sad trombone: three falling notes and a long, wobbling low one.
    out = []
    trombone = ((1, 1.0), (2, 0.55), (3, 0.35), (4, 0.2), (5, 0.1))
    seq = (('D4', 0.0, 0.3), ('C#4', 0.34, 0.3), ('C4', 0.68, 0.3))
    for name, start, length in seq:
        mix(out, tone(note(name) / 2, length, trombone, attack=0.05, release=0.06,
                      vibrato=0.004), start, 0.5)
    mix(out, tone(note('B3') / 2, 0.86, trombone, attack=0.05, release=0.25, vibrato=0.03,
                  vib_rate=6.0, glide_to=note('B3') / 2 * 0.96), 1.02, 0.55)
    return fit(out, 1.9, 0.65)


def sound_on(rng):
    # Two rising notes with a quick upward sweep between them.
    out = []
    soft = ((1, 1.0), (2, 0.25), (3, 0.08))
    mix(out, tone(note('C5'), 0.16, soft, attack=0.01, release=0.04), 0.0)
    mix(out, tone(note('E5'), 0.08, soft, attack=0.005, release=0.02,
                  glide_to=note('G5')), 0.14, 0.6)
    mix(out, tone(note('G5'), 0.28, soft, attack=0.01, decay=6.0, release=0.08), 0.22)
    return fit(out, 0.5, 0.6)


def sound_off(rng):
    # The same notes falling, fading out.
    out = []
    soft = ((1, 1.0), (2, 0.25), (3, 0.08))
    mix(out, tone(note('G5'), 0.16, soft, attack=0.01, release=0.04), 0.0)
    mix(out, tone(note('E5'), 0.1, soft, attack=0.005, release=0.02,
                  glide_to=note('C5')), 0.14, 0.6)
    mix(out, tone(note('C5'), 0.36, soft, attack=0.01, decay=5.0, release=0.12), 0.24)
    return fit(out, 0.6, 0.6)


def high_score(rng):
    # A cheerful bell tune with a bass line and a last sparkling chord.
    out = []
    melody = (('C5', 0.0), ('E5', 0.22), ('G5', 0.44), ('C6', 0.66), ('A5', 0.99),
              ('C6', 1.21), ('G5', 1.43), ('E5', 1.76), ('F5', 1.98), ('A5', 2.2),
              ('G5', 2.42), ('E5', 2.64), ('D5', 2.86), ('C5', 3.08))
    for name, start in melody:
        mix(out, bell(note(name), 0.6, decay=5.5), start, 0.45)
    for name, start in (('C3', 0.0), ('G3', 0.66), ('F3', 1.32), ('G3', 1.98), ('C3', 2.64)):
        mix(out, tone(note(name), 0.6, ((1, 1.0), (2, 0.3)), attack=0.01, decay=3.0), start,
            0.4)
    for name in ('C5', 'E5', 'G5', 'C6', 'E6'):
        mix(out, bell(note(name), 1.3, decay=2.8), 3.3, 0.3)
    for i in range(10):
        mix(out, bell(rng.choice((note('C7'), note('E7'), note('G7'))), 0.25, decay=14.0),
            3.35 + 0.08 * i, 0.08)
    return fit(out, 4.6, 0.7)


def over_player1(rng):
    # A small bird: three quick chirps sweeping up and down.
    out = []
    for k, start in enumerate((0.0, 0.16, 0.32)):
        n = int(0.11 * RATE)
        chirp = []
        phase = 0.0
        base = 2600.0 + 250.0 * k
        for i in range(n):
            x = i / n
            f = base + 1500.0 * math.sin(math.pi * x) + 300.0 * math.sin(TAU * 40.0 * i / RATE)
            phase += TAU * f / RATE
            chirp.append(math.sin(phase) * math.sin(math.pi * x) ** 2)
        mix(out, chirp, start, 0.8 if k < 2 else 1.0)
    return fit(out, 0.6, 0.5)


def over_player2(rng):
    # A frog: two throaty croaks made of quick low pulses.
    out = []
    for start, base in ((0.0, 95.0), (0.5, 88.0)):
        n = int(0.4 * RATE)
        croak = []
        phase = 0.0
        for i in range(n):
            t = i / RATE
            x = i / n
            phase += TAU * base / RATE
            # A pulse train shaped by a throat-like resonance.
            pulse = sum(math.sin(h * phase) / h for h in range(1, 14))
            gate = 0.5 + 0.5 * math.sin(TAU * 22.0 * t)
            resonance = math.sin(TAU * 520.0 * t) * 0.3 + 1.0
            croak.append(pulse * gate * resonance * math.sin(math.pi * x) ** 0.7)
        mix(out, croak, start)
    return fit(out, 1.0, 0.6)


def over_player3(rng):
    # A cat's short "meow": the pitch rises and falls while the vowel opens.
    n = int(0.75 * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        x = i / n
        f = 520.0 + 260.0 * math.sin(math.pi * min(1.0, x * 1.3)) - 120.0 * x
        phase += TAU * f / RATE
        bright = 0.2 + 0.8 * math.sin(math.pi * min(1.0, x * 1.1))
        v = (math.sin(phase) + 0.6 * bright * math.sin(2 * phase) +
             0.4 * bright * math.sin(3 * phase) + 0.2 * bright * math.sin(4 * phase))
        env = min(1.0, x / 0.08) * (1.0 - x) ** 0.6
        out.append(v * env)
    return fit(out, 0.8, 0.55)


def over_pot(rng):
    # Coins sliding in the pot: a quick run of small clinks.
    out = []
    t = 0.0
    for k in range(7):
        mix(out, clink(rng.uniform(2200.0, 3400.0), 0.3, rng), t, rng.uniform(0.35, 0.8))
        t += rng.uniform(0.045, 0.09)
    return fit(out, 0.7, 0.55)


SOUNDS = (
    (101, wrong_card), (102, play_card), (103, pay_pot), (104, other_players),
    (106, user_won), (107, others_won), (108, sound_on), (109, sound_off),
    (111, high_score), (112, over_player1), (113, over_player2), (114, over_player3),
    (115, over_pot),
)


def write_wave(path, samples):
    with wave.open(path, 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b''.join(
            struct.pack('<h', max(-32767, min(32767, int(round(v * 32767))))) for v in samples))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for number, make in SOUNDS:
        samples = make(random.Random(number))
        path = os.path.join(folder, '%d.wav' % number)
        write_wave(path, samples)
        print('%s  %.2f s' % (path, len(samples) / RATE))


if __name__ == '__main__':
    main()
