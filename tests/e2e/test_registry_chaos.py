"""Kelvaro started on many generated, hostile states of its settings key:
every value of the layout missing, of any type, of any length up to 64 KiB,
or plausible but out of range. Each start must show the main dialog with
legal durations, units, events and captions, answer messages, leave the
registry as it was and end with exit code 0 through the close box.

KELVARO_CHAOS_STATES sets how many states are tried (default 60: 25 to 40
seconds), KELVARO_CHAOS_SEED which ones (state i of a seed never depends on
how many are tried, so a failing state comes back with the same seed)."""

import os
import time

from harness import SETTINGS_KEY, DriverError, ids, values

import chaos_states as chaos

STATES = int(os.environ.get("KELVARO_CHAOS_STATES", "60"))
SEED = int(os.environ.get("KELVARO_CHAOS_SEED", "20240611"))

SAVE_ENTRY = 4               # "Save All Settings in Windows Registry", separators not counted
GROUPS = (ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3)
EDITS = (ids.IDC_VALUE1, ids.IDC_VALUE2, ids.IDC_VALUE3)
UNITS = (ids.IDC_UNIT1, ids.IDC_UNIT2, ids.IDC_UNIT3)
EVENTS = (ids.IDC_EVENT1, ids.IDC_EVENT2, ids.IDC_EVENT3)
MAX_SECONDS = chaos.MAX_DURATION_MS // 1000
DETAILED_FAILURES = 10


# ---- the generator itself (no Wine needed)

MONITOR = (0, 0, 1280, 1024)
WINDOW_SIZE = (330, 310)


def test_states_are_repeatable_and_reach_every_corner_of_the_layout():
    states = [chaos.generate(7, index, MONITOR, WINDOW_SIZE) for index in range(300)]
    assert chaos.generate(7, 42, MONITOR, WINDOW_SIZE).describe(full=True) == states[42].describe(full=True)
    assert chaos.generate(8, 42, MONITOR, WINDOW_SIZE).describe(full=True) != states[42].describe(full=True)

    every_name = {(subkey, name) for subkey, names in chaos.layout(MONITOR) for name in names}
    stored = [(subkey, name, value) for state in states for subkey, names in state.keys.items()
              for name, value in names.items()]
    assert {(subkey, name) for subkey, name, _ in stored} == every_name
    for subkey, name in every_name:
        assert any(state.value(subkey, name) is None for state in states), (subkey, name)
    for subkey in ("", "Timer02", "OpenFile03", "MainWindow"):
        assert any(subkey in state.dropped for state in states), subkey
    assert any(not state.keys for state in states)

    assert {value.type for _, name, value in stored if name == "Label"} == set(chaos.RANDOM_TYPES)
    assert {value.type for _, name, value in stored if name == "Unit"} == set(chaos.RANDOM_TYPES)
    lengths = {len(value.data) for _, _, value in stored}
    assert {0, 4, 30, 31, 32, 259, 260, 261}.issubset(lengths)
    assert max(lengths) == chaos.MAX_LENGTH and any(length > 60000 for length in lengths if length != chaos.MAX_LENGTH)
    texts = [value.data for _, _, value in stored if value.type == values.REG_SZ and not value.wide and value.data]
    assert any(text.endswith(b"\0") for text in texts) and any(not text.endswith(b"\0") for text in texts)
    assert any(b"\0" in text.rstrip(b"\0") for text in texts) and any(max(text) >= 0x80 for text in texts)
    assert any(value.wide for _, _, value in stored)

    numbers = {(name, chaos.stored_number(value)) for _, name, value in stored}
    assert {("Unit", 0), ("Unit", 4), ("Event", 0), ("Event", 10), ("Value", -1), ("Value", 999),
            ("Value", chaos.MAX_DURATION_MS + 1), ("KeepWindowOnTop", 0)}.issubset(numbers)
    copies = [state for state in states if state.keys.get("MainWindow")
              and state.keys.get("MainWindow") == state.keys.get("MainWindow\\" + chaos.monitor_subkey(MONITOR))]
    assert len(copies) >= 10


