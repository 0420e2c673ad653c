"""The test-facing side: a Machine (one test's Wine prefix with its driver),
and Window / App objects whose methods are named for what a user sees."""

import contextlib
import os
import shutil
import subprocess
import time
from collections import Counter
from pathlib import Path

from . import ids
from .driver import DRIVER_VERSION, Driver, DriverError, WindowRecord, fields, hex_text, unhex
from .sounds import SoundCapture, alsa_config
from .values import RegValue, as_value
from .waiting import WaitTimeout, poll, wait_for
from .wine import (DEFAULT_DPI, DEFAULT_LOCALE, WineServer, copy_prefix, prefix_architecture, set_display_dpi,
                   wine_environment, wine_loader)

REPO = Path(__file__).resolve().parents[3]
BUILD = Path(os.environ.get("KELVARO_BUILD_DIR", REPO / "build" / "win"))
KELVARO_EXE = BUILD / "Kelvaro.exe"
TOOLS = BUILD / "tests" / "e2e" / "tools"
# A 64-bit build runs in a 64-bit prefix, with the tools of its own build.
PREFIX_ARCH = prefix_architecture(KELVARO_EXE)

# Where each test's copy of the program lives inside its prefix.
PROGRAM_DIR = r"C:\Program Files\Kelvaro"
PROGRAM_PATH = PROGRAM_DIR + r"\Kelvaro.exe"
RECORDER_PATH = r"C:\tools\recorder.exe"
# Loaded by the driver into a program whose menus and icons it counts.
OBJCOUNT_PATH = r"C:\tools\objcount.dll"
SETTINGS_KEY = r"Software\Morvane\Kelvaro V3"

DEFAULT_TIMEOUT = 20
# A popup menu shows within milliseconds of its click; after this the click was lost.
LOST_CLICK_TIMEOUT = 4

# Messages, notifications and flags the harness uses by number.
WM_CLOSE = 0x0010
WM_CHAR = 0x0102
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONUP = 0x0202
WM_LBUTTONDBLCLK = 0x0203
WM_RBUTTONDOWN = 0x0204
WM_RBUTTONUP = 0x0205
WM_RBUTTONDBLCLK = 0x0206
BM_GETCHECK = 0x00F0
BM_GETIMAGE = 0x00F6
BM_CLICK = 0x00F5
SC_CLOSE = 0xF060
MK_LBUTTON = 0x0001
MK_RBUTTON = 0x0002
MK_SHIFT = 0x0004
MK_CONTROL = 0x0008
WS_EX_TOPMOST = 0x00000008
IMAGE_ICON = 1
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7

# Wine's message box: its text is static 0xFFFF, its icon static 0x440.
MESSAGE_BOX_TEXT = 0xFFFF
MESSAGE_BOX_ICON = 0x0440

VIRTUAL_KEYS = {
    "backspace": 0x08, "tab": 0x09, "return": 0x0D, "enter": 0x0D, "shift": 0x10, "control": 0x11, "ctrl": 0x11,
    "alt": 0x12, "escape": 0x1B, "esc": 0x1B, "space": 0x20, "pageup": 0x21, "pagedown": 0x22, "end": 0x23,
    "home": 0x24, "left": 0x25, "up": 0x26, "right": 0x27, "down": 0x28, "insert": 0x2D, "delete": 0x2E,
    **{f"f{number}": 0x6F + number for number in range(1, 13)},
}

# What holding a modifier sets: the generic key and its left-hand key.
HELD_KEYS = {"shift": (0x10, 0xA0), "control": (0x11, 0xA2), "ctrl": (0x11, 0xA2), "alt": (0x12, 0xA4)}


def virtual_key(key):
    """A virtual-key code from a number, a name ("return", "f5") or one
    letter or digit."""
    if isinstance(key, int):
        return key
    name = key.lower()
    if name in VIRTUAL_KEYS:
        return VIRTUAL_KEYS[name]
    if len(key) == 1 and key.isalnum():
        return ord(key.upper())
    raise ValueError(f"unknown key {key!r}")


