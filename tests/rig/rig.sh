#!/bin/bash
# The test rig: a private X display, a private PulseAudio and a fresh Wine prefix with one
# long-lived wineserver, all kept under one state folder so several rigs can run side by side.
#
#   rig.sh start DIR [--display :N] [--no-pulse] [--keep-prefix] [--no-locales]
#   rig.sh stop DIR
#   rig.sh status DIR
#
# start  stops a rig left over in DIR, then starts Xvfb on a display of its own (-displayfd),
#        PulseAudio with the null sinks "out" and "feed", and a wineserver that stays up for
#        the whole run; creates DIR/prefix with wineboot, imports every *.reg and runs every
#        *.sh of the prefix folders (tests/rig/prefix.d, then $VELUTRA_BUILD_DIR/prefix.d),
#        and writes DIR/env.sh, which wine-run.sh sources. Meanwhile it makes the locales that
#        tests/rig/locales lists and DIR/locale lacks (kept between starts): a Wine process run
#        with LANG/LC_ALL naming one and LOCPATH=DIR/locale gets that language.
#        --display uses an existing display instead of Xvfb, --no-pulse leaves Wine on the
#        machine's own sound server, --keep-prefix reuses DIR/prefix when it exists, --no-locales
#        makes no locales (for a rig that runs the program in the machine's own language).
# stop   ends, by PID, only what start started: the wineserver (with WINEPREFIX set, so
#        every Wine process of this prefix goes with it), PulseAudio and Xvfb.
#
# Hooks in a prefix folder run in name order. A *.sh hook is run by bash with WINEPREFIX,
# WINE (the wine64 loader), RIG_DIR, RIG_SYSTEM32 (the prefix's system32 folder) and
# VELUTRA_BUILD_DIR set, e.g. to copy a DLL into the prefix; a *.reg file is imported with
# regedit (REGEDIT4 format).
set -u

RIG_HOME=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

die() { echo "rig: $*" >&2; exit 1; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# A PID is ours while it lives, is no zombie and still runs the program we started.
alive() {
    local pid=$1 name=$2 state
    [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] || return 1
    state=$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) || return 1
    [ "$state" != Z ] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$name"
}

wait_gone() {
    local pid=$1 name=$2 i
    for i in $(seq 100); do
        alive "$pid" "$name" || return 0
        sleep 0.05
    done
    return 1
}

stop_pid() {
    local file=$1 name=$2 pid
    [ -f "$file" ] || return 0
    pid=$(cat "$file")
    if alive "$pid" "$name"; then
        kill "$pid" 2>/dev/null
        wait_gone "$pid" "$name" || { kill -9 "$pid" 2>/dev/null; wait_gone "$pid" "$name"; }
    fi
    rm -f "$file"
}

rig_stop() {
    local dir=$1
    [ -d "$dir/run" ] || return 0
    if [ -f "$dir/run/wineserver.pid" ]; then
        local pid
        pid=$(cat "$dir/run/wineserver.pid")
        if alive "$pid" wineserver; then
            # -k kills every process of this prefix's server, then the server itself.
            WINEPREFIX="$dir/prefix" "$WINESERVER" -k 2>/dev/null
            wait_gone "$pid" wineserver || kill -9 "$pid" 2>/dev/null
        fi
        rm -f "$dir/run/wineserver.pid"
    fi
    stop_pid "$dir/run/pulseaudio.pid" pulseaudio
    stop_pid "$dir/run/xvfb.pid" Xvfb
    if [ -f "$dir/run/pulse-link" ]; then
        rm -rf "$(cat "$dir/run/pulse-link")"
        rm -f "$dir/run/pulse-link"
    fi
    rm -f "$dir/env.sh"
}

start_xvfb() {
    local dir=$1 screen=${RIG_SCREEN:-1024x768x24} i
    rm -f "$dir/run/displayfd"
    # -displayfd picks a free display number and writes it once the server accepts clients;
    # -noreset keeps the server's state when the last client leaves.
    setsid Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
        3>"$dir/run/displayfd" >"$dir/logs/xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/run/xvfb.pid"
    for i in $(seq 200); do
        [ -s "$dir/run/displayfd" ] && break
        alive "$(cat "$dir/run/xvfb.pid")" Xvfb || die "Xvfb did not start (see $dir/logs/xvfb.log)"
        sleep 0.05
    done
    [ -s "$dir/run/displayfd" ] || die "Xvfb gave no display number (see $dir/logs/xvfb.log)"
    RIG_DISPLAY=":$(head -n1 "$dir/run/displayfd")"
}

