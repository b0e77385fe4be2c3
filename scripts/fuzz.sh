#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset) and runs each for a while on a copy of its seed
# corpus, so the committed corpus stays as it is.
#
#   scripts/fuzz.sh [--smoke] [--seconds N] [TARGET...]
#
#   --smoke        about 10 seconds per target (what scripts/test.sh runs)
#   --seconds N    N seconds per target (default 60)
#   TARGET         soap_answer records decode64 registry_file service_request (default: all)
#
# Prints executions, time and crashes per target; exits non-zero when a target crashed,
# leaked, hung or ran out of memory. Reproducers are kept in build/fuzz-findings/<target>/;
# run one again with: build/fuzz/fuzz/fuzz_<target> <file>. FUZZ_BUILD_DIR overrides the
# build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(soap_answer records decode64 registry_file service_request)
seconds=60
targets=()

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) seconds=10 ;;
    --seconds)
      [ $# -ge 2 ] && [[ "$2" =~ ^[0-9]+$ ]] && [ "$2" -gt 0 ] || { echo "fuzz.sh: --seconds needs a whole number above 0" >&2; exit 2; }
      seconds="$2"
      shift ;;
    -h|--help) usage; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
    *)
      [[ " ${all_targets[*]} " == *" $1 "* ]] || { echo "fuzz.sh: unknown target $1 (targets: ${all_targets[*]})" >&2; exit 2; }
      targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

build="${FUZZ_BUILD_DIR:-build/fuzz}"
cmake --preset fuzz -B "$build" >/dev/null
binaries=()
for t in "${targets[@]}"; do binaries+=("fuzz_$t"); done
cmake --build "$build" --target "${binaries[@]}" -j "$(nproc)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="build/fuzz-findings"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

failed=0
failed_targets=0
report=()
for t in "${targets[@]}"; do
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp fuzz/corpus/"$t"/* "$work/$t/corpus/"
  log="$work/$t/log"
  echo "== fuzzing $t for ${seconds} s"
  start=$(date +%s)
  set +e
  dict=()
  case "$t" in
    soap_answer|records|service_request) dict=(-dict=fuzz/xml.dict) ;;
    registry_file) dict=(-dict=fuzz/registry_file.dict) ;;
  esac
  # -timeout: one input running over 10 s is a hang; -rss_limit_mb: a runaway allocation.
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    "${dict[@]}" -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$log" 2>&1
  rc=$?
  set -e
  elapsed=$(( $(date +%s) - start ))
  execs=$(awk '/stat::number_of_executed_units:/ {n=$2} END {print n+0}' "$log")
  crashes=$(find "$work/$t/artifacts" -type f | wc -l)
  if [ "$rc" -ne 0 ] || [ "$crashes" -gt 0 ]; then
    failed=1
    failed_targets=$((failed_targets + 1))
    [ "$crashes" -gt 0 ] || crashes=1
    mkdir -p "$findings/$t"
    cp "$work/$t/artifacts/"* "$findings/$t/" 2>/dev/null || true
    cp "$log" "$findings/$t/log.txt"
    echo "fuzz.sh: $t failed (exit $rc); log and reproducers in $findings/$t/" >&2
    grep -m1 -A25 -E '^==[0-9]+==ERROR|runtime error|uncaught exception|deadly signal|ALARM|out-of-memory' "$log" >&2 || tail -30 "$log" >&2
  fi
  report+=("$(printf '%-16s %12s %8s %8s' "$t" "$execs" "${elapsed}s" "$crashes")")
done

echo
printf '%-16s %12s %8s %8s\n' target executions time crashes
printf '%s\n' "${report[@]}"
echo "fuzz: $(( ${#targets[@]} - failed_targets )) passed, $failed_targets failed"
if [ "$failed" -ne 0 ]; then
  echo "fuzz.sh: crashes found" >&2
  exit 1
fi
