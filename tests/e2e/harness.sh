# The end-to-end harness, sourced by run-scenario (and scripts/demo-install). A scenario prepares
# the machine (disks, screen, tmpfs_drive, place_file...), runs `robot <<'STEPS' ... STEPS` once
# or more, then checks what the run left (expect_*, check_*). Every wait has a timeout; every
# process started and every drive mounted here is stopped or unmounted at the end.

# The build's robot picks the Wine that runs it and the setup program: 32-bit Wine and a 32-bit
# prefix for the i686 build (what ships), 64-bit for the x86_64 one.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-pick"
wine_pick "${E2E_ROBOT:-}"
# A program the robot starts must be of its architecture: the prefix runs no other.
matches_robot() { [ "$(pe_arch "$1")" = "$WINEARCH" ] || { say "$1 is not a $WINEARCH program"; return 1; }; }
E2E_TIMEOUT=${E2E_TIMEOUT:-240}
e2e_failed=0 e2e_checks=0 robot_ok=0 e2e_screen=1024x768 e2e_xvfb_pid= e2e_wine_pid= e2e_display=
e2e_mounts=()
dest='C:\Program Files\FileTidemark'  # where a scenario installs unless it types another folder

say() { printf '%s\n' "$*"; }
pass() { e2e_checks=$((e2e_checks + 1)); say "  ok: $*"; }
fail() { e2e_checks=$((e2e_checks + 1)); e2e_failed=$((e2e_failed + 1)); say "  FAILED: $*"; }
verdict() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }  # verdict <what> <test>

