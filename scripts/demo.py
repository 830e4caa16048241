"""The whole story for a new user, with a screenshot of each step:

1. the setup program's window;
2. Install: KINOVELA.SCR lands in the system directory and hands itself to the Display control
   panel (here its test stand-in, which makes it the current screen saver);
3. the configuration panel that the installed saver opens, with a playlist of sample films;
4. the About window, opened from the panel's "About" link;
5. the full-screen run, as Windows starts it when the computer is idle, ended with a key.

The sample films come from ffmpeg's synthetic sources (a Mandelbrot zoom, a test card, the game of
life) with a tone (tests/tools/make-clips --demo). Runs on the user's display when DISPLAY is set, else on a virtual one. Uses its
own Wine prefix (build/demo/wine/prefix), never the user's; the first run makes it (about a minute).
"""
import os
import shutil
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

SETUP = os.path.join(ROOT, 'dist', 'win64', 'setup.exe')
CLIPS_DIR = os.path.join(DEMO, 'films')
FILMS = ['mandelbrot.mpg', 'testcard.avi', 'life.wmv', 'cellauto.mp4']  # made by make-clips --demo, six seconds each
SECONDS = 6
INSTALLED = r'C:\windows\system32\KINOVELA.SCR'
# Client places of the controls the story clicks.
SETUP_INSTALL = (341, 164)
SETUP_CLOSE = (429, 164)
PANEL_ABOUT_LINK = (20, 270)
PANEL_PLAY = (23, 160)
ABOUT_CLOSE = (245, 180)
PANEL_PREVIEW = (152, 16, 249, 145)  # x, y, width, height
WINDOW_TIMEOUT = 60


def say(text):
    print('demo: ' + text, flush=True)


def shoot(name):
    path = os.path.join(DEMO, 'screen-%s.png' % name)
    kv.screenshot(path)
    say('  screenshot %s' % path)
    return path


def make_films():
    subprocess.run([os.path.join(ROOT, 'tests', 'tools', 'make-clips'), '--demo', CLIPS_DIR], check=True)
    return [kv.windows_path(os.path.join(CLIPS_DIR, n)) for n in FILMS]


def fresh_system(playlist):
    """A system without the saver, with the stand-in Display control panel and a playlist ready."""
    for name in ('KINOVELA.SCR', kv.INI_FILE):
        path = os.path.join(kv.system32(), name)
        if os.path.exists(path):
            os.remove(path)
    kv.install_standin('desk.cpl')
    kv.write_playlist(playlist)
    kv.write_ini({'SOUND': {'MUTEWAVE': '0'}, 'MEDIA': {'CONTINUE': '0'}, 'Option': {'Language': '1'}})
    for name in os.listdir(DEMO):
        if name.startswith('screen-') and name.endswith('.png'):
            os.remove(os.path.join(DEMO, name))


def step_setup_window(programs):
    say('1. the setup program')
    setup = kv.WineProgram([kv.windows_path(SETUP)], log_path=os.path.join(DEMO, 'setup.log'))
    programs.append(setup)
    window = setup.main_window(name='KINOVELA SETUP', still=True, timeout=WINDOW_TIMEOUT)
    time.sleep(0.3)  # the bar's colour arrives with the first messages
    shoot('1-setup')
    return setup, window


def step_install(setup, window):
    say('2. Install')
    kv.click_at(window, SETUP_INSTALL)
    handed = kv.wait_until(kv.desk_launches, WINDOW_TIMEOUT, message='the hand-over to the Display control panel')
    say('  %s written (%d bytes), handed to desk.cpl: %s' % (
        INSTALLED, os.path.getsize(os.path.join(kv.system32(), 'KINOVELA.SCR')), handed[0]))
    say('  current screen saver: %s' % (kv.reg_query(kv.DESKTOP_KEY, 'SCRNSAVE.EXE') or ('', 'none'))[1])
    panel = setup.main_window(name='KINOVELA', still=True, timeout=WINDOW_TIMEOUT)
    shoot('2-installed')
    return panel


def step_panel(panel):
    """The panel with the playlist; Play starts the first film in its preview area."""
    say('3. the configuration panel of the installed saver, playing the first film in its preview')
    kv.click_at(panel, PANEL_PLAY)
    preview = (panel.x + PANEL_PREVIEW[0], panel.y + PANEL_PREVIEW[1]) + PANEL_PREVIEW[2:]
    path = os.path.join(DEMO, 'screen-latest.png')
    try:
        kv.wait_until(lambda: kv.brightness(kv.screenshot(path), preview) > 0.08, 20, interval=0.3,
                      message='the preview picture')
        time.sleep(1)  # a little way into the film
    except AssertionError:
        say('  the preview showed no picture within 20 s')
    os.remove(path)
    shoot('3-panel')