def test_expectations_follow_the_loading_rules():
    sz = values.raw
    assert chaos.expected_label(sz(values.REG_SZ, b"  Tea and biscuits" + b" " * 12 + b"0123456789"), b"D") \
        == b"Tea and biscuits"
    assert chaos.expected_label(sz(values.REG_SZ, b"\tTea\0Coffee"), b"D") == b"Tea"
    assert chaos.expected_label(sz(values.REG_SZ, b" \r\n\0Tea"), b"D") == b"D"
    assert chaos.expected_label(sz(values.REG_EXPAND_SZ, b"Tea\0"), b"D") == b"D"
    assert chaos.expected_label(sz(values.REG_SZ, b"T\0e\0a\0", wide=True), b"D") is None
    state = chaos.ChaosState(1, 0, {"Timer01": {"Value": values.dword(999), "Unit": values.binary(b"\3\0\0\0"),
                                                "Event": values.dword(9)},
                                    "Timer02": {"Value": values.dword(0xFFFFFFFF), "Unit": values.dword(4),
                                                "Event": values.raw(values.REG_DWORD, b"\5\0\0")},
                                    "Timer03": {"Value": values.qword(60000)}}, [])
    assert [chaos.expected_timer(state, number) for number in (1, 2, 3)] == \
        [(1000, 1, 9), (1000, 2, 2), (3600000, 3, 3)]
    assert chaos.format_duration(chaos.MAX_DURATION_MS, 3) == "596h00m00s"
    for ms, unit in ((1000, 1), (90000, 2), (3599000, 3), (chaos.MAX_DURATION_MS, 1)):
        assert chaos.parse_full_form(chaos.format_duration(ms, unit), unit) * 1000 == ms
    assert chaos.parse_full_form("1m60s", 2) is None and chaos.parse_full_form("90s", 2) is None


# ---- the program on each state

def learn_screen(machine):
    """The monitor rectangle the program names its position copy after and
    the main dialog's size, from a first run that saves and ends."""
    app = machine.launch()
    rect = app.window_rect()
    app.open_menu()
    app.pick_menu_entry(SAVE_ENTRY)
    window_key = SETTINGS_KEY + r"\MainWindow"
    monitor = app.wait_for(lambda: machine.registry.subkeys(window_key), message="the saved position")[0]
    app.close_with_close_box()
    assert app.exit_code() == 0
    machine.registry.delete(SETTINGS_KEY)
    return tuple(int(part) for part in monitor[len("MonitorRectangle("):-1].split(",")), (rect.width, rect.height)


def snapshot(registry, key=SETTINGS_KEY):
    """{subkey: {name: (type, stored bytes)}} of the whole tree, or {}."""
    found = registry.values(key, wide=True)
    if found is None:
        return {}
    tree = {"": {name: (value.type, value.data) for name, value in found.items()}}
    for subkey in registry.subkeys(key):
        for path, names in snapshot(registry, key + "\\" + subkey).items():
            tree[subkey + ("\\" + path if path else "")] = names
    return tree


def text_problems(what, text, expected=None):
    """A caption or event label: 1 to 30 bytes without surrounding white
    space, and the expected one where that is certain."""
    if expected is not None and text != expected:
        return [f"{what} is {text!r}, expected {expected!r}"]
    if not 0 < len(text) <= chaos.LABEL_LIMIT or text != text.strip(chaos.WHITE_SPACE):
        return [f"{what} {text!r} is not a legal label"]
    return []


def panel_problems(app, state, number):
    index = number - 1
    subkey = f"Timer0{number}"
    problems = text_problems(f"panel {number}'s caption", app.text_bytes(GROUPS[index]),
                             chaos.expected_label(state.value(subkey, "Label"), chaos.DEFAULT_TIMER_LABELS[index]))
    value_ms, unit, event = chaos.expected_timer(state, number)

    unit_items = app.combo_items(UNITS[index])
    unit_index = app.combo_selection(UNITS[index])
    if len(unit_items) != 3 or unit_index != unit - 1:
        problems.append(f"panel {number}'s unit list: item {unit_index} of {unit_items}, expected item {unit - 1}")
    text = app.text(EDITS[index])
    seconds = chaos.parse_full_form(text, unit_index + 1) if 0 <= unit_index <= 2 else None
    if seconds is None or not 1 <= seconds <= MAX_SECONDS:
        problems.append(f"panel {number}'s duration {text!r} is not a legal duration in unit {unit_index + 1}")
    elif text != chaos.format_duration(value_ms, unit):
        problems.append(f"panel {number}'s duration is {text!r}, expected {chaos.format_duration(value_ms, unit)!r}")

    event_items = app.combo_items(EVENTS[index])
    event_index = app.combo_selection(EVENTS[index])
    if len(event_items) != 9 or event_index != event - 1:
        problems.append(f"panel {number}'s event list: item {event_index} of {len(event_items)}, "
                        f"expected item {event - 1} of 9")
    return problems


