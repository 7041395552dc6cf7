#!/usr/bin/env python3
"""Mutation testing for KeloChart: how many small faults in src/ does the test suite catch?

Each mutant changes one thing in one file of src/ (a comparison, an arithmetic operator, an
integer constant plus one, a boolean, an && / ||, a removed `!`). The script copies the
sources of one commit into a scratch tree, puts a test suite next to them (the same commit's
tests/, another commit's, or a directory), and for each mutant of a seeded sample writes the
change into the scratch copy, rebuilds incrementally with Ninja, runs the test programs and
restores the file. The repository itself is never touched.

A mutant is killed when a test program fails or runs past the timeout, survives when every
program passes, and is counted apart (and left out of the rate) when it does not compile.

    tools/mutate.py --src-rev bc4a172 --tests-from bc4a172 --sample 300 --seed 1 \
        --work /tmp/kelochart-mutate/before --out docs/mutants-before.txt
    tools/mutate.py --src-rev bc4a172 --tests-from HEAD ...   # same mutants, other suite

Standard library only.
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import tarfile
import io
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# --- finding mutation sites ----------------------------------------------------------------

def code_mask(text):
    """Blank out comments, string and character literals and preprocessor lines, keeping the
    offsets, so the patterns below only ever see code."""
    out = list(text)
    i, n = 0, len(text)
    at_line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != '\n':
                out[k] = ' '

    while i < n:
        c = text[i]
        if c == '\n':
            at_line_start = True
            i += 1
            continue
        if at_line_start and c in ' \t':
            i += 1
            continue
        if at_line_start and c == '#':  # preprocessor line, with continuations
            j = i
            while j < n and not (text[j] == '\n' and text[j - 1] != '\\'):
                j += 1
            blank(i, j)
            i = j
            continue
        at_line_start = False
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            k = text.find('(', i)
            delim = text[i + 2:k]
            j = text.find(')' + delim + '"', k)
            j = n if j < 0 else j + len(delim) + 2
            blank(i, j)
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):  # 1'000 separators
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == '\\' else 1
            blank(i, j + 1)
            i = j + 1
        else:
            i += 1
    return ''.join(out)


SWAPS = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '==',
         '+': '-', '-': '+', '*': '/', '/': '*', '+=': '-=', '-=': '+=',
         '&&': '||', '||': '&&', 'true': 'false', 'false': 'true'}

# Binary operators only where the house style writes them, with a space on each side: this
# leaves out template brackets, pointers, unary minus, ->, << and >>.
PATTERNS = [
    ('relational', re.compile(r'(?<= )(<=|>=|==|!=|<|>)(?= )')),
    ('arithmetic', re.compile(r'(?<= )(\+=|-=|\+|-|\*|/)(?= )')),
    ('logical', re.compile(r'(?<= )(&&|\|\|)(?= )')),
    ('boolean', re.compile(r'\b(true|false)\b')),
    ('constant', re.compile(r'(?<![\w.\'])(\d+)(?![\w.\'])')),
    ('negation', re.compile(r'!(?!=)')),
]


def find_sites(files):
    """files: [(path, text)] -> [dict(file, offset, old, new, kind, line)], in a stable order."""
    sites = []
    for path, text in files:
        clean = code_mask(text)
        found = []
        for kind, pattern in PATTERNS:
            for m in pattern.finditer(clean):
                old = m.group(0)
                if kind == 'constant':
                    new = str(int(old) + 1)
                elif kind == 'negation':
                    new = ''
                else:
                    new = SWAPS[old]
                found.append((m.start(), kind, old, new))
        for off, kind, old, new in sorted(found):
            sites.append(dict(file=path, offset=off, old=old, new=new, kind=kind,
                              line=text.count('\n', 0, off) + 1))
    return sites


# --- the scratch tree ------------------------------------------------------------------------

def git(*args, **kw):
    return subprocess.run(['git', '-C', ROOT] + list(args), check=True,
                          stdout=subprocess.PIPE, **kw).stdout


def archive(rev, *paths):
    """{path: bytes} of a commit's files under paths."""
    data = git('archive', '--format=tar', rev, *paths)
    files = {}
    with tarfile.open(fileobj=io.BytesIO(data)) as tar:
        for m in tar.getmembers():
            if m.isfile():
                files[m.name] = tar.extractfile(m).read()
    return files