# A Windows path inside the prefix, as a host path. Components are matched without regard to
# case, as Windows does; a missing component is kept as written.
hostpath() {
    local drive=${1:0:1} path part found IFS='\'
    path=$(readlink -f "$WINEPREFIX/dosdevices/${drive,,}:")
    for part in ${1:2}; do
        found=$(find "$path" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
        [ -z "$part" ] || path=${found:-$path/$part}
    done
    printf '%s\n' "$path"
}
winpath() { local p=$1; printf 'Z:%s\n' "${p//\//\\}"; }  # a host path through drive Z:

# --- the machine -----------------------------------------------------------------------------

# One booted prefix per build folder, made once (under a lock: scenarios may run side by side)
# and copied per scenario.
prepare_prefix() {
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
    cp -a "$template" "$E2E_WORK/prefix"
    export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    mkdir -p "$E2E_WORK/disks/empty" "$E2E_WORK/chan"
    ln -sfn "$E2E_WORK/disks/disk1" "$WINEPREFIX/dosdevices/a:"
}

disks() {  # disks <folder holding disk1, disk2, ...>: copied, so a scenario may damage them
    rm -rf "$E2E_WORK/disks" && mkdir -p "$E2E_WORK/disks/empty"
    local d
    for d in "$1"/*/; do cp -a "$d" "$E2E_WORK/disks/"; done
}
screen() { e2e_screen=$1; }
# Scenarios past the first pages need the sample disk set (made when the build has a native
# mkdisks); run-scenario skips them without it.
needs_disks() { [ -d "$E2E_WORK/disks/disk2" ] || { say "no disk set in $E2E_DISKS: skipped"; exit 77; }; }
setup_of() { find "$E2E_WORK/disks/${1:-disk1}" -maxdepth 1 -iname setup.exe; }  # setup_of [<disk>]
# A setup program ends with its file table's entries (28 bytes each), their count (1 byte) and
# the unpacked size (4 bytes).
table_entries() { tail -c5 "$1" | head -c1 | od -An -tu1 | tr -d ' '; }  # table_entries <exe>

# The setup program of disk 1 (or of another disk folder) replaced by one never stamped (the
# program as built) carrying the same file table: like every unstamped program, it asks for the
# shipped 3 disks and checks nothing.
unstamped_setup() {  # unstamped_setup [<disk folder name>]
    local exe
    exe=$(setup_of "${1:-}")
    { cat "$E2E_SETUP"; tail -c $((28 * $(table_entries "$exe") + 5)) "$exe"; } >"$E2E_WORK/unstamped.exe"
    mv "$E2E_WORK/unstamped.exe" "$exe"
}

# A registry value written into the prefix's registry file (user: HKEY_CURRENT_USER, system:
# HKEY_LOCAL_MACHINE) before Wine starts, of any type: reg_file user 'Software\\X' '"V"=dword:7'.
reg_file() { printf '\n[%s] 0\n%s\n' "$2" "$3" >>"$WINEPREFIX/$1.reg"; }

# One byte in the middle of a file turned into another.
flip_byte() {  # flip_byte <host file>
    local at=$(($(stat -c %s "$1") / 2)) old
    old=$(od -An -tu1 -j "$at" -N1 "$1" | tr -d ' ')
    printf "$(printf '\\%03o' $(((old + 1) & 255)))" | dd of="$1" bs=1 seek="$at" conv=notrunc status=none
}

# A drive letter on a tmpfs of its own: small, to be filled. Needs root; else skipped (exit 77).
tmpfs_drive() {  # tmpfs_drive <letter> <size>
    local dir=$E2E_WORK/drive-$1
    mkdir -p "$dir" && mount -t tmpfs -o "size=$2" tmpfs "$dir" 2>"$E2E_WORK/mount.err" ||
        { say "cannot mount a tmpfs ($(cat "$E2E_WORK/mount.err")): skipped"; exit 77; }
    e2e_mounts+=("$dir")
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/${1,,}:"
}

# Files of the user's that were there before the run, with their checksums: run-scenario checks
# that each is unchanged at the end (expect_unchanged), unless the scenario forgot it.
declare -A e2e_before
place_file() {  # place_file <windows path> <content>
    local p
    p=$(hostpath "$1") && mkdir -p "$(dirname "$p")" && printf '%s' "$2" >"$p"
    e2e_before[$1]=$(sha1sum <"$p")
}
forget_file() { local p; for p; do unset 'e2e_before[$p]'; done; }  # forget_file <windows path>...

# --- running ---------------------------------------------------------------------------------

# A display of the scenario's own, numbered far from the usual :0 and :99 so that nothing else
# on the machine (a program that assumes DISPLAY=:0) can type into it.
start_display() {
    local n i
    for n in $(shuf -i 300-799 -n 10); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${e2e_screen}x24" -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
        e2e_xvfb_pid=$!
        for i in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 $e2e_xvfb_pid 2>/dev/null && break; sleep 0.05; done
        kill -0 $e2e_xvfb_pid 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=:$n e2e_display=:$n; return; }
    done
    say "Xvfb did not start ($(tail -1 "$E2E_WORK/xvfb.log"))" && exit 2
}

# A request from the robot: disk <name> (that disk folder, or "empty", into drive A:), shot
# <name>, or a verb the scenario serves with a function host_<verb>.
serve() {  # serve <request text>
    local verb rest out
    read -r verb rest <<<"$1"
    case $verb in
        disk) [ -d "$E2E_WORK/disks/$rest" ] && ln -sfn "$E2E_WORK/disks/$rest" "$WINEPREFIX/dosdevices/a:" &&
                  echo ok || echo "no disk $rest" ;;
        shot) import -display "$e2e_display" -window root "$E2E_RESULTS/$rest.png" 2>/dev/null &&
                  echo ok || echo "import failed" ;;
        *) if declare -F "host_$verb" >/dev/null; then
               out=$("host_$verb" $rest 2>&1) && echo ok || echo "host_$verb failed: $out"
           else echo "unknown request $verb"; fi ;;
    esac
}

# A step line "@name words..." stands for what steps_name prints for those (shell) words.
expand_steps() {
    local line name words
    while IFS= read -r line; do
        [[ $line == @* ]] || { printf '%s\n' "$line"; continue; }
        read -r name words <<<"${line#@}"
        declare -F "steps_$name" >/dev/null || { say "unknown step sequence $line"; exit 2; }
        eval "steps_$name $words"
    done
}

# robot <<'EOF' <steps> EOF : runs the robot with the steps (one pass or fail); then waits for
# Wine to finish. Sets robot_ok=1 when every step passed.
robot() {
    local log=$E2E_RESULTS/robot.log deadline=$((SECONDS + E2E_TIMEOUT)) n=1 req
    expand_steps | tee "$E2E_RESULTS/steps.txt" >"$E2E_WORK/steps.txt"
    rm -f "$E2E_WORK"/chan/* "$log" && start_display
    (cd "$E2E_WORK" && exec "$WINE" explorer "/desktop=e2e,$e2e_screen" "$(winpath "$E2E_ROBOT")" \
        "$(winpath "$log")" "$(winpath "$E2E_WORK/chan")" "$(winpath "$E2E_WORK/steps.txt")" \
        >"$E2E_WORK/wine.out" 2>&1) &
    e2e_wine_pid=$!
    # Serves the robot's requests until its verdict, its end, or the time is up.
    until grep -q '^[0-9]* end' "$log" 2>/dev/null; do
        req=$E2E_WORK/chan/req.$n
        if [ -f "$req" ]; then
            serve "$(cat "$req")" >"$req.ack" && mv "$req.ack" "$E2E_WORK/chan/ack.$n" && n=$((n + 1))
            continue
        fi
        kill -0 "$e2e_wine_pid" 2>/dev/null || { sleep 0.5; break; }
        [ $SECONDS -lt $deadline ] || { say "the run took longer than ${E2E_TIMEOUT}s"; break; }
        sleep 0.02
    done
    grep -q '^[0-9]* end ok' "$log" 2>/dev/null && robot_ok=1 || robot_ok=0
    verdict "robot: $(grep -m1 ' FAILED' "$log" 2>/dev/null || tail -1 "$log" 2>/dev/null)" '[ $robot_ok = 1 ]'
    # The setup program is gone when the robot waited for it; the desktop and Wine's services
    # go on their own once nothing else runs. Then the registry is on disk.
    [ "$robot_ok" -eq 1 ] || "$WINESERVER" -k 2>/dev/null
    timeout 30 "$WINESERVER" -w 2>/dev/null || { "$WINESERVER" -k 2>/dev/null; timeout 10 "$WINESERVER" -w 2>/dev/null; }
    kill "$e2e_wine_pid" "$e2e_xvfb_pid" 2>/dev/null
    wait "$e2e_wine_pid" "$e2e_xvfb_pid" 2>/dev/null
    e2e_wine_pid= e2e_xvfb_pid=
}

cleanup() {
    [ -n "$WINEPREFIX" ] && [ -d "$WINEPREFIX" ] && "$WINESERVER" -k 2>/dev/null
    kill $e2e_wine_pid $e2e_xvfb_pid 2>/dev/null
    wait 2>/dev/null
    local m
    for m in "${e2e_mounts[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
    rm -rf "$E2E_WORK"
}
show_robot_log() { say "--- the robot's last lines:" && tail -n 12 "$E2E_RESULTS/robot.log" 2>/dev/null | cut -c1-1500; }

# --- shared step sequences --------------------------------------------------------------------

# start, the destination page (with <folder> typed, if given) accepted, the licence page.
steps_to_licence() {  # @to_licence [<folder>]
    printf '%s\n' start 'wait "Destination Directory"'
    [ -n "${1:-}" ] && printf 'set 104 %s\n' "$1"
    printf '%s\n' 'key enter' 'wait "License Agreement"'
}
steps_to_copying() { steps_to_licence "$@"; echo 'click 1'; }  # @to_copying [<folder>]: I Agree
# The copying page pictured twice by "hold" (meter, meter-2), once the archive in the proposed
# folder holds <bytes1>, then <bytes2>; then the page is the current window again.
steps_meter_held() { printf 'hold meter%s "C:\\\\Program Files\\\\FileTidemark\\\\Tidemark._LF" %s\n' '' "$1" -2 "$2"; echo 'wait "Please Stand By..." 65535="Installing the FileTidemark files."'; }  # @meter_held <bytes1> <bytes2>

steps_disks() {  # @disks <n>...: each disk's prompt, that disk put in, OK
    local n
    for n in "$@"; do
        printf 'wait "FileTidemark" 60000 65535="Please Insert Disk number %s"\nhost disk disk%s\nclick 1\n' "$n" "$n"
    done
}
steps_install_all_disks() { steps_to_copying "$@"; steps_disks 2 3; }  # @install_all_disks [<folder>]

# A bad disk n: the message naming it, owned by the copying page, OK; then the prompt for it,
# answered with the folder <good> put in and OK, if given.
steps_damaged_disk() {  # @damaged_disk <n> [<good>]
    printf 'wait "FileTidemark" 60000 65535="Disk number %s could not be read correctly.\\r\\nPlease insert a good copy of Disk number %s." owner=#32770\n' "$1" "$1"
    printf 'click 1\nwait "FileTidemark" 60000 65535="Please Insert Disk number %s"\n' "$1"
    [ -z "${2:-}" ] || printf 'host disk %s\nclick 1\n' "$2"
}

# OK on a page with each <entry> (a robot word) in its field <id> does nothing visible: the page
# stays and keeps the entry.
steps_refused() { printf 'set %s %s\ncommand 1\nstays 300 %s=%s\n' "$1" "$2" "$1" "$2"; [ $# -lt 3 ] || steps_refused "$1" "${@:3}"; }  # @refused <id> <entry>...
# No to the exit question: the page <caption> stays, holding the <conditions>.
steps_declined() { printf '%s\n' 'wait "Exit FileTidemark"' 'click 7' 'gone' "wait \"$1\"" "stays 300 ${*:2}"; }

# The closing prompt (no <window> before it) answered with <button> (7 No, 6 Yes); exit code 0.
steps_closing() {  # @closing [<button> [<window>]]
    printf 'wait "FileTidemark" 60000 65535="FileTidemark has been successfully installed.\\r\\n\\r\\nDo you wish to run FileTidemark?" owner=none%s\n' "${2:+ \"!$2\"}"
    printf '%s\n' "click ${1:-7}" 'exit 0'
}
steps_finish() { printf '%s\n' 'wait "Program Group" 120000' 'click 1'; steps_closing "$@"; }  # @finish [<button>]

# The terminated message over the backdrop, acknowledged; exit code 0.
steps_terminated() {  # @terminated [<condition>]...
    printf 'wait "FileTidemark" 60000 65535="The Installation process has been terminated." owner=LFSetUp %s\nclick 1\nexit 0\n' "$*"
}
# Yes to the exit question (holding the <conditions>), then the terminated message.
steps_confirm_exit() { printf 'wait "Exit FileTidemark" %s\nclick 6\n' "$*"; steps_terminated; }  # @confirm_exit [<condition>]...

# "Application Error" (no owner, no program group page before it) holding each part; exit 1.
steps_application_error() {  # @application_error <part>...
    printf 'wait "Application Error" 120000 "!Program Group" owner=none%s\nshot error\nclick 1\nexit 1\n' "$(printf ' "65535~%s"' "$@")"
}

# The uninstall entry: there (<text> FileTidemark) or -absent; [the uninstall command].
steps_entry() {  # @entry <FileTidemark|-absent> [<command>]
    local key='"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FileTidemark"'
    printf 'reg HKLM %s DisplayName %s\n' "$key" "$1"
    [ -z "${2:-}" ] || printf 'reg HKLM %s UnInstallString "%s"\n' "$key" "${2//\\/\\\\}"
}

# --- checks on what a run left behind ---------------------------------------------------------

expect_file() {  # expect_file <windows path> [<host file equal byte for byte>]
    local p
    p=$(hostpath "$1")
    if [ ! -f "$p" ]; then fail "$1 should exist"
    elif [ -n "${2:-}" ] && ! cmp -s "$p" "$2"; then fail "$1 differs from $2"
    else pass "$1 ${2:+equals $2}"; fi
}
expect_no_file() { local p; for p; do verdict "no $p" "[ ! -e \"\$(hostpath '$p')\" ]"; done; }  # nor folder
expect_unchanged() {  # place_file files
    local p
    for p; do verdict "$p (the user's) unchanged" "[ \"\$(sha1sum <\"\$(hostpath '$p')\")\" = '${e2e_before[$p]}' ]"; done
}
# Every sample product file in its place byte for byte (help files under the Windows folder's
# Help if there is one, the rest in <destination>), but those whose names match <skipped> (a
# bash pattern), the combined archive gone.
expect_installed() {  # expect_installed <destination windows path> [<product folder> [<skipped>]]
    local f help='C:\windows\Help'
    [ -d "$(hostpath "$help")" ] || help=$1
    for f in "${2:-$E2E_PRODUCT}"/*; do
        [[ -n ${3:-} && ${f##*/} == $3 ]] && continue
        case ${f^^} in *.HLP) expect_file "$help\\${f##*/}" "$f" ;; *) expect_file "$1\\${f##*/}" "$f" ;; esac
    done
    expect_no_file "$1\\Tidemark._LF"
}
# Nothing split out of the image: no product file in the destination (but the main program,
# the user's), no help file.
expect_nothing_split() {
    local f
    for f in "$E2E_PRODUCT"/*; do [ "${f##*/}" = Tidemark.Exe ] || expect_no_file "$dest\\${f##*/}"; done
    expect_no_file 'C:\windows\Help\FILETIDE.HLP'
}
expect_not_seen() {  # expect_not_seen <pattern> <what>: no window the robot saw matches
    verdict "no $2" "! grep -q '^[0-9]* window .*$1' '$E2E_RESULTS/robot.log'"
}
shortcut() { find "$WINEPREFIX/drive_c/users" -iname "$1" | head -1; }  # shortcut <file name>

