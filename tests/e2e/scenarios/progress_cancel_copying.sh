# Cancel while the volumes are being copied; volume 1 is made long (junk appended to this run's
# copy of the disk) so that the copy is still running when the robot acts. First the meter is
# photographed once the archive holds about 30 % of the disk set, with the setup program held
# still for the moment of the picture; then Cancel, No (the copy goes on), Cancel, Yes.
sees "the copying page with its red and white bar and percentage; the exit question twice;" \
     "after Yes the terminated message over the backdrop"
leaves "no Tidemark._LF (the partial archive is removed), the earlier installation's" \
       "Tidemark.Exe untouched, no product file"
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
# Sparse: it costs no disk space here, and the copy still reads it block by block.
truncate -s +400M "$E2E_WORK/disks/disk1/Tidemark.001"

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

robot <<'STEPS'
@to_licence
host watch_archive 1000000 meter
click 1
wait "Please Stand By..." 65535="Installing the FileTidemark files."
client
host await_watch
click 2
wait "Exit FileTidemark"
click 7
wait "Please Stand By..." 65535="Installing the FileTidemark files."
click 2
wait "Exit FileTidemark"
owner none
click 6
@terminated
STEPS
# The watcher ends on its own; should the robot have failed early, it is not left waiting.
kill "$(cat "$E2E_WORK/watch.pid" 2>/dev/null)" 2>/dev/null
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\UnInstal.Exe"
expect_not_seen '"ev":"window".*Please Insert Disk' "disk prompt"

# The meter in the picture. The page's window and frame control (101) rectangles come from the
# robot's log, the client size from its "client" step. The bar is placed from the thin-border
# metrics (1 pixel) and the caption height, while the page's real frame is wider (b pixels);
# so on screen the bar starts at the frame's left/top + b - 1 and ends, right and bottom
# excluded, at the frame's right/bottom + b - 5. The red part's length follows from the
# archive's length at the picture: the bar shows the last block drawn, at most a few blocks
# behind the file.
# Prints "ok ..." or what is wrong with the meter in one picture.
meter_verdict() {  # meter_verdict <shot> <bytes of the whole disk set>
    local png=$E2E_RESULTS/$1.png log=$E2E_RESULTS/robot.log page client bytes
    [ -f "$png" ] || { echo "no screenshot $1"; return; }
    bytes=$(cat "$E2E_RESULTS/$1.bytes" 2>/dev/null)
    page=$(grep '"ev":"window"' "$log" | grep -F 'Installing the FileTidemark files.' | head -1)
    client=$(grep -m1 '"ev":"client"' "$log" | grep -o '\[[0-9,]*\]' | tr -d '[]')
    local w f
    w=$(printf '%s' "$page" | grep -o '"caption":"Please Stand By...","rect":\[[-0-9,]*\]' |
        grep -o '\[.*\]' | tr -d '[]')
    f=$(printf '%s' "$page" | grep -o '{"id":101,[^}]*}' | grep -o '"rect":\[[-0-9,]*\]' |
        grep -o '\[.*\]' | tr -d '[]')
    [ -n "$w" ] && [ -n "$f" ] && [ -n "$client" ] && [ -n "$bytes" ] ||
        { echo "page geometry or archive length not recorded"; return; }
    pixels "$png" 400 60 $((${f%%,*} - 40)) $(($(echo "$f" | cut -d, -f2) - 20)) | awk \
        -v W="$w" -v F="$f" -v C="$client" -v done="$bytes" -v total="$2" '
        function red(k) { return R[k] == 255 && G[k] == 0 && B[k] == 0 }
        function white(k) { return R[k] == 255 && G[k] == 255 && B[k] == 255 }
        function dark(k) { return R[k] < 128 && G[k] < 128 && B[k] < 128 }
        { k = $1 "," $2; R[k] = $3; G[k] = $4; B[k] = $5 }
        END {
            split(W, w, ","); split(F, f, ","); split(C, c, ",")
            b = ((w[3] - w[1]) - c[1]) / 2
            left = f[1] + b - 1; top = f[2] + b - 1; right = f[3] + b - 5; bottom = f[4] + b - 5
            span = right - left + 1
            # Rows clear of the text: the first and the last of the bar.
            for (i = 0; i < 2; i++) {
                y = i ? bottom - 1 : top
                x = left; while (x < right && red(x "," y)) x++
                e[i] = x
                while (x < right && white(x "," y)) x++
                if (x != right) { print "row " y ": red to " e[i] ", then not white at " x " (bar " left "-" right ")"; exit }
                if (red((left - 1) "," y) || white((left - 1) "," y)) { print "bar starts before " left; exit }
                if (red(right "," y) || white(right "," y)) { print "bar goes past " right; exit }
            }
            if (e[0] != e[1]) { print "edge " e[0] " on the top row, " e[1] " on the bottom row"; exit }
            if (red(left "," (top - 1)) || white(left "," (top - 1))) { print "bar starts above " top; exit }
            if (red(left "," bottom) || white(left "," bottom)) { print "bar goes below " bottom; exit }
            low = left + int(span * (done - 4 * 2048) / total); high = left + int(span * done / total + 1)
            if (e[0] < low || e[0] > high) { print "edge " e[0] ", expected " low " to " high " for " done " of " total " bytes"; exit }
            # The percentage: dark pixels inside the bar only from 10 left of its middle on.
            textx = left + int((right - 1 - left) / 2) - 10
            for (y = top; y < bottom; y++) for (x = left; x < right; x++) if (dark(x "," y)) {
                n++; if (!minx || x < minx) minx = x; if (x > maxx) maxx = x }
            if (n < 15) { print "only " n " text pixels"; exit }
            if (minx < textx || minx > textx + 4 || maxx < textx + 20 || maxx > textx + 45) {
                print "text from " minx " to " maxx ", rule start " textx; exit }
            printf "ok bar %d-%d x %d-%d, red to %d for %d of %d bytes, text %d-%d", left, right, top, bottom, e[0], done, total, minx, maxx
        }'
}
# The first picture, or the second should the first have caught the meter half drawn; every
# test above holds for the picture that passes.
check_meter() {  # check_meter <shot> <bytes of the whole disk set>
    local first second
    first=$(meter_verdict "$1" "$2")
    case $first in ok*) pass "meter in $1: ${first#ok }"; return ;; esac
    second=$(meter_verdict "$1-2" "$2")
    case $second in
        ok*) pass "meter in $1-2: ${second#ok } (in $1: $first)" ;;
        *) fail "meter in $1: $first; in $1-2: $second" ;;
    esac
}
total=0
for v in "$E2E_DISKS"/disk*/Tidemark.00?; do total=$((total + $(stat -c %s "$v"))); done
check_meter meter "$total"
