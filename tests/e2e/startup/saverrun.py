"""One full-screen run of the real saver, watched from outside: which clip the screen shows, where
the clip's moving square stands (that is, how far into the clip it is), and how the run ends.

Each test clip has one colour (clip.mpg red, clip.avi green, clip.wmv blue, clip.dat yellow,
clip.mp4 magenta, clip.mov cyan; ten.mpg and long.mpg red too, ten.mp4 magenta) and a white square that crosses the picture once from left to right
at the middle height, so a screenshot tells the clip and the position within it.
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import kvharness  # noqa: E402
from kvharness import report  # noqa: E402,F401

# Mean colours of the pictures as the decoder gives them: the clips' "green" is #008000.
PICTURE_COLOURS = {'black': (0, 0, 0), 'red': (1, 0, 0), 'green': (0, 0.5, 0), 'blue': (0, 0, 1),
                   'yellow': (1, 1, 0), 'magenta': (1, 0, 1), 'cyan': (0, 1, 1), 'silver': (0.75, 0.75, 0.75),
                   'white': (1, 1, 1)}
CLIP_COLOURS = {'clip.mpg': 'red', 'clip.avi': 'green', 'clip.wmv': 'blue', 'clip.dat': 'yellow',
                'clip.mp4': 'magenta', 'clip.mov': 'cyan', 'ten.mpg': 'red', 'ten.mp4': 'magenta', 'long.mpg': 'red'}
CLIP_SECONDS = {'clip.mpg': 3, 'clip.avi': 3, 'clip.wmv': 3, 'clip.dat': 3, 'clip.mp4': 3, 'clip.mov': 3,
                'ten.mpg': 10, 'ten.mp4': 10, 'long.mpg': 100}
SETTINGS = {'SOUND': {'MUTEWAVE': '1'}, 'MEDIA': {'CONTINUE': '0'}, 'Option': {'Language': '1'}}
RESUME_KEYS = ('FILEPOSITION', 'CURRENTPOSITION', 'FILENAME')


def clip_path(name):
    """The Windows path of a generated clip, as a playlist holds it."""
    return kvharness.windows_path(os.path.join(kvharness.clips_dir(), name))


def picture_colour(shot, region=None):
    """The name of the picture colour nearest to the screenshot's mean colour."""
    rgb = kvharness.mean_colour(shot, region)
    return min(PICTURE_COLOURS, key=lambda n: sum((a - b) ** 2 for a, b in zip(rgb, PICTURE_COLOURS[n])))


def row_pixels(shot, y):
    """The (r, g, b) values 0..255 of one row of a screenshot."""
    width, _ = kvharness.screen_size()
    out = kvharness.run_tool(['convert', shot, '-crop', '%dx1+0+%d' % (width, y), '+repage', '-depth', '8', 'txt:-'])
    pixels = []
    for line in out.splitlines()[1:]:
        values = line.split('(', 1)[1].split(')', 1)[0].split(',')
        pixels.append(tuple(int(float(v)) for v in values[:3]))
    return pixels


