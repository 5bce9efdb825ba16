#!/usr/bin/python3
"""Start-up benchmark: runs programs interleaved in a private X server and prints, for each,
the time from exec to its first painted and mapped window, its peak resident memory, its CPU time,
and the time from a close request (WM_DELETE_WINDOW, as a window manager sends it) to its exit.

usage: startup.py RUNS NAME=COMMAND [NAME=COMMAND ...]   (needs DISPLAY; the first is compared
against the others)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display
from Xlib.ext import damage
from Xlib.protocol import event

TITLE = "Tarnwick v0.05"
TIMEOUT = 20.0


def window_title(win):
    try:
        name = win.get_full_text_property(win.display.get_atom("_NET_WM_NAME")) or win.get_wm_name()
        return name if isinstance(name, str) else (name or b"").decode("utf-8", "replace")
    except Exception:  # the window may be gone already
        return ""


def next_event(disp, deadline):
    while disp.pending_events() == 0:
        if time.monotonic() > deadline:
            raise TimeoutError("no window appeared")
        time.sleep(0.0005)
    return disp.next_event()


def run_once(command, workdir):
    disp = display.Display()
    # Short-lived helper windows may vanish before their damage is created; that is expected.
    disp.set_error_handler(lambda *args, **kwargs: None)
    disp.damage_query_version()  # the extension serves no other request before this
    root = disp.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    disp.sync()
    damages = {}
    started = time.monotonic()
    process = subprocess.Popen(command, cwd=workdir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = started + TIMEOUT
    mapped = None
    painted_at = None
    while painted_at is None:
        ev = next_event(disp, deadline)
        if ev.type == X.CreateNotify:
            # Watch drawing from the moment the window exists, so no early paint is missed.
            damages[ev.window.id] = ev.window.damage_create(damage.DamageReportNonEmpty)
        elif ev.type == X.MapNotify and window_title(ev.window) == TITLE:
            mapped = ev.window
        elif ev.type == disp.extension_event.DamageNotify and mapped is not None and ev.drawable.id == mapped.id:
            painted_at = time.monotonic()
    startup = painted_at - started
    time.sleep(0.3)  # let it settle before reading its memory
    with open(f"/proc/{process.pid}/status") as status:
        peak_kib = next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
    protocols = disp.get_atom("WM_PROTOCOLS")
    delete = disp.get_atom("WM_DELETE_WINDOW")
    close = event.ClientMessage(window=mapped, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    closing = time.monotonic()
    mapped.send_event(close)
    disp.sync()
    _, status, usage = os.wait4(process.pid, 0)
    exit_time = time.monotonic() - closing
    disp.close()
    if status != 0:
        raise RuntimeError(f"{command[0]} exited with status {status}")
    return startup * 1000, peak_kib / 1024, (usage.ru_utime + usage.ru_stime) * 1000, exit_time * 1000


def summary(values):
    return f"{min(values):8.1f} {statistics.median(values):8.1f} {max(values):8.1f}"


def main():
    runs = int(sys.argv[1])
    programs = [(name, os.path.abspath(command)) for name, command in (arg.split("=", 1) for arg in sys.argv[2:])]
    figures = {name: [] for name, _ in programs}
    with tempfile.TemporaryDirectory() as workdir:
        for _ in range(runs):
            for name, command in programs:  # interleaved, so that drift of a shared machine cancels
                figures[name].append(run_once([command], workdir))
    measures = ["start-up to first paint (ms)", "peak resident memory (MiB)", "CPU time (ms)", "close to exit (ms)"]
    print(f"{runs} runs each, interleaved; min / median / max")
    for index, measure in enumerate(measures):
        print(f"\n{measure}")
        medians = {}
        for name, _ in programs:
            values = [run[index] for run in figures[name]]
            medians[name] = statistics.median(values)
            print(f"  {name:22} {summary(values)}")
        first = programs[0][0]
        for name, _ in programs[1:]:
            print(f"  ratio of medians {first} / {name}: {medians[first] / medians[name]:.2f}")


if __name__ == "__main__":
    main()
