"""Input during a full-screen run, sent as a user would: the seek keys move the picture and the
stored position, Ctrl alone ends nothing, and the password gate can refuse the close."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import saverrun  # noqa: E402
from saverrun import clip_path, clip_seconds_shown, report  # noqa: E402

import kvharness  # noqa: E402


def wait_for_square(run, label):
    """(seconds into ten.mpg the screen shows, monotonic time of the screenshot)."""
    def shown():
        _, shot = run.look(label)
        return clip_seconds_shown(shot, 'ten.mpg')
    seconds = kvharness.wait_until(shown, 20, interval=0.2, message='the square of ten.mpg')
    return seconds, time.monotonic()


class SeekKeys(saverrun.StartupCase):
    def test_seek_keys_move_the_stored_position_and_ctrl_alone_does_not_end_the_run(self):
        self.write_settings()
        run = self.start_fullscreen(['long.mpg'])
        run.wait_for_colour('red')
        started = time.monotonic()

        # A run ends within a tenth of a second of a key that ends it.
        run.press('Control_L')
        self.assertIsNone(run.program.wait(0.5), 'Ctrl alone ended the run')
        # Keypad 9 from the start would land in the last tenth of the 100 s clip, where Wine's
        # MPEG demuxer ends the stream on a seek; keypad 7 moves forward, and keypad 9 is then
        # tried where +90 lies past the end and must do nothing.
        run.set_numlock(True)
        for key in (kvharness.keypad_key(7), kvharness.keypad_key(9), 'ctrl+' + kvharness.keypad_key(3), 'Right'):
            run.press(key)  # +70, past the end, -30, +10
        self.assertIsNone(run.program.wait(0.5), 'a seek key ended the run')
        run.set_numlock(False)
        # Playback had begun a moment before the picture was first seen.
        expected = time.monotonic() - started + 50
        run.end_with('Escape')
        record = self.resume_record()
        self.assertEqual(record.get('FILENAME'), clip_path('long.mpg'))
        report('after +70, +90 (past the end), -30, +10: stored %s s, expected about %.1f s' % (
            record.get('CURRENTPOSITION'), expected))
        self.assertTrue(expected - 0.5 <= float(record['CURRENTPOSITION']) <= expected + 3, record)


class PasswordGate(saverrun.StartupCase):
    def test_a_refused_close_keeps_the_video_playing_and_writes_no_record_until_the_password_is_right(self):
        self.write_settings()
        self.password_gate(answer=False)
        run = self.start_fullscreen(['ten.mpg'])
        run.wait_for_colour('red')
        before, before_time = wait_for_square(run, 'before')
        run.press('Escape')
        kvharness.wait_until(lambda: len(kvharness.password_calls()) == 1, 10, message='the password question')
        after, after_time = wait_for_square(run, 'refused')
        self.assertTrue(run.still_running(), 'the refused close ended the run')
        self.assertAlmostEqual(after - before, after_time - before_time, delta=1.5, msg='the video plays on')
        self.assertEqual(self.resume_record(), {}, 'a refused close writes no resume record')

        kvharness.set_password_answer(True)
        run.end_with('Escape')
        self.assertEqual(len(kvharness.password_calls()), 2)
        record = self.resume_record()
        self.assertEqual((record.get('FILEPOSITION'), record.get('FILENAME')), ('0', clip_path('ten.mpg')))


if __name__ == '__main__':
    kvharness.main()
