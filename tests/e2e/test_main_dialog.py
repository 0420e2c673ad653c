"""The main dialog as a user first meets it, with an empty registry: the three
timer panels, the keep-on-top box, and what Escape and the close box do."""

import re
import struct

import pytest

from harness import IDCANCEL, IDNO, IDOK, IDYES, PROGRAM_PATH, Window, ids
from harness.app import REPO, TOOLS, WM_CLOSE
from test_about import open_about
from test_countdown import ICONS, ctrl_click
from test_name_editor import open_editor, type_into
from test_settings_dialog import open_settings
from test_title_band import open_panel_menu

PANELS = [
    (ids.IDC_GROUP1, ids.IDC_START1, ids.IDC_VALUE1, ids.IDC_UNIT1, ids.IDC_EVENT1),
    (ids.IDC_GROUP2, ids.IDC_START2, ids.IDC_VALUE2, ids.IDC_UNIT2, ids.IDC_EVENT2),
    (ids.IDC_GROUP3, ids.IDC_START3, ids.IDC_VALUE3, ids.IDC_UNIT3, ids.IDC_EVENT3),
]
TESTBED_LOG = 1002      # a control of the harness's testbed dialog
EVENTS = ["Play Built-in Sound #1", "Play Built-in Sound #2", "Play Built-in Sound #3",
          "Play External Sound #1", "Play External Sound #2", "Play External Sound #3",
          "Open File #1", "Open File #2", "Open File #3"]


@pytest.mark.x64
def test_panels_show_their_defaults(app):
    assert app.caption() == "Kelvaro"
    for index, (group, start, _, unit, event) in enumerate(PANELS):
        assert app.text(group) == f"Timer #&{index + 1}"
        assert app.combo_items(unit) == ["Seconds", "Minutes", "Hours"]
        assert app.combo_selection(unit) == index
        assert app.combo_items(event) == EVENTS
        assert app.combo_selection(event) == index
        assert app.text(start) == " Start"
        assert app.button_icon(start) == ids.IDI_READY


def test_durations_show_their_default_values(app):
    assert [app.text(value) for _, _, value, _, _ in PANELS] == ["90s", "5m00s", "1h00m00s"]


def test_focus_comes_back_where_it_was_after_another_window_was_active(app, machine):
    other = machine.launch(exe=machine.windows_path(TOOLS / "testbed.exe"), args=f'"{PROGRAM_PATH}"',
                           main_control=TESTBED_LOG)

    def active(window):
        """Whether the window is active with a focus; asks for it again until
        then (a request made while another switch is under way can be lost)."""
        if window.is_foreground() and window.focus_id() is not None:
            return True
        window.set_foreground()
        return False

    def away_and_back(dialog, control):
        app.wait_for(lambda: active(dialog), message="the dialog active")
        dialog.move_focus(control)
        app.wait_for(lambda: active(other) and dialog.focus_id() is None, message="another window active")
        app.wait_for(lambda: active(dialog), message="the dialog active again")
        # Enter or Space now acts on the control the user left, not on the
        # first one of the dialog.
        assert dialog.focus_id() == control

    away_and_back(app, ids.IDC_VALUE2)
    app.move_focus(ids.IDC_KEEP_ON_TOP)     # Menu with the focus in an edit would start timer #2
    away_and_back(open_settings(app), ids.IDC_SET_SOUND_FILE2)


@pytest.mark.sound
def test_keep_on_top_box_switches_topmost_with_its_sounds(app):
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()

    app.click(ids.IDC_KEEP_ON_TOP)
    assert not app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert not app.is_topmost()
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_SWITCH_OFF], message="the switch-off sound")

    app.click(ids.IDC_KEEP_ON_TOP)
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_SWITCH_OFF, ids.IDW_SWITCH_ON],
                 message="the switch-on sound")


def test_escape_cancel_and_close_message_leave_the_dialog_open(app):
    app.press_key("escape")                       # on the focused Start button
    app.press_key("escape", on=ids.IDC_KEEP_ON_TOP)
    app.post_command(IDCANCEL)
    app.post_message(WM_CLOSE)
    app.sync()
    assert app.is_running()
    assert app.is_visible()
    assert app.message_boxes() == []


def _ends_or_asks(app):
    return not app.is_running() or app.message_boxes()


@pytest.mark.sound
def test_close_box_ends_the_program_quietly_with_exit_code_0(app):
    app.close_with_close_box()
    app.wait_for(lambda: _ends_or_asks(app), message="the program to end")
    assert not app.is_running(), f"unexpected message box {app.message_boxes()}"
    assert app.exit_code() == 0
    assert ids.IDW_EXIT not in app.sounds.played()


