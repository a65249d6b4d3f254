#!/usr/bin/python3
"""Times the common-subset benchmark scripts with kestrin-script, duktape and mujs in one
run and prints each engine's time and Kestrin's ratios to duktape and mujs (best of N runs); for the
generated sources it also prints each engine's peak memory and Kestrin's ratio. A script
with a Perl twin (NAME.pl) has that timed in the same run too, with Kestrin's ratio to it.
Then a chain of 10,000 joined string literals against the same text after a variable, in
time and peak memory; last, the start-up of an empty script (medians of wall and CPU time, the
engines run in turn), alone with a third argument "empty"."""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = ["loop", "while", "string", "property", "call", "fib", "array", "sort", "text_ascii", "text_japanese", "throw",
           "error_name", "error_member", "new",
           "regex", "compile", "objects"]
# Goals: Kestrin's time at most this multiple of duktape's, and for the generated
# sources its peak memory at most this multiple of duktape's.
GOALS = {"string": 1.0, "sort": 1.0, "text_ascii": 1.0, "text_japanese": 1.0, "throw": 2.0, "error_name": 2.0,
         "error_member": 2.0, "regex": 1.0}
DEFAULT_GOAL = 1.0
MEMORY_GOALS = {"compile": 2.0, "objects": 2.0, "literal": 3.0}


def generate(folder):
    """The generated sources: 1e6 statements, 200,000 live objects of four properties, and
    one string literal of 50 MB."""
    paths = {}
    paths["compile"] = os.path.join(folder, "compile.js")
    with open(paths["compile"], "w") as f:
        f.write("var x = 0;\n")
        f.write("x = x + 1;\n" * 1000000)
        f.write("print(x);\n")
    paths["objects"] = os.path.join(folder, "objects.js")
    with open(paths["objects"], "w") as f:
        f.write("var list = [];\n")
        f.write("for (var i = 0; i < 200000; i++) list.push({a: i, b: i + 1, c: i + 2, d: i + 3});\n")
        f.write("print(list.length);\n")
    paths["literal"] = os.path.join(folder, "literal.js")
    with open(paths["literal"], "w") as f:
        f.write('var s = "' + "abcdefghij" * 5000000 + '";\nprint(s.length);\n')
    # 10,000 string literals of 100 characters joined by "+": folded while the program is
    # read, and the same text after a variable, which is joined when it runs.
    terms = " + ".join('"%s"' % (("%05d" % i) * 20) for i in range(10000))
    paths["joined"] = os.path.join(folder, "joined.js")
    with open(paths["joined"], "w") as f:
        f.write("var s = " + terms + ";\nprint(s.length);\n")
    paths["joined_after_variable"] = os.path.join(folder, "joined_after_variable.js")
    with open(paths["joined_after_variable"], "w") as f:
        f.write('var v = "";\nvar s = v + ' + terms + ";\nprint(s.length);\n")
    return paths


# Goal: an empty script runs to its end within this many milliseconds (the runner starts
# its GUI only for scripts that need it).
EMPTY_GOAL_MS = 15.0


