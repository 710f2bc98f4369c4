# The end-to-end harness, sourced by run-scenario before a scenario file. A scenario calls:
#   disks <set>                the disk folders to use (default: the sample set); copied per run
#   screen <W>x<H>             the screen size (default 1024x768)
#   robot <<'EOF' ... EOF      runs the robot with these steps; A: holds disk1 at the start
#   then checks (expect_*, check_*) on what the run left, and nothing else: run-scenario ends it.
# Every wait has a timeout; every process started here is stopped at the end.

# The build's robot picks the Wine that runs it and the setup program: 32-bit Wine and a 32-bit
# prefix for the i686 build (what ships), 64-bit for the x86_64 one.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-pick"
wine_pick "${E2E_ROBOT:-}"
# A program the robot starts must be of its architecture: the prefix runs no other.
matches_robot() {  # matches_robot <program.exe>
    [ "$(pe_arch "$1")" = "$WINEARCH" ] && return 0
    say "$1 is not a $WINEARCH program like the robot"
    return 1
}
E2E_TIMEOUT=${E2E_TIMEOUT:-240}
e2e_failed=0
robot_ok=0
e2e_checks=0
e2e_screen=1024x768
e2e_xvfb_pid=
e2e_wine_pid=
e2e_display=

say() { printf '%s\n' "$*"; }
pass() { e2e_checks=$((e2e_checks + 1)); say "  ok: $*"; }
fail() { e2e_checks=$((e2e_checks + 1)); e2e_failed=$((e2e_failed + 1)); say "  FAILED: $*"; }
# What the user sees and what stays behind, stated by each scenario for its readers and its log.
sees() { say "user sees: $*"; }
leaves() { say "left behind: $*"; }

