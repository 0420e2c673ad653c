"""The harness's own commands, proved on its testbed dialog (tools/testbed.cpp)
and on the registry and recorder: every later test relies on them."""

import pytest

from harness import IDNO, IDYES, RECORDER_PATH, DriverError, values

EDIT, LOG, MENU, ASK, KEYS, ICON, COMBO = 1001, 1002, 1003, 1004, 1005, 1006, 1007
CB_ADDSTRING = 0x0143


def log_reads(window, expected):
    return window.wait_for(lambda: window.text(LOG) == expected, message=f"log {expected!r}")


def test_texts_cross_the_pipe_byte_for_byte(testbed):
    every_byte = bytes(range(0x20, 0x100))
    testbed.set_text(EDIT, every_byte)
    assert testbed.text_bytes(EDIT) == every_byte
    tricky = 'a "quoted"\tvalue - with = signs , and commas'
    testbed.set_text(EDIT, tricky)
    assert testbed.text(EDIT) == tricky
    assert testbed.caption() == "Testbed"


def test_combo_box_reads_and_selects_like_a_user(testbed):
    assert testbed.combo_items(COMBO) == ["One", "Two", "Three"]
    assert testbed.combo_selection(COMBO) == 1
    testbed.select_combo(COMBO, 2)
    assert testbed.text(LOG) == "select 2"
    assert testbed.combo_selection(COMBO) == 2


def test_held_keys_are_what_get_key_state_sees(testbed):
    with testbed.held_keys("shift"):
        testbed.click(KEYS)
        assert testbed.text(LOG) == "keys shift=1 control=0"
        with testbed.held_keys("control"):
            testbed.click(KEYS)
            assert testbed.text(LOG) == "keys shift=1 control=1"
        testbed.click(KEYS)
        assert testbed.text(LOG) == "keys shift=1 control=0"
    testbed.click(KEYS)
    assert testbed.text(LOG) == "keys shift=0 control=0"


def test_menu_entries_are_picked_by_position(testbed):
    testbed.open_menu(from_button=MENU)
    testbed.pick_menu_entry(2)          # the separator is not counted
    log_reads(testbed, "menu 3")
    testbed.open_menu(from_button=MENU)
    testbed.pick_menu_entry(0)
    log_reads(testbed, "menu 1")
    testbed.open_menu(from_button=MENU)
    testbed.pick_menu_entry(3, 1)       # second entry of the submenu
    log_reads(testbed, "menu 5")
    testbed.open_menu(from_button=MENU)
    testbed.escape_menu()
    log_reads(testbed, "menu 0")


def test_message_box_is_read_and_answered(testbed):
    testbed.post_click(ASK)
    assert testbed.message_box() == ("Question", "Proceed?")
    testbed.answer_message_box(IDNO)
    log_reads(testbed, "ask 7")
    testbed.post_click(ASK)
    testbed.answer_message_box(IDYES)
    log_reads(testbed, "ask 6")
    assert testbed.message_boxes() == []


def test_button_icon_and_screen_pixels(testbed):
    assert testbed.button_icon(ICON) == 133
    testbed.click(ICON)
    assert testbed.button_icon(ICON) == 134
    testbed.click(ICON)
    assert testbed.button_icon(ICON) == 171
    # A candidate the button does not show is not claimed.
    assert testbed.button_icon(ICON, candidates=(133, 134), timeout=1) is None
    # The screen itself: an edit box is mostly (nearly) white.
    edit = testbed.pixels(EDIT)
    assert (edit.width, edit.height) == (testbed.window_rect(EDIT).width, testbed.window_rect(EDIT).height)
    assert min(edit.colours().most_common(1)[0][0]) >= 235


