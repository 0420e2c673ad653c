"""Settings that last: what an empty or a hand-edited registry loads as,
what the save command writes, and what a restart shows."""

import re

import pytest

from harness import SETTINGS_KEY, ids, values
from test_countdown import holds_for
from test_title_band import ENABLED, GRAYED, REPEAT_WHILE_IDLE, REPEAT_WHILE_RUNNING, SEPARATOR, open_panel_menu

SAVED_SOUND = ids.IDW_SAVED
SAVE_ENTRY = 4               # "Save All Settings in Windows Registry", separators not counted

GROUPS = [ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3]
EDITS = [ids.IDC_VALUE1, ids.IDC_VALUE2, ids.IDC_VALUE3]
UNITS = [ids.IDC_UNIT1, ids.IDC_UNIT2, ids.IDC_UNIT3]
EVENTS = [ids.IDC_EVENT1, ids.IDC_EVENT2, ids.IDC_EVENT3]
OPTIONS = ["KeepWindowOnTop", "ShowTimerInTitleBar", "FlashWndOnTimerUp", "UseAltIconOnTimerUp",
           "DisplaySmartCursors"]


def key(subkey=None):
    return SETTINGS_KEY if subkey is None else rf"{SETTINGS_KEY}\{subkey}"


def panel(app, index):
    """What timer panel index shows: caption, duration, unit and event index."""
    return (app.text(GROUPS[index]), app.text(EDITS[index]), app.combo_selection(UNITS[index]),
            app.combo_selection(EVENTS[index]))


def save_all(app):
    """Chooses the save command and waits until its last write is in place."""
    app.registry.delete_value(key("Timer03"), "Event")
    app.open_menu()
    app.pick_menu_entry(SAVE_ENTRY)
    app.wait_for(lambda: app.registry.get(key("Timer03"), "Event") is not None, message="the save's last write")


def times_played(app, sound):
    return app.sounds.played().count(sound)


def sz_bytes(app, subkey, name):
    value = app.registry.get(key(subkey), name)
    assert value is not None and value.type == values.REG_SZ, (subkey, name, value)
    return value.data


@pytest.mark.x64
def test_first_run_shows_the_defaults_and_writes_nothing(app):
    assert [panel(app, index) for index in range(3)] == [
        ("Timer #&1", "90s", 0, 0),
        ("Timer #&2", "5m00s", 1, 1),
        ("Timer #&3", "1h00m00s", 2, 2),
    ]
    items = app.combo_items(ids.IDC_EVENT1)
    assert items[3:] == ["Play External Sound #1", "Play External Sound #2", "Play External Sound #3",
                         "Open File #1", "Open File #2", "Open File #3"]
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()
    assert not app.registry.exists(SETTINGS_KEY)


LABEL_40 = "  Tea and biscuits" + " " * 12 + "0123456789"      # its first 30 bytes end in spaces


@pytest.mark.registry({
    key("Timer01"): {"Label": LABEL_40, "Value": 999, "Unit": values.binary(b"\x03\x00\x00\x00"), "Event": 10},
    key("Timer02"): {"Label": values.expand_sz("Tea"), "Value": 2145600001, "Unit": 0, "Event": 0},
    key("Timer03"): {"Label": " \t  ", "Value": 0xFFFFFFFF, "Unit": 4, "Event": 9},
})
def test_hand_edited_timers_load_with_defaults_and_limits(app):
    assert [panel(app, index) for index in range(3)] == [
        ("Tea and biscuits", "1s", 0, 0),           # 999 ms -> 1 s; binary Unit and Event 10 -> timer 1
        ("Timer #&2", "35760m00s", 1, 1),          # above the maximum -> 596 hours, shown in minutes
        ("Timer #&3", "0h00m01s", 2, 8),           # all 32 bits set -> 1 s; Unit 4 -> Hours; Event 9 kept
    ]
    # The save writes back exactly what was loaded.
    save_all(app)
    assert [app.registry.get(key(f"Timer0{n}"), "Value").number for n in (1, 2, 3)] == [1000, 2145600000, 1000]
    assert [app.registry.get(key(f"Timer0{n}"), "Unit").number for n in (1, 2, 3)] == [1, 2, 3]
    assert app.registry.get(key("Timer01"), "Unit").type == values.REG_DWORD