def step_about(setup, panel):
    """Opens the About window from the panel's link; reports when this build has none."""
    say('4. the About window')
    kv.click_at(panel, PANEL_ABOUT_LINK)
    try:
        about = setup.main_window(name='About', still=True, timeout=15)
    except AssertionError:
        say('  not yet available: no "About" window opened from the link')
        return
    shoot('4-about')
    kv.click_at(about, ABOUT_CLOSE)
    kv.wait_until(lambda: not kv.is_viewable(about.id), 15, message='the About window to close')


def step_close_setup(setup, setup_window, panel):
    kv.click_at(panel, (3, 3))
    kv.focus(panel.id)
    kv.key('alt+F4')
    kv.wait_until(lambda: not kv.leftover_processes('KINOVELA.SCR', setup.tag), 20,
                  message='the configuration panel to close')
    kv.click_at(setup_window, SETUP_CLOSE)
    say('  setup ended with exit code %s' % setup.wait(15))


def film_shown(shot):
    """Which sample film a screenshot shows: the test card has a cyan bar (and magenta ones), the
    cellular automaton is magenta on black without cyan, the game of life is mostly black, the
    Mandelbrot zoom is none of these; None for a black screen."""
    brightness = kv.brightness(shot)
    if brightness < 0.01:
        return None
    if kv.colour_fraction(shot, '#00ffff', fuzz=15) > 0.05:
        return 'testcard.avi'
    if kv.colour_fraction(shot, '#ff00ff', fuzz=15) > 0.05:
        return 'cellauto.mp4'
    return 'life.wmv' if brightness < 0.2 else 'mandelbrot.mpg'


def step_fullscreen(programs):
    say('5. the full-screen run, as Windows starts it: %s /s' % INSTALLED)
    def start(args):
        programs.append(kv.WineProgram(args, log_path=os.path.join(DEMO, 'saver.log')))
        return programs[-1]
    saver, window = kv.start_fullscreen(start, INSTALLED)
    path = os.path.join(DEMO, 'screen-latest.png')
    kv.wait_until(lambda: film_shown(kv.screenshot(path)), WINDOW_TIMEOUT, interval=0.3,
                  message='the first picture')
    say('  first picture %.1f s after the start' % (time.monotonic() - saver.started))
    # One look at each film, a second after it is first recognised, kept under the name of the
    # film that look shows (a resumed film may have ended in that second).
    seen = []
    deadline = time.monotonic() + len(FILMS) * SECONDS + 20
    while len(seen) < len(FILMS) and time.monotonic() < deadline and saver.running():
        film = film_shown(kv.screenshot(path))
        if film and film not in seen:
            time.sleep(1)  # a little way into it
            later = film_shown(kv.screenshot(path))
            if later == film:
                seen.append(film)
                shutil.copyfile(path, os.path.join(DEMO, 'screen-5-fullscreen-%d-%s.png' % (
                    len(seen), film.split('.')[0])))
                say('  screenshot of %s' % film)
        time.sleep(0.2)
    if len(seen) < len(FILMS):
        say('  only %s showed' % (', '.join(seen) or 'no film'))
    os.remove(path)
    kv.focus(window.id)
    pressed = time.monotonic()
    kv.key('Escape')
    code = saver.wait(15)
    if code is None:
        say('  the saver did not end on Escape')
        return False
    say('  ended with exit code %d, %.2f s after Escape' % (code, time.monotonic() - pressed))
    media = (kv.read_ini() or {}).get('MEDIA', {})
    say('  resume record: FILEPOSITION=%s CURRENTPOSITION=%s FILENAME=%s' % (
        media.get('FILEPOSITION'), media.get('CURRENTPOSITION'), media.get('FILENAME')))
    return code == 0


def main():
    for needed in (SETUP, kv.saver_file(), os.path.join(kv.standins_dir(), 'desk.cpl')):
        if not os.path.exists(needed):
            say('%s is missing: build first (make build)' % needed)
            return 1
    os.makedirs(DEMO, exist_ok=True)
    say('making the sample films in ' + CLIPS_DIR)
    playlist = make_films()
    say('preparing the Wine prefix and display (first time: about a minute)')
    env = kv.wine_env()
    say('display %s, prefix %s' % (env['DISPLAY'], env['WINEPREFIX']))
    fresh_system(playlist)
    programs = []
    try:
        setup, setup_window = step_setup_window(programs)
        panel = step_install(setup, setup_window)
        step_panel(panel)
        step_about(setup, panel)
        step_close_setup(setup, setup_window, panel)
        ok = step_fullscreen(programs)
    finally:
        for program in programs:
            program.stop(timeout=3)
    return 0 if ok else 1


if __name__ == '__main__':
    with kv.servers():
        code = main()
    sys.exit(code)