# --- pixels ----------------------------------------------------------------------------------

# The screenshot as "x y r g b" lines for a region.
pixels() {  # pixels <shot> <w> <h> <x> <y>
    convert "$E2E_RESULTS/$1.png" -crop "$2x$3+$4+$5" +repage -depth 8 txt:- 2>/dev/null |
        awk -v ox="$4" -v oy="$5" 'NR > 1 { split($1, p, /[,:]/); c = $2; gsub(/[()]/, "", c)
            split(c, v, ","); print p[1] + ox, p[2] + oy, int(v[1]), int(v[2]), int(v[3]) }'
}
# An awk verdict on a region of a screenshot ("ok ..." or what is wrong), and as a check.
pixel_verdict() {  # pixel_verdict <shot> <w> <h> <x> <y> <awk program> [awk -v ...]
    [ -f "$E2E_RESULTS/$1.png" ] || { echo "no screenshot $1"; return; }
    pixels "$1" "$2" "$3" "$4" "$5" | awk -v h="$(identify -format %h "$E2E_RESULTS/$1.png")" "${@:7}" "$6"
}
pixel_check() {  # pixel_check <what> <shot> <w> <h> <x> <y> <awk program> [awk -v ...]
    local out
    out=$(pixel_verdict "${@:2}")
    case $out in ok*) pass "$1 in $2: ${out#ok }" ;; *) fail "$1 in $2: $out" ;; esac
}

