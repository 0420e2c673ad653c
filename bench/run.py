#!/usr/bin/env python3
"""Kelvaro's benchmark under Wine, side by side with a minimal Win32 dialog
(the baseline): start-up, idle CPU, time-up accuracy and footprint, in one
run. See bench/README.md for what each figure means; `bench/run.sh --quick`
for a short run while developing."""

import argparse
import datetime
import json
import os
import random
import subprocess
import sys
import time
from pathlib import Path

BENCH = Path(__file__).resolve().parent
REPO = BENCH.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))
sys.path.insert(0, str(BENCH))

import figures  # noqa: E402
from harness import IDCANCEL, IDOK, ids  # noqa: E402
from harness.app import KELVARO_EXE, PREFIX_ARCH, RECORDER_PATH, SETTINGS_KEY, TOOLS, App, Machine  # noqa: E402
from harness.driver import Driver, DriverError, fields, hex_text  # noqa: E402
from harness.run import Run  # noqa: E402
from harness.waiting import wait_for  # noqa: E402
from harness.wine import wine_loader  # noqa: E402

BUILD = REPO / "build" / ("bench64" if PREFIX_ARCH == "win64" else "bench")
# The bench's own programs are built for the program's architecture:
# KELVARO_BUILD_DIR=build/win64 measures the x64 build in a 64-bit prefix
# (for a machine that cannot run 32-bit code; the shipped program is x86).
X64 = PREFIX_ARCH == "win64"
CXX = "x86_64-w64-mingw32-g++-posix" if X64 else "i686-w64-mingw32-g++-posix"
WINDRES = "x86_64-w64-mingw32-windres" if X64 else "i686-w64-mingw32-windres"
WINDRES_FLAGS = ["--target=pe-x86-64", "-DKELVARO_X64"] if X64 else ["--target=pe-i386"]
COMPILE_FLAGS = ["-O2", "-Wall", "-Wextra", "-static", "-static-libgcc", "-static-libstdc++", "-s"]
KELVARO_DLL_LIBS = ["-lole32", "-lshell32", "-lshlwapi", "-lversion"]

KELVARO = "Kelvaro"
BASELINE = "baseline"
# Start-up-breakdown variants of the baseline: the same empty dialog, then
# with Kelvaro's DLL imports, then also with common controls 6, then showing
# Kelvaro's own main dialog template (with all of Kelvaro's resources and its
# manifest) instead of the empty one, its controls left as created.
WITH_IMPORTS = "baseline-imports"
WITH_COMCTL6 = "baseline-imports-comctl6"
WITH_DIALOG = "baseline-kelvaro-dialog"
KELVARO_MAIN_DIALOG_ID = 104
# name: (sources, resource script, its folder, libraries, extra compiler flags)
BASELINE_PROGRAMS = {
    BASELINE: (["baseline.cpp"], "baseline.rc", BENCH / "baseline", [], []),
    WITH_IMPORTS: (["baseline.cpp", "imports.cpp"], "baseline.rc", BENCH / "baseline", KELVARO_DLL_LIBS, []),
    WITH_COMCTL6: (["baseline.cpp", "imports.cpp"], "baseline_comctl6.rc", BENCH / "baseline", KELVARO_DLL_LIBS,
                   []),
    WITH_DIALOG: (["baseline.cpp", "imports.cpp"], "Kelvaro.rc", REPO / "res", KELVARO_DLL_LIBS,
                  [f"-DBASELINE_DIALOG_ID={KELVARO_MAIN_DIALOG_ID}"]),
}
BASELINE_DIR = r"C:\Program Files\Baseline"
KELVARO_PATH = r"C:\Program Files\Kelvaro\Kelvaro.exe"

START_TEXT = " Start"
STOP_TEXT = " Stop"
TIME_UP_TIMERS = [(ids.IDC_START1, 1000), (ids.IDC_START2, 2000)]

# Timers 1 and 2 open the recorder when they are up (event 7, the first
# open file event); timer 3 runs an hour, so it never ends during a run.
KELVARO_REGISTRY = {
    SETTINGS_KEY + r"\Timer01": {"Value": 1000, "Unit": 1, "Event": 7},
    SETTINGS_KEY + r"\Timer02": {"Value": 2000, "Unit": 1, "Event": 7},
    SETTINGS_KEY + r"\Timer03": {"Value": 3600000, "Unit": 3, "Event": 1},
    SETTINGS_KEY + r"\OpenFile01": {"FileName": f'"{RECORDER_PATH}"'},
}

