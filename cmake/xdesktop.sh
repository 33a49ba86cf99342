# A virtual X desktop of one's own, for the programs a test shows: functions, sourced.
#   xdesktop_start DIR   starts Xvfb on a display it picks itself, open only to the holders of
#                        the cookie in DIR/Xauthority, then openbox, and uses that desktop
#   xdesktop_use DIR     sets DISPLAY and XAUTHORITY for the desktop started in DIR
#   xdesktop_stop DIR    stops openbox and the X server by the PIDs written in DIR
# Neither keeps the caller's output open, so a test's runner sees the test end.

# Runs a check every 0.2 s until it passes, for at most $1 seconds.
wait_until() {
    local end=$((SECONDS + $1))
    until "${@:2}"; do ((SECONDS < end)) || return 1; sleep 0.2; done
}

# Ends the process whose PID the file $1 holds, only while that PID still names the command
# $2 (the number may have been reused), forcing it after five seconds.
end_recorded() {
    local pid
    pid=$(cat "$1" 2>/dev/null) || return 0
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    wait_until 5 sh -c "[ \"\$(cat /proc/$pid/comm 2>/dev/null)\" != '$2' ]" ||
        kill -KILL "$pid" 2>/dev/null || true
}

xdesktop_use() {
    DISPLAY=:$(<"$1/display") XAUTHORITY=$1/Xauthority
    export DISPLAY XAUTHORITY
}

xdesktop_start() {
    local dir=$1 cookie
    cookie=$(mcookie)
    xauth -q -f "$dir/Xauthority" add :0 . "$cookie" 2>/dev/null
    Xvfb -displayfd 3 -auth "$dir/Xauthority" -screen 0 1280x1024x24 </dev/null >/dev/null \
        3>"$dir/display" 2>"$dir/xvfb.log" &
    echo $! >"$dir/xvfb.pid"
    if ! wait_until 30 test -s "$dir/display"; then
        echo "Xvfb did not start: $(<"$dir/xvfb.log")" >&2
        return 1
    fi
    xauth -q -f "$dir/Xauthority" add ":$(<"$dir/display")" . "$cookie"
    xdesktop_use "$dir"
    openbox --sm-disable </dev/null >"$dir/openbox.log" 2>&1 &
    echo $! >"$dir/openbox.pid"
    # Windows are activated through the window manager: it must run first.
    if ! wait_until 60 sh -c 'xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW'; then
        echo "openbox did not start within 60 s: $(<"$dir/openbox.log")" >&2
        return 1
    fi
}

xdesktop_stop() {
    end_recorded "$1/openbox.pid" openbox
    end_recorded "$1/xvfb.pid" Xvfb
}
