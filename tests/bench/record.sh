# Sourced by the benchmark run scripts: `record <figure> <ratio> <goal>` notes one ratio (ours
# over the peer's, lower is better) and its goal ("<= 1.10") for the table scripts/bench prints
# at the end. Without scripts/bench (no VELMORA_BENCH_RATIOS) it does nothing.
record() {
  [ -n "${VELMORA_BENCH_RATIOS:-}" ] || return 0
  printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$VELMORA_BENCH_RATIOS"
}
