"""Adds up the GoogleTest results that the last ctest runs wrote, per tier and in all."""
import pathlib
import re
import sys

total_passed = total_failed = 0
for build in sys.argv[1:]:
    log = pathlib.Path(build, "Testing", "Temporary", "LastTest.log")
    if not log.exists():
        print(f"{build}: no test log")
        total_failed += 1
        continue
    text = log.read_text(errors="replace")
    passed = sum(int(n) for n in re.findall(r"\[  PASSED  \] (\d+) tests?", text))
    failed = sum(int(n) for n in re.findall(r"\[  FAILED  \] (\d+) tests?, listed below", text))
    print(f"{build}: {passed} test cases passed, {failed} failed")
    total_passed += passed
    total_failed += failed
# A suite that crashed or failed outside GoogleTest still counts as a failure.
if len(sys.argv) > 1 and total_failed == 0 and pathlib.Path("build/.ctest-failed").exists():
    total_failed = 1
print(f"{total_passed} passed, {total_failed} failed")
