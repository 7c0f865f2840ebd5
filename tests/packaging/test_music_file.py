"""The music the Windows packages carry: a well-formed Standard MIDI File,
written the same by every build, and, played by FluidSynth with Debian's
General MIDI sound font, a piece of two to four minutes at one steady level
that never clips and never falls silent for a beat, not even where the
program starts it again."""
import array
import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
from script_args import run_tests  # noqa: E402

GENERATOR = os.path.join(ROOT, "tools", "music", "make_music.py")
SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 22050
FRAME = 0.05            # seconds of sound per loudness measurement
SILENT_DB = -60.0       # a frame this far below full scale is heard as silence


class Config:
    midi = None


def parse_midi(data):
    """{format, division, tracks: [[(tick, event bytes)]]}; fails on anything a
    player could trip over: a bad chunk, a track that runs past its chunk or
    does not end with its end-of-track event."""
    assert data[:4] == b"MThd", "no header chunk"
    length, fmt, count, division = struct.unpack_from(">IHHH", data, 4)
    assert length == 6 and fmt in (0, 1) and division < 0x8000, (length, fmt, division)
    pos, tracks = 8 + length, []
    while pos < len(data):
        kind, size = data[pos:pos + 4], struct.unpack_from(">I", data, pos + 4)[0]
        body, pos = data[pos + 8:pos + 8 + size], pos + 8 + size
        assert len(body) == size, "a chunk runs past the end of the file"
        if kind == b"MTrk":
            tracks.append(parse_track(body))
    assert len(tracks) == count, f"header says {count} tracks, file holds {len(tracks)}"
    assert fmt == 1 or count == 1
    return {"format": fmt, "division": division, "tracks": tracks}


def parse_track(body):
    def number():
        nonlocal i
        value = 0
        while True:
            byte = body[i]
            i += 1
            value = value << 7 | byte & 0x7F
            if byte < 0x80:
                return value

    events, i, tick, status = [], 0, 0, None
    while i < len(body):
        assert not events or events[-1][1][:2] != b"\xff\x2f", "events after the end of track"
        tick += number()
        if body[i] == 0xFF:
            kind = body[i + 1]
            i += 2
            size = number()
            events.append((tick, bytes([0xFF, kind]) + body[i:i + size]))
            i += size
        elif body[i] in (0xF0, 0xF7):
            i += 1
            size = number()
            i += size
        else:
            if body[i] & 0x80:
                status = body[i]
                i += 1
            assert status is not None, "running status with no status before it"
            size = 1 if status >> 4 in (0xC, 0xD) else 2
            events.append((tick, bytes([status]) + body[i:i + size]))
            i += size
    assert i == len(body) and events and events[-1][1] == b"\xff\x2f", "a track without its end"
    return events


def seconds_at(midi, tick):
    """Where a tick falls in time, by the tempo events (default 120/min)."""
    tempos = sorted((t, int.from_bytes(e[2:5], "big")) for track in midi["tracks"]
                    for t, e in track if e[:2] == b"\xff\x51")
    at, last, tempo = 0.0, 0, 500000
    for t, new in tempos:
        if t >= tick:
            break
        at += (t - last) * tempo / midi["division"] / 1e6
        last, tempo = t, new
    return at + (tick - last) * tempo / midi["division"] / 1e6


def preset_names():
    """{program: name} of the sound font's bank 0, as FluidSynth lists it."""
    out = subprocess.run(["fluidsynth", "-n", "-a", "file", "-o", "audio.file.name=/dev/null",
                          SOUND_FONT], input="inst 1\nquit\n", capture_output=True, text=True,
                         timeout=120).stdout
    return {int(line[4:7]): line[8:].strip() for line in out.splitlines() if line[:4] == "000-"}


