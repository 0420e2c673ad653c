"""The About dialog: the version line, the ways it closes, its links opened
through the shell (and the message when one cannot be), the icons it gives
back, and its picture (taken as it first opens)."""

from pathlib import Path

from harness import IDOK, RECORDER_PATH, ids

REPO = Path(__file__).resolve().parents[2]
SCREENSHOT = REPO / "docs" / "about-dialog.png"

ABOUT_ENTRY = 6          # "&About Kelvaro..." in the main menu, separators not counted
CAPTION = "About Kelvaro"
LINKS = {
    ids.IDC_ABOUT_LINK_MAKER: "https://morvane.example/kelvaro/",
    ids.IDC_ABOUT_LINK_CONTRIBUTOR: "https://friends.morvane.example/",
    ids.IDC_ABOUT_LINK_MUSIC: "https://music.morvane.example/library/",
}
HTTPS_COMMAND = r"HKCR\https\shell\open\command"
STM_SETICON = 0x0170
STM_GETICON = 0x0171
ICON_STATIC = -1         # the dialog's icons are unnumbered statics; the first is the program's


def open_about(app):
    app.open_menu()
    app.pick_menu_entry(ABOUT_ENTRY)
    return app.dialog(CAPTION)


def wait_closed(app, dialog):
    app.wait_for(lambda: not dialog.exists(), message="the About dialog to close")


def click_link(dialog, link):
    """A click on the start of the link's text."""
    dialog.click_at(4, 4, id=link)


def test_version_line_and_every_way_to_close(app):
    closers = [
        ("Enter on Close", lambda dialog: dialog.press_key("return")),
        ("Escape", lambda dialog: dialog.press_key("escape")),
        ("the Close button", lambda dialog: dialog.post_click(IDOK)),
        ("the close box", lambda dialog: dialog.close_with_close_box()),
        ("Enter on a link", lambda dialog: dialog.press_key("return", on=ids.IDC_ABOUT_LINK_MUSIC)),
    ]
    for name, close in closers:
        dialog = open_about(app)
        assert dialog.info()["owner"] == app.hwnd
        assert dialog.text(ids.IDC_ABOUT_VERSION) == "Kelvaro, Version 3.1.0.0", name
        assert dialog.focus_id() == IDOK, name
        close(dialog)
        wait_closed(app, dialog)
    # Enter on a link closed the dialog instead of opening the link.
    assert app.recorder.launches() == []
    assert app.exists() and not app.dialogs()


def test_links_open_through_the_shell_and_a_refused_one_is_reported(app):
    app.registry.set(HTTPS_COMMAND, "", f'"{RECORDER_PATH}" "%1"')
    dialog = open_about(app)
    for count, (link, address) in enumerate(LINKS.items(), start=1):
        assert dialog.text(link) == f'<a href="{address}">{address}</a>'
        click_link(dialog, link)
        launch = app.recorder.wait_for_launches(count)[-1]
        assert launch.args == [address]
        assert launch.cwd.rstrip("\\") == "C:"

    # The shell cannot start what the address is associated with.
    app.registry.set(HTTPS_COMMAND, "", r'"C:\nowhere\missing.exe" "%1"')
    click_link(dialog, ids.IDC_ABOUT_LINK_CONTRIBUTOR)
    box = app.message_box()
    assert box.text == LINKS[ids.IDC_ABOUT_LINK_CONTRIBUTOR] + "\n\nUnable to open this website address."
    app.answer_message_box(IDOK, box)
    assert dialog.exists() and dialog.is_visible()
    assert len(app.recorder.launches()) == len(LINKS)
    dialog.press_key("escape")
    wait_closed(app, dialog)


def test_closing_gives_back_the_close_buttons_icon(app):
    """Wine counts no GDI or USER objects per process, so the icon handle is
    checked instead: the dialog's own icon static accepts a live icon of the
    process (STM_SETICON validates it) and refuses a destroyed one."""
    first = open_about(app)
    SCREENSHOT.parent.mkdir(exist_ok=True)
    first.screenshot(SCREENSHOT)
    close_icon = first.button_image(IDOK)
    assert close_icon != 0
    shown = first.send_message(STM_GETICON, id=ICON_STATIC)
    assert first.send_message(STM_SETICON, close_icon, id=ICON_STATIC) == shown
    assert first.send_message(STM_GETICON, id=ICON_STATIC) == close_icon
    first.send_message(STM_SETICON, shown, id=ICON_STATIC)
    first.press_key("escape")
    wait_closed(app, first)

    second = open_about(app)
    shown = second.send_message(STM_GETICON, id=ICON_STATIC)
    assert second.send_message(STM_SETICON, close_icon, id=ICON_STATIC) == 0
    assert second.send_message(STM_GETICON, id=ICON_STATIC) == shown
    assert second.button_image(IDOK) not in (0, close_icon)
    assert second.text(ids.IDC_ABOUT_VERSION) == "Kelvaro, Version 3.1.0.0"

