"""The configuration panel of the real saver (KINOVELA.SCR /c), driven as a user would: clicks at
the controls' places, the system's open dialog, keys in the playlist.

Without a window manager Wine's X window of the panel is its client area, so a control's place
in the window's layout is its place in the X window.
"""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..'))
sys.path.insert(0, os.path.join(HERE, '..', 'startup'))
import kvharness  # noqa: E402
import saverrun  # noqa: E402

# Centres of the controls in the panel (client coordinates).
CONTROLS = {
    'Add': (200, 216), 'Remove': (284, 215), 'Preview': (366, 215),
    'OK': (200, 255), 'Apply': (284, 255), 'Cancel': (366, 255),
    'TH': (16, 296), 'EN': (56, 296), 'Play': (23, 160), 'Stop': (39, 160),
}
PREVIEW_AREA = (152, 16, 249, 145)  # Panel1: left, top, width, height
BUTTONS_AREA = (152, 186, 257, 95)  # GroupBox2
LIST_LEFT, LIST_TOP, ITEM_HEIGHT = 16, 16, 13


def signature(shot, region):
    """A digest of the pixels of region (x, y, w, h) of a screenshot."""
    x, y, w, h = region
    return kvharness.run_tool(['convert', shot, '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage',
                               '-format', '%#', 'info:']).strip()


class Panel:
    """One running configuration panel; screenshots go to shots_dir."""

    def __init__(self, program, window, shots_dir):
        self.program, self.window, self.shots_dir = program, window, shots_dir

    def point(self, x, y):
        kvharness.mouse_move(self.window.x + x, self.window.y + y)
        time.sleep(0.1)

    def click(self, name, pause=0.4):
        self.point(*CONTROLS[name])
        kvharness.click()
        time.sleep(pause)

    def hover(self, name):
        """Comes to rest on a control from elsewhere, as a user who waits for its hint."""
        self.point(100, 100)
        self.point(*CONTROLS[name])
        self.point(CONTROLS[name][0] + 1, CONTROLS[name][1])

    def tooltip(self, timeout=10):
        """Waits for the program's hint window (a small window without a title) while the pointer
        rests on the control just hovered, stirring it by a pixel now and then; returns it."""
        x, y = kvharness.pointer_position()
        polls = []

        def shown():
            polls.append(1)
            kvharness.mouse_move(x + len(polls) % 2, y)
            return next((w for w in self.program.windows() if w.name is None and 1 < w.width < 150), None)
        return kvharness.wait_until(shown, timeout, interval=0.5, message='a hint window')

    def click_entry(self, index, modifier=None, double=False):
        self.point(LIST_LEFT + 40, LIST_TOP + ITEM_HEIGHT * index + ITEM_HEIGHT // 2)
        args = ['xdotool', 'click'] + (['--repeat', '2', '--delay', '80'] if double else []) + ['1']
        if modifier:
            kvharness.key_down(modifier)
        try:
            kvharness.run_tool(args)
        finally:
            if modifier:
                kvharness.key_up(modifier)
        time.sleep(0.3)

    def add_file(self, unix_path):
        """BitBtn_Add, then the system's open dialog: the path typed into its name box, Enter."""
        self.click('Add', pause=0)
        dialog = kvharness.wait_until(lambda: (kvharness.find_windows(name='Open', pids=set(self.program.pids()))
                                               or [None])[0], 20, message='the open dialog')
        kvharness.focus(dialog.id)
        time.sleep(0.5)
        kvharness.run_tool(['xdotool', 'type', '--delay', '20', kvharness.windows_path(unix_path)])
        kvharness.key('Return')
        kvharness.wait_until(lambda: not kvharness.find_windows(name='Open', pids=set(self.program.pids())), 15,
                             message='the open dialog to close')
        time.sleep(0.5)

    def key(self, *names):
        kvharness.focus(self.window.id)
        kvharness.key(*names)
        time.sleep(0.3)

    def shoot(self, name):
        """A screenshot of the whole display; returns its path."""
        return kvharness.screenshot(os.path.join(self.shots_dir, name + '.png'))

    def region(self, area):
        x, y, w, h = area
        return (self.window.x + x, self.window.y + y, w, h)

    def play_entry(self, index, timeout=30):
        """Double-clicks an entry and waits for a picture in the preview area; returns its colour."""
        self.click_entry(index, double=True)

        def picture():
            colour = saverrun.picture_colour(self.shoot('playing'), self.region(PREVIEW_AREA))
            return colour if colour != 'black' else None
        return kvharness.wait_until(picture, timeout, interval=0.2, message='a picture in the preview area')

    def wait_for_end(self, timeout=15):
        """The exit code, or None when the program still runs after timeout seconds."""
        return self.program.wait(timeout)


def find_panel(program):
    """The panel window of a started KINOVELA.SCR /c, waited for."""
    return kvharness.wait_until(lambda: next((w for w in program.windows(name='KINOVELA') if w.width > 300), None),
                                30, message='the configuration panel')


def settled_panel(program):
    """The panel window once it stands still."""
    return kvharness.wait_still(lambda: find_panel(program), message='the panel')


NOTICE_AREA = (88, 286, 321, 39)  # lbNotice
NOTICE_COLOUR = '#C00000'


class PanelCase(kvharness.SaverTestCase):
    def start_panel(self, playlist=None, settings=None, utf8=False):
        """Writes the playlist (clip names, or Windows paths) in the code page or in UTF-8, and the
        settings (sections), or removes the files when None, then starts KINOVELA.SCR /c and waits
        for the panel."""
        self.remove_settings()
        if playlist is not None:
            self.write_playlist([p if '\\' in p else saverrun.clip_path(p) for p in playlist], utf8)
        if settings is not None:
            self.write_ini(settings)
        kvharness.numlock_off()
        program = self.start_saver('/c')
        return Panel(program, settled_panel(program), self.work_dir)

    def assertEnded(self, panel):
        self.assertEqual(panel.wait_for_end(), 0, 'the panel did not close with exit code 0')