def render(midi_path, times):
    """The file played `times` times in a row, as FluidSynth's playlist plays
    one file straight after the other: peak of each channel pair per frame."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "out.wav")
        subprocess.run(["fluidsynth", "-n", "-i", "-q", "-r", str(RATE), "-T", "wav", "-O", "float", "-F", wav,
                        SOUND_FONT, *[midi_path] * times], check=True, capture_output=True, timeout=900)
        with open(wav, "rb") as f:
            data = f.read()
    pos = 12
    while data[pos:pos + 4] != b"data":
        pos += 8 + struct.unpack_from("<I", data, pos + 4)[0]
    samples = array.array("f")
    samples.frombytes(data[pos + 8:pos + 8 + struct.unpack_from("<I", data, pos + 4)[0]])
    return samples


def frame_levels(samples):
    """Loudness of each FRAME of stereo sound in dB below full scale."""
    step = int(RATE * FRAME) * 2
    levels = []
    for start in range(0, len(samples) - step + 1, step):
        frame = samples[start:start + step]
        power = sum(x * x for x in frame) / len(frame)
        levels.append(10 * math.log10(power) if power > 0 else -200.0)
    return levels


class MusicFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(Config.midi, "rb") as f:
            cls.data = f.read()
        cls.midi = parse_midi(cls.data)
        events = [e for track in cls.midi["tracks"] for e in track]
        cls.end = max(t for t, _ in events)
        cls.length = seconds_at(cls.midi, cls.end)
        tempos = [e for t, e in events if e[:2] == b"\xff\x51"]
        cls.beat = int.from_bytes(tempos[0][2:5], "big") / 1e6 if tempos else 0.5

    def test_every_build_writes_the_same_bytes(self):
        # Hash order differs between these runs: nothing may depend on it.
        with tempfile.TemporaryDirectory() as tmp:
            for seed in ("1", "2"):
                out = os.path.join(tmp, f"{seed}.mid")
                subprocess.run([sys.executable, GENERATOR, out], check=True, timeout=120,
                               env=dict(os.environ, PYTHONHASHSEED=seed))
                with open(out, "rb") as f:
                    self.assertTrue(f.read() == self.data, f"run {seed} differs from the built file")

    def test_tempo_instruments_one_volume_and_every_note_let_go_within_the_length(self):
        # In time, and at one tick in each track's own order.
        events = sorted((t, n, i, e) for n, track in enumerate(self.midi["tracks"])
                        for i, (t, e) in enumerate(track))
        tempos = [t for t, _, _, e in events if e[:2] == b"\xff\x51"]
        self.assertTrue(tempos and tempos[0] == 0, "a tempo from the first tick")
        self.assertTrue(120 <= self.length <= 240, f"{self.length:.1f} s")
        programs, volumes, held, played = {}, {}, {}, set()
        for tick, _, _, e in events:
            kind, channel = e[0] >> 4, e[0] & 0x0F
            if kind == 0xC:
                programs[channel] = e[1]
            elif kind == 0xB and e[1] == 7:
                volumes.setdefault(channel, set()).add((tick, e[2]))
            elif kind == 0x9 and e[2]:
                self.assertIn(channel, programs, "an instrument chosen before the first note")
                self.assertNotIn((channel, e[1]), held, f"note {e[1]} struck again while held, tick {tick}")
                held[(channel, e[1])] = tick
                played.add(channel)
            elif kind in (0x8, 0x9):
                self.assertIn((channel, e[1]), held, f"note {e[1]} let go that was not held, tick {tick}")
                del held[(channel, e[1])]
        self.assertEqual(held, {}, "notes never let go")
        self.assertNotIn(9, played, "the drum channel")
        # Koto and shakuhachi, as the sound font names the programs.
        names = preset_names()
        self.assertEqual({names[programs[c]] for c in played}, {"Koto", "Shakuhachi"})
        # One level: each playing channel's volume set once, at the start.
        self.assertEqual({c: [t for t, _ in v] for c, v in volumes.items()}, {c: [0] for c in played})

    def test_played_twice_in_a_row_it_never_falls_silent_for_a_beat_nor_clips(self):
        samples = render(Config.midi, 2)
        levels = frame_levels(samples)
        seconds = len(samples) / 2 / RATE
        # The synthesiser lets the last notes ring out after the second end.
        self.assertTrue(2 * self.length <= seconds <= 2 * self.length + 8, (seconds, self.length))
        # Up to the second end, across the point where the file starts again.
        music = levels[:int(2 * self.length / FRAME)]
        longest = run = 0
        for level in music:
            run = run + 1 if level < SILENT_DB else 0
            longest = max(longest, run)
        self.assertLess(longest * FRAME, self.beat, "silent longer than a beat")
        peak = max(max(samples), -min(samples))
        self.assertLess(20 * math.log10(peak), -1.0, "the peak comes within 1 dB of clipping")
        # One steady level: every ten seconds as loud as the whole within a
        # few decibels, neither a whisper nor a blare at the synthesiser's
        # default gain.
        per_window = int(10 / FRAME)
        windows = [10 * math.log10(sum(10 ** (v / 10) for v in music[i:i + per_window]) / per_window)
                   for i in range(0, len(music) - per_window + 1, per_window)]
        median = sorted(windows)[len(windows) // 2]
        self.assertTrue(-45 < median < -20, f"{median:.1f} dB")
        self.assertLess(max(abs(w - median) for w in windows), 6, [round(w, 1) for w in windows])


if __name__ == "__main__":
    run_tests(Config, paths=("midi",))
