"""What the program played, captured byte for byte.

A test that asks for sound capture gets Wine's ALSA driver pointed at an
ALSA configuration whose default device writes every playback stream to a
file of its own (play.raw, play.raw.0001, ...) through a null device. Wine
passes each WAVE's own format through, so a captured stream equals the data
chunk of the WAVE that was played, or the beginning of it when the sound was
cut short. Streams are named here by the WAVE resource ids of res/Kelvaro.rc.
"""

import re
import struct
from pathlib import Path

from . import ids

REPO = Path(__file__).resolve().parents[3]
RESOURCE_SCRIPT = REPO / "res" / "Kelvaro.rc"

CAPTURE_NAME = "play.raw"


def alsa_config(directory):
    """The ALSA configuration that captures into directory."""
    target = str(Path(directory) / CAPTURE_NAME).replace("\\", "\\\\").replace('"', '\\"')
    return ("pcm.!default {\n"
            "    type file\n"
            "    slave.pcm { type null }\n"
            f"    file \"{target}\"\n"
            "    format \"raw\"\n"
            "    truncate false\n"
            "}\n")


class Wave:
    """The format and sample data of a WAVE file."""

    def __init__(self, data):
        if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
            raise ValueError("not a RIFF WAVE file")
        self.format_tag = self.channels = self.rate = self.bits = None
        self.samples = None
        at = 12
        while at + 8 <= len(data):
            chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
            body = data[at + 8:at + 8 + size]
            if chunk == b"fmt ":
                self.format_tag, self.channels, self.rate, _, _, self.bits = struct.unpack("<HHIIHH", body[:16])
            elif chunk == b"data":
                self.samples = body
            at += 8 + size + (size & 1)
        if self.format_tag is None or self.samples is None:
            raise ValueError("WAVE file without fmt or data chunk")

    @property
    def silence(self):
        return 0x80 if self.bits == 8 else 0x00

    @property
    def seconds(self):
        return len(self.samples) / (self.rate * self.channels * self.bits // 8)

    def explains(self, stream):
        """Whether a captured stream is this sound, whole or cut short: its
        bytes follow the sound's data and then hold only silence (the rest of
        the last period when the sound was stopped, or padding at its end)."""
        agreed = _common_prefix(stream, self.samples)
        if agreed == 0:
            return False
        return stream.count(self.silence, agreed) == len(stream) - agreed


def _common_prefix(a, b):
    """Length of the longest common beginning of two byte strings."""
    low, high = 0, min(len(a), len(b))
    while low < high:
        middle = (low + high + 1) // 2
        if a[:middle] == b[:middle]:
            low = middle
        else:
            high = middle - 1
    return low


def program_waves(script=RESOURCE_SCRIPT):
    """WAVE resource id -> Wave, from the files named by the resource script."""
    waves = {}
    text = Path(script).read_text(encoding="latin-1")
    for name, file_name in re.findall(r'^\s*(\w+)\s+WAVE\s+"([^"]+)"', text, re.MULTILINE):
        number = getattr(ids, name, None)
        if number is None:
            number = int(name, 0)
        waves[number] = Wave((Path(script).parent / file_name).read_bytes())
    return waves


class Stream:
    """One captured playback stream: its file, bytes and what it matches."""

    def __init__(self, index, path, data, matches):
        self.index = index
        self.path = path
        self.data = data
        self.matches = matches

    @property
    def sound(self):
        """The one sound this stream is, or None when none or several fit."""
        return self.matches[0] if len(self.matches) == 1 else None

    def __repr__(self):
        return f"<stream {self.index} {len(self.data)} bytes matches={self.matches}>"


class SoundCapture:
    """The streams captured in one test's folder."""

    def __init__(self, directory, waves=None):
        self.directory = Path(directory)
        self.directory.mkdir(parents=True, exist_ok=True)
        self.references = dict(waves if waves is not None else program_waves())

    def add_reference(self, name, wav_path):
        """Also recognise a WAVE file of the test's own (an external sound)."""
        self.references[name] = Wave(Path(wav_path).read_bytes())

    def files(self):
        def order(path):
            suffix = path.name[len(CAPTURE_NAME):].lstrip(".")
            return int(suffix) if suffix.isdigit() else -1
        return sorted((path for path in self.directory.glob(CAPTURE_NAME + "*")), key=order)

    def streams(self):
        """Every non-empty stream in the order the program opened them."""
        result = []
        for path in self.files():
            data = path.read_bytes()
            if not data:
                continue   # a device opened and closed without playing
            matches = [name for name, wave in self.references.items() if wave.explains(data)]
            result.append(Stream(len(result), path, data, matches))
        return result

    def heard_to_end(self, expected):
        """Whether exactly these sounds were played, the last one to its end:
        a sound cut short by the next one would no longer match its WAVE, so
        tests wait for this before they start the next sound."""
        streams = self.streams()
        if [stream.sound for stream in streams] != list(expected):
            return False
        last = streams[-1]
        return len(last.data) >= len(self.references[last.sound].samples)

    def played(self):
        """The sounds played so far, in order (streams that match no sound or
        several sounds are left out; see streams() for them)."""
        return [stream.sound for stream in self.streams() if stream.sound is not None]
