"""The real saver with a real, timed sound device (wine-run's PulseAudio null sink): a resumed run
ends on a key, Mute decides whether sound reaches the device, the session's end keeps the resume
record and ends the run, and a preview ends with its preview window and is never heard."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'startup'))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'panel'))
import panelrun  # noqa: E402
import saverrun  # noqa: E402
from saverrun import clip_path, report  # noqa: E402

import kvharness  # noqa: E402

# RMS of 16-bit samples: the clips' tone at full volume is in the thousands, silence is 0.
AUDIBLE = 300
SILENT = 20


class ResumedRun(saverrun.StartupCase):
    def resumed_settings(self, position, mute=0):
        self.write_settings(mute, CONTINUE=1, FILEPOSITION=0, CURRENTPOSITION=position, FILENAME=clip_path('ten.mpg'))

    def test_a_resumed_run_plays_on_and_ends_on_a_key_with_and_without_a_sound_device(self):
        for position, no_sound in ((0, False), (2.9, False), (2.9, True)):
            with self.subTest(position=position, sound=not no_sound):
                self.resumed_settings(position)
                if no_sound:
                    os.environ['KINOVELA_NO_SOUND'] = '1'
                try:
                    run = self.start_fullscreen(['ten.mpg'])
                finally:
                    os.environ.pop('KINOVELA_NO_SOUND', None)
                run.wait_for_colour('red')
                seconds = run.end_with('Escape', timeout=10)
                report('resumed at %s s, sound %s: ended %.0f ms after the key' % (
                    position, 'off' if no_sound else 'on', seconds * 1000))
                self.assertGreater(float(self.resume_record()['CURRENTPOSITION']), position)

    def test_mute_decides_whether_the_clip_is_heard_through_either_engine(self):
        for name, colour in (('ten.mpg', 'red'), ('ten.mp4', 'magenta')):
            levels = {}
            for mute in (1, 0):
                self.resumed_settings(0, mute=mute)
                run = self.start_fullscreen([name])
                run.wait_for_colour(colour)
                with kvharness.SoundRecorder() as sound:
                    time.sleep(1.5)
                    sound.stop()
                    levels[mute] = sound.loudness()
                run.end_with('Escape')
            report('%s: sound level with Mute on %.0f, off %.0f' % (name, levels[1], levels[0]))
            self.assertLess(levels[1], SILENT, '%s: Mute on lets sound through' % name)
            self.assertGreater(levels[0], AUDIBLE, '%s: Mute off plays no sound' % name)

    def test_the_end_of_the_session_keeps_the_resume_record_and_ends_the_run(self):
        self.resumed_settings(2.9)
        run = self.start_fullscreen(['ten.mpg'])
        run.wait_for_colour('red')
        ended = kvharness.run_tool([kvharness.wine_env()['WINE'], 'wineboot', '--end-session'], timeout=60,
                                   check=False)
        self.assertEqual(run.program.wait(15), 0, 'the saver did not end cleanly with the session: %s' % ended)
        record = self.resume_record()
        self.assertEqual(record['FILENAME'], clip_path('ten.mpg'))
        self.assertGreater(float(record['CURRENTPOSITION']), 2.9)


class PanelSound(panelrun.PanelCase):
    def test_mute_decides_whether_the_panels_preview_is_heard(self):
        levels = {}
        for mute in (1, 0):
            panel = self.start_panel(playlist=['ten.mpg'], settings={
                'SOUND': {'MUTEWAVE': mute}, 'MEDIA': {'CONTINUE': 0}, 'Option': {'Language': 1}})
            panel.play_entry(0)
            with kvharness.SoundRecorder() as sound:
                time.sleep(1.5)
                sound.stop()
                levels[mute] = sound.loudness()
            panel.click('Cancel')
            self.assertEnded(panel)
        report('panel preview sound level with Mute on %.0f, off %.0f' % (levels[1], levels[0]))
        self.assertLess(levels[1], SILENT, 'Mute on lets sound through')
        self.assertGreater(levels[0], AUDIBLE, 'Mute off plays no sound')


class Preview(saverrun.StartupCase):
    def test_a_preview_is_silent_leaves_no_record_and_ends_with_its_preview_window(self):
        self.write_settings(0, CONTINUE=1, FILEPOSITION=0, CURRENTPOSITION=1, FILENAME=clip_path('ten.mpg'))
        self.write_playlist([clip_path('ten.mpg')])
        before = kvharness.read_ini()
        with kvharness.SoundRecorder() as sound:
            program, report_path = self.start_displayprops('/p', '{preview}', until='child', exit_ms=8000,
                                                           destroy_preview=True)
            self.assertEqual(program.wait(40), 0)
            sound.stop()
            level = sound.loudness()
        result = kvharness.read_report(report_path)
        self.assertEqual(result['child_of_saver'], '1', 'the preview was embedded')
        self.assertEqual(result['saver_exited'], '1', 'the preview went on without its window')
        after_destroy = int(result['exit_ms']) - int(result['preview_destroyed_ms'])
        report('preview ended %d ms after its window was destroyed; sound level %.0f' % (after_destroy, level))
        self.assertLess(after_destroy, 2500)
        self.assertLess(level, SILENT, 'the preview made a sound')
        self.assertEqual(kvharness.read_ini(), before, 'the preview wrote the resume record')

    def test_a_handle_that_names_no_window_ends_at_once_with_no_window(self):
        self.write_settings()
        self.write_playlist([clip_path('ten.mpg')])
        saver = self.start_saver('/p', '123456')
        self.assertEqual(saver.wait(10), 0)
        self.assertEqual(saver.windows(), [])


if __name__ == '__main__':
    kvharness.main()
