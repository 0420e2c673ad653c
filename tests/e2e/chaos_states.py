"""Hostile states of Kelvaro's settings key, generated from a seed.

State `index` of seed `seed` depends on nothing else but the screen (the
monitor rectangle and the main dialog's size), so one failing state is
rebuilt from the two numbers alone. Each value name of the registry
layout is, independently, missing, a plausible number or text (often just
outside its limits), or any of seven types with random bytes of 0 to 64 KiB;
lengths cluster where the loaders' buffers and limits are.

What the program must make of a state follows from its loading rules; the
expectation helpers at the end say so where the outcome is certain."""

import random
import re

from harness import values

MAX_LENGTH = 64 * 1024

OPTIONS = ("KeepWindowOnTop", "ShowTimerInTitleBar", "FlashWndOnTimerUp", "UseAltIconOnTimerUp",
           "DisplaySmartCursors")
POSITION = ("X", "Y", "CX", "CY")
TIMER_NAMES = ("Label", "Value", "Unit", "Event")
EVENT_NAMES = ("Label", "FileName")
NUMBER_NAMES = set(OPTIONS) | set(POSITION) | {"Value", "Unit", "Event"}

RANDOM_TYPES = (values.REG_SZ, values.REG_EXPAND_SZ, values.REG_MULTI_SZ, values.REG_DWORD, values.REG_QWORD,
                values.REG_BINARY, values.REG_NONE)

MIN_DURATION_MS = 1000
MAX_DURATION_MS = 2145600000
DEFAULT_VALUES_MS = (90000, 300000, 3600000)
DEFAULT_TIMER_LABELS = (b"Timer #&1", b"Timer #&2", b"Timer #&3")
DEFAULT_SOUND_LABELS = (b"Play External Sound #1", b"Play External Sound #2", b"Play External Sound #3")
DEFAULT_OPEN_LABELS = (b"Open File #1", b"Open File #2", b"Open File #3")
LABEL_LIMIT = 30
WHITE_SPACE = b" \t\n\v\f\r"

# (weight, shortest, longest) of a random value's length.
LENGTHS = [
    (30, 0, 8), (15, 3, 5), (15, 29, 33), (10, 258, 262), (10, 9, 300), (6, 300, 4096), (4, 25997, 26001),
    (2, 60000, MAX_LENGTH - 1), (1, MAX_LENGTH, MAX_LENGTH),
]

INTERESTING_NUMBERS = (0, 1, 2, 3, 4, 9, 10, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE)
DURATION_NUMBERS = (0, 1, 999, 1000, 1001, 59999, 60000, 90000, 3599999, MAX_DURATION_MS, MAX_DURATION_MS + 1,
                    3000000000, 0xFFFFFF00, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF)


def monitor_subkey(monitor):
    return "MonitorRectangle({},{},{},{})".format(*monitor)


def layout(monitor):
    """(subkey, value names) of every key the program reads; "" is the
    settings key itself."""
    keys = [("", OPTIONS)]
    keys += [(f"Timer0{n}", TIMER_NAMES) for n in (1, 2, 3)]
    keys += [(f"ExternalSound0{n}", EVENT_NAMES) for n in (1, 2, 3)]
    keys += [(f"OpenFile0{n}", EVENT_NAMES) for n in (1, 2, 3)]
    keys += [("MainWindow", POSITION), ("MainWindow\\" + monitor_subkey(monitor), POSITION)]
    return keys


class ChaosState:
    """One state: {subkey: {name: RegValue}} holding only what is present;
    `dropped` lists the subkeys left out whole."""

    def __init__(self, seed, index, keys, dropped):
        self.seed = seed
        self.index = index
        self.keys = keys
        self.dropped = dropped

    def value(self, subkey, name):
        return self.keys.get(subkey, {}).get(name)

    def registry(self, settings_key):
        """{key: {name: value}} for Registry.seed."""
        return {(settings_key + "\\" + subkey) if subkey else settings_key: names
                for subkey, names in self.keys.items() if names}

    def describe(self, full=False):
        """The state as text: every value with type, length and bytes (the
        first and last few unless full)."""
        lines = [f"state {self.index} of seed {self.seed}"]
        if self.dropped:
            lines.append("  subkeys left out: " + ", ".join(subkey or "(the key itself)" for subkey in self.dropped))
        for subkey, names in self.keys.items():
            for name, value in names.items():
                data = value.data
                shown = data.hex() if full or len(data) <= 40 else f"{data[:32].hex()}...{data[-8:].hex()}"
                mode = " wide" if value.wide else ""
                lines.append(f"  {subkey or '.'}\\{name} {values.TYPE_NAMES[value.type]}{mode} "
                             f"{len(data)} bytes {shown or '(empty)'}")
        return "\n".join(lines)


