#!/usr/bin/env python3
"""Saves the largest window shown on an X display as a PNG.

Usage: grab-window.py OUTPUT.png [--wait SECONDS]

Meant for a private X server (xvfb-run) without a window manager, where
every top-level window is a child of the root window. Waits until a
window of at least 100 x 100 pixels is mapped, then a moment more so that
it has painted. Needs only libX11, which Qt's X11 support pulls in.
"""
import ctypes
import ctypes.util
import struct
import sys
import time
import zlib

IS_VIEWABLE = 2
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFFFFFFFFFF


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):  # the leading fields, as far as they are read here
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


def load_xlib():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                ctypes.POINTER(ctypes.c_ulong),
                                ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                ctypes.POINTER(ctypes.c_uint)]
    xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                          ctypes.POINTER(XWindowAttributes)]
    xlib.XGetImage.restype = ctypes.POINTER(XImage)
    xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                               ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    xlib.XFree.argtypes = [ctypes.c_void_p]
    return xlib


def largest_window(xlib, display):
    root = xlib.XDefaultRootWindow(display)
    root_ret, parent_ret = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not xlib.XQueryTree(display, root, ctypes.byref(root_ret), ctypes.byref(parent_ret),
                           ctypes.byref(children), ctypes.byref(count)):
        return None
    best = None
    for i in range(count.value):
        attributes = XWindowAttributes()
        xlib.XGetWindowAttributes(display, children[i], ctypes.byref(attributes))
        if attributes.map_state != IS_VIEWABLE or attributes.width < 100 or attributes.height < 100:
            continue
        area = attributes.width * attributes.height
        if best is None or area > best[0]:
            best = (area, children[i], attributes.width, attributes.height)
    if children:
        xlib.XFree(children)
    return best


def png(width, height, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def grab(xlib, display, window, width, height):
    image = xlib.XGetImage(display, window, 0, 0, width, height, ALL_PLANES, Z_PIXMAP)
    if not image:
        raise SystemExit("grab-window: XGetImage failed")
    header = image.contents
    if header.bits_per_pixel != 32 or header.byte_order != 0:
        raise SystemExit("grab-window: only 32-bit little-endian displays are supported")
    data = ctypes.string_at(header.data, header.bytes_per_line * height)
    rows = []
    for y in range(height):
        line = data[y * header.bytes_per_line:y * header.bytes_per_line + 4 * width]
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(bytes(rgb))
    xlib.XFree(header.data)
    xlib.XFree(image)
    return png(width, height, rows)


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--wait"):
        raise SystemExit(__doc__.strip().splitlines()[2])
    deadline = time.monotonic() + (float(argv[3]) if len(argv) == 4 else 30)
    xlib = load_xlib()
    display = xlib.XOpenDisplay(None)
    if not display:
        raise SystemExit("grab-window: cannot open the X display")
    window = None
    while window is None and time.monotonic() < deadline:
        window = largest_window(xlib, display)
        if window is None:
            time.sleep(0.2)
    if window is None:
        raise SystemExit("grab-window: no window appeared")
    time.sleep(1.5)  # let it finish painting
    _, handle, width, height = largest_window(xlib, display) or window
    with open(argv[1], "wb") as out:
        out.write(grab(xlib, display, handle, width, height))


if __name__ == "__main__":
    main(sys.argv)
