"""Registry values of any type, with their raw bytes.

A value is written either through the A function (mode "a": texts are
converted from the ANSI code page, exactly as the program's own writes are)
or through the W function (wide=True: the bytes are stored as given, which is
how to plant a value without its terminator, with an odd length, or with
UTF-16 text the A functions could not produce)."""

import struct

REG_NONE = 0
REG_SZ = 1
REG_EXPAND_SZ = 2
REG_BINARY = 3
REG_DWORD = 4
REG_DWORD_BIG_ENDIAN = 5
REG_LINK = 6
REG_MULTI_SZ = 7
REG_QWORD = 11

TYPE_NAMES = {REG_NONE: "REG_NONE", REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ", REG_BINARY: "REG_BINARY",
              REG_DWORD: "REG_DWORD", REG_DWORD_BIG_ENDIAN: "REG_DWORD_BIG_ENDIAN", REG_LINK: "REG_LINK",
              REG_MULTI_SZ: "REG_MULTI_SZ", REG_QWORD: "REG_QWORD"}

STRING_TYPES = (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)


class RegValue:
    """type and payload. The payload is bytes (used as they are), a str
    (string types: encoded and terminated), a list of str (REG_MULTI_SZ) or
    an int (REG_DWORD, REG_QWORD). Values read back carry raw bytes and the
    code page to decode them with."""

    def __init__(self, type, payload, wide=False, encoding=None):
        self.type = type
        self.payload = payload
        self.wide = wide
        self.encoding = encoding

    def to_bytes(self, encoding):
        payload = self.payload
        if isinstance(payload, bytes):
            return payload
        if isinstance(payload, int):
            return struct.pack("<Q" if self.type == REG_QWORD else "<I", payload & 0xFFFFFFFFFFFFFFFF)
        codec = "utf-16-le" if self.wide else encoding
        terminator = "\0".encode(codec)
        if isinstance(payload, str):
            return payload.encode(codec, "surrogateescape" if not self.wide else "strict") + terminator
        return b"".join(item.encode(codec) + terminator for item in payload) + terminator

    @property
    def data(self):
        """The raw bytes of a value read back."""
        return self.payload if isinstance(self.payload, bytes) else self.to_bytes(self.encoding or "cp1252")

    @property
    def number(self):
        return int.from_bytes(self.data, "little")

    @property
    def text(self):
        """A string value's text up to its first terminator."""
        return self._decode(self.data).split("\0", 1)[0]

    @property
    def strings(self):
        """A REG_MULTI_SZ value's strings (up to the empty one that ends it)."""
        result = []
        for item in self._decode(self.data).split("\0"):
            if not item:
                break
            result.append(item)
        return result

    def _decode(self, data):
        if self.wide:
            return data.decode("utf-16-le", "surrogatepass")
        return data.decode(self.encoding or "cp1252", "surrogateescape")

    def __eq__(self, other):
        return isinstance(other, RegValue) and self.type == other.type and self.data == other.data

    def __repr__(self):
        return f"RegValue({TYPE_NAMES.get(self.type, self.type)}, {self.data!r}{', wide' if self.wide else ''})"


def sz(text, wide=False):
    return RegValue(REG_SZ, text, wide)


def expand_sz(text, wide=False):
    return RegValue(REG_EXPAND_SZ, text, wide)


def multi_sz(strings, wide=False):
    return RegValue(REG_MULTI_SZ, list(strings), wide)


def dword(number):
    return RegValue(REG_DWORD, number)


def qword(number):
    return RegValue(REG_QWORD, number)


def binary(data):
    return RegValue(REG_BINARY, bytes(data))


def none(data=b""):
    return RegValue(REG_NONE, bytes(data))


def raw(type, data, wide=False):
    """Any type with exactly these bytes (wide=True: stored untouched)."""
    return RegValue(type, bytes(data), wide)


def as_value(value):
    """Plain Python values as registry values: str is REG_SZ, int REG_DWORD,
    bytes REG_BINARY, a list of str REG_MULTI_SZ."""
    if isinstance(value, RegValue):
        return value
    if isinstance(value, bool):
        return dword(int(value))
    if isinstance(value, int):
        return dword(value)
    if isinstance(value, str):
        return sz(value)
    if isinstance(value, (bytes, bytearray)):
        return binary(value)
    if isinstance(value, (list, tuple)):
        return multi_sz(value)
    raise TypeError(f"no registry type for {value!r}")
