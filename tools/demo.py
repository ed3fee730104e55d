"""The headless demo: a download service on loopback serves a demo setup package (the fake
package in its "real install" role), and installer-cli runs one pipeline start as the window
will. The first run on a clean prefix installs afresh; the next one upgrades, running the
previous version's uninstaller first. Afterwards the records written are printed.

usage: demo.py INSTALLER_CLI FAKE_PACKAGE WORK_DIR
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from download_service import DownloadService  # noqa: E402
from fake_scenario import Scenario, winpath  # noqa: E402

WINE_RUN = os.path.join(HERE, 'wine-run.sh')


def wine(*args):
    return subprocess.run([WINE_RUN, *args], capture_output=True, timeout=600)


def unix_path(windows_path):
    out = wine('winepath', '-u', windows_path).stdout.decode().strip()
    return out


def fields(out):
    return dict(line.split('=', 1) for line in out.splitlines() if '=' in line)


def show_file(title, path):
    print('--- %s (%s)' % (title, path))
    try:
        with open(path, 'rb') as f:
            data = f.read()
        text = data.decode('utf-16') if data[:2] in (b'\xff\xfe', b'\xfe\xff') else data.decode('utf-8', 'replace')
        print(text.replace('\r\n', '\n').rstrip())
    except OSError as error:
        print('(not there: %s)' % error.strerror)


def main():
    cli, fake, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    scenarios = os.path.join(work, 'scenarios')
    os.makedirs(scenarios, exist_ok=True)
    os.environ['FAKE_SCENARIO_DIR'] = winpath(scenarios)

    before = fields(wine(cli, 'records').stdout.decode('utf-8'))
    folder = before['DefaultInstallDir']
    upgrade = bool(before.get('UnInstallEp'))
    print('== %s into %s' % ('Upgrade' if upgrade else 'Fresh install', folder))
    if upgrade:
        print('   previous version recorded: %s' % before['UnInstallEp'])

    package = Scenario().out('Encode=UTF8\r\n').sleep(200)
    for p in (0.1, 0.25, 0.5):
        package.out('Progress=%g\r\nMessage=正在安装 Tallowmere\r\n' % p).sleep(300)
    package.copyself('{instdir}\\quillmoss.exe').copyself('{instdir}\\uninst.ep')
    package.out('Progress=0.9\r\n').sleep(200)
    package.out('InstPath=%s\r\nExePath=%s\\quillmoss.exe\r\nUninstEp=%s\\uninst.ep\r\n'
                'StartupStyle=AutoStartup\r\nState=Success\r\n' % (folder, folder, folder))
    uninstaller = Scenario().out('Progress=0.5\r\n').sleep(300).out('Progress=1\r\nState=Success\r\n')
    with open(os.path.join(scenarios, '__Package_quillmoss.exe.scenario'), 'w') as f:
        f.write(package.text())
    with open(os.path.join(scenarios, 'quillmoss_un_asa.exe.scenario'), 'w') as f:
        f.write(uninstaller.text())

    service = DownloadService().start()
    service.add('681', name='quillmoss-setup.exe', path=fake, rate=2 * 1024 * 1024)
    url = service.url('681')
    print('== download service: %s -> %s' % (url, service.final_url('681')))
    command = [WINE_RUN, cli, 'pipeline', '--url', url, '--folder', folder]
    if upgrade:
        command += ['--old-uninstaller', before['UnInstallEp']]
    print('== events (code value message)')
    proc = subprocess.Popen(command, stdout=subprocess.PIPE)
    for line in proc.stdout:
        print('   ' + line.decode('utf-8').rstrip('\n'))
    code = proc.wait()
    service.stop()
    print('== pipeline exit code %d' % code)

    after = fields(wine(cli, 'records').stdout.decode('utf-8'))
    print('== records')
    print(wine('reg', 'query', 'HKCU\\Software\\RavellSoft\\quillmoss').stdout.decode(
        'utf-8', 'replace').replace('\r\n', '\n').strip())
    set_ini = unix_path(folder + '\\set.ini')
    show_file('set.ini', set_ini)
    show_file('RVSensorsAnalytics.ini', unix_path(after['DataDir'] + '\\RVSensorsAnalytics.ini'))
    return code


if __name__ == '__main__':
    sys.exit(main())
