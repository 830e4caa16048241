"""The main job: the screen saver plays sample clips full screen under Wine, and we keep screenshots.

Runs on the user's display when DISPLAY is set, else on a virtual one. Uses its own Wine prefix
(build/demo/wine/prefix), never the user's.
"""
import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
DEMO = os.path.join(ROOT, 'build', 'demo')
os.environ['KINOVELA_BUILD'] = DEMO
os.environ['KINOVELA_ROOT'] = ROOT
if os.environ.get('DISPLAY') and not os.environ.get('KINOVELA_DISPLAY'):
    os.environ['KINOVELA_DISPLAY'] = os.environ['DISPLAY']
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e'))

import kvharness as kv  # noqa: E402


def main():
    os.makedirs(DEMO, exist_ok=True)
    clips = os.path.join(DEMO, 'clips')
    print('demo: making sample clips in', clips)
    subprocess.run([os.path.join(ROOT, 'tests', 'tools', 'make-clips'), clips], check=True)
    print('demo: preparing the Wine prefix and display (first time: about 15 s)')
    env = kv.wine_env()
    print('demo: display', env['DISPLAY'], 'prefix', env['WINEPREFIX'])

    playlist = [kv.windows_path(os.path.join(clips, n)) for n in ('clip.mpg', 'clip.avi', 'clip.wmv', 'clip.dat')]
    kv.write_playlist(playlist)
    kv.write_ini({'SOUND': {'MUTEWAVE': '0'}, 'MEDIA': {'CONTINUE': '0'}, 'Option': {'Language': '1'}})

    kv.park_pointer()
    saver = kv.WineProgram([kv.saver_windows_path(), "/s"])
    started = time.time()
    shots = []
    try:
        for name, at in (('picture', 2.0), ('next-clip', 4.5), ('third-clip', 7.5)):
            time.sleep(max(0.0, at - (time.time() - started)))
            path = os.path.join(DEMO, 'screen-%s.png' % name)
            kv.screenshot(path)
            shots.append((path, kv.mean_colour(path)))
        windows = saver.windows()
        if windows:
            kv.focus(windows[0].id)
        kv.key('Escape')
        code = saver.wait(15)
    finally:
        saver.stop()

    print('demo: the saver ended with exit code', code)
    for path, colour in shots:
        print('demo: screenshot %s  (mean colour %s)' % (path, colour))
    ini = kv.read_ini() or {}
    media = ini.get('MEDIA', {})
    print('demo: resume record in %s: FILEPOSITION=%s CURRENTPOSITION=%s FILENAME=%s' % (
        os.path.join(kv.system32(), kv.INI_FILE), media.get('FILEPOSITION'), media.get('CURRENTPOSITION'),
        media.get('FILENAME')))


if __name__ == '__main__':
    main()
