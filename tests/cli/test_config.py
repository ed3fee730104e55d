"""The installer configuration as built by `installer-cli.exe config`: defaults, the ini file
next to the executable, then the command line."""
import unittest

import cli_harness
from cli_harness import CliDir

BUILT_IN_URL = 'https://dl.tallowmere.example/software/681'
DEFAULTS = {
    'DownloadUrl': BUILT_IN_URL, 'DownloadType': '1', 'IsCheckNet': 'false',
    'DownloadScale': '0.7', 'InstCmd': '', 'LanguageIndex': '-1', 'InsNew': 'false',
    'DlAppNameSuffix': '.downloader', 'm_DlAppVersion': '', 'IsEnableAppSensors': 'true',
    'Silent': 'false', 'InstDir': '', 'LogPath': '',
}
ORDER = list(DEFAULTS)
LONG = ''.join('%03d' % i for i in range(100))  # 300 characters

# (name, ini file text or None, options, expected differences from DEFAULTS)
CASES = [
    ('no file, no options', None, [], {}),
    ('empty Install section', '[Install]\n', [], {'IsCheckNet': 'true'}),
    ('no Install section at all', '[Other]\nDownloadType=3\n', [], {'IsCheckNet': 'true'}),
    ('booleans are case-sensitive words', '[Install]\nIsCheckNet=TRUE\nIsEnableAppSensors=1\n',
     [], {'IsCheckNet': 'false', 'IsEnableAppSensors': 'false'}),
    ('file values', '[Install]\nDownloadUrl=http://h/p\nDownloadType=3\nIsCheckNet=false\n'
     'DownloadScale=0.25\nInstCmd=/x y\nDlAppNameSuffix=.s\nm_DlAppVersion=2.1\n', [],
     {'DownloadUrl': 'http://h/p', 'DownloadType': '3', 'DownloadScale': '0.25',
      'InstCmd': '/x y', 'DlAppNameSuffix': '.s', 'm_DlAppVersion': '2.1'}),
    ('route placeholder twice in the file', '[Install]\nDownloadUrl=http://h/${ROUTE}/q?r=${ROUTE}\n',
     [], {'IsCheckNet': 'true', 'DownloadUrl': 'http://h/download_silent/q?r=download_silent'}),
    ('route placeholder in the option', '[Install]\n',
     ['-downloadurl=http://h/${ROUTE}'], {'IsCheckNet': 'true',
                                          'DownloadUrl': 'http://h/download_silent'}),
    ('option splits at the first = and overrides the file', '[Install]\nDownloadUrl=http://file\n',
     ['-downloadurl=x?a=1'], {'IsCheckNet': 'true', 'DownloadUrl': 'x?a=1'}),
    ('option without value sets false', '[Install]\nIsCheckNet=true\n', ['-ischecknet'],
     {'IsCheckNet': 'false'}),
    ('option true', None, ['-ischecknet=true', '-insnew=true', '-isenableappsensors=false'],
     {'IsCheckNet': 'true', 'InsNew': 'true', 'IsEnableAppSensors': 'false'}),
    ('option names are case-sensitive', None, ['-DownloadType=2', '-INSNEW=true', '-insnew=True'],
     {}),
    ('slash forms are not options', None, ['/downloadtype=2', 'downloadtype=2'], {}),
    ('first occurrence wins', None, ['-downloadtype=2', '-downloadtype=3'],
     {'DownloadType': '2'}),
    ('non-numeric integer option', '[Install]\nDownloadType=3\n', ['-downloadtype=abc'],
     {'IsCheckNet': 'true', 'DownloadType': '0'}),
    ('integer option prefix', None, ['-downloadtype= 2x', '-language=-3'],
     {'DownloadType': '2', 'LanguageIndex': '-3'}),
    ('integer out of range, option', None, ['-downloadtype=99999999999', '-language=3'],
     {'DownloadType': '0', 'LanguageIndex': '3'}),
    ('integer out of range, file', '[Install]\nDownloadType=99999999999\n', [],
     {'IsCheckNet': 'true', 'DownloadType': '0'}),
    ('numeric prefix of the scale in the file', '[Install]\nDownloadScale=0.5abc\n', [],
     {'IsCheckNet': 'true', 'DownloadScale': '0.5'}),
    ('non-numeric scale in the file', '[Install]\nDownloadScale=abc\n', [],
     {'IsCheckNet': 'true', 'DownloadScale': '0'}),
    ('scale out of range in the file', '[Install]\nDownloadScale=1e999\n', [],
     {'IsCheckNet': 'true', 'DownloadScale': '0'}),
    ('non-numeric scale option', None, ['-downloadscale=abc'], {'DownloadScale': '-nan'}),
    ('scale option out of range', None, ['-downloadscale=1e999'], {'DownloadScale': '-nan'}),
    ('scale option overrides file', '[Install]\nDownloadScale=0.2\n', ['-downloadscale=0.9'],
     {'IsCheckNet': 'true', 'DownloadScale': '0.9'}),
    ('long InstCmd in the file is cut to 259', '[Install]\nInstCmd=%s\n' % LONG, [],
     {'IsCheckNet': 'true', 'InstCmd': LONG[:259]}),
    ('long InstCmd option arrives whole', None, ['-instcmd=' + LONG], {'InstCmd': LONG}),
    ('text options', None, ['-instcmd=/D=C:\\x y', '-dlappnamesuffix=.z', '-dlappversion=9'],
     {'InstCmd': '/D=C:\\x y', 'DlAppNameSuffix': '.z', 'm_DlAppVersion': '9'}),
    ('non-ASCII text option', None, ['-instcmd=测试 安装'], {'InstCmd': '测试 安装'}),
    ('unattended options', None,
     ['-silent=true', '-instdir=D:\\软件\\quill moss', '-log=C:\\logs\\a=b.log'],
     {'Silent': 'true', 'InstDir': 'D:\\软件\\quill moss', 'LogPath': 'C:\\logs\\a=b.log'}),
    ('silent is the exact word true', None, ['-silent=True'], {}),
    ('silent without a value is false', None, ['-silent', '-SILENT=true'], {}),
    ('unattended options are not read from the file',
     '[Install]\nsilent=true\nSilent=true\nInstDir=C:\\x\nLogPath=C:\\l\n', [],
     {'IsCheckNet': 'true'}),
]