def test_keyboard_focus_and_mouse(testbed):
    testbed.type_text(EDIT, "abc")
    assert testbed.text(EDIT) == "abc"
    assert testbed.focus_id() == EDIT
    testbed.type_enter_in(EDIT)
    log_reads(testbed, "ok abc")
    testbed.press_key("escape", on=EDIT)
    log_reads(testbed, "cancel")
    testbed.move_focus(COMBO)
    assert testbed.focus_id() == COMBO
    testbed.click_at(5, 6, double=True, ctrl=True)
    log_reads(testbed, "double 5 6 9")   # MK_LBUTTON | MK_CONTROL
    testbed.click_at(7, 8, button="right")
    log_reads(testbed, "rightup 7 8 0")


def test_close_box_ends_the_process_with_its_exit_code(testbed):
    assert testbed.is_running()
    testbed.close_with_close_box()
    assert testbed.exit_code() == 7


@pytest.mark.parametrize("dpi", [96, pytest.param(144, marks=pytest.mark.dpi(144))])
def test_display_scale_is_chosen_per_machine(machine, dpi):
    assert machine.screen_dpi == dpi
    width, _, line = machine.text_layout("Start", -round(8 * dpi / 72), 1000)
    assert line > 11 * dpi // 96 and width > 0


def test_registry_values_of_every_type_round_trip(machine):
    key = r"Software\Kelvaro Harness\Types"
    planted = {
        "text": values.sz("caf\xe9 \"quoted\""),
        "expand": values.expand_sz("%TEMP%\\x"),
        "multi": values.multi_sz(["one", "two"]),
        "number": values.dword(0xFFFFFFFF),
        "big": values.qword(1 << 40),
        "blob": values.binary(bytes(range(256)) * 40),
        "nothing": values.none(b"\x01\x02"),
        "unterminated": values.raw(values.REG_SZ, "abc".encode("utf-16-le"), wide=True),
        "": values.sz("default value"),
    }
    machine.registry.seed({key: planted})
    machine.registry.set(key + r"\Sub", "x", 1)
    for name, value in planted.items():
        assert machine.registry.get(key, name, wide=value.wide) == value, name
    assert machine.registry.get(key, "text").text == "caf\xe9 \"quoted\""
    assert machine.registry.get(key, "multi").strings == ["one", "two"]
    assert machine.registry.get(key, "big").number == 1 << 40
    assert machine.registry.get(key, "unterminated", wide=True).data == b"a\0b\0c\0"
    assert set(machine.registry.values(key)) == set(planted)
    assert machine.registry.subkeys(key) == ["Sub"]
    assert machine.registry.get(key, "absent") is None

    machine.registry.lock(key)
    assert machine.registry.set(key, "text", "changed", check=False) == 5
    assert machine.registry.get(key, "text") == planted["text"]
    machine.registry.unlock(key)
    machine.registry.set(key, "text", "changed")

    assert machine.registry.delete(key)
    assert not machine.registry.exists(key)
    assert machine.registry.get(key, "text") is None
    assert not machine.registry.delete(key)


def test_recorder_logs_command_line_and_directory(machine):
    recorder = machine.launch(exe=RECORDER_PATH, args='one "two three" \xe9', cwd="C:\\users", main_control=None)
    assert recorder.exit_code() == 0
    [start] = machine.recorder.wait_for_launches(1)
    assert start.command_line == f'"{RECORDER_PATH}" one "two three" \xe9'
    assert start.args == ["one", "two three", "\xe9"]
    assert start.cwd == "C:\\users"
    assert abs(start.tick - machine.tick_count()) < 60000


def test_launch_failure_is_reported(machine):
    with pytest.raises(DriverError, match="CreateProcess failed, error 2"):
        machine.launch(exe=r"C:\missing\nothing.exe")


@pytest.mark.locale("ja_JP.UTF-8")
def test_double_byte_texts_under_code_page_932(testbed):
    assert testbed.machine.code_page == 932
    # 0x955C: the trail byte of this character is a backslash.
    text = "\u8868\u793a\\\uff71"
    testbed.set_text(1001, text)
    assert testbed.text_bytes(1001) == text.encode("cp932")
    testbed.send_text_message(CB_ADDSTRING, 0, text, id=COMBO)
    assert testbed.combo_items(COMBO)[-1] == text
