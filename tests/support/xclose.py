# Asks a window to close as a window manager's close button does: a WM_DELETE_WINDOW message.
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class Message(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_char * 96)]
display = x.XOpenDisplay(None)
window = int(sys.argv[1])
event = Message(type=33, window=window, message_type=x.XInternAtom(display, b"WM_PROTOCOLS", 0), format=32)
event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush.argtypes = [ctypes.c_void_p]
x.XFlush(display)
