"""Display side of the end-to-end harness: X windows, screenshots and input (see kvharness)."""
import collections
import re

import kvx11
from kvwine import run_tool, wait_until, wine_env


# ---- X windows -------------------------------------------------------------------------------

class XWindow(collections.namedtuple('XWindow', 'id name instance cls width height x y')):
    def size(self):
        return (self.width, self.height)


_WINDOW_LINE = re.compile(r'^\s*(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \((?:"(.*?)" "(.*?)")?\)\s+'
                          r'(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)')


def x_windows(all_levels=False):
    """The root's children (Wine's top-level windows), or with all_levels every window."""
    out = run_tool(['xwininfo', '-root', '-tree' if all_levels else '-children'])
    windows = []
    for line in out.splitlines():
        m = _WINDOW_LINE.match(line)
        if m:
            wid, name, instance, cls, w, h, x, y = m.groups()
            windows.append(XWindow(wid, name, instance, cls, int(w), int(h), int(x), int(y)))
    return windows


def xprop(window_id, prop):
    """The raw value of a property (the text after '=' or ':'), or None when it is not set."""
    out = run_tool(['xprop', '-id', window_id, prop], check=False)
    m = re.match(r'^%s(?:\([^)]*\))?\s*(?:=|:)\s?(.*)$' % re.escape(prop), out.strip(), re.S)
    return m.group(1).strip() if m else None


def window_pid(window_id):
    value = xprop(window_id, '_NET_WM_PID')
    return int(value) if value and value.isdigit() else None


def net_wm_state(window_id):
    """The atoms of _NET_WM_STATE, e.g. ['_NET_WM_STATE_FULLSCREEN', '_NET_WM_STATE_ABOVE']."""
    value = xprop(window_id, '_NET_WM_STATE')
    return [atom.strip() for atom in value.split(',') if atom.strip()] if value else []


def motif_wm_hints(window_id):
    """_MOTIF_WM_HINTS as numbers: flags, functions, decorations, input mode, status."""
    value = xprop(window_id, '_MOTIF_WM_HINTS')
    return [int(v, 0) for v in value.split(',')] if value else []


def is_viewable(window_id):
    return 'IsViewable' in run_tool(['xwininfo', '-id', window_id], check=False)


def find_windows(name=None, name_re=None, cls=None, size=None, pids=None, viewable=True, all_levels=False):
    """Windows matching every given criterion: exact name, name regex, WM_CLASS (instance or class),
    size (w, h), owning unix pids, and by default only those that are mapped and viewable."""
    found = []
    for w in x_windows(all_levels):
        if name is not None and w.name != name:
            continue
        if name_re is not None and not re.search(name_re, w.name or ''):
            continue
        if cls is not None and cls not in (w.instance, w.cls):
            continue
        if size is not None and w.size() != tuple(size):
            continue
        if pids is not None and window_pid(w.id) not in pids:
            continue
        if viewable and not is_viewable(w.id):
            continue
        found.append(w)
    return found


def screen_size():
    m = re.search(r'dimensions:\s+(\d+)x(\d+)', run_tool(['xdpyinfo']))
    return (int(m.group(1)), int(m.group(2)))


# ---- screenshots and colours -----------------------------------------------------------------

COLOURS = {'black': (0, 0, 0), 'white': (1, 1, 1), 'red': (1, 0, 0), 'green': (0, 1, 0), 'blue': (0, 0, 1),
           'yellow': (1, 1, 0), 'cyan': (0, 1, 1), 'magenta': (1, 0, 1), 'grey': (0.5, 0.5, 0.5)}


def screenshot(path):
    """The whole display as a PNG file; returns the path."""
    run_tool(['import', '-window', 'root', path])
    return path


def _crop(region):
    """ImageMagick arguments that cut the image down to region (x, y, w, h)."""
    if not region:
        return []
    x, y, w, h = region
    return ['-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage']


