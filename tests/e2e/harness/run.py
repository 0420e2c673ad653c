"""One test run: a private X display and the template prefix, made once and
shared by every test; the machines the tests run on; the run's folders.

While a test runs, the machine for the next one is prepared in the
background, and a finished test's machine is shut down in the background:
each test then pays only for its own work. Tests whose machine differs from
the usual one (another locale or display scale) get theirs made on the spot."""

import itertools
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

from .app import PREFIX_ARCH, TOOLS, Machine
from .wine import DEFAULT_DPI, DEFAULT_LOCALE, Display, build_template


class Run:
    def __init__(self):
        base = os.environ.get("KELVARO_E2E_DIR")
        if base:
            Path(base).mkdir(parents=True, exist_ok=True)
        self.root = Path(tempfile.mkdtemp(prefix="kelvaro-e2e-", dir=base or None))
        self.keep_all = os.environ.get("KELVARO_E2E_KEEP") == "1"
        self.kept = []
        self.timings = {}
        self.display = None
        self.template = None
        self._display = None
        self._scaled = None
        self._numbers = itertools.count(1)
        self._spare = None
        self._closers = []

    def start(self):
        started = time.monotonic()
        self._display = Display(self.root / "xvfb.log")
        self.display = self._display.name
        self.timings["display"] = time.monotonic() - started
        started = time.monotonic()
        self.template = build_template(self.root / "template", self.display, self.root / "template.log",
                                       TOOLS / "driver.exe", PREFIX_ARCH)
        self.timings["template"] = time.monotonic() - started

    # ---- machines

    def _new_machine(self, locale, dpi=DEFAULT_DPI):
        directory = self.root / "machines" / f"{next(self._numbers):04d}"
        return Machine(self, directory, locale=locale, dpi=dpi, display=self._scaled_display(dpi))

    def _scaled_display(self, dpi):
        """Programs at another display scale get an X display of their own:
        on the shared one they upset the menus of later tests."""
        if dpi == DEFAULT_DPI:
            return None
        if self._scaled is None:
            self._scaled = Display(self.root / "xvfb-scaled.log", first=self._display.number + 1)
        return self._scaled.name

    def _prepare_spare(self):
        """Starts making the next test's machine in the background."""
        result = {}

        def prepare():
            try:
                result["machine"] = self._new_machine(DEFAULT_LOCALE)
            except BaseException as error:   # handed to the test that takes it
                result["error"] = error
        thread = threading.Thread(target=prepare, name="spare machine", daemon=True)
        thread.start()
        self._spare = (thread, result)

    def _take_spare(self):
        thread, result = self._spare
        self._spare = None
        thread.join()
        if "error" in result:
            raise result["error"]
        return result["machine"]

    def take_machine(self, nodeid, locale=None, dpi=None):
        """A started machine for a test, linked as tests/<test name>."""
        usual = locale is None and dpi is None
        if usual and self._spare is not None:
            machine = self._take_spare()
        else:
            machine = self._new_machine(locale or DEFAULT_LOCALE, dpi or DEFAULT_DPI)
        link = self._test_link(nodeid)
        link.parent.mkdir(parents=True, exist_ok=True)
        link.unlink(missing_ok=True)
        link.symlink_to(machine.directory)
        if usual and self._spare is None:
            self._prepare_spare()
        return machine

    def _test_link(self, nodeid):
        name = re.sub(r"[^A-Za-z0-9_.-]+", "-", nodeid.replace(".py::", "-")).strip("-")[:120]
        return self.root / "tests" / name

    def release_machine(self, machine, nodeid, failed):
        """Ends the test's programs now (their windows go at once), and the
        rest of the machine in the background. A failed test's folder stays."""
        machine.stop_programs()
        keep = failed or self.keep_all
        link = self._test_link(nodeid)
        if keep:
            self.kept.append(link)
        else:
            link.unlink(missing_ok=True)

        def shut_down():
            machine.shut_down()
            if not keep:
                shutil.rmtree(machine.directory, ignore_errors=True)
        self._closers = [closer for closer in self._closers if closer.is_alive()]
        closer = threading.Thread(target=shut_down, name="machine shut-down", daemon=True)
        closer.start()
        self._closers.append(closer)

    def close(self):
        if self._spare is not None:
            try:
                self._take_spare().close()
            except Exception:
                pass   # a spare that failed to start has cleaned up after itself
        for closer in self._closers:
            closer.join(timeout=120)
        for display in (self._scaled, self._display):
            if display is not None:
                display.stop()
        if self.kept:
            shutil.rmtree(self.root / "template", ignore_errors=True)
        else:
            shutil.rmtree(self.root, ignore_errors=True)


def _has_locale(name):
    wanted = name.lower().replace("-", "")
    available = subprocess.run(["locale", "-a"], stdout=subprocess.PIPE, text=True, check=True).stdout.split()
    return wanted in (item.lower().replace("-", "") for item in available)


def ensure_locale(name):
    """Compiles a locale such as ja_JP.UTF-8 when the system lacks it: Wine
    takes its ANSI code page from it (932 for ja_JP)."""
    if _has_locale(name):
        return
    language, _, charset = name.partition(".")
    command = ["localedef", "-i", language, "-f", charset or "UTF-8", name]
    if os.geteuid() != 0:
        command = ["sudo", "-n"] + command
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    # localedef warns (exit 1) on harmless things; what counts is the result.
    if not _has_locale(name):
        raise RuntimeError(f"locale {name} is missing and could not be made: {result.stdout.strip()}")
