"""A private X display, a template Wine prefix built once per run, and one
copied prefix with its own wineserver per test."""

import ctypes
import os
import shutil
import signal
import subprocess
from pathlib import Path

from .waiting import poll

DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"
WINE_FONTS = Path("/usr/share/wine/fonts")
# Debian's `wine` script takes its 32-bit loader whenever that is installed,
# even for a 64-bit prefix and on a kernel that cannot run 32-bit code; a
# 64-bit prefix is started with the 64-bit loader itself.
WINE64_LOADER = Path("/usr/lib/wine/wine64")
DEFAULT_LOCALE = "C.UTF-8"
DEFAULT_DPI = 96   # 100 % display scale

# Written into the template. Managed=N: with no window manager every hide or
# destroy of a top-level window otherwise stalls about 2 s. Audio="": no
# device unless a test captures sound. No crash dialog: a crashing program
# ends and the test sees its exit code.
TEMPLATE_REGISTRY = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
"""


def _end_with_parent():
    """Runs in the child before exec: when the test run dies, so does the
    child (no Xvfb is left behind by a killed run)."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Display:
    """An Xvfb server on the first display number nobody else uses."""

    def __init__(self, log_path, first=140, width=1280, height=1024):
        self.number = None
        self.process = None
        self._log = open(log_path, "ab")
        for number in range(first, first + 200):
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            process = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT, start_new_session=True,
                preexec_fn=_end_with_parent)
            socket = Path(f"/tmp/.X11-unix/X{number}")
            # Another user may take the same number at the same moment: then
            # this server exits and the next number is tried.
            ready = poll(lambda: process.poll() is not None or socket.exists(), timeout=20, interval=0.02)
            if ready and process.poll() is None:
                self.number = number
                self.process = process
                return
            _stop_process(process)
        raise RuntimeError("no free X display number for Xvfb")

    @property
    def name(self):
        return f":{self.number}"

    def stop(self):
        if self.process is not None:
            _stop_process(self.process)
            self.process = None
        self._log.close()


def _stop_process(process, timeout=10):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=timeout)


def clean_environment():
    """The caller's environment without anything that would steer Wine or
    the locale elsewhere."""
    env = {}
    for key, value in os.environ.items():
        if key.startswith(("WINE", "LC_", "ALSA_")) or key in ("DISPLAY", "LANG", "LANGUAGE", "XAUTHORITY"):
            continue
        env[key] = value
    return env


def prefix_architecture(program):
    """The kind of prefix a program file needs: "win64" for an x64 program,
    else "win32" (also when the file is missing: the suite reports that)."""
    try:
        with open(program, "rb") as file:
            header = file.read(4096)
        offset = int.from_bytes(header[0x3C:0x40], "little")
        machine = int.from_bytes(header[offset + 4:offset + 6], "little")
    except (OSError, ValueError):
        return "win32"
    return "win64" if machine == 0x8664 else "win32"


def wine_loader(arch):
    """The command that starts a Wine program in a prefix of arch."""
    return str(WINE64_LOADER) if arch == "win64" and WINE64_LOADER.exists() else "wine"


def wine_environment(prefix, home, display, arch, locale=DEFAULT_LOCALE, extra=None):
    env = clean_environment()
    loader = wine_loader(arch)
    if loader != "wine":
        # What Wine itself runs when a program starts another one.
        env["WINELOADER"] = loader
    env.update({
        "WINEPREFIX": str(prefix),
        "WINEARCH": arch,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": DLL_OVERRIDES,
        "HOME": str(home),
        "XDG_CACHE_HOME": str(Path(home) / ".cache"),
        "XDG_CONFIG_HOME": str(Path(home) / ".config"),
        "XDG_DATA_HOME": str(Path(home) / ".local" / "share"),
        "DISPLAY": display,
        "LANG": locale,
        "LC_ALL": locale,
    })
    if extra:
        env.update(extra)
    return env


def temp_folder(env):
    """Where Wine processes started with env make their temporary folders:
    $TMPDIR, else /tmp."""
    return Path(env.get("TMPDIR") or "/tmp")


def server_directory(prefix, temp):
    """Where the wineserver of a prefix keeps its socket, or None before the
    server has chosen it. Debian's Wine picks a private folder in the
    server's temporary folder (temp) and names it in the prefix's file
    "wineserver"."""
    prefix = Path(prefix)
    info = os.stat(prefix)
    leaf = f"server-{info.st_dev:x}-{info.st_ino:x}"
    marker = prefix / "wineserver"
    if marker.exists():
        try:
            return Path(temp) / marker.read_text().strip() / leaf
        except OSError:
            return None
    return Path(f"/tmp/.wine-{os.getuid()}") / leaf


def _server_ready(env):
    directory = server_directory(env["WINEPREFIX"], temp_folder(env))
    return directory is not None and (directory / "socket").exists()


