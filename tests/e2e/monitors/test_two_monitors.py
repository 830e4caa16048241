"""A full-screen run on a desktop of two monitors side by side, as a user with a second screen
has it: the picture plays on the primary monitor, the other one is black, nothing of the desktop
shows on either, and input over the other monitor ends the run like input anywhere. With the
primary monitor on the right, Windows puts the left one at negative coordinates.

Wine reports the monitors of Xinerama only with UseXRandR=N, which it reads when its server
starts; so this test has a display and a Wine prefix of its own (the two-monitors folder of the
build tree), and the one-monitor tests keep theirs as they are.
"""
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.environ.get('KINOVELA_ROOT') or os.path.abspath(os.path.join(HERE, '..', '..', '..'))
MAIN_BUILD = os.path.abspath(os.environ.get('KINOVELA_BUILD') or os.path.join(ROOT, 'build', 'win64'))
os.environ.setdefault('KINOVELA_CLIPS', os.path.join(MAIN_BUILD, 'clips'))
os.environ['KINOVELA_BUILD'] = os.path.join(MAIN_BUILD, 'two-monitors')
# Sound plays no part here, and so this tree leaves no sound server of its own running.
os.environ['KINOVELA_NO_SOUND'] = '1'

sys.path[:0] = [os.path.join(HERE, '..'), os.path.join(HERE, '..', 'startup')]
import saverrun  # noqa: E402
from saverrun import picture_colour, report  # noqa: E402

import kvharness  # noqa: E402

# X screen regions (x, y, w, h) of the two monitors and a point in the middle of each.
LEFT, RIGHT = (0, 0, 1024, 768), (1024, 0, 1024, 768)
MIDDLE = {LEFT: (512, 384), RIGHT: (1536, 384)}
GEOMETRY = {LEFT: '1024/271x768/203+0+0', RIGHT: '1024/271x768/203+1024+0'}
X11_DRIVER_KEY = r'HKCU\Software\Wine\X11 Driver'
# The desktop's colour: any of it in a screenshot is a part the saver left uncovered.
DESKTOP = 'magenta'


class TwoMonitorDisplay:
    """A private Xvfb with one 2048 x 768 screen split into two 1024 x 768 monitors, LEFT and
    RIGHT, the primary one first (Wine places it at the origin), over a magenta desktop."""

    def __init__(self, primary):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0', '2048x768x24', '-noreset', '-nolisten', 'tcp'],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number:
            self.close()
            raise RuntimeError('Xvfb did not start')
        self.name = ':' + number
        other = RIGHT if primary == LEFT else LEFT
        env = dict(os.environ, DISPLAY=self.name)
        for tool in (['xrandr', '--setmonitor', '*PRIMARY', GEOMETRY[primary], 'screen'],
                     ['xrandr', '--setmonitor', 'OTHER', GEOMETRY[other], 'none'],
                     ['xsetroot', '-solid', DESKTOP]):
            subprocess.run(tool, env=env, check=True, capture_output=True, timeout=30)

    def close(self):
        self.process.kill()
        self.process.wait(10)


def stop_wineserver():
    """Ends the prefix's Wine server with every program in it; the next program starts a new one."""
    prefix = os.path.join(kvharness.BUILD, 'wine', 'prefix')
    wineserver = '/usr/lib/wine/wineserver' if os.path.exists('/usr/lib/wine/wineserver') else shutil.which('wineserver')
    if os.path.isdir(prefix):
        env = dict(os.environ, WINEPREFIX=prefix)
        subprocess.run([wineserver, '-k'], env=env, capture_output=True, timeout=30)
        subprocess.run([wineserver, '-w'], env=env, capture_output=True, timeout=30)


