"""The module in a service's process: forks taken while batches run in other
threads, and signals (Ctrl-C) during a batch. Each scenario runs in its own
interpreter with a deadline, so that a regression fails instead of hanging
the test run."""

from __future__ import annotations

import json
import os
import pathlib
import subprocess
import sys
import textwrap

import vyr_g2p


def run_script(code: str, *args: str, timeout: float = 240) -> dict:
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(
        p for p in (str(pathlib.Path(vyr_g2p.__file__).parent), env.get("PYTHONPATH")) if p
    )
    env.setdefault("RAYON_NUM_THREADS", "2")
    result = subprocess.run(
        # Python 3.12 and later warn about forking a threaded process: that
        # is the very case under test.
        [sys.executable, "-W", "ignore::DeprecationWarning", "-c", textwrap.dedent(code), *args],
        capture_output=True, text=True, env=env, timeout=timeout,
    )
    assert result.returncode == 0, result.stderr
    return json.loads(result.stdout.splitlines()[-1])


FORK_SCRIPT = """
import json, os, signal, sys, threading, time
import vyr_g2p

g2p = vyr_g2p.G2P(sys.argv[1])
norm = vyr_g2p.Normalizer()
# More found words than the merged cache holds (it is emptied again and
# again) and ever new unknown words: the batches write to the caches all
# the time, under their locks.
words = [f"w{i:05d}" for i in range(12000)]
texts = [" ".join(words[i:i + 12]) + f" ok{i}zz." for i in range(0, len(words), 12)]
norm_texts = [f"Ngày {i % 28 + 1}/{i % 12 + 1}/2024 lúc {i % 24}:30, giá {i}.000đ." for i in range(300)]
probe, norm_probe = texts[:40], norm_texts[:40]
want = [g2p.phonemize(t) for t in probe]
want_norm = [norm.normalize(t) for t in norm_probe]

stop = False
def busy(k):
    while not stop:
        if k % 2 == 0:
            g2p.phonemize_batch(texts)
        else:
            norm.normalize_batch(norm_texts)
workers = [threading.Thread(target=busy, args=(k,)) for k in range(3)]
for w in workers:
    w.start()

children = []
for i in range(60):
    time.sleep(0.01)
    pid = os.fork()
    if pid == 0:
        ok = (g2p.phonemize(probe[0]) == want[0]
              and g2p.phonemize_batch(probe) == want
              and norm.normalize_batch(norm_probe) == want_norm)
        os._exit(0 if ok else 1)
    children.append(pid)
stop = True
for w in workers:
    w.join()

deadline = time.monotonic() + 60
outcome = {"ok": 0, "failed": 0, "hung": 0}
for pid in children:
    while True:
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            outcome["ok" if os.waitstatus_to_exitcode(status) == 0 else "failed"] += 1
            break
        if time.monotonic() > deadline:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
            outcome["hung"] += 1
            break
        time.sleep(0.01)
print(json.dumps(outcome))
"""


def test_forks_during_batches_leave_working_children(make_dictionary):
    path = make_dictionary({f"w{i:05d}": f"W{i}" for i in range(12000)}, {"ok": ("ɔk", "<en>oʊkeɪ")})
    assert run_script(FORK_SCRIPT, path) == {"ok": 60, "failed": 0, "hung": 0}


SIGNAL_SCRIPT = """
import json, os, signal, sys, threading, time
import vyr_g2p

g2p = vyr_g2p.G2P(sys.argv[1])
norm = vyr_g2p.Normalizer()
texts = [f"Ngày {i % 28 + 1}/{i % 12 + 1}/2024 lúc {i % 24}:30, giá {i}.000đ, gọi 0912 345 678."
         for i in range(400_000)]
out = {}

def interrupted_after(call, signum=signal.SIGINT, delay=0.3):
    threading.Timer(delay, os.kill, (os.getpid(), signum)).start()
    start = time.monotonic()
    try:
        call()
    except BaseException as e:
        return type(e).__name__, round(time.monotonic() - start, 2)
    return "finished", round(time.monotonic() - start, 2)

# Ctrl-C: KeyboardInterrupt soon after the signal, not after the batch.
out["normalize"] = interrupted_after(lambda: norm.normalize_batch(texts))
out["phonemize"] = interrupted_after(lambda: g2p.phonemize_batch(texts * 3))

# What the handler raises is what the batch raises.
class Stop(Exception):
    pass
def raise_stop(signum, frame):
    raise Stop()
signal.signal(signal.SIGUSR1, raise_stop)
out["custom"] = interrupted_after(lambda: norm.normalize_batch(texts), signal.SIGUSR1)

# A handler that does not raise lets the batch finish, with every result.
seen = []
signal.signal(signal.SIGUSR2, lambda signum, frame: seen.append(signum))
small = texts[:40_000]
result = []
out["quiet"] = interrupted_after(lambda: result.extend(norm.normalize_batch(small)),
                                 signal.SIGUSR2, delay=0.05)
out["quiet_complete"] = (len(result) == len(small) and seen == [signal.SIGUSR2]
                         and all(result[i] == norm.normalize(small[i]) for i in range(0, 40_000, 997)))

# The pool and the objects stay usable.
out["after"] = [norm.normalize_batch(["Lúc 9h30.", "A"]), g2p.phonemize_batch(["xin", "xin."])]
print(json.dumps(out))
"""


def test_a_signal_stops_a_batch(make_dictionary):
    out = run_script(SIGNAL_SCRIPT, make_dictionary({"xin": "sin"}))
    for key in ("normalize", "phonemize"):
        kind, seconds = out[key]
        assert kind == "KeyboardInterrupt", out
        assert seconds < 3, out  # 0.3 s to the signal, then a fraction of a second
    assert out["custom"][0] == "Stop" and out["custom"][1] < 3, out
    assert out["quiet"][0] == "finished" and out["quiet_complete"], out
    assert out["after"] == [["lúc chín giờ ba mươi phút.", "a"], ["sin", "sin."]]