def directory(path):
    files = {}
    for base, dirs, names in os.walk(path):
        dirs[:] = [d for d in dirs if not d.startswith('.')]
        for name in names:
            full = os.path.join(base, name)
            files[os.path.relpath(full, path)] = open(full, 'rb').read()
    return files


def sync(tree, files, under=None):
    """Make tree hold exactly files (below `under` if given), writing only what differs so
    that Ninja's incremental build stays valid across runs."""
    for rel, data in files.items():
        full = os.path.join(tree, rel)
        try:
            if open(full, 'rb').read() == data:
                continue
        except FileNotFoundError:
            os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, 'wb') as f:
            f.write(data)
    scan = os.path.join(tree, under) if under else tree
    for base, dirs, names in os.walk(scan):
        for name in names:
            rel = os.path.relpath(os.path.join(base, name), tree)
            if rel not in files:
                os.remove(os.path.join(tree, rel))


def resolve_tests(where):
    if os.path.isdir(where):
        return {os.path.join('tests', k): v for k, v in directory(where).items()}, os.path.abspath(where)
    rev = git('rev-parse', '--verify', where + '^{commit}').decode().strip()
    return archive(rev, 'tests'), rev


# --- building and running ----------------------------------------------------------------

def run(cmd, timeout=None, cwd=None, out=subprocess.DEVNULL):
    """(returncode or 'timeout', seconds); the process group is killed on timeout."""
    start = time.monotonic()
    p = subprocess.Popen(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT if out != subprocess.DEVNULL else out,
                         start_new_session=True)
    try:
        rc = p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.wait()
        rc = 'timeout'
    return rc, time.monotonic() - start


def configure(tree, build):
    if os.path.exists(os.path.join(build, 'build.ninja')):
        return
    # RelWithDebInfo without -g: the same optimised code, faster compiles and links. No ccache,
    # no sanitizers; test discovery deferred to ctest so a relink never runs the tests.
    subprocess.run(['cmake', '-S', tree, '-B', build, '-G', 'Ninja',
                    '-DCMAKE_BUILD_TYPE=RelWithDebInfo',
                    '-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG',
                    '-DCMAKE_CXX_COMPILER_LAUNCHER=',
                    '-DKELOCHART_BUILD_BENCH=OFF', '-DKELOCHART_BUILD_APPS=ON',
                    '-DKELOCHART_BUILD_TESTS=ON', '-DKELOCHART_SANITIZE=OFF',
                    '-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST'],
                   check=True, stdout=subprocess.DEVNULL)


def build(build_dir, jobs):
    return run(['nice', '-n', '10', 'ninja', '-C', build_dir, '-j', str(jobs)])[0] == 0


def test_programs(build_dir):
    tests = os.path.join(build_dir, 'tests')
    progs = sorted(os.path.join(tests, p) for p in os.listdir(tests)
                   if p.startswith('kelochart_') and p.endswith('_tests'))
    return progs


FAILED = re.compile(r'^\[  FAILED  \] (\w+(?:/\w+)?\.\w+(?:/\w+)?)', re.M)


def run_tests(progs, timeout, cwd, attribute=False):
    """(outcome, failed tests): 'killed:<program>' for the first failing program, 'timeout:
    <program>', or 'survived'. Without attribute the run stops at the first failing program;
    with it every program runs and the names of the failing tests are collected."""
    deadline = time.monotonic() + timeout
    outcome, failed = 'survived', []
    for prog in progs:
        left = max(1.0, deadline - time.monotonic())
        name = os.path.basename(prog)
        out = os.path.join(cwd, 'mutant-test-output.txt')
        with open(out, 'w') as sink:
            rc, _ = run(['nice', '-n', '10', prog, '--gtest_brief=1'], timeout=left, cwd=cwd, out=sink)
        if rc == 0:
            continue
        if outcome == 'survived':
            outcome = ('timeout:' if rc == 'timeout' else 'killed:') + name
        text = open(out, errors='replace').read()
        names = sorted(set(FAILED.findall(text)))
        failed += names if names and rc != 'timeout' and rc > 0 else ['%s:%s' % (name, 'timeout' if rc == 'timeout' else 'crash')]
        if not attribute:
            break
    return outcome, failed


