#!/usr/bin/env bash
# Measures how many small faults the test suite finds: copies the tree to a scratch directory, builds
# it once, then plants one single-point change at a time in src/ (.cpp and .h), rebuilds what changed
# and runs the tests. A mutant is caught when the tests fail or time out; one that does not compile is
# left out of the count. By hand only, not part of CI: 120 mutants take 40 to 80 minutes.
#
# Usage: tools/mutation_check.sh [--tree DIR] [--count N] [--skip K] [--list] [--keep] [SEED]
#   SEED        picks the mutants (default 1); the same seed on the same src/ gives the same list
#   --tree DIR  the checkout to measure (default: the one this script is in); it is only read
#   --count N   how many mutants (default 120)
#   --skip K    leave out the first K mutants of the list (to resume a run that was stopped)
#   --list      print the chosen mutants and stop (nothing is copied or built)
#   --keep      keep the scratch directory (copy, build, logs); otherwise only the survivors file stays
# Environment: MUTATION_CMAKE_ARGS (extra configure arguments), MUTATION_JOBS (build jobs, default 2),
# MUTATION_TEST_CMD (default: ctest --test-dir "$BUILD" -j2 --timeout 60; runs in the build directory
# with BUILD set to it), MUTATION_BUILD_BUDGET and MUTATION_TEST_BUDGET (seconds, default 300 and 600).
set -euo pipefail

usage() { sed -n '7,16p' "$0" | sed 's/^# \{0,1\}//'; exit "${1:-0}"; }

tree="$(cd "$(dirname "$0")/.." && pwd)"
count=120 seed=1 list=0 keep=0 skip=0
while (($#)); do
    case "$1" in
    --tree) tree="$(cd "${2:?--tree needs a directory}" && pwd)"; shift 2 ;;
    --count) count="${2:?--count needs a number}"; shift 2 ;;
    --skip) skip="${2:?--skip needs a number}"; shift 2 ;;
    --list) list=1; shift ;;
    --keep) keep=1; shift ;;
    -h | --help) usage 0 ;;
    -*) echo "unknown option: $1" >&2; usage 2 ;;
    *) seed="$1"; shift ;;
    esac
done
[[ "$count" =~ ^[0-9]+$ && "$skip" =~ ^[0-9]+$ && "$seed" =~ ^-?[0-9]+$ ]] || { echo "count and seed must be integers" >&2; exit 2; }
[[ -d "$tree/src" ]] || { echo "$tree has no src/ directory" >&2; exit 2; }

IFS= read -r -d '' PY <<'EOF' || true
import os, random, re, signal, subprocess, sys, time

mode, tree, seed, count = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])

def mask(text):
    """Blanks comments, string and character literals, preprocessor lines and static_asserts, keeping
    every other character (and every newline) where it is."""
    out, i, n = list(text), 0, len(text)
    def blank(a, b):
        for k in range(a, min(b, n)):
            if out[k] != '\n':
                out[k] = ' '
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i); j = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2); j = n if j < 0 else j + 2
        elif c == '"' and i and text[i - 1] == 'R':
            m = re.compile(r'R"([^(\s]*)\(').match(text, i - 1)
            j = text.find(')' + m.group(1) + '"', i) + len(m.group(1)) + 2 if m else i + 1
        elif c in '"\'':
            word = re.search(r"[\w']*$", text[max(0, i - 40):i]).group(0)
            if c == "'" and word[:1].isdigit():   # digit separator
                i += 1; continue
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            j += 1
        else:
            i += 1; continue
        blank(i, j); i = j
    text = ''.join(out)
    for m in re.finditer(r'^[ \t]*#(?:[^\n]*\\\n)*[^\n]*', text, re.M):
        blank(m.start(), m.end())
    for m in re.finditer(r'\bstatic_assert\b', ''.join(out)):
        depth, j = 0, m.end()
        while j < n and not (out[j] == ';' and depth == 0):
            depth += {'(': 1, ')': -1}.get(out[j], 0); j += 1
        blank(m.start(), j + 1)
    return ''.join(out)