def start_once(cmd):
    """Wall and CPU time (user and system) of one run, measured around the child alone; its
    output goes to /dev/null."""
    start = time.perf_counter()
    pid = os.posix_spawn(cmd[0], cmd, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("%s failed" % " ".join(cmd))
    return elapsed, usage.ru_utime + usage.ru_stime


def median(values):
    values = sorted(values)
    mid = len(values) // 2
    return values[mid] if len(values) % 2 else (values[mid - 1] + values[mid]) / 2


def compare_empty(kestrin, folder, peers, runs):
    """Start-up: an empty script, the engines in turn, runs * 20 times each; the medians of
    wall and CPU time and Kestrin's ratios to each peer."""
    path = os.path.join(folder, "empty.js")
    with open(path, "w"):
        pass
    engines = [("kestrin", kestrin)] + [(os.path.basename(p), p) for p in peers]
    times = {name: ([], []) for name, _ in engines}
    for _ in range(runs * 20):
        for name, exe in engines:
            wall, cpu = start_once([exe, path])
            times[name][0].append(wall)
            times[name][1].append(cpu)
    os.remove(path)
    k_wall, k_cpu = (median(v) * 1000 for v in times["kestrin"])
    print()
    print("%-13s %9s %9s %11s %11s %6s" % ("empty script", "wall", "cpu", "k/peer wall", "k/peer cpu", "goal"))
    print("%-13s %7.1fms %7.1fms %11s %11s %4.0fms%s" % ("kestrin", k_wall, k_cpu, "", "", EMPTY_GOAL_MS,
                                                       "" if k_wall <= EMPTY_GOAL_MS else "  over"))
    for name, _ in engines[1:]:
        wall, cpu = (median(v) * 1000 for v in times[name])
        print("%-13s %7.1fms %7.1fms %10.2fx %10.2fx" % (name, wall, cpu, k_wall / wall,
                                                       k_cpu / cpu if cpu else float("nan")))


# Goal: the folded chain costs at most this multiple of the chain after a variable, in
# time and in peak memory (folding must cost the text's length, not its square).
JOINED_GOAL = 1.5


def compare_joined(kestrin, generated, runs):
    folded_time, folded_mem = best_time([kestrin, generated["joined"]], runs)
    plain_time, plain_mem = best_time([kestrin, generated["joined_after_variable"]], runs)
    print()
    print("%-22s %9s %9s %8s %6s" % ("joined literals", "folded", "variable", "ratio", "goal"))
    for label, folded, plain, unit in (("time", folded_time, plain_time, "s"),
                                       ("peak", folded_mem / 1024, plain_mem / 1024, "MB")):
        ratio = folded / plain
        print("%-22s %8.3f%s %8.3f%s %7.2fx %5.1fx%s" % (label, folded, unit, plain, unit, ratio, JOINED_GOAL,
                                                          "" if ratio <= JOINED_GOAL else "  over"))


def run_once(cmd):
    """Wall time and peak resident memory (KiB) of one run. The peak comes from
    /usr/bin/time: a child's rusage also counts the memory of the Python process it was
    forked from, which holds the generated sources."""
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    err = done.stderr.decode(errors="replace").strip().splitlines()
    if done.returncode != 0:
        raise RuntimeError("%s failed: %s" % (" ".join(cmd), "\n".join(err)))
    return elapsed, int(err[-1]) if err and err[-1].isdigit() else 0


def best_time(cmd, runs, peer=False):
    """Best time and peak memory; a peer that cannot run a script gives NaN and 0."""
    best, peak = None, 0
    for _ in range(runs):
        try:
            elapsed, rss = run_once(cmd)
        except RuntimeError:
            if not peer:
                raise
            return float("nan"), 0
        best = elapsed if best is None else min(best, elapsed)
        peak = max(peak, rss)
    return best, peak


def main():
    if len(sys.argv) < 2 or sys.argv[3:] not in ([], ["empty"]):
        print("usage: run_bench.py KESTRIN_SCRIPT [RUNS [empty]]")
        return 2
    kestrin = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    peers = [p for p in ("/usr/bin/duk", "/usr/bin/mujs") if os.path.exists(p)]
    if "/usr/bin/duk" not in peers:
        print("duktape (/usr/bin/duk) is missing")
        return 1 if os.environ.get("CI") == "true" else 0
    folder = tempfile.mkdtemp(prefix="kestrin-bench-")
    if sys.argv[3:] == ["empty"]:
        compare_empty(kestrin, folder, peers, runs)
        os.rmdir(folder)
        return 0
    generated = generate(folder)
    print("%-13s %9s %9s %9s %8s %8s %6s" % ("script", "kestrin", "duk", "mujs", "k/duk", "k/mujs", "goal"))
    memory = {}
    for name in SCRIPTS:
        path = generated.get(name, os.path.join(HERE, name + ".js"))
        k, k_mem = best_time([kestrin, path], runs)
        d, d_mem = best_time(["/usr/bin/duk", path], runs)
        m, m_mem = best_time(["/usr/bin/mujs", path], runs, True) if "/usr/bin/mujs" in peers else (float("nan"), 0)
        goal = GOALS.get(name, DEFAULT_GOAL)
        ratio = k / d
        print("%-13s %8.3fs %8.3fs %8.3fs %7.2fx %7.2fx %5.1fx%s" % (name, k, d, m, ratio, k / m, goal,
                                                                "" if ratio <= goal else "  over"))
        twin = os.path.join(HERE, name + ".pl")
        if os.path.exists(twin) and os.path.exists("/usr/bin/perl"):
            p, _ = best_time(["/usr/bin/perl", twin], runs, True)
            print("%-13s %8.3fs (perl)  kestrin/perl %.2fx" % ("", p, k / p))
        if name in MEMORY_GOALS:
            memory[name] = (k_mem, d_mem, m_mem)
    memory["literal"] = (best_time([kestrin, generated["literal"]], 1)[1],
                         best_time(["/usr/bin/duk", generated["literal"]], 1)[1],
                         best_time(["/usr/bin/mujs", generated["literal"]], 1, True)[1] if "/usr/bin/mujs" in peers else 0)
    print()
    print("%-9s %9s %9s %9s %8s %6s" % ("peak", "kestrin", "duk", "mujs", "k/duk", "goal"))
    for name, (k_mem, d_mem, m_mem) in memory.items():
        goal = MEMORY_GOALS[name]
        ratio = k_mem / d_mem
        print("%-9s %7.0fMB %7.0fMB %7.0fMB %7.2fx %5.1fx%s" % (name, k_mem / 1024, d_mem / 1024, m_mem / 1024, ratio,
                                                              goal, "" if ratio <= goal else "  over"))
    compare_joined(kestrin, generated, runs)
    compare_empty(kestrin, folder, peers, runs)
    for path in generated.values():
        os.remove(path)
    os.rmdir(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
