#!/usr/bin/env python3
"""Writes Mirobel.mid, the music the packages bring: Team Mirobel's own
arrangement of the traditional koto song さくらさくら for two kotos and a
shakuhachi, as a Standard MIDI File (format 1).

    make_music.py OUTPUT

Every note is written below, in this file; nothing is read from elsewhere.
The output depends on nothing but this file, so every build gives the same
bytes.

Form, at 66 quarter notes a minute in 4/4 (52 bars, about 3 min 9 s):
  intro      4 bars  koto alone: a sweep over the strings, then a motif
  verse 1   14 bars  the song on the koto, the second koto plucking drones
  interlude  2 bars
  verse 2   14 bars  the song on the shakuhachi over flowing koto arpeggios
  interlude  2 bars
  verse 3   14 bars  koto in octaves and shakuhachi together, each in its
                     own way (the heterophony of koto and shakuhachi music)
  turn       2 bars  the shakuhachi holds the last note while the kotos
                     come down towards the low E the intro's sweep starts on

The program restarts the file as soon as it has ended, so the last bar
sounds to its very end and the first beat sounds at once: the loop has no
gap and no fade.
"""
import struct
import sys

PPQ = 480                      # ticks per quarter note
BPM = 66
BAR = 4 * PPQ

# General MIDI programs, counted from 0 as they go into the file.
KOTO = 107
SHAKUHACHI = 77

# Channels: the koto that carries the song, the koto that accompanies it,
# the shakuhachi. Never channel 10 (index 9), which General MIDI keeps for
# drums.
MELODY, ACCOMP, FLUTE = 0, 1, 2