# The option of the notification-area icon, on for the second instance of the
# three-timers phase; a program without the option ignores the value.
NOTIFICATION_AREA_ON = {SETTINGS_KEY: {"ShowInNotificationArea": 1}}

MODES = {
    "full": {"launches": 25, "idle_seconds": 60, "window_seconds": 10, "time_ups": 60, "use_cycles": 12},
    "quick": {"launches": 5, "idle_seconds": 10, "window_seconds": 5, "time_ups": 6, "use_cycles": 2},
}


def log(message):
    print(f"[bench {time.strftime('%H:%M:%S')}] {message}", file=sys.stderr, flush=True)


# ================================================================= building

def run_tool(command):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        raise SystemExit(f"failed: {' '.join(map(str, command))}\n{result.stdout}")
    if result.stdout.strip():
        log(result.stdout.strip())


def build_bench_programs():
    """The baseline, its variants and the probe, with the program's toolchain."""
    BUILD.mkdir(parents=True, exist_ok=True)
    source = BENCH / "baseline"
    for name, (sources, script, folder, libs, flags) in BASELINE_PROGRAMS.items():
        resources = BUILD / f"{name}.res.o"
        run_tool([WINDRES, *WINDRES_FLAGS, "-I", str(folder), "-o", str(resources), str(folder / script)])
        run_tool([CXX, *COMPILE_FLAGS, *flags, "-mwindows", "-Wl,--file-alignment,4096", "-o",
                  str(BUILD / f"{name}.exe"), *[str(source / item) for item in sources], str(resources), *libs])
    # The probe speaks the end-to-end driver's line protocol.
    run_tool([CXX, *COMPILE_FLAGS, "-D_WIN32_WINNT=0x0601", "-I", str(REPO / "tests" / "e2e" / "tools"),
              "-o", str(BUILD / "probe.exe"),
              str(BENCH / "probe" / "probe.cpp"), "-lpsapi", "-lshell32"])


