"""Download benchmarks; every figure is a ratio against a baseline measured in the same run.

1. 256 MiB from nginx on loopback to a verified file: our single-stream download (transfer
   and MD5 check) against curl.exe from the same libcurl build under the same Wine followed by
   the host's md5sum. Target: ours/baseline <= 1.15; our peak working set under 32 MiB.
   Against curl.exe alone (transfer only, no checksum pass): <= 1.05.
   The WinHTTP downloader (type 2) against ours (type 1): <= 1.5; and against a bare WinHTTP
   read loop (1 MiB buffer, file kept open), its own limit under this Wine (printed).
2. 64 MiB at 8 MiB/s per connection: segmented against single-stream. Target: <= 0.6.
3. A transfer dropped at 50 % and resumed: bytes sent / file size. Target: <= 1.05.

usage: bench_download.py INSTALLER_CLI CURL_EXE WINHTTP_LOOP_EXE WORK_DIR
"""
import hashlib
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from download_service import DownloadService  # noqa: E402
from nginx_server import NginxServer  # noqa: E402
from fake_scenario import winpath  # noqa: E402
from bench_report import report  # noqa: E402

WINE_RUN = os.path.join(HERE, 'wine-run.sh')
MIB = 1024 * 1024


def timed(command):
    began = time.monotonic()
    proc = subprocess.run(command, capture_output=True, timeout=900)
    return time.monotonic() - began, proc


def best_of(runs, measure):
    return min(measure() for _ in range(runs))


def main():
    cli, curl_exe, loop_exe, work = sys.argv[1:5]
    os.makedirs(work, exist_ok=True)
    results = []

    # 1. Throughput against curl.exe + md5sum.
    source = os.path.join(work, 'source-256.bin')
    if not os.path.exists(source) or os.path.getsize(source) != 256 * MIB:
        with open(source, 'wb') as f:
            for _ in range(256):
                f.write(os.urandom(MIB))
    server = NginxServer(source)
    ours_target = os.path.join(work, 'ours.exe')
    base_target = os.path.join(work, 'base.exe')
    peak = [0]

    def ours(dl_type=1):
        for path in (ours_target,):
            if os.path.exists(path):
                os.remove(path)
        seconds, proc = timed([WINE_RUN, cli, 'download', '--type', str(dl_type),
                               '--peak-memory', server.url, winpath(ours_target)])
        out = proc.stdout.decode()
        assert proc.returncode == 0, out
        if dl_type == 1:
            peak[0] = int(out.rsplit('PeakWorkingSet=', 1)[1].split()[0])
        return seconds

    def curl_alone():
        if os.path.exists(base_target):
            os.remove(base_target)
        seconds, proc = timed([WINE_RUN, curl_exe, '-s', '-L', '-o', winpath(base_target),
                               server.url])
        assert proc.returncode == 0, proc.stderr
        return seconds

    def bare_winhttp():
        if os.path.exists(base_target):
            os.remove(base_target)
        seconds, proc = timed([WINE_RUN, loop_exe, server.url, winpath(base_target)])
        assert proc.returncode == 0, proc.returncode
        return seconds

    def baseline():
        if os.path.exists(base_target):
            os.remove(base_target)
        s1, p1 = timed([WINE_RUN, curl_exe, '-s', '-L', '-o', winpath(base_target), server.url])
        assert p1.returncode == 0, p1.stderr
        s2, p2 = timed(['md5sum', base_target])
        assert p2.stdout.split()[0].decode() == server.md5
        return s1 + s2

    try:
        ours()  # warm the caches once
        t_base = best_of(3, baseline)
        t_ours = best_of(3, ours)
        t_curl = best_of(3, curl_alone)
        t_win = best_of(3, lambda: ours(2))
        t_bare = best_of(3, bare_winhttp)
    finally:
        server.stop()
    with open(ours_target, 'rb') as f:
        digest = hashlib.md5()
        for block in iter(lambda: f.read(MIB), b''):
            digest.update(block)
    assert digest.hexdigest() == server.md5
    ratio = t_ours / t_base
    results.append(('single-stream vs curl.exe+md5sum (256 MiB)', ratio, 1.15))
    print('throughput: ours %.1f MB/s, baseline %.1f MB/s, ratio %.3f' %
          (256 * MIB / t_ours / 1e6, 256 * MIB / t_base / 1e6, ratio))
    print('peak working set of our process: %.1f MiB (target < 32 MiB)' % (peak[0] / MIB))
    results.append(('peak working set MiB', peak[0] / MIB, 32))
    print('curl.exe alone %.1f MB/s; ours (verified) / curl.exe alone %.3f' %
          (256 * MIB / t_curl / 1e6, t_ours / t_curl))
    results.append(('single-stream (verified) vs curl.exe alone', t_ours / t_curl, 1.05))
    print('WinHTTP downloader %.1f MB/s, bare WinHTTP loop %.1f MB/s' %
          (256 * MIB / t_win / 1e6, 256 * MIB / t_bare / 1e6))
    results.append(('WinHTTP downloader (type 2) vs single-stream', t_win / t_ours, 1.5))
    print('WinHTTP downloader / bare WinHTTP loop: %.3f (the limit of WinHTTP here)'
          % (t_win / t_bare))
    for path in (ours_target, base_target):
        os.remove(path)

    # 2 and 3: the scriptable service.
    service = DownloadService().start()
    try:
        data = os.urandom(64 * MIB)
        service.add('rate1', name='rate1.exe', data=data, rate=8 * MIB)
        service.add('rate3', name='rate3.exe', data=data, rate=8 * MIB)
        target = os.path.join(work, 'rate.exe')
        times = {}
        for dl_type in (1, 3):
            seconds, proc = timed([WINE_RUN, cli, 'download', '--type', str(dl_type),
                                   service.url('rate%d' % dl_type), winpath(target)])
            assert proc.returncode == 0, proc.stdout
            times[dl_type] = seconds
            os.remove(target)
        ratio = times[3] / times[1]
        print('rate-limited 64 MiB: single %.2f s, segmented %.2f s, ratio %.3f' %
              (times[1], times[3], ratio))
        results.append(('segmented vs single at 8 MiB/s per connection', ratio, 0.6))

        size = 64 * MIB
        service.add('drop', name='drop.exe', data=data, drop_after=size // 2)
        service.reset_stats()
        seconds, proc = timed([WINE_RUN, cli, 'download', '--type', '1', service.url('drop'),
                               winpath(target)])
        assert proc.returncode == 0, proc.stdout
        os.remove(target)
        ratio = service.body_bytes / size
        print('dropped at 50%%: %d bytes sent for %d, ratio %.4f' % (service.body_bytes, size, ratio))
        results.append(('bytes sent / size after a drop at 50 %', ratio, 1.05))
    finally:
        service.stop()

    return report(results)


if __name__ == '__main__':
    sys.exit(main())
