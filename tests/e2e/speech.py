#!/usr/bin/python3
"""Pronunciation for real: a PulseAudio server of the test's own with a null sink, recorded
through its monitor while the speaker button is pressed; the recording must hold sound. Then
the same program with no sound server at all: the speech engine cannot start, the error box
says so, and the program goes on."""

import array
import os
import subprocess
import time

import desktop
from desktop import Failure, log

RATE = 16000
LOUD = 1000  # a sample louder than this is not silence (16-bit)


def loud_samples(path):
    with open(path, "rb") as f:
        raw = f.read()
    samples = array.array("h")
    samples.frombytes(raw[:len(raw) - len(raw) % 2])
    loud = sum(1 for v in samples if abs(v) > LOUD)
    return loud, (max(abs(v) for v in samples) if samples else 0), len(samples)


def newest_page(folder):
    html = os.path.join(folder, "html")
    pages = [os.path.join(html, n) for n in os.listdir(html) if n.endswith(".html")]
    if not pages:
        return b""
    with open(max(pages, key=os.path.getmtime), "rb") as f:
        return f.read()


def start_sound_server(s):
    runtime = os.path.join(s.tmp, "pulse")
    os.makedirs(runtime)
    socket = os.path.join(runtime, "native")
    env = dict(s.env, PULSE_RUNTIME_PATH=runtime, PULSE_STATE_PATH=runtime)
    server = s.start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                      "--use-pid-file=no", "--disallow-exit", "--log-target=stderr",
                      "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                      "-L", "module-null-sink sink_name=e2e_sink rate=%d" % RATE,
                      "-L", "module-always-sink"],
                     env=env, stdout=subprocess.DEVNULL,
                     stderr=open(os.path.join(s.tmp, "pulseaudio.log"), "wb"))
    s.env["PULSE_SERVER"] = "unix:" + socket
    s.env["PULSE_SINK"] = "e2e_sink"

    def up():
        if server.poll() is not None:
            raise Failure("the sound server ended")
        return subprocess.run(["pactl", "info"], env=s.env, capture_output=True,
                              timeout=5).returncode == 0
    s.wait("the sound server", up, 10)
    return server


def run(s):
    folder = s.program_folder("dict")
    with open(os.path.join(folder, "ado.dll"), "wb") as f:
        f.write(b"ok")

    server = start_sound_server(s)
    recording = os.path.join(s.tmp, "speech.raw")
    with open(recording, "wb") as out:
        recorder = s.start(["parec", "-d", "e2e_sink.monitor", "--raw", "--format=s16le",
                 "--rate=%d" % RATE, "--channels=1", "--latency-msec=100"], stdout=out)
    # Sound played before the recorder delivers its first samples is not in the recording,
    # and on a busy machine that takes a while: the speaker is pressed only once it records.
    s.wait("the recorder", lambda: os.path.getsize(recording) > 0, 10)
    p = s.launch(folder)
    main = p.window(desktop.MAIN_CAPTION)
    s.wait("the start-up entry", lambda: os.path.exists(os.path.join(folder, "html", "1.html")))
    p.no_boxes("start-up")
    # An English headword: the start-up entry may be Chinese, which the voice here skips.
    p.click(main, desktop.EDIT1)
    p.type(main, "water")
    s.wait("the entry of water", lambda: b'<p class="word">water</p>' in newest_page(folder), 10)
    quiet, _, _ = loud_samples(recording)
    p.click(main, desktop.SPEAK)

    def sounded():
        p.no_boxes("the speaker button")
        loud, _, _ = loud_samples(recording)
        return loud > quiet + 200
    try:
        s.wait("sound from the speaker button", sounded, 15, 0.2)
    except Failure:
        with open(os.path.join(s.tmp, "pulseaudio.log"), errors="replace") as f:
            server_log = f.read()[-2000:]
        raise Failure("no sound: %r samples recorded\n--- program:\n%s\n--- sound server:\n%s"
                      % (loud_samples(recording), p.output()[-2000:], server_log))
    # The rest of the word, for the figures.
    settled = None
    while settled != loud_samples(recording)[0]:
        settled = loud_samples(recording)[0]
        time.sleep(0.3)
    loud, peak, total = loud_samples(recording)
    log("speech: %d of %d samples louder than %d, peak %d" % (loud, total, LOUD, peak))
    p.end()
    s.stop(recorder)
    s.stop(server)

    # No sound server: no engine can start; the box tells, and the program goes on.
    s.env["PULSE_SERVER"] = "unix:" + os.path.join(s.tmp, "no-such-server")
    p = s.launch(folder)
    main = p.window(desktop.MAIN_CAPTION)
    s.wait("the start-up entry", lambda: os.path.exists(os.path.join(folder, "html", "1.html")))
    p.click(main, desktop.SPEAK)
    wid, report = p.box(desktop.APP_TITLE)
    log("no speech engine: %r" % report["text"])
    if report["icon"] != 3 or not report["text"].endswith("."):
        raise Failure("not the error box expected: %r" % report)
    p.close_box(wid, "Return")
    p.click(main, desktop.EDIT1)
    p.type(main, "apple")
    s.wait("a search after the error", lambda: b'<p class="word">apple</p>' in newest_page(folder),
           10)
    p.no_boxes("a search after the speech error")
    p.end()


if __name__ == "__main__":
    desktop.main("speech", run)
