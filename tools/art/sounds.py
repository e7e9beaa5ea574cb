"""The game's sounds, synthesised: 16-bit mono PCM, normalised, with short fades so that neither
end clicks."""

import math
import wave

import numpy as np

RATE = 44100
PEAK = 0.89  # about -1 dBFS


def t_axis(seconds):
    return np.arange(int(RATE * seconds)) / RATE


def damped(freq, decay, seconds, phase=0.0):
    t = t_axis(seconds)
    return np.sin(2 * math.pi * freq * t + phase) * np.exp(-t / decay)


def bandpass_noise(seconds, low, high, seed):
    """White noise limited to a band by an FFT mask (deterministic, no filters needed)."""
    rng = np.random.RandomState(seed)
    n = int(RATE * seconds)
    spec = np.fft.rfft(rng.randn(n))
    f = np.fft.rfftfreq(n, 1 / RATE)
    spec[(f < low) | (f > high)] = 0
    return np.fft.irfft(spec, n)


def lowpass(x, cutoff):
    spec = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1 / RATE)
    spec *= 1.0 / (1.0 + (f / cutoff) ** 4)
    return np.fft.irfft(spec, len(x))


def finish(x, fade_in=0.002, fade_out=0.01):
    x = x - np.mean(x)
    n_in, n_out = int(RATE * fade_in), int(RATE * fade_out)
    if n_in:
        x[:n_in] *= np.sin(np.linspace(0, math.pi / 2, n_in)) ** 2
    if n_out:
        x[-n_out:] *= np.cos(np.linspace(0, math.pi / 2, n_out)) ** 2
    return x / max(1e-9, np.max(np.abs(x))) * PEAK


def write_wav(path, x):
    data = (np.clip(x, -1, 1) * 32767).astype("<i2").tobytes()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def snap():
    """239: a soft wooden snap, two pieces clicking together."""
    s = 0.16
    t = t_axis(s)
    knock = bandpass_noise(s, 1500, 5000, 239) * np.exp(-t / 0.006)
    body = damped(620, 0.035, s) * 0.9 + damped(1180, 0.022, s, 0.7) * 0.5 + damped(2350, 0.01, s) * 0.25
    second = np.zeros_like(t)
    lag = int(RATE * 0.012)
    second[lag:] = (damped(880, 0.018, s)[: len(t) - lag]) * 0.35
    return finish(lowpass(knock * 0.6 + body + second, 6000), 0.0005, 0.02)


def bell(freq, seconds, decay):
    t = t_axis(seconds)
    tone = (np.sin(2 * math.pi * freq * t) + 0.35 * np.sin(2 * math.pi * freq * 2.0 * t) * np.exp(-t / (decay * 0.5))
            + 0.12 * np.sin(2 * math.pi * freq * 3.01 * t) * np.exp(-t / (decay * 0.3)))
    attack = np.minimum(1.0, t / 0.004)
    return tone * np.exp(-t / decay) * attack


def flourish():
    """240: a short bright flourish: a rising arpeggio into a sparkling chord."""
    total = 1.9
    out = np.zeros(int(RATE * total))
    notes = [523.25, 659.25, 783.99, 1046.5]  # C5 E5 G5 C6
    for i, f in enumerate(notes):
        start = int(RATE * 0.085 * i)
        tone = bell(f, total - 0.085 * i, 0.35 if i < 3 else 0.7)
        out[start:start + len(tone)] += tone * (0.7 if i < 3 else 0.9)
    chord_at = int(RATE * 0.34)
    for f, g in [(1046.5, 0.5), (1318.5, 0.35), (1568.0, 0.3), (2093.0, 0.18)]:
        tone = bell(f, total - 0.34, 0.6)
        out[chord_at:chord_at + len(tone)] += tone * g
    rng = np.random.RandomState(240)
    for k in range(14):
        at = int(RATE * (0.36 + 0.06 * k + rng.uniform(0, 0.03)))
        f = rng.choice([2637.0, 3136.0, 3520.0, 4186.0])
        tone = bell(f, 0.25, 0.05) * 0.12 * (1 - k / 16)
        out[at:at + len(tone)] += tone[: len(out) - at]
    return finish(out, 0.001, 0.25)


def click():
    """245: a button click, short and soft."""
    s = 0.05
    t = t_axis(s)
    x = damped(1650, 0.007, s) + 0.4 * damped(3300, 0.003, s) + 0.25 * bandpass_noise(s, 2000, 7000, 245) * np.exp(-t / 0.002)
    return finish(x, 0.0003, 0.01)


def tick():
    """246: a check-box tick, a little higher and drier than the click."""
    s = 0.04
    t = t_axis(s)
    x = damped(2600, 0.004, s) + 0.35 * damped(5200, 0.002, s)
    lag = int(RATE * 0.009)
    x[lag:] += 0.45 * damped(3100, 0.003, s)[: len(x) - lag]
    return finish(x, 0.0003, 0.008)


def pop():
    """247: a rounded pop for radio buttons and dialog buttons."""
    s = 0.07
    t = t_axis(s)
    sweep = np.sin(2 * math.pi * (900 * t + 2200 * t * t)) * np.exp(-t / 0.012)
    x = sweep + 0.3 * damped(1800, 0.005, s)
    return finish(x, 0.0005, 0.015)


SOUNDS = {239: snap, 240: flourish, 245: click, 246: tick, 247: pop}


def build(out_dir):
    import os
    os.makedirs(out_dir, exist_ok=True)
    for number, fn in SOUNDS.items():
        write_wav(f"{out_dir}/{number}.wav", fn())
