# Checks on what a run left behind: files, registry values, screenshot pixels. Each prints one
# "ok:" or "FAILED:" line and counts; run-scenario turns any failure into a failed test.

# --- files -----------------------------------------------------------------------------------

expect_file() {  # expect_file <windows path> [<host file it must equal byte for byte>]
    local p
    p=$(hostpath "$1")
    if [ ! -f "$p" ]; then fail "$1 should exist"; return; fi
    if [ -n "${2:-}" ]; then
        if cmp -s "$p" "$2"; then pass "$1 equals $(basename "$2")"
        else fail "$1 differs from $2 ($(stat -c %s "$p") against $(stat -c %s "$2") bytes)"; fi
    else
        pass "$1 exists"
    fi
}

expect_no_file() {
    local p
    p=$(hostpath "$1")
    if [ -e "$p" ]; then fail "$1 should not exist"; else pass "$1 does not exist"; fi
}

expect_folder() {
    if [ -d "$(hostpath "$1")" ]; then pass "folder $1 exists"; else fail "folder $1 should exist"; fi
}

expect_no_folder() {
    if [ -e "$(hostpath "$1")" ]; then fail "$1 should not exist"; else pass "no folder $1"; fi
}

expect_size() {  # expect_size <windows path> <bytes>
    local p size
    p=$(hostpath "$1")
    size=$(stat -c %s "$p" 2>/dev/null || echo missing)
    if [ "$size" = "$2" ]; then pass "$1 is $2 bytes"; else fail "$1 is $size bytes, expected $2"; fi
}

# The destination a scenario installs to unless it types another.
dest='C:\Program Files\FileTidemark'

# Files of the user's that were there before the run: their checksums, to compare afterwards.
declare -A e2e_before
place_file() {  # place_file <windows path> <content>: a file of the user's before the run
    local p
    p=$(hostpath "$1")
    mkdir -p "$(dirname "$p")"
    printf '%s' "$2" >"$p"
    e2e_before[$1]=$(sha1sum <"$p")
}
expect_unchanged() {
    local p
    p=$(hostpath "$1")
    if [ ! -f "$p" ]; then fail "$1 (the user's file) is gone"
    elif [ "$(sha1sum <"$p")" = "${e2e_before[$1]}" ]; then pass "$1 (the user's file) unchanged"
    else fail "$1 (the user's file) was changed"; fi
}

# Every file of the sample product in its place, byte for byte: help files under the Windows
# folder's Help, everything else in the destination; the combined archive gone.
expect_installed() {  # expect_installed <destination windows path>
    local dest=${1%\\} f name
    for f in "$E2E_PRODUCT"/*; do
        name=$(basename "$f")
        case ${name^^} in
            *.HLP) expect_file "C:\\windows\\Help\\$name" "$f" ;;
            *) expect_file "$dest\\$name" "$f" ;;
        esac
    done
    expect_no_file "$dest\\Tidemark._LF"
}

# No product file split out of the image: none in the destination (but the image itself), no
# help file under the Windows folder's Help.
expect_nothing_split() {  # expect_nothing_split [<destination windows path>]
    local to=${1:-$dest} f
    for f in "$E2E_PRODUCT"/*; do
        case ${f##*/} in Tidemark.Exe) ;; *) expect_no_file "$to\\${f##*/}" ;; esac
    done
    expect_no_file 'C:\windows\Help\FILETIDE.HLP'
}

# --- registry --------------------------------------------------------------------------------

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark'
expect_uninstall_entry() { expect_reg HKLM "$uninstall_key" DisplayName FileTidemark; }
expect_no_uninstall_entry() { expect_no_reg HKLM "$uninstall_key" DisplayName; }

expect_reg() {  # expect_reg <HKCU|HKLM> <key> <value> <text>
    local got
    if ! got=$(reg_get "$1" "$2" "$3"); then fail "$1\\$2 \"$3\" is missing"; return; fi
    if [ "$got" = "$4" ]; then pass "$1\\$2 \"$3\" = $4"
    else fail "$1\\$2 \"$3\" = $got, expected $4"; fi
}

expect_no_reg() {  # expect_no_reg <HKCU|HKLM> <key> <value>
    local got
    if got=$(reg_get "$1" "$2" "$3"); then fail "$1\\$2 \"$3\" should not exist (holds $got)"
    else pass "$1\\$2 \"$3\" absent"; fi
}

# --- the robot's log -------------------------------------------------------------------------

# No line of the robot's log matches <pattern>: <what> never appeared.
expect_not_seen() {  # expect_not_seen <grep pattern> <what>
    if grep -q "$1" "$E2E_RESULTS/robot.log"; then fail "a $2 was shown"; else pass "no $2"; fi
}

# --- pixels ----------------------------------------------------------------------------------

# The screenshot as "x y r g b" lines for a region.
pixels() {  # pixels <png> <w> <h> <x> <y>
    convert "$1" -crop "$2x$3+$4+$5" +repage -depth 8 txt:- 2>/dev/null |
        awk -v ox="$4" -v oy="$5" 'NR > 1 {
            split($1, p, /[,:]/); c = $2; gsub(/[()]/, "", c); split(c, v, ",")
            print p[1] + ox, p[2] + oy, int(v[1]), int(v[2]), int(v[3]) }'
}