# One level for the whole piece: each channel's volume is set once at the
# start and never changed; the phrasing lives in the velocities.
CHANNELS = (
    # channel, track name, program, volume, pan, reverb
    (MELODY, "Koto", KOTO, 127, 54, 56),
    (ACCOMP, "Koto (accompaniment)", KOTO, 112, 76, 64),
    (FLUTE, "Shakuhachi", SHAKUHACHI, 100, 64, 72),
)

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'A4' -> 69 (scientific pitch, middle C = C4 = 60)."""
    return 12 * (int(name[1:]) + 1) + NOTE_NAMES[name[0]]


def name_of(key):
    """69 -> 'A4', for the notes of this scale."""
    letter = next(n for n, v in NOTE_NAMES.items() if v == key % 12)
    return f"{letter}{key // 12 - 1}"


def parse(text):
    """'A4:1 A4+E5:.5 r:2' -> [(pitches, beats)], bars separated by '|'."""
    out = []
    for token in text.replace("|", " ").split():
        names, beats = token.split(":")
        out.append(([] if names == "r" else [pitch(n) for n in names.split("+")], float(beats)))
    return out


# The song, one bar a line: さくら さくら / やよいのそらは / みわたすかぎり /
# かすみかくもか / においぞいずる / いざや いざや / みにゆかん. It moves in
# the miyako-bushi scale on E (E F A B C), as the koto's hira-joshi tuning
# gives it.
SONG = [
    "A4:1 A4:1 B4:2",
    "A4:1 A4:1 B4:2",
    "A4:1 B4:1 C5:1 B4:1",
    "A4:1 B4:.5 A4:.5 F4:2",
    "E4:1 C4:1 E4:1 F4:1",
    "E4:1 E4:.5 C4:.5 B3:2",
    "A4:1 B4:1 C5:1 B4:1",
    "A4:1 B4:.5 A4:.5 F4:2",
    "E4:1 C4:1 E4:1 F4:1",
    "E4:1 E4:.5 C4:.5 B3:2",
    "A4:1 A4:1 B4:2",
    "A4:1 A4:1 B4:2",
    "E4:1 F4:1 B4:.5 A4:.5 F4:1",
    "E4:4",
]
# The open string under each bar of the song: A, or F and E where a phrase
# comes to rest on them.
ROOTS = "A A A F A E A F A E A A A E".split()

# Notes of the accompaniment over each root: a fifth for the drone, eight
# eighths for the flowing arpeggio, four quarters for the plain one.
DRONE = {"A": ("A3", "E4"), "F": ("F3", "C4"), "E": ("E3", "B3")}
FLOW = {
    "A": "A3 E4 A4 B4 C5 B4 A4 E4",
    "F": "F3 C4 F4 A4 C5 A4 F4 C4",
    "E": "E3 B3 E4 F4 A4 F4 E4 B3",
}
WALK = {"A": "A3 E4 A4 E4", "F": "F3 C4 F4 C4", "E": "E3 B3 E4 B3"}

# The strings of the koto from low to high in this tuning, for the sweeps.
STRINGS = [pitch(n) for n in "E3 F3 A3 B3 C4 E4 F4 A4 B4 C5 E5 F5 A5".split()]
GRACE = PPQ // 8


class Track:
    def __init__(self):
        self.notes = []   # (start tick, length in ticks, pitch, velocity)

    def note(self, start, length, key, velocity):
        self.notes.append((int(round(start)), int(round(length)), key, velocity))


def play_line(track, start, text, velocity, gap=24, accent=0, replucks=False):
    """Plays a line of notes from start; each note is let go gap ticks before
    the next begins, so repeated notes are plucked or tongued anew. The first
    note of each bar is accent louder. A koto string dies away within about a
    beat, so with replucks a note of two beats or more is taken up again on
    each later beat by the string an octave below, softly. Returns the tick
    after the line."""
    t = start
    for keys, beats in parse(text):
        length = beats * PPQ
        on_beat = (t - start) % BAR == 0
        for key in keys:
            track.note(t, max(length - gap, 30), key, min(velocity + (accent if on_beat else 0), 127))
        if replucks and keys:
            for beat in range(1, int(beats)):
                track.note(t + beat * PPQ, PPQ - gap, keys[0] - 12, velocity - 16 - 4 * beat)
        t += length
    return t


def sweep(track, start, keys, step, ring_until, velocity):
    """Strings plucked one after another, each ringing until ring_until."""
    for i, key in enumerate(keys):
        at = start + i * step
        track.note(at, ring_until - at, key, velocity - i)


def unparse(notes):
    return " ".join(("+".join(name_of(k) for k in keys) or "r") + f":{beats:g}" for keys, beats in notes)


def tied(text):
    """The song as a wind player phrases it: a repeated note is held on as
    one longer note instead of being struck again."""
    merged = []
    for keys, beats in parse(text):
        if merged and merged[-1][0] == keys:
            merged[-1] = (keys, merged[-1][1] + beats)
        else:
            merged.append((keys, beats))
    return unparse(merged)


def octave_up(text):
    """Every note doubled an octave above."""
    return unparse([(keys + [k + 12 for k in keys], beats) for keys, beats in parse(text)])


def flute_line(flute, t, line, velocity, grace=False, held=False):
    """The song on the shakuhachi, tied (held) or as the koto plays it; with
    grace, the phrase opens with a short note from the next string above,
    taken from the first note's time."""
    first = len(flute.notes)
    play_line(flute, t, tied(line) if held else line, velocity, gap=30)
    if grace:
        start, length, key, loud = flute.notes[first]
        flute.notes[first] = (start + GRACE, length - GRACE, key, loud)
        flute.note(start, GRACE, min(k for k in STRINGS if k > key), velocity - 14)


def intro(tracks, at):
    melody, accomp = tracks[MELODY], tracks[ACCOMP]
    # Bar 1: a sweep up over eight strings, all left to ring.
    sweep(melody, at, STRINGS[:8], PPQ / 8, at + BAR, 96)
    play_line(accomp, at + PPQ, "A3+E4:1.5 E4:.5 A3:1", 72, gap=0)
    # Bars 2 to 4: a motif drawn from the song's last line.
    play_line(melody, at + BAR, "C5:1 B4:1 A4:2 | F4:1 A4:1 B4:2 | E4:2 E5:2", 96, accent=6)
    play_line(accomp, at + BAR, "A3:2 E4:2 | F3+C4:2 C4:2 | E3+B3:2 B3:2", 72, gap=0)
    return at + 4 * BAR


def interlude(tracks, at):
    melody, accomp = tracks[MELODY], tracks[ACCOMP]
    # A sweep down from the top string and a falling phrase, over the
    # arpeggios of E and then of A, on which the next verse begins.
    sweep(melody, at, STRINGS[::-1][:8], PPQ / 8, at + 2 * PPQ, 92)
    play_line(melody, at + 2 * PPQ, "C5:1 B4:1 | A4:2 E4:2", 90, accent=4)
    play_line(accomp, at, " ".join(f"{n}:.5" for n in (FLOW["E"] + " " + FLOW["A"]).split()), 68, gap=10)
    return at + 2 * BAR


