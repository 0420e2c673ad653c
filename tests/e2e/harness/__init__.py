"""End-to-end harness for Kelvaro under Wine: see tests/e2e/README.md."""

from . import ids, values
from .app import (App, Machine, MessageBox, Rect, Registry, Window, PROGRAM_DIR, PROGRAM_PATH, RECORDER_PATH,
                  SETTINGS_KEY, IDOK, IDCANCEL, IDYES, IDNO)
from .driver import DriverError
from .sounds import SoundCapture, Wave, program_waves
from .waiting import WaitTimeout, poll, wait_for

__all__ = ["App", "Machine", "MessageBox", "Rect", "Registry", "Window", "PROGRAM_DIR", "PROGRAM_PATH",
           "RECORDER_PATH", "SETTINGS_KEY", "IDOK", "IDCANCEL", "IDYES", "IDNO", "DriverError", "SoundCapture",
           "Wave", "program_waves", "WaitTimeout", "poll", "wait_for", "ids", "values"]
