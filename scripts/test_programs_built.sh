#!/usr/bin/env bash
# Waits for the build of the Windows test programs that scripts/test.sh runs beside the first
# tests, and fails with its output if it failed. It writes the build's exit status to the file
# TIVOLU_TEST_PROGRAMS_STATUS names, its output beside it (.log); with no build running there is
# nothing to wait for.
status_file=${TIVOLU_TEST_PROGRAMS_STATUS:-}
[ -n "$status_file" ] || exit 0
until [ -s "$status_file" ]; do sleep 1; done
if [ "$(cat "$status_file")" != 0 ]; then
  cat "$status_file.log"
  echo "the Windows test programs did not build" >&2
  exit 1
fi
