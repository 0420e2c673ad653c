"""The timers outside the window: progress on the taskbar button and the
notification-area icon, seen from the shell's side (harness/shell.py)."""

import pytest
from harness import SETTINGS_KEY, ids
from harness.shell import (NIF_INFO, NIIF_NOSOUND, NIM_ADD, NIM_DELETE, NIM_MODIFY, NIM_SETVERSION, NIN_SELECT,
                           TBPF_ERROR, TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_PAUSED, WM_CONTEXTMENU)


def ops(shell, app):
    return [call.op for call in shell.tray_calls(app.hwnd)]


def test_defaults_call_neither_the_tray_nor_the_taskbar_before_the_button(shell, app):
    app.click(ids.IDC_START1)
    app.wait_for(lambda: app.text(ids.IDC_EDIT1) != "1m30s", message="the countdown")
    app.sync()
    assert shell.tray_calls(app.hwnd) == [] and shell.taskbar_calls() == []

    shell.button_created(app)
    app.wait_for(lambda: shell.progress()[0] == TBPF_NORMAL, message="running progress")
    assert shell.taskbar_calls()[0] == ("HrInit",)
    with app.held_keys("control"):
        app.click(ids.IDC_START1)
    app.wait_for(lambda: shell.progress()[0] == TBPF_PAUSED, message="paused progress")
    app.click(ids.IDC_START1)   # stops
    app.wait_for(lambda: shell.progress()[0] == TBPF_NOPROGRESS, message="no progress")
    count = len(shell.taskbar_calls())
    app.sync()
    assert len(shell.taskbar_calls()) == count   # nothing while nothing changes


@pytest.mark.registry({SETTINGS_KEY: {"ShowInNotificationArea": 1, "UseAltIconOnTimerUp": 1},
                       SETTINGS_KEY + r"\Timer02": {"Value": 2000, "Unit": 1, "Label": "E&ggs"}})
def test_icon_tip_notice_clicks_and_shell_restart(shell, app):
    app.wait_for(lambda: NIM_SETVERSION in ops(shell, app), message="the icon added")
    first = shell.tray_calls(app.hwnd)
    assert [first[0].op, first[1].op, first[1].version] == [NIM_ADD, NIM_SETVERSION, 4]
    assert first[0].tip == "Kelvaro" and first[0].icon_size == (16, 16)

    # Two running, one paused: one line each in panel order.
    shell.button_created(app)
    app.click(ids.IDC_START1)
    app.click(ids.IDC_START3)
    with app.held_keys("control"):
        app.click(ids.IDC_START3)
    app.wait_for(lambda: "(paused)" in shell.tray_calls(app.hwnd)[-1].tip, message="the paused line")
    lines = shell.tray_calls(app.hwnd)[-1].tip.split("\n")
    assert lines[0].startswith("Timer #1: ") and lines[1] == "Timer #3: 1h00m00s (paused)"

    # In the background a time-up brings a notice without sound; the mark shows as error.
    app.click(ids.IDC_START1)
    shell.machine.launch(exe=r"C:\tools\recorder.exe", main_control=None)
    app.wait_for(lambda: not app.is_foreground(), message="another window in front")
    app.click(ids.IDC_START2)
    notice = app.wait_for(lambda: [c for c in shell.tray_calls(app.hwnd) if c.flags & NIF_INFO], message="notice")
    assert (notice[0].title, notice[0].info, notice[0].info_flags & NIIF_NOSOUND) == ("Eggs", "Time is up",
                                                                                   NIIF_NOSOUND)
    app.wait_for(lambda: shell.progress() == (TBPF_ERROR, (1000, 1000)), message="the marked progress")

    # Minimise hides the window; a click on the icon brings it back.
    app.post_message(0x0112, 0xF020)   # SC_MINIMIZE
    app.wait_for(lambda: not app.is_visible(), message="off the taskbar")
    shell.click_icon(app, NIN_SELECT)
    app.wait_for(lambda: app.is_visible() and app.is_foreground(), message="restored")
    shell.click_icon(app, WM_CONTEXTMENU, 300, 200)
    app.wait_for_menu()
    app.escape_menu()

    # The shell restarted: added again. Exit: deleted.
    added = ops(shell, app).count(NIM_ADD)
    shell.shell_restarted(app)
    app.wait_for(lambda: ops(shell, app).count(NIM_ADD) == added + 1, message="the icon added again")
    app.command(ids.IDC_START1)
    app.send_message(0x0111, ids.ID_EXIT)
    app.wait_for(lambda: ops(shell, app)[-1] == NIM_DELETE, message="the icon deleted")
    assert NIM_MODIFY in ops(shell, app)