class Rect(tuple):
    """left, top, right, bottom."""

    def __new__(cls, left, top, right, bottom):
        return super().__new__(cls, (left, top, right, bottom))

    left = property(lambda self: self[0])
    top = property(lambda self: self[1])
    right = property(lambda self: self[2])
    bottom = property(lambda self: self[3])
    width = property(lambda self: self[2] - self[0])
    height = property(lambda self: self[3] - self[1])

    @property
    def center(self):
        return ((self[0] + self[2]) // 2, (self[1] + self[3]) // 2)


class Pixels:
    """Screen pixels: .width, .height, .at(x, y) -> (red, green, blue)."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def at(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def colours(self):
        """Every distinct colour, with how many pixels have it."""
        return Counter(tuple(self.data[offset:offset + 3]) for offset in range(0, len(self.data), 3))


class MessageBox(tuple):
    """(caption, text) of a message box; .hwnd is the box."""

    def __new__(cls, hwnd, caption, text):
        box = super().__new__(cls, (caption, text))
        box.hwnd = hwnd
        return box

    caption = property(lambda self: self[0])
    text = property(lambda self: self[1])


class Registry:
    """The registry of one prefix. Keys are under HKEY_CURRENT_USER unless
    they start with HKCU\\, HKLM\\, HKCR\\ or HKU\\."""

    def __init__(self, machine):
        self._machine = machine

    def _request(self, *words):
        return self._machine.driver.request(*words)

    def _key(self, key):
        return hex_text(self._machine.encode(key))

    def set(self, key, name, value, check=True):
        """Writes one value (see values.as_value for plain Python values);
        returns the Win32 status, raising on failure when check is set."""
        value = as_value(value)
        data = value.to_bytes(self._machine.encoding)
        status = int(self._request("regset", self._key(key), hex_text(self._machine.encode(name)), value.type,
                                   hex_text(data), "w" if value.wide else "a")[0])
        if check and status != 0:
            raise DriverError(f"writing {key}\\{name} failed with error {status}")
        return status

    def seed(self, keys):
        """Writes {key: {name: value}} (before the program starts)."""
        for key, values in keys.items():
            for name, value in values.items():
                self.set(key, name, value)

    def get(self, key, name, wide=False):
        """The value as a RegValue, or None when the key or value is missing.
        wide=True reads the stored bytes untouched."""
        reply = self._request("regget", self._key(key), hex_text(self._machine.encode(name)), "w" if wide else "a")
        status = int(reply[0])
        if status in (2, 3):
            return None
        if status != 0:
            raise DriverError(f"reading {key}\\{name} failed with error {status}")
        return RegValue(int(reply[1]), unhex(reply[2]), wide, self._machine.encoding)

    def _list(self, key, wide):
        reply = self._request("reglist", self._key(key), "w" if wide else "a")
        status = int(reply[0])
        if status in (2, 3):
            return None
        if status != 0:
            raise DriverError(f"listing {key} failed with error {status}")
        return reply[1:]

    def values(self, key, wide=False):
        """{name: RegValue} of a key, or None when the key is missing."""
        tokens = self._list(key, wide)
        if tokens is None:
            return None
        result = {}
        for token in tokens:
            if token.startswith("v:"):
                _, name, type, data = token.split(":")
                result[self._machine.decode(unhex(name))] = RegValue(int(type), unhex(data), wide,
                                                                     self._machine.encoding)
        return result

    def subkeys(self, key):
        tokens = self._list(key, False)
        if tokens is None:
            return None
        return [self._machine.decode(unhex(token[2:])) for token in tokens if token.startswith("k:")]

    def exists(self, key):
        return self._list(key, False) is not None

    def delete(self, key):
        """Deletes a key and everything below it; False when it was missing."""
        status = int(self._request("regdelete", self._key(key))[0])
        if status not in (0, 2):
            raise DriverError(f"deleting {key} failed with error {status}")
        return status == 0

    def delete_value(self, key, name):
        status = int(self._request("regdeletevalue", self._key(key), hex_text(self._machine.encode(name)))[0])
        if status not in (0, 2):
            raise DriverError(f"deleting {key}\\{name} failed with error {status}")
        return status == 0

    def lock(self, key):
        """Makes writes to the key (its values, and creating it with write
        access) fail with error 5 while reads still work. Lasts only while
        this test's wineserver runs; under Wine subkeys can still be created."""
        self.set_access(key, "D:P(D;OICI;0x10006;;;WD)(A;OICI;KA;;;WD)")

    def unlock(self, key):
        self.set_access(key, "D:P(A;OICI;KA;;;WD)")

    def set_access(self, key, sddl):
        status = int(self._request("regsddl", self._key(key), hex_text(sddl.encode("ascii")))[0])
        if status != 0:
            raise DriverError(f"changing the access of {key} failed with error {status}")


class RecorderLaunch:
    """One start of recorder.exe."""

    def __init__(self, line, decode):
        info = fields(line.split())
        self.tick = int(info["tick"])
        self.show = int(info["show"])
        self.cwd = decode(unhex(info["cwd"]))
        self.command_line = decode(unhex(info["cmdline"]))
        self.argv = [decode(unhex(item)) for item in info["argv"].split(",")] if info.get("argv") else []

    @property
    def args(self):
        return self.argv[1:]

    def __repr__(self):
        return f"<recorder start tick={self.tick} cwd={self.cwd!r} command line={self.command_line!r}>"


class Recorder:
    """recorder.exe installed in the prefix: point open-file events at
    .path and read back how it was started."""

    def __init__(self, machine):
        self._machine = machine
        self.path = RECORDER_PATH
        self.log = machine.unix_path(RECORDER_PATH).parent / "recorder.log"

    def launches(self):
        if not self.log.exists():
            return []
        return [RecorderLaunch(line, self._machine.decode)
                for line in self.log.read_text(encoding="ascii").splitlines() if line.strip()]

    def wait_for_launches(self, count, timeout=DEFAULT_TIMEOUT):
        """Waits until at least count starts were logged; returns them all."""
        return wait_for(lambda: len(self.launches()) >= count and self.launches(), timeout,
                        message=f"{count} start(s) of the recorder")


class Machine:
    """One test's Windows: a copy of the template prefix, its own
    wineserver and a driver.exe inside it. Close it to end everything."""

    def __init__(self, run, directory, sound=False, locale=DEFAULT_LOCALE, dpi=DEFAULT_DPI, display=None):
        self.run = run
        self.dpi = dpi
        self.directory = Path(directory)
        self.directory.mkdir(parents=True, exist_ok=True)
        self.prefix = self.directory / "prefix"
        self.home = self.directory / "home"
        self.home.mkdir(exist_ok=True)
        self.display = display or run.display
        self.apps = []
        self.sounds = None
        self.driver = None
        self.server = None
        copy_prefix(run.template, self.prefix)
        if dpi != DEFAULT_DPI:
            set_display_dpi(self.prefix, dpi)
        self.install(KELVARO_EXE, PROGRAM_PATH)
        self.install(TOOLS / "recorder.exe", RECORDER_PATH)
        # A copy, so that a rebuild never replaces a file a running program has mapped.
        self.install(TOOLS / "objcount.dll", OBJCOUNT_PATH)
        # Every machine can capture sound; enable_sound() turns the device on.
        self._capture = self.directory / "sound"
        config = self.directory / "alsa.conf"
        config.write_text(alsa_config(self._capture), encoding="utf-8")
        self.env = wine_environment(self.prefix, self.home, self.display, PREFIX_ARCH, locale,
                                    {"ALSA_CONFIG_PATH": str(config)})
        try:
            self._start(sound)
        except BaseException:
            self.close()
            raise

    def _start(self, sound):
        self.server = WineServer(self.env, self.directory / "wineserver.log")
        command = [wine_loader(PREFIX_ARCH), str(TOOLS / "driver.exe")]
        self.driver = Driver(command, self.env, self.directory / "driver.log", self.directory / "wine-output.log")
        # The first program of a prefix also starts Wine's services.
        hello = fields(self.driver.request("hello", timeout=120))
        if int(hello["version"]) < DRIVER_VERSION:
            raise DriverError(f"{TOOLS / 'driver.exe'} is older than this harness: rebuild it (scripts/build.sh win)")
        self.screen_dpi = int(hello["dpi"])
        self.code_page = int(hello["acp"])
        self.driver_pid = int(hello["pid"])
        self.encoding = f"cp{self.code_page}"
        self.registry = Registry(self)
        self.recorder = Recorder(self)
        if sound:
            self.enable_sound()

    def enable_sound(self):
        """Gives programs started from now on a sound device that writes every
        stream to a file (machine.sounds reads them); Wine reads the setting
        as each process starts."""
        if self.sounds is None:
            self.registry.set(r"Software\Wine\Drivers", "Audio", "alsa")
            self.sounds = SoundCapture(self._capture)
        return self.sounds

    def install(self, source, windows_path):
        """Copies a Linux file into the prefix as windows_path."""
        target = self.unix_path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)

    # ---- texts and paths

    def encode(self, text):
        """str in the prefix's ANSI code page; bytes pass unchanged."""
        return text if isinstance(text, bytes) else text.encode(self.encoding, "surrogateescape")

    def decode(self, data):
        return data.decode(self.encoding, "surrogateescape")

    def unix_path(self, windows_path):
        """The Linux path of C:\\... (inside the prefix) or Z:\\... ."""
        drive, rest = windows_path[0].upper(), windows_path[2:].replace("\\", "/").lstrip("/")
        if drive == "C":
            return self.prefix / "drive_c" / rest
        if drive == "Z":
            return Path("/") / rest
        raise ValueError(f"no Linux path for {windows_path!r}")

    def windows_path(self, unix_path):
        """C:\\... for a path inside the prefix's drive C, else Z:\\... ."""
        path = Path(unix_path).resolve()
        drive_c = (self.prefix / "drive_c").resolve()
        if path == drive_c:
            return "C:\\"
        if drive_c in path.parents:
            return "C:\\" + str(path.relative_to(drive_c)).replace("/", "\\")
        return "Z:" + str(path).replace("/", "\\")

    # ---- programs

    def launch(self, exe=PROGRAM_PATH, args=None, cwd=None, main_control=ids.IDC_MENU, timeout=30):
        """Starts a program (by default this test's Kelvaro.exe) with
        CreateProcess and waits for its main dialog: a visible top-level
        #32770 of the process holding main_control (None: do not wait)."""
        exe_bytes = self.encode(exe)
        command_line = b'"' + exe_bytes + b'"'
        if args:
            command_line += b" " + self.encode(args)
        if cwd is None:
            cwd = exe.rsplit("\\", 1)[0] if "\\" in exe else None
        reply = self.driver.request("launch", hex_text(exe_bytes), hex_text(command_line),
                                    hex_text(self.encode(cwd) if cwd else b""))
        app = App(self, int(reply[0]), int(reply[1]), exe)
        self.apps.append(app)
        if main_control is not None:
            app.wait_for_main_window(main_control, timeout)
        return app

    def windows(self, pid=0):
        """Top-level windows (of one process, or all) as WindowRecords."""
        return [WindowRecord(record, self.decode) for record in self.driver.request("windows", pid)]

    def tick_count(self):
        return int(self.driver.request("tick")[0])

    def foreground(self):
        return int(self.driver.request("foreground")[0])

    # ---- the screen

    def pixels(self, rect):
        """What the screen shows in a rectangle (screen coordinates)."""
        data = unhex(self.driver.request("pixels", rect.left, rect.top, rect.width, rect.height)[0])
        return Pixels(rect.width, rect.height, data)

    def text_layout(self, text, font_height, width, module=PROGRAM_PATH):
        """How the program's "Segoe UI" of that LOGFONT height lays out text
        as a control draws it: (width on one line, height when broken into
        lines of at most width pixels, line height)."""
        reply = self.driver.request("textfit", hex_text(self.encode(module)), font_height, width,
                                    hex_text(self.encode(text)))
        return tuple(int(field) for field in reply[:3])

    def screenshot(self, path, rect=None, timeout=DEFAULT_TIMEOUT):
        """Saves the screen (or a rectangle of it) as PNG once two captures in
        a row agree, so that no half-painted window is kept."""
        crop = [] if rect is None else ["-crop", f"{rect.width}x{rect.height}+{rect.left}+{rect.top}", "+repage"]
        command = ["import", "-display", self.display, "-window", "root", *crop, "png:-"]
        env = dict(os.environ, DISPLAY=self.display)
        previous = [None]

        def stable():
            image = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                   stdin=subprocess.DEVNULL, timeout=60, check=True).stdout
            same = image == previous[0]
            previous[0] = image
            return same and image

        image = wait_for(stable, timeout, interval=0.1, message="a steady screen")
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        Path(path).write_bytes(image)
        return Path(path)

    # ---- the end

    def stop_programs(self):
        """Ends the programs the driver started and every other process with
        a window on screen (their windows go at once), then the driver."""
        if self.driver is None:
            return
        with contextlib.suppress(DriverError):
            for app in self.apps:
                app.terminate()
            for pid in {window.pid for window in self.windows() if window.visible} - {self.driver_pid, 0}:
                self.driver.request("terminate", pid, 1)
        self.driver.close()

    def shut_down(self):
        """Ends the wineserver, which ends every other Wine process of this
        prefix."""
        if self.server is not None:
            self.server.stop()
        if self.driver is not None:
            self.driver.release()

    def close(self):
        self.stop_programs()
        self.shut_down()