# The backdrop's rule on one column: blue 255 stepping down by one every ScreenHeight/255 rows
# (truncated) until black; red and green 0.
check_gradient() {  # check_gradient <shot> <column>
    pixel_check "gradient on column $2" "$1" 1 4000 "$2" 0 '
        { want = 255 - int($2 / int(h / 255)); if (want < 0) want = 0; rows++
          if (($3 || $4 || $5 != want) && !bad++) first = "row " $2 ": " $3 "," $4 "," $5 ", rule 0,0," want }
        END { if (rows != h) print "read " rows " of " h " rows"; else if (bad) print bad " rows off; first " first; else print "ok" }'
}

# The title in yellow from (22, 25) over its black shadow 2 pixels right and 3 down: every title
# pixel has title or shadow (anything but the backdrop's colour of its row) at +2,+3.
check_title() {  # check_title <shot>: the yellow title drawn from 22,25, shadowed 2 right and 3 down (not backdrop there)
    pixel_check "title and shadow" "$1" 640 110 0 0 '
        { k = $1 "," $2; w = 255 - int($2 / int(h / 255)); if ($3 < 20 && $4 < 20 && $5 - w <= 3 && w - $5 <= 3) D[k] = 1
          if ($3 > 200 && $4 > 200 && $5 < 90) Y[k] = 1; else if ($3 < 50 && $4 < 50 && $5 < 50) K[k] = 1 }
        END { for (k in Y) { split(k, p, ","); ny++; good += !(((p[1] + 2) "," (p[2] + 3)) in D)
                  if (!minx || p[1] < minx) minx = p[1]; if (!miny || p[2] < miny) miny = p[2] }
              nk = length(K); out = ny " title, " nk " shadow pixels from " minx "," miny ", " good " shadowed"
              print (ny < 300 || nk < 100 || good < 0.99 * ny || minx < 22 || miny < 25 || minx > 45 || miny > 50 ? "" : "ok ") out }'
}
check_logo() {  # check_logo <shot> <x> <y> <bitmap file> [<rows>]
    local rows=${5:-66} diff
    convert "$E2E_RESULTS/$1.png" -crop "204x$rows+$2+$3" +repage "$E2E_WORK/logo-seen.png" 2>/dev/null
    convert "$4" -crop "204x$rows+0+0" +repage "$E2E_WORK/logo-made.png" 2>/dev/null
    diff=$(compare -metric AE "$E2E_WORK/logo-seen.png" "$E2E_WORK/logo-made.png" null: 2>&1)
    verdict "logo at $2,$3 in $1 equals the bitmap (top $rows rows; $diff pixels differ)" "[ '$diff' = 0 ]"
}

