"""The closing table of every benchmark: one row per figure with its target."""


def report(results):
    """Prints (name, value, limit) rows; returns the exit code (1 when a target is missed)."""
    print()
    failed = 0
    for name, value, limit in results:
        ok = value <= limit
        failed += not ok
        print('%-50s %8.3f  (target <= %g)  %s' % (name, value, limit, 'PASS' if ok else 'FAIL'))
    return 1 if failed else 0