def verse(tracks, at, kind):
    melody, accomp, flute = tracks[MELODY], tracks[ACCOMP], tracks[FLUTE]
    for bar, (line, root) in enumerate(zip(SONG, ROOTS)):
        t = at + bar * BAR
        low, fifth = DRONE[root]
        if kind == 1:
            # The song on the koto; under it the open string and its fifth
            # in a limping rhythm.
            play_line(melody, t, line, 100, accent=8, replucks=True)
            play_line(accomp, t, f"{low}+{fifth}:1.5 {fifth}:.5 {name_of(pitch(low) + 12)}:1 {fifth}:1", 70,
                      gap=0, accent=6)
        elif kind == 2:
            # The song on the shakuhachi, each phrase (two bars) begun
            # with a grace note from the string above.
            flute_line(flute, t, line, 96, grace=bar % 2 == 0)
            play_line(accomp, t, " ".join(f"{n}:.5" for n in FLOW[root].split()), 70, gap=10,
                      accent=6)
        else:
            # Koto in octaves with every note; shakuhachi holding the line
            # through the repeated notes; the accompaniment walking.
            play_line(melody, t, octave_up(line), 94, accent=6)
            flute_line(flute, t, line, 88, held=True)
            play_line(accomp, t, " ".join(f"{n}:1" for n in WALK[root].split()), 70, gap=0, accent=4)
    return at + len(SONG) * BAR


def turn(tracks, at, end):
    melody, accomp, flute = tracks[MELODY], tracks[ACCOMP], tracks[FLUTE]
    # The shakuhachi holds the last E on through the first bar.
    flute.note(at, BAR - 30, pitch("E4"), 86)
    play_line(accomp, at, "E3+B3:2 B3:2 | A3+E4:4", 70, gap=0)
    # The koto sweeps down and steps down to B, a fourth above the low E
    # on which the intro's sweep begins when the file starts again.
    sweep(melody, at + 2 * PPQ, STRINGS[::-1][3:11], PPQ / 8, at + BAR, 86)
    play_line(melody, at + BAR, "A4:1 F4:1 E4:1 B3:1", 88, gap=0, accent=4)
    # Everything sounds up to the very end of the file.
    assert at + 2 * BAR == end


def compose():
    tracks = {ch: Track() for ch, *_ in CHANNELS}
    at = intro(tracks, 0)
    at = verse(tracks, at, 1)
    at = interlude(tracks, at)
    at = verse(tracks, at, 2)
    at = interlude(tracks, at)
    at = verse(tracks, at, 3)
    end = at + 2 * BAR
    turn(tracks, at, end)
    return tracks, end


def vlq(n):
    """A variable-length quantity, as delta times are written."""
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def chunk(events, end):
    """events: (tick, order, bytes); the end-of-track event comes at end."""
    out, now = b"", 0
    for tick, _, data in sorted(events):
        out += vlq(tick - now) + data
        now = tick
    out += vlq(end - now) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(out)) + out


def render(tracks, end):
    tempo = round(60_000_000 / BPM)
    conductor = [
        (0, 0, meta(0x03, "Mirobel: さくらさくら".encode("utf-8"))),
        (0, 1, meta(0x02, b"Traditional; arrangement (c) 2026 Team Mirobel, MIT licence")),
        (0, 2, meta(0x58, bytes([4, 2, 24, 8]))),
        (0, 3, meta(0x51, tempo.to_bytes(3, "big"))),
    ]
    chunks = [chunk(conductor, end)]
    for ch, name, program, volume, pan, reverb in CHANNELS:
        events = [
            (0, 0, meta(0x03, name.encode("ascii"))),
            (0, 1, bytes([0xB0 | ch, 121, 0])),          # reset controllers
            (0, 2, bytes([0xC0 | ch, program])),
            (0, 3, bytes([0xB0 | ch, 7, volume])),
            (0, 4, bytes([0xB0 | ch, 10, pan])),
            (0, 5, bytes([0xB0 | ch, 91, reverb])),
            (0, 6, bytes([0xB0 | ch, 93, 0])),            # no chorus
        ]
        for start, length, key, velocity in tracks[ch].notes:
            stop = min(start + length, end)
            # At one tick a note-off goes before a note-on, so a note that
            # is played again is first let go.
            events.append((start, 20, bytes([0x90 | ch, key, velocity])))
            events.append((stop, 10, bytes([0x80 | ch, key, 0])))
        chunks.append(chunk(events, end))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), PPQ)
    return header + b"".join(chunks)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_music.py OUTPUT")
    data = render(*compose())
    with open(sys.argv[1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