class Window:
    """A top-level window (a dialog) and its controls, addressed by control
    id. Methods that take id=None act on the window itself."""

    def __init__(self, app, hwnd):
        self.app = app
        self.machine = app.machine
        self.driver = app.machine.driver
        self.hwnd = hwnd

    def is_foreground(self):
        return self.machine.foreground() == self.hwnd

    def set_foreground(self):
        return self.driver.request("setforeground", self.hwnd)[0] == "1"

    # ---- finding controls

    def control(self, id):
        """The window handle of a control; raises when there is none."""
        if id is None:
            return self.hwnd
        hwnd = int(self.driver.request("item", self.hwnd, id & 0xFFFFFFFF)[0])
        if hwnd == 0:
            raise LookupError(f"no control {id} in window {self.hwnd}")
        return hwnd

    def has_control(self, id):
        return int(self.driver.request("item", self.hwnd, id & 0xFFFFFFFF)[0]) != 0

    def children(self):
        """Every descendant window as a WindowRecord (its text there is what
        the window manager stores; use text(id) for a control's real text)."""
        return [WindowRecord(record, self.machine.decode) for record in self.driver.request("children", self.hwnd)]

    def info(self, id=None):
        """Everything the driver knows about the window or a control, as a
        dict: visible, enabled, style, exstyle, id, owner, pid, tid, left,
        top, right, bottom, clientx, clienty, clientwidth, clientheight..."""
        result = fields(self.driver.request("info", self.control(id)))
        for key in ("class", "text"):
            if key in result:
                result[key] = self.machine.decode(unhex(result[key]))
        return {key: (int(value) if key not in ("class", "text") else value) for key, value in result.items()}

    def exists(self):
        return self.driver.request("info", self.hwnd)[0] == "valid=1"

    # ---- texts

    def text_bytes(self, id=None):
        """WM_GETTEXT, as the ANSI bytes the program sees."""
        return unhex(self.driver.request("text", self.control(id))[0])

    def text(self, id=None):
        return self.machine.decode(self.text_bytes(id))

    def accessible_name(self, id=None):
        """The control's accName through oleacc (OBJID_CLIENT), as a screen
        reader gets it; None when it has no name."""
        name = self.driver.request("accname", self.control(id))[0]
        return None if name == "none" else self.machine.decode(unhex(name))

    def set_text(self, id, text):
        """WM_SETTEXT with str (encoded in the code page) or exact bytes."""
        self.driver.request("settext", self.control(id), hex_text(self.machine.encode(text)))

    def caption(self):
        """The window's caption as the window manager holds it (no message
        reaches the program, so this works while it is busy)."""
        return self.info()["text"]

    # ---- messages

    def send_message(self, message, wparam=0, lparam=0, id=None):
        """SendMessage to the window or a control; returns the result.
        Never for anything that opens a menu or a modal box: post those."""
        return int(self.driver.request("send", self.control(id), message, wparam, lparam)[0])

    def send_text_message(self, message, wparam, text, id=None):
        """SendMessage whose lParam points at a text (EM_REPLACESEL, ...)."""
        return int(self.driver.request("sendtext", self.control(id), message, wparam,
                                       hex_text(self.machine.encode(text)))[0])

    def post_message(self, message, wparam=0, lparam=0, id=None):
        self.driver.request("post", self.control(id), message, wparam, lparam)

    def click(self, id):
        """BM_CLICK, sent: returns once the program has handled the click."""
        self.send_message(BM_CLICK, id=id)

    def post_click(self, id):
        """BM_CLICK, posted: for buttons that open a menu or a modal box."""
        self.post_message(BM_CLICK, id=id)

    def command(self, id, code=0):
        """Sends WM_COMMAND (id, notification code) as the control would."""
        self.send_message(WM_COMMAND, (code << 16) | (id & 0xFFFF), self._control_or_zero(id))

    def post_command(self, id, code=0):
        self.post_message(WM_COMMAND, (code << 16) | (id & 0xFFFF), self._control_or_zero(id))

    def _control_or_zero(self, id):
        return int(self.driver.request("item", self.hwnd, id & 0xFFFFFFFF)[0])

    def close_with_close_box(self):
        """The caption's close button: WM_SYSCOMMAND SC_CLOSE, posted."""
        self.post_message(WM_SYSCOMMAND, SC_CLOSE, 0)

    # ---- state

    def is_enabled(self, id=None):
        return self.info(id)["enabled"] == 1

    def is_visible(self, id=None):
        return self.info(id)["visible"] == 1

    def check_state(self, id):
        """BM_GETCHECK: 0 cleared, 1 checked, 2 indeterminate."""
        return self.send_message(BM_GETCHECK, id=id)

    def is_checked(self, id):
        return self.check_state(id) == 1

    def style(self, id=None):
        return self.info(id)["style"]

    def exstyle(self, id=None):
        return self.info(id)["exstyle"]

    def is_topmost(self):
        return bool(self.exstyle() & WS_EX_TOPMOST)

    def window_rect(self, id=None):
        """Screen coordinates of the window (frame included) or a control."""
        info = self.info(id)
        return Rect(info["left"], info["top"], info["right"], info["bottom"])

    def client_rect(self, id=None):
        """id=None: this window's client area (0, 0, width, height). With an
        id: that control's rectangle in this window's client coordinates,
        ready for click_at."""
        own = self.info()
        if id is None:
            return Rect(0, 0, own["clientwidth"], own["clientheight"])
        rect = self.window_rect(id)
        return Rect(rect.left - own["clientx"], rect.top - own["clienty"],
                    rect.right - own["clientx"], rect.bottom - own["clienty"])

    # ---- focus and keyboard

    def focus_hwnd(self):
        return int(fields(self.driver.request("guithread", self.info()["tid"]))["focus"])

    def focus_id(self):
        """The id of this window's control that holds the focus (for a
        control inside a control, the outer one), or None."""
        focus = self.focus_hwnd()
        while focus:
            info = fields(self.driver.request("info", focus))
            if info.get("valid") != "1":
                return None
            if int(info["parent"]) == self.hwnd:
                return int(info["id"])
            focus = int(info["parent"])
        return None

    def move_focus(self, id):
        """Moves the focus through the dialog manager (WM_NEXTDLGCTL, sent):
        the control losing it gets its notifications before this returns."""
        self.driver.request("nextdlgctl", self.hwnd, self.control(id))

    def press_key(self, key, on=None, action="press"):
        """Posts WM_KEYDOWN/WM_KEYUP of a key (a code or a name such as
        "return", "escape", "down", "a") to the focused control, or first
        moves the focus to control `on`. action: press, down or up; sys...
        for the WM_SYSKEY messages."""
        if on is not None:
            self.move_focus(on)
        target = self.focus_hwnd() or self.hwnd
        self.driver.request("key", target, virtual_key(key), action)

    def type_text(self, id, text, post=False):
        """Types the text into a control (after moving the focus there) as
        WM_CHAR messages, one per byte (a double-byte character arrives as
        its two bytes). They are sent, so the text is in place on return;
        post=True posts them as the keyboard would, through the dialog
        manager: then wait for the outcome."""
        self.move_focus(id)
        target = self.control(id)
        for byte in self.machine.encode(text):
            self.driver.request("post" if post else "send", target, WM_CHAR, byte, 1)

    def type_enter_in(self, id):
        """Focus to the control, then Enter as the keyboard would send it."""
        self.press_key("return", on=id)

    # ---- combo boxes and list boxes

    def _items(self, id, kind):
        reply = self.driver.request("items", self.control(id), kind)
        return int(reply[1]), [self.machine.decode(unhex(token)) for token in reply[2:]]

    def combo_items(self, id):
        return self._items(id, "combo")[1]

    def combo_selection(self, id):
        """The selected index, -1 for none."""
        return self._items(id, "combo")[0]

    def select_combo(self, id, index, post=False):
        """Selects an item and notifies the dialog (CBN_SELCHANGE), as a user
        choosing it would; post=True when the dialog's answer is modal."""
        self.driver.request("select", self.control(id), "combo", index, "post" if post else "send")

    # ---- buttons' images

    def button_image(self, id):
        """BM_GETIMAGE (IMAGE_ICON): the icon handle, 0 for none."""
        return self.send_message(BM_GETIMAGE, IMAGE_ICON, 0, id=id)

    def button_icon(self, id, candidates=(ids.IDI_READY, ids.IDI_RUNNING, ids.IDI_TIME_UP), size=32,
                    module=PROGRAM_PATH, timeout=10, part=None):
        """Which of the candidate icons of the program the button shows, or
        None. Wine keeps another process's icons out of reach, so the driver
        has the button repaint, then compares its pixels on screen with each
        candidate loaded from the program file: the button must be visible
        and not covered by another window. Two readings in a row must agree.
        With id=None a window's own picture is searched for (a menu's, say);
        part compares only the first part columns of the icons' middle part
        rows."""
        def reading():
            reply = self.driver.request("icon", self.control(id), hex_text(self.machine.encode(module)),
                                        size if part is None else f"{size}:{part}", *candidates)
            return int(reply[1])
        readings = [reading()]

        def steady():
            readings.append(reading())
            return readings[-1] == readings[-2]
        wait_for(steady, timeout, interval=0.02, message=f"a steady picture of button {id}")
        return readings[-1] or None

    # ---- the mouse

    def click_at(self, x, y, button="left", double=False, ctrl=False, shift=False, id=None):
        """Posts the mouse messages of a click at client coordinates of the
        window (or of control id): down and up; for double, down, up,
        double-click, up. ctrl/shift set MK_CONTROL/MK_SHIFT in wParam only;
        hold the keys with app.held_keys for GetKeyState."""
        modifiers = (MK_CONTROL if ctrl else 0) | (MK_SHIFT if shift else 0)
        position = (x & 0xFFFF) | ((y & 0xFFFF) << 16)
        if button == "left":
            down, up, twice, flag = WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, MK_LBUTTON
        elif button == "right":
            down, up, twice, flag = WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, MK_RBUTTON
        else:
            raise ValueError(f"unknown mouse button {button!r}")
        sequence = [(down, flag), (up, 0)]
        if double:
            sequence += [(twice, flag), (up, 0)]
        for message, pressed in sequence:
            self.post_message(message, pressed | modifiers, position, id=id)

    # ---- pictures

    def screenshot(self, path, timeout=DEFAULT_TIMEOUT):
        """Saves the window, frame included, as PNG."""
        return self.machine.screenshot(path, self.window_rect(), timeout)

    def pixels(self, id=None):
        """What the screen shows of the window (frame included) or a control."""
        return self.machine.pixels(self.window_rect(id))

    def sync(self, timeout=DEFAULT_TIMEOUT):
        """Returns once the program's window thread has handled every message
        posted to it so far (a posted marker comes back), also inside menus
        and message boxes. Use it before asserting that a posted action
        changed nothing."""
        self.driver.request("sync", self.info()["tid"], int(timeout * 1000), timeout=timeout + 10)

    def wait_for(self, predicate, timeout=DEFAULT_TIMEOUT, message=None):
        return wait_for(predicate, timeout, message=message)