# A Windows path inside the prefix, as a host path. Components are matched without regard to
# case, as Windows does; a missing component is kept as written.
hostpath() {
    local win=$1 drive rest path part found
    drive=$(printf '%s' "${win:0:1}" | tr 'A-Z' 'a-z')
    rest=${win:2}
    path=$(readlink -f "$WINEPREFIX/dosdevices/$drive:")
    local IFS='\'
    for part in $rest; do
        [ -z "$part" ] && continue
        found=
        if [ -d "$path" ]; then
            found=$(find "$path" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
        fi
        path=${found:-$path/$part}
    done
    printf '%s\n' "$path"
}

# A host path as Wine sees it through drive Z:.
winpath() { local p=$1; printf 'Z:%s\n' "${p//\//\\}"; }

# --- the prefix --------------------------------------------------------------------------------

# One booted prefix per build folder, made once and copied per scenario.
template_prefix() {
    local template=$E2E_BUILD/wine-template
    (
        flock 9
        if [ ! -f "$template/system.reg" ]; then
            rm -rf "$template.new"
            WINEPREFIX=$template.new WINEARCH=$WINEARCH WINEDEBUG=-all \
                WINEDLLOVERRIDES=mscoree,mshtml= timeout 120 "$WINE" wineboot -i >/dev/null 2>&1
            WINEPREFIX=$template.new timeout 60 "$WINESERVER" -w
            [ -f "$template.new/system.reg" ] && mv "$template.new" "$template"
        fi
    ) 9>"$E2E_BUILD/wine-template.lock"
    [ -f "$template/system.reg" ] || { say "cannot make the template prefix"; exit 2; }
    printf '%s\n' "$template"
}

prepare_prefix() {
    local template
    template=$(template_prefix) || exit 2
    cp -a "$template" "$E2E_WORK/prefix"
    export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    mkdir -p "$E2E_WORK/disks/empty" "$E2E_WORK/chan"
    ln -sfn "$E2E_WORK/disks/disk1" "$WINEPREFIX/dosdevices/a:"
}

disks() {  # disks <folder holding disk1, disk2, ...>
    local from=${1:-$E2E_DISKS}
    rm -rf "$E2E_WORK/disks" && mkdir -p "$E2E_WORK/disks/empty"
    local d
    for d in "$from"/*/; do cp -a "$d" "$E2E_WORK/disks/"; done
}

screen() { e2e_screen=$1; }

# Scenarios that install need the sample disk set (made when the build has a native mkdisks).
needs_disks() {
    if [ ! -d "$E2E_WORK/disks/disk2" ]; then
        say "no disk set in $E2E_DISKS (configure with TIDEMARK_MKDISKS): skipped"
        exit 77
    fi
}

# The setup program of disk 1 (or of another disk folder) replaced by one never stamped (the
# program as built) carrying the same file table, as before disk sets were stamped: it asks for
# the shipped 3 disks and checks nothing.
unstamped_setup() {  # unstamped_setup [<disk folder name>]
    local exe count
    exe=$(find "$E2E_WORK/disks/${1:-disk1}" -maxdepth 1 -iname setup.exe)
    count=$(tail -c5 "$exe" | head -c1 | od -An -tu1 | tr -d ' ')
    { cat "$E2E_SETUP"; tail -c $((28 * count + 5)) "$exe"; } >"$E2E_WORK/unstamped.exe"
    mv "$E2E_WORK/unstamped.exe" "$exe"
}

# One byte in the middle of a file turned into another.
flip_byte() {  # flip_byte <host file>
    local at=$(($(stat -c %s "$1") / 2)) old
    old=$(od -An -tu1 -j "$at" -N1 "$1" | tr -d ' ')
    printf "$(printf '\\%03o' $(((old + 1) & 255)))" | dd of="$1" bs=1 seek="$at" conv=notrunc status=none
}

# A drive letter on a tmpfs of its own: small, to be filled, or read-only. Needs root; without
# it the scenario is skipped (exit 77).
e2e_mounts=()
tmpfs_drive() {  # tmpfs_drive <letter> <size> [ro]
    local dir=$E2E_WORK/drive-$1 options=size=$2
    [ "${3:-}" = ro ] && options=ro,$options
    mkdir -p "$dir"
    if ! mount -t tmpfs -o "$options" tmpfs "$dir" 2>"$E2E_WORK/mount.err"; then
        say "cannot mount a tmpfs ($(cat "$E2E_WORK/mount.err")): skipped"
        exit 77
    fi
    e2e_mounts+=("$dir")
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/${1,,}:"
}

# Names as the prefix's registry files write them.
reg_escape() { local s=$1; s=${s//\\/\\\\}; s=${s//\"/\\\"}; printf '%s' "$s"; }

# Prints a registry text value after the run; status 1 when the key or value is missing.
reg_get() {  # reg_get <HKCU|HKLM> <key> <value>
    local file=$WINEPREFIX/user.reg
    [ "$1" = HKLM ] && file=$WINEPREFIX/system.reg
    E2E_KEY=$(reg_escape "$2") E2E_NAME=$(reg_escape "$3") awk '
        BEGIN { key = tolower(ENVIRON["E2E_KEY"]); want = tolower("\"" ENVIRON["E2E_NAME"] "\"=") }
        /^\[/ { k = $0; sub(/^\[/, "", k); sub(/\][^]]*$/, "", k); inkey = (tolower(k) == key); next }
        inkey && tolower(substr($0, 1, length(want))) == want {
            v = substr($0, length(want) + 1)
            if (v !~ /^".*"$/) { print "(not text) " v; found = 1; exit }
            v = substr(v, 2, length(v) - 2); out = ""
            for (i = 1; i <= length(v); i++) {
                c = substr(v, i, 1)
                if (c == "\\") { i++; c = substr(v, i, 1) }
                out = out c
            }
            print out; found = 1; exit
        }
        END { exit found ? 0 : 1 }' "$file"
}

# --- running ---------------------------------------------------------------------------------

# A display of the scenario's own, numbered far from the usual :0 and :99 so that nothing else
# on the machine (a program that assumes DISPLAY=:0) can type into it.
start_display() {
    local size=$e2e_screen n tries i
    n=$((300 + (RANDOM % 500)))
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        n=$((n + 1))
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
        e2e_xvfb_pid=$!
        for i in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$e2e_xvfb_pid" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$e2e_xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            e2e_display=:$n
            export DISPLAY=$e2e_display
            return 0
        fi
    done
    say "Xvfb did not start ($(tail -1 "$E2E_WORK/xvfb.log"))"
    exit 2
}

# A request from the robot: the first word picks the action.
serve() {  # serve <request text>
    local verb rest
    read -r verb rest <<<"$1"
    case $verb in
        disk)  # put disk folder <name> (or "empty") into drive A:
            [ -d "$E2E_WORK/disks/$rest" ] || { echo "no disk $rest"; return; }
            ln -sfn "$E2E_WORK/disks/$rest" "$WINEPREFIX/dosdevices/a:" && echo ok ;;
        shot)
            import -display "$e2e_display" -window root "$E2E_RESULTS/$rest.png" 2>/dev/null &&
                echo ok || echo "import failed" ;;
        *)
            if declare -F "host_$verb" >/dev/null; then
                local out
                out=$("host_$verb" $rest 2>&1) && echo ok || echo "host_$verb failed: $out"
            else
                echo "unknown request $verb"
            fi ;;
    esac
}

robot_ended() { grep -q '"ev":"end"' "$E2E_RESULTS/robot.log" 2>/dev/null; }

# --- watching the copy -------------------------------------------------------------------------

# The setup program's process in this run's prefix (started by the robot for this scenario).
setup_pid() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' '\n' <"$p/cmdline" 2>/dev/null | head -1 | grep -qi 'setup\.exe$' || continue
        tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        basename "$p"
        return 0
    done
    return 1
}
# Watches the archive grow and, once it holds at least <bytes>, holds the setup program still
# for a screenshot; the archive's length at that moment goes to <shot>.bytes. The hold can land
# while the page is half way through drawing its meter, so a second picture, <shot>-2, is taken
# the same way once the archive holds half as much again. Runs in the background (its own
# output closed, so that the request is answered at once) while the robot goes on to start the
# copy; host_await_watch waits for it.
host_watch_archive() {  # host_watch_archive <bytes> <shot>
    local archive
    archive=$(hostpath "$dest\\Tidemark._LF")
    local pid
    pid=$(setup_pid) || { echo "no setup process"; return 1; }
    rm -f "$E2E_WORK/watch.done"
    (
        status=0
        deadline=$((SECONDS + 30))
        for take in "$1 $2" "$(($1 * 3 / 2)) $2-2"; do
            set -- $take
            until [ "$(stat -c %s "$archive" 2>/dev/null || echo 0)" -ge "$1" ] ||
                  [ $SECONDS -ge $deadline ]; do :; done
            [ $SECONDS -lt $deadline ] || { status=1; break; }
            kill -STOP "$pid"
            stat -c %s "$archive" >"$E2E_RESULTS/$2.bytes"
            import -display "$e2e_display" -window root "$E2E_RESULTS/$2.png" || status=1
            kill -CONT "$pid"
        done
        echo "$status" >"$E2E_WORK/watch.done"
    ) >/dev/null 2>&1 &
    echo $! >"$E2E_WORK/watch.pid"
}
host_await_watch() {
    local i
    for i in $(seq 800); do [ -f "$E2E_WORK/watch.done" ] && break; sleep 0.05; done
    [ "$(cat "$E2E_WORK/watch.done" 2>/dev/null)" = 0 ]
}

# --- shared step sequences --------------------------------------------------------------------
# A step line "@name words..." is replaced by what steps_name prints for those words, so that a
# scenario states only what is special about its run.

# Starts the setup program and accepts the destination page (with <folder> typed, if given).
steps_to_licence() {  # @to_licence [<folder>]
    printf '%s\n' start 'wait "Destination Directory"'
    [ -n "${1:-}" ] && printf 'set 104 %s\n' "$1"
    printf '%s\n' 'key enter' 'wait "License Agreement"'
}

# Also I Agree on the licence page: the copying page starts.
steps_to_copying() {  # @to_copying [<folder>]
    steps_to_licence "$@"
    printf '%s\n' 'click 1'
}

# Each disk's prompt, answered by putting that disk in and pressing OK.
steps_disks() {  # @disks <n>...
    local n
    for n in "$@"; do
        printf 'wait "FileTidemark" 60000 65535="Please Insert Disk number %s"\n' "$n"
        printf 'host disk disk%s\nclick 1\n' "$n"
    done
}

# A bad disk n: the message naming it, owned by the copying page, acknowledged; then the prompt
# for the same disk, waiting for the robot's answer.
steps_damaged_disk() {  # @damaged_disk <n>
    printf 'wait "FileTidemark" 60000 65535="Disk number %s could not be read correctly.\\r\\nPlease insert a good copy of Disk number %s."\n' "$1" "$1"
    printf '%s\n' 'owner "#32770"' 'click 1'
    printf 'wait "FileTidemark" 60000 65535="Please Insert Disk number %s"\n' "$1"
}

# The copying page through to the end of the disks: disks 2 and 3 of the sample set.
steps_install_all_disks() {  # @install_all_disks [<folder>]
    steps_to_copying "$@"
    steps_disks 2 3
}

# OK on the destination page with <entry> (a robot word: quote it as the robot reads it) does
# nothing visible: the page stays, keeping the entry.
steps_refused() {  # @refused <entry>
    printf 'set 104 %s\ncommand 1\nstays 300\ntext 104 %s\n' "$1" "$1"
}

# No to the exit question: the page <caption> stays.
steps_declined() {  # @declined <caption>
    printf '%s\n' 'wait "Exit FileTidemark"' 'click 7' 'gone' "wait \"$1\"" 'stays 300'
}

# The closing prompt answered with <button> (7 No, 6 Yes); the setup program ends with 0.
steps_closing() {  # @closing [<button>]
    printf '%s\n' \
        'wait "FileTidemark" 60000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"' \
        "click ${1:-7}" 'exit 0'
}

# The program group page accepted as proposed, then the closing prompt.
steps_finish() {  # @finish [<button on the closing prompt>]
    printf '%s\n' 'wait "Program Group" 120000' 'click 1'
    steps_closing "$@"
}

# The terminated message over the backdrop, acknowledged; the setup program ends with 0.
steps_terminated() {  # @terminated
    printf '%s\n' 'wait "FileTidemark" 60000 65535="The Installation process has been terminated."' \
        'owner LFSetUp' 'click 1' 'exit 0'
}

# The exit question answered Yes, then the terminated message.
steps_confirm_exit() {  # @confirm_exit
    printf '%s\n' 'wait "Exit FileTidemark"' 'click 6'
    steps_terminated
}

# An "Application Error" report with these parts in its text, acknowledged; exit code 1.
steps_application_error() {  # @application_error <part>...
    printf 'wait "Application Error" 120000 "!Program Group"\nowner none\n'
    local part
    for part in "$@"; do printf 'has 65535 "%s"\n' "$part"; done
    printf '%s\n' 'shot error' 'click 1' 'exit 1'
}

expand_steps() {
    local line name words
    while IFS= read -r line; do
        if [[ $line == @* ]]; then
            read -r name words <<<"${line#@}"
            declare -F "steps_$name" >/dev/null || { say "unknown step sequence $line"; exit 2; }
            eval "steps_$name $words"
        else
            printf '%s\n' "$line"
        fi
    done
}

# robot <<'EOF' <steps> EOF : runs the robot with the steps; then waits for Wine to finish so
# that the registry is on disk. Sets robot_ok=1 when every step passed.
robot() {
    expand_steps >"$E2E_WORK/steps.txt"
    cp "$E2E_WORK/steps.txt" "$E2E_RESULTS/steps.txt"
    start_display
    local w h
    w=${e2e_screen%x*}; h=${e2e_screen#*x}
    (cd "$E2E_WORK" && exec "$WINE" explorer "/desktop=e2e,${w}x$h" "$(winpath "$E2E_ROBOT")" \
        "$(winpath "$E2E_RESULTS/robot.log")" "$(winpath "$E2E_WORK/chan")" \
        "$(winpath "$E2E_WORK/steps.txt")" >"$E2E_WORK/wine.out" 2>&1) &
    e2e_wine_pid=$!
    local deadline=$((SECONDS + E2E_TIMEOUT)) n=1 req
    while :; do
        req=$E2E_WORK/chan/req.$n
        if [ -f "$req" ]; then
            serve "$(cat "$req")" >"$E2E_WORK/chan/ack.$n.tmp"
            mv "$E2E_WORK/chan/ack.$n.tmp" "$E2E_WORK/chan/ack.$n"
            n=$((n + 1))
            continue
        fi
        robot_ended && break
        if ! kill -0 "$e2e_wine_pid" 2>/dev/null && ! robot_ended; then
            sleep 0.5; robot_ended && break
            say "the robot ended without a verdict"; break
        fi
        [ $SECONDS -ge $deadline ] && { say "the run took longer than ${E2E_TIMEOUT}s"; break; }
        sleep 0.02
    done
    robot_ok=0
    grep -q '"ev":"end","ok":true' "$E2E_RESULTS/robot.log" 2>/dev/null && robot_ok=1
    if [ $robot_ok -eq 1 ]; then
        pass "robot: every step passed"
    else
        fail "robot: $(grep -m1 '"ev":"fail"' "$E2E_RESULTS/robot.log" 2>/dev/null || echo 'no verdict')"
    fi
    stop_wine
}

# Lets the setup program's processes end (the registry is written when the server ends), then
# stops what is left.
stop_wine() {
    # The setup program is gone when the robot waited for it; the desktop and Wine's services go
    # on their own once nothing else runs.
    [ "$robot_ok" -eq 1 ] || "$WINESERVER" -k 2>/dev/null
    if ! timeout 30 "$WINESERVER" -w 2>/dev/null; then
        "$WINESERVER" -k 2>/dev/null
        timeout 10 "$WINESERVER" -w 2>/dev/null
    fi
    [ -n "$e2e_wine_pid" ] && kill "$e2e_wine_pid" 2>/dev/null
    wait "$e2e_wine_pid" 2>/dev/null
    e2e_wine_pid=
}

cleanup() {
    [ -n "$WINEPREFIX" ] && [ -d "$WINEPREFIX" ] && "$WINESERVER" -k 2>/dev/null
    [ -n "$e2e_wine_pid" ] && kill "$e2e_wine_pid" 2>/dev/null
    [ -n "$e2e_xvfb_pid" ] && kill "$e2e_xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    local m
    for m in "${e2e_mounts[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
    rm -rf "$E2E_WORK"
}

# The robot's log, readable: the failure and the last windows it saw.
show_robot_log() {
    local log=$E2E_RESULTS/robot.log
    [ -f "$log" ] || { say "(no robot log)"; return; }
    say "--- the robot's last lines ($log):"
    tail -n 12 "$log" | cut -c1-1500
}
