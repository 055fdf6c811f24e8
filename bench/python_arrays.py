#!/usr/bin/env python3
"""How long midas2orvo.read takes to hand a translated model to Python, against the translation itself.

    build-bench/bench/generate_model 50 50 40 frame-100k.mgt      # or: bigmodel.py 50 50 40 > frame-100k.mgt
    PYTHONPATH=build-python/python /usr/bin/python3 bench/python_arrays.py frame-100k.mgt [--runs 5]

For each run: the translation (ReadMidasFile and TranMidastoOrvo, timed inside the extension) and the
conversion, everything else read() does (NumPy arrays, record objects, summary, report). Prints the
medians and their ratio; the conversion should stay under twice the translation.
"""
import argparse
import statistics
import time

import midas2orvo


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("file")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--profile", default="current")
    args = parser.parse_args()
    translate, convert = [], []
    for _ in range(args.runs):
        start = time.perf_counter()
        model = midas2orvo.read(args.file, args.profile)
        translate.append(model.timings["translate"])
        convert.append(time.perf_counter() - start - model.timings["translate"])
        counts = len(model.nodes), len(model.members), len(model.member_loads)
        del model
    t, c = statistics.median(translate), statistics.median(convert)
    print("%s: %d nodes, %d members, %d member loads" % ((args.file,) + counts))
    print(f"translation {t:.3f} s, conversion {c:.3f} s, conversion / translation {c / t:.2f}"
          f" (medians of {args.runs})")


if __name__ == "__main__":
    main()
