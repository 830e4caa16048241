"""The configuration panel of the real saver, used as a user would: the playlist edited through
the open dialog, the list and its Delete key, Apply, OK and Close, the language switch, a
double-click that plays in the preview area, a playlist of names in several scripts that goes
through Apply and two runs, and a save into a folder that cannot be written."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import panelrun  # noqa: E402
from panelrun import saverrun  # noqa: E402

import kvharness  # noqa: E402

clip = saverrun.clip_path


def clip_file(name):
    return os.path.join(kvharness.clips_dir(), name)


class PlaylistEditing(panelrun.PanelCase):
    @staticmethod
    def three_settings(ini):
        try:
            return ini['SOUND']['MUTEWAVE'], ini['MEDIA']['CONTINUE'], ini['Option']['Language']
        except (KeyError, TypeError):
            return None

    def test_add_remove_apply_the_delete_key_and_close(self):
        panel = self.start_panel()
        panel.shoot('initial')
        panel.add_file(clip_file('clip.mpg'))
        panel.add_file(clip_file('clip.avi'))
        panel.add_file(clip_file('clip.wmv'))
        panel.add_file(clip_file('clip.dat'))
        panel.click_entry(1)
        panel.click_entry(2, modifier='shift')
        panel.click('Remove')
        panel.apply()
        self.assertEqual(kvharness.read_playlist(), [clip('clip.mpg'), clip('clip.dat')],
                         'the 2nd and 3rd of four removed; Apply writes the rest')
        # The settings file follows the playlist.
        settings = kvharness.wait_until(lambda: self.three_settings(kvharness.read_ini()), 10, message='the settings')
        self.assertEqual(settings, ('0', '0', '0'), 'Apply writes the three settings; no language chosen stores Thai')

        panel.click_entry(0)
        panel.key('Delete')
        panel.click_entry(0)
        panel.apply()
        self.assertEqual(kvharness.read_playlist(), [clip('clip.dat')], 'Delete in the playlist removes the entry')
        panel.key('Delete')  # the focus is on Apply now, the entry still selected
        panel.apply()
        self.assertEqual(kvharness.read_playlist(), [clip('clip.dat')], 'Delete elsewhere removes nothing')

        panel.add_file(clip_file('clip.avi'))
        panel.shoot('before-close')
        panel.click('Cancel')
        self.assertEnded(panel)
        self.assertEqual(kvharness.read_playlist(), [clip('clip.dat')], 'Close drops the edits')


class Language(panelrun.PanelCase):
    def test_a_hint_english_captions_then_close_keeps_the_saved_language(self):
        panel = self.start_panel(playlist=['clip.mpg'],
                                 settings={'SOUND': {'MUTEWAVE': '1'}, 'MEDIA': {'CONTINUE': '0'},
                                           'Option': {'Language': '0'}})
        panel.hover('Play')
        hint = panel.tooltip()
        self.assertLess(abs(hint.y - (panel.window.y + panelrun.CONTROLS['Play'][1])), 60, 'the hint shows by the button')
        area = panel.region(panelrun.BUTTONS_AREA)
        thai = panelrun.signature(panel.shoot('thai'), area)
        panel.click('EN')
        kvharness.wait_until(lambda: panelrun.signature(panel.shoot('english'), area) != thai, 10, interval=0.2,
                             message='the buttons to show other captions')
        panel.click('Cancel')
        self.assertEnded(panel)
        self.assertEqual(kvharness.read_ini()['Option']['Language'], '0', 'Close stored no language')


class PreviewAndOk(panelrun.PanelCase):
    def test_a_double_click_plays_in_the_preview_area_and_ok_writes_and_closes(self):
        # A clip long enough that Stop lands while it plays, not while the next one opens.
        panel = self.start_panel(playlist=['clip.avi', 'ten.mpg'])
        self.assertEqual(panel.play_entry(1), 'red', 'the clicked entry plays in the preview area')
        # A button that carries a hint answers a click too (the hint control subclasses it).
        panel.click('Stop')
        kvharness.wait_until(lambda: saverrun.picture_colour(panel.shoot('stopped'), panel.region(
            panelrun.PREVIEW_AREA)) == 'black', 10, interval=0.2, message='Stop to hide the picture')
        # Stop may have landed in Play's wait after the open: Play after it shows the clip again.
        panel.click('Play')
        kvharness.wait_until(lambda: saverrun.picture_colour(panel.shoot('played again'), panel.region(
            panelrun.PREVIEW_AREA)) == 'red', 10, interval=0.2, message='Play after Stop to show the clip')
        panel.click('OK')
        self.assertEnded(panel)
        self.assertEqual(kvharness.read_playlist(), [clip('clip.avi'), clip('ten.mpg')])
        self.assertIn('Option', kvharness.read_ini())


class NamesInAnyScript(panelrun.PanelCase, saverrun.StartupCase):
    # Each name on a clip of its own colour: the screen tells which entry plays.
    NAMES = [('caf\u00e9 d\u00e9j\u00e0 vu.wmv', 'clip.wmv', 'blue'), ('\u7535\u5f71 \u7247\u6bb5.avi', 'clip.avi', 'green'),
             ('\u0e20\u0e32\u0e1e\u0e22\u0e19\u0e15\u0e23\u0e4c.mpg', 'ten.mpg', 'red')]

    def test_a_utf8_playlist_survives_apply_every_entry_plays_and_the_next_run_resumes_its_thai_file(self):
        folder = os.path.join(self.work_dir, 'videos')
        os.makedirs(folder)
        paths = []
        for name, source, _ in self.NAMES:
            shutil.copyfile(clip_file(source), os.path.join(folder, name))
            paths.append(kvharness.windows_path(os.path.join(folder, name)))
        settings = {'SOUND': {'MUTEWAVE': '1'}, 'MEDIA': {'CONTINUE': '1'}, 'Option': {'Language': '1'}}
        panel = self.start_panel(paths, settings, utf8=True)
        panel.apply()
        self.assertEqual(kvharness.read_playlist(), paths, 'Apply with no edit names the same files')
        panel.click('Cancel')
        self.assertEnded(panel)

        run = self.start_fullscreen(None, written=True)
        run.watch_sequence([colour for _, _, colour in self.NAMES], timeout=40)
        kvharness.wait_until(lambda: (saverrun.clip_seconds_shown(run.look('thai')[1], 'ten.mpg') or 0) >= 1, 10,
                             interval=0.2, message='a second into the Thai-named clip')
        run.end_with('Escape')
        record = self.resume_record()
        self.assertEqual(record.get('FILEPOSITION'), '2')
        self.assertNotIn('?', record.get('FILENAME', '?'))

        resumed = self.start_fullscreen(None, written=True)
        colour, _ = resumed.wait_for_colour(('blue', 'green', 'red'))
        self.assertEqual(colour, 'red', 'the resumed run finds its Thai-named file')
        resumed.end_with('Escape')


class FailedSave(panelrun.PanelCase):
    def notice_ink(self, panel, name):
        return kvharness.colour_fraction(panel.shoot(name), panelrun.NOTICE_COLOUR, panel.region(panelrun.NOTICE_AREA))

    def test_a_settings_folder_that_cannot_be_written_shows_the_notice_and_ok_keeps_the_panel(self):
        panel = self.start_panel(playlist=['clip.mpg'], settings=saverrun.SETTINGS)
        panel.add_file(clip_file('clip.avi'))
        self.assertLess(self.notice_ink(panel, 'before'), 0.005)
        before = kvharness.read_ini(), kvharness.read_playlist()
        if not self.make_immutable(kvharness.system32()):
            self.skipTest('chattr is not permitted here')
        panel.click('OK')
        kvharness.wait_until(lambda: self.notice_ink(panel, 'not-saved') > 0.02, 10, interval=0.2,
                             message='the notice')
        self.assertIsNone(panel.wait_for_end(0.5), 'OK keeps the panel open')
        self.assertEqual((kvharness.read_ini(), kvharness.read_playlist()), before, 'the files are as before')
        panel.click('Cancel')
        self.assertEnded(panel)


if __name__ == '__main__':
    kvharness.main()