class ConfigTest(unittest.TestCase):
    def check(self, ini, options, changes, exe_name='installer-cli.exe', encoding='ascii'):
        d = CliDir(exe_name)
        try:
            if ini is not None:
                d.write('RavellInstallerConfig.ini', ini.replace('\n', '\r\n').encode(encoding))
            fields = d.fields('config', *options)
        finally:
            d.close()
        self.assertEqual([name for name, _ in fields], ORDER)
        expected = dict(DEFAULTS, **changes)
        self.assertEqual(dict(fields), expected)

    def test_cases(self):
        for name, ini, options, changes in CASES:
            with self.subTest(name):
                self.check(ini, options, changes)

    def test_unicode_file(self):
        ini = '\ufeff[Install]\nInstCmd=/D=C:\\测试 安装\n'
        self.check(ini, [], {'IsCheckNet': 'true', 'InstCmd': '/D=C:\\测试 安装'},
                   encoding='utf-16-le')

    def test_route_follows_windows_version(self):
        ini = '[Install]\nDownloadUrl=http://h/${ROUTE}/a/${ROUTE}\n'
        for version, route in [('winxp', 'download_silent_xp'), ('win7', 'download_silent'),
                               ('win2k', 'download_silent')]:
            with self.subTest(version):
                exe = 'cli-%s.exe' % version
                cli_harness.set_windows_version(exe, version)
                self.check(ini, [], {'IsCheckNet': 'true',
                                     'DownloadUrl': 'http://h/%s/a/%s' % (route, route)},
                           exe_name=exe)


if __name__ == '__main__':
    cli_harness.main()
