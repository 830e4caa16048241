"""A full-screen run on a desktop of two monitors side by side, as a user with a second screen
has it: the picture plays on the primary monitor, the other one is black, nothing of the desktop
shows on either, and input over the other monitor ends the run like input anywhere. With the
primary monitor on the right, Windows puts the left one at negative coordinates.

Wine reports the monitors of Xinerama only with UseXRandR=N, which it reads when its server
starts; so this test has a lane of its own (a display twice as wide, a prefix set so), and the
one-monitor tests keep theirs as they are.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
os.environ['KINOVELA_LANE'] = 'two-monitors'
os.environ['KINOVELA_SCREEN'] = '2048x768'
# Sound plays no part here, and so this lane has no sound server.
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


class TwoMonitorCase(saverrun.StartupCase):
    """Runs on the lane's screen split into two 1024 x 768 monitors, LEFT and RIGHT, over a magenta
    desktop: PRIMARY is the primary one (Wine places it at the origin), OTHER the second one."""
    PRIMARY = OTHER = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for name in ('PRIMARY', 'OTHER'):
            kvharness.run_tool(['xrandr', '--delmonitor', name], check=False)
        for tool in (['xrandr', '--setmonitor', '*PRIMARY', GEOMETRY[cls.PRIMARY], 'screen'],
                     ['xrandr', '--setmonitor', 'OTHER', GEOMETRY[cls.OTHER], 'none'],
                     ['xsetroot', '-solid', DESKTOP]):
            kvharness.run_tool(tool)
        if (kvharness.reg_query(X11_DRIVER_KEY, 'UseXRandR') or (None, None))[1] != 'N':
            kvharness.reg_add(X11_DRIVER_KEY, 'UseXRandR', 'N')
        # Ends the lane's Wine server with every program in it: the next program starts a new
        # one, which reads the monitors anew.
        env = kvharness.environment()
        for flag in ('-k', '-w'):
            kvharness.run_tool([env['WINESERVER'], flag], check=False)

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
