# Sourced by the benchmark run scripts: `record <figure> <ratio> <goal>` notes one ratio (ours
# over the peer's, lower is better) and its goal ("<= 1.10") for the table scripts/bench prints
# at the end. Without scripts/bench (no VELMORA_BENCH_RATIOS) it does nothing.
record() {
  [ -n "${VELMORA_BENCH_RATIOS:-}" ] || return 0
  printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$VELMORA_BENCH_RATIOS"
}
# `now_ns <variable>` sets the variable to the wall clock in nanoseconds, read from bash's own
# EPOCHREALTIME: no process is started to read the clock, so a timing holds only the command it
# times (a `date` on each side added about 1.8 ms, a third of a short command's time).
now_ns() {
  local t=${EPOCHREALTIME//[.,]/}
  printf -v "$1" '%s' "$((10#$t * 1000))"
}
