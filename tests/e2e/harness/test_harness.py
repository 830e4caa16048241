"""The harness itself, on a program Wine ships: start, find, look, type, stop, clean up."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import kvharness  # noqa: E402

NOTEPAD_TITLE = 'Untitled - Notepad'


class Programs(kvharness.SaverTestCase):
    def start_notepad(self):
        program = self.start(['notepad'])
        window = kvharness.wait_until(lambda: (program.windows(name=NOTEPAD_TITLE) or [None])[0], 20,
                                      message='the notepad window')
        return program, window

    def test_a_program_shows_its_window_and_ends_when_closed_by_keys(self):
        program, window = self.start_notepad()
        self.assertGreater(window.width, 100)
        shot = self.screenshot()
        region = (window.x, window.y, window.width, window.height)
        self.assertGreater(kvharness.brightness(shot, region), 0.2, 'the notepad window is not all black')
        self.assertLess(kvharness.colour_fraction(shot, 'black', region), 0.5)

        kvharness.focus(window.id)
        kvharness.key('alt+F4')
        self.assertEqual(program.wait(15), 0)
        kvharness.wait_until(lambda: not program.pids(), 10, message='no notepad process left')
        self.assertEqual(kvharness.find_windows(name=NOTEPAD_TITLE, pids=set(program.pids())), [])

    def test_stop_kills_a_program_that_does_not_end(self):
        program, _ = self.start_notepad()
        pids = program.pids()
        self.assertGreaterEqual(len(pids), 2, 'start.exe and notepad.exe')
        program.stop(timeout=0.5)
        self.assertTrue(program.killed)
        self.assertEqual([pid for pid in pids if kvharness.is_alive(pid)], [])

    def test_displayprops_reports_what_a_saver_did_to_it(self):
        fake = kvharness.windows_path(os.path.join(kvharness.standins_dir(), 'fakesaver.exe'))
        program, report_path = self.start_displayprops('/c:{self}', until='window', close=True, saver=fake)
        self.assertEqual(program.wait(30), 0)
        report = kvharness.read_report(report_path)
        self.assertEqual(report['command_line'], '%s /c:%s' % (fake, report['display_properties']))
        self.assertEqual((report['disabled_while_running'], report['enabled_after_exit']), ('1', '1'))
        self.assertEqual((report['saver_killed'], report['saver_exit_code']), ('0', '7'))


class SettingsAndRegistry(kvharness.SaverTestCase):
    def test_settings_files_are_written_as_the_saver_reads_them_and_put_back(self):
        ini = os.path.join(kvharness.system32(), kvharness.INI_FILE)
        playlist = os.path.join(kvharness.system32(), kvharness.PLAYLIST_FILE)
        before = [open(p, 'rb').read() if os.path.exists(p) else None for p in (ini, playlist)]

        self.write_ini({'SOUND': {'Mute': '1'}, 'Option': {'Caf\u00e9': 'x'}})
        self.write_playlist(['C:\\a.mpg', 'D:\\b c.avi'])
        self.assertEqual(kvharness.read_ini(), {'SOUND': {'Mute': '1'}, 'Option': {'Caf\u00e9': 'x'}})
        with open(ini, 'rb') as f:
            self.assertIn(b'Caf\xe9=x\r\n', f.read(), 'ANSI, CR LF')
        with open(playlist, 'rb') as f:
            self.assertEqual(f.read(), b'C:\\a.mpg\r\nD:\\b c.avi\r\n')
        self.assertEqual(kvharness.read_playlist(), ['C:\\a.mpg', 'D:\\b c.avi'])

        self.doCleanups()
        after = [open(p, 'rb').read() if os.path.exists(p) else None for p in (ini, playlist)]
        self.assertEqual(after, before)

    def test_registry_values_are_set_and_put_back(self):
        name = 'KinovelaHarnessProbe'
        self.assertIsNone(kvharness.reg_query(kvharness.DESKTOP_KEY, name))
        self.set_registry_value(kvharness.DESKTOP_KEY, name, 1)
        self.assertEqual(kvharness.reg_query(kvharness.DESKTOP_KEY, name), ('REG_DWORD', '0x1'))
        self.doCleanups()
        self.assertIsNone(kvharness.reg_query(kvharness.DESKTOP_KEY, name))

    def test_standins_are_installed_and_removed(self):
        target = os.path.join(kvharness.system32(), 'PASSWORD.CPL')
        existed = os.path.exists(target)
        self.install_standin('PASSWORD-noentry.cpl', 'PASSWORD.CPL')
        self.assertTrue(os.path.exists(target))
        self.doCleanups()
        self.assertEqual(os.path.exists(target), existed)


class Keyboard(kvharness.SaverTestCase):
    def test_numlock_is_turned_on_once_and_stays_on(self):
        kvharness.numlock_on()
        self.assertTrue(kvharness.numlock_is_on())
        kvharness.numlock_on()
        self.assertTrue(kvharness.numlock_is_on())
        self.assertEqual(kvharness.keypad_key(5), 'KP_Begin')
        # The display is left as a new one comes: with NumLock on, the next saver would get a
        # NumLock press of Wine's own with its first key.
        kvharness.numlock_off()
        self.assertFalse(kvharness.numlock_is_on())


if __name__ == '__main__':
    kvharness.main()
