"""The shell's side of the taskbar and the notification area in a test
prefix: traywatch.exe receives every Shell_NotifyIcon call, taskbarlog.dll
(registered for CLSID_TaskbarList) logs every taskbar-list call."""

import struct
from dataclasses import dataclass

from .waiting import wait_for

TRAYWATCH_PATH = r"C:\tools\traywatch.exe"
TASKBARLOG_PATH = r"C:\tools\taskbarlog.dll"
TASKBAR_LIST_SERVER = r"HKLM\Software\Classes\CLSID\{56FDF344-FD6D-11d0-958A-006097C9A090}\InprocServer32"
CALIBRATION_TIP = "traywatch calibration"

NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETFOCUS, NIM_SETVERSION = 0, 1, 2, 3, 4
NIF_MESSAGE, NIF_ICON, NIF_TIP, NIF_INFO, NIF_SHOWTIP = 0x1, 0x2, 0x4, 0x10, 0x80
NIIF_INFO, NIIF_NOSOUND = 0x1, 0x10
NIN_SELECT, NIN_KEYSELECT = 0x400, 0x401
WM_CONTEXTMENU = 0x007B
WM_APP = 0x8000
WM_TRAY_CALLBACK = WM_APP + 3
TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_ERROR, TBPF_PAUSED = 0, 2, 4, 8


def _wide(data, offset, chars):
    text = data[offset:offset + 2 * chars].decode("utf-16-le", "replace")
    return text.split("\0", 1)[0]


@dataclass
class TrayCall:
    op: int
    hwnd: int
    id: int
    flags: int
    callback: int
    tip: str
    info: str
    version: int
    title: str
    info_flags: int
    icon_size: tuple


class Shell:
    def __init__(self, machine):
        self.machine = machine
        from .app import TOOLS   # the build's tools folder
        machine.install(TOOLS / "traywatch.exe", TRAYWATCH_PATH)
        machine.install(TOOLS / "taskbarlog.dll", TASKBARLOG_PATH)
        machine.registry.set(TASKBAR_LIST_SERVER, "", TASKBARLOG_PATH)
        machine.registry.set(TASKBAR_LIST_SERVER, "ThreadingModel", "Apartment")
        self.tray_log = machine.unix_path(TRAYWATCH_PATH).parent / "traywatch.log"
        self.taskbar_log = machine.unix_path(TASKBARLOG_PATH).parent / "taskbarlog.log"
        machine.launch(exe=TRAYWATCH_PATH, main_control=None)
        wait_for(lambda: any(line.startswith("ready") for line in self._lines(self.tray_log)),
                 message="traywatch.exe to take the notification area")
        self._base = self._calibrate()

    @staticmethod
    def _lines(path):
        return path.read_text(encoding="ascii").splitlines() if path.exists() else []

    def _payloads(self):
        for line in self._lines(self.tray_log):
            words = line.split()
            if words[0] == "call" and len(words) == 3:
                yield int(words[1]), bytes.fromhex(words[2])

    def _calibrate(self):
        """Where the tip starts tells the layout: Wine 8 puts the icon's
        sizes after the GUID, other versions right after the callback."""
        op, data = next(self._payloads())
        offset = data.find(CALIBRATION_TIP.encode("utf-16-le"))
        assert offset in (16, 32), f"unknown notification payload layout (tip at {offset})"
        self._base = offset
        icon_size = self._decode(op, data).icon_size
        assert icon_size == (16, 16), f"the calibration icon read as {icon_size}"
        return offset

    def _decode(self, op, data):
        sizes_first = self._base == 32
        tip = self._base
        icon = 16 if sizes_first else tip + 256 + 8 + 512 + 4 + 128 + 4 + 16
        info = tip + 256 + 8
        title = info + 512 + 4
        hwnd, id_, flags, callback = struct.unpack_from("<iIII", data, 0)
        width, height = struct.unpack_from("<II", data, icon)
        return TrayCall(op, hwnd & 0xFFFFFFFF, id_, flags, callback, _wide(data, tip, 128), _wide(data, info, 256),
                        struct.unpack_from("<I", data, info + 512)[0], _wide(data, title, 64),
                        struct.unpack_from("<I", data, title + 128)[0], (width, height) if flags & NIF_ICON else None)

    def tray_calls(self, hwnd=None):
        """Every Shell_NotifyIcon call after the calibration (of one window)."""
        calls = [self._decode(op, data) for op, data in list(self._payloads())[1:]]
        return [call for call in calls if hwnd is None or call.hwnd == hwnd]

    def registered(self):
        """The prefix's numbers of "TaskbarButtonCreated" and "TaskbarCreated"."""
        words = next(line for line in self._lines(self.tray_log) if line.startswith("ready")).split()
        return int(words[2]), int(words[3])

    def taskbar_calls(self):
        return [tuple(line.split()) for line in self._lines(self.taskbar_log)]

    def progress_states(self):
        return [int(call[2]) for call in self.taskbar_calls() if call[0] == "SetProgressState"]

    def progress(self):
        """The last progress state, and the value given since (None before
        the value call that follows a state call has come)."""
        state = value = None
        for call in self.taskbar_calls():
            if call[0] == "SetProgressState":
                state, value = int(call[2]), None
            elif call[0] == "SetProgressValue":
                value = (int(call[2]), int(call[3]))
        return state, value

    def button_created(self, app):
        app.post_message(self.registered()[0])

    def shell_restarted(self, app):
        app.post_message(self.registered()[1])

    def click_icon(self, app, event, x=100, y=100):
        """A version 4 callback: lParam = (event, icon id), wParam = (x, y)."""
        app.post_message(WM_TRAY_CALLBACK, (y << 16) | x, (1 << 16) | event)