# The maker's notice: yellow text starting at its place.
check_notice() {  # check_notice <shot> <x> <y>
    pixel_check "notice at $2,$3" "$1" 250 20 "$2" "$3" '$3 > 200 && $4 > 200 && $5 < 90 { n++; if (!mx || $1 < mx) mx = $1 }
        END { if (n >= 20 && mx < x + 10) print "ok " n " pixels"; else print n + 0 " yellow pixels, leftmost at " mx }' -v x="$2"
}

# The copying page's meter in a picture taken by "hold <shot> <archive> <bytes>". The page's
# window and frame control (101) come from the robot's log. The bar is placed from the
# thin-border metrics (1 pixel) and the caption height, while the page's real frame is wider (b
# pixels): on screen it starts at the frame's left/top + b - 1 and ends, right and bottom
# excluded, at the frame's right/bottom + b - 5. The red part follows the archive's length at the
# picture: the bar shows the last block drawn, at most a few blocks behind the file. The hold
# may land while the page is half way through drawing, so a second picture <shot>-2 may pass
# instead.
check_meter() {  # check_meter <shot> <bytes of the whole disk set>
    local log=$E2E_RESULTS/robot.log page w f shot out seen=
    page=$(grep -m1 '^[0-9]* window "Please Stand By\.\.\.".*Installing the FileTidemark files\.' "$log")
    w=$(sed -n 's/.* rect \([-0-9,]*\) client \([0-9,]*\) .*/\1,\2/p' <<<"$page")
    f=$(grep -o '| 101 [^ ]* [-0-9,]*' <<<"$page" | awk '{ print $4 }')
    [ -n "$w" ] && [ -n "$f" ] || { fail "meter: the copying page's geometry not logged"; return; }
    for shot in "$1" "$1-2"; do
        out=$(pixel_verdict "$shot" 400 60 $((${f%%,*} - 40)) $(($(cut -d, -f2 <<<"$f") - 20)) '
        function red(k) { return R[k] == 255 && G[k] == 0 && B[k] == 0 }
        function white(k) { return R[k] == 255 && G[k] == 255 && B[k] == 255 }
        { k = $1 "," $2; R[k] = $3; G[k] = $4; B[k] = $5; D[k] = $3 < 128 && $4 < 128 && $5 < 128 }
        END { split(W, w, ","); split(F, f, ","); b = ((w[3] - w[1]) - w[5]) / 2
            left = f[1] + b - 1; top = f[2] + b - 1; right = f[3] + b - 5; bottom = f[4] + b - 5
            for (i = 0; i < 2; i++) {  # the first and last rows of the bar are clear of the text
                y = i ? bottom - 1 : top
                for (x = left; x < right && red(x "," y); x++); e[i] = x
                for (; x < right && white(x "," y); x++);
                if (x != right) { print "row " y ": red to " e[i] ", then not white at " x " (bar " left "-" right ")"; exit }
                if (red((left - 1) "," y) || white((left - 1) "," y) || red(right "," y) || white(right "," y)) { print "bar not from " left " to " right; exit }
            }
            if (red(left "," (top - 1)) || white(left "," (top - 1)) || red(left "," bottom) || white(left "," bottom)) { print "bar not from row " top " to " bottom; exit }
            low = left + int((right - left + 1) * (done - 4 * 2048) / total); high = left + int((right - left + 1) * done / total + 1)
            if (e[0] != e[1] || e[0] < low || e[0] > high) { print "edge " e[0] "/" e[1] ", expected " low " to " high " for " done " of " total " bytes"; exit }
            textx = left + int((right - 1 - left) / 2) - 10  # dark text from 10 left of the middle
            for (y = top; y < bottom; y++) for (x = left; x < right; x++) if (D[x "," y]) { n++; if (!minx || x < minx) minx = x; if (x > maxx) maxx = x }
            if (n < 15 || minx < textx || minx > textx + 4 || maxx < textx + 20 || maxx > textx + 45) print n " text pixels from " minx " to " maxx ", rule start " textx
            else printf "ok bar %d-%d x %d-%d, red to %d for %d of %d bytes", left, right, top, bottom, e[0], done, total }' \
            -v W="$w" -v F="$f" -v total="$2" -v done="$(sed -n "s/^[0-9]* held $shot \([0-9]*\)$/\1/p" "$log")")
        case $out in ok*) pass "meter in $shot: ${out#ok } $seen"; return ;; esac
        seen+="(in $shot: $out) "
    done
    fail "meter: $seen"
}
