"""The Python end of driver.exe: one request line out, one reply line back.

Texts travel hex-encoded as bytes of the ANSI code page ("-" is the empty
text); numbers in decimal. A reply is "ok fields..." or "err message"."""

import queue
import subprocess
import threading
import time


# The driver.exe this harness speaks to (its "hello" reports its version).
DRIVER_VERSION = 5


class DriverError(RuntimeError):
    pass


def hex_text(data):
    """Bytes (or str, taken as latin-1 bytes) as a protocol text token."""
    if isinstance(data, str):
        data = data.encode("latin-1")
    return data.hex() if data else "-"


def unhex(token):
    return b"" if token == "-" else bytes.fromhex(token)


def fields(tokens):
    """key=value tokens as a dict of strings."""
    return dict(token.split("=", 1) for token in tokens)


class WindowRecord:
    """One window as the driver lists it."""

    __slots__ = ("hwnd", "class_name", "text", "owner", "parent", "visible", "enabled", "thread", "style",
                 "exstyle", "id", "pid")

    def __init__(self, record, decode):
        parts = record.split(",")
        self.hwnd = int(parts[0])
        self.class_name = decode(unhex(parts[1]))
        self.text = decode(unhex(parts[2]))
        self.owner = int(parts[3])
        self.parent = int(parts[4])
        self.visible = parts[5] == "1"
        self.enabled = parts[6] == "1"
        self.thread = int(parts[7])
        self.style = int(parts[8])
        self.exstyle = int(parts[9])
        self.id = int(parts[10])
        self.pid = int(parts[11]) if len(parts) > 11 else 0

    def __repr__(self):
        return (f"<window {self.hwnd} class={self.class_name!r} text={self.text!r} id={self.id} "
                f"owner={self.owner} visible={self.visible}>")


class Driver:
    """A running driver.exe. Every request waits for its reply up to
    `timeout` seconds; the driver gives up on a hung window after 15 s."""

    def __init__(self, args, env, log_path, stderr_path, timeout=30):
        self.timeout = timeout
        self._log = open(log_path, "a", encoding="utf-8")
        self._log_lock = threading.Lock()
        self._stderr = open(stderr_path, "ab")
        self._start = time.monotonic()
        self.process = subprocess.Popen(args, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=self._stderr, start_new_session=True)
        self._replies = queue.Queue()
        self._reader = threading.Thread(target=self._read_replies, daemon=True)
        self._reader.start()

    def _read_replies(self):
        # Wine programs started from the driver may inherit its output;
        # anything that is not a reply is only logged.
        for raw in self.process.stdout:
            line = raw.decode("ascii", "replace").rstrip("\r\n")
            if line == "ok" or line.startswith(("ok ", "err ")):
                self._replies.put(line)
            else:
                self._write_log("?", line)
        self._replies.put(None)

    def request(self, *words, timeout=None):
        """Sends one request and returns the reply's tokens after "ok";
        raises DriverError on "err" or when the driver is gone."""
        line = " ".join(str(word) for word in words)
        self._write_log(">", line)
        try:
            self.process.stdin.write(line.encode("ascii") + b"\n")
            self.process.stdin.flush()
        except (BrokenPipeError, OSError) as error:
            raise DriverError(f"driver is gone ({error}) while sending: {line}") from None
        try:
            reply = self._replies.get(timeout=timeout or self.timeout)
        except queue.Empty:
            raise DriverError(f"no reply within {timeout or self.timeout} s to: {line}") from None
        if reply is None:
            self._replies.put(None)
            raise DriverError(f"driver ended while answering: {line}")
        self._write_log("<", reply if len(reply) < 2000 else reply[:2000] + "...")
        if reply == "ok" or reply.startswith("ok "):
            return reply.split()[1:]
        raise DriverError(f"{line.split()[0]}: {reply[4:] if reply.startswith('err ') else reply}")

    def _write_log(self, direction, line):
        with self._log_lock:
            if not self._log.closed:
                self._log.write(f"{time.monotonic() - self._start:9.3f} {direction} {line}\n")
                self._log.flush()

    def close(self):
        """Asks the driver to quit, then makes sure it has. Its output pipe
        stays open while programs that inherited it run: release() it once
        the wineserver has ended them."""
        if self.process.poll() is None:
            try:
                self.request("quit", timeout=5)
            except DriverError:
                pass
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        try:
            self.process.stdin.close()
        except OSError:
            pass

    def release(self):
        """Closes the output pipe and the logs once every Wine process of the
        prefix has ended."""
        self._reader.join(timeout=10)
        if not self._reader.is_alive():
            self.process.stdout.close()
        self._log.close()
        self._stderr.close()
