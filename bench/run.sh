#!/bin/sh
# The benchmark in one command: builds Kelvaro and the benchmark's own
# programs, measures under Wine and prints the table (see bench/README.md).
# Pass --quick for a short run; --help lists every option.
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
