"""The real KINOVELA.SCR under each screen-saver switch, seen from outside: its X windows, the cursor,
the input that ends a full-screen run, the password gate, and the Display Properties stand-in."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import kvharness  # noqa: E402

SAVER = 'KINOVELA'
DIALOG_CLIENT = (417, 345)
WS_CHILD = 0x40000000
WS_DISABLED = 0x08000000
# _MOTIF_WM_HINTS bits
MWM_FUNC_RESIZE, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE = 0x2, 0x8, 0x10
MWM_DECOR_RESIZEH, MWM_DECOR_TITLE, MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x4, 0x8, 0x20, 0x40


class HostCase(kvharness.SaverTestCase):
    def setUp(self):
        super().setUp()
        self.remove_settings()
        self.delete_registry_value(kvharness.DESKTOP_KEY, 'ScreenSaveUsePassword')
        kvharness.numlock_off()

    def viewable_windows(self, program):
        return [w for w in program.windows() if w.name != 'Default IME']

    def assert_still_running(self, program, after, seconds=0.8):
        self.assertIsNone(program.wait(seconds), '%s ended the run' % after)


class ConfigurationMode(HostCase):
    def test_each_configuration_switch_shows_panel_setup_as_the_whole_client_area_of_a_centred_dialog(self):
        self.install_standin('desk.cpl')  # -INSTALL hands the saver to it
        width, height = kvharness.screen_size()
        for args in (['/c'], [], ['s'], ['-INSTALL']):
            with self.subTest(args=args):
                saver = self.start_saver(*args)
                window = saver.main_window(name=SAVER, size=DIALOG_CLIENT, still=True)
                flags, functions, decorations = kvharness.motif_wm_hints(window.id)[:3]
                self.assertTrue(decorations & MWM_DECOR_TITLE, 'a caption')
                self.assertFalse(decorations & (MWM_DECOR_RESIZEH | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE))
                self.assertFalse(functions & (MWM_FUNC_RESIZE | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE))
                self.assertLessEqual(abs(window.x + window.width // 2 - width // 2), 15, window)
                self.assertLessEqual(abs(window.y + window.height // 2 - height // 2), 15, window)
                self.assertNotIn('_NET_WM_STATE_ABOVE', kvharness.net_wm_state(window.id))
                self.assertTrue(kvharness.cursor_visible())
                self.assertIsNone(saver.wait(0.3), 'configuration mode keeps running')
                saver.stop(timeout=0)

    def test_display_properties_is_disabled_while_a_c_handle_run_lasts_and_enabled_again_at_teardown(self):
        self.password_gate(answer=False)
        program, report_path = self.start_displayprops('/c:{self}', until='window', close=True)
        self.assertEqual(program.wait(30), 0)
        report = kvharness.read_report(report_path)
        self.assertEqual(report['saver_started'], '1')
        self.assertEqual(report['exited_before_sample'], '0')
        self.assertEqual(report['disabled_while_running'], '1')
        self.assertEqual(report['enabled_at_sample'], '0')
        self.assertEqual(report['saver_exited'], '1', 'the close is allowed without a password')
        self.assertEqual(report['saver_killed'], '0')
        self.assertEqual(report['enabled_after_exit'], '1')
        self.assertEqual(kvharness.password_calls(), [], 'configuration mode never asks for the password')

    def test_without_an_argument_display_properties_is_never_disabled(self):
        program, report_path = self.start_displayprops(until='window', close=True)
        self.assertEqual(program.wait(30), 0)
        report = kvharness.read_report(report_path)
        self.assertEqual(report['exited_before_sample'], '0')
        self.assertEqual(report['disabled_while_running'], '0')
        self.assertEqual(report['saver_exited'], '1')
        self.assertEqual(report['enabled_after_exit'], '1')


class FullScreenMode(HostCase):
    def test_a_borderless_topmost_window_covers_the_screen_and_only_ending_input_ends_it(self):
        saver, window = self.start_saver_fullscreen()
        self.assertEqual((window.x, window.y), (0, 0))
        self.assertIn('_NET_WM_STATE_ABOVE', kvharness.net_wm_state(window.id))
        self.assertEqual(kvharness.motif_wm_hints(window.id)[2], 0, 'no decorations')
        self.assertEqual([w.id for w in self.viewable_windows(saver)], [window.id], 'no taskbar window beside it')
        kvharness.wait_until(lambda: not kvharness.cursor_visible(), 5, message='the cursor to hide')

        # A run ends within a tenth of a second of the input that ends it: each input is seen
        # to have left it running by the time the next one is sent, the last one after a wait.
        x0, y0 = kvharness.pointer_position()
        for keys in (['Control_L'], ['ctrl+a'], ['Right'], ['Left'], ['ctrl+Right']):
            kvharness.key(*keys)
            self.assert_still_running(saver, keys, seconds=0.1)
        kvharness.click()
        self.assert_still_running(saver, 'a click without movement', seconds=0.1)
        for x, y in ((x0 + 50, y0 + 50), (x0 - 50, y0 - 50), (x0 + 50, y0 - 50), (x0, y0)):
            kvharness.mouse_move(x, y)
            self.assert_still_running(saver, 'the cursor at %+d, %+d' % (x - x0, y - y0), seconds=0.1)
        self.assert_still_running(saver, 'the last of them')

        kvharness.key('Escape')
        self.assertEqual(saver.wait(10), 0)

    def test_space_a_letter_shift_alone_and_the_keypad_star_each_end_the_run(self):
        for name in ('space', 'a', 'Shift_L', 'KP_Multiply'):
            with self.subTest(key=name):
                saver, _ = self.start_saver_fullscreen()
                kvharness.key(name)
                self.assertEqual(saver.wait(10), 0)

    def test_one_wheel_notch_ends_the_run(self):
        saver, _ = self.start_saver_fullscreen()
        kvharness.wheel(1)
        self.assertEqual(saver.wait(10), 0)

    def test_the_cursor_moved_51_pixels_in_one_direction_ends_the_run(self):
        for dx, dy in ((51, 0), (0, -51)):
            with self.subTest(dx=dx, dy=dy):
                saver, _ = self.start_saver_fullscreen()
                x0, y0 = kvharness.pointer_position()
                kvharness.mouse_move(x0 + dx, y0 + dy)
                self.assertEqual(saver.wait(10), 0)


class PasswordGate(HostCase):
    def test_a_refused_password_keeps_the_saver_with_the_cursor_hidden_and_a_right_one_closes_it(self):
        self.password_gate(answer=False)
        saver, window = self.start_saver_fullscreen()
        kvharness.key('Escape')
        kvharness.wait_until(kvharness.password_calls, 10, message='the password dialog')
        self.assert_still_running(saver, 'a refused password')
        calls = kvharness.password_calls()
        self.assertEqual(len(calls), 1)
        self.assertEqual(calls[0]['cursor_visible'], '1', 'the cursor shows for the dialog')
        self.assertFalse(kvharness.cursor_visible(), 'and is hidden again for the continuing run')
        self.assertEqual([w.id for w in saver.windows(name=SAVER, size=kvharness.screen_size())], [window.id])

        kvharness.set_password_answer(True)
        kvharness.key('Escape')
        self.assertEqual(saver.wait(10), 0)
        self.assertEqual(len(kvharness.password_calls()), 2, 'a later close asks again')


class PreviewMode(HostCase):
    def test_a_preview_handle_makes_the_saver_a_disabled_152_by_112_child_at_the_origin(self):
        self.password_gate(answer=False)
        program, report_path = self.start_displayprops('/p', '{preview}', until='child', close=True)
        self.assertEqual(program.wait(30), 0)
        report = kvharness.read_report(report_path)
        self.assertEqual(report['exited_before_sample'], '0')
        self.assertEqual(report['child'], '1')
        self.assertEqual(report['child_of_saver'], '1')
        self.assertEqual((report['child_x'], report['child_y']), ('0', '0'))
        self.assertEqual((report['child_width'], report['child_height']), ('152', '112'))
        self.assertEqual(report['child_disabled'], '1')
        style = int(report['child_style'], 16)
        self.assertTrue(style & WS_CHILD and style & WS_DISABLED, report['child_style'])
        self.assertEqual(report['child_title'], SAVER)
        self.assertEqual(report['saver_exited'], '1', 'the close is allowed without a password')
        self.assertEqual(kvharness.password_calls(), [], 'preview mode never asks for the password')

    def test_without_a_usable_handle_the_saver_is_an_ordinary_window_without_a_taskbar_entry(self):
        for args in (['/p'], ['/p', '-1']):
            with self.subTest(args=args):
                saver = self.start_saver(*args)
                window = saver.main_window(name=SAVER)
                self.assertEqual([w.id for w in self.viewable_windows(saver)], [window.id])
                self.assertNotEqual(window.size(), kvharness.screen_size())
                kvharness.wait_until(lambda: kvharness.motif_wm_hints(window.id)[2] & MWM_DECOR_TITLE, 5,
                                     message='a caption on the ordinary window')
                self.assertIn('_NET_WM_STATE_SKIP_TASKBAR', kvharness.net_wm_state(window.id))
                saver.stop(timeout=0)


class PasswordChangeMode(HostCase):
    def test_without_a_handle_no_dialog_is_shown_and_the_saver_keeps_running(self):
        saver = self.start_saver('/a')
        saver.main_window(name=SAVER)
        self.assert_still_running(saver, '/a alone')
        self.assertEqual({w.name for w in self.viewable_windows(saver)}, {SAVER}, 'no dialog')

    def test_with_a_handle_the_systems_password_change_runs_and_the_saver_quits(self):
        saver = self.start_saver('/a', '65636')
        self.assertEqual(saver.wait(20), 0)


if __name__ == '__main__':
    kvharness.main()