def build_kelvaro():
    result = subprocess.run([str(REPO / "scripts" / "build.sh"), "win64" if X64 else "win"], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        raise SystemExit(f"scripts/build.sh win failed (or use --no-build):\n{result.stdout[-4000:]}")


# ================================================================= the machine

def read_text(path, default=""):
    try:
        return Path(path).read_text(errors="replace")
    except OSError:
        return default


def machine_description():
    cpu = "unknown"
    for line in read_text("/proc/cpuinfo").splitlines():
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    memory = figures.status_fields(read_text("/proc/meminfo")).get("MemTotal", 0)
    wine = subprocess.run([wine_loader(PREFIX_ARCH), "--version"], stdout=subprocess.PIPE, text=True).stdout.strip()
    return {
        "date": datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z"),
        "nproc": os.cpu_count(),
        "cpu": cpu,
        "memory_gib": round(memory / 1024 ** 3, 1),
        "kernel": os.uname().release,
        "wine": wine,
    }


def give_display_a_resource_database(display):
    """A desktop session's X server carries a resource database (xrdb); a
    bare Xvfb has none, and then Xlib looks for ~/.Xdefaults again on every
    XGetDefault, which Wine calls each time it selects a font: hundreds of
    failing file opens a second while a program draws text. One harmless
    resource makes the display like a desktop's."""
    subprocess.run(["xprop", "-display", display, "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                    "RESOURCE_MANAGER", "kelvaroBench.quiet:\ttrue\n"], check=True)


def load_average():
    return read_text("/proc/loadavg").split()[:3]


# ================================================================= Linux side of a Wine process

def unix_processes(prefix, name):
    """Linux pids of this prefix's processes whose command line holds name
    (Wine shows a program's Windows path there)."""
    marker = f"WINEPREFIX={prefix}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            command_line = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("latin-1")
            if name.lower() not in command_line.lower():
                continue
            if marker in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue
    return found


def unix_process(prefix, name):
    found = wait_for(lambda: unix_processes(prefix, name), 20, message=f"the Linux process of {name}")
    if len(found) != 1:
        raise RuntimeError(f"{len(found)} processes named {name} in {prefix}")
    return found[0]


def cpu_sample(pid):
    """Per thread: time on a CPU (ns) and context switches."""
    threads = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        schedstat = read_text(task / "schedstat")
        status = read_text(task / "status")
        if schedstat:
            threads[task.name] = (figures.scheduled_ns([schedstat]), figures.context_switches(status))
    return threads


def cpu_used(before, after):
    """ns on a CPU and context switches between two samples; threads born in
    between count from zero, threads that ended are lost (none do while
    these programs idle)."""
    ns = sum(value[0] - before.get(tid, (0, 0))[0] for tid, value in after.items())
    switches = sum(value[1] - before.get(tid, (0, 0))[1] for tid, value in after.items())
    return ns, switches


def linux_memory(pid):
    return figures.status_fields(read_text(f"/proc/{pid}/status"))


# ================================================================= the probe

class Probe:
    """probe.exe inside one machine's prefix, spoken to like the driver."""

    def __init__(self, machine, directory):
        self.machine = machine
        self.driver = Driver([wine_loader(PREFIX_ARCH), str(BUILD / "probe.exe")], machine.env, directory / "probe.log",
                             directory / "probe-output.log", timeout=90)
        hello = self.request("hello", timeout=120)
        self.tick_step = hello["tickstep"]

    def request(self, *words, timeout=None):
        return {key: int(value) for key, value in fields(self.driver.request(*words, timeout=timeout)).items()}

    def launch(self, exe):
        directory = exe.rsplit("\\", 1)[0]
        return self.request("launch", hex_text(exe), hex_text(f'"{exe}"'), hex_text(directory), timeout=120)

    def end(self, pid):
        return self.request("end", pid)

    def usage(self, pid):
        return self.request("usage", pid)

    def click(self, hwnd):
        return self.request("click", hwnd)

    def spawn(self, exe):
        return self.request("spawn", hex_text(exe), hex_text(f'"{exe}"'))

    def shell(self, path):
        return self.request("shell", hex_text(path))

    def close(self):
        self.driver.close()

    def release(self):
        self.driver.release()


class Place:
    """One machine (prefix, wineserver, driver) with its probe."""

    def __init__(self, run, name):
        self.directory = run.root / name
        self.machine = Machine(run, self.directory)
        self.probe = None
        try:
            self.probe = Probe(self.machine, self.directory)
            self.server_pid = unix_process(self.machine.prefix, "wineserver")
        except BaseException:
            self.close()   # a persistent wineserver would outlive the run
            raise

    def close(self):
        if self.probe is not None:
            self.probe.close()
        self.machine.close()
        if self.probe is not None:
            self.probe.release()


# ================================================================= phases

def process_cpu_ms(pid):
    """CPU time of a whole process so far, threads that ended included."""
    return figures.stat_cpu_ticks(read_text(f"/proc/{pid}/stat")) * 1000 / os.sysconf("SC_CLK_TCK")


def measure_launch(place, exe, samples, name):
    """One start: creation to an answering main dialog, then the memory and
    the CPU time used a second later, then the process ends."""
    try:
        started = place.probe.launch(exe)
    except DriverError as error:
        raise DriverError(f"{name}: {error}") from error
    time.sleep(1.0)   # a settled footprint, the same wait for every program
    usage = place.probe.usage(started["pid"])
    cpu = process_cpu_ms(unix_process(place.machine.prefix, "\\" + exe.rsplit("\\", 1)[1]))
    place.probe.end(started["pid"])
    samples.setdefault(name, []).append({**started, **usage, "cpu_ms": cpu})


def start_up_phase(places, launches):
    """Every program started `launches` times, interleaved in a new random
    order each round so that the machine's noise falls on all alike; one
    unmeasured start of each first warms the file cache."""
    programs = [(places[KELVARO], KELVARO_PATH, KELVARO)]
    programs += [(places[BASELINE], rf"{BASELINE_DIR}\{name}.exe", name) for name in BASELINE_PROGRAMS]
    warm_up = {}
    for place, exe, name in programs:
        measure_launch(place, exe, warm_up, name)
    samples = {}
    for round_number in range(launches):
        order = list(programs)
        random.shuffle(order)
        for place, exe, name in order:
            measure_launch(place, exe, samples, name)
        log(f"start-up round {round_number + 1}/{launches}")
    return samples


class Running:
    """The two programs of the long phases: Kelvaro and the baseline, each in
    its own machine, with their Linux processes and wineservers."""

    def __init__(self, places):
        self.places = places
        kelvaro_place = places[KELVARO]
        kelvaro_place.machine.registry.seed(KELVARO_REGISTRY)
        self.kelvaro_start = kelvaro_place.probe.launch(KELVARO_PATH)
        self.baseline_start = places[BASELINE].probe.launch(rf"{BASELINE_DIR}\{BASELINE}.exe")
        self.app = App(kelvaro_place.machine, self.kelvaro_start["pid"], self.kelvaro_start["tid"], KELVARO_PATH)
        self.app.hwnd = self.kelvaro_start["hwnd"]
        self.unix = {
            KELVARO: unix_process(kelvaro_place.machine.prefix, r"\Kelvaro.exe"),
            BASELINE: unix_process(places[BASELINE].machine.prefix, rf"\{BASELINE}.exe"),
        }

    def targets(self):
        """What the CPU phases watch: each program and its wineserver."""
        return {
            (KELVARO, "process"): self.unix[KELVARO],
            (KELVARO, "server"): self.places[KELVARO].server_pid,
            (BASELINE, "process"): self.unix[BASELINE],
            (BASELINE, "server"): self.places[BASELINE].server_pid,
        }

    def start_notification_area_twin(self):
        """A second Kelvaro, in the baseline's machine, with the notification-area
        option on; the baseline stays idle beside it."""
        place = self.places[BASELINE]
        place.machine.registry.seed({**KELVARO_REGISTRY, **NOTIFICATION_AREA_ON})
        self.twin_start = place.probe.launch(KELVARO_PATH)
        self.twin = App(place.machine, self.twin_start["pid"], self.twin_start["tid"], KELVARO_PATH)
        self.twin.hwnd = self.twin_start["hwnd"]
        self.unix["twin"] = unix_process(place.machine.prefix, r"\Kelvaro.exe")

    def end_notification_area_twin(self):
        self.places[BASELINE].probe.end(self.twin_start["pid"])

    def memory(self):
        result = {}
        for name, start in ((KELVARO, self.kelvaro_start), (BASELINE, self.baseline_start)):
            usage = self.places[name].probe.usage(start["pid"])
            linux = linux_memory(self.unix[name])
            result[name] = {**usage, "rssanon": linux.get("RssAnon", 0), "rssfile": linux.get("RssFile", 0)}
        return result

    def end(self):
        for name, start in ((KELVARO, self.kelvaro_start), (BASELINE, self.baseline_start)):
            self.places[name].probe.end(start["pid"])


def cpu_phase(targets, seconds, window_seconds):
    """CPU per minute and wake-ups per second of each target, in windows of
    equal length measured at the same time for all."""
    windows = max(1, round(seconds / window_seconds))
    result = {key: {"cpu_ms_per_min": [], "switches_per_s": []} for key in targets}
    for _ in range(windows):
        before = {key: cpu_sample(pid) for key, pid in targets.items()}
        started = time.monotonic()
        time.sleep(window_seconds)   # the interval being measured
        after = {key: cpu_sample(pid) for key, pid in targets.items()}
        elapsed = time.monotonic() - started
        for key in targets:
            ns, switches = cpu_used(before[key], after[key])
            result[key]["cpu_ms_per_min"].append(ns / 1e6 * 60 / elapsed)
            result[key]["switches_per_s"].append(switches / elapsed)
    return result


def notification_area_phase(running, seconds, window_seconds):
    """Three timers running in two Kelvaros at once, the notification-area
    option off in one and on in the other, so the machine's noise falls on
    both alike."""
    running.start_notification_area_twin()
    for app in (running.app, running.twin):
        start_all_timers(app)
    result = cpu_phase({"off": running.unix[KELVARO], "on": running.unix["twin"]}, seconds, window_seconds)
    for app in (running.app, running.twin):
        stop_all_timers(app)
    running.end_notification_area_twin()
    return result


def wait_until_ready(app, button):
    app.wait_for(lambda: app.text(button) == START_TEXT, timeout=30, message="the timer to stop after time-up")


def time_up_phase(running, count):
    """Short timers whose event starts the recorder; after each, the recorder
    is also started directly and through the shell by the probe, for the
    share that process creation and the shell take."""
    app = running.app
    place = running.places[KELVARO]
    probe = place.probe
    recorder = place.machine.recorder
    records = []
    for number in range(count):
        control, duration = TIME_UP_TIMERS[number % len(TIME_UP_TIMERS)]
        button = app.control(control)
        # A random phase against the 200 ms tick, as a user's click has.
        time.sleep(random.uniform(0, 0.2))
        seen = len(recorder.launches())
        click = probe.click(button)
        event_tick = recorder.wait_for_launches(seen + 1, timeout=30)[seen].tick
        low, high = figures.time_up_delay(event_tick, click["before"], click["after"], duration)
        wait_until_ready(app, control)

        seen = len(recorder.launches())
        spawned = probe.spawn(RECORDER_PATH)
        spawn_tick = recorder.wait_for_launches(seen + 1, timeout=30)[seen].tick
        seen += 1
        shelled = probe.shell(RECORDER_PATH)
        shell_tick = recorder.wait_for_launches(seen + 1, timeout=30)[seen].tick
        records.append({
            "duration": duration, "click_before": click["before"], "click_after": click["after"],
            "event_tick": event_tick, "delay_low": low, "delay_high": high,
            "spawn_latency": figures.signed_tick_difference(spawn_tick, spawned["before"]),
            "shell_latency": figures.signed_tick_difference(shell_tick, shelled["before"]),
            "shell_call": figures.signed_tick_difference(shelled["returned"], shelled["before"]),
            "shell_result": shelled["result"],
        })
        if (number + 1) % 10 == 0:
            log(f"time-up {number + 1}/{count}")
    return records


def set_duration(app, edit, text):
    """Types a duration and leaves the edit, which validates it."""
    app.type_text(edit, text)
    app.move_focus(ids.IDC_MENU)


def start_all_timers(app):
    # Timers 1 and 2 last an hour too while the CPU is measured.
    set_duration(app, ids.IDC_VALUE1, "3600")
    set_duration(app, ids.IDC_VALUE2, "3600")
    for button in (ids.IDC_START1, ids.IDC_START2, ids.IDC_START3):
        app.click(button)
        if app.text(button) != STOP_TEXT:
            raise RuntimeError(f"timer button {button} did not start")


def stop_all_timers(app):
    for button in (ids.IDC_START1, ids.IDC_START2, ids.IDC_START3):
        app.click(button)
        wait_until_ready(app, button)


def close_dialog(app, caption, button):
    dialog = app.dialog(caption)
    dialog.click(button)
    app.wait_for(lambda: not dialog.exists(), message=f"{caption} to close")


def use_phase(app, cycles):
    """An hour's worth of use, done fast: each cycle opens and closes the main
    menu, the Settings dialog and the About dialog, runs a timer for a moment
    and changes a timer's event back and forth."""
    for _ in range(cycles):
        app.open_menu()
        app.escape_menu()
        for entry, caption, button in ((0, "Settings", IDCANCEL), (6, "About Kelvaro", IDOK)):
            app.open_menu()
            app.pick_menu_entry(entry)
            close_dialog(app, caption, button)
        app.click(ids.IDC_START3)
        app.wait_for(lambda: app.text(ids.IDC_START3) == STOP_TEXT, message="timer 3 to run")
        app.click(ids.IDC_START3)
        wait_until_ready(app, ids.IDC_START3)
        app.select_combo(ids.IDC_EVENT3, 1)
        app.select_combo(ids.IDC_EVENT3, 0)


# ================================================================= files

def resource_listing(path):
    result = subprocess.run(["wrestool", "-l", str(path)], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True)
    return figures.resource_sizes(result.stdout)


# ================================================================= report

def summary(values):
    return figures.Summary(values) if values else None


def ms(microseconds):
    return [value / 1000 for value in microseconds]


def mib(values):
    return [value / figures.MIB for value in values]


def spread_row(label, kelvaro, baseline, goal="", digits=0):
    """A table row: both summaries, the ratio of the medians and the goal."""
    ratio = figures.ratio(kelvaro.median, baseline.median) if kelvaro and baseline else None
    return [label, figures.format_spread(kelvaro, digits), figures.format_spread(baseline, digits),
            "-" if ratio is None else f"{ratio:.2f}", goal]


def verdict(met):
    return "met" if met else "MISSED"


def build_report(description, settings, results):
    start = results["start_up"]
    cpu_idle = results["idle"]
    cpu_running = results["running"]
    time_ups = results["time_ups"]
    memory = results["memory"]

    def startup(name, key="answered"):
        return summary(ms([sample[key] for sample in start[name]]))

    def cpu(phase, name, part, key="cpu_ms_per_min"):
        return summary(phase[(name, part)][key])

    def cpu_total(phase, name):
        process = phase[(name, "process")]["cpu_ms_per_min"]
        server = phase[(name, "server")]["cpu_ms_per_min"]
        return summary([a + b for a, b in zip(process, server)])

    lines = [f"Date: {description['date']}  ",
             f"Machine: {description['nproc']} CPUs ({description['cpu']}), {description['memory_gib']} GiB, "
             f"Linux {description['kernel']}  ",
             f"Wine: {description['wine']} ({'64-bit prefix, the x64 check build' if X64 else '32-bit prefix'}, private Xvfb, "
             "no window manager)  ",
             f"Load average (1/5/15 min): {' '.join(results['load_before'])} before, "
             f"{' '.join(results['load_after'])} after  ",
             f"Settings: {settings}  ",
             f"GetTickCount step under this Wine: {results['tick_step']} ms", ""]

    kelvaro_start = startup(KELVARO)
    baseline_start = startup(BASELINE)
    template_start = startup(WITH_DIALOG)
    idle_k = cpu(cpu_idle, KELVARO, "process")
    idle_b = cpu(cpu_idle, BASELINE, "process")
    rows = [
        spread_row("Start-up to visible dialog (ms)", startup(KELVARO, "visible"), startup(BASELINE, "visible")),
        spread_row("Start-up to answering dialog (ms)", kelvaro_start, baseline_start),
        spread_row("Start-up to answering dialog, against the baseline showing Kelvaro's own dialog template (ms)",
                   kelvaro_start, template_start, "<= 1.10, " + verdict(kelvaro_start.median <= 1.1 * template_start.median)),
        spread_row("CPU time used by start-up (ms)", summary([sample["cpu_ms"] for sample in start[KELVARO]]),
                   summary([sample["cpu_ms"] for sample in start[BASELINE]])),
        spread_row("Idle CPU, process (ms per min)", idle_k, idle_b, "<= 1.05, "
                   + verdict(idle_k.median <= 1.05 * idle_b.median), 1),
        spread_row("Idle CPU, process + wineserver (ms per min)", cpu_total(cpu_idle, KELVARO),
                   cpu_total(cpu_idle, BASELINE), "", 1),
        spread_row("Idle wake-ups of the process (per s)", cpu(cpu_idle, KELVARO, "process", "switches_per_s"),
                   cpu(cpu_idle, BASELINE, "process", "switches_per_s"), "", 1),
        spread_row("3 timers running vs baseline idle, process (ms per min)", cpu(cpu_running, KELVARO, "process"),
                   cpu(cpu_running, BASELINE, "process"), "", 1),
        spread_row("3 timers running vs baseline idle, + wineserver (ms per min)", cpu_total(cpu_running, KELVARO),
                   cpu_total(cpu_running, BASELINE), "", 1),
    ]
    for phase, label in (("after_start", "after start-up"), ("after_use", "after use")):
        for key, name in (("pagefile", "Private bytes"), ("workingset", "Working set")):
            rows.append(spread_row(f"{name} {label} (MiB)", summary(mib([memory[phase][KELVARO][key]])),
                                   summary(mib([memory[phase][BASELINE][key]])), "", 2))
    private_k = summary(mib([sample["pagefile"] for sample in start[KELVARO]]))
    private_b = summary(mib([sample["pagefile"] for sample in start[BASELINE]]))
    resources = results["resources"]
    resource_total = sum(resources.values())
    limit = private_b.median + 2 + resource_total / figures.MIB
    rows.append(spread_row("Private bytes 1 s after each start (MiB)", private_k, private_b,
                           f"<= {limit:.2f}, " + verdict(private_k.median <= limit), 2))
    rows.append(spread_row("Working set 1 s after each start (MiB)",
                           summary(mib([sample["workingset"] for sample in start[KELVARO]])),
                           summary(mib([sample["workingset"] for sample in start[BASELINE]])), "", 2))
    sizes = results["file_sizes"]
    rows.append(["Program file (bytes)", f"{sizes[KELVARO]:,}", f"{sizes[BASELINE]:,}",
                 f"{sizes[KELVARO] / sizes[BASELINE]:.1f}", ""])
    rows.append(["Resource data in the program file (bytes)", f"{resource_total:,}", "0", "-",
                 "; ".join(f"{kind} {size:,}" for kind, size in sorted(resources.items(), key=lambda item: -item[1]))])
    lines += ["## Kelvaro beside the baseline", "",
              "Each cell: median (IQR q1-q3; min-max). Ratio: Kelvaro median / baseline median.", "",
              figures.markdown_table(["figure", "Kelvaro", "baseline", "ratio", "goal"], rows), ""]

    delay_high = summary([record["delay_high"] for record in time_ups])
    delay_low = summary([record["delay_low"] for record in time_ups])
    shell = summary([record["shell_latency"] for record in time_ups])
    spawn = summary([record["spawn_latency"] for record in time_ups])
    shell_call = summary([record["shell_call"] for record in time_ups])
    share = summary([record["delay_high"] - record["shell_latency"] for record in time_ups])
    delay_rows = [
        ["Time-up delay, from the earliest possible start tick (ms)", figures.format_spread(delay_high),
         f"{delay_high.p90:.0f}", f"median <= 60: {verdict(delay_high.median <= 60)}; "
         f"max <= 120: {verdict(delay_high.high <= 120)}"],
        ["Time-up delay, from the latest possible start tick (ms)", figures.format_spread(delay_low),
         f"{delay_low.p90:.0f}", ""],
        ["ShellExecuteA of the recorder by the probe, to the recorder's start (ms)", figures.format_spread(shell),
         f"{shell.p90:.0f}", ""],
        ["of which ShellExecuteA returning (ms)", figures.format_spread(shell_call), f"{shell_call.p90:.0f}", ""],
        ["CreateProcess of the recorder by the probe, to the recorder's start (ms)", figures.format_spread(spawn),
         f"{spawn.p90:.0f}", ""],
        ["Kelvaro's share: each delay (earliest start tick) minus the ShellExecuteA start measured right after it (ms)",
         figures.format_spread(share), f"{share.p90:.0f}", f"median <= 20: {verdict(share.median <= 20)}"],
    ]
    lines += [f"## Time-up accuracy ({len(time_ups)} time-ups of 1 s and 2 s timers)", "",
              figures.markdown_table(["figure", "median (IQR; min-max)", "p90", "goal"], delay_rows), ""]

    tray = results["notification_area"]
    tray_on = summary(tray["on"]["cpu_ms_per_min"])
    tray_off = summary(tray["off"]["cpu_ms_per_min"])
    tray_ratio = figures.ratio(tray_on.median, tray_off.median)
    tray_rows = [
        ["CPU, process (ms per min)", figures.format_spread(tray_on, 1), figures.format_spread(tray_off, 1),
         f"{tray_ratio:.2f}", f"<= 1.20, {verdict(tray_ratio <= 1.2)}"],
        ["Wake-ups of the process (per s)", figures.format_spread(summary(tray["on"]["switches_per_s"]), 1),
         figures.format_spread(summary(tray["off"]["switches_per_s"]), 1), "", ""],
    ]
    lines += ["## Three timers running: notification-area option on against off", "",
              "Two Kelvaros at once, each in its own machine, three one-hour timers running in both; "
              "`ShowInNotificationArea` = 1 in one of them.", "",
              figures.markdown_table(["figure", "option on", "option off", "ratio", "goal"], tray_rows), ""]

    breakdown = []
    for name in (BASELINE, WITH_IMPORTS, WITH_COMCTL6, WITH_DIALOG, KELVARO):
        answered = startup(name)
        cpu_used = summary([sample["cpu_ms"] for sample in start[name]])
        private = summary(mib([sample["pagefile"] for sample in start[name]]))
        breakdown.append([name, figures.format_spread(answered), f"{answered.median / baseline_start.median:.2f}",
                          figures.format_spread(cpu_used), figures.format_spread(private, 2),
                          f"{private.median - private_b.median:+.2f}"])
    lines += ["## Where start-up time and private memory go", "",
              "The same interleaved launches: the baseline, then with Kelvaro's DLL imports, then also with common "
              "controls 6, then showing Kelvaro's main dialog template (all of Kelvaro's resources linked in) without "
              "any of Kelvaro's code, then Kelvaro.", "",
              figures.markdown_table(["program", "start-up to answering dialog (ms)", "ratio to baseline",
                                      "CPU time used by start-up (ms)", "private bytes 1 s after start (MiB)",
                                      "difference to baseline (MiB)"],
                                     breakdown), ""]
    return "\n".join(lines)


# ================================================================= main

def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--quick", action="store_true", help="a short run for development")
    parser.add_argument("--launches", type=int, help="measured starts of each program")
    parser.add_argument("--idle-seconds", type=float, help="length of each CPU phase")
    parser.add_argument("--window-seconds", type=float, help="length of one CPU sample within a phase")
    parser.add_argument("--time-ups", type=int, help="number of timer runs up to their event")
    parser.add_argument("--use-cycles", type=int, help="cycles of simulated use before the last footprint")
    parser.add_argument("--no-build", action="store_true", help="use build/win/Kelvaro.exe as it is")
    parser.add_argument("--seed", type=int, help="random seed for launch order and click phases")
    arguments = parser.parse_args()
    settings = dict(MODES["quick" if arguments.quick else "full"])
    for key in settings:
        value = getattr(arguments, key)
        if value is not None:
            settings[key] = value
    return arguments, settings


def measure(settings):
    results = {"load_before": load_average()}
    run = Run()
    places = {}
    try:
        run.start()
        give_display_a_resource_database(run.display)
        log(f"display {run.display}, prefixes under {run.root}")
        places[KELVARO] = Place(run, "kelvaro")
        places[BASELINE] = Place(run, "baseline")
        for name in BASELINE_PROGRAMS:
            places[BASELINE].machine.install(BUILD / f"{name}.exe", rf"{BASELINE_DIR}\{name}.exe")
        results["tick_step"] = places[KELVARO].probe.tick_step

        log("start-up")
        results["start_up"] = start_up_phase(places, settings["launches"])

        running = Running(places)
        time.sleep(1.0)   # the same settling as for every start-up sample
        results["memory"] = {"after_start": running.memory()}
        log("idle CPU")
        results["idle"] = cpu_phase(running.targets(), settings["idle_seconds"], settings["window_seconds"])
        log("time-ups")
        results["time_ups"] = time_up_phase(running, settings["time_ups"])
        log("CPU with three timers running")
        start_all_timers(running.app)
        results["running"] = cpu_phase(running.targets(), settings["idle_seconds"], settings["window_seconds"])
        stop_all_timers(running.app)
        log("CPU with three timers running, notification-area option on vs off")
        results["notification_area"] = notification_area_phase(running, settings["idle_seconds"],
                                                                settings["window_seconds"])
        log("simulated use")
        use_phase(running.app, settings["use_cycles"])
        time.sleep(1.0)
        results["memory"]["after_use"] = running.memory()
        running.end()
    finally:
        for place in places.values():
            place.close()
        run.close()
    results["load_after"] = load_average()
    return results


def main():
    arguments, settings = parse_arguments()
    if arguments.seed is not None:
        random.seed(arguments.seed)
    if not arguments.no_build:
        log(f"building Kelvaro (scripts/build.sh {'win64' if X64 else 'win'})")
        build_kelvaro()
    log("building the baseline and the probe")
    build_bench_programs()
    for path in (KELVARO_EXE, TOOLS / "driver.exe", TOOLS / "recorder.exe"):
        if not path.exists():
            raise SystemExit(f"missing {path}: build the program and its test tools first (scripts/build.sh win)")
    description = machine_description()
    results = measure(settings)
    results["file_sizes"] = {KELVARO: KELVARO_EXE.stat().st_size, BASELINE: (BUILD / "baseline.exe").stat().st_size}
    results["resources"] = resource_listing(KELVARO_EXE)
    report = build_report(description, settings, results)
    (BUILD / "results.md").write_text(report + "\n", encoding="utf-8")
    raw = {key: value for key, value in results.items() if key not in ("idle", "running", "notification_area")}
    raw["notification_area"] = results["notification_area"]
    for phase in ("idle", "running"):
        raw[phase] = {f"{name} {part}": value for (name, part), value in results[phase].items()}
    (BUILD / "results.json").write_text(json.dumps({"machine": description, "settings": settings, **raw}, indent=1),
                                        encoding="utf-8")
    print(report)
    log(f"written {BUILD / 'results.md'} and {BUILD / 'results.json'}")


if __name__ == "__main__":
    main()