class App(Window):
    """A program started by the driver; as a Window it is the main dialog."""

    def __init__(self, machine, pid, tid, exe):
        self.machine = machine
        self.driver = machine.driver
        self.app = self
        self.pid = pid
        self.tid = tid
        self.exe = exe
        self.hwnd = None
        self._held = Counter()

    @property
    def registry(self):
        return self.machine.registry

    @property
    def sounds(self):
        if self.machine.sounds is None:
            raise RuntimeError("this test does not capture sound: mark it with @pytest.mark.sound")
        return self.machine.sounds

    @property
    def recorder(self):
        return self.machine.recorder

    # ---- the process

    def wait_for_main_window(self, main_control=ids.IDC_MENU, timeout=30):
        def find():
            for window in self.windows():
                if window.class_name == "#32770" and window.visible and window.owner == 0 \
                        and int(self.driver.request("item", window.hwnd, main_control)[0]) != 0:
                    return window.hwnd
            if not self.is_running():
                raise AssertionError(f"{self.exe} ended with exit code {self.exit_code(0)} before showing its window")
            return None
        self.hwnd = wait_for(find, timeout, message="the program's main dialog")
        self.tid = self.info()["tid"]
        return self

    def is_running(self):
        return self.driver.request("wait", self.pid, 0)[0] == "running"

    def exit_code(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the process to end and returns its exit code."""
        deadline = time.monotonic() + timeout
        while True:
            slice_ms = max(0, min(1000, int((deadline - time.monotonic()) * 1000)))
            reply = self.driver.request("wait", self.pid, slice_ms)
            if reply[0] == "exited":
                return int(reply[1])
            if time.monotonic() >= deadline:
                raise WaitTimeout(f"{self.exe} still runs after {timeout} s")

    def terminate(self, code=1):
        """Ends the process if it still runs (teardown does this)."""
        self.driver.request("terminate", self.pid, code)

    def gui_counts(self):
        """The process's objects: {"gdi", "user", "handles"} as GetGuiResources
        and GetProcessHandleCount would give them, and the detail: "windows",
        "menus", "icons" (cursors included; user = their sum) and "dcs",
        "bitmaps", "brushes", "pens", "fonts", "regions", "palettes",
        "gdiother" (stock objects are not counted). Under Wine 8 the driver
        counts them itself (tools/driver.cpp, cmdResources); None where a
        count is unknown. The first call loads objcount.dll into the process
        for good: take starting counts after one call."""
        reply = self.driver.request("resources", self.pid, hex_text(self.machine.encode(OBJCOUNT_PATH)))
        info = {key: int(value) for key, value in fields(reply).items()}
        counts = {
            "gdi": None if info["gdierror"] else info["gdi"],
            "user": None if info["usererror"] else info["user"],
            "handles": info["handles"] if info["handles"] > 0 else None,
        }
        for key in ("windows", "menus", "icons", "dcs", "bitmaps", "brushes", "pens", "fonts", "regions", "palettes",
                    "gdiother"):
            counts[key] = info[key] if info[key] >= 0 else None
        return counts

    def tick_count(self):
        return self.machine.tick_count()

    # ---- held keys

    @contextlib.contextmanager
    def held_keys(self, *names):
        """Holds Shift, Control or Alt down as the program's GetKeyState sees
        it, for the block. Posted actions are handled later: wait inside the
        block for their outcome."""
        for name in names:
            if name.lower() not in HELD_KEYS:
                raise ValueError(f"cannot hold {name!r}; use one of {sorted(HELD_KEYS)}")
        self._held.update(name.lower() for name in names)
        self._apply_held_keys()
        try:
            yield
        finally:
            self._held.subtract(name.lower() for name in names)
            self._held = +self._held
            self._apply_held_keys()

    def _apply_held_keys(self):
        codes = sorted({code for name in self._held for code in HELD_KEYS[name]})
        try:
            self.driver.request("keys", self.tid, *codes)
        except DriverError:
            if self.is_running():
                raise   # a program that has ended holds no keys

    # ---- other windows of the process

    def windows(self):
        return self.machine.windows(self.pid)

    def dialogs(self):
        """Visible top-level dialogs of the process besides the main one."""
        return [window for window in self.windows()
                if window.class_name == "#32770" and window.visible and window.hwnd != self.hwnd]

    def dialog(self, caption=None, timeout=DEFAULT_TIMEOUT):
        """Waits for another dialog (with that caption) and returns it as a
        Window; message boxes are dialogs too."""
        def find():
            for window in self.dialogs():
                if caption is None or window.text == caption:
                    return window.hwnd
            return None
        return Window(self, wait_for(find, timeout, message=f"dialog {caption or ''}".strip()))

    # ---- popup menus

    def menus(self):
        """Visible popup menu windows (#32768) of the process."""
        return [window for window in self.windows() if window.class_name == "#32768" and window.visible]

    def menu_is_open(self):
        return bool(self.menus())

    def wait_for_menu(self, timeout=DEFAULT_TIMEOUT):
        return wait_for(self.menus, timeout, message="a popup menu")[0].hwnd

    def open_menu(self, from_button=ids.IDC_MENU, timeout=DEFAULT_TIMEOUT):
        """Clicks the button (posted) and waits for its popup menu. Under Wine
        the dialog manager may restore the focus inside the click when the
        dialog is activated once more after another window closed; the button
        then loses its press and the click does nothing. A click that opened
        no menu within a few seconds is made again."""
        deadline = time.monotonic() + timeout
        while True:
            self.post_click(from_button)
            menus = poll(self.menus, min(LOST_CLICK_TIMEOUT, max(0.0, deadline - time.monotonic())))
            if menus:
                return menus[0].hwnd
            if time.monotonic() >= deadline:
                raise WaitTimeout(f"timed out after {timeout} s waiting for a popup menu")

    def pick_menu_entry(self, index, *submenu_indexes, timeout=DEFAULT_TIMEOUT):
        """Chooses entry `index` (0-based, separators not counted) of the open
        menu with the keyboard; further indexes walk into submenus."""
        menu = self.wait_for_menu(timeout)
        keys = [0x28] * (index + 1)
        for sub in submenu_indexes:
            keys += [0x27] + [0x28] * sub   # Right opens the submenu on its first entry
        keys.append(0x0D)
        for key in keys:
            self.driver.request("key", menu, key, "press")
        wait_for(lambda: not self.menu_is_open(), timeout, message="the menu to close")

    def escape_menu(self, timeout=DEFAULT_TIMEOUT):
        """Dismisses the open menu (every level) with Escape."""
        def closed():
            menus = self.menus()
            if menus:
                self.driver.request("key", menus[0].hwnd, 0x1B, "press")
                poll(lambda: len(self.menus()) < len(menus), 2)
            return not self.menus()
        wait_for(closed, timeout, interval=0.01, message="the menu to close")

    # ---- message boxes

    def message_boxes(self):
        """Visible message boxes of the process."""
        boxes = []
        for window in self.dialogs():
            with contextlib.suppress(DriverError):
                box = Window(self, window.hwnd)
                if box.has_control(MESSAGE_BOX_TEXT) and box.has_control(MESSAGE_BOX_ICON):
                    boxes.append(MessageBox(window.hwnd, window.text, box.text(MESSAGE_BOX_TEXT)))
        return boxes

    def message_box(self, timeout=DEFAULT_TIMEOUT):
        """Waits for a message box and returns it as (caption, text), with .hwnd."""
        return wait_for(self.message_boxes, timeout, message="a message box")[0]

    def answer_message_box(self, button=IDYES, box=None, timeout=DEFAULT_TIMEOUT):
        """Presses a button of the message box (IDYES, IDNO, IDOK...) and waits
        for the box to go."""
        box = box or self.message_box(timeout)
        hwnd = box.hwnd if isinstance(box, MessageBox) else box
        self.driver.request("post", hwnd, WM_COMMAND, button, 0)
        wait_for(lambda: all(other.hwnd != hwnd for other in self.message_boxes()), timeout,
                 message="the message box to close")