# The gradient rule on one column of the screen: blue steps down by one every band of
# ScreenHeight/255 rows (truncated) from 255, red and green stay 0, black once it has arrived.
check_gradient() {  # check_gradient <png> <column>
    local png=$E2E_RESULTS/$1.png height
    [ -f "$png" ] || { fail "no screenshot $1"; return; }
    height=$(identify -format %h "$png")
    local out
    out=$(pixels "$png" 1 "$height" "$2" 0 | awk -v h="$height" '
        BEGIN { band = int(h / 255) }
        { want = band > 0 ? 255 - int($2 / band) : 0; if (want < 0) want = 0
          if ($3 != 0 || $4 != 0 || $5 != want) { bad++; if (!first) first = "row " $2 ": (" $3 "," $4 "," $5 "), rule (0,0," want ")" } ; rows++ }
        END { if (rows != h) print "read " rows " of " h " rows"; else if (bad) print bad " rows off; first " first; }')
    if [ -z "$out" ]; then pass "gradient rule holds on column $2 of $1 ($height rows)"
    else fail "gradient on column $2 of $1: $out"; fi
}

# The title in yellow at (22, 25) over its black shadow 2 pixels right and 3 down: every title
# pixel has title or shadow (anything but the backdrop's colour of its row) at +2,+3.
check_title() {  # check_title <png>
    local png=$E2E_RESULTS/$1.png out height
    [ -f "$png" ] || { fail "no screenshot $1"; return; }
    height=$(identify -format %h "$png")
    out=$(pixels "$png" 640 110 0 0 | awk -v h="$height" '
        function yellow(r, g, b) { return r > 200 && g > 200 && b < 90 }
        function backdrop(y, r, g, b,   w) {
            w = 255 - int(y / int(h / 255)); return r < 20 && g < 20 && b - w <= 3 && w - b <= 3 }
        { k = $1 "," $2; R[k] = $3; G[k] = $4; B[k] = $5
          if (yellow($3, $4, $5)) Y[k] = 1; else if ($3 < 50 && $4 < 50 && $5 < 50) K[k] = 1 }
        END {
            for (k in Y) { split(k, p, ","); ny++
                if (!minx || p[1] < minx) minx = p[1]; if (!miny || p[2] < miny) miny = p[2]
                s = (p[1] + 2) "," (p[2] + 3)
                if (!backdrop(p[2] + 3, R[s], G[s], B[s])) good++ }
            for (k in K) { split(k, p, ","); nk++
                if (!kx || p[1] < kx) kx = p[1]; if (!ky || p[2] < ky) ky = p[2] }
            if (ny < 300) { print "only " ny " title pixels"; exit }
            if (nk < 100) { print "only " nk " shadow pixels"; exit }
            if (good < 0.99 * ny) { print good " of " ny " title pixels have title or shadow at +2,+3"; exit }
            if (minx < 22 || miny < 25 || minx > 45 || miny > 50) { print "title starts at " minx "," miny; exit }
            if (kx < 24 || ky < 28) { print "shadow starts at " kx "," ky; exit }
            print "ok " ny " title and " nk " shadow pixels, title from " minx "," miny ", shadow from " kx "," ky
        }')
    case $out in ok*) pass "title and shadow in $1: ${out#ok }" ;; *) fail "title in $1: $out" ;; esac
}

# The logo bitmap copied 1:1 at its place; <rows> limits the comparison to the top rows where
# something drawn later (the notice, on a small screen) covers the rest.
check_logo() {  # check_logo <png> <x> <y> <bitmap file> [<rows>]
    local png=$E2E_RESULTS/$1.png diff rows=${5:-66}
    [ -f "$png" ] || { fail "no screenshot $1"; return; }
    [ -f "$4" ] || { fail "no logo bitmap $4"; return; }
    convert "$png" -crop "204x$rows+$2+$3" +repage "$E2E_WORK/logo-seen.png"
    convert "$4" -crop "204x$rows+0+0" +repage "$E2E_WORK/logo-made.png"
    diff=$(compare -metric AE "$E2E_WORK/logo-seen.png" "$E2E_WORK/logo-made.png" null: 2>&1)
    if [ "$diff" = 0 ]; then pass "logo at $2,$3 in $1 equals the bitmap (top $rows rows)"
    else fail "logo at $2,$3 in $1: $diff pixels differ from the bitmap"; fi
}

# The maker's notice: yellow text starting at its place.
check_notice() {  # check_notice <png> <x> <y>
    local png=$E2E_RESULTS/$1.png out
    out=$(pixels "$png" 250 20 "$2" "$3" | awk '$3 > 200 && $4 > 200 && $5 < 90 { n++; if (!mx || $1 < mx) mx = $1 }
        END { print n + 0, mx + 0 }')
    local n=${out% *} mx=${out#* }
    if [ "$n" -ge 20 ] && [ "$mx" -lt $(($2 + 10)) ]; then pass "notice at $2,$3 in $1 ($n pixels)"
    else fail "notice at $2,$3 in $1: $n yellow pixels, leftmost at $mx"; fi
}

# --- the meter --------------------------------------------------------------------------------

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
