"""The display straight through Xlib, with no tool started per look (the benchmark samples it
thousands of times): pixels of a small region, the top-level windows of a process, key presses
through XTest, the NumLock indicator and whether the pointer's cursor shows (XFixes)."""
import collections
import ctypes
import ctypes.util

_X11 = ctypes.CDLL(ctypes.util.find_library('X11') or 'libX11.so.6')
_XTST = ctypes.CDLL(ctypes.util.find_library('Xtst') or 'libXtst.so.6')
_XFIXES = ctypes.CDLL(ctypes.util.find_library('Xfixes') or 'libXfixes.so.3')

_Window = ctypes.c_ulong
_Atom = ctypes.c_ulong
_ALL_PLANES = ctypes.c_ulong(~0 & 0xffffffffffffffff)
_Z_PIXMAP = 2
_IS_VIEWABLE = 2
_XA_CARDINAL = 6


class _WindowAttributes(ctypes.Structure):
    _fields_ = [('x', ctypes.c_int), ('y', ctypes.c_int), ('width', ctypes.c_int), ('height', ctypes.c_int),
                ('border_width', ctypes.c_int), ('depth', ctypes.c_int), ('visual', ctypes.c_void_p),
                ('root', _Window), ('class_', ctypes.c_int), ('bit_gravity', ctypes.c_int),
                ('win_gravity', ctypes.c_int), ('backing_store', ctypes.c_int),
                ('backing_planes', ctypes.c_ulong), ('backing_pixel', ctypes.c_ulong),
                ('save_under', ctypes.c_int), ('colormap', ctypes.c_ulong), ('map_installed', ctypes.c_int),
                ('map_state', ctypes.c_int), ('all_event_masks', ctypes.c_long),
                ('your_event_mask', ctypes.c_long), ('do_not_propagate_mask', ctypes.c_long),
                ('override_redirect', ctypes.c_int), ('screen', ctypes.c_void_p)]


class _CursorImage(ctypes.Structure):
    _fields_ = [('x', ctypes.c_short), ('y', ctypes.c_short), ('width', ctypes.c_ushort),
                ('height', ctypes.c_ushort), ('xhot', ctypes.c_ushort), ('yhot', ctypes.c_ushort),
                ('cursor_serial', ctypes.c_ulong), ('pixels', ctypes.POINTER(ctypes.c_ulong)),
                ('atom', ctypes.c_ulong), ('name', ctypes.c_char_p)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)

_X11.XOpenDisplay.restype = ctypes.c_void_p
_X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_X11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_X11.XDefaultRootWindow.restype = _Window
_X11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_X11.XSetErrorHandler.restype = ctypes.c_void_p
_X11.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
_X11.XGetImage.restype = ctypes.c_void_p
_X11.XGetImage.argtypes = [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                           ctypes.c_ulong, ctypes.c_int]
_X11.XGetPixel.restype = ctypes.c_ulong
_X11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
_X11.XDestroyImage.argtypes = [ctypes.c_void_p]
_X11.XQueryTree.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_Window), ctypes.POINTER(_Window),
                            ctypes.POINTER(ctypes.POINTER(_Window)), ctypes.POINTER(ctypes.c_uint)]
_X11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_WindowAttributes)]
_X11.XInternAtom.restype = _Atom
_X11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_X11.XGetWindowProperty.argtypes = [ctypes.c_void_p, _Window, _Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                    _Atom, ctypes.POINTER(_Atom), ctypes.POINTER(ctypes.c_int),
                                    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                    ctypes.POINTER(ctypes.c_void_p)]
_X11.XFree.argtypes = [ctypes.c_void_p]
_X11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_X11.XFlush.argtypes = [ctypes.c_void_p]
_X11.XKeysymToKeycode.restype = ctypes.c_ubyte
_X11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_X11.XkbGetNamedIndicator.argtypes = [ctypes.c_void_p, _Atom, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p,
                                       ctypes.c_void_p]
_XTST.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
_XFIXES.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
_XFIXES.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]


