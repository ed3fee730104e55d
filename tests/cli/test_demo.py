"""The demo run twice on a clean prefix, without a display of its own: a fresh install through
the window, then the update question and an upgrade; pictures of every step are kept."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import cli_harness

DEMO = os.path.join(cli_harness.ROOT, 'tools', 'demo.py')
INSTALLER = FAKE = None


class DemoTest(unittest.TestCase):
    def test_fresh_install_then_upgrade(self):
        work = tempfile.mkdtemp(prefix='demo-')
        env = dict(os.environ, WINEPREFIX=os.path.join(work, 'prefix'))
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)
        subprocess.run([env['WINELOADER'], 'wineboot', '-i'], env=env, timeout=300, **quiet)
        # as the project's own prefix: the skin's face, no window manager
        for args in (['HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes',
                      '/v', '微软雅黑', '/t', 'REG_SZ', '/d', 'WenQuanYi Micro Hei'],
                     ['HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/t', 'REG_SZ', '/d', 'N']):
            subprocess.run([env['WINELOADER'], 'reg', 'add', *args, '/f'], env=env, **quiet)
        subprocess.run([env['WINESERVER'], '-k'], env=env, **quiet)
        try:
            runs = []
            pictures = os.path.join(work, 'demo')
            for _ in range(2):
                proc = subprocess.run([sys.executable, DEMO, INSTALLER, cli_harness.CLI, FAKE,
                                       pictures], env=env, capture_output=True, timeout=600)
                self.assertEqual(proc.returncode, 0, proc.stdout + proc.stderr)
                runs.append(proc.stdout.decode('utf-8'))
            first, second = runs
            self.assertIn('== Fresh install into', first)
            self.assertIn('pressing "立即安装"', first)
            self.assertNotIn('update question', first)
            self.assertIn('InstallPath    REG_SZ', first)
            self.assertIn('UpdateTime=', first)
            self.assertIn('== installer exit code 0', first)
            self.assertIn('== Upgrade into', second)
            self.assertIn('the update question: answering "安装最新版本"', second)
            self.assertIn('== installer exit code 0', second)
            self.assertIn('== pictures of every page and prompt: ' + pictures, second)
            for name in ('page-0-quick-install', 'page-2-installing', 'page-3-finished',
                         'prompt-update-question'):
                self.assertTrue(os.path.getsize(os.path.join(pictures, name + '.png')) > 1000, name)
            # the upgrade ran the old uninstaller (its copy records its command line)
            self.assertIn('UnInstallEp', second)
        finally:
            subprocess.run([env['WINESERVER'], '-k'], env=env, **quiet)
            shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(3))
    INSTALLER = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
