"""System identity as reported by `installer-cli.exe sysinfo` inside the Wine prefix."""
import re
import unittest

import cli_harness
from cli_harness import CliDir

ORDER = ['OSVersion', 'IsProcessAdmin', 'ActiveSessionUser', 'IsAdminAccount', 'DeviceId']


class SysinfoTest(unittest.TestCase):
    def sysinfo(self, exe_name='installer-cli.exe'):
        d = CliDir(exe_name)
        try:
            fields = d.fields('sysinfo')
        finally:
            d.close()
        self.assertEqual([name for name, _ in fields], ORDER)
        return dict(fields)

    def test_fields(self):
        info = self.sysinfo()
        self.assertRegex(info['OSVersion'], r'^Windows \S')
        self.assertIn(info['IsProcessAdmin'], ('true', 'false'))
        self.assertIn(info['IsAdminAccount'], ('true', 'false'))
        self.assertNotIn('\\', info['ActiveSessionUser'])
        self.assertRegex(info['DeviceId'], r'^[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}$')

    def test_device_id_is_new_each_time(self):
        self.assertNotEqual(self.sysinfo()['DeviceId'], self.sysinfo()['DeviceId'])

    def test_version_names(self):
        for version, name in [('winxp', 'Windows XP'), ('win2k', 'Windows 2K'),
                              ('win7', 'Windows 7'), ('win81', 'Windows 8.1'),
                              ('win10', 'Windows 10'), ('vista', 'Windows Vista')]:
            with self.subTest(version):
                exe = 'sys-%s.exe' % version
                cli_harness.set_windows_version(exe, version)
                self.assertEqual(self.sysinfo(exe)['OSVersion'], name)


if __name__ == '__main__':
    cli_harness.main()
