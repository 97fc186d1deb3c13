#!/usr/bin/env python3
"""Judges what a sound server heard of the show.

Usage: heard.py CAPTURE.raw FRAMELOG [--check]

CAPTURE.raw is what the server played (signed 16-bit mono at 44100). Its time line is tied to
the frame log's by the music's start: the first pattern is made on the intro's 160th frame and
heard from the next frame's block on, one buffer's latency (about 0.1 s) after that frame. FRAMELOG holds one line per frame-pacing sleep of the demo ("S <monotonic
seconds>") and one per image put to the window ("P <seconds>"); a scene change is a fade, a run of
at least 200 puts without a sleep, and lasts from the last sleep before it to the first after. Prints the figures; with --check, exits 1 when the music did
not start, when a run of exact zeros of 0.5 ms or more lies inside a scene once the first 45 s of
music have played, or when a pause at a scene change is cut instead of ramped (a sample next to
the silence above 64) or lasts longer than the change plus 100 ms.
"""
import array
import sys

RATE = 44100
MIN_GAP = 22            # 0.5 ms
SETTLE = 45.0           # seconds of music before the stream itself has no silent runs
RAMP_LIMIT = 64
FIRST_PATTERN_FRAME = 160   # the intro frame whose block first carries music
LATENCY = 0.1               # from a block's write to its playback, about
FADE_PUTS = 200         # puts without a sleep that make a fade
SLACK = 0.3             # latency between the frame loop and the server's playback, either way


def zero_runs(a, start):
    runs, i, n = [], start, len(a)
    while i < n:
        if a[i] != 0:
            i += 1
            continue
        j = i
        while j < n and a[j] == 0:
            j += 1
        if j - i >= MIN_GAP:
            runs.append((i, j - i))
        i = j
    return runs


def main():
    args = [a for a in sys.argv[1:] if a != "--check"]
    check = "--check" in sys.argv
    audio = array.array("h")
    with open(args[0], "rb") as f:
        audio.frombytes(f.read())
    events = [(line[0], float(line.split()[1])) for line in open(args[1]) if line.strip()]
    problems = []

    # Scenes: the frames (one put and one sleep each) between fades; changes: from the last
    # sleep before a fade to the first after it. The put just before that first sleep is the
    # new scene's first frame.
    scenes, changes = [], []
    current, pending, last_sleep = [], [], None
    for kind, t in events:
        if kind == "P":
            pending.append(t)
            continue
        if len(pending) >= FADE_PUTS and last_sleep is not None:
            scenes.append(current)
            changes.append((last_sleep, t))
            current = pending[-1:]
        else:
            current.extend(pending)
        pending, last_sleep = [], t
    scenes.append(current + pending)

    first = next((i for i, v in enumerate(audio) if v != 0), None)
    if first is None:
        print("heard: nothing but silence")
        sys.exit(1 if check else 0)
    sleeps = [t for kind, t in events if kind == "S"]
    if len(sleeps) <= FIRST_PATTERN_FRAME:
        print("heard: the frame log holds only %d frames" % len(sleeps))
        sys.exit(1)
    music = sleeps[FIRST_PATTERN_FRAME] + LATENCY
    t0 = music - first / RATE
    settled = int(first + SETTLE * RATE)
    end = t0 + len(audio) / RATE
    print("heard: %.1f s captured, music from %.2f s" % (len(audio) / RATE, first / RATE))

    inside, unramped, pauses = [], 0, []
    for start, length in zero_runs(audio, max(settled, 1)):
        if start + length >= len(audio):
            break   # the end of the show (ESC) or of the capture
        t = t0 + start / RATE
        d = length / RATE
        prev, nxt = abs(audio[start - 1]), abs(audio[start + length])
        ramped = prev <= RAMP_LIMIT and nxt <= RAMP_LIMIT
        unramped += 0 if ramped else 1
        change = next((c for c in changes if c[0] - SLACK <= t <= c[1] + SLACK), None)
        if change is None:
            inside.append((t - t0, d, prev, nxt))
            continue
        pauses.append((t - t0, d, change[1] - change[0]))
        if not ramped:
            problems.append("pause at %.3f s is cut, not ramped (samples %d and %d next to it)"
                            % (t - t0, audio[start - 1], audio[start + length]))
        if d > change[1] - change[0] + 0.1:
            problems.append("pause at %.3f s lasts %.0f ms, the scene change %.0f ms"
                            % (t - t0, d * 1000, (change[1] - change[0]) * 1000))
    for t, d, prev, nxt in inside:
        problems.append("gap of %.1f ms inside a scene at %.3f s (samples %d, %d next to it)"
                        % (d * 1000, t, prev, nxt))

    judged = max(0.0, end - max(music + SETTLE, t0))
    in_scenes = judged - sum(min(c[1], end) - max(c[0], music + SETTLE) for c in changes
                             if c[1] > music + SETTLE and c[0] < end)
    minutes = max(in_scenes, 1e-9) / 60
    print("judged: %.1f s after the first %.0f s of music, %.1f s of it inside scenes" % (judged, SETTLE, in_scenes))
    print("underruns inside scenes: %d (%.2f per minute)" % (len(inside), len(inside) / minutes))
    print("clicks (silence entered or left without a ramp): %d (%.2f per minute)" % (unramped, unramped / minutes))
    print("scene changes judged: %d; pauses at them: %d%s" % (
        sum(1 for c in changes if c[0] > music + SETTLE and c[1] < end), len(pauses),
        "".join("\n  at %.2f s: %.0f ms (change %.0f ms)" % (t, d * 1000, c * 1000) for t, d, c in pauses)))
    for puts in scenes:
        if len(puts) >= 1400:
            n, span = len(puts), puts[-1] - puts[0]
            print("vector scene: %d frames in %.3f s, %.3f ms a frame (%.3f frames per second)" % (
                n, span * n / (n - 1), span / (n - 1) * 1000, (n - 1) / span))
            break
    if problems:
        print("\n".join("PROBLEM: " + p for p in problems))
    sys.exit(1 if check and problems else 0)


if __name__ == "__main__":
    main()