def mean_colour(path, region=None):
    """Mean (r, g, b) in 0..1 of the image or of region (x, y, w, h)."""
    out = run_tool(['convert', path] + _crop(region) +
                   ['-format', '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]', 'info:'])
    return tuple(float(v) for v in out.split())


def brightness(path, region=None):
    """Mean grey level in 0..1; 0 is all black."""
    return sum(mean_colour(path, region)) / 3


def nearest_colour(rgb):
    return min(COLOURS, key=lambda n: sum((a - b) ** 2 for a, b in zip(rgb, COLOURS[n])))


def colour_fraction(path, colour, region=None, fuzz=25):
    """Share (0..1) of the pixels within fuzz per cent of a colour (an ImageMagick colour name or #rrggbb)."""
    out = run_tool(['convert', path] + _crop(region) +
                   ['-alpha', 'off', '-fuzz', '%d%%' % fuzz, '-transparent', colour, '-alpha', 'extract', '-negate',
                    '-format', '%[fx:mean]', 'info:'])
    return float(out)


# ---- input -----------------------------------------------------------------------------------

KEYPAD = {1: 'KP_End', 2: 'KP_Down', 3: 'KP_Next', 4: 'KP_Left', 5: 'KP_Begin', 6: 'KP_Right', 7: 'KP_Home',
          8: 'KP_Up', 9: 'KP_Prior'}


def key(*names, delay_ms=50):
    """Presses and releases each key in turn (xdotool names: 'Escape', 'ctrl+KP_End', 'Shift_L')."""
    run_tool(['xdotool', 'key', '--delay', str(delay_ms)] + list(names))


def key_down(name):
    run_tool(['xdotool', 'keydown', name])


def key_up(name):
    run_tool(['xdotool', 'keyup', name])


def keypad_key(digit):
    """The key name that gives VK_NUMPAD<digit> while NumLock is on."""
    return KEYPAD[digit]


def mouse_move(x, y):
    run_tool(['xdotool', 'mousemove', str(x), str(y)])


def click_at(window, at, button=1):
    """Clicks at a place (x, y) of a window's client area: with no window manager, Wine's X
    window of a top-level window is its client area."""
    mouse_move(window.x + at[0], window.y + at[1])
    click(button)


def park_pointer(x=None, y=None):
    """Puts the pointer somewhere known (the screen's centre) before a saver starts."""
    width, height = screen_size()
    at = (width // 2 if x is None else x, height // 2 if y is None else y)
    mouse_move(*at)
    wait_until(lambda: pointer_position() == at, 5, message='the pointer at %r' % (at,))


def pointer_position():
    out = run_tool(['xdotool', 'getmouselocation', '--shell'])
    values = dict(line.split('=', 1) for line in out.splitlines() if '=' in line)
    return (int(values['X']), int(values['Y']))


def click(button=1):
    run_tool(['xdotool', 'click', str(button)])


def wheel(notches=1, up=False):
    run_tool(['xdotool', 'click', '--repeat', str(notches), '--delay', '50', '4' if up else '5'])


def focus(window_id):
    """Gives the X focus to a window (there is no window manager to activate it)."""
    run_tool(['xdotool', 'windowfocus', '--sync', window_id])


def numlock_is_on():
    with kvx11.Display(wine_env()['DISPLAY']) as display:
        return display.numlock_is_on()


def cursor_visible():
    """Whether the pointer shows a cursor (a saver hides it over its window)."""
    with kvx11.Display(wine_env()['DISPLAY']) as display:
        return display.cursor_visible()


def numlock_on():
    """Turns NumLock on unless it is on already (the display keeps it between tests)."""
    if not numlock_is_on():
        key('Num_Lock')
        wait_until(numlock_is_on, 5, message='NumLock to come on')


def numlock_off():
    """Turns the display's NumLock off before a saver starts. A new Wine process believes NumLock
    is off; when the display says otherwise, Wine makes up a NumLock press ahead of the first key
    the window gets, and that press alone would end a full-screen run."""
    if numlock_is_on():
        key('Num_Lock')
        wait_until(lambda: not numlock_is_on(), 5, message='NumLock to go off')