class WineServer:
    """The wineserver of one prefix, kept running (-p) so that every program
    start is quick, with its output in a log file (an inherited pipe would
    never close)."""

    def __init__(self, env, log_path):
        self.env = env
        self._log = open(log_path, "ab")
        # No parent-death signal here: a server ended by a signal leaves its
        # Wine processes behind; "wineserver -k" ends them all.
        self.process = subprocess.Popen(["wineserver", "-f", "-p"], env=env, stdin=subprocess.DEVNULL,
                                        stdout=self._log, stderr=subprocess.STDOUT, start_new_session=True)
        if not poll(lambda: _server_ready(env) or self.process.poll() is not None, timeout=30, interval=0.01) \
                or self.process.poll() is not None:
            self.stop()
            raise RuntimeError(f"wineserver did not start for {env['WINEPREFIX']} (see {log_path})")

    def run(self, args, timeout=120, log=None, input=b""):
        """Runs a Wine command line to its end in this prefix."""
        out = log if log is not None else subprocess.DEVNULL
        return subprocess.run(args, env=self.env, input=input, stdout=out, stderr=subprocess.STDOUT,
                              timeout=timeout, check=True)

    def stop(self):
        """Ends every Wine process of this prefix and the server itself; the
        server saves the registry as it goes."""
        if self.process.poll() is None:
            try:
                subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                               stdout=self._log, stderr=subprocess.STDOUT, timeout=30)
            except subprocess.TimeoutExpired:
                pass
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait(timeout=10)
        self._log.close()
        _remove_private_folder(self.env)


def _remove_private_folder(env):
    """The server's private folder outlives it; it is this prefix's alone,
    so it goes with the server."""
    marker = Path(env["WINEPREFIX"]) / "wineserver"
    try:
        name = marker.read_text().strip()
    except OSError:
        return
    if name.startswith("wine-") and "/" not in name:
        shutil.rmtree(temp_folder(env) / name, ignore_errors=True)
    marker.unlink(missing_ok=True)


def build_template(root, display, log_path, driver, arch):
    """Creates the prefix every test copies: about 10-20 s, once per run.
    driver is the driver.exe, run once so that the first GUI program's work
    (font cache, desktop) is done in the template."""
    root = Path(root)
    home = root / "home"
    prefix = root / "prefix"
    home.mkdir(parents=True)
    env = wine_environment(prefix, home, display, arch)
    with open(log_path, "ab") as log:
        # wineboot starts a server of its own; -w waits for it to finish.
        subprocess.run([wine_loader(arch), "wineboot", "-i"], env=env, stdin=subprocess.DEVNULL, stdout=log,
                       stderr=subprocess.STDOUT, timeout=300, check=True)
        subprocess.run(["wineserver", "-w"], env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                       timeout=120, check=True)
    _copy_fonts(prefix)
    _detach_user_folders(prefix)
    server = WineServer(env, log_path)
    try:
        registry_file = root / "template.reg"
        registry_file.write_text(TEMPLATE_REGISTRY.replace("\n", "\r\n"), encoding="ascii")
        with open(log_path, "ab") as log:
            server.run([wine_loader(arch), "regedit", "/S", str(registry_file)], log=log)
            # The first GUI program after a font change builds Wine's font
            # cache; doing it here spares every test that cost.
            server.run([wine_loader(arch), str(driver)], log=log, input=b"hello\nquit\n")
    finally:
        server.stop()
    return prefix


def _copy_fonts(prefix):
    fonts = prefix / "drive_c" / "windows" / "Fonts"
    fonts.mkdir(parents=True, exist_ok=True)
    for font in sorted(WINE_FONTS.iterdir()):
        if font.is_file():
            shutil.copy2(font, fonts / font.name)


def _detach_user_folders(prefix):
    """The prefix's Desktop, Documents and the like link into $HOME; every copy
    gets folders of its own instead, so that no test sees another's files."""
    users = prefix / "drive_c" / "users"
    for user in users.iterdir():
        if not user.is_dir() or user.is_symlink():
            continue
        for entry in user.iterdir():
            if entry.is_symlink():
                entry.unlink()
                entry.mkdir()


# Program files Wine installed into the template, which no test changes:
# copies share them through hard links (a prefix is about 600 MB, mostly
# these). Everything else, the registry included, is copied.
SHARED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".ax", ".ds", ".nls",
                   ".ttf", ".fon", ".msstyles"}


def set_display_dpi(prefix, dpi):
    """Gives a prefix whose wineserver is not running the display scale dpi
    (96 is 100 %): HKCU\\Control Panel\\Desktop value LogPixels, which Wine
    reads as its system DPI when the server starts. Written into user.reg
    directly, which spares a server restart."""
    header = "[Control Panel\\\\Desktop] "
    registry = Path(prefix) / "user.reg"
    result = []
    section = None
    for line in registry.read_text(encoding="utf-8", errors="surrogateescape").split("\n"):
        if line.startswith("["):
            section = line
        elif section is not None and section.startswith(header) and line.startswith('"LogPixels"='):
            continue
        result.append(line)
    value = f'"LogPixels"=dword:{dpi:08x}'
    starts = [index for index, line in enumerate(result) if line.startswith(header)]
    if starts:
        at = starts[0] + 1
        while at < len(result) and result[at].startswith("#"):
            at += 1
        result.insert(at, value)
    else:
        result += [header + "0", value, ""]
    registry.write_text("\n".join(result), encoding="utf-8", errors="surrogateescape")


def copy_prefix(template, target):
    template, target = Path(template), Path(target)
    for directory, subdirectories, files in os.walk(template):
        source = Path(directory)
        destination = target / source.relative_to(template)
        destination.mkdir(parents=True, exist_ok=True)
        shutil.copystat(source, destination)
        for name in list(subdirectories):
            if (source / name).is_symlink():
                os.symlink(os.readlink(source / name), destination / name)
                subdirectories.remove(name)
        for name in files:
            path = source / name
            if path.is_symlink():
                os.symlink(os.readlink(path), destination / name)
            elif path.suffix.lower() in SHARED_SUFFIXES:
                os.link(path, destination / name)
            else:
                shutil.copy2(path, destination / name)
    # The copy chooses its own server folder.
    (target / "wineserver").unlink(missing_ok=True)
