"""Waiting for a condition: every wait polls until a timeout, none sleeps a
fixed time."""

import time


def poll(predicate, timeout, interval=0.05):
    """Calls predicate until it returns something true and returns that, or
    returns the last (false) value once timeout seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class WaitTimeout(AssertionError):
    pass


def wait_for(predicate, timeout=20, interval=0.05, message=None):
    """Like poll, but raises WaitTimeout (an AssertionError) on timeout."""
    value = poll(predicate, timeout, interval)
    if not value:
        what = message or getattr(predicate, "__name__", "condition")
        raise WaitTimeout(f"timed out after {timeout} s waiting for {what} (last value {value!r})")
    return value
