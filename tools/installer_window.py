"""Drives the real RavellInstaller.exe under Wine and Xvfb as a user would: finds its window
and its prompts on the X screen, clicks and types with xdotool, takes screenshots and reads
pixels from them."""
import os
import re
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
sys.path.insert(0, os.path.join(ROOT, 'tools'))
from fake_scenario import Scenario, winpath  # noqa: E402,F401
from wine_programs import WINE_RUN, wine, wine_output, unix_path  # noqa: E402,F401

# Client rectangles (left, top, right, bottom) of what the tests press, from the skin's layout.
MAIN = {
    'defaultInstallBtn': (200, 215, 400, 261), 'customeBtn': (489, 361, 589, 379),
    'closebtn': (562, 12, 586, 36), 'minbtn': (514, 12, 538, 36),
    'installDirEdit': (129, 179, 469, 215), 'customeInstallBtn': (200, 302, 400, 348),
    'backBtn': (10, 11, 74, 41),
}
PROMPTS = {  # size -> buttons
    'ExitTipWnd.xml': ((360, 180), {'okBtn': (167, 130, 243, 162), 'cancelBtn': (263, 130, 339, 162),
                                    'closebtn': (324, 8, 348, 32)}),
    'InstalledPathTipWnd.xml': ((400, 180), {'cancelBtn': (131, 128, 231, 160),
                                             'okBtn': (246, 128, 356, 160),
                                             'closebtn': (364, 3, 388, 27)}),
    'NetworkTipWnd.xml': ((360, 180), {'cancelBtn': (182, 130, 258, 160),
                                       'okBtn': (268, 130, 344, 160), 'closebtn': (324, 3, 348, 27)}),
    'MessageBox1Wnd.xml': ((360, 180), {'closebtn': (328, 3, 352, 27)}),
    'MessageBox2Wnd.xml': ((360, 180), {'closebtn': (324, 3, 348, 27)}),
}


def x_windows():
    """Viewable top-level X windows: [(width, height, x, y)]."""
    tree = subprocess.run(['xwininfo', '-root', '-children'], capture_output=True,
                          check=True).stdout.decode()
    found = []
    for match in re.finditer(r'^\s+(0x[0-9a-f]+) .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)', tree, re.M):
        info = subprocess.run(['xwininfo', '-id', match.group(1)], capture_output=True).stdout
        if b'IsViewable' in info:
            found.append((int(match.group(2)), int(match.group(3)), int(match.group(4)),
                          int(match.group(5))))
    return found


def wait_for(predicate, timeout, what):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError('timed out waiting for ' + what)


def window_of_size(width, height):
    """The position of the topmost viewable window of that size (the list runs bottom to top:
    a newer window is found before an older one still on its way out)."""
    found = None
    for w, h, x, y in x_windows():
        if (w, h) == (width, height):
            found = x, y
    return found


class Window:
    """A window on the screen at (left, top)."""

    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height

    def click_at(self, x, y):
        subprocess.run(['xdotool', 'mousemove', str(self.left + x), str(self.top + y)], check=True)
        time.sleep(0.2)
        subprocess.run(['xdotool', 'click', '1'], check=True)
        time.sleep(0.3)

    def click_rect(self, rect):
        l, t, r, b = rect
        self.click_at((l + r) // 2, (t + b) // 2)

    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(['/usr/bin/import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (
            self.width, self.height, self.left, self.top), '+repage', path], check=True)
        return path

    def pixels(self, points):
        """(r, g, b) of client pixels, read from one picture of the screen taken now."""
        out = subprocess.run(['/usr/bin/import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (
            self.width, self.height, self.left, self.top), '+repage', '-depth', '8', 'rgb:-'],
            capture_output=True, check=True).stdout
        return [tuple(out[3 * (y * self.width + x):3 * (y * self.width + x) + 3])
                for x, y in points]


class PromptWindow(Window):
    def __init__(self, skin, left, top):
        size, self.buttons = PROMPTS[skin]
        super().__init__(left, top, *size)
        self.skin = skin

    def press(self, name):
        """Presses a button that closes the prompt; presses again when a click was lost (the
        prompt still there after a while), at most three times."""
        for _ in range(3):
            self.click_rect(self.buttons[name])
            end = time.time() + 3
            while time.time() < end:
                if window_of_size(self.width, self.height) != (self.left, self.top):
                    return
                time.sleep(0.2)
        raise AssertionError('%s stays open after pressing %s' % (self.skin, name))

    def wait_painted(self, timeout=10):
        """Until its white body shows."""
        seen = []

        def white():
            seen[:] = self.pixels([(5, 100)])
            return seen[0] == (255, 255, 255)
        try:
            wait_for(white, timeout, self.skin + ' painted')
        except AssertionError:
            picture = self.screenshot('/tmp/installer-window-%s.png' % self.skin)
            raise AssertionError('%s not painted: %r at (5, 100), see %s' % (
                self.skin, seen, picture))


