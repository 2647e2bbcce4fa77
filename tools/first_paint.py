#!/usr/bin/env python3
"""Start-up time seen from outside: starts a command, then polls the X display until a viewable
top-level window of the new process (_NET_WM_PID) shows a pixel of the given colour, and prints
the seconds from the start. Stops the process afterwards.

    first_paint.py COLOUR COMMAND...      COLOUR as 0xRRGGBB; DISPLAY from the environment
"""
import ctypes
import ctypes.util
import subprocess
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
Window = ctypes.c_ulong


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", Window), ("c_class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):  # the leading fields only
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                           ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, ctypes.c_ulong, ctypes.c_long,
                                   ctypes.c_long, ctypes.c_int, ctypes.c_ulong,
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong))]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda display, event: 0)  # a window may vanish between calls
x11.XSetErrorHandler(ignore_errors)

ZPIXMAP = 2
ALL_PLANES = ctypes.c_ulong(-1).value


def window_pid(display, window, pid_atom):
    kind, fmt = ctypes.c_ulong(), ctypes.c_int()
    count, after = ctypes.c_ulong(), ctypes.c_ulong()
    data = ctypes.POINTER(ctypes.c_ulong)()
    if x11.XGetWindowProperty(display, window, pid_atom, 0, 1, 0, 6, ctypes.byref(kind),
                              ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                              ctypes.byref(data)) != 0 or not data:
        return None
    pid = data[0] if count.value else None
    x11.XFree(data)
    return pid


def shows_colour(display, window, colour):
    attributes = XWindowAttributes()
    if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
        return False
    if attributes.map_state != 2 or attributes.width <= 0:  # IsViewable
        return False
    image = x11.XGetImage(display, window, 0, 0, attributes.width, attributes.height, ALL_PLANES,
                          ZPIXMAP)
    if not image:
        return False
    found = False
    if image.contents.bits_per_pixel == 32:
        stride = image.contents.bytes_per_line
        data = image.contents.data
        for y in range(attributes.height):
            row = ctypes.string_at(ctypes.addressof(data.contents) + y * stride, attributes.width * 4)
            for x in range(0, len(row), 4):
                if (row[x] | row[x + 1] << 8 | row[x + 2] << 16) == colour:
                    found = True
                    break
            if found:
                break
    x11.XFree(image.contents.data)
    x11.XFree(image)
    return found


def main():
    colour = int(sys.argv[1], 0)
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("first_paint: no display")
    root = x11.XDefaultRootWindow(display)
    pid_atom = x11.XInternAtom(display, b"_NET_WM_PID", 0)
    start = time.monotonic()
    process = subprocess.Popen(sys.argv[2:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while time.monotonic() - start < 30:
            parent, top = Window(), Window()
            children = ctypes.POINTER(Window)()
            count = ctypes.c_uint()
            if x11.XQueryTree(display, root, ctypes.byref(top), ctypes.byref(parent),
                              ctypes.byref(children), ctypes.byref(count)):
                windows = [children[i] for i in range(count.value)]
                if children:
                    x11.XFree(children)
                for window in windows:
                    if window_pid(display, window, pid_atom) == process.pid and \
                            shows_colour(display, window, colour):
                        print(f"{time.monotonic() - start:.3f}")
                        return
            time.sleep(0.002)
        sys.exit("first_paint: no painted window within 30 s")
    finally:
        process.terminate()
        process.wait()


if __name__ == "__main__":
    main()