@pytest.mark.registry({
    SETTINGS_KEY: {"KeepWindowOnTop": 7, "ShowTimerInTitleBar": 0, "FlashWndOnTimerUp": 0xFFFFFFFF},
    key("Timer01"): {"Unit": 2},                                        # no Value: the timer's own default
    key("Timer02"): {"Event": 5},
    key("ExternalSound01"): {"Label": "  Ding ", "FileName": "S" * 300},
    key("ExternalSound02"): {"Label": values.expand_sz("Gong")},
    key("OpenFile01"): {"FileName": values.dword(5)},
    key("OpenFile02"): {"FileName": " O" * 150},
})
def test_options_events_and_file_names_load_value_by_value(app):
    assert panel(app, 0) == ("Timer #&1", "1m30s", 1, 0)
    assert app.combo_selection(ids.IDC_EVENT2) == 4
    assert app.combo_items(ids.IDC_EVENT3)[3:5] == ["Ding", "Play External Sound #2"]
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()

    save_all(app)
    stored = app.registry.values(SETTINGS_KEY)
    assert {name: stored[name].number for name in OPTIONS} == {
        "KeepWindowOnTop": 1, "ShowTimerInTitleBar": 0, "FlashWndOnTimerUp": 1, "UseAltIconOnTimerUp": 1,
        "DisplaySmartCursors": 1}
    assert app.registry.get(key("Timer01"), "Value").number == 90000
    assert sz_bytes(app, "ExternalSound01", "FileName") == b"S" * 259 + b"\0"
    assert sz_bytes(app, "ExternalSound01", "Label") == b"Ding\0"
    assert sz_bytes(app, "ExternalSound02", "Label") == b"Play External Sound #2\0"
    assert sz_bytes(app, "OpenFile01", "FileName") == b"\0"
    assert sz_bytes(app, "OpenFile02", "FileName") == b" O" * 150 + b"\0"   # not trimmed, not cut


@pytest.mark.locale("ja_JP.UTF-8")
@pytest.mark.registry({
    key("Timer01"): {"Label": "a" * 29 + "\u3042" + "bc"},       # the 30th byte would start a character
    key("Timer02"): {"Label": "\u3042" * 16},                       # 32 bytes: fifteen characters fit
    key("Timer03"): {"Label": "\u3000x\u3000"},                     # full-width spaces are not white space
})
def test_labels_are_cut_between_double_byte_characters(app):
    assert app.machine.code_page == 932
    assert app.text_bytes(ids.IDC_GROUP1) == b"a" * 29
    assert app.text_bytes(ids.IDC_GROUP2) == "\u3042".encode("cp932") * 15
    assert app.text(ids.IDC_GROUP3) == "\u3000x\u3000"


@pytest.mark.sound
def test_save_writes_the_whole_layout_and_can_be_repeated(app):
    save_all(app)
    app.wait_for(lambda: times_played(app, SAVED_SOUND) == 1, message="the saved sound")

    assert sorted(app.registry.subkeys(SETTINGS_KEY)) == sorted(
        ["ExternalSound01", "ExternalSound02", "ExternalSound03", "OpenFile01", "OpenFile02", "OpenFile03",
         "Timer01", "Timer02", "Timer03", "MainWindow"])
    root = app.registry.values(SETTINGS_KEY)
    assert {name: (value.type, value.data) for name, value in root.items()} == \
        {**{name: (values.REG_DWORD, b"\x01\0\0\0") for name in OPTIONS},
         "ShowInNotificationArea": (values.REG_DWORD, b"\0\0\0\0")}
    for n in (1, 2, 3):
        sound = app.registry.values(key(f"ExternalSound0{n}"))
        assert {name: (value.type, value.data) for name, value in sound.items()} == {
            "Label": (values.REG_SZ, f"Play External Sound #{n}\0".encode()), "FileName": (values.REG_SZ, b"\0")}
        opener = app.registry.values(key(f"OpenFile0{n}"))
        assert {name: (value.type, value.data) for name, value in opener.items()} == {
            "Label": (values.REG_SZ, f"Open File #{n}\0".encode()), "FileName": (values.REG_SZ, b"\0")}
        timer = app.registry.values(key(f"Timer0{n}"))
        assert {name: (value.type, value.data) for name, value in timer.items()} == {
            "Label": (values.REG_SZ, f"Timer #&{n}\0".encode()),
            "Value": (values.REG_DWORD, [90000, 300000, 3600000][n - 1].to_bytes(4, "little")),
            "Unit": (values.REG_DWORD, n.to_bytes(4, "little")),
            "Event": (values.REG_DWORD, n.to_bytes(4, "little")),
            "Repeat": (values.REG_DWORD, b"\0\0\0\0"),
        }

    # The window's position, once in MainWindow and once under its monitor.
    rect = app.window_rect()
    expected = {"X": rect.left, "Y": rect.top, "CX": rect.width, "CY": rect.height}
    window = app.registry.values(key("MainWindow"))
    assert {name: value.type for name, value in window.items()} == {name: values.REG_DWORD for name in expected}
    assert {name: value.number for name, value in window.items()} == expected
    monitors = app.registry.subkeys(key("MainWindow"))
    assert len(monitors) == 1 and re.fullmatch(r"MonitorRectangle\(0,0,\d+,\d+\)", monitors[0]), monitors
    assert {name: value.number for name, value in app.registry.values(key(rf"MainWindow\{monitors[0]}")).items()} \
        == expected

    # A changed duration and a second save: the same layout, the new value, the sound again.
    app.select_combo(ids.IDC_UNIT3, 1)
    save_all(app)
    app.wait_for(lambda: times_played(app, SAVED_SOUND) == 2, message="the saved sound, twice")
    assert app.registry.get(key("Timer03"), "Unit").number == 2
    assert app.registry.get(key("Timer03"), "Value").number == 3600000