def square_fraction(shot):
    """How far the white square has crossed the picture, 0 at the left edge to 1 at the right,
    or None when no square shows. Measured along the screen's middle row, inside the picture
    (whatever bars the player leaves beside it)."""
    _, height = kvharness.screen_size()
    row = row_pixels(shot, height // 2)
    picture = [x for x, p in enumerate(row) if max(p) > 40]
    white = [x for x, p in enumerate(row) if min(p) > 200]
    if not picture or not white:
        return None
    left, right = picture[0], picture[-1]
    square = white[-1] - white[0] + 1
    travel = (right - left + 1) - square
    return max(0.0, min(1.0, (white[0] - left) / travel)) if travel > 0 else None


def clip_seconds_shown(shot, name):
    """The position within clip name that a screenshot shows, from its square, or None."""
    fraction = square_fraction(shot)
    return None if fraction is None else fraction * CLIP_SECONDS[name]


def collapse(colours):
    """The colours in order with repeats and black gaps dropped: the clips that followed one another."""
    seen = []
    for colour in colours:
        if colour != 'black' and (not seen or seen[-1] != colour):
            seen.append(colour)
    return seen


class SaverRun:
    """A started KINOVELA.SCR /s with its full-screen window, and what was seen of it."""

    def __init__(self, case, program, started):
        self.case, self.program, self.started = case, program, started
        self.window = None
        self.shots = []  # (seconds since start, colour, screenshot path)

    def elapsed(self):
        return time.monotonic() - self.started

    def look(self, label='look'):
        """Takes a screenshot now; returns (colour, path)."""
        path = self.case.screenshot('%03d-%s' % (len(self.shots), label))
        colour = picture_colour(path)
        self.shots.append((self.elapsed(), colour, path))
        return colour, path

    def wait_for_colour(self, wanted, timeout=20, label='wait'):
        """Looks until the screen shows one of the wanted colours; returns (colour, path)."""
        wanted = (wanted,) if isinstance(wanted, str) else tuple(wanted)
        deadline = time.monotonic() + timeout
        while True:
            colour, path = self.look(label)
            if colour in wanted:
                return colour, path
            if time.monotonic() > deadline:
                raise AssertionError('the screen did not show %s within %.0f s; seen: %s' % (
                    '/'.join(wanted), timeout, collapse(c for _, c, _ in self.shots) or ['black']))
            time.sleep(0.15)

    def watch_sequence(self, expected, timeout):
        """Looks until the clips' colours have followed one another as expected; returns the
        seconds since start at which each of them was first seen."""
        deadline = time.monotonic() + timeout
        first_seen = []
        while True:
            colour, _ = self.look('sequence')
            seen = collapse(c for _, c, _ in self.shots)
            while len(first_seen) < len(seen):
                first_seen.append(self.elapsed())
            if seen[:len(expected)] != expected[:len(seen)]:
                raise AssertionError('clips followed as %s, expected %s' % (seen, expected))
            if len(seen) >= len(expected):
                return first_seen
            if time.monotonic() > deadline:
                raise AssertionError('after %.0f s only %s of %s had shown' % (timeout, seen, expected))
            time.sleep(0.15)

    def still_running(self):
        return self.program.running() and bool(self.program.windows(size=kvharness.screen_size()))

    def press(self, *keys):
        kvharness.focus(self.window.id)
        kvharness.key(*keys)

    def set_numlock(self, on):
        """Turns NumLock on or off through the saver's window, with Ctrl held: the saver ignores
        Ctrl with any key but a keypad digit, and Wine and the display agree afterwards."""
        kvharness.focus(self.window.id)
        kvharness.key_down('Control_L')
        try:
            if kvharness.numlock_is_on() != on:
                kvharness.key('Num_Lock')
                kvharness.wait_until(lambda: kvharness.numlock_is_on() == on, 5, message='NumLock to change')
        finally:
            kvharness.key_up('Control_L')

    def end_with(self, *keys, timeout=15):
        """Presses the keys and waits for the end: exit code 0 and no process of the run left.
        Returns the seconds from the key to the exit."""
        kvharness.focus(self.window.id)
        pressed = time.monotonic()
        kvharness.key(*keys)
        code = self.program.wait(timeout)
        ended = time.monotonic() - pressed
        self.case.assertEqual(code, 0, 'the saver did not end with 0 within %d s of %s' % (timeout, keys))
        kvharness.wait_until(lambda: not self.program.pids(), 10, message='every process of the run to end')
        return ended


class StartupCase(kvharness.SaverTestCase):
    """Starts the saver full screen on a playlist of generated clips."""

    def write_settings(self, mute=1, **media):
        """g_screen.ini with sound off unless mute is 0, English, Continue off unless given, and
        MEDIA keys as given."""
        sections = {section: dict(values) for section, values in SETTINGS.items()}
        sections['SOUND']['MUTEWAVE'] = str(mute)
        sections['MEDIA'].update({k: str(v) for k, v in media.items()})
        self.write_ini(sections)
        return sections

    def start_fullscreen(self, playlist, *args, pointer=(), written=False):
        """Writes the playlist (clip names; written: the test has written the file) and starts a
        full-screen run (see kvharness.start_fullscreen)."""
        if not written:
            self.write_playlist([clip_path(name) for name in playlist])
        program, window = self.start_saver_fullscreen(*args, pointer=pointer)
        run = SaverRun(self, program, program.started)
        run.window = window
        self.assertEqual((window.x, window.y), (0, 0), 'the window covers the screen from its corner')
        report('%s: window covers the screen %.1f s after start' % (self.id().rsplit('.', 1)[-1], run.elapsed()))
        return run

    def resume_record(self):
        """The resume keys found in g_screen.ini (missing ones left out)."""
        media = (kvharness.read_ini() or {}).get('MEDIA', {})
        return {k: media[k] for k in RESUME_KEYS if k in media}
