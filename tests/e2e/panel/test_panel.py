"""The configuration panel of the real saver, used as a user would: the playlist edited through
the open dialog, the list and its Delete key, Apply, OK and Close, the language switch, and a
double-click that plays in the preview area."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import panelrun  # noqa: E402
from panelrun import saverrun  # noqa: E402

import kvharness  # noqa: E402

clip = saverrun.clip_path


def clip_file(name):
    return os.path.join(kvharness.clips_dir(), name)


class PlaylistEditing(panelrun.PanelCase):
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
        panel.click('Apply')
        self.assertEqual(kvharness.read_playlist(), [clip('clip.mpg'), clip('clip.dat')],
                         'the 2nd and 3rd of four removed; Apply writes the rest')
        ini = kvharness.read_ini()
        self.assertEqual((ini['SOUND']['MUTEWAVE'], ini['MEDIA']['CONTINUE'], ini['Option']['Language']),
                         ('0', '0', '0'), 'Apply writes the three settings; no language chosen stores Thai')

        panel.click_entry(0)
        panel.key('Delete')
        panel.click_entry(0)
        panel.click('Apply')
        self.assertEqual(kvharness.read_playlist(), [clip('clip.dat')], 'Delete in the playlist removes the entry')
        panel.key('Delete')  # the focus is on Apply now, the entry still selected
        panel.click('Apply')
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
        thai = panel.shoot('thai')
        panel.click('EN')
        english = panel.shoot('english')
        area = panel.region(panelrun.BUTTONS_AREA)
        self.assertNotEqual(panelrun.signature(thai, area), panelrun.signature(english, area),
                            'the buttons show other captions')
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


if __name__ == '__main__':
    kvharness.main()