QUALIFIERS = {'const', 'noexcept', 'override', 'final', 'mutable', 'try'}

def code_flags(masked):
    """For each character: is it inside a function body?"""
    flags, stack, header = [False] * len(masked), [], ''
    for k, c in enumerate(masked):
        parent = stack[-1][0] if stack else 'scope'
        if c == '{':
            if parent in ('code', 'init'):
                kind = parent
            elif re.search(r'\b(namespace|class|struct|union|enum|extern)\b[^()]*$', header):
                kind = 'scope'
            elif ')' in header:
                tail = header[header.rfind(')') + 1:]
                last = re.search(r'(\w+)\s*$', tail)
                kind = 'init' if last and last.group(1) not in QUALIFIERS and '->' not in tail else 'code'
            else:
                kind = 'init' if '=' in header or re.search(r'\w\s*$', header) else 'scope'
            stack.append((kind, header)); header = ''
        elif c == '}' and stack:
            kind, saved = stack.pop()
            header = saved + '{}' if kind == 'init' else ''
        elif c == ';':
            header = ''
        else:
            header += c
        flags[k] = bool(stack) and stack[-1][0] == 'code'
    return flags

FLIP = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '=='}
NOT_CALLS = {'if', 'while', 'for', 'switch', 'return', 'sizeof', 'alignof', 'decltype', 'catch',
             'min', 'max', 'std::min', 'std::max', 'swap', 'std::swap'}  # keywords, and calls whose arguments commute
TYPE_WORDS = {'int', 'double', 'float', 'bool', 'char', 'long', 'short', 'unsigned', 'signed', 'void',
              'auto', 'const', 'size_t', 'std::size_t'}
SIMPLE = r'-?[A-Za-z_]\w*(?:(?:\.|->|::)[A-Za-z_]\w*)*|-?\d[\w.]*'
DECLARATION = re.compile(r'(?:(?:const|static|constexpr|thread_local|volatile|unsigned|signed|long|short|'
                         r'struct|typename)\s+)*[A-Za-z_][\w:]*(?:<.*>)?(?:\s*[*&]+\s*|\s+)(?:const\s+)?'
                         r'[*&]*[A-Za-z_]\w*\s*(?:=|;|\{|\(|\[|,)')

def changed_int(lit):
    v = int(lit, 16) if lit[:2].lower() == '0x' else int(lit)
    v = 1 if v == 0 else v - 1
    return hex(v) if lit[:2].lower() == '0x' else str(v)

