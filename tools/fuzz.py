#!/usr/bin/env python3
"""Runs the fuzz targets of tests/fuzz (built in the fuzzing build folder).

  fuzz.py run BUILD_DIR SECONDS [--keep] [TARGET...]
      fuzzes each target for SECONDS, starting from its seed corpus and kept findings, with a
      working corpus under BUILD_DIR/work/<target>; prints per target its executions,
      executions per second and any finding. With --keep a finding is copied into
      tests/fuzz/regressions/<target>/ (the tests replay it from then on). Exits 1 on a finding.
  fuzz.py replay TARGET_BINARY DIR...
      runs the target once over every file of the folders, without fuzzing; exits non-zero
      when one of them fails.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FUZZ_DIR = os.path.join(ROOT, 'tests', 'fuzz')


def targets():
    """(name, max_len) of every target, in the order of targets.txt."""
    found = []
    with open(os.path.join(FUZZ_DIR, 'targets.txt'), encoding='utf-8') as f:
        for line in f:
            parts = line.split()
            if parts and re.match(r'^[a-z]', parts[0]):
                found.append((parts[0], int(parts[1])))
    return found


def files_in(folders):
    paths = []
    for folder in folders:
        if os.path.isdir(folder):
            paths += sorted(os.path.join(folder, n) for n in os.listdir(folder)
                            if os.path.isfile(os.path.join(folder, n)) and not n.startswith('.'))
    return paths


def replay(binary, folders):
    paths = files_in(folders)
    if not paths:
        print('no inputs in', ' '.join(folders))
        return 1
    # A few hundred inputs per call keep the command line short.
    for start in range(0, len(paths), 200):
        result = subprocess.run([binary, '-runs=1'] + paths[start:start + 200],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                errors='replace')
        if result.returncode != 0:
            sys.stdout.write(result.stdout[-6000:])
            return result.returncode
    print('%s: %d inputs replayed' % (os.path.basename(binary), len(paths)))
    return 0


def fuzz_one(build_dir, name, max_len, seconds, keep):
    binary = os.path.join(build_dir, 'tests', 'fuzz', name)
    work = os.path.join(build_dir, 'work', name)
    findings = os.path.join(build_dir, 'findings', name)
    shutil.rmtree(findings, ignore_errors=True)
    os.makedirs(work, exist_ok=True)
    os.makedirs(findings, exist_ok=True)
    seeds = [os.path.join(FUZZ_DIR, 'corpus', name), os.path.join(FUZZ_DIR, 'regressions', name)]
    args = [binary, work] + [s for s in seeds if os.path.isdir(s)]
    args += ['-max_total_time=%d' % seconds, '-max_len=%d' % max_len, '-print_final_stats=1',
             '-artifact_prefix=%s/' % findings, '-timeout=10', '-rss_limit_mb=2048',
             '-malloc_limit_mb=512', '-close_fd_mask=1', '-reload=0']
    dictionary = os.path.join(FUZZ_DIR, 'dict', name + '.dict')
    if os.path.isfile(dictionary):
        args.append('-dict=' + dictionary)
    log_path = os.path.join(build_dir, 'findings', name + '.log')
    # Allocation stacks are left out of the reports while fuzzing (unwinding on every
    # allocation halves the speed of the allocating targets); replaying a kept finding gives
    # them. A smaller quarantine keeps the memory of a run small; use after free is still found.
    env = dict(os.environ)
    env['ASAN_OPTIONS'] = 'malloc_context_size=0:quarantine_size_mb=16:' + env.get('ASAN_OPTIONS', '')
    with open(log_path, 'w', encoding='utf-8', errors='replace') as log:
        code = subprocess.run(args, stdout=log, stderr=subprocess.STDOUT, env=env).returncode
    text = open(log_path, encoding='utf-8', errors='replace').read()
    runs = re.search(r'stat::number_of_executed_units:\s*(\d+)', text)
    rate = re.search(r'stat::average_exec_per_sec:\s*(\d+)', text)
    artifacts = files_in([findings])
    finding = ''
    if code != 0 or artifacts:
        kind = re.search(r'ERROR: (?:AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer): '
                         r'([^\n]*)', text) or re.search(r'fuzz check failed: [^\n]*', text) \
            or re.search(r'runtime error: [^\n]*', text)
        finding = (kind.group(0) if kind else 'exit code %d' % code).strip()[:90]
        if keep:
            target_dir = os.path.join(FUZZ_DIR, 'regressions', name)
            os.makedirs(target_dir, exist_ok=True)
            for path in artifacts:
                shutil.copy(path, target_dir)
        finding += ' (log %s)' % os.path.relpath(log_path, ROOT)
    return (int(runs.group(1)) if runs else 0, int(rate.group(1)) if rate else 0, finding)


def run(build_dir, seconds, keep, wanted):
    rows = []
    failed = False
    for name, max_len in targets():
        if wanted and name not in wanted:
            continue
        runs, rate, finding = fuzz_one(build_dir, name, max_len, seconds, keep)
        failed = failed or bool(finding)
        rows.append((name, runs, rate, finding or 'none'))
        print('  %-18s %12d runs %9d/s  %s' % rows[-1], flush=True)
    print()
    print('| target | executions | executions/s | finding |')
    print('|---|---:|---:|---|')
    for row in rows:
        print('| %s | %d | %d | %s |' % row)
    return 1 if failed else 0


def main(argv):
    if len(argv) >= 3 and argv[0] == 'replay':
        return replay(argv[1], argv[2:])
    if len(argv) >= 3 and argv[0] == 'run':
        rest = argv[3:]
        keep = '--keep' in rest
        return run(os.path.abspath(argv[1]), int(argv[2]), keep,
                   [a for a in rest if a != '--keep'])
    sys.stderr.write(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