def generate(seed, index, monitor, window_size):
    """State `index` of `seed`. monitor is the screen's monitor rectangle
    (its subkey holds the copy of the position), window_size the main
    dialog's width and height, for positions the program can restore."""
    rng = random.Random(f"kelvaro-registry-chaos/{seed}/{index}")
    missing = rng.choice((0.05, 0.25, 0.5, 0.9))
    plausible = rng.choice((0.2, 0.5, 0.8))
    keys = {}
    dropped = []
    for subkey, names in layout(monitor):
        if rng.random() < 0.12:
            dropped.append(subkey)
            continue
        keys[subkey] = {name: _value(rng, name, plausible) for name in names if rng.random() >= missing}
    if "MainWindow" in keys and rng.random() < 0.3:
        _restorable_position(rng, keys, monitor, window_size)
    if rng.random() < 0.03:                 # now and then, nothing at all
        dropped = [subkey for subkey, _ in layout(monitor)]
        keys = {}
    return ChaosState(seed, index, keys, dropped)


def _value(rng, name, plausible):
    if rng.random() < plausible:
        return _plausible_number(rng, name) if name in NUMBER_NAMES else _plausible_text(rng, name)
    type = rng.choice(RANDOM_TYPES)
    data = _bytes(rng, _length(rng))
    return values.raw(type, data, wide=type in values.STRING_TYPES and rng.random() < 0.5)


def _length(rng):
    weights = [weight for weight, _, _ in LENGTHS]
    _, shortest, longest = rng.choices(LENGTHS, weights)[0]
    return rng.randint(shortest, longest)


TEXT_BYTES = b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 &#.:\\/-_"
HIGH_BYTES = b"\x80\x81\x9f\xa0\xc9\xe9\xffA "


