"""Renaming a timer on its panel: the editor laid over the caption line,
Enter, Escape, leaving the field, the default name with Ctrl, and its picture."""

from pathlib import Path

from harness import Window, ids

REPO = Path(__file__).resolve().parents[2]
SCREENSHOT = REPO / "docs" / "name-editor.png"

EDITOR_CLASS = "Kelvaro_ModifyTimerLabelTinyWnd"
NAME_EDIT = 101
WM_CHAR = 0x0102
EM_GETSEL = 0x00B0
VK_BACK = 0x08

GROUPS = [ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3]
BUTTONS = [ids.IDC_START1, ids.IDC_START2, ids.IDC_START3]
EDITS = [ids.IDC_VALUE1, ids.IDC_VALUE2, ids.IDC_VALUE3]


def band_point(app, timer):
    """A client point in the middle of timer #timer's title band: between the
    button's left edge and the same inset on the right, between the group
    box's top and the button's top."""
    group = app.client_rect(GROUPS[timer - 1])
    button = app.client_rect(BUTTONS[timer - 1])
    return (group.left + group.right) // 2, (group.top + button.top - 1) // 2


def editors(app):
    return [window for window in app.windows() if window.class_name == EDITOR_CLASS and window.visible]


def shown_editor(app):
    """The name editor's window, once it is shown."""
    return Window(app, app.wait_for(lambda: editors(app) and editors(app)[0].hwnd, message="the name editor"))


def open_editor(app, timer):
    """Double-clicks the panel's title band and returns the editor's window."""
    app.click_at(*band_point(app, timer), double=True)
    return shown_editor(app)


def type_into(editor, text):
    edit = editor.control(NAME_EDIT)
    for byte in editor.machine.encode(text):
        editor.driver.request("post", edit, WM_CHAR, byte, 1)


def press(editor, key):
    editor.driver.request("key", editor.control(NAME_EDIT), {"return": 0x0D, "escape": 0x1B}[key], "press")


def wait_closed(app, editor):
    app.wait_for(lambda: not editor.exists(), message="the name editor to close")


def rename(app, timer, name):
    editor = open_editor(app, timer)
    type_into(editor, name)
    press(editor, "return")
    wait_closed(app, editor)
    assert app.text(GROUPS[timer - 1]) == name


def test_double_click_opens_the_editor_over_the_caption_with_the_name_selected(app):
    editor = open_editor(app, 2)
    assert editor.info()["owner"] == app.hwnd

    # Two pixels of frame around a field from the button's left edge to the
    # same inset on the right, from the group box's top.
    group, button, placed = app.window_rect(ids.IDC_GROUP2), app.window_rect(ids.IDC_START2), editor.window_rect()
    assert placed.left == button.left - 2
    assert placed.right == group.left + group.right - button.left + 2
    assert placed.top == group.top - 2
    assert 10 <= placed.height <= button.top - group.top + 6

    assert editor.text(NAME_EDIT) == "Timer #&2"
    selection = editor.send_message(EM_GETSEL, id=NAME_EDIT)
    assert (selection & 0xFFFF, selection >> 16) == (0, len("Timer #&2"))
    assert app.focus_hwnd() == editor.control(NAME_EDIT)
    assert app.text(ids.IDC_GROUP2) == ""
    assert app.text(ids.IDC_GROUP1) == "Timer #&1"

    type_into(editor, "Pasta water")
    SCREENSHOT.parent.mkdir(exist_ok=True)
    app.wait_for(lambda: editor.text(NAME_EDIT) == "Pasta water", message="the typed name")
    app.screenshot(SCREENSHOT)


def test_enter_stores_the_trimmed_name_and_moves_into_the_duration_edit(app):
    editor = open_editor(app, 2)
    type_into(editor, "  \tTea break  ")
    press(editor, "return")
    wait_closed(app, editor)
    assert app.text(ids.IDC_GROUP2) == "Tea break"
    app.wait_for(lambda: app.focus_id() == ids.IDC_VALUE2, message="the focus in timer #2's duration edit")

    # The name lives in the settings record: the Settings dialog shows it too.
    app.open_menu()
    app.pick_menu_entry(0)
    settings = app.dialog("Settings")
    assert settings.text(ids.IDC_SET_NAME2) == "Tea break"