@_ERROR_HANDLER
def _ignore_error(display, event):
    # A window may go away between listing it and asking about it; that is no reason to stop.
    return 0


_X11.XSetErrorHandler(_ignore_error)

KEYSYM_ESCAPE = 0xff1b


TopWindow = collections.namedtuple('TopWindow', 'id width height viewable')


class Display:
    def __init__(self, name):
        self._d = _X11.XOpenDisplay(name.encode())
        if not self._d:
            raise RuntimeError('cannot open display %s' % name)
        self._root = _X11.XDefaultRootWindow(self._d)
        self._pid_atom = _X11.XInternAtom(self._d, b'_NET_WM_PID', 0)

    def close(self):
        if self._d:
            _X11.XCloseDisplay(self._d)
            self._d = None

    def colour(self, region):
        """Mean (r, g, b) in 0..1 of a small region (x, y, w, h) of the screen, or None."""
        x, y, w, h = region
        image = _X11.XGetImage(self._d, self._root, x, y, w, h, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            return None
        try:
            total = [0, 0, 0]
            for j in range(h):
                for i in range(w):
                    p = _X11.XGetPixel(image, i, j)
                    total[0] += (p >> 16) & 0xff
                    total[1] += (p >> 8) & 0xff
                    total[2] += p & 0xff
        finally:
            _X11.XDestroyImage(image)
        return tuple(t / (255.0 * w * h) for t in total)

    def _pid_of(self, window):
        actual_type, actual_format = _Atom(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = _X11.XGetWindowProperty(self._d, window, self._pid_atom, 0, 1, 0, _XA_CARDINAL,
                                         ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(count),
                                         ctypes.byref(after), ctypes.byref(data))
        try:
            if status != 0 or not data or count.value < 1 or actual_format.value != 32:
                return None
            return ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0]
        finally:
            if data:
                _X11.XFree(data)

    def windows_of(self, pid):
        """The top-level windows (children of the root) that the unix process pid owns."""
        root, parent = _Window(), _Window()
        children, count = ctypes.POINTER(_Window)(), ctypes.c_uint()
        if not _X11.XQueryTree(self._d, self._root, ctypes.byref(root), ctypes.byref(parent),
                               ctypes.byref(children), ctypes.byref(count)):
            return []
        ids = [children[i] for i in range(count.value)]
        if children:
            _X11.XFree(children)
        found = []
        for window in ids:
            if self._pid_of(window) != pid:
                continue
            attributes = _WindowAttributes()
            if _X11.XGetWindowAttributes(self._d, window, ctypes.byref(attributes)):
                found.append(TopWindow(window, attributes.width, attributes.height,
                                       attributes.map_state == _IS_VIEWABLE))
        return found

    def press_key(self, keysym=KEYSYM_ESCAPE):
        """Presses and releases a key through XTest, as xdotool does, with no process start in between."""
        code = _X11.XKeysymToKeycode(self._d, keysym)
        _XTST.XTestFakeKeyEvent(self._d, code, 1, 0)
        _X11.XFlush(self._d)

    def release_key(self, keysym=KEYSYM_ESCAPE):
        code = _X11.XKeysymToKeycode(self._d, keysym)
        _XTST.XTestFakeKeyEvent(self._d, code, 0, 0)
        _X11.XSync(self._d, 0)

    def numlock_is_on(self):
        on = ctypes.c_int(0)
        atom = _X11.XInternAtom(self._d, b'Num Lock', 0)
        if not _X11.XkbGetNamedIndicator(self._d, atom, None, ctypes.byref(on), None, None):
            raise RuntimeError('the display has no Num Lock indicator')
        return bool(on.value)

    def cursor_visible(self):
        """Whether the pointer's cursor image has any opaque pixel (as x11grab draws it)."""
        image = _XFIXES.XFixesGetCursorImage(self._d)
        if not image:
            raise RuntimeError('XFixesGetCursorImage failed')
        c = image.contents
        try:
            return any((c.pixels[i] >> 24) & 0xFF for i in range(c.width * c.height))
        finally:
            _X11.XFree(image)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