class TwoMonitorCase(saverrun.StartupCase):
    """Runs on a two-monitor display whose primary monitor is PRIMARY; OTHER is the second one."""
    PRIMARY = OTHER = None

    @classmethod
    def setUpClass(cls):
        cls.display = TwoMonitorDisplay(cls.PRIMARY)
        os.environ['KINOVELA_DISPLAY'] = cls.display.name
        try:
            # A server left by an earlier run would serve a display that is gone.
            stop_wineserver()
            super().setUpClass()
            if (kvharness.reg_query(X11_DRIVER_KEY, 'UseXRandR') or (None, None))[1] != 'N':
                kvharness.reg_add(X11_DRIVER_KEY, 'UseXRandR', 'N')
                stop_wineserver()
                subprocess.run([kvharness.WINE_RUN, '--prepare'], env=kvharness.environment(), check=True, timeout=300)
        except BaseException:
            cls.display.close()
            raise

    @classmethod
    def tearDownClass(cls):
        stop_wineserver()
        cls.display.close()
        super().tearDownClass()

    def start_with_picture(self):
        """Starts a run on ten.mpg with the pointer resting in the middle of the other monitor;
        checks what both monitors show and returns the run."""
        self.write_settings()
        desktop = self.screenshot('desktop')
        self.assertGreater(kvharness.colour_fraction(desktop, DESKTOP), 0.99, 'the desktop shows before the run')
        run = self.start_fullscreen(['ten.mpg'], pointer=MIDDLE[self.OTHER])

        def picture():
            _, shot = run.look('picture')
            return shot if picture_colour(shot, self.PRIMARY) == 'red' else None
        shot = kvharness.wait_until(picture, 30, interval=0.2, message='the picture on the primary monitor')
        report('%s: picture on the primary monitor %.1f s after start' % (type(self).__name__, run.elapsed()))
        self.assertGreater(kvharness.colour_fraction(shot, 'red', self.PRIMARY), 0.8, 'the picture fills the primary')
        self.assertGreater(kvharness.colour_fraction(shot, 'black', self.OTHER), 0.99, 'the other monitor is black')
        self.assertEqual(kvharness.colour_fraction(shot, DESKTOP), 0.0, 'nothing of the desktop shows')
        return run


class PrimaryOnTheLeft(TwoMonitorCase):
    PRIMARY, OTHER = LEFT, RIGHT

    def test_a_60_pixel_move_over_the_other_monitor_ends_the_run(self):
        run = self.start_with_picture()
        x, y = MIDDLE[self.OTHER]
        kvharness.mouse_move(x + 60, y)
        self.assertEqual(run.program.wait(15), 0, 'a 60-pixel move over the other monitor did not end the run')


class PrimaryOnTheRight(TwoMonitorCase):
    """The other monitor lies left of the primary, at negative coordinates."""
    PRIMARY, OTHER = RIGHT, LEFT

    def test_a_small_move_over_the_other_monitor_keeps_the_run_and_a_key_ends_it(self):
        run = self.start_with_picture()
        x, y = MIDDLE[self.OTHER]
        kvharness.mouse_move(x - 40, y + 40)
        kvharness.wait_until(lambda: kvharness.pointer_position() == (x - 40, y + 40), 5, message='the pointer to move')
        self.assertIsNone(run.program.wait(1.0), 'a move within 50 pixels ended the run')
        run.end_with('Escape')

    def test_with_an_empty_playlist_the_load_media_note_shows_on_the_primary_monitor(self):
        self.write_settings()
        run = self.start_fullscreen([], pointer=MIDDLE[self.OTHER])

        def note():
            _, shot = run.look('note')
            return shot if kvharness.colour_fraction(shot, 'silver', self.PRIMARY, fuzz=5) > 0 else None
        shot = kvharness.wait_until(note, 20, interval=0.2, message='the note on the primary monitor')
        self.assertEqual(kvharness.colour_fraction(shot, 'black', self.OTHER, fuzz=5), 1.0, 'the other monitor is black')
        self.assertEqual(kvharness.colour_fraction(shot, DESKTOP), 0.0, 'nothing of the desktop shows')
        run.end_with('Escape')


if __name__ == '__main__':
    kvharness.main()