start_pulse() {
    local dir=$1 runtime=$dir/pulse i
    # A unix socket path has a 108-byte limit: a deep build folder gets its socket in /tmp.
    if [ ${#runtime} -gt 90 ]; then
        runtime=$(mktemp -d /tmp/velutra-pulse.XXXXXX)
        echo "$runtime" >"$dir/run/pulse-link"
    fi
    mkdir -p "$runtime" "$dir/xdg" "$dir/home"
    chmod 700 "$runtime" "$dir/xdg"
    cat >"$dir/run/pulse.pa" <<EOF
load-module module-native-protocol-unix socket=$runtime/native auth-anonymous=1
load-module module-null-sink sink_name=out norewinds=1
load-module module-null-sink sink_name=feed norewinds=1
set-default-sink out
set-default-source feed.monitor
EOF
    RIG_PULSE_RUNTIME=$runtime
    RIG_PULSE_SERVER=unix:$runtime/native
    # No DISPLAY and no session bus: PulseAudio would otherwise try to launch a D-Bus daemon.
    env -u DISPLAY HOME="$dir/home" XDG_RUNTIME_DIR="$dir/xdg" PULSE_RUNTIME_PATH="$runtime" \
        DBUS_SESSION_BUS_ADDRESS=disabled: \
        pulseaudio -D -n -F "$dir/run/pulse.pa" --exit-idle-time=-1 --use-pid-file=yes \
        --log-target="file:$dir/logs/pulseaudio.log" </dev/null >/dev/null 2>&1 \
        || die "PulseAudio did not start (see $dir/logs/pulseaudio.log)"
    cp "$runtime/pid" "$dir/run/pulseaudio.pid" 2>/dev/null || die "PulseAudio wrote no pid file"
    for i in $(seq 100); do
        PULSE_SERVER=$RIG_PULSE_SERVER pactl info >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    die "PulseAudio does not answer on $RIG_PULSE_SERVER"
}

write_env() {
    local dir=$1 file=$2
    {
        echo "# Written by rig.sh start: the environment of this rig's Wine processes."
        echo "export VELUTRA_RIG_DIR='$dir'"
        echo "export DISPLAY='$RIG_DISPLAY'"
        echo "export WINEPREFIX='$dir/prefix'"
        echo "export WINEARCH=win64"
        echo "export WINEDEBUG='${WINEDEBUG:--all}'"
        echo "export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree=d;mshtml=d'"
        echo "export DBUS_SESSION_BUS_ADDRESS=disabled:"
        if [ -n "${RIG_PULSE_SERVER:-}" ]; then
            echo "export XDG_RUNTIME_DIR='$dir/xdg'"
            echo "export PULSE_RUNTIME_PATH='$RIG_PULSE_RUNTIME'"
            echo "export PULSE_SERVER='$RIG_PULSE_SERVER'"
        fi
    } >"$file"
}

# Each locale is made in NAME.part and renamed once complete, so an interrupted start leaves no
# half-made locale behind.
make_locales() {
    local dir=$1 name missing=()
    mkdir -p "$dir/locale"
    while read -r name; do
        case "$name" in '' | '#'*) continue ;; esac
        [ -f "$dir/locale/$name/LC_CTYPE" ] || missing+=("$name")
    done <"$RIG_HOME/locales"
    [ ${#missing[@]} -eq 0 ] && return 0
    command -v localedef >/dev/null && [ -d /usr/share/i18n/locales ] \
        || { echo "rig: localedef or the locale sources (Debian's locales) are missing" >&2; return 1; }
    # -c writes the locale despite the warnings some sources give.
    printf '%s\n' "${missing[@]}" | xargs -P 2 -I{} sh -c '
        name={}; out="$0/$name"; rm -rf "$out.part" "$out"
        localedef -c -i "${name%%.*}" -f "${name#*.}" "$out.part" && [ -f "$out.part/LC_CTYPE" ] \
            && mv "$out.part" "$out" || { echo "rig: cannot make the locale $name" >&2; rm -rf "$out.part"; }
    ' "$dir/locale" >>"$dir/logs/locales.log" 2>&1
    for name in "${missing[@]}"; do
        [ -f "$dir/locale/$name/LC_CTYPE" ] || { echo "rig: locale $name missing (see $dir/logs/locales.log)" >&2; return 1; }
    done
}

run_hooks() {
    local dir=$1 folder hook
    local folders=("$RIG_HOME/prefix.d")
    [ -n "${VELUTRA_BUILD_DIR:-}" ] && folders+=("$VELUTRA_BUILD_DIR/prefix.d")
    for folder in "${folders[@]}"; do
        [ -d "$folder" ] || continue
        for hook in "$folder"/*; do
            case "$hook" in
            *.reg)
                "$WINE" regedit /S "$(WINEDEBUG=-all "$WINE" winepath -w "$hook" 2>/dev/null)" \
                    >>"$dir/logs/hooks.log" 2>&1 </dev/null || die "regedit failed on $hook"
                ;;
            *.sh)
                WINE=$WINE RIG_DIR=$dir RIG_SYSTEM32="$WINEPREFIX/drive_c/windows/system32" \
                    bash "$hook" >>"$dir/logs/hooks.log" 2>&1 </dev/null || die "hook $hook failed"
                ;;
            esac
        done
    done
}

rig_start() {
    local dir=$1; shift
    local display="" pulse=1 keep=0 locales=1
    while [ $# -gt 0 ]; do
        case "$1" in
        --display) display=$2; shift ;;
        --no-pulse) pulse=0 ;;
        --keep-prefix) keep=1 ;;
        --no-locales) locales=0 ;;
        *) die "unknown option $1" ;;
        esac
        shift
    done
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    rig_stop "$dir"
    rm -rf "$dir/run" "$dir/logs" "$dir/xdg" "$dir/pulse"
    [ $keep = 1 ] || rm -rf "$dir/prefix"
    mkdir -p "$dir/run" "$dir/logs" "$dir/prefix"
    local t0 t1
    t0=$(now)

    if [ -n "$display" ]; then RIG_DISPLAY=$display; else start_xvfb "$dir"; fi
    RIG_PULSE_SERVER=""
    [ $pulse = 1 ] && start_pulse "$dir"
    write_env "$dir" "$dir/run/env.sh"
    # shellcheck disable=SC1091
    . "$dir/run/env.sh"

    # The server stays up for the whole run: each Wine process then starts in a fraction of a second.
    setsid "$WINESERVER" -f -p >"$dir/logs/wineserver.log" 2>&1 </dev/null &
    echo $! >"$dir/run/wineserver.pid"
    t1=$(now)
    local locales_pid=""
    if [ $locales = 1 ]; then
        make_locales "$dir" &
        locales_pid=$!
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$WINE" wineboot -i >"$dir/logs/wineboot.log" 2>&1 </dev/null || die "wineboot failed (see $dir/logs/wineboot.log)"
    fi
    echo "prefix $(elapsed "$t1") s" >"$dir/run/timings"
    # A missing locale fails only the language tests, which say so; the rest of the rig stands.
    if [ -n "$locales_pid" ]; then
        wait "$locales_pid" || echo "rig: some locales are missing; the language tests will fail" >&2
        echo "locales ready at $(elapsed "$t1") s" >>"$dir/run/timings"
    fi
    run_hooks "$dir"
    mv "$dir/run/env.sh" "$dir/env.sh"
    echo "rig ready in $(elapsed "$t0") s: DISPLAY=$RIG_DISPLAY WINEPREFIX=$WINEPREFIX"
}

rig_status() {
    local dir=$1
    [ -f "$dir/env.sh" ] || { echo "rig: not started in $dir"; return 1; }
    cat "$dir/env.sh"
    local f
    for f in xvfb pulseaudio wineserver; do
        [ -f "$dir/run/$f.pid" ] && echo "$f pid $(cat "$dir/run/$f.pid")"
    done
    cat "$dir/run/timings" 2>/dev/null
    return 0
}

[ $# -ge 2 ] || die "usage: rig.sh start|stop|status DIR [options]"
command=$1 dir=$2
shift 2
case "$command" in
start) rig_start "$dir" "$@" ;;
stop) [ -d "$dir" ] && rig_stop "$(cd "$dir" && pwd)"; echo "rig stopped" ;;
status) rig_status "$dir" ;;
*) die "unknown command $command" ;;
esac
