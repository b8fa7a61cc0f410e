#!/usr/bin/env python3
"""Compose the six background tunes and write them as Standard MIDI Files.

Writes assets/sound/乐曲01.mid .. 乐曲06.mid (or into the folder given as the first
argument).  Each tune is a short, quiet piece for study: a melody over a broken-chord
accompaniment, a sustained string or pad layer and a bass line, in a fixed form
(introduction, phrases A A' B A'', coda with a slowing cadence).  The melodies are made
here from each tune's chord plan by a seeded generator, so the files are the same on
every run.

File format: SMF format 1, 480 ticks per quarter note, track 0 carries the tempo map,
time and key signatures; one track per instrument, each on its own channel with a
General MIDI program.  Standard library only.
"""

import os
import random
import struct
import sys

PPQ = 480

# General MIDI programs (0-based)
PIANO, BRIGHT_PIANO, NYLON_GUITAR, STEEL_GUITAR = 0, 1, 24, 25
HARP, STRINGS, SLOW_STRINGS, VIOLIN, CELLO, CONTRABASS = 46, 48, 49, 40, 42, 43
ACOUSTIC_BASS, WARM_PAD = 32, 89

MAJOR = (0, 2, 4, 5, 7, 9, 11)
MINOR = (0, 2, 3, 5, 7, 8, 10)


# --- Standard MIDI File writing ------------------------------------------------------------