def event_label_problems(app, state):
    """The external sound and open file labels, as the event lists show them."""
    items = [app.machine.encode(item) for item in app.combo_items(ids.IDC_EVENT1)]
    problems = []
    for slot, (group, defaults) in enumerate([("ExternalSound", chaos.DEFAULT_SOUND_LABELS)] * 3
                                             + [("OpenFile", chaos.DEFAULT_OPEN_LABELS)] * 3):
        n = slot % 3 + 1
        expected = chaos.expected_label(state.value(f"{group}0{n}", "Label"), defaults[n - 1])
        shown = items[3 + slot] if 3 + slot < len(items) else b""
        problems += text_problems(f"{group} #{n}'s label", shown, expected)
    return problems


def window_problems(app, state, monitor):
    problems = []
    on_top = chaos.expected_option(state, "KeepWindowOnTop")
    if app.is_checked(ids.IDC_KEEP_ON_TOP) != on_top or app.is_topmost() != on_top:
        problems.append(f"keep on top should be {on_top}")
    rect = app.window_rect()
    left, top, right, bottom = monitor
    if not (left <= rect.left and top <= rect.top and rect.right <= right and rect.bottom <= bottom):
        problems.append(f"the window {tuple(rect)} is not wholly on the screen {monitor}")
    return problems


def end_programs(apps):
    """A program that failed a check may still run: end it before the next state."""
    for app in apps:
        if app.is_running():
            app.terminate()


def try_state(machine, state, monitor):
    """Everything wrong with the program on this state, as texts."""
    registry = machine.registry
    registry.delete(SETTINGS_KEY)
    registry.seed(state.registry(SETTINGS_KEY))
    before = snapshot(registry)
    seeded = {subkey: {name: stored[0] for name, stored in names.items()}
              for subkey, names in before.items() if names}
    intended = {subkey: {name: value.type for name, value in names.items()}
                for subkey, names in state.keys.items() if names}
    if seeded != intended:
        return [f"the registry holds {seeded}, not the state's values"]
    problems = []
    launched = len(machine.apps)
    try:
        app = machine.launch()
        for number in (1, 2, 3):
            problems += panel_problems(app, state, number)
        problems += event_label_problems(app, state)
        problems += window_problems(app, state, monitor)
        app.sync(timeout=10)
        app.close_with_close_box()
        code = app.exit_code(timeout=20)
        if code != 0:
            problems.append(f"exit code {code}")
    except (AssertionError, DriverError, LookupError) as error:
        problems.append(f"{type(error).__name__}: {error}")
    end_programs(machine.apps[launched:])
    if snapshot(registry) != before:
        problems.append("the registry changed while the program ran")
    return problems


def test_the_program_survives_generated_registry_states(machine):
    monitor, window_size = learn_screen(machine)
    started = time.monotonic()
    failures = []
    for index in range(STATES):
        state = chaos.generate(SEED, index, monitor, window_size)
        problems = try_state(machine, state, monitor)
        if problems:
            failures.append((state, problems))
            dump = machine.directory / "chaos" / f"seed-{SEED}-state-{index:04}.txt"
            dump.parent.mkdir(exist_ok=True)
            dump.write_text("\n".join(problems) + "\n" + state.describe(full=True) + "\n")
    elapsed = time.monotonic() - started
    print(f"\nregistry chaos: {STATES} states of seed {SEED} in {elapsed:.1f} s "
          f"({elapsed / max(STATES, 1):.2f} s a state), {len(failures)} failed")
    report = [f"{len(failures)} of {STATES} states failed with KELVARO_CHAOS_SEED={SEED}: states "
              + ", ".join(str(state.index) for state, _ in failures)
              + f" (full dumps in {machine.directory / 'chaos'})"]
    for state, problems in failures[:DETAILED_FAILURES]:
        report += [f"state {state.index}: " + "; ".join(problems), state.describe()]
    assert not failures, "\n".join(report)
