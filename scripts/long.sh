#!/usr/bin/env bash
# The long reliability runs, kept out of the test command: every fuzz target
# for a while, the registry chaos on many generated states, and the soak with
# many timer rounds and many opens of every menu and dialog.
#
#   scripts/long.sh [FUZZ_SECONDS [CHAOS_STATES [SOAK_ROUNDS [SOAK_CYCLES]]]]
#
# Defaults: 600 s per fuzz target, 400 registry states, 100 rounds of the
# three timers (300 time-ups) and 100 opens of each menu and dialog: about
# 1 h 15 min in all. A value of 0 leaves that part out. Installs what is
# missing and builds first, as the test command does; exits non-zero if any
# part found a fault.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

fuzzSeconds=${1:-600}
chaosStates=${2:-400}
soakRounds=${3:-100}
soakCycles=${4:-100}
for number in "$fuzzSeconds" "$chaosStates" "$soakRounds" "$soakCycles"; do
    [[ $number =~ ^[0-9]+$ ]] || { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
done

bash scripts/setup.sh || exit 1
bash scripts/build.sh win || exit 1

status=0
if [ "$fuzzSeconds" -gt 0 ]; then
    bash scripts/fuzz.sh long "$fuzzSeconds" || status=1
fi
# Debian's Python, which has python3-pytest (another python3 may come first on PATH).
if [ "$chaosStates" -gt 0 ]; then
    KELVARO_CHAOS_STATES=$chaosStates PYTHONDONTWRITEBYTECODE=1 \
        /usr/bin/python3 -m pytest -s tests/e2e/test_registry_chaos.py </dev/null || status=1
fi
if [ "$soakRounds" -gt 0 ] || [ "$soakCycles" -gt 0 ]; then
    KELVARO_SOAK_TIMER_RUNS=$soakRounds KELVARO_SOAK_CYCLES=$soakCycles PYTHONDONTWRITEBYTECODE=1 \
        /usr/bin/python3 -m pytest -s tests/e2e/test_soak.py </dev/null || status=1
fi
exit $status
