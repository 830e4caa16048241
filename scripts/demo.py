"""The main job: the screen saver plays sample clips full screen under Wine, and we keep screenshots.

Makes the sample clips, writes a playlist of the four clip kinds and the settings into the demo
prefix, runs KINOVELA.SCR /s, takes a screenshot when the first picture shows and one for each
clip that follows, ends the run with Escape and prints the screenshots and the resume record.

Runs on the user's display when DISPLAY is set, else on a virtual one. Uses its own Wine prefix
(build/demo/wine/prefix), never the user's; the first run makes it (about a minute).
"""
import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
DEMO = os.path.join(ROOT, 'build', 'demo')
os.environ['KINOVELA_BUILD'] = DEMO
os.environ['KINOVELA_ROOT'] = ROOT
os.environ['KINOVELA_CLIPS'] = os.path.join(DEMO, 'clips')
if os.environ.get('DISPLAY') and not os.environ.get('KINOVELA_DISPLAY'):
    os.environ['KINOVELA_DISPLAY'] = os.environ['DISPLAY']
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e'))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e', 'startup'))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e', 'panel'))

import kvharness as kv  # noqa: E402
import panelrun  # noqa: E402
import saverrun  # noqa: E402

CLIPS = ['clip.mpg', 'clip.avi', 'clip.wmv', 'clip.dat']
# Each clip plays 3 s; the first picture can take a while on a busy machine.
PICTURE_TIMEOUT = 60
NEXT_CLIP_TIMEOUT = 15


def say(text):
    print('demo: ' + text, flush=True)


def shoot(name):
    path = os.path.join(DEMO, 'screen-%s.png' % name)
    kv.screenshot(path)
    return path, saverrun.picture_colour(path)


def wait_for_colour(saver, wanted, timeout):
    """Screenshots until one shows a colour in wanted (or the saver ends); the last one's (path, colour)."""
    deadline = time.monotonic() + timeout
    while True:
        path, colour = shoot('latest')
        if colour in wanted or time.monotonic() > deadline or not saver.running():
            return path, colour
        time.sleep(0.2)


def panel_screenshot():
    """The configuration panel with the demo playlist, its first clip playing in the preview area;
    closed without saving. Returns the screenshot's path, or None when no picture showed."""
    say('starting KINOVELA.SCR /c and playing the first clip in the preview area')
    program = kv.WineProgram([kv.saver_windows_path(), '/c'], log_path=os.path.join(DEMO, 'panel.log'))
    try:
        panel = panelrun.Panel(program, panelrun.find_panel(program), DEMO)
        panel.play_entry(0, timeout=PICTURE_TIMEOUT)
        # Only the window, not the whole display.
        x, y, w, h = panel.region((0, 0, panel.window.width, panel.window.height))
        path = os.path.join(DEMO, 'screen-panel.png')
        kv.run_tool(['convert', os.path.join(DEMO, 'playing.png'), '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage',
                     path])
        os.remove(os.path.join(DEMO, 'playing.png'))
        panel.click('Cancel')
        panel.wait_for_end()
        say('screenshot %s  (the configuration panel, a clip in the preview area)' % path)
        return path
    except AssertionError as e:
        say('the panel showed no picture: %s' % e)
        return None
    finally:
        program.stop()


def main():
    if not os.path.exists(kv.saver_file()):
        say('%s is missing: build it first (make build)' % kv.saver_file())
        return 1
    os.makedirs(DEMO, exist_ok=True)
    clips = kv.clips_dir()
    say('making sample clips in ' + clips)
    subprocess.run([os.path.join(ROOT, 'tests', 'tools', 'make-clips'), clips], check=True)
    say('preparing the Wine prefix and display (first time: about a minute)')
    env = kv.wine_env()
    say('display %s, prefix %s' % (env['DISPLAY'], env['WINEPREFIX']))
    for name in os.listdir(DEMO):
        if name.startswith('screen-') and name.endswith('.png'):
            os.remove(os.path.join(DEMO, name))

    # A fresh settings file each time, so no resume record of an earlier demo changes the start.
    kv.write_playlist([saverrun.clip_path(n) for n in CLIPS])
    kv.write_ini({'SOUND': {'MUTEWAVE': '0'}, 'MEDIA': {'CONTINUE': '0'}, 'Option': {'Language': '1'}})
    kv.park_pointer()
    say('starting KINOVELA.SCR /s on ' + ', '.join(CLIPS))
    saver = kv.WineProgram([kv.saver_windows_path(), '/s'], log_path=os.path.join(DEMO, 'saver.log'))
    started = time.monotonic()
    shots, code, ended_in = [], None, None
    try:
        size = kv.screen_size()
        window = kv.wait_until(lambda: (saver.windows(size=size) or [None])[0] if saver.running() else True,
                               PICTURE_TIMEOUT, message='the saver window')
        if window is True:
            say('the saver ended before its window showed; see %s' % saver.log_path)
            return 1
        say('the window covers the screen %.1f s after the start' % (time.monotonic() - started))

        colours = [saverrun.CLIP_COLOURS[n] for n in CLIPS]
        path, colour = wait_for_colour(saver, colours, PICTURE_TIMEOUT)
        for index in range(3):
            if colour not in colours:
                break
            name = '%d-%s' % (index + 1, CLIPS[colours.index(colour)])
            final = os.path.join(DEMO, 'screen-%s.png' % name)
            os.replace(path, final)
            shots.append((final, colour, time.monotonic() - started))
            if index == 2:
                break
            others = [c for c in colours if c != colour]
            path, colour = wait_for_colour(saver, others, NEXT_CLIP_TIMEOUT)
        if os.path.exists(os.path.join(DEMO, 'screen-latest.png')):
            os.remove(os.path.join(DEMO, 'screen-latest.png'))

        if saver.running():
            kv.focus(window.id)
            pressed = time.monotonic()
            kv.key('Escape')
            code = saver.wait(15)
            ended_in = time.monotonic() - pressed
    finally:
        saver.stop()

    for path, colour, at in shots:
        say('screenshot %s  (%s, %.1f s after the start)' % (path, colour, at))
    if code is None:
        say('the saver did not end on Escape; it was stopped')
    else:
        say('the saver ended with exit code %d, %.2f s after Escape' % (code, ended_in))
    media = (kv.read_ini() or {}).get('MEDIA', {})
    say('resume record in %s: FILEPOSITION=%s CURRENTPOSITION=%s FILENAME=%s' % (
        os.path.join(kv.system32(), kv.INI_FILE), media.get('FILEPOSITION'), media.get('CURRENTPOSITION'),
        media.get('FILENAME')))
    panel = panel_screenshot()
    if len(shots) < 2:
        say('FAILED: expected the picture and the next clip, saw %s' % ([c for _, c, _ in shots] or 'no picture'))
        return 1
    if not panel:
        say('FAILED: the configuration panel showed no picture in its preview area')
        return 1
    return 0 if code == 0 else 1


if __name__ == '__main__':
    sys.exit(main())
