#!/usr/bin/env python3
"""Runs the preview path and the bare viewer alternately on generated levels
and prints per-stage medians, the ratios, peak memory and frame rates.

usage: preview_bench.py BUILD_DIR WORK_DIR [--runs N] [--fps-seconds S]
                        [--triangles N ...]

BUILD_DIR holds bench/PreviewPathBench, bench/BareViewerBench and
tools/level_generator/vistel-levelgen; WORK_DIR receives the levels. Needs a
display (run it under xvfb-run without one)."""
import argparse
import os
import statistics
import subprocess
import sys


def run(command):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True, check=False)
    figures = {"stages": {}, "cpu": {}}
    for line in result.stdout.splitlines():
        words = line.split()
        if len(words) == 3 and words[0] == "stage":
            figures["stages"][words[1]] = float(words[2])
        elif len(words) == 3 and words[0] == "cpu":
            figures["cpu"][words[1]] = float(words[2])
        elif words and words[0] == "triangles":
            figures["triangles"] = int(words[1])
            if "drawn" in words:
                figures["drawn"] = int(words[words.index("drawn") + 1])
        elif len(words) == 2 and words[0] in ("total", "total-cpu", "fps", "cpu-ms-per-frame"):
            figures[words[0]] = float(words[1])
        elif len(words) == 2 and words[0] in ("peak-rss-kib", "host-copy-bytes", "geometry-bytes"):
            figures[words[0]] = int(words[1])
    if result.returncode != 0 or "total" not in figures and "--empty" not in command:
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stdout))
    return figures


def median(values):
    return statistics.median(values) if values else float("nan")


def mib(kib):
    return kib / 1024.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("work")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--fps-seconds", type=float, default=5.0)
    parser.add_argument("--triangles", type=int, nargs="+", default=[100000, 1000000])
    args = parser.parse_args()

    levelgen = os.path.join(args.build, "tools", "level_generator", "vistel-levelgen")
    ours = os.path.join(args.build, "bench", "PreviewPathBench")
    bare = os.path.join(args.build, "bench", "BareViewerBench")

    baseline = median([run([ours, "-", "--empty"])["peak-rss-kib"] for _ in range(args.runs)])
    print("engine baseline (empty preview window): %.0f MiB peak" % mib(baseline))

    for triangles in args.triangles:
        folder = os.path.join(args.work, "level-%d" % triangles)
        document = os.path.join(folder, "level.xml")
        if not os.path.exists(document):
            subprocess.run([levelgen, "--out", folder, "--triangles", str(triangles)],
                           check=True, stdout=subprocess.DEVNULL)
        obj = os.path.join(folder, "level.obj")
        lightmap = os.path.join(folder, "Textures", "Lightmaps", "Floor.tga")
        print("\n== %d triangles: %s, %.0f MB document ==" % (
            triangles, document, os.path.getsize(document) / 1e6))

        # Start-up pairs, alternated, then the frame rates on the same view.
        ours_runs, bare_runs = [], []
        for _ in range(args.runs):
            ours_runs.append(run([ours, document]))
            bare_runs.append(run([bare, obj, "--lightmap", lightmap]))
        fps_shaders, fps_plain, fps_bare = [], [], []
        for _ in range(max(1, args.runs // 2)):
            fps_shaders.append(run([ours, document, "--fps-seconds", str(args.fps_seconds)]))
            fps_bare.append(run([bare, obj, "--lightmap", lightmap,
                                 "--fps-seconds", str(args.fps_seconds)]))
            fps_plain.append(run([ours, document, "--no-shaders",
                                  "--fps-seconds", str(args.fps_seconds)]))

        for name, runs in (("preview", ours_runs), ("bare viewer", bare_runs)):
            for kind, label in (("stages", "wall"), ("cpu", "processor")):
                stages = []
                for stage in runs[0][kind]:
                    stages.append("%s %.3f" % (stage, median([r[kind].get(stage, 0) for r in runs])))
                print("%-12s %s s per step (medians): %s" % (name, label, ", ".join(stages)))
        for key, label in (("total", "wall"), ("total-cpu", "processor")):
            ours_total = median([r[key] for r in ours_runs])
            bare_total = median([r[key] for r in bare_runs])
            ratios = [o[key] / b[key] for o, b in zip(ours_runs, bare_runs)]
            print("OK -> first frame, %s time: preview %.3f s, bare viewer %.3f s, ratio %.2f (pairs %s)" % (
                label, ours_total, bare_total, median(ratios), ", ".join("%.2f" % r for r in ratios)))

        last = ours_runs[-1]
        print("triangles: level mesh %d, bare viewer %d, drawn in the first frame %d" % (
            last["triangles"], bare_runs[-1]["triangles"], last.get("drawn", 0)))
        peak = median([r["peak-rss-kib"] for r in ours_runs])
        host = last["host-copy-bytes"] / 1024.0
        geometry = last["geometry-bytes"] / 1024.0
        bound = 2 * geometry + baseline
        print("peak memory: preview process %.0f MiB (host's copy %.0f MiB, plug-in above it %.0f MiB), "
              "bare viewer %.0f MiB" % (mib(peak), mib(host), mib(peak - host),
                                      mib(median([r["peak-rss-kib"] for r in bare_runs]))))
        print("memory bound: plug-in %.0f MiB against 2 x vertex and index bytes %.0f MiB + baseline "
              "%.0f MiB = %.0f MiB: %s" % (mib(peak - host), mib(2 * geometry), mib(baseline),
                                           mib(bound), "met" if peak - host <= bound else "NOT met"))
        fps = {name: median([r["fps"] for r in runs])
               for name, runs in (("shaders", fps_shaders), ("plain", fps_plain), ("bare", fps_bare))}
        cost = {name: median([r["cpu-ms-per-frame"] for r in runs])
                for name, runs in (("shaders", fps_shaders), ("plain", fps_plain), ("bare", fps_bare))}
        print("frames per second: shaders %.1f, built-in materials %.1f, bare viewer %.1f; "
              "shaders / bare %.2f, built-in / bare %.2f" % (
                  fps["shaders"], fps["plain"], fps["bare"], fps["shaders"] / fps["bare"],
                  fps["plain"] / fps["bare"]))
        print("processor ms per frame: shaders %.2f, built-in materials %.2f, bare viewer %.2f; "
              "bare / shaders %.2f (as a frame-rate ratio)" % (
                  cost["shaders"], cost["plain"], cost["bare"], cost["bare"] / cost["shaders"]))


if __name__ == "__main__":
    main()