def sites(path, rel):
    """Every mutation site of one file, as (line, col, end, replacement, kind, before, after)."""
    text = open(path, encoding='utf-8', errors='surrogateescape').read()
    masked, lines = mask(text), text.split('\n')
    flags, found, start = code_flags(masked), [], 0
    for no, mline in enumerate(masked.split('\n'), 1):
        line, in_code = lines[no - 1], flags[start:start + len(mline)]
        def add(a, b, repl, kind, before=None, after=None):
            found.append((no, a + 1, b + 1, repl, kind, before or line[a:b], repl if after is None else after))
        for m in re.finditer(r'(?<=\s)(<=|>=|==|!=|<|>)(?=\s)', mline):
            add(m.start(), m.end(), FLIP[m.group(1)], 'compare')
        for m in re.finditer(r'(?<=\s)(&&|\|\|)(?=\s)', mline):
            add(m.start(), m.end(), '||' if m.group(1) == '&&' else '&&', 'logic')
        for m in re.finditer(r'(\w+|\)|\])(\s[+-]\s1)(?![\w.\'])', mline):
            add(m.start(2), m.end(2), '', 'bound', m.group(0), m.group(1))
        for m in re.finditer(r'(?:\[|(?<=\s)(?:<=|>=|==|!=|<|>)\s+)(\d+)(?=[uUlL]*(?:\]|[^\w.]|$))', mline):
            add(m.start(1), m.end(1), str(int(m.group(1)) + 1), 'bound')
        floats = set()
        for m in re.finditer(r'(?<![\w.])((?:\d+\.\d*|\.\d+)(?:[eE][+-]?\d+)?|\d+[eE][+-]?\d+)(?=[fFlL]?(?![\w.]))', mline):
            v = float(m.group(1))
            add(m.start(1), m.end(1), repr(v * 2 if v else 1.0), 'constant')
            floats.update(range(m.start(1), m.end(1)))
        for m in re.finditer(r'(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?=[uUlL]*(?![\w.\']))', mline):
            if m.start() not in floats and not re.search(r'\)[\w\s]*=\s*$', mline[:m.start()]):  # not "= 0" of a pure virtual
                add(m.start(1), m.end(1), changed_int(m.group(1)), 'constant')
        for m in re.finditer(r'\b(true|false)\b', mline):
            add(m.start(), m.end(), 'false' if m.group(1) == 'true' else 'true', 'constant')
        for m in re.finditer(r'([A-Za-z_][\w:]*(?:<[^<>()]*>)?)\s*\(\s*(%s)\s*,\s*(%s)\s*\)' % (SIMPLE, SIMPLE), mline):
            a, b = m.group(2), m.group(3)
            if in_code[m.start()] and m.group(1) not in NOT_CALLS and a != b and not {a, b} & TYPE_WORDS:
                add(m.start(2), m.end(3), b + mline[m.end(2):m.start(3)] + a, 'swap')
        stmt = mline.strip()
        if stmt.endswith(';') and in_code[len(mline) - len(mline.lstrip())] and \
                all(stmt.count(o) == stmt.count(c) for o, c in ('()', '[]', '{}')):
            prev = masked[:start].rstrip()[-1:]
            first = re.match(r'\w*', stmt).group(0)
            if prev in (';', '{', '}', ':') and not DECLARATION.match(stmt) and first not in \
                    ('using', 'typedef', 'case', 'default', 'template', 'friend') and \
                    not (first == 'return' and stmt != 'return;'):
                add(0, len(line), '', 'drop', line.strip(), '(deleted)')
        start += len(mline) + 1
    return [(rel,) + s for s in found]

def candidates():
    files = []
    for root, _, names in os.walk(os.path.join(tree, 'src')):
        files += [os.path.join(root, f) for f in names if f.endswith(('.cpp', '.h'))]
    found, seen = [], set()
    for path in sorted(files, key=lambda p: os.path.relpath(p, tree)):
        for s in sites(path, os.path.relpath(path, tree)):
            if s[:5] not in seen:
                seen.add(s[:5]); found.append(s)
    found.sort(key=lambda s: s[:6])
    chosen = random.Random(seed).sample(found, min(count, len(found)))
    return sorted(chosen, key=lambda s: s[:6]), len(found)

def describe(s):
    return '%s:%d  %s  %s -> %s' % (s[0], s[1], s[5], s[6], s[7])

def run(cmd, budget, log, env=None):
    """Runs cmd in its own process group; returns its status, or None when it ran out of time."""
    with open(log, 'w') as out:
        p = subprocess.Popen(cmd, shell=isinstance(cmd, str), cwd=build, env=env, stdout=out,
                             stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, start_new_session=True)
        try:
            return p.wait(timeout=budget)
        except BaseException as e:
            os.killpg(p.pid, signal.SIGKILL); p.wait()
            if isinstance(e, subprocess.TimeoutExpired):
                return None
            raise

chosen, total = candidates()
if mode == 'list':
    print('seed %d: %d of %d sites' % (seed, len(chosen), total), file=sys.stderr)
    for s in chosen:
        print('%s:%d:%d  %s  %s -> %s' % (s[0], s[1], s[2], s[5], s[6], s[7]))
    sys.exit(0)

