"""Where the main dialog reappears: at its saved position while its monitor
keeps its rectangle, otherwise where it was created; always on screen."""

import pytest

from harness import SETTINGS_KEY, ids

WINDOW_KEY = SETTINGS_KEY + r"\MainWindow"
SAVE_ENTRY = 4


def monitor_key(app_or_rect):
    left, top, right, bottom = app_or_rect
    return rf"{WINDOW_KEY}\MonitorRectangle({left},{top},{right},{bottom})"


def store_position(machine, key, x, y, cx, cy):
    for name, number in (("X", x), ("Y", y), ("CX", cx), ("CY", cy)):
        machine.registry.set(key, name, number & 0xFFFFFFFF)


def created_position(machine):
    """Where a first run puts the window, and the monitor it is on, learned
    from a run that saves and ends."""
    app = machine.launch()
    rect = app.window_rect()
    app.open_menu()
    app.pick_menu_entry(SAVE_ENTRY)
    app.wait_for(lambda: machine.registry.subkeys(WINDOW_KEY), message="the saved position")
    monitor = machine.registry.subkeys(WINDOW_KEY)[0]
    app.close_with_close_box()
    assert app.exit_code() == 0
    machine.registry.delete(SETTINGS_KEY)
    numbers = tuple(int(part) for part in monitor[len("MonitorRectangle("):-1].split(","))
    return rect, numbers


def top_left(app):
    rect = app.window_rect()
    return rect.left, rect.top


def test_reopens_at_the_saved_position_on_an_unchanged_monitor(machine):
    created, monitor = created_position(machine)
    store_position(machine, WINDOW_KEY, 100, 120, created.width, created.height)
    store_position(machine, monitor_key(monitor), 100, 120, created.width, created.height)
    app = machine.launch()
    assert top_left(app) == (100, 120)

    # Saving again keeps it there and writes the same numbers.
    app.open_menu()
    app.pick_menu_entry(SAVE_ENTRY)
    app.wait_for(lambda: machine.registry.get(WINDOW_KEY, "X").number == 100, message="the save")
    stored = machine.registry.values(monitor_key(monitor))
    assert [stored[name].number for name in ("X", "Y", "CX", "CY")] == [100, 120, created.width, created.height]


def test_a_saved_position_partly_off_screen_is_moved_back_whole(machine):
    created, monitor = created_position(machine)
    x, y = monitor[2] - created.width // 2, monitor[3] - 10
    store_position(machine, WINDOW_KEY, x, y, created.width, created.height)
    store_position(machine, monitor_key(monitor), x, y, created.width, created.height)
    app = machine.launch()
    rect = app.window_rect()
    assert (rect.right, rect.bottom) == (monitor[2], monitor[3])
    assert (rect.width, rect.height) == (created.width, created.height)


@pytest.mark.parametrize("case", ["other monitor rectangle", "negative width", "subkey differs", "no subkey"])
def test_a_position_that_cannot_be_trusted_gives_the_created_one(machine, case):
    created, monitor = created_position(machine)
    width, height = created.width, created.height
    if case == "other monitor rectangle":
        store_position(machine, WINDOW_KEY, 100, 120, width, height)
        store_position(machine, monitor_key((0, 0, 1920, 1080)), 100, 120, width, height)
    elif case == "negative width":
        store_position(machine, WINDOW_KEY, 100, 120, -width, height)
        store_position(machine, monitor_key(monitor), 100, 120, -width, height)
    elif case == "subkey differs":
        store_position(machine, WINDOW_KEY, 100, 120, width, height)
        store_position(machine, monitor_key(monitor), 100, 121, width, height)
    else:
        store_position(machine, WINDOW_KEY, 100, 120, width, height)
    app = machine.launch()
    assert app.window_rect() == created
