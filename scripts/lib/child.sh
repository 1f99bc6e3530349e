# Watching the shell's own background children; source this file.
# Process numbers are reused quickly on a busy machine (pid_max can be as
# low as 32768), so a child that has ended is never asked about with kill:
# the shell's job table knows which of its children still run.

# child_running PID: true while the background child PID still runs.
child_running() { jobs -rp | grep -qx "$1"; }

# wait_exit PID SECONDS: waits for a background child and sets EXIT_STATUS
# to its status, or to nothing if it still runs when the time is up. (Call
# it directly, not in $(...): only this shell can reap its children.)
wait_exit() {
    local pid=$1 i
    EXIT_STATUS=
    for i in $(seq $(($2 * 50))); do
        if ! child_running "$pid"; then
            wait "$pid"
            EXIT_STATUS=$?
            return
        fi
        sleep 0.02
    done
}