@pytest.mark.sound
@pytest.mark.parametrize("key", ["shift", "control"])
def test_close_box_with_shift_or_control_plays_the_exit_sound(app, key):
    with app.held_keys(key):
        app.close_with_close_box()
        assert app.exit_code() == 0
    assert app.sounds.played() == [ids.IDW_EXIT]


def test_closing_while_timers_run_asks_first(app):
    app.click(ids.IDC_START2)
    app.click(ids.IDC_START3)
    app.close_with_close_box()
    caption, text = app.message_box()
    assert caption == "Exit application"
    assert text == "2 timers are still running.\n\nAre you sure you want to quit?"
    app.answer_message_box(IDNO)
    assert app.is_running()
    assert app.text(ids.IDC_START2) == " Stop"      # declining leaves them running

    app.click(ids.IDC_START2)
    app.close_with_close_box()
    caption, text = app.message_box()
    assert text == "1 timer is still running.\n\nAre you sure you want to quit?"
    app.answer_message_box(IDYES)
    assert app.exit_code() == 0


@pytest.mark.parametrize("dpi, name", [(96, "main-dialog.png"),
                                       pytest.param(144, "main-dialog-150.png", marks=pytest.mark.dpi(144), id="150%")])
def test_screenshot_of_the_main_dialog(app, dpi, name):
    assert app.button_icon(ids.IDC_START3, size=32 * dpi // 96) == ids.IDI_READY   # painted
    rect = app.window_rect()
    path = app.screenshot(REPO / "docs" / name)
    width, height = struct.unpack(">II", path.read_bytes()[16:24])
    assert (width, height) == (rect.width, rect.height)


# ---- display scale

SCALES = [pytest.param(dpi, marks=pytest.mark.dpi(dpi), id=f"{dpi * 100 // 96}%") for dpi in (120, 144, 192)]
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
BS_TYPE, BS_GROUPBOX, BS_CHECKBOX, BS_AUTOCHECKBOX = 0x0F, 0x07, 0x02, 0x03
WM_DPICHANGED = 0x02E0
SS_TYPE, SS_ICON = 0x1F, 0x03


def scaled(value, dpi):
    """value * dpi / 96 rounded half up, as the program scales."""
    return (value * dpi + 48) // 96


def font_height(dpi):
    return -((8 * dpi + 36) // 72)   # the dialogs' 8 points


def base_units(machine, dpi):
    """The dialog base units of the dialogs' font at dpi, worked out as the
    dialog manager does: average width of the alphabet, line height."""
    width, _, line = machine.text_layout(ALPHABET, font_height(dpi), 10000)
    return (width // 26 + 1) // 2, line


def assert_template_size(window, size_in_units, dpi):
    """The dialog's client area is its template size in dialog units at the
    font's base units, stretched by what those whole-pixel units lack of the
    display scale: the size at 100 % times the scale."""
    x, y = base_units(window.machine, dpi)
    x96, y96 = base_units(window.machine, 96)
    width, height = size_in_units
    expected = ((((width * x + 2) // 4) * x96 * dpi + x * 48) // (x * 96),
                (((height * y + 4) // 8) * y96 * dpi + y * 48) // (y * 96))
    assert window.client_rect()[2:] == expected


def assert_texts_fit(window, dpi):
    problems = text_fit_problems(window, dpi)
    assert not problems, problems


def text_fit_problems(window, dpi):
    """No text of the window's buttons, boxes and labels is cut, and none
    breaks into more lines than at 100 %: each is laid out in the program's
    font at dpi in the room its control leaves for it, and compared with the
    same control at 96 DPI."""
    machine = window.machine
    checked = 0
    problems = []
    for child in window.children():
        kind = child.class_name
        text = re.sub(r"<[^>]*>", "", child.text)   # a link's markup
        if not child.visible or not text.strip() or kind not in ("Button", "Static", "SysLink"):
            continue
        control = Window(window.app, child.hwnd)
        info = control.info()
        room = info["clientwidth"]
        if kind == "Static" and child.style & SS_TYPE == SS_ICON:
            continue
        if kind == "Button":
            style = child.style & BS_TYPE
            if style in (BS_CHECKBOX, BS_AUTOCHECKBOX):
                room -= scaled(16, dpi)
            elif style == BS_GROUPBOX:
                room -= scaled(12, dpi)
            else:
                image = control.button_image(None)
                room -= scaled(6, dpi) + (scaled(32 if info["clientheight"] > scaled(30, dpi) else 16, dpi)
                                          if image else 0)
        one_line, wrapped, line = machine.text_layout(text, font_height(dpi), room)
        _, wrapped_96, line_96 = machine.text_layout(text, font_height(96), round(room * 96 / dpi))
        lines, lines_96 = wrapped // line, wrapped_96 // line_96
        if lines != lines_96:
            problems.append(f"{text!r} breaks into {lines} lines, {lines_96} at 100 %")
        if wrapped > info["clientheight"] + 1:
            problems.append(f"{text!r} is cut at the bottom")
        if lines == 1 and one_line > room:
            problems.append(f"{text!r} needs {one_line} px, has {room}")
        checked += 1
    assert checked >= 3
    return problems


@pytest.mark.parametrize("dpi", SCALES)
def test_every_window_follows_the_display_scale(app, dpi):
    small, large = scaled(16, dpi), scaled(32, dpi)
    assert_template_size(app, (170, 159), dpi)
    assert_texts_fit(app, dpi)
    # Button pictures drawn from the image made for the size: the pixels on
    # screen are those of that image, not of a stretched smaller one.
    for _, start, _, _, _ in PANELS:
        assert app.button_icon(start, size=large) == ids.IDI_READY
    assert app.button_icon(ids.IDC_MENU, candidates=(ids.IDI_MENU,), size=small) == ids.IDI_MENU
    app.click(ids.IDC_START2)
    assert app.button_icon(ids.IDC_START2, size=large) == ids.IDI_RUNNING
    # A change of scale (announced here without the rectangle the system
    # would suggest, which Wine never sends) loads every icon again for the
    # timer's state.
    app.send_message(WM_DPICHANGED, dpi << 16 | dpi)
    assert [app.button_icon(start, size=large) for _, start, _, _, _ in PANELS] == [
        ids.IDI_READY, ids.IDI_RUNNING, ids.IDI_READY]
    assert app.button_icon(ids.IDC_MENU, candidates=(ids.IDI_MENU,), size=small) == ids.IDI_MENU
    ctrl_click(app, ids.IDC_START2)
    assert app.button_icon(ids.IDC_START2, candidates=ICONS, size=large) == ids.IDI_PAUSED
    app.send_message(WM_DPICHANGED, dpi << 16 | dpi)
    assert app.button_icon(ids.IDC_START2, candidates=ICONS, size=large) == ids.IDI_PAUSED
    open_panel_menu(app, 2)   # "Resume Timer" and "Repeat When Up" with their pictures
    menu = Window(app, app.wait_for_menu())
    for icon in (ids.IDI_PLAY, ids.IDI_REPEAT):
        assert menu.button_icon(None, candidates=(icon,), size=small, part=small // 2) == icon
    app.escape_menu()
    app.click(ids.IDC_START2)

    # The title band, found from the scaled panel, opens the name editor over
    # it: one line of the font at this scale, in a frame that grew with it.
    editor = open_editor(app, 1)
    frame = scaled(2, dpi)
    _, _, line = app.machine.text_layout("Timer", font_height(dpi), 1000)
    group, button = app.window_rect(ids.IDC_GROUP1), app.window_rect(ids.IDC_START1)
    assert editor.window_rect() == (button.left - frame, group.top - frame,
                                    group.left + group.right - button.left + frame, group.top + line + frame)
    assert editor.client_rect(101)[:2] == (frame, frame)
    # The panel below is laid out anew at another scale: the editor commits.
    type_into(editor, "Scaled")
    editor.sync()
    editor.send_message(WM_DPICHANGED, dpi << 16 | dpi)
    app.wait_for(lambda: app.text(ids.IDC_GROUP1) == "Scaled", message="the name committed")
    assert not editor.exists()

    # Menu pictures at the scaled menu size (Wine cuts them to the rows and
    # lets the item's text cover their right part, as it does at 100 %).
    menu = Window(app, app.open_menu())
    assert menu.button_icon(None, candidates=(ids.IDI_SAVE,), size=small, part=small // 2) == ids.IDI_SAVE
    app.escape_menu()
    open_panel_menu(app, 3)
    menu = Window(app, app.wait_for_menu())
    assert menu.button_icon(None, candidates=(ids.IDI_RENAME,), size=small, part=small // 2) == ids.IDI_RENAME
    app.escape_menu()

    app.open_menu()
    app.pick_menu_entry(0)
    settings = app.dialog("Settings")
    assert_template_size(settings, (398, 346), dpi)   # at 200 % taller than this test's screen
    assert_texts_fit(settings, dpi)
    assert settings.button_icon(ids.IDC_SET_PLAY1, candidates=(ids.IDI_PLAY,), size=small) == ids.IDI_PLAY
    settings.click(IDCANCEL)
    app.wait_for(lambda: not settings.exists(), message="Settings to close")
    app.wait_for(app.is_foreground, message="the main dialog active again")

    about = open_about(app)
    assert_template_size(about, (214, 178), dpi)
    assert_texts_fit(about, dpi)
    assert about.button_icon(IDOK, candidates=(ids.IDI_CLOSE,), size=large) == ids.IDI_CLOSE
