#!/usr/bin/env bash
# Runs a test command in the lane (display and Wine prefix) that ctest gave it: scripts/test.sh
# starts the lanes (winenv_start_lanes) and ctest hands them out, one test a lane at a time
# (CTEST_RESOURCE_GROUP_0_LANES=id:N,slots:1). Without a lane the command runs as it is.
lane=${CTEST_RESOURCE_GROUP_0_LANES:-}
lane=${lane#id:}
lane=${lane%%,*}
if [ -n "$lane" ] && [ -f "${TIVOLU_LANES:-}/$lane.env" ]; then
  # shellcheck disable=SC1090
  source "$TIVOLU_LANES/$lane.env"
fi
exec "$@"
