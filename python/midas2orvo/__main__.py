"""python3 -m midas2orvo FILE [--profile current|classic] [--encoding NAME] [--threads N] [--report] [--vtu OUT.vtu]

Prints the summary mgt2orvo prints (and with --report its translation report), and writes the model for
ParaView with --vtu. Exit status: 0 translated, 1 refused, 2 usage error or unreadable file.
"""
import argparse
import os
import sys

from . import TranslationRefused, read


def main(argv=None):
    """Runs the command line argv (default: sys.argv[1:]) and returns the exit status."""
    parser = argparse.ArgumentParser(prog="python3 -m midas2orvo",
                                     description="Translates a MIDAS text model and prints a summary.")
    parser.add_argument("file", metavar="FILE")
    parser.add_argument("-p", "--profile", choices=("current", "classic"), default="current",
                        help="reading profile (default: current, the layout MIDAS Gen/Civil 8.x and 9.x write)")
    parser.add_argument("-e", "--encoding", metavar="NAME", help="code page of the names in FILE, e.g. GBK")
    parser.add_argument("-t", "--threads", type=int, default=0, metavar="N",
                        help="read large files on N threads (default 0: one per hardware thread)")
    parser.add_argument("-r", "--report", action="store_true", help="add the translation report")
    parser.add_argument("--vtu", metavar="OUT.vtu", help="write the model for ParaView")
    args = parser.parse_args(argv)
    try:
        model, status = read(args.file, args.profile, args.encoding, args.threads), 0
    except TranslationRefused as refused:
        model, status = refused.model, 1
        print(f"midas2orvo: {args.file} was not translated: {refused.reason}", file=sys.stderr)
    except OSError as error:
        print(f"midas2orvo: cannot open {args.file}: {error.strerror}", file=sys.stderr)
        return 2
    except ValueError as error:
        parser.error(str(error))
    sys.stdout.flush()
    sys.stdout.buffer.write(os.fsencode(model.summary + (model.report_text if args.report else "")))
    if args.vtu and status == 0:
        model.write_vtu(args.vtu)
    return status


if __name__ == "__main__":
    sys.exit(main())