def list_tests(progs):
    names = []
    for prog in progs:
        suite = None
        for line in subprocess.run([prog, '--gtest_list_tests'], stdout=subprocess.PIPE, text=True).stdout.splitlines():
            if not line.startswith(' '):
                suite = line.split('#')[0].strip()
            else:
                names.append(suite + line.split('#')[0].strip())
    return names


# --- main ----------------------------------------------------------------------------------

def describe(site):
    new = site['new'] if site['new'] else '(removed)'
    return '%s:%d  %s  `%s` -> `%s`' % (site['file'], site['line'], site['kind'], site['old'], new)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--src-rev', default='HEAD', help='commit whose src/ (and build files) are mutated')
    ap.add_argument('--tests-from', default=None,
                    help='test suite: a git rev or a tests/ directory (default: the src rev)')
    ap.add_argument('--sample', type=int, default=300)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--work', default='/tmp/kelochart-mutate', help='scratch tree and build dir')
    ap.add_argument('--out', default=None, help='summary file (default <work>/summary.txt)')
    ap.add_argument('--timeout', type=float, default=60, help='seconds for the whole suite per mutant')
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--list', action='store_true', help='print the sampled mutants and stop')
    ap.add_argument('--attribute', action='store_true',
                    help='run every program for every mutant and name the tests that kill it; the '
                         'summary lists the tests that kill no mutant alone')
    ap.add_argument('--compare', metavar='WORK',
                    help='work dir of another run of the same sample: list mutants it killed that survive here')
    ap.add_argument('--reuse-killed', metavar='WORK',
                    help='work dir of a run of the same sources and sample with a suite this one only adds to: '
                         'its killed mutants count as killed here without being built again')
    args = ap.parse_args()

    src_rev = git('rev-parse', '--verify', args.src_rev + '^{commit}').decode().strip()
    base = archive(src_rev)
    base = {k: v for k, v in base.items() if not k.startswith('tests/')}
    tests, tests_id = resolve_tests(args.tests_from or src_rev)

    sources = sorted((k, v.decode()) for k, v in base.items()
                     if k.startswith('src/') and k.endswith(('.cpp', '.h')))
    sites = find_sites(sources)
    rng = random.Random(args.seed)
    chosen = sorted(rng.sample(range(len(sites)), min(args.sample, len(sites))),
                    key=lambda i: (sites[i]['file'], sites[i]['offset']))
    print('%d mutation sites in %d files of src/ at %s; sample %d, seed %d'
          % (len(sites), len(sources), src_rev[:12], len(chosen), args.seed), flush=True)
    if args.list:
        for i in chosen:
            print('#%d %s' % (i, describe(sites[i])))
        return

    work = os.path.abspath(args.work)
    tree, build_dir = os.path.join(work, 'tree'), os.path.join(work, 'build')
    os.makedirs(tree, exist_ok=True)
    files = dict(base)
    files.update(tests)
    sync(tree, files)
    configure(tree, build_dir)
    if not build(build_dir, args.jobs):
        sys.exit('the unmutated tree does not build in %s' % build_dir)
    progs = test_programs(build_dir)
    cwd = os.path.join(build_dir, 'tests')
    t0 = time.monotonic()
    if run_tests(progs, 600, cwd)[0] != 'survived':
        sys.exit('the unmutated tree fails its tests')
    print('unmutated suite passes in %.1f s: %s' % (time.monotonic() - t0,
          ' '.join(os.path.basename(p) for p in progs)), flush=True)

    log_path = os.path.join(work, 'results.jsonl')
    key = dict(src=src_rev, tests=tests_id, seed=args.seed, sample=args.sample, attribute=args.attribute)
    done = {}
    if os.path.exists(log_path):  # resume an interrupted run of the same configuration
        for line in open(log_path):
            r = json.loads(line)
            if r.get('key') == key:
                done[r['id']] = r
    log = open(log_path, 'a')

    # Sound only when this suite keeps every test of the other run unchanged and adds cases
    # (a test that failed there fails here); the summary counts these apart.
    reused = {}
    if args.reuse_killed:
        for line in open(os.path.join(args.reuse_killed, 'results.jsonl')):
            r = json.loads(line)
            k = r.get('key', {})
            if (k.get('src'), k.get('seed'), k.get('sample')) == (src_rev, args.seed, args.sample) \
                    and r['outcome'].startswith(('killed', 'timeout')):
                reused[r['id']] = r

    def restore(site):
        path = os.path.join(tree, site['file'])
        with open(path, 'wb') as f:
            f.write(base[site['file']])

    for n, i in enumerate(chosen, 1):
        site = sites[i]
        if i in done:
            continue
        if i in reused:
            r = dict(key=key, id=i, outcome=reused[i]['outcome'], desc=describe(site), failed=[], seconds=0,
                     reused=True)
            done[i] = r
            log.write(json.dumps(r) + '\n')
            continue
        text = base[site['file']].decode()
        off = site['offset']
        mutated = text[:off] + site['new'] + text[off + len(site['old']):]
        start = time.monotonic()
        try:
            with open(os.path.join(tree, site['file']), 'w') as f:
                f.write(mutated)
            failed = []
            if not build(build_dir, args.jobs):
                outcome = 'not-compiled'
            else:
                outcome, failed = run_tests(progs, args.timeout, cwd, args.attribute)
        finally:  # also on Ctrl-C: the scratch file goes back to the commit's text
            restore(site)
        r = dict(key=key, id=i, outcome=outcome, desc=describe(site), failed=failed,
                 seconds=round(time.monotonic() - start, 1))
        done[i] = r
        log.write(json.dumps(r) + '\n')
        log.flush()
        print('[%d/%d] %-28s %s (%.0f s)' % (n, len(chosen), outcome, describe(site), r['seconds']),
              flush=True)
    log.close()
    build(build_dir, args.jobs)  # leave the build matching the unmutated tree

    results = [done[i] for i in chosen]
    killed = [r for r in results if r['outcome'].startswith(('killed', 'timeout'))]
    survived = [r for r in results if r['outcome'] == 'survived']
    broken = [r for r in results if r['outcome'] == 'not-compiled']
    rate = 100.0 * len(killed) / max(1, len(killed) + len(survived))
    lines = ['src %s, tests %s, sample %d, seed %d (%d sites)' % (src_rev[:12], tests_id if os.path.isabs(tests_id) else tests_id[:12], len(chosen), args.seed, len(sites)),
             'killed %d (of which timeouts %d, taken as killed from another run %d), survived %d, '
             'not compiled %d' % (
                 len(killed), sum(r['outcome'].startswith('timeout') for r in killed),
                 sum(1 for r in killed if r.get('reused')), len(survived), len(broken)),
             'kill rate %.1f %% (%d / %d compiled mutants)' % (rate, len(killed), len(killed) + len(survived)),
             '', 'survivors:'] + ['  #%d %s' % (r['id'], r['desc']) for r in survived]
    if args.attribute:  # which tests kill mutants no other test kills
        alone = {}
        for r in killed:
            if len(r.get('failed', [])) == 1:
                alone.setdefault(r['failed'][0], []).append(r['id'])
        every = sorted({t for r in killed for t in r.get('failed', [])})
        lines += ['', 'tests killing mutants alone (test: mutant ids):']
        lines += ['  %s: %s' % (t, ' '.join('#%d' % i for i in alone[t])) for t in sorted(alone)]
        lines += ['', 'tests that fail for some mutant but kill none alone:'] + ['  ' + t for t in every if t not in alone]
        lines += ['', 'tests that fail for no mutant of the sample:'] + ['  ' + t for t in list_tests(progs) if t not in every]
    if args.compare:
        other = {}
        for line in open(os.path.join(args.compare, 'results.jsonl')):
            r = json.loads(line)
            other[r['id']] = r
        lost = [r for r in survived if other.get(r['id'], {}).get('outcome', '').startswith(('killed', 'timeout'))]
        gained = [r for r in killed if other.get(r['id'], {}).get('outcome') == 'survived']
        lines += ['', 'killed by %s but surviving here:' % args.compare] + ['  #%d %s' % (r['id'], r['desc']) for r in lost]
        lines += ['', 'surviving in %s but killed here:' % args.compare] + ['  #%d %s' % (r['id'], r['desc']) for r in gained]
    summary = '\n'.join(lines) + '\n'
    out = args.out or os.path.join(work, 'summary.txt')
    with open(out, 'w') as f:
        f.write(summary)
    print(summary)


if __name__ == '__main__':
    main()
