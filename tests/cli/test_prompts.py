"""The prompts in real windows through `installer-cli.exe prompt`, answered with real mouse
clicks and keys (xdotool under Xvfb): which button gives which answer, Alt+F4, Escape, and the
owner disabled while a prompt is open."""
import os
import subprocess
import sys
import time
import unittest

import cli_harness

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
import installer_window as iw  # noqa: E402

SHOTS = None  # screenshots go here

# Buttons of the prompt documents, client coordinates (left, top, right, bottom).
BUTTONS = {
    'ExitTipWnd.xml': {'okBtn': (167, 130, 243, 162), 'cancelBtn': (263, 130, 339, 162),
                       'closebtn': (324, 8, 348, 32)},
    'InstalledPathTipWnd.xml': {'cancelBtn': (131, 128, 231, 160), 'okBtn': (246, 128, 356, 160),
                                'closebtn': (364, 3, 388, 27)},
    'NetworkTipWnd.xml': {'cancelBtn': (182, 130, 258, 160), 'okBtn': (268, 130, 344, 160),
                          'closebtn': (324, 3, 348, 27)},
    'MessageBox1Wnd.xml': {'closebtn': (328, 3, 352, 27)},
    'MessageBox2Wnd.xml': {'closebtn': (324, 3, 348, 27)},
}


class Prompt:
    def __init__(self, cli, skin, *options):
        self.proc = subprocess.Popen([cli_harness.WINE_RUN, cli.exe, 'prompt', skin, *options],
                                     stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        self.posted = False
        line = self.proc.stdout.readline().decode().strip()
        if line == 'owner handled a posted message':  # the owner's messages go on meanwhile
            self.posted = True
            line = self.proc.stdout.readline().decode().strip()
        assert line.startswith('open '), line
        rect, owner = line.split(' ')[1:3]
        self.left, self.top = (int(v) for v in rect.split(',')[:2])
        self.owner_disabled = owner == 'owner-enabled=0'
        self.skin = skin
        time.sleep(0.3)

    def click(self, name):
        l, t, r, b = BUTTONS[self.skin][name]
        subprocess.run(['xdotool', 'mousemove', str(self.left + (l + r) // 2),
                        str(self.top + (t + b) // 2)], check=True)
        time.sleep(0.3)
        subprocess.run(['xdotool', 'click', '1'], check=True)

    def key(self, key):
        subprocess.run(['xdotool', 'key', key], check=True)

    def still_open(self):
        time.sleep(0.8)
        return self.proc.poll() is None

    def answer(self):
        out = self.proc.communicate(timeout=30)[0].decode().split()
        assert 'owner-enabled=1' in out, out  # the owner is enabled again
        return int(out[-1])


def shadow_of(width, height):
    """The shadow window of a frame of that size (size 6 all round): its geometry, or None."""
    for w, h, x, y in iw.x_windows():
        if (w, h) == (width + 12, height + 12):
            return x, y
    return None


class PromptTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cli = cli_harness.CliDir()

    @classmethod
    def tearDownClass(cls):
        cls.cli.close()

    def test_buttons_give_their_answers(self):
        cases = [('ExitTipWnd.xml', 'okBtn', 0), ('ExitTipWnd.xml', 'cancelBtn', 1),
                 ('ExitTipWnd.xml', 'closebtn', 2), ('InstalledPathTipWnd.xml', 'cancelBtn', 1),
                 ('InstalledPathTipWnd.xml', 'okBtn', 0), ('NetworkTipWnd.xml', 'okBtn', 0),
                 ('NetworkTipWnd.xml', 'closebtn', 2), ('MessageBox1Wnd.xml', 'closebtn', 2)]
        for skin, button, answer in cases:
            with self.subTest(skin=skin, button=button):
                prompt = Prompt(self.cli, skin)
                self.assertTrue(prompt.owner_disabled)
                self.assertTrue(prompt.posted)
                prompt.click(button)
                self.assertEqual(prompt.answer(), answer)

    def test_alt_f4_answers_1_and_escape_closes_nothing(self):
        for skin in ('ExitTipWnd.xml', 'InstalledPathTipWnd.xml', 'MessageBox2Wnd.xml'):
            with self.subTest(skin):
                prompt = Prompt(self.cli, skin, '--text=当前磁盘剩余空间低于1GB，请修改安装路径',
                                '--caption=温馨提示')
                prompt.key('Escape')
                self.assertTrue(prompt.still_open())
                prompt.key('alt+F4')
                self.assertEqual(prompt.answer(), 1)


    def test_screenshots_with_the_shadow_blended(self):
        os.makedirs(SHOTS, exist_ok=True)
        compositor = subprocess.Popen(['xcompmgr'], stderr=subprocess.DEVNULL)
        try:
            time.sleep(0.5)
            texts = {'MessageBox1Wnd.xml': ['--text=安装程序检测到Tallowmere\r\n正在运行，请退出程序后再安装',
                                            '--caption=温馨提示'],
                     'MessageBox2Wnd.xml': ['--text=无效路径', '--caption=温馨提示']}
            for skin in BUTTONS:
                with self.subTest(skin):
                    prompt = Prompt(self.cli, skin, *texts.get(skin, []))
                    time.sleep(0.5)
                    shot = os.path.join(SHOTS, 'prompt-' + skin[:-4] + '.png')
                    subprocess.run(['import', '-window', 'root', '-crop', '440x260+%d+%d' % (
                        prompt.left - 20, prompt.top - 20), '+repage', shot], check=True)
                    prompt.key('alt+F4')
                    self.assertEqual(prompt.answer(), 1)
                    # the shadow darkens the owner's grey just outside the frame's corner
                    pixel = subprocess.run(['convert', shot, '-format', '%[pixel:p{18,18}]',
                                            'info:'], capture_output=True).stdout.decode()
                    self.assertNotIn('128,128,128', pixel.replace(' ', ''), (shot, pixel))
        finally:
            compositor.kill()
            compositor.wait()

    def test_the_shadow_follows_the_frame_and_hides_when_minimised(self):
        prompt = Prompt(self.cli, 'ExitTipWnd.xml', '--minimize-after=3000')
        self.assertEqual(shadow_of(360, 180), (prompt.left - 5, prompt.top - 5))
        # drag the caption area 100 pixels right and 50 down
        x, y = prompt.left + 100, prompt.top + 15
        for command in (['mousemove', str(x), str(y)], ['mousedown', '1'],
                        ['mousemove', str(x + 50), str(y + 25)],
                        ['mousemove', str(x + 100), str(y + 50)], ['mouseup', '1']):
            subprocess.run(['xdotool'] + command, check=True)
            time.sleep(0.3)
        time.sleep(0.5)
        self.assertEqual(shadow_of(360, 180), (prompt.left + 95, prompt.top + 45))
        line = prompt.proc.stdout.readline().decode().strip()
        self.assertEqual(line, 'minimized')
        time.sleep(0.8)
        self.assertIsNone(shadow_of(360, 180))
        prompt.proc.kill()
        prompt.proc.wait()


if __name__ == '__main__':
    SHOTS = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