build, scratch = sys.argv[5], sys.argv[6]
signal.signal(signal.SIGINT, lambda *_: sys.exit(130))  # the file being mutated is restored on the way out
jobs = os.environ.get('MUTATION_JOBS', '2')
build_budget = float(os.environ.get('MUTATION_BUILD_BUDGET', 300))
test_budget = float(os.environ.get('MUTATION_TEST_BUDGET', 600))
test_env = dict(os.environ, BUILD=build)
test_cmd = os.environ.get('MUTATION_TEST_CMD') or 'ctest --test-dir "$BUILD" -j2 --timeout 60'
survivors_path = os.path.join(scratch, 'survivors.txt')
caught = compiled = 0
skip = int(os.environ.get('MUTATION_SKIP', '0'))
began = time.time()
with open(survivors_path, 'w') as survivors:
    for s in chosen[skip:]:
        path = os.path.join(tree, s[0])
        with open(path, 'rb') as f:
            original = f.read()
        lines = original.decode('utf-8', 'surrogateescape').split('\n')
        old = lines[s[1] - 1]
        lines[s[1] - 1] = old[:s[2] - 1] + s[4] + old[s[3] - 1:]
        try:
            with open(path, 'wb') as f:
                f.write('\n'.join(lines).encode('utf-8', 'surrogateescape'))
            status = run(['cmake', '--build', build, '-j', jobs], build_budget, os.path.join(scratch, 'build.log'))
            log = open(os.path.join(scratch, 'build.log'), errors='replace').read()
            if status != 0 and 'Error running test executable' in log:
                verdict = 'caught'      # compiled, but the test program failed while listing its tests
            elif status != 0:
                verdict = 'no-compile' + (' (build over budget)' if status is None else '')
            else:
                status = run(test_cmd, test_budget, os.path.join(scratch, 'test.log'), test_env)
                verdict = 'caught' if status != 0 else 'SURVIVED'
        finally:
            with open(path, 'wb') as f:
                f.write(original)
            os.utime(path)
        compiled += not verdict.startswith('no-compile')
        caught += verdict == 'caught'
        print('%-10s  %s' % (verdict, describe(s)), flush=True)
        if verdict == 'SURVIVED':
            survivors.write('%s\n    before: %s\n    after:  %s\n' % (describe(s), old.strip(), lines[s[1] - 1].strip()))
spent = time.time() - began
print('survivors: %s' % survivors_path)
print('time: %.0f s, %.1f s a mutant' % (spent, spent / max(1, len(chosen) - skip)))
print('mutants: %d/%d caught' % (caught, compiled))
EOF

if ((list)); then
    exec python3 -c "$PY" list "$tree" "$seed" "$count"
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/mutation.XXXXXX")"
cleanup() {
    if ((keep)); then echo "scratch directory kept: $scratch" >&2
    elif [[ -e "$scratch/survivors.txt" ]]; then rm -rf "$scratch/tree" "$scratch/build" "$scratch"/*.log
    else rm -rf "$scratch"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
src="$scratch/tree" build="$scratch/build"
mkdir "$src"

# The working tree as it is, uncommitted changes and new files included, build outputs left out.
if git -C "$tree" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$tree" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do
            [[ "$f" == build*/* || "$f" == out/* || ! -e "$f" ]] || printf '%s\0' "$f"
        done | tar --null -T - -cf -) | tar -C "$src" -xf -
else
    tar -C "$tree" --exclude=./.git --exclude='./build*' --exclude=./out -cf - . | tar -C "$src" -xf -
fi

step() { # step NAME COMMAND...: runs a preparation step, showing the end of its log when it fails
    echo "$1..." >&2
    "${@:2}" >"$scratch/$1.log" 2>&1 || { tail -n 40 "$scratch/$1.log" >&2; echo "$1 failed (log: $scratch/$1.log)" >&2; keep=1; exit 1; }
}
# shellcheck disable=SC2086  # MUTATION_CMAKE_ARGS is a list of arguments
step configure cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug ${MUTATION_CMAKE_ARGS:-}
step build cmake --build "$build" -j "${MUTATION_JOBS:-2}"
export BUILD="$build"
step baseline-tests bash -c "cd \"\$BUILD\" && ${MUTATION_TEST_CMD:-ctest --test-dir \"\$BUILD\" -j2 --timeout 60}"
echo "unmutated suite passes; mutating $src/src" >&2

MUTATION_SKIP="$skip" python3 -c "$PY" run "$src" "$seed" "$count" "$build" "$scratch"
