"""The install switches: each exact switch hands KINOVELA.SCR to the Display control panel once
(the desk.cpl stand-in records what rundll32 passed it), and the configuration panel comes up."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import saverrun  # noqa: E402

import kvharness  # noqa: E402


class InstallSwitches(saverrun.StartupCase):
    def setUp(self):
        super().setUp()
        self.remove_settings()
        self.install_standin('desk.cpl')
        self.delete_registry_value(kvharness.DESKTOP_KEY, 'SCRNSAVE.EXE')

    def run_with(self, *args):
        """Starts the saver with args; returns it and its configuration window."""
        kvharness.numlock_off()
        saver = self.start_saver(*args)
        window = saver.main_window(name='KINOVELA')
        saverrun.report('%s: configuration window %dx%d after %.1f s' % (
            ' '.join(args), window.width, window.height, time.monotonic() - saver.started))
        width, height = kvharness.screen_size()
        self.assertTrue(400 <= window.width <= 430 and 300 <= window.height < height, window)
        self.assertTrue(kvharness.xprop(window.id, '_NET_WM_ICON'), 'the window carries the program icon')
        return saver, window

    def close(self, saver, window):
        kvharness.focus(window.id)
        kvharness.key('alt+F4')
        self.assertEqual(saver.wait(15), 0)
        kvharness.wait_until(lambda: not saver.pids(), 10, message='every process of the run to end')

    def expect_launches(self, saver, count):
        """The hand-overs, once every one started has ended: the switches are read before the
        window shows, and each starts its rundll32 then."""
        def handing_over():
            return [pid for pid in saver.pids() if 'rundll32' in kvharness.command_line_of(pid).lower()]
        kvharness.wait_until(lambda: not handing_over(), 15, message='the hand-overs to end')
        self.assertEqual(kvharness.desk_launches(), [kvharness.saver_windows_path()] * count)

    def test_lower_case_install_hands_the_saver_over_once_and_it_becomes_the_current_saver(self):
        saver, window = self.run_with('-install')
        self.expect_launches(saver, 1)
        self.assertEqual(kvharness.reg_query(kvharness.DESKTOP_KEY, 'SCRNSAVE.EXE'),
                         ('REG_SZ', kvharness.saver_windows_path()))
        self.close(saver, window)

    def test_two_install_switches_launch_twice(self):
        saver, window = self.run_with('-INSTALL', '/I')
        self.expect_launches(saver, 2)
        self.close(saver, window)

    def test_a_longer_word_is_no_install_switch(self):
        saver, window = self.run_with('/INSTALLER')
        self.expect_launches(saver, 0)
        self.assertIsNone(kvharness.reg_query(kvharness.DESKTOP_KEY, 'SCRNSAVE.EXE'))
        self.close(saver, window)


if __name__ == '__main__':
    kvharness.main()
