"""The setup program from outside, as a user drives it: Install on a clean system, the question
before an installed saver is replaced, a target that cannot be written, and the keyboard. The
window's controls are read inside Wine by winprobe.exe; the desk.cpl stand-in records the hand-over."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import kvharness  # noqa: E402

TITLE = 'KINOVELA SETUP'
CLIENT_SIZE = (469, 184)
# Centres of the buttons and the bar's place, in client coordinates.
INSTALL_AT = (341, 164)
CLOSE_AT = (429, 164)
BAR = (2, 128, 465, 16)
TARGET = r'C:\windows\system32\KINOVELA.SCR'
# winprobe writes a CR as the two characters \r.
QUESTION = 'ตรวจพบไฟล์ติดตั้งในระบบอยู่แล้ว \\rท่านต้องการติดตั้งแทนที่ใช่หรือไม่ '
# No title is set: the program file's name up to its full stop.
ERROR_TITLE = 'setup'


class SetupCase(kvharness.SaverTestCase):
    def setUp(self):
        super().setUp()
        self.target = self.keep_file(os.path.join(kvharness.system32(), 'KINOVELA.SCR'))
        if os.path.exists(self.target):
            os.remove(self.target)
        self.install_standin('desk.cpl')
        self.delete_registry_value(kvharness.DESKTOP_KEY, 'SCRNSAVE.EXE')
        with open(kvharness.saver_file(), 'rb') as f:
            self.saver = f.read()

    # ---- driving the window --------------------------------------------------------------------

    def start_setup(self):
        program = self.start([kvharness.windows_path(os.path.join(kvharness.ROOT, 'dist', 'win64', 'setup.exe'))])
        window = program.main_window(name=TITLE, still=True)
        self.assertEqual(window.size(), CLIENT_SIZE)
        return program, window

    def state(self):
        """(Install enabled, second button's caption, bar text) as the window shows them."""
        controls = kvharness.window_controls(TITLE)
        bar, install, close = controls
        self.assertEqual([c.cls for c in controls], ['msctls_progress32', 'Button', 'Button'])
        self.assertEqual(install.text, 'Install')
        return install.enabled, close.text, bar.text

    def assert_ready(self):
        enabled, caption, bar = self.state()
        self.assertEqual((enabled, caption), (True, 'Close'))
        self.assertTrue(bar.startswith('pos=0 '), bar)

    def wait_for_box(self, program, title):
        return program.main_window(name=title, timeout=15)

    def answer(self, box, key):
        kvharness.focus(box.id)
        kvharness.key(key)
        kvharness.wait_until(lambda: not kvharness.is_viewable(box.id), 15, message='the box to close')

    def box_text(self, title):
        controls = kvharness.wait_until(lambda: kvharness.window_controls(title, '#32770'), 10,
                                        message='the texts of "%s"' % title)
        return [c.text for c in controls if c.cls == 'Static' and c.text]

    def target_bytes(self):
        with open(self.target, 'rb') as f:
            return f.read()

    def saver_processes(self):
        return kvharness.leftover_processes('KINOVELA.SCR')

    def close_started_saver(self, program):
        window = program.main_window(name='KINOVELA')
        # A click on its corner (clear of the setup window) makes it the foreground window.
        kvharness.click_at(window, (3, 3))
        kvharness.focus(window.id)
        kvharness.key('alt+F4')
        kvharness.wait_until(lambda: not self.saver_processes(), 15, message='the started saver to end')

    def finish(self, program, window):
        # With no window manager a window shown later lies above the top-most setup window in
        # X's stacking, and would take the click.
        kvharness.run_tool(['xdotool', 'windowraise', window.id])
        kvharness.click_at(window, CLOSE_AT)
        self.assertEqual(program.wait(15), 0)

    # ---- the cases -----------------------------------------------------------------------------

    def test_install_on_a_clean_system_writes_the_saver_animates_and_hands_it_over(self):
        program, window = self.start_setup()
        self.screenshot('1-ready')
        self.assert_ready()
        self.assertIn('color=008000', self.state()[2], 'the bar is green')

        kvharness.click_at(window, INSTALL_AT)
        clicked = time.monotonic()
        # The bar climbs for about 0.42 s: look at it as often as the display allows.
        frames = []
        while time.monotonic() - clicked < 2.5:
            frames.append(os.path.join(self.work_dir, 'bar-%02d.png' % len(frames)))
            kvharness.run_tool(['import', '-window', window.id, '-crop', '%dx%d+%d+%d' % (BAR[2], BAR[3], BAR[0], BAR[1]),
                                frames[-1]])
        green = [kvharness.colour_fraction(f, '#008000') for f in frames]
        kvharness.report('bar frames: %d, green share per frame: %s' % (len(frames), ' '.join('%.2f' % g for g in green)))
        self.assertTrue(any(0.05 < g for g in green), 'the bar was seen climbing in green')
        self.assertLess(green[-1], 0.05, 'the bar rests at 0 afterwards')

        kvharness.wait_until(lambda: kvharness.desk_launches(), 20, message='the hand-over to desk.cpl')
        self.assertEqual(self.target_bytes(), self.saver, 'KINOVELA.SCR is the built saver byte for byte')
        self.assertEqual(kvharness.desk_launches(), [TARGET])
        started = [pid for pid, _ in self.saver_processes()]
        self.assertEqual(len(started), 1)
        with open('/proc/%d/cmdline' % started[0], 'rb') as f:
            argv = [a for a in f.read().decode('utf-8', 'replace').split('\0') if a]
        self.assertEqual(argv, [TARGET, '-INSTALL'], 'the path and the switch are two arguments')
        enabled, caption, bar = self.state()
        self.assertEqual((enabled, caption), (False, 'Finish'))
        self.assertTrue(bar.startswith('pos=0 range=0..20 '), bar)
        self.screenshot('2-installed')

        # Finish ends the setup program only; the saver it started goes on.
        self.finish(program, window)
        self.assertEqual([pid for pid, _ in self.saver_processes()], started)
        self.close_started_saver(program)

    def test_no_or_escape_keeps_the_installed_file_and_a_later_install_asks_again(self):
        with open(self.target, 'wb') as f:
            f.write(b'an earlier saver')
        program, window = self.start_setup()
        for key in ('Escape', 'n'):
            if key == 'Escape':
                # Install has the keyboard from the start.
                kvharness.focus(window.id)
                kvharness.key('space')
            else:
                kvharness.click_at(window, INSTALL_AT)
            box = self.wait_for_box(program, 'Information')
            self.assertEqual(self.box_text('Information'), [QUESTION])
            self.screenshot('question-' + key)
            self.answer(box, key)
            self.assert_ready()
            self.assertEqual(self.target_bytes(), b'an earlier saver')
        self.assertEqual(kvharness.desk_launches(), [])
        self.assertEqual(self.saver_processes(), [])
        self.finish(program, window)

    def test_from_the_first_focus_tab_then_enter_closes_without_installing_and_so_does_escape(self):
        for keys in (('Tab', 'Return'), ('Escape',)):
            program, window = self.start_setup()
            kvharness.focus(window.id)
            kvharness.key(*keys)
            self.assertEqual(program.wait(15), 0, '%s ends setup' % '+'.join(keys))
            self.assertFalse(os.path.exists(self.target), 'nothing was installed')
        self.assertEqual(kvharness.desk_launches(), [])

    def test_yes_replaces_a_longer_file_in_full(self):
        with open(self.target, 'wb') as f:
            f.write(self.saver + b'\xAA' * 100000)
        program, window = self.start_setup()
        kvharness.click_at(window, INSTALL_AT)
        self.answer(self.wait_for_box(program, 'Information'), 'Return')
        kvharness.wait_until(lambda: kvharness.desk_launches(), 20, message='the hand-over to desk.cpl')
        self.assertEqual(self.target_bytes(), self.saver, 'no tail of the longer file is left')
        self.assertEqual(self.state()[:2], (False, 'Finish'))
        self.close_started_saver(program)
        self.finish(program, window)

    def expect_failure(self, program, window, reason):
        kvharness.click_at(window, INSTALL_AT)
        self.answer(self.wait_for_box(program, 'Information'), 'Return')
        box = self.wait_for_box(program, ERROR_TITLE)
        self.assertEqual(self.box_text(ERROR_TITLE), ['Cannot create file "%s". %s.' % (TARGET, reason)])
        self.screenshot('error-' + reason.replace(' ', '-').lower())
        self.answer(box, 'Return')
        self.assert_ready()
        self.assertEqual(kvharness.desk_launches(), [])

    def test_a_target_that_cannot_be_written_shows_the_error_and_the_window_stays_ready(self):
        # The saver installed before, told from the new one by bytes after its end (it still runs).
        old = self.saver + b'\0an earlier build'
        with open(self.target, 'wb') as f:
            f.write(old)
        # Held by a running saver: the system will not replace a running program's file.
        # It starts first, so that its window lies below the setup window.
        holder = self.start([TARGET, '/c'])
        holder.main_window(name='KINOVELA')
        program, window = self.start_setup()
        self.expect_failure(program, window, 'Access denied')
        self.assertEqual(self.target_bytes(), old, 'the running saver keeps its file')
        self.close_started_saver(holder)

        # Read-only. As root the file's mode alone does not stop a write, so it is made immutable too.
        os.chmod(self.target, 0o444)
        self.addCleanup(os.chmod, self.target, 0o644)
        if self.make_immutable(self.target):
            self.expect_failure(program, window, 'Access denied')
        elif os.geteuid() != 0:
            self.expect_failure(program, window, 'Access denied')
        else:
            kvharness.report('read-only case left out: chattr is not permitted here')
        self.assertEqual(self.target_bytes(), old)
        self.assertFalse(os.path.exists(self.target + '.new'), 'no staging file is left')
        self.finish(program, window)


if __name__ == '__main__':
    kvharness.main()