def key(*keys):
    subprocess.run(['xdotool', 'key', *keys], check=True)
    time.sleep(0.2)


def type_text(text):
    subprocess.run(['xdotool', 'type', '--delay', '60', text], check=True)
    time.sleep(0.3)


class Installer:
    """One run of the installer: its process and its main window."""

    def __init__(self, exe, *args, env=None):
        self.proc = subprocess.Popen([WINE_RUN, exe, *args], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=env)
        self.window = None

    def wait_window(self, timeout=60):
        def found():
            if self.proc.poll() is not None:
                raise AssertionError('the installer ended with %d' % self.proc.returncode)
            return window_of_size(600, 400)
        # Wine may map the window before it reaches its centred place: wait until it stays.
        position = wait_for(found, timeout, 'the main window')
        end = time.time() + timeout
        while time.time() < end:
            time.sleep(0.5)
            now = wait_for(found, timeout, 'the main window')
            if now == position:
                break
            position = now
        self.window = Window(position[0], position[1], 600, 400)
        return self.window

    def press(self, name):
        self.window.click_rect(MAIN[name])

    def wait_prompt(self, skin, timeout=60):
        (width, height), _ = PROMPTS[skin]

        def found():
            position = window_of_size(width, height)
            if position is None and self.proc.poll() is not None:
                raise AssertionError('the installer ended with %d' % self.proc.returncode)
            return position
        end = time.time() + timeout
        while True:
            position = wait_for(found, max(end - time.time(), 1), skin)
            time.sleep(0.3)
            if wait_for(found, max(end - time.time(), 1), skin) != position:
                continue  # still on its way to its place
            prompt = PromptWindow(skin, *position)
            try:
                prompt.wait_painted(timeout=5)
                break
            except AssertionError:
                if time.time() > end:
                    raise
        time.sleep(0.3)
        return prompt

    def _press_until(self, name, outcome, patience, timeout):
        """Presses a main-window button and waits for what it leads to (outcome(seconds));
        presses again when a click was lost (nothing after patience seconds), at most three
        times, the last one waiting the whole timeout."""
        for attempt in range(3):
            self.press(name)
            try:
                return outcome(patience if attempt < 2 else timeout)
            except (AssertionError, subprocess.TimeoutExpired):
                if attempt == 2:
                    raise

    def press_for_prompt(self, name, skin, timeout=60):
        """Presses a button that opens a prompt; the prompt."""
        return self._press_until(name, lambda t: self.wait_prompt(skin, timeout=t), 5, timeout)

    def press_for_page(self, name, page):
        """Presses a button that changes the page (one number, or a tuple of pages any of
        which will do: a short install may pass its progress page between two looks)."""
        self._press_until(name, lambda t: wait_page(self.window, page, timeout=t), 4, 10)

    def press_for_exit(self, name):
        """Presses a button that ends the installer; its exit code."""
        return self._press_until(name, lambda t: self.exit_code(timeout=t), 6, 30)

    def no_prompt(self, wait=1.5):
        time.sleep(wait)
        return window_of_size(360, 180) is None and window_of_size(400, 180) is None

    def running(self):
        return self.proc.poll() is None

    def exit_code(self, timeout=60):
        code = self.proc.wait(timeout=timeout)
        return code - 256 if code > 127 else code  # Wine hands on the low 8 bits: 255 is -1

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        # its windows leave the screen with it; the next run must not find them
        end = time.time() + 10
        while time.time() < end and (window_of_size(600, 400) or window_of_size(360, 180) or
                                     window_of_size(400, 180)):
            time.sleep(0.2)


def _blue(rgb):
    r, g, b = rgb
    return b > 200 and r < 120


def _drawn(rgb):
    """Not the pale background: a bar's track or fill."""
    return min(rgb) < 235


def page_shown(window):
    """The page of the main window told by the pixels where the pages differ: the folder
    button (page 1), the install button (page 0), the "立即体验" button (page 3) and the
    progress bar (page 2); None while none of them shows (a prompt over it, a repaint)."""
    folder, install, finish, bar = window.pixels([(519, 197), (300, 238), (300, 315), (60, 348)])
    if _blue(folder):
        return 1
    if _blue(install) and not _drawn(bar):
        return 0
    if _blue(finish):
        return 3
    if _drawn(bar):
        return 2
    return None


def wait_page(window, page, timeout=10):
    """Waits for the page, or for any page of a tuple of pages."""
    pages = page if isinstance(page, tuple) else (page,)
    label = ' or '.join(map(str, pages))
    last = []

    def shown():
        last[:] = [page_shown(window)]
        return last[0] in pages
    try:
        wait_for(shown, timeout, 'page ' + label)
    except AssertionError:
        picture = window.screenshot('/tmp/installer-window-page-%s.png' %
                                    '-'.join(map(str, pages)))
        raise AssertionError('page %r instead of page %s (see %s)' % (
            last[0] if last else None, label, picture))
