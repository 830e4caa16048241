"""The About window of the real saver, opened with the mouse from the configuration panel's link:
one window however often the link is clicked, a fresh one after a close, and a product
identifier stored as binary data reported in the error box before a half-filled window opens."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import kvharness  # noqa: E402

PANEL_CLIENT = (417, 345)
ABOUT_CLIENT = (292, 197)
LINK = (20, 270)          # inside the panel's About label
CLOSE_BUTTON = (245, 180)  # inside the About window's Close button
# Right of where "lbCpu" ends and inside where the processor figure stands, in the About window.
CPU_FIGURE = (60, 124, 120, 10)
CURRENT_VERSION = r'HKLM\Software\Microsoft\Windows NT\CurrentVersion'


class AboutWindow(kvharness.SaverTestCase):
    def setUp(self):
        super().setUp()
        self.remove_settings()
        kvharness.numlock_off()
        self.saver = self.start_saver('/c')
        self.panel = self.saver.main_window(name='KINOVELA', size=PANEL_CLIENT, still=True)

    def about_windows(self):
        return self.saver.windows(name='About', size=ABOUT_CLIENT)

    def wait_for_about(self, other_than=()):
        return self.saver.main_window(name='About', size=ABOUT_CLIENT, still=True, other_than=other_than)

    def cpu_ink(self, about, shot):
        """Share of dark (text) pixels where the processor figure stands."""
        x, y, w, h = CPU_FIGURE
        return kvharness.colour_fraction(shot, 'black', (about.x + x, about.y + y, w, h), fuzz=40)

    def test_two_clicks_leave_one_window_and_after_a_close_the_link_opens_a_fresh_one_that_alt_c_closes(self):
        kvharness.click_at(self.panel, LINK)
        about = self.wait_for_about()
        kvharness.click_at(self.panel, LINK)
        # A second window or a second measurement would show well within this time.
        time.sleep(1.5)
        self.assertEqual([w.id for w in self.about_windows()], [about.id])
        shot = self.screenshot('about')
        self.assertGreater(self.cpu_ink(about, shot), 0.03, 'the processor figure is filled in')

        kvharness.click_at(about, CLOSE_BUTTON)
        kvharness.wait_until(lambda: not self.about_windows(), 10, message='the About window to close')
        kvharness.click_at(self.panel, LINK)
        fresh = self.wait_for_about(other_than=(about.id,))
        self.assertEqual(len(self.about_windows()), 1)
        # The figure follows the window by the half second its measurement takes.
        kvharness.wait_until(lambda: self.cpu_ink(fresh, self.screenshot('about-again')) > 0.03, 10,
                             message='the processor figure')
        kvharness.focus(fresh.id)
        kvharness.key('alt+c')
        kvharness.wait_until(lambda: not self.about_windows(), 10, message='Alt+C to close the About window')
        self.assertIsNone(self.saver.wait(0.1), 'the saver keeps running')

    def test_a_binary_product_identifier_shows_the_error_box_and_then_a_half_filled_window(self):
        self.set_registry_value(CURRENT_VERSION, 'ProductID', '55274640', 'REG_BINARY')
        kvharness.click_at(self.panel, LINK)
        box = self.saver.main_window(name='KINOVELA', other_than=(self.panel.id,), still=True)
        self.screenshot('error-box')
        self.assertEqual(self.about_windows(), [], 'the window opens after the box')
        kvharness.focus(box.id)
        kvharness.key('Return')
        about = self.wait_for_about()
        self.assertLess(self.cpu_ink(about, self.screenshot('half-filled')), 0.01, 'the processor line keeps "lbCpu"')


if __name__ == '__main__':
    kvharness.main()
