# Sourced by the test scripts: fail <message> prints a failure and counts it in $failures; the
# script ends with ((failures == 0)) || exit 1.
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