def varlen(value):
    """MIDI variable-length quantity."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(out))


class Track:
    def __init__(self, name):
        self.name = name
        self.events = []   # (tick, order, bytes)

    def meta(self, tick, kind, data):
        self.events.append((tick, 0, bytes([0xFF, kind]) + varlen(len(data)) + data))

    def control(self, tick, channel, number, value):
        self.events.append((tick, 1, bytes([0xB0 | channel, number, value])))

    def program(self, tick, channel, program):
        self.events.append((tick, 1, bytes([0xC0 | channel, program])))

    def note(self, start, length, channel, key, velocity):
        if length <= 0 or not 0 <= key <= 127:
            return
        velocity = max(1, min(127, int(velocity)))
        # note-offs sort before note-ons at the same tick, so repeated notes retrigger
        self.events.append((start, 3, bytes([0x90 | channel, key, velocity])))
        self.events.append((start + length, 2, bytes([0x80 | channel, key, 64])))

    def chunk(self):
        body = bytearray()
        body += b"\x00\xFF\x03" + varlen(len(self.name.encode("utf-8"))) + self.name.encode("utf-8")
        last = 0
        for tick, _, data in sorted(self.events, key=lambda e: (e[0], e[1])):
            body += varlen(tick - last) + data
            last = tick
        body += b"\x00\xFF\x2F\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def write_smf(path, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    with open(path, "wb") as f:
        f.write(header + b"".join(t.chunk() for t in tracks))


# --- harmony ------------------------------------------------------------------------------

class Key:
    def __init__(self, tonic, mode):
        self.tonic = tonic          # MIDI number of the tonic in octave 4 (e.g. 60 for C)
        self.mode = mode

    def degree_pitch(self, degree, octave_shift=0):
        """Pitch of a scale degree (0-based, may exceed 6) relative to the tonic."""
        octave, step = divmod(degree, 7)
        return self.tonic + self.mode[step] + 12 * (octave + octave_shift)

    def chord(self, degree):
        """Pitch classes (as offsets from the tonic's octave) of the triad on a degree;
        in minor the dominant gets its leading tone."""
        tones = [self.degree_pitch(degree + k) for k in (0, 2, 4)]
        if self.mode is MINOR and degree % 7 == 4:
            tones[1] += 1
        return tones

    def scale_pitches(self, low, high):
        out = []
        for octave in range(-3, 4):
            for step in self.mode:
                p = self.tonic + step + 12 * octave
                if low <= p <= high:
                    out.append(p)
        return sorted(out)


def nearest(pitches, target):
    return min(pitches, key=lambda p: (abs(p - target), p))


def chord_tones_in(chord, low, high):
    classes = {p % 12 for p in chord}
    return [p for p in range(low, high + 1) if p % 12 in classes]


# --- melody ------------------------------------------------------------------------------

RHYTHMS = {
    4: [(2, 1, 1), (1, 1, 2), (1, 1, 1, 1), (1.5, 0.5, 1, 1), (3, 1), (2, 2),
        (1, 0.5, 0.5, 2)],
    3: [(2, 1), (1, 1, 1), (1.5, 0.5, 1), (1, 2), (3,)],
}
CADENCE_RHYTHM = {4: (4,), 3: (3,)}


def make_phrase(rng, key, chords, beats, low, high, start_pitch, cadence):
    """One melodic phrase over a chord plan (one chord per bar).

    Strong beats take chord tones close to the previous note; the other notes move by
    step through the scale.  The last bar of a cadential phrase holds a chord tone.
    Returns (notes, last pitch) with notes as (beat offset, length in beats, pitch)."""
    scale = key.scale_pitches(low, high)
    notes = []
    prev = start_pitch
    direction = rng.choice((-1, 1))
    for bar, chord in enumerate(chords):
        last_bar = bar == len(chords) - 1
        rhythm = CADENCE_RHYTHM[beats] if (last_bar and cadence) else rng.choice(RHYTHMS[beats])
        pos = 0.0
        tones = chord_tones_in(chord, low, high)
        for i, length in enumerate(rhythm):
            strong = pos == 0 or (beats == 4 and pos == 2)
            if last_bar and cadence:
                # end on the root or third of the final chord, near the last note
                candidates = [p for p in tones if p % 12 in (chord[0] % 12, chord[1] % 12)]
                pitch = nearest(candidates, prev)
            elif strong:
                options = sorted(tones, key=lambda p: abs(p - (prev + direction * 2)))[:3]
                pitch = rng.choice(options[:2] if rng.random() < 0.7 else options)
            else:
                idx = scale.index(nearest(scale, prev))
                step = direction if rng.random() < 0.75 else -direction
                idx = max(0, min(len(scale) - 1, idx + step))
                pitch = scale[idx]
            if pitch >= high - 2:
                direction = -1
            elif pitch <= low + 2:
                direction = 1
            elif rng.random() < 0.25:
                direction = -direction
            notes.append((bar * beats + pos, length, pitch))
            prev = pitch
            pos += length
    return notes, prev


# --- accompaniment patterns -----------------------------------------------------------------

def voicing(chord, bass_octave_root):
    """Low root, fifth, root, third, fifth, upper root, for broken chords."""
    root = chord[0]
    while root > bass_octave_root + 6:
        root -= 12
    while root < bass_octave_root - 5:
        root += 12
    third = root + ((chord[1] - chord[0]) % 12)
    fifth = root + ((chord[2] - chord[0]) % 12)
    return [root, fifth, root + 12, third + 12, fifth + 12, root + 24]


PATTERNS = {
    # (beats per bar, list of (beat, length in beats, voicing index, accent))
    "arp8": (4, [(i * 0.5, 0.5, idx, 1.0 if i % 4 == 0 else 0.8)
                 for i, idx in enumerate((0, 1, 2, 3, 4, 3, 2, 1))]),
    "arp8_wide": (4, [(i * 0.5, 0.5, idx, 1.0 if i % 4 == 0 else 0.78)
                      for i, idx in enumerate((0, 2, 3, 4, 5, 4, 3, 2))]),
    "arp6": (3, [(i * 0.5, 0.5, idx, 1.0 if i == 0 else 0.8)
                 for i, idx in enumerate((0, 1, 2, 3, 2, 1))]),
    "waltz": (3, [(0, 1, 0, 1.0), (1, 1, 3, 0.7), (1, 1, 4, 0.7), (2, 1, 3, 0.65),
                  (2, 1, 4, 0.65)]),
    "ballad": (4, [(0, 1, 0, 1.0), (1, 1, 2, 0.7), (1, 1, 3, 0.7), (2, 1, 1, 0.85),
                   (3, 1, 2, 0.7), (3, 1, 4, 0.7)]),
}


# --- a tune --------------------------------------------------------------------------------

class Tune:
    def __init__(self, title, key, beats, bpm, seed, plan, melody, accomp, pattern, pad,
                 bass, melody_range, bass_root):
        self.title = title
        self.key = key
        self.beats = beats
        self.bpm = bpm
        self.seed = seed
        self.plan = plan                # phrase name -> list of chord degrees (one per bar)
        self.melody = melody            # GM program
        self.accomp = accomp
        self.pattern = pattern
        self.pad = pad
        self.bass = bass
        self.melody_range = melody_range
        self.bass_root = bass_root      # MIDI pitch around which the bass root lies

    def bar_ticks(self):
        return self.beats * PPQ

    def build(self):
        rng = random.Random(self.seed)
        key = self.key
        beat = PPQ
        bar = self.bar_ticks()
        low, high = self.melody_range

        form = ["intro", "A", "A2", "B", "A3", "coda"]
        phrases = {}
        # A and its returns share their opening; A2 and A3 differ in their endings
        a_chords = [key.chord(d) for d in self.plan["A"]]
        a_notes, last = make_phrase(rng, key, a_chords, self.beats, low, high,
                                    key.degree_pitch(4), cadence=False)
        phrases["A"] = a_notes
        half = len(a_chords) // 2
        for name in ("A2", "A3"):
            chords = [key.chord(d) for d in self.plan[name]]
            keep = [n for n in a_notes if n[0] < half * self.beats]
            tail, last = make_phrase(rng, key, chords[half:], self.beats, low, high,
                                     keep[-1][2], cadence=True)
            phrases[name] = keep + [(b + half * self.beats, l, p) for b, l, p in tail]
        b_chords = [key.chord(d) for d in self.plan["B"]]
        phrases["B"], _ = make_phrase(rng, key, b_chords, self.beats, low + 3, high + 3,
                                      a_notes[-1][2] + 3, cadence=False)

        conductor = Track(self.title)
        melody = Track("旋律")
        accomp = Track("伴奏")
        pad = Track("铺底")
        bass = Track("低音")
        channels = ((melody, 0, self.melody, 88, 64, 70),
                    (accomp, 1, self.accomp, 72, 50, 60),
                    (pad, 2, self.pad, 46, 78, 75),
                    (bass, 3, self.bass, 70, 60, 40))
        for track, ch, prog, vol, pan, rev in channels:
            track.program(0, ch, prog)
            track.control(0, ch, 7, vol)      # channel volume
            track.control(0, ch, 10, pan)     # pan
            track.control(0, ch, 91, rev)     # reverb send
            track.control(0, ch, 93, 12)      # chorus send

        mi = 1 if key.mode is MINOR else 0
        # key signature: sharps (+) or flats (-) by tonic pitch class and mode
        fifths = {(0, 0): 0, (7, 0): 1, (2, 0): 2, (9, 0): 3, (5, 0): -1, (10, 0): -2,
                  (3, 0): -3, (9, 1): 0, (4, 1): 1, (2, 1): -1, (7, 1): -2, (0, 1): -3}
        sharps = fifths.get((key.tonic % 12, mi), 0)
        conductor.meta(0, 0x58, bytes([self.beats, 2, 24, 8]))
        conductor.meta(0, 0x59, struct.pack(">bB", sharps, mi))
        conductor.meta(0, 0x01, "为学习背景而作的原创乐曲".encode("utf-8"))

        def tempo(tick, bpm):
            conductor.meta(tick, 0x51, struct.pack(">I", int(60_000_000 / bpm))[1:])

        tempo(0, self.bpm)

        pat_beats, pattern = PATTERNS[self.pattern]
        assert pat_beats == self.beats
        tick = 0
        for section in form:
            if section == "intro":
                chords = [key.chord(d) for d in self.plan["intro"]]
                notes = []
                dyn = 0.8
            elif section == "coda":
                chords = [key.chord(d) for d in self.plan["coda"]]
                notes = []
                dyn = 0.75
            else:
                chords = [key.chord(d) for d in self.plan[section]]
                notes = phrases[section]
                dyn = 1.08 if section == "B" else 1.0
            for i, chord in enumerate(chords):
                start = tick + i * bar
                final = section == "coda" and i == len(chords) - 1
                v = voicing(chord, self.bass_root + 12)
                if final:
                    # the closing chord, held
                    for idx in (0, 1, 2, 3, 4):
                        accomp.note(start + idx * PPQ // 8, bar * 2, 1, v[idx],
                                    58 * dyn - idx * 2)
                else:
                    for b, length, idx, accent in pattern:
                        accomp.note(start + int(b * beat), int(length * beat) - 10, 1,
                                    v[idx], (52 + rng.randint(-4, 4)) * accent * dyn)
                # sustained pad: third, fifth and root above middle register
                pad_len = bar * 2 if final else bar - 20
                for p in (v[2], v[3], v[4]):
                    pad.note(start, pad_len, 2, p, 44 * dyn)
                # bass: root on the first beat (and the fifth halfway in 4/4)
                root = v[0] - 12 if v[0] - 12 >= 28 else v[0]
                if final:
                    bass.note(start, bar * 2, 3, root, 62)
                elif self.beats == 4:
                    bass.note(start, 2 * beat - 30, 3, root, 66 * dyn)
                    bass.note(start + 2 * beat, 2 * beat - 30, 3, root + 7, 58 * dyn)
                else:
                    bass.note(start, 3 * beat - 30, 3, root, 64 * dyn)
            for b, length, pitch in notes:
                strong = (b % self.beats) == 0
                vel = (74 if strong else 66) + rng.randint(-5, 5)
                melody.note(tick + int(b * beat), int(length * beat) - 24, 0, pitch, vel * dyn)
            if section == "coda":
                # slow down over the last two bars
                n = len(chords)
                for k in range(8):
                    t = tick + (n - 2) * bar + k * bar // 4
                    tempo(t, self.bpm * (1 - 0.04 * (k + 1)))
            tick += len(chords) * bar
        # one more bar for the held closing chord to ring out
        conductor.meta(tick + bar, 0x06, "终".encode("utf-8"))
        return [conductor, melody, accomp, pad, bass]

    def seconds(self):
        bars = sum(len(self.plan[s]) for s in ("intro", "A", "A2", "B", "A3", "coda")) + 1
        return bars * self.beats * 60.0 / self.bpm


def tunes():
    """The six tunes: title, key, meter, tempo and chord plan (scale degrees, 0 = I)."""
    C, G, D, F, Eb, A = 60, 67, 62, 65, 63, 57
    return [
        Tune("乐曲01 晨读", Key(C, MAJOR), 4, 76, 101,
             {"intro": [0, 5], "A": [0, 5, 3, 4], "A2": [0, 5, 1, 4],
              "B": [3, 4, 2, 5], "A3": [0, 5, 3, 0], "coda": [3, 4, 0]},
             PIANO, PIANO, "arp8", SLOW_STRINGS, ACOUSTIC_BASS, (64, 81), 36),
        Tune("乐曲02 溪桥", Key(G, MAJOR), 3, 88, 202,
             {"intro": [0, 0, 3, 4], "A": [0, 4, 5, 2, 3, 0, 1, 4],
              "A2": [0, 4, 5, 2, 3, 0, 4, 0], "B": [3, 3, 0, 0, 1, 1, 4, 4],
              "A3": [0, 4, 5, 2, 3, 1, 4, 0], "coda": [3, 4, 0]},
             VIOLIN, NYLON_GUITAR, "arp6", STRINGS, CELLO, (67, 84), 43),
        Tune("乐曲03 静思", Key(A, MINOR), 4, 66, 303,
             {"intro": [0, 3], "A": [0, 3, 6, 2], "A2": [0, 3, 4, 0],
              "B": [5, 2, 3, 4], "A3": [0, 3, 4, 0], "coda": [5, 4, 0]},
             PIANO, PIANO, "arp8_wide", SLOW_STRINGS, CELLO, (64, 81), 45),
        Tune("乐曲04 远帆", Key(F, MAJOR), 4, 80, 404,
             {"intro": [0, 3], "A": [0, 2, 3, 4], "A2": [0, 2, 1, 4],
              "B": [5, 2, 3, 4], "A3": [0, 2, 4, 0], "coda": [3, 4, 0]},
             BRIGHT_PIANO, STEEL_GUITAR, "ballad", WARM_PAD, ACOUSTIC_BASS, (65, 82), 41),
        Tune("乐曲05 灯下", Key(D, MAJOR), 3, 88, 505,
             {"intro": [0, 3, 0, 4], "A": [0, 5, 3, 4, 0, 5, 1, 4],
              "A2": [0, 5, 3, 4, 1, 4, 4, 0], "B": [5, 2, 3, 0, 5, 1, 4, 4],
              "A3": [0, 5, 3, 4, 1, 3, 4, 0], "coda": [3, 4, 0]},
             PIANO, HARP, "waltz", SLOW_STRINGS, CONTRABASS, (66, 83), 38),
        Tune("乐曲06 归途", Key(Eb, MAJOR), 4, 72, 606,
             {"intro": [0, 4], "A": [0, 4, 5, 3], "A2": [0, 4, 1, 4],
              "B": [3, 0, 1, 4], "A3": [0, 4, 3, 0], "coda": [1, 4, 0]},
             STRINGS, PIANO, "arp8", SLOW_STRINGS, CONTRABASS, (63, 80), 39),
    ]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "sound")
    os.makedirs(out, exist_ok=True)
    for i, tune in enumerate(tunes(), start=1):
        path = os.path.join(out, "乐曲%02d.mid" % i)
        write_smf(path, tune.build())
        print("wrote %s  (%s, about %.0f s)" % (path, tune.title, tune.seconds()))


if __name__ == "__main__":
    main()