def test_enter_on_a_running_timer_leaves_the_focus_alone(app):
    app.click(ids.IDC_START2)
    assert not app.is_enabled(ids.IDC_VALUE2)
    rename(app, 2, "Laundry")
    assert app.focus_id() != ids.IDC_VALUE2
    assert not app.is_enabled(ids.IDC_VALUE2)


def test_a_cleared_name_becomes_the_default_when_the_focus_leaves(app):
    rename(app, 2, "Tea")
    editor = open_editor(app, 2)
    assert editor.text(NAME_EDIT) == "Tea"
    type_into(editor, "\b")          # the whole name is selected: one Backspace clears it
    app.wait_for(lambda: editor.text(NAME_EDIT) == "", message="an empty field")
    # A click into timer #1's duration edit takes the focus away.
    app.click_at(3, 3, id=ids.IDC_VALUE1)
    wait_closed(app, editor)
    assert app.text(ids.IDC_GROUP2) == "Timer #&2"
    assert app.focus_id() == ids.IDC_VALUE1


def test_escape_keeps_the_previous_name(app):
    rename(app, 3, "Bread")
    editor = open_editor(app, 3)
    type_into(editor, "Cake")
    app.wait_for(lambda: editor.text(NAME_EDIT) == "Cake", message="the typed name")
    press(editor, "escape")
    wait_closed(app, editor)
    assert app.text(ids.IDC_GROUP3) == "Bread"
    assert app.focus_id() != ids.IDC_VALUE3


def test_control_double_click_restores_the_default_name_only_when_it_differs(app):
    rename(app, 1, "Eggs")
    app.click_at(*band_point(app, 1), double=True, ctrl=True)
    app.wait_for(lambda: app.text(ids.IDC_GROUP1) == "Timer #&1", message="the default name")
    assert not editors(app)

    # Already the default: no editor, nothing changes, on this panel or another.
    app.click_at(*band_point(app, 1), double=True, ctrl=True)
    app.sync()
    assert not editors(app)
    assert app.text(ids.IDC_GROUP1) == "Timer #&1"
    assert app.text(ids.IDC_GROUP2) == "Timer #&2"


def test_closing_the_program_with_the_editor_open_ends_it_cleanly(app):
    # The editor goes with its owner: its edit loses the focus while both are
    # being destroyed, which commits once more on the way out.
    editor = open_editor(app, 2)
    type_into(editor, "Half")
    app.wait_for(lambda: editor.text(NAME_EDIT) == "Half", message="the typed name")
    app.close_with_close_box()
    assert app.exit_code() == 0


UNITS = [ids.IDC_UNIT1, ids.IDC_UNIT2, ids.IDC_UNIT3]
EVENTS_LISTS = [ids.IDC_EVENT1, ids.IDC_EVENT2, ids.IDC_EVENT3]


def test_f2_renames_the_panel_of_any_control_and_the_duration_edit_names_follow(app):
    # Wine names edits only (after the hidden label before them); combo boxes give their selection.
    assert [app.accessible_name(edit) for edit in EDITS] == [f"Timer #{n} duration" for n in (1, 2, 3)]
    for controls, timer in ((BUTTONS, 1), (EVENTS_LISTS, 1), (EDITS, 2), (UNITS, 3)):
        app.press_key("f2", on=controls[timer - 1])
        editor = shown_editor(app)
        assert app.text(GROUPS[timer - 1]) == ""
        press(editor, "escape")
        wait_closed(app, editor)

    # A new name by F2 and Enter, as a double-click would: the focus goes to the duration.
    app.press_key("f2", on=ids.IDC_UNIT2)
    editor = shown_editor(app)
    type_into(editor, "Tea && &Biscuits")
    press(editor, "return")
    wait_closed(app, editor)
    app.wait_for(lambda: app.focus_id() == ids.IDC_VALUE2, message="the focus in timer #2's duration edit")
    assert app.accessible_name(ids.IDC_VALUE2) == "Tea & Biscuits duration"
    assert app.text(ids.IDC_GROUP2) == "Tea && &Biscuits"

    # Back to the default name with Ctrl and a double-click: the name follows.
    app.click_at(*band_point(app, 2), double=True, ctrl=True)
    app.wait_for(lambda: app.accessible_name(ids.IDC_VALUE2) == "Timer #2 duration", message="the default name")
