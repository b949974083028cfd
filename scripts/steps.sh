# Sourced by the set-up scripts. `timed LABEL COMMAND...` runs a step that can
# take minutes between two lines, one when it starts and one when it ends with
# its time, so that a long step never leaves the terminal silent. Returns the
# command's status.
timed() {
  local label=$1 start status=0
  shift
  start=$(date +%s)
  echo "-- $label: started at $(date +%H:%M:%S)"
  "$@" || status=$?
  if [ $status = 0 ]; then
    echo "-- $label: done in $(($(date +%s) - start)) s"
  else
    echo "-- $label: failed after $(($(date +%s) - start)) s (exit $status)"
  fi
  return $status
}