def _pick(rng, alphabet, length):
    """length bytes drawn from alphabet (a long run repeats its first 4 KiB)."""
    chunk = bytes(rng.choice(alphabet) for _ in range(min(length, 4096)))
    return (chunk * (length // 4096 + 1))[:length]


def _bytes(rng, length):
    kind = rng.choices(("random", "text", "terminated", "inner nul", "high", "white", "zeros", "utf16"),
                       (25, 20, 15, 10, 10, 8, 5, 7))[0]
    if length == 0:
        return b""
    if kind == "random":
        return rng.randbytes(length)
    if kind == "white":
        return _pick(rng, WHITE_SPACE, length)
    if kind == "zeros":
        return bytes(length)
    if kind == "high":
        return _pick(rng, HIGH_BYTES, length)
    if kind == "utf16":
        return _pick(rng, TEXT_BYTES, (length + 1) // 2).decode("ascii").encode("utf-16-le")[:length]
    text = bytearray(_pick(rng, TEXT_BYTES, length))
    if kind == "terminated":
        text[-1] = 0
    elif kind == "inner nul":
        text[rng.randrange(length)] = 0
    return bytes(text)


def _plausible_number(rng, name):
    if name == "Value":
        number = rng.choice(DURATION_NUMBERS + (rng.randrange(MIN_DURATION_MS, MAX_DURATION_MS + 1),
                                                rng.randrange(1, MAX_DURATION_MS // 1000 + 1) * 1000))
    elif name in POSITION:
        number = rng.choice(INTERESTING_NUMBERS + (rng.randint(-3000, 3000) & 0xFFFFFFFF, rng.randint(0, 2000)))
    else:
        number = rng.choice(INTERESTING_NUMBERS + (rng.getrandbits(32),))
    shape = rng.choices(("dword", "qword", "binary", "short", "long", "text"), (70, 8, 8, 5, 5, 4))[0]
    if shape == "dword":
        return values.dword(number)
    if shape == "qword":
        return values.qword(number)
    if shape == "binary":
        return values.binary(number.to_bytes(4, "little"))
    if shape == "short":
        return values.raw(values.REG_DWORD, number.to_bytes(4, "little")[:rng.randint(0, 3)])
    if shape == "long":
        return values.raw(values.REG_DWORD, number.to_bytes(4, "little") + bytes(rng.randint(1, 4)))
    return values.raw(values.REG_SZ, str(number).encode("ascii") + b"\0")


def _plausible_text(rng, name):
    length = rng.choice((0, 1, 4, 29, 30, 31, 32, 40, 100) if name == "Label"
                        else (0, 12, 258, 259, 260, 261, 25998, 25999, 26000, 26001))
    body = _pick(rng, TEXT_BYTES, length)
    if rng.random() < 0.2:
        body = body.replace(b"a", b"\xe9").replace(b"e", b"\xa0")     # high bytes, a no-break space
    text = _padding(rng) + body + _padding(rng)
    ending = rng.choices(("nul", "none", "inner"), (70, 20, 10))[0]
    if ending == "nul":
        text += b"\0"
    elif ending == "inner" and text:
        text = text[:len(text) // 2] + b"\0" + text[len(text) // 2:] + b"\0"
    type = rng.choices((values.REG_SZ, values.REG_EXPAND_SZ, values.REG_MULTI_SZ), (85, 10, 5))[0]
    return values.raw(type, text)


def _padding(rng):
    return _pick(rng, WHITE_SPACE, rng.choice((0, 0, 1, 3)))


def _restorable_position(rng, keys, monitor, window_size):
    """The same position in MainWindow and its monitor's copy, so that the
    program uses it: on screen, at an edge or far outside it."""
    left, top, right, bottom = monitor
    width, height = window_size
    if rng.random() < 0.5:
        cx, cy = width, height
    else:
        cx, cy = rng.choice(((0, 0), (1, 1), (width // 2, height * 2), (right * 3, bottom * 3),
                             (0x7FFFFFFF, 0x7FFFFFFF)))
    x = rng.choice((left, right - cx, right - 1, right, rng.randint(left, right), -5000, 0x7FFFFFFF - cx,
                    -0x80000000))
    y = rng.choice((top, bottom - cy, bottom - 1, bottom, rng.randint(top, bottom), -5000, 0x7FFFFFFF - cy,
                    -0x80000000))
    numbers = {"X": x, "Y": y, "CX": cx, "CY": cy}
    for subkey in ("MainWindow", "MainWindow\\" + monitor_subkey(monitor)):
        keys[subkey] = {name: values.dword(number & 0xFFFFFFFF) for name, number in numbers.items()}


# ---- what the program must make of a state

def stored_number(value):
    """The signed number a REG_DWORD of exactly four bytes holds, else None
    (any other type or length is not read)."""
    if value is None or value.type != values.REG_DWORD or len(value.data) != 4:
        return None
    return int.from_bytes(value.data, "little", signed=True)


def expected_timer(state, number):
    """(valueMs, unit 1-3, event 1-9) timer number 1-3 loads as."""
    subkey = f"Timer0{number}"
    value = stored_number(state.value(subkey, "Value"))
    unit = stored_number(state.value(subkey, "Unit"))
    event = stored_number(state.value(subkey, "Event"))
    if value is None:
        value = DEFAULT_VALUES_MS[number - 1]
    value = min(max(value, MIN_DURATION_MS), MAX_DURATION_MS)
    unit = unit if unit is not None and 1 <= unit <= 3 else number
    event = event if event is not None and 1 <= event <= 9 else number
    return value, unit, event


def expected_option(state, name):
    number = stored_number(state.value("", name))
    return True if number is None else number != 0


def expected_label(value, default):
    """The label bytes a stored value loads as, or None where only the
    rules can be checked (a value planted as UTF-16, which the system
    converts). The code page is a single-byte one."""
    if value is None or value.type != values.REG_SZ:
        return default
    if value.wide:
        return None
    label = value.data.split(b"\0", 1)[0][:LABEL_LIMIT].strip(WHITE_SPACE)
    return label or default


def format_duration(ms, unit):
    """The idle form of a duration in its unit, as the panels show it."""
    s = ms // 1000
    if unit == 3:
        return f"{s // 3600}h{s // 60 % 60:02}m{s % 60:02}s"
    if unit == 2:
        return f"{s // 60}m{s % 60:02}s"
    return f"{s}s"


FULL_FORMS = {1: re.compile(r"(\d+)s"), 2: re.compile(r"(\d+)m([0-5]\d)s"),
              3: re.compile(r"(\d+)h([0-5]\d)m([0-5]\d)s")}


def parse_full_form(text, unit):
    """Seconds of a duration shown in the idle form of its unit, or None."""
    match = FULL_FORMS[unit].fullmatch(text)
    if match is None:
        return None
    seconds = 0
    for part in match.groups():
        seconds = seconds * 60 + int(part)
    return seconds
