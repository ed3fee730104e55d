"""What the tests of the real RavellInstaller.exe share: the download service serving the fake
package, a Downloads folder with the installer and its ini, the package's scenario, and the
records as the maintainers' tool reads them."""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import installer_window as iw  # noqa: E402
from installer_window import unix_path, winpath  # noqa: E402
from download_service import DownloadService  # noqa: E402

KEY = 'HKCU\\Software\\RavellSoft\\quillmoss'
EXE = FAKE = None  # the installer and the fake package, set by the test script's main


def reg_value(name):
    """A value of the installer's registry key, as the maintainers' tool reads it (UTF-8)."""
    out = iw.wine_output(os.path.join(os.path.dirname(EXE), 'installer-cli.exe'), 'records')
    for line in out.decode('utf-8').splitlines():
        if line.startswith(name + '='):
            return line.split('=', 1)[1] or None
    return None


class InstallerCase(unittest.TestCase):
    work_prefix = 'win-'

    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        with open(FAKE, 'rb') as f:
            cls.package = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix=self.work_prefix)
        self.scenarios = os.path.join(self.work, 'scenarios')
        os.makedirs(self.scenarios)
        self.env = dict(os.environ, FAKE_SCENARIO_DIR=winpath(self.scenarios))
        self.service.reset_stats()
        iw.wine('reg', 'delete', KEY, '/f')
        self.bin = os.path.join(self.work, 'Downloads')
        os.makedirs(self.bin)
        self.exe = os.path.join(self.bin, 'RavellInstaller.exe')
        shutil.copy(EXE, self.exe)
        self.runs = []
        self.serve('681')
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='false')

    def tearDown(self):
        for run in self.runs:
            run.kill()
        shutil.rmtree(self.work, ignore_errors=True)

    def configure(self, **values):
        with open(os.path.join(self.bin, 'RavellInstallerConfig.ini'), 'w') as f:
            f.write('[Install]\n' + ''.join('%s=%s\n' % kv for kv in values.items()))

    def serve(self, file_id, **options):
        self.service.add(file_id, name='%s.exe' % file_id, data=self.package, **options)

    def package_scenario(self, scenario):
        with open(os.path.join(self.scenarios, '__Package_quillmoss.exe.scenario'), 'w',
                  encoding='utf-8') as f:
            f.write(scenario.text())

    def previous_install(self, uninstaller_scenario, product=False):
        """An earlier version recorded in the registry, with its uninstaller (playing
        uninstaller_scenario as the copy the installer runs) and, with product, its
        quillmoss.exe in its folder."""
        folder = 'C:\\Tallowmere old'
        shutil.rmtree(unix_path(folder), ignore_errors=True)
        os.makedirs(unix_path(folder))
        shutil.copy(FAKE, os.path.join(unix_path(folder), 'uninst.ep'))
        if product:
            shutil.copy(FAKE, os.path.join(unix_path(folder), 'quillmoss.exe'))
        with open(os.path.join(self.scenarios, 'quillmoss_un_asa.exe.scenario'), 'w') as f:
            f.write(uninstaller_scenario.text())
        iw.wine('reg', 'add', KEY, '/v', 'InstallPath', '/t', 'REG_SZ', '/d', folder, '/f')
        iw.wine('reg', 'add', KEY, '/v', 'UnInstallEp', '/t', 'REG_SZ', '/d',
                folder + '\\uninst.ep', '/f')
        self.addCleanup(shutil.rmtree, unix_path(folder), True)
        return folder
