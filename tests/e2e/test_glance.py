"""The timers outside the window: progress on the taskbar button and the
notification-area icon, seen from the shell's side (harness/shell.py)."""

import pytest
from harness import IDCANCEL, IDYES, SETTINGS_KEY, ids
from harness.app import PROGRAM_PATH, TOOLS
from harness.shell import (NIF_INFO, NIIF_NOSOUND, NIM_ADD, NIM_DELETE, NIM_SETVERSION, NIN_SELECT,
                           TBPF_ERROR, TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_PAUSED, WM_CONTEXTMENU,
                           WM_TRAY_CALLBACK)


WM_COMMAND, WM_SYSCOMMAND, SC_MINIMIZE = 0x0111, 0x0112, 0xF020
TESTBED_LOG = 1002   # a control of the harness's testbed dialog


def ops(shell, app):
    return [call.op for call in shell.tray_calls(app.hwnd)]


def additions(shell, app):
    """NIM_ADD with its NIM_SETVERSION right after it (the icon's ticks may follow)."""
    done = ops(shell, app)
    return sum(1 for pair in zip(done, done[1:]) if pair == (NIM_ADD, NIM_SETVERSION))


def notices(shell, app):
    return [call for call in shell.tray_calls(app.hwnd) if call.flags & NIF_INFO]


@pytest.mark.parametrize("small_icon", [16, pytest.param(24, marks=pytest.mark.dpi(144))])
def test_defaults_call_neither_the_tray_nor_the_taskbar_before_the_button(shell, app, small_icon):
    app.click(ids.IDC_START1)
    app.wait_for(lambda: app.text(ids.IDC_VALUE1) != "1m30s", message="the countdown")
    app.sync()
    assert shell.tray_calls() == [] and shell.taskbar_calls() == []

    shell.button_created(app)
    app.wait_for(lambda: shell.progress()[0] == TBPF_NORMAL and shell.progress()[1], message="running progress")
    assert shell.taskbar_calls()[0] == ("HrInit",)
    with app.held_keys("control"):
        app.click(ids.IDC_START1)
    app.wait_for(lambda: shell.progress()[0] == TBPF_PAUSED and shell.progress()[1], message="paused progress")
    count = len(shell.taskbar_calls())
    end = app.machine.tick_count() + 1000
    app.wait_for(lambda: app.machine.tick_count() >= end, message="five ticks to pass")
    app.sync()
    assert len(shell.taskbar_calls()) == count   # nothing while nothing changes
    app.click(ids.IDC_START1)   # stops
    app.wait_for(lambda: shell.progress()[0] == TBPF_NOPROGRESS, message="no progress")

    # The option turned on in Settings adds the icon at once, at the small-icon
    # size of the display scale; Cancel puts the option back and deletes it.
    app.open_menu()
    app.pick_menu_entry(3)
    dialog = app.dialog("Settings")
    dialog.click(ids.IDC_SET_NOTIFICATION_AREA)
    app.wait_for(lambda: ops(shell, app)[:2] == [NIM_ADD, NIM_SETVERSION], message="the icon added")
    assert shell.tray_calls(app.hwnd)[0].icon_size == (small_icon, small_icon)
    dialog.click(IDCANCEL)
    app.wait_for(lambda: ops(shell, app)[2:] == [NIM_DELETE], message="the icon deleted")


@pytest.mark.registry({SETTINGS_KEY: {"ShowInNotificationArea": 1, "UseAltIconOnTimerUp": 1},
                       SETTINGS_KEY + r"\Timer02": {"Value": 2000, "Unit": 1, "Label": "E&ggs"}})
def test_icon_tip_notice_clicks_and_shell_restart(shell, app):
    app.wait_for(lambda: NIM_SETVERSION in ops(shell, app), message="the icon added")
    first = shell.tray_calls(app.hwnd)
    assert [first[0].op, first[1].op, first[1].version] == [NIM_ADD, NIM_SETVERSION, 4]
    assert first[0].tip == "Kelvaro" and first[0].icon_size == (16, 16)
    assert first[0].callback == WM_TRAY_CALLBACK

    # Two running, one paused: one line each in panel order.
    shell.button_created(app)
    app.click(ids.IDC_START1)
    app.click(ids.IDC_START3)
    with app.held_keys("control"):
        app.click(ids.IDC_START3)
    def paused_tip():
        tip = shell.tray_calls(app.hwnd)[-1].tip
        return "(paused)" in tip and tip
    lines = app.wait_for(paused_tip, message="the paused line").split("\n")
    assert lines[0].startswith("Timer #1: ") and lines[1] == "Timer #3: 1h00m00s (paused)"

    # A time-up in front of the user: the mark shows as error, no notice.
    app.wait_for(app.is_foreground, message="Kelvaro in front")
    app.click(ids.IDC_START2)
    app.wait_for(lambda: shell.progress() == (TBPF_ERROR, (1000, 1000)), message="the marked progress")
    app.sync()
    assert notices(shell, app) == []

    # In the background it brings a notice without sound. The testbed takes
    # the front first and Kelvaro's two seconds of ticks handle the focus
    # it lost: Wine would otherwise cancel the menu below when it comes late.
    other = shell.machine.launch(exe=shell.machine.windows_path(TOOLS / "testbed.exe"), args=f'"{PROGRAM_PATH}"',
                                 main_control=TESTBED_LOG)
    other.set_foreground()
    app.wait_for(lambda: not app.is_foreground(), message="another window in front")
    other.sync()
    app.click(ids.IDC_START2)
    notice = app.wait_for(lambda: notices(shell, app), message="the notice")
    assert (notice[0].title, notice[0].info, notice[0].info_flags & NIIF_NOSOUND) == ("Eggs", "Time is up",
                                                                                   NIIF_NOSOUND)
    app.wait_for(lambda: shell.progress() == (TBPF_ERROR, (1000, 1000)), message="the marked progress again")
    assert shell.progress_states()[-2:] == [TBPF_NORMAL, TBPF_ERROR]   # the mark went with the restart

    # A right click from behind takes the foreground, then opens the main menu.
    shell.click_icon(app, WM_CONTEXTMENU, 300, 200)
    app.wait_for_menu()
    assert app.is_foreground()
    app.escape_menu()

    # Minimise hides the window; a click on the icon brings it back.
    app.post_message(WM_SYSCOMMAND, SC_MINIMIZE)
    app.wait_for(lambda: not app.is_visible(), message="off the taskbar")
    shell.click_icon(app, NIN_SELECT)
    app.wait_for(lambda: app.is_visible() and app.is_foreground(), message="restored")

    # The shell restarted: added again. Exit: deleted.
    added = additions(shell, app)
    shell.shell_restarted(app)
    app.wait_for(lambda: additions(shell, app) == added + 1, message="the icon added again")
    app.post_message(WM_COMMAND, ids.ID_EXIT)
    app.answer_message_box(IDYES)   # two timers still count
    assert app.exit_code() == 0
    assert ops(shell, app)[-1] == NIM_DELETE
