"""The headless demo run twice on a clean prefix: a fresh install, then an upgrade."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import cli_harness

DEMO = os.path.join(cli_harness.ROOT, 'tools', 'demo.py')
FAKE = None


class DemoTest(unittest.TestCase):
    def test_fresh_install_then_upgrade(self):
        work = tempfile.mkdtemp(prefix='demo-')
        env = dict(os.environ, WINEPREFIX=os.path.join(work, 'prefix'))
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)
        subprocess.run([env['WINELOADER'], 'wineboot', '-i'], env=env, timeout=300, **quiet)
        try:
            runs = []
            for _ in range(2):
                proc = subprocess.run([sys.executable, DEMO, cli_harness.CLI, FAKE,
                                       os.path.join(work, 'demo')], env=env,
                                      capture_output=True, timeout=600)
                self.assertEqual(proc.returncode, 0, proc.stdout + proc.stderr)
                runs.append(proc.stdout.decode('utf-8'))
            first, second = runs
            self.assertIn('== Fresh install into', first)
            self.assertNotIn(' 5002 ', first)
            self.assertIn('   2003 0 ', first)
            self.assertIn('InstallPath    REG_SZ', first)
            self.assertIn('UpdateTime=', first)
            self.assertIn('== Upgrade into', second)
            events = [l.split()[0] for l in second.splitlines() if l.startswith('   ') and
                      l.split() and l.split()[0].isdigit()]
            self.assertLess(events.index('5003'), events.index('1001'))
            self.assertEqual(events[-1], '2003')
        finally:
            subprocess.run(['/usr/lib/wine/wineserver', '-k'], env=env, **quiet)
            shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
