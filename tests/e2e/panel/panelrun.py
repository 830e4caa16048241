"""The configuration panel of the real saver (KINOVELA.SCR /c), driven as a user would: clicks at
the controls' places, the system's open dialog, keys in the playlist.

Without a window manager Wine's X window of the panel is its client area, so a control's place
in the window's layout is its place in the X window.
"""
import os
import sys

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
    """One running configuration panel; screenshots go to shots_dir. Input reaches the panel in
    the order it is sent, so only what a test reads afterwards (a file, the screen) is waited for."""

    def __init__(self, program, window, shots_dir):
        self.program, self.window, self.shots_dir = program, window, shots_dir

    def point(self, x, y):
        kvharness.mouse_move(self.window.x + x, self.window.y + y)

    def click(self, name):
        kvharness.click_at(self.window, CONTROLS[name])

    def apply(self):
        """Apply, waited for until the playlist file is written anew."""
        path = os.path.join(kvharness.system32(), kvharness.PLAYLIST_FILE)

        def written():
            return os.stat(path).st_mtime_ns if os.path.exists(path) else None
        before = written()
        self.click('Apply')
        kvharness.wait_until(lambda: written() not in (None, before), 10, message='Apply to write the playlist')

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

    def add_file(self, unix_path):
        """BitBtn_Add, then the system's open dialog: the path typed into its name box, Enter."""
        self.click('Add')
        dialog = self.program.main_window(name='Open', timeout=20)
        path = kvharness.windows_path(unix_path)
        kvharness.focus(dialog.id)
        # The dialog takes typing once its name box has the focus and has filled its list.
        kvharness.wait_until(lambda: self.name_box_takes(dialog, path), 20, interval=0.3, message='the name box')
        kvharness.key('Return')
        kvharness.wait_until(lambda: not self.program.windows(name='Open'), 15, message='the open dialog to close')

    @staticmethod
    def name_box_takes(dialog, path):
        kvharness.focus(dialog.id)
        kvharness.key('ctrl+a', 'BackSpace')
        kvharness.run_tool(['xdotool', 'type', '--delay', '10', path])
        return any(c.cls == 'Edit' and c.text == path for c in kvharness.window_controls('Open') or [])

    def key(self, *names):
        kvharness.focus(self.window.id)
        kvharness.key(*names)

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


def settled_panel(program):
    """The panel window of a started KINOVELA.SCR /c once it stands still."""
    return program.main_window(name='KINOVELA', still=True)


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
