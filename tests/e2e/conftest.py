"""Fixtures of the end-to-end suite (see README.md):

  machine  - a fresh Windows for the test: a copy of the run's template
             prefix, its own wineserver and driver.exe; nothing launched yet
  app      - Kelvaro.exe started on that machine, its main dialog shown
  testbed  - the harness's own testbed dialog (for the harness's tests)

Markers: @pytest.mark.registry({key: {name: value}}) seeds the registry
before the launch; @pytest.mark.sound captures every sound played;
@pytest.mark.locale("ja_JP.UTF-8") runs the test under that locale (code
page 932); @pytest.mark.dpi(144) runs it at that display scale (96 is
100 %); @pytest.mark.launch(args=..., cwd=...) starts Kelvaro with them.
"""

import signal
import time

import pytest

from harness.app import KELVARO_EXE, PROGRAM_PATH, TOOLS
from harness.run import Run, ensure_locale

REQUIRED_FILES = [KELVARO_EXE, TOOLS / "driver.exe", TOOLS / "recorder.exe", TOOLS / "testbed.exe",
                  TOOLS / "objcount.dll"]


@pytest.hookimpl(tryfirst=True, hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


def _failed(node):
    return any(getattr(getattr(node, "report_" + when, None), "failed", False) for when in ("setup", "call"))


_runs = []


def _interrupt(signum, frame):
    raise KeyboardInterrupt(f"signal {signum}")


# A run ended with SIGTERM (a CI time limit) still tears its machines down.
signal.signal(signal.SIGTERM, _interrupt)


@pytest.fixture(scope="session")
def e2e_run():
    """The run's X display and template prefix, made on first use."""
    missing = [str(path) for path in REQUIRED_FILES if not path.exists()]
    if missing:
        pytest.fail("build the program and its test tools first (scripts/build.sh win); missing: "
                    + ", ".join(missing), pytrace=False)
    run = Run()
    _runs.append(run)
    try:
        run.start()
        yield run
    finally:
        run.close()


@pytest.fixture
def machine(request, e2e_run):
    locale = request.node.get_closest_marker("locale")
    if locale is not None:
        ensure_locale(locale.args[0])
    started = time.monotonic()
    dpi = request.node.get_closest_marker("dpi")
    box = e2e_run.take_machine(request.node.nodeid, locale.args[0] if locale is not None else None,
                               dpi.args[0] if dpi is not None else None)
    e2e_run.timings.setdefault("machines", []).append(time.monotonic() - started)
    try:
        if request.node.get_closest_marker("sound") is not None:
            box.enable_sound()
        yield box
    finally:
        failed = _failed(request.node)
        if failed:
            _record_failure(box, box.directory)
        started = time.monotonic()
        e2e_run.release_machine(box, request.node.nodeid, failed)
        e2e_run.timings.setdefault("teardowns", []).append(time.monotonic() - started)


def _record_failure(box, directory):
    """A picture of the screen and the list of windows, for debugging."""
    try:
        box.screenshot(directory / "failure.png", timeout=5)
    except Exception as error:   # the evidence is optional, the teardown is not
        (directory / "failure.png.txt").write_text(f"no screenshot: {error}\n")
    try:
        lines = [repr(window) for window in box.windows()]
        (directory / "windows.txt").write_text("\n".join(lines) + "\n")
    except Exception as error:
        (directory / "windows.txt").write_text(f"no window list: {error}\n")


@pytest.fixture
def app(request, machine):
    if "shell" in request.fixturenames:
        request.getfixturevalue("shell")   # the shell's stand-ins must be there before the start
    registry = request.node.get_closest_marker("registry")
    if registry is not None:
        machine.registry.seed(registry.args[0])
    launch = request.node.get_closest_marker("launch")
    started = time.monotonic()
    program = machine.launch(**(launch.kwargs if launch is not None else {}))
    machine.run.timings.setdefault("launches", []).append(time.monotonic() - started)
    return program


@pytest.fixture
def testbed(machine):
    testbed_path = machine.windows_path(TOOLS / "testbed.exe")
    return machine.launch(exe=testbed_path, args=f'"{PROGRAM_PATH}"', main_control=1002)


def pytest_terminal_summary(terminalreporter):
    for run in _runs:
        timings = run.timings
        parts = []
        if "template" in timings:
            parts.append(f"template prefix {timings['template']:.1f} s")
        for key, label in (("machines", "machine set-up"), ("launches", "Kelvaro start"),
                           ("teardowns", "teardown")):
            values = timings.get(key)
            if values:
                parts.append(f"{label} {sum(values) / len(values):.2f} s average (max {max(values):.2f} s)")
        if parts:
            terminalreporter.write_line("e2e: " + "; ".join(parts))
        for directory in run.kept:
            terminalreporter.write_line(f"e2e: kept {directory}")


@pytest.fixture
def shell(machine):
    """The prefix's notification area and taskbar list replaced by loggers;
    app starts Kelvaro after it when a test asks for both."""
    from harness.shell import Shell
    return Shell(machine)