@pytest.mark.sound
@pytest.mark.registry({key("ExternalSound01"): {"Label": "Bell"}})
def test_a_refused_write_does_not_stop_the_others_and_ends_in_the_error_beep(app):
    app.registry.lock(key("ExternalSound01"))
    save_all(app)
    # Written before and after the refused key.
    for subkey, name in [("MainWindow", "CY"), ("ExternalSound02", "Label"), ("OpenFile03", "FileName"),
                         ("Timer01", "Label"), ("Timer02", "Value")]:
        assert app.registry.get(key(subkey), name) is not None, (subkey, name)
    assert app.registry.get(key(), "DisplaySmartCursors").number == 1
    assert app.registry.get(key("ExternalSound01"), "FileName") is None
    # The beep is not a captured sound: prove that the saved sound is missing
    # by waiting for a sound played after the save.
    app.click(ids.IDC_KEEP_ON_TOP)
    app.wait_for(lambda: ids.IDW_SWITCH_OFF in app.sounds.played(), message="the switch-off sound")
    assert SAVED_SOUND not in app.sounds.played()


def test_a_restart_shows_what_was_saved_and_nothing_else(machine, app):
    app.select_combo(ids.IDC_UNIT1, 2)                        # Hours
    app.select_combo(ids.IDC_EVENT2, 6)                       # Open File #1
    app.move_focus(ids.IDC_VALUE3)
    app.set_text(ids.IDC_VALUE3, "2h")
    app.move_focus(ids.IDC_UNIT3)                             # the edit is validated as it loses the focus
    assert app.text(ids.IDC_VALUE3) == "2h00m00s"
    app.click(ids.IDC_KEEP_ON_TOP)
    save_all(app)
    # Changed after the save: lost at the end of the run.
    app.select_combo(ids.IDC_UNIT2, 0)
    app.select_combo(ids.IDC_EVENT3, 8)
    app.click(ids.IDC_KEEP_ON_TOP)
    app.close_with_close_box()
    assert app.exit_code() == 0

    again = machine.launch()
    assert [panel(again, index) for index in range(3)] == [
        ("Timer #&1", "0h01m30s", 2, 0),
        ("Timer #&2", "5m00s", 1, 6),
        ("Timer #&3", "2h00m00s", 2, 2),
    ]
    assert not again.is_checked(ids.IDC_KEEP_ON_TOP)
    assert not again.is_topmost()



@pytest.mark.registry({key("Timer02"): {"Repeat": 1}, key("Timer03"): {"Repeat": "1"}})
def test_repeat_loads_like_an_option_and_is_saved_after_event(machine, app):
    # Loaded on, and stored as text (which loads as off): the entry is on every idle timer's menu.
    assert open_panel_menu(app, 2) == [ENABLED, GRAYED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    assert open_panel_menu(app, 3) == [ENABLED, GRAYED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    app.escape_menu()
    app.click(ids.IDC_START1)
    open_panel_menu(app, 1)
    app.pick_menu_entry(REPEAT_WHILE_RUNNING)
    app.click(ids.IDC_START1)

    save_all(app)
    app.wait_for(lambda: app.registry.get(key("Timer03"), "Repeat").type == values.REG_DWORD,
                 message="the save's last write")
    for n, repeat in [(1, 1), (2, 1), (3, 0)]:
        stored = app.registry.get(key(f"Timer0{n}"), "Repeat")
        assert (stored.type, stored.number) == (values.REG_DWORD, repeat), n
    app.close_with_close_box()
    assert app.exit_code() == 0

    again = machine.launch()
    assert open_panel_menu(again, 1) == [ENABLED, GRAYED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    again.escape_menu()


@pytest.mark.sound
@pytest.mark.registry({key("Timer02"): {"Value": 1000}})
def test_repeat_set_before_the_start_runs_rounds_and_is_saved(app):
    open_panel_menu(app, 2)
    app.pick_menu_entry(REPEAT_WHILE_IDLE)
    app.click(ids.IDC_START2)
    app.wait_for(lambda: app.sounds.played().count(ids.IDW_EVENT2) >= 2, message="two rounds of timer #2")
    holds_for(app, 500, lambda: app.text(ids.IDC_START2) == " Stop")
    app.click(ids.IDC_START2)

    save_all(app)
    stored = app.registry.get(key("Timer02"), "Repeat")
    assert (stored.type, stored.number) == (values.REG_DWORD, 1)
    # Every timer's Repeat is saved, on or off.
    assert [(app.registry.get(key(f"Timer0{n}"), "Repeat").type, app.registry.get(key(f"Timer0{n}"), "Repeat").number)
            for n in (1, 3)] == [(values.REG_DWORD, 0)] * 2
